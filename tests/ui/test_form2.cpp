#include "model/Module1.h"
#include "support/ScriptedToolkit.h"
#include "toolkit/Twips.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Forms.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {
const QString StartLine = "//Half Life FGD File Start Code Here:";
const QString NothingSelected = "Nothing Selected - Please select something and try again";
} // namespace

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensEditorLaidOutAsDesigned();
    void updateMovesEditedLineToEnd();
    void refusesEmptyOrMissingSelection();
    void updateKeepsLineSelectedElsewhere();
    void secondEditReplacesText();
    void updateAfterMainWindowClosedChangesNothing();

private:
    ui::Form1* main() { return m_forms->loadedForm1(); }
    QListWidget* list() { return main()->findChild<QListWidget*>("List1"); }
    void click(QWidget* window, const char* name) {
        window->findChild<QPushButton*>(name)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void addLines(const QStringList& lines);
    void select(int row) { list()->setCurrentRow(row); }
    void editTo(const QString& text);
    QStringList shownLines();

    model::Module1 m_module1;
    ScriptedToolkit m_toolkit;
    std::unique_ptr<ui::Forms> m_forms;
};

void TestForm2::init() {
    m_toolkit = ScriptedToolkit();
    m_forms = std::make_unique<ui::Forms>(m_toolkit, m_module1);
    m_forms->form1()->show();
}

void TestForm2::cleanup() {
    m_forms.reset();
}

void TestForm2::addLines(const QStringList& lines) {
    // The editor only ever sees what Add made, so lines arrive through Add with Custom sizes.
    for (const QString& line : lines) {
        m_toolkit.inputAnswers << line;
        main()->findChild<QComboBox*>("Combo1")->setCurrentText("Custom");
        click(main(), "Command1");
    }
}

void TestForm2::editTo(const QString& text) {
    click(main(), "Command4");
    ui::Form2* editor = m_forms->loadedForm2();
    QVERIFY(editor);
    editor->findChild<QLineEdit*>("Text1")->setText(text);
    click(editor, "Command1");
}

QStringList TestForm2::shownLines() {
    QStringList lines;
    for (int i = 0; i < list()->count(); ++i)
        lines << list()->item(i)->text();
    return lines;
}

void TestForm2::opensEditorLaidOutAsDesigned() {
    select(0);
    click(main(), "Command4");
    ui::Form2* editor = m_forms->loadedForm2();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QVERIFY(!editor->isModal());
    QCOMPARE(editor->size(), toolkit::twipsSize(3645, 1290));
    QCOMPARE(editor->minimumSize(), editor->maximumSize());
    QVERIFY(!(editor->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(editor->line(), StartLine);
    QCOMPARE(editor->findChild<QLineEdit*>("Text1")->nextInFocusChain(),
             editor->findChild<QPushButton*>("Command1"));
}

void TestForm2::updateMovesEditedLineToEnd() {
    addLines({"a", "b"});
    const QStringList lines = main()->definitions().lines();
    select(0);
    editTo("X");
    const QStringList expected{lines[1], lines[2], "X"};
    QCOMPARE(main()->definitions().lines(), expected);
    QCOMPARE(shownLines(), expected);
    QCOMPARE(main()->definitions().selectedPosition(), -1);
    QVERIFY(list()->selectedItems().isEmpty());
    QCOMPARE(m_forms->loadedForm2(), nullptr);

    // Right after Update nothing is selected, so Edit is refused.
    click(main(), "Command4");
    QCOMPARE(m_toolkit.messages.size(), 1);
    QCOMPARE(m_forms->loadedForm2(), nullptr);
}

void TestForm2::refusesEmptyOrMissingSelection() {
    click(main(), "Command4");
    select(0);
    editTo("");
    QCOMPARE(main()->definitions().lines(), QStringList({""}));
    select(0);
    click(main(), "Command4");

    QCOMPARE(m_toolkit.messages.size(), 2);
    for (const ScriptedToolkit::Message& message : m_toolkit.messages) {
        QCOMPARE(message.text, NothingSelected);
        QCOMPARE(message.title, QString("Error"));
        QCOMPARE(message.icon, toolkit::MessageIcon::None);
    }
    QCOMPARE(m_forms->loadedForm2(), nullptr);
}

void TestForm2::updateKeepsLineSelectedElsewhere() {
    addLines({"a", "b", "c"});
    const QStringList lines = main()->definitions().lines();
    select(1);
    click(main(), "Command4");
    select(3); // the user moves on before pressing Update
    ui::Form2* editor = m_forms->loadedForm2();
    editor->findChild<QLineEdit*>("Text1")->setText("edited");
    click(editor, "Command1");

    const QStringList expected{lines[0], lines[2], lines[3], "edited"};
    QCOMPARE(main()->definitions().lines(), expected);
    QCOMPARE(shownLines(), expected);
    // The selection stays on its line, which moved up by one.
    QCOMPARE(main()->definitions().selectedPosition(), 2);
    QCOMPARE(list()->currentRow(), 2);
    QCOMPARE(list()->selectedItems().size(), 1);
}

void TestForm2::secondEditReplacesText() {
    addLines({"a"});
    select(0);
    click(main(), "Command4");
    ui::Form2* editor = m_forms->loadedForm2();
    select(1);
    click(main(), "Command4");
    QCOMPARE(m_forms->loadedForm2(), editor);
    QCOMPARE(editor->line(), main()->definitions().lineAt(1));

    // Update replaces the line of the latest Edit.
    const QStringList before = main()->definitions().lines();
    click(editor, "Command1");
    QCOMPARE(main()->definitions().lines(), (QStringList{before[0], before[1]}));
}

void TestForm2::updateAfterMainWindowClosedChangesNothing() {
    select(0);
    click(main(), "Command4");
    ui::Form2* editor = m_forms->loadedForm2();
    main()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_forms->loadedForm1(), nullptr);
    QVERIFY(editor->isVisible());

    click(editor, "Command1");
    QCOMPARE(m_forms->loadedForm2(), nullptr);
    QCOMPARE(m_forms->loadedForm1(), nullptr);
}

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
