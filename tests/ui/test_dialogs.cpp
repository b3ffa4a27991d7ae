// The three dialogs: the line editor (Edit opens the selected line, Update puts it back at the
// end; random sequences of these are the soak test's), the extras dialog (Done, Cancel, the Box
// of Wonderment) and the help window; and accessible names in every window.

#include "support/FocusChain.h"
#include "support/Session.h"
#include "toolkit/Twips.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void updateMovesTheOpenedLineToTheEnd();
    void refusesEmptyOrMissingSelectionAndOutlivesMain();
    void doneSetsHeaderOfNextSave();
    void cancelCloseAndIconChangeNothing();
    void helpHasThreeTabsAndCloses();
    void everyControlHasAnAccessibleName();
};

namespace {

// Opens the extras dialog and types the three values.
ui::Form3* fillExtras(Session& s, const QStringList& values) {
    s.click("Command3");
    for (int i = 0; i < 3; ++i)
        Session::setText(s.forms.loadedForm3(), qPrintable(QString("Text%1").arg(i + 1)),
                         values[i]);
    return s.forms.loadedForm3();
}

} // namespace

void TestDialogs::updateMovesTheOpenedLineToTheEnd() {
    Session s;
    s.compose("Custom", "", "", "");
    for (const char* size : {"a", "b", "c"}) {
        s.toolkit.inputAnswers << size;
        s.click("Command1");
    }
    const QStringList lines = s.main()->definitions().lines();
    s.list()->setCurrentRow(1);
    s.click("Command4");
    ui::Form2* editor = s.forms.loadedForm2();
    QVERIFY(editor && editor->isVisible() && !editor->isModal());
    QVERIFY(editor->size() == toolkit::twipsSize(3645, 1290) &&
            editor->maximumSize() == editor->size());
    QCOMPARE(editor->findChild<QWidget*>("Text1")->nextInFocusChain()->objectName(),
             QString("Command1"));
    s.list()->setCurrentRow(2);
    s.click("Command4"); // a second Edit replaces the text in the open editor
    QCOMPARE(s.forms.loadedForm2(), editor);
    QCOMPARE(editor->line(), lines[2]);

    s.list()->setCurrentRow(3); // the user moves on before pressing Update
    Session::setText(editor, "Text1", "edited");
    Session::click(editor, "Command1");
    const QStringList expected{lines[0], lines[1], lines[3], "edited"};
    QCOMPARE(s.shownLines(), expected);
    QCOMPARE(s.main()->definitions().selectedPosition(), 2); // the selection stays, one up
    QCOMPARE(s.forms.loadedForm2(), nullptr);
}

void TestDialogs::refusesEmptyOrMissingSelectionAndOutlivesMain() {
    Session s;
    s.click("Command4"); // nothing selected
    s.list()->setCurrentRow(0);
    s.click("Command4");
    Session::setText(s.forms.loadedForm2(), "Text1", ""); // an empty edit appends an empty line
    Session::click(s.forms.loadedForm2(), "Command1");
    QCOMPARE(s.main()->definitions().lines(), QStringList{""});
    s.click("Command4"); // right after Update nothing is selected
    s.list()->setCurrentRow(0);
    s.click("Command4"); // the selected line is empty

    QCOMPARE(s.toolkit.messages.size(), 3);
    for (const ScriptedToolkit::Message& message : s.toolkit.messages) {
        QCOMPARE(message.text, QString("Nothing Selected - Please select something and try again"));
        QCOMPARE(message.title, QString("Error"));
        QCOMPARE(message.icon, toolkit::MessageIcon::None);
    }
    QCOMPARE(s.forms.loadedForm2(), nullptr);

    // Update after the main window has closed only closes the editor.
    s.click("Command1");
    s.list()->setCurrentRow(1);
    s.click("Command4");
    ui::Form2* editor = s.forms.loadedForm2();
    QVERIFY(editor);
    s.main()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.main(), nullptr);
    Session::click(editor, "Command1");
    QCOMPARE(s.forms.loadedForm2(), nullptr);
    QCOMPARE(s.main(), nullptr); // no main window comes back
}

void TestDialogs::doneSetsHeaderOfNextSave() {
    Session s;
    QTemporaryDir dir;
    ui::Form3* extras = fillExtras(s, {"Jo", "Test", "1.2"});
    QCOMPARE(extras->size(), toolkit::twipsSize(4680, 2625));
    QVERIFY(!extras->isModal() && extras->minimumSize() == extras->maximumSize());
    const QStringList tabOrder{"Text1", "Text2", "Text3", "Command1", "Command2"};
    QCOMPARE(focusOrder(extras, tabOrder), tabOrder);
    Session::click(extras, "Command2");
    QCOMPARE(s.forms.loadedForm3(), nullptr);
    QVERIFY(s.save(dir.filePath("a.fgd")).startsWith("// Jo\r\n// Test  Version: 1.2\r\n\r\n//"));

    // Reopened, the dialog is empty; Done with only a version brings back the other defaults.
    s.click("Command3");
    for (const char* box : {"Text1", "Text2", "Text3"})
        QCOMPARE(s.forms.loadedForm3()->findChild<QLineEdit*>(box)->text(), QString());
    Session::setText(s.forms.loadedForm3(), "Text3", "2.0");
    Session::click(s.forms.loadedForm3(), "Command2");
    QVERIFY(s.save(dir.filePath("b.fgd"))
                .startsWith("// Something Tarvok Made\r\n// Unnamed Mod  Version: 2.0\r\n"));
}

void TestDialogs::cancelCloseAndIconChangeNothing() {
    Session s;
    ui::Form3* extras = fillExtras(s, {"Jo", "Test", "1.2"});
    QTest::mouseClick(extras->findChild<QWidget*>("Image1"), Qt::LeftButton);
    s.click("Command3"); // Extras while open keeps what was typed
    QCOMPARE(s.forms.loadedForm3(), extras);
    QCOMPARE(extras->findChild<QLineEdit*>("Text1")->text(), QString("Jo"));
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].text,
             QString("So You Have Clicked The Little Box Of Wonderment Have You? Well its not "
                     "that wonderfull is it really? NO it isn't!"));
    QCOMPARE(s.toolkit.messages[0].title, QString("Box Of Wonderment"));
    QCOMPARE(s.toolkit.messages[0].icon, toolkit::MessageIcon::Information);

    Session::click(extras, "Command1");            // Cancel
    fillExtras(s, {"Other", "Mod", "9"})->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.forms.loadedForm3(), nullptr);
    QCOMPARE(s.module1.modInfo, model::ModInfo());
}

void TestDialogs::helpHasThreeTabsAndCloses() {
    Session s;
    s.click("Command6");
    ui::Form4* help = s.forms.loadedForm4();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->size(), toolkit::twipsSize(4575, 3570));
    QVERIFY(help->windowFlags() & Qt::WindowMinMaxButtonsHint);
    const QStringList tabOrder{"SSTab1", "Text1", "Text2", "Text3", "Command1"};
    QCOMPARE(focusOrder(help, tabOrder), tabOrder);
    auto* tabs = help->findChild<QTabWidget*>("SSTab1");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2),
             QString("GeneralHow To UseTroubleShooting"));
    QVERIFY(help->findChild<QPlainTextEdit*>("Text2")->toPlainText().startsWith("Simple Steps"));

    // Resizing moves nothing; Help! while open does not reload; Close closes.
    help->findChild<QPlainTextEdit*>("Text1")->setPlainText("typed");
    const QRect before = tabs->geometry();
    help->resize(help->size() * 2);
    QCOMPARE(tabs->geometry(), before);
    s.click("Command6");
    QCOMPARE(help->findChild<QPlainTextEdit*>("Text1")->toPlainText(), QString("typed"));
    Session::click(help, "Command1");
    QCOMPARE(s.forms.loadedForm4(), nullptr);
}

void TestDialogs::everyControlHasAnAccessibleName() {
    Session s;
    s.list()->setCurrentRow(0);
    for (const char* button : {"Command4", "Command3", "Command6"})
        s.click(button);
    QStringList unnamed;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        for (QWidget* control :
             window->findChildren<QWidget*>(QRegularExpression("^[A-Z].*\\d$"))) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << window->windowTitle() + ": " + control->objectName();
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
