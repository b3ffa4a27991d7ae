#include "support/Session.h"
#include "toolkit/Twips.h"
#include "ui/Form2.h"

#include <QTest>

namespace {
const QString NothingSelected = "Nothing Selected - Please select something and try again";
} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void editAndUpdateMoveTheLineToTheEnd();
    void refusesEmptyOrMissingSelection();
    void updateReplacesTheOpenedLine();
    void updateAfterMainWindowClosedChangesNothing();
};

namespace {

// Adds lines a, b, c (as custom sizes) after the start line.
QStringList addThreeLines(Session& s) {
    s.compose("Custom", "", "", "");
    for (const char* size : {"a", "b", "c"}) {
        s.toolkit.inputAnswers << size;
        s.click("Command1");
    }
    return s.main()->definitions().lines();
}

// Selects row (-1: keeps the selection) and presses Edit; the open editor, if any.
ui::Form2* edit(Session& s, int row = -1) {
    if (row >= 0)
        s.list()->setCurrentRow(row);
    s.click("Command4");
    return s.forms.loadedForm2();
}

// Edit on the selected line, then Update with text.
void editTo(Session& s, const QString& text) {
    if (ui::Form2* editor = edit(s)) {
        Session::setText(editor, "Text1", text);
        Session::click(editor, "Command1");
    }
}

} // namespace

void TestForm2::editAndUpdateMoveTheLineToTheEnd() {
    Session s;
    const QStringList lines = addThreeLines(s);
    ui::Form2* editor = edit(s, 0);
    QVERIFY(editor && editor->isVisible() && !editor->isModal());
    QCOMPARE(editor->size(), toolkit::twipsSize(3645, 1290));
    QCOMPARE(editor->minimumSize(), editor->maximumSize());
    QCOMPARE(editor->line(), lines[0]);
    QCOMPARE(editor->findChild<QWidget*>("Text1")->nextInFocusChain()->objectName(),
             QString("Command1"));

    Session::setText(editor, "Text1", "X");
    Session::click(editor, "Command1");
    const QStringList expected{lines[1], lines[2], lines[3], "X"};
    QCOMPARE(s.main()->definitions().lines(), expected);
    QCOMPARE(s.shownLines(), expected);
    QCOMPARE(s.main()->definitions().selectedPosition(), -1);
    QVERIFY(s.list()->selectedItems().isEmpty());
    QCOMPARE(s.forms.loadedForm2(), nullptr);
}

void TestForm2::refusesEmptyOrMissingSelection() {
    Session s;
    s.click("Command4"); // nothing selected
    s.list()->setCurrentRow(0);
    editTo(s, ""); // an empty edit appends an empty line...
    QCOMPARE(s.main()->definitions().lines(), QStringList{""});
    edit(s);    // ...and right after Update nothing is selected
    edit(s, 0); // the selected line is empty

    QCOMPARE(s.toolkit.messages.size(), 3);
    for (const ScriptedToolkit::Message& message : s.toolkit.messages) {
        QCOMPARE(message.text, NothingSelected);
        QCOMPARE(message.title, QString("Error"));
        QCOMPARE(message.icon, toolkit::MessageIcon::None);
    }
    QCOMPARE(s.forms.loadedForm2(), nullptr);
}

void TestForm2::updateReplacesTheOpenedLine() {
    Session s;
    const QStringList lines = addThreeLines(s);
    ui::Form2* editor = edit(s, 1);
    QCOMPARE(edit(s, 2), editor); // a second Edit replaces the text in the open editor
    QCOMPARE(editor->line(), lines[2]);

    s.list()->setCurrentRow(3); // the user moves on before pressing Update
    Session::setText(editor, "Text1", "edited");
    Session::click(editor, "Command1");
    const QStringList expected{lines[0], lines[1], lines[3], "edited"};
    QCOMPARE(s.main()->definitions().lines(), expected);
    QCOMPARE(s.shownLines(), expected);
    // The selection stays on its line, which moved up by one.
    QCOMPARE(s.main()->definitions().selectedPosition(), 2);
    QCOMPARE(s.list()->currentRow(), 2);
    QCOMPARE(s.list()->selectedItems().size(), 1);
}

void TestForm2::updateAfterMainWindowClosedChangesNothing() {
    Session s;
    ui::Form2* editor = edit(s, 0);
    s.main()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.main(), nullptr);
    QVERIFY(editor->isVisible());
    Session::click(editor, "Command1");
    QCOMPARE(s.forms.loadedForm2(), nullptr);
    QCOMPARE(s.forms.loadedForm1(), nullptr); // no new main window
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
