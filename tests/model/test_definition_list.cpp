#include "model/DefinitionList.h"

#include <QTest>

using model::DefinitionList;

class TestDefinitionList : public QObject {
    Q_OBJECT

private slots:
    void selectionFollowsItsLine();
    void refusesToGrowPastLimit();
    void ignoresPositionsOutsideList();
};

void TestDefinitionList::selectionFollowsItsLine() {
    DefinitionList list;
    QCOMPARE(list.lines(), QStringList{"//Half Life FGD File Start Code Here:"});
    QCOMPARE(list.selectedPosition(), -1);
    QCOMPARE(list.lineAt(-1), QString());
    list.select(0);
    QVERIFY(list.append("a") && list.append("b") && list.append(""));
    QCOMPARE(list.selectedPosition(), 0); // appending keeps the selection

    list.select(2);
    QVERIFY(list.replaceAt(0, "X")); // an edited line moves to the end...
    QCOMPARE(list.lines(), QStringList({"a", "b", "", "X"}));
    QCOMPARE(list.selectedPosition(), 1); // ...and a selection elsewhere stays on its line
    list.removeAt(1);
    QCOMPARE(list.selectedPosition(), -1); // removing the selected line selects nothing
    QCOMPARE(list.lines(), QStringList({"a", "", "X"}));
}

void TestDefinitionList::refusesToGrowPastLimit() {
    DefinitionList list;
    while (list.count() < DefinitionList::MaxLines)
        QVERIFY(list.append(QString::number(list.count())));
    list.select(5);
    QVERIFY(!list.append("one too many"));
    QCOMPARE(list.count(), 32767);
    QCOMPARE(list.lineAt(32766), QString("32766"));
    // A replacement keeps the count, so editing still works on a full list.
    QVERIFY(list.replaceAt(0, "edited"));
    QCOMPARE(list.count(), 32767);
    QCOMPARE(list.lineAt(32766), QString("edited"));
    QCOMPARE(list.selectedPosition(), 4);
}

void TestDefinitionList::ignoresPositionsOutsideList() {
    DefinitionList list;
    list.select(0);
    list.removeAt(1);
    list.removeAt(-1);
    QVERIFY(!list.replaceAt(1, "x"));
    QVERIFY(!list.replaceAt(-1, "x"));
    QCOMPARE(list.lines(), QStringList{DefinitionList::startLine()});
    QCOMPARE(list.selectedPosition(), 0);
    list.select(7);
    QCOMPARE(list.selectedPosition(), -1);
    QCOMPARE(list.lineAt(7), QString());
}

QTEST_APPLESS_MAIN(TestDefinitionList)
#include "test_definition_list.moc"
