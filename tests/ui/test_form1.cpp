#include "model/FgdWriter.h"
#include "support/FocusChain.h"
#include "support/Session.h"
#include "ui/Form2.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

namespace {
const QString StartLine = "//Half Life FGD File Start Code Here:";
const QString WeaponLine =
    "@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : \"9mm Assault Rifle\" []";
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void startsCollapsedWithEmptyInputs();
    void addsComposedLines();
    void togglesSourceView();
    void refusesToAddToFullList();
    void marksLinesTheEditorWouldRefuse();
    void savesThroughDialog();
    void reportsFailedSave();
    void continuesSavedFile();
    void appendsDroppedFiles();
};

void TestForm1::startsCollapsedWithEmptyInputs() {
    Session s;
    QCOMPARE(s.main()->size(), QSize(481, 118));
    QCOMPARE(s.main()->minimumSize(), s.main()->maximumSize());
    QVERIFY(!(s.main()->windowFlags() & Qt::WindowMinMaxButtonsHint));
    for (const char* name : {"Combo1", "Combo3"}) {
        auto* combo = s.main()->findChild<QComboBox*>(name);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->currentText(), QString());
    }
    QCOMPARE(s.shownLines(), QStringList{StartLine});
    QCOMPARE(s.main()->definitions().selectedPosition(), -1);
    const QStringList tabOrder{"Combo1", "Combo3",   "Text1",    "Text2",    "Command1", "Command2",
                               "List1",  "Command4", "Command3", "Command5", "Command6"};
    QCOMPARE(focusOrder(s.main(), tabOrder), tabOrder);
}

void TestForm1::addsComposedLines() {
    Session s;
    s.click("Command1"); // nothing chosen: a headless line
    s.compose("Weapon", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.list()->setCurrentRow(0);
    s.click("Command1");
    s.compose("Custom", "item_", "box", "Box");
    s.toolkit.inputAnswers << "-8 -8 0, 8 8 16";
    s.click("Command1");
    s.click("Command1"); // custom size cancelled: headless again

    const QStringList expected{StartLine, " = Entity Suffix : \"Real Name\" []", WeaponLine,
                               "@PointClass size(-8 -8 0, 8 8 16) = item_box : \"Box\" []",
                               " = item_box : \"Box\" []"};
    QCOMPARE(s.main()->definitions().lines(), expected);
    QCOMPARE(s.shownLines(), expected);
    QCOMPARE(s.main()->definitions().selectedPosition(), 0); // Add keeps the selection
    QCOMPARE(s.toolkit.inputs.size(), 2);
    QCOMPARE(s.toolkit.inputs[0].prompt, QString("Input a valid @PointClass base"));
    QCOMPARE(s.toolkit.inputs[0].title, QString("Custom size"));
    QCOMPARE(s.main()->findChild<QLineEdit*>("Text2")->text(), QString("box")); // inputs stay
}

void TestForm1::togglesSourceView() {
    Session s;
    auto* toggle = s.main()->findChild<QPushButton*>("Command2");
    const char* captions[] = {"Hide Source", "Show Source", "Hide Source"};
    for (int click = 0; click < 3; ++click) {
        s.click("Command2");
        QCOMPARE(toggle->text(), QString(captions[click]));
        QCOMPARE(s.main()->size(), QSize(481, click % 2 ? 118 : 271));
        QCOMPARE(s.main()->isExpanded(), click % 2 == 0);
    }
}

void TestForm1::refusesToAddToFullList() {
    Session s;
    while (s.main()->definitions().count() < model::DefinitionList::MaxLines)
        s.click("Command1");
    QVERIFY(s.toolkit.messages.isEmpty());
    s.compose("Custom", "", "", "");
    s.click("Command1");
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].title, QString("Error"));
    QVERIFY(s.toolkit.messages[0].text.contains("full"));
    QVERIFY(s.toolkit.inputs.isEmpty()); // not even asked for a size
    QCOMPARE(s.main()->definitions().count(), 32767);
    QCOMPARE(s.list()->count(), 32767);
}

void TestForm1::marksLinesTheEditorWouldRefuse() {
    Session s;
    s.compose("", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.click("Command1"); // headless
    s.compose("Custom", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.toolkit.inputAnswers << "abc";
    s.click("Command1");
    s.compose("Weapon", "weapon_", "9mmAR", "say \"hi\"");
    s.click("Command1");
    s.compose("Weapon", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.click("Command1");

    const QStringList reasons{"", "@PointClass", "size() needs numbers", "double quote", ""};
    for (int row = 0; row < reasons.size(); ++row) {
        QListWidgetItem* item = s.list()->item(row);
        QCOMPARE(item->icon().isNull(), reasons[row].isEmpty());
        QVERIFY2(reasons[row].isEmpty() ? item->toolTip().isEmpty()
                                        : item->toolTip().contains(reasons[row]),
                 qPrintable(item->toolTip()));
    }
    QCOMPARE(s.shownLines().last(), WeaponLine); // marks change no line
}

void TestForm1::savesThroughDialog() {
    Session s;
    QTemporaryDir dir;
    const QString path = dir.filePath("weapon.fgd");
    QFile expected(FGD_TEST_DATA "/weapon.fgd");
    QVERIFY(expected.open(QIODevice::ReadOnly));
    const QByteArray weaponFile = expected.readAll();

    s.click("Command5"); // cancelled: nothing written, mod info untouched
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].text, QString("No File Selected"));
    QCOMPARE(s.toolkit.messages[0].title, QString("An Error has Occurred"));
    QCOMPARE(s.toolkit.messages[0].icon, toolkit::MessageIcon::None);
    QCOMPARE(s.module1.modInfo, model::ModInfo());

    s.compose("Weapon", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.click("Command1");
    QCOMPARE(s.save(path), weaponFile);
    QCOMPARE(s.module1.modInfo.Author, QString("Something Tarvok Made"));

    // A later cancel or empty name writes nothing and leaves the earlier file alone.
    s.click("Command1");
    s.save(QString());
    s.click("Command5");
    QCOMPARE(s.toolkit.messages.size(), 3);
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), weaponFile);

    const toolkit::SaveDialogSettings& settings = s.toolkit.saves[0].settings;
    QCOMPARE(settings.title, QString("Choose FileName for Output"));
    QCOMPARE(settings.defaultExtension, QString("fgd"));
    QCOMPARE(settings.filter, QString("*.fgd"));
    QCOMPARE(s.toolkit.saves[1].initialName, QString());
    QCOMPARE(s.toolkit.saves[2].initialName, path); // opens with the last chosen name
}

void TestForm1::reportsFailedSave() {
    Session s;
    QTemporaryDir parent;
    const QString folder = parent.filePath("mod");
    QVERIFY(QDir().mkdir(folder));
    // The chosen folder disappears between the dialog and the write.
    s.toolkit.whileSaveDialogOpen = [folder] {
        QDir(folder).removeRecursively();
    };
    s.save(folder + "/gone.fgd");
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].title, QString("An Error has Occurred"));
    QVERIFY2(s.toolkit.messages[0].text.contains("gone.fgd"),
             qPrintable(s.toolkit.messages[0].text));
    QVERIFY(QDir(parent.path()).isEmpty());
    QCOMPARE(s.module1.modInfo.ModVersion, QString("0.0")); // defaults applied all the same
}

void TestForm1::continuesSavedFile() {
    QTemporaryDir dir;
    const QString saved = dir.filePath("mod.fgd");
    const QStringList lines{StartLine, "@PointClass = a : \"b\" [", "]"};
    const model::ModInfo info{"Jo", "Test", "1.2"};
    QFile file(saved);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(model::FgdFileBytes(lines, info));
    file.close();

    Session s;
    s.main()->openFile(saved);
    QCOMPARE(s.shownLines(), lines);
    QCOMPARE(s.module1.modInfo, info);
    s.toolkit.saveAnswers << saved;
    s.click("Command5");
    QCOMPARE(s.toolkit.saves[0].initialName, saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), model::FgdFileBytes(lines, info)); // saved again, byte for byte

    // Update breaks the declaration spread over two lines: the marks show it at once.
    s.list()->setCurrentRow(1);
    s.click("Command4");
    Session::click(s.forms.loadedForm2(), "Command1");
    QCOMPARE(s.list()->item(1)->toolTip(), QString("this ] closes no [ ] body: the body above "
                                                   "it is already closed"));
    QVERIFY(s.list()->item(2)->toolTip().contains("not closed"));

    // A file that cannot be read changes nothing.
    s.main()->openFile(dir.filePath("missing.fgd"));
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].title, QString("Error"));
    QVERIFY(s.toolkit.messages[0].text.contains("missing.fgd"));
    QCOMPARE(s.main()->definitions().count(), 3);
}

void TestForm1::appendsDroppedFiles() {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write("ours.fgd", model::FgdFileBytes({"a", "b"}, {"Jo", "M", "1"})));
    QVERIFY(write("other.FGD", "c\r\nd"));
    QVERIFY(write("long.fgd", QByteArray("x\n").repeated(model::DefinitionList::MaxLines)));
    // Drops as the window system delivers them: to the window, at a point over a control.
    const auto drop = [&](QWidget* over, const QStringList& names) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& name : names)
            urls << QUrl::fromLocalFile(dir.filePath(name));
        data.setUrls(urls);
        const QPoint at = over->mapTo(over->window(), over->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(over->window()->windowHandle(), &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(over->window()->windowHandle(), &event);
        QCoreApplication::processEvents();
        return event.isAccepted();
    };

    Session s;
    QVERIFY(drop(s.main()->findChild<QWidget*>("Command1"), {"ours.fgd", "other.FGD"}));
    QVERIFY(drop(s.main()->findChild<QLineEdit*>("Text1"), {"missing.fgd"}));
    QCOMPARE(s.shownLines(), (QStringList{StartLine, "a", "b", "c", "d"}));
    QCOMPARE(s.module1.modInfo, model::ModInfo());
    QCOMPARE(s.toolkit.messages.size(), 1);
    QVERIFY(s.toolkit.messages[0].text.contains("missing.fgd"));

    QVERIFY(drop(s.main(), {"long.fgd"}));
    QCOMPARE(s.toolkit.messages.size(), 2);
    QVERIFY(s.toolkit.messages[1].text.contains("Nothing was added"));
    QCOMPARE(s.main()->definitions().count(), 5);
    QVERIFY(!drop(s.main(), {"ours.fgd", "notes.txt"})); // only FGD files are taken
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
