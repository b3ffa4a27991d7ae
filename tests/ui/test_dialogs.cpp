// The three dialogs: the line editor (Edit opens the selected line, Update puts it back at the
// end; random sequences of these are the soak test's), the extras dialog (Done, Cancel, the Box
// of Wonderment) and the help window; and accessible names in every window.

#include "model/FgdWriter.h"
#include "support/FocusChain.h"
#include "support/Session.h"
#include "toolkit/Twips.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void updateMovesTheOpenedLineToTheEnd();
    void longLineSurvivesEditUpdateAndSave();
    void refusesEmptyOrMissingSelectionAndOutlivesMain();
    void doneSetsHeaderOfNextSave();
    void cancelCloseAndIconChangeNothing();
    void returnPressesFocusedButton();
    void helpHasThreeTabsAndCloses();
};

void TestDialogs::updateMovesTheOpenedLineToTheEnd() {
    Session s;
    s.compose("Custom", "", "", "");
    for (const char* size : {"a", "b", "c"}) {
        s.toolkit.inputAnswers << size;
        s.add();
    }
    const QStringList lines = s.main()->definitions().lines();
    s.select(1);
    s.edit();
    ui::Form2* editor = s.editor();
    QVERIFY(editor && editor->isVisible() && !editor->isModal());
    QVERIFY(editor->size() == toolkit::twipsSize(3645, 1290) &&
            editor->maximumSize() == editor->size());
    QCOMPARE(editor->findChild<QWidget*>("Text1")->nextInFocusChain()->objectName(),
             QString("Command1"));
    // The text box draws its text without shaping, in the window's font.
    const QFont boxFont = editor->findChild<QWidget*>("Text1")->font();
    QVERIFY(boxFont.family() == editor->font().family() &&
            boxFont.pointSizeF() == editor->font().pointSizeF());
    s.select(2);
    s.edit(); // a second Edit replaces the text in the open editor
    QCOMPARE(s.editor(), editor);
    QCOMPARE(editor->line(), lines[2]);

    s.select(3); // the user moves on before pressing Update
    s.update("edited");
    const QStringList expected{lines[0], lines[1], lines[3], "edited"};
    QCOMPARE(s.shownLines(), expected);
    QCOMPARE(s.main()->definitions().selectedPosition(), 2); // the selection stays, one up
    QCOMPARE(s.editor(), nullptr);
    // A line selected above the updated one keeps its place, the first one too.
    for (const int above : {1, 0}) {
        s.select(2);
        s.edit();
        s.select(above);
        s.update();
        QCOMPARE(s.main()->definitions().selectedPosition(), above);
        QCOMPARE(s.currentRow(), above);
    }
    s.select(2);
    s.edit(); // the line that was selected moved: the selection goes with it
    s.update("again");
    QCOMPARE(s.main()->definitions().selectedPosition(), -1);
}

void TestDialogs::longLineSurvivesEditUpdateAndSave() {
    // Text boxes hold no more than 32,767 characters unless told otherwise.
    QTemporaryDir dir;
    const QString path = dir.filePath("long.fgd");
    const QByteArray file = model::fgdFileBytes(
        {"@PointClass = a : \"" + QString(100000, 'x') + "\" []"}, {"Jo", "Test", "1.2"});
    QVERIFY(writeFile(path, file));
    Session s;
    s.main()->openFile(path);
    // The list shows the line's start and its length, so that painting it takes no time; the
    // line itself is whole, and so is what Edit opens.
    QCOMPARE(s.shownLines().first(), "@PointClass = a : \"" + QString(4096 - 19, 'x') +
                                         " \u2026 (100023 characters in all)");
    // A click on the scroll bar's arrow moves the view a few characters, not a whole line.
    QCoreApplication::processEvents();
    QScrollBar* sideways = s.list()->horizontalScrollBar();
    QVERIFY(sideways->maximum() > 0 && sideways->singleStep() < s.list()->viewport()->width() / 4);
    s.select(0);
    s.edit();
    QCOMPARE(s.editor()->line().size(), 100023);
    s.update();
    QCOMPARE(s.save(path), file);

    const QString suffix(40000, 'y'); // typed or pasted into the main window's boxes
    s.compose("", "", suffix, suffix);
    s.add();
    QCOMPARE(s.main()->definitions().lineAt(1).count(suffix), 2);
}

void TestDialogs::refusesEmptyOrMissingSelectionAndOutlivesMain() {
    Session s;
    s.edit(); // nothing selected
    s.select(0);
    s.edit();
    s.update(""); // an empty edit appends an empty line
    QCOMPARE(s.main()->definitions().lines(), QStringList{""});
    s.edit(); // right after Update nothing is selected
    s.select(0);
    s.edit(); // the selected line is empty

    QCOMPARE(s.toolkit.messages.size(), 3);
    for (const ScriptedToolkit::Message& message : s.toolkit.messages) {
        QCOMPARE(message.text, QString("Nothing Selected - Please select something and try again"));
        QCOMPARE(message.title, QString("Error"));
        QCOMPARE(message.icon, toolkit::MessageIcon::None);
    }
    QCOMPARE(s.editor(), nullptr);

    // Update after the main window has closed only closes the editor.
    s.add();
    s.select(1);
    s.edit();
    ui::Form2* editor = s.editor();
    QVERIFY(editor);
    s.main()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.main(), nullptr);
    s.update();
    QCOMPARE(s.editor(), nullptr);
    QCOMPARE(s.main(), nullptr); // no main window comes back
}

void TestDialogs::doneSetsHeaderOfNextSave() {
    Session s;
    QTemporaryDir dir;
    s.openExtras();
    s.typeExtras({"Jo", "Test", "1.2"});
    ui::Form3* extras = s.extras();
    QCOMPARE(extras->size(), toolkit::twipsSize(4680, 2625));
    QVERIFY(!extras->isModal() && extras->minimumSize() == extras->maximumSize());
    const QStringList tabOrder{"Text1", "Text2", "Text3", "Command1", "Command2"};
    QCOMPARE(focusOrder(extras, tabOrder), tabOrder);
    s.done();
    QCOMPARE(s.extras(), nullptr);
    QVERIFY(s.save(dir.filePath("a.fgd")).startsWith("// Jo\r\n// Test  Version: 1.2\r\n\r\n//"));

    // Reopened, the dialog is empty; Done with only a version brings back the other defaults.
    s.openExtras();
    for (const char* box : {"Text1", "Text2", "Text3"})
        QCOMPARE(s.extras()->findChild<QLineEdit*>(box)->text(), QString());
    Session::setText(s.extras(), "Text3", "2.0");
    s.done();
    QVERIFY(s.save(dir.filePath("b.fgd"))
                .startsWith("// Something Tarvok Made\r\n// Unnamed Mod  Version: 2.0\r\n"));

    // Once a saved file is continued, the dialog shows its values: raising the version alone
    // keeps the author and the mod name.
    QVERIFY(writeFile(dir.filePath("c.fgd"), model::fgdFileBytes({"x"}, {"Ann", "Mod", "1.2"})));
    s.main()->openFile(dir.filePath("c.fgd"));
    s.openExtras();
    Session::setText(s.extras(), "Text3", "1.3");
    s.done();
    QVERIFY(s.save(dir.filePath("c.fgd")).startsWith("// Ann\r\n// Mod  Version: 1.3\r\n"));
}

void TestDialogs::cancelCloseAndIconChangeNothing() {
    Session s;
    s.openExtras();
    s.typeExtras({"Jo", "Test", "1.2"});
    ui::Form3* extras = s.extras();
    QTest::mouseClick(extras->findChild<QWidget*>("Image1"), Qt::LeftButton);
    s.openExtras(); // Extras while open keeps what was typed
    QCOMPARE(s.extras(), extras);
    QCOMPARE(extras->findChild<QLineEdit*>("Text1")->text(), QString("Jo"));
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].text,
             QString("So You Have Clicked The Little Box Of Wonderment Have You? Well its not "
                     "that wonderfull is it really? NO it isn't!"));
    QCOMPARE(s.toolkit.messages[0].title, QString("Box Of Wonderment"));
    QCOMPARE(s.toolkit.messages[0].icon, toolkit::MessageIcon::Information);

    s.cancel(); // Cancel
    s.openExtras();
    s.typeExtras({"Other", "Mod", "9"});
    s.extras()->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.extras(), nullptr);
    QCOMPARE(s.module1.modInfo, model::ModInfo());
}

void TestDialogs::returnPressesFocusedButton() {
    // Return and the keypad's Enter press the button that has the focus, in every window; in a
    // text box they press nothing.
    Session s;
    const auto press = [](QWidget* window, const char* name, Qt::Key key) {
        auto* button = window->findChild<QPushButton*>(name);
        button->setFocus();
        QTest::keyClick(button, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    QTest::keyClick(s.main()->findChild<QLineEdit*>("Text2"), Qt::Key_Return);
    QCOMPARE(s.main()->definitions().count(), 1);
    press(s.main(), "Command1", Qt::Key_Return);
    QCOMPARE(s.main()->definitions().count(), 2);
    press(s.main(), "Command2", Qt::Key_Enter);
    QVERIFY(s.main()->isExpanded());
    s.select(1);
    s.edit();
    press(s.editor(), "Command1", Qt::Key_Enter);
    QCOMPARE(s.editor(), nullptr);
    QCOMPARE(s.main()->definitions().count(), 2);
    s.openExtras();
    press(s.extras(), "Command1", Qt::Key_Return);
    QCOMPARE(s.extras(), nullptr);
    s.openHelp();
    press(s.help(), "Command1", Qt::Key_Return);
    QCOMPARE(s.help(), nullptr);
}

void TestDialogs::helpHasThreeTabsAndCloses() {
    Session s;
    s.openHelp();
    ui::Form4* help = s.help();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->size(), toolkit::twipsSize(4575, 3570));
    QVERIFY(help->windowFlags() & Qt::WindowMinMaxButtonsHint);
    const QStringList tabOrder{"SSTab1", "Text1", "Text2", "Text3", "Command1"};
    QCOMPARE(focusOrder(help, tabOrder), tabOrder);
    auto* tabs = help->findChild<QTabWidget*>("SSTab1");
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(help->findChild<QPlainTextEdit*>("Text2")->toPlainText().startsWith("Simple Steps"));
    // Only How To Use needs its scroll bar at the designed font; the others fit their boxes.
    for (const char* box : {"Text1", "Text3"}) {
        auto* text = help->findChild<QPlainTextEdit*>(box);
        tabs->setCurrentWidget(text->parentWidget());
        QCoreApplication::processEvents();
        QVERIFY2(text->verticalScrollBar()->maximum() == 0, box);
    }

    // Resizing moves nothing; Help! while open does not reload; Close closes.
    help->findChild<QPlainTextEdit*>("Text1")->setPlainText("typed");
    const QRect before = tabs->geometry();
    help->resize(help->size() * 2);
    QCOMPARE(tabs->geometry(), before);
    s.openHelp();
    QCOMPARE(help->findChild<QPlainTextEdit*>("Text1")->toPlainText(), QString("typed"));
    Session::click(help, "Command1");
    QCOMPARE(s.help(), nullptr);
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
