#include "model/Module1.h"
#include "support/FocusChain.h"
#include "support/ScriptedToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString WeaponLine =
    "@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : \"9mm Assault Rifle\" []";

QStringList listItems(const ui::Form1* form) {
    QStringList items;
    auto* list = form->findChild<QListWidget*>("List1");
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsCollapsedWithDesignedControls();
    void addsComposedLine();
    void addWithCustomAsksEachTime();
    void togglesSourceView();
    void refusesToAddToFullList();
    void marksLinesTheEditorWouldRefuse();
    void savesThroughDialog();
    void reportsFailedSave();

private:
    void click(const char* button) { m_form->findChild<QPushButton*>(button)->click(); }

    model::Module1 m_module1;
    ScriptedToolkit m_toolkit;
    std::unique_ptr<ui::Forms> m_forms;
    ui::Form1* m_form = nullptr;
};

void TestForm1::init() {
    m_toolkit = ScriptedToolkit();
    m_module1 = model::Module1();
    m_forms = std::make_unique<ui::Forms>(m_toolkit, m_module1);
    m_form = m_forms->form1();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestForm1::cleanup() {
    m_forms.reset();
    m_form = nullptr;
}

void TestForm1::startsCollapsedWithDesignedControls() {
    QCOMPARE(m_form->size(), QSize(481, 118));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(!m_form->windowIcon().isNull());
    for (const char* name : {"Combo1", "Combo3"}) {
        auto* combo = m_form->findChild<QComboBox*>(name);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->currentText(), QString());
    }
    QCOMPARE(listItems(m_form), QStringList({"//Half Life FGD File Start Code Here:"}));
    QCOMPARE(m_form->definitions().selectedPosition(), -1);

    // Tab moves through the controls in the table's order.
    const QStringList tabOrder{"Combo1", "Combo3",   "Text1",    "Text2",    "Command1", "Command2",
                               "List1",  "Command4", "Command3", "Command5", "Command6"};
    QCOMPARE(focusOrder(m_form, tabOrder), tabOrder);
}

void TestForm1::addsComposedLine() {
    // Nothing chosen and untouched boxes: a headless line.
    click("Command1");
    m_form->findChild<QComboBox*>("Combo1")->setCurrentText("Weapon");
    m_form->findChild<QComboBox*>("Combo3")->setCurrentText("weapon_");
    m_form->findChild<QLineEdit*>("Text2")->setText("9mmAR");
    m_form->findChild<QLineEdit*>("Text1")->setText("9mm Assault Rifle");
    m_form->findChild<QListWidget*>("List1")->setCurrentRow(0);
    click("Command1");

    const QStringList expected{
        "//Half Life FGD File Start Code Here:", " = Entity Suffix : \"Real Name\" []", WeaponLine};
    QCOMPARE(listItems(m_form), expected);
    QCOMPARE(m_form->definitions().lines(), expected);
    QCOMPARE(m_form->definitions().selectedPosition(), 0);
    QVERIFY(m_toolkit.inputs.isEmpty());
    // The inputs stay as they were.
    QCOMPARE(m_form->findChild<QLineEdit*>("Text2")->text(), QString("9mmAR"));
}

void TestForm1::addWithCustomAsksEachTime() {
    m_form->findChild<QComboBox*>("Combo1")->setCurrentText("Custom");
    m_toolkit.inputAnswers << "-8 -8 0, 8 8 16";
    click("Command1");
    click("Command1"); // cancelled: still appends the headless line

    QCOMPARE(m_toolkit.inputs.size(), 2);
    QCOMPARE(m_toolkit.inputs[0].prompt, QString("Input a valid @PointClass base"));
    QCOMPARE(m_toolkit.inputs[0].title, QString("Custom size"));
    const QStringList lines = m_form->definitions().lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1],
             QString("@PointClass size(-8 -8 0, 8 8 16) = Entity Suffix : \"Real Name\" []"));
    QCOMPARE(lines[2], QString(" = Entity Suffix : \"Real Name\" []"));
}

void TestForm1::togglesSourceView() {
    auto* toggle = m_form->findChild<QPushButton*>("Command2");
    const int width = m_form->width();

    click("Command2");
    QVERIFY(m_form->isExpanded());
    QCOMPARE(toggle->text(), QString("Hide Source"));
    QCOMPARE(m_form->size(), QSize(width, 271));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());

    click("Command2");
    QVERIFY(!m_form->isExpanded());
    QCOMPARE(toggle->text(), QString("Show Source"));
    QCOMPARE(m_form->size(), QSize(width, 118));

    click("Command2");
    QCOMPARE(toggle->text(), QString("Hide Source"));
    QCOMPARE(m_form->height(), 271);
}

void TestForm1::refusesToAddToFullList() {
    while (m_form->definitions().count() < model::DefinitionList::MaxLines)
        click("Command1");
    QVERIFY(m_toolkit.messages.isEmpty());
    const QStringList before = m_form->definitions().lines();

    m_form->findChild<QComboBox*>("Combo1")->setCurrentText("Custom");
    click("Command1");

    QCOMPARE(m_toolkit.messages.size(), 1);
    QCOMPARE(m_toolkit.messages[0].title, QString("Error"));
    QVERIFY(m_toolkit.messages[0].text.contains("full"));
    QVERIFY(m_toolkit.inputs.isEmpty());
    QCOMPARE(m_form->definitions().lines(), before);
    QCOMPARE(m_form->findChild<QListWidget*>("List1")->count(), 32767);
}

void TestForm1::marksLinesTheEditorWouldRefuse() {
    auto* kind = m_form->findChild<QComboBox*>("Combo1");
    auto* prefix = m_form->findChild<QComboBox*>("Combo3");
    auto* suffix = m_form->findChild<QLineEdit*>("Text2");
    auto* name = m_form->findChild<QLineEdit*>("Text1");
    prefix->setCurrentText("weapon_");
    suffix->setText("9mmAR");

    name->setText("9mm Assault Rifle");
    click("Command1"); // no kind: headless
    kind->setCurrentText("Custom");
    m_toolkit.inputAnswers << "abc";
    click("Command1");
    kind->setCurrentText("Weapon");
    name->setText("say \"hi\"");
    click("Command1");
    name->setText("9mm Assault Rifle");
    click("Command1"); // the good example

    auto* list = m_form->findChild<QListWidget*>("List1");
    QCOMPARE(list->count(), 5);
    QVERIFY(list->item(0)->icon().isNull());
    QVERIFY(list->item(0)->toolTip().isEmpty());
    QVERIFY(list->item(1)->toolTip().contains("@PointClass"));
    QVERIFY(list->item(2)->toolTip().contains("whole numbers"));
    QVERIFY(list->item(3)->toolTip().contains("double quote"));
    for (int row : {1, 2, 3})
        QVERIFY(!list->item(row)->icon().isNull());
    QCOMPARE(list->item(4)->text(), WeaponLine);
    QVERIFY(list->item(4)->icon().isNull());
    QVERIFY(list->item(4)->toolTip().isEmpty());
    // The marks change nothing in the lines themselves.
    QCOMPARE(listItems(m_form), m_form->definitions().lines());
}

void TestForm1::savesThroughDialog() {
    QTemporaryDir dir;
    const QString path = dir.filePath("weapon.fgd");

    click("Command5"); // cancelled
    QCOMPARE(m_toolkit.messages.size(), 1);
    QCOMPARE(m_toolkit.messages[0].text, QString("No File Selected"));
    QCOMPARE(m_toolkit.messages[0].title, QString("An Error has Occurred"));
    QCOMPARE(m_toolkit.messages[0].icon, toolkit::MessageIcon::None);
    QCOMPARE(m_module1.modInfo, model::ModInfo());

    m_form->findChild<QComboBox*>("Combo1")->setCurrentText("Weapon");
    m_form->findChild<QComboBox*>("Combo3")->setCurrentText("weapon_");
    m_form->findChild<QLineEdit*>("Text2")->setText("9mmAR");
    m_form->findChild<QLineEdit*>("Text1")->setText("9mm Assault Rifle");
    click("Command1");
    m_toolkit.saveAnswers << path << std::nullopt << QString();
    click("Command5");
    QCOMPARE(m_toolkit.messages.size(), 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile expected(FGD_TEST_DATA "/weapon.fgd");
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected.readAll());
    QCOMPARE(m_module1.modInfo.Author, QString("Something Tarvok Made"));

    // A later cancel, or an empty name, writes nothing and leaves the earlier file alone.
    click("Command1");
    click("Command5");
    click("Command5");
    QCOMPARE(m_toolkit.messages.size(), 3);
    QCOMPARE(m_toolkit.messages[2].text, QString("No File Selected"));
    file.seek(0);
    expected.seek(0);
    QCOMPARE(file.readAll(), expected.readAll());

    QCOMPARE(m_toolkit.saves.size(), 4);
    const toolkit::SaveDialogSettings& settings = m_toolkit.saves[0].settings;
    QCOMPARE(settings.title, QString("Choose FileName for Output"));
    QCOMPARE(settings.defaultExtension, QString("fgd"));
    QCOMPARE(settings.filter, QString("*.fgd"));
    QCOMPARE(m_toolkit.saves[1].initialName, QString());
    QCOMPARE(m_toolkit.saves[2].initialName, path);
}

void TestForm1::reportsFailedSave() {
    QTemporaryDir dir;
    m_toolkit.saveAnswers << dir.filePath("no/such/folder.fgd");
    click("Command5");
    QCOMPARE(m_toolkit.messages.size(), 1);
    QCOMPARE(m_toolkit.messages[0].title, QString("An Error has Occurred"));
    QVERIFY2(m_toolkit.messages[0].text.contains("folder.fgd"),
             qPrintable(m_toolkit.messages[0].text));
    QCOMPARE(m_module1.modInfo.ModVersion, QString("0.0"));
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
