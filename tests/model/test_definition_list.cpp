#include "model/DefinitionList.h"

#include <QTest>

using model::DefinitionList;

class TestDefinitionList : public QObject {
    Q_OBJECT

private slots:
    void startsWithOneUnselectedLine();
    void appendKeepsSelection();
    void removeAtMovesSelectionWithItsLine();
    void replaceMovesLineToEnd();
    void refusesToGrowPastLimit();
    void ignoresPositionsOutsideList();
};

void TestDefinitionList::startsWithOneUnselectedLine() {
    DefinitionList list;
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.lineAt(0), QString("//Half Life FGD File Start Code Here:"));
    QCOMPARE(list.lineAt(0).size(), 37);
    QCOMPARE(list.selectedPosition(), -1);
    QCOMPARE(list.lineAt(-1), QString());
}

void TestDefinitionList::appendKeepsSelection() {
    DefinitionList list;
    list.select(0);
    QVERIFY(list.append("a"));
    QVERIFY(list.append(""));
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.selectedPosition(), 0);
    QCOMPARE(list.lineAt(2), QString());
}

void TestDefinitionList::removeAtMovesSelectionWithItsLine() {
    DefinitionList list;
    list.append("a");
    list.append("b");

    list.select(2);
    list.removeAt(0);
    QCOMPARE(list.selectedPosition(), 1);
    QCOMPARE(list.lineAt(1), QString("b"));

    list.removeAt(1);
    QCOMPARE(list.selectedPosition(), -1);
    QCOMPARE(list.lines(), QStringList({"a"}));
}

void TestDefinitionList::replaceMovesLineToEnd() {
    DefinitionList list;
    list.append("one");
    list.append("two");

    list.select(0);
    QVERIFY(list.replaceAt(0, "X"));
    QCOMPARE(list.lines(), QStringList({"one", "two", "X"}));
    QCOMPARE(list.selectedPosition(), -1);

    list.select(1);
    QVERIFY(list.replaceAt(0, ""));
    QCOMPARE(list.lines(), QStringList({"two", "X", ""}));
    QCOMPARE(list.selectedPosition(), 0);
}

void TestDefinitionList::refusesToGrowPastLimit() {
    DefinitionList list;
    while (list.count() < DefinitionList::MaxLines)
        QVERIFY(list.append(QString::number(list.count())));
    QVERIFY(list.isFull());
    list.select(5);

    QVERIFY(!list.append("one too many"));
    QCOMPARE(list.count(), 32767);
    QCOMPARE(list.lineAt(32766), QString("32766"));

    // A replacement keeps the count, so it still works on a full list.
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
    QCOMPARE(list.lines(), QStringList({DefinitionList::startLine()}));
    QCOMPARE(list.selectedPosition(), 0);
    list.select(7);
    QCOMPARE(list.selectedPosition(), -1);
    QCOMPARE(list.lineAt(7), QString());
}

QTEST_APPLESS_MAIN(TestDefinitionList)
#include "test_definition_list.moc"
