// The main window: composing and adding lines, the source view and its marks, the limit,
// saving through the dialog, continuing files opened at start or dropped on the window, and
// the same marks from fgd-composer --check.

#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "model/SourceList.h"
#include "support/FocusChain.h"
#include "support/Session.h"
#include "ui/Form2.h"

#include <QAction>
#include <QCompleter>
#include <QDir>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

namespace {
const QString StartLine = "//Half Life FGD File Start Code Here:";
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void startsCollapsedAndToggles();
    void addsComposedLines();
    void savesThroughDialog();
    void listKeepsSelectionAndRows();
    void continuesOpenedFile();
    void appendsDroppedFiles();
    void choosesEditors();
    void agreesWithCheckCommand();
    void learnsTheGame();
};

void TestForm1::startsCollapsedAndToggles() {
    // A desktop font larger than the windows were designed for: the windows fit theirs, and
    // the desktop's own dialogs keep the desktop's.
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont(desktop.family(), 14));
    Session s;
    QVERIFY(QApplication::font().pointSize() == 14 &&
            QFontMetrics(s.main()->font()).horizontalAdvance("Hide Source") < 57);
    QApplication::setFont(desktop);

    QCOMPARE(s.main()->size(), QSize(481, 118));
    QVERIFY(s.main()->minimumSize() == s.main()->maximumSize() &&
            !(s.main()->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(s.shownLines(), QStringList{StartLine});
    // Nothing is chosen at start, and the drop-downs offer what game code links.
    QStringList offered;
    for (const char* name : {"Combo1", "Combo3"}) {
        auto* box = s.main()->findChild<QComboBox*>(name);
        QCOMPARE(box->currentText(), QString());
        for (int i = 0; i < box->count(); ++i)
            offered << box->itemText(i);
    }
    QCOMPARE(offered.join(' '), QString("Player Weapon Monster Custom weapon_ item_ ammo_ info_ "
                                        "monster_ multi_ ambient_ path_ player_ scripted_ "
                                        "target_ trigger_"));
    const QStringList tabOrder{"Combo1", "Combo3",   "Text1",    "Text2",    "Command1", "Command2",
                               "List1",  "Command4", "Command3", "Command5", "Command6"};
    QCOMPARE(focusOrder(s.main(), tabOrder), tabOrder);

    auto* toggle = s.main()->findChild<QPushButton*>("Command2");
    QCOMPARE(toggle->text(), QString("View Souce"));
    for (const char* caption : {"Hide Source", "Show Source", "Hide Source"}) {
        s.toggleSource();
        QCOMPARE(toggle->text(), QString(caption));
        QCOMPARE(s.main()->size(), QSize(481, caption[0] == 'H' ? 271 : 118));
    }
}

void TestForm1::addsComposedLines() {
    Session s;
    s.select(0);
    s.compose("Custom", "scripted_", "sequence", "Scripted Sequence");
    s.toolkit.inputAnswers << "-8 -8 0, 8 8 16";
    s.add();
    s.add(); // the custom size cancelled: a line without a class part
    const QStringList expected{
        StartLine,
        "@PointClass size(-8 -8 0, 8 8 16) = scripted_sequence : \"Scripted Sequence\" []",
        " = scripted_sequence : \"Scripted Sequence\" []"};
    QCOMPARE(s.shownLines(), expected);
    QCOMPARE(s.main()->definitions().selectedPosition(), 0); // Add keeps the selection
    QCOMPARE(s.toolkit.inputs.size(), 2);
    QCOMPARE(s.toolkit.inputs[0], (QStringList{"Input a valid @PointClass base", "Custom size"}));
    QCOMPARE(s.main()->findChild<QLineEdit*>("Text2")->text(), QString("sequence")); // inputs stay
    // The headless line carries the error sign with the reason; the complete one none.
    QVERIFY(s.sign(1).isEmpty() && s.tip(1).isEmpty());
    QCOMPARE(s.sign(2), QString("error"));
    QVERIFY(s.tip(2).contains("@PointClass (choose a class kind)"));
    QVERIFY(s.shown(2, Qt::AccessibleDescriptionRole).toString().startsWith("Error: "));
}

void TestForm1::savesThroughDialog() {
    Session s;
    QTemporaryDir dir;
    const QString path = dir.filePath("weapon.fgd");
    const QByteArray weaponFile = readFile(FGD_TEST_DATA "/weapon.fgd");
    s.save(std::nullopt); // cancelled: nothing written, mod info untouched
    QCOMPARE(s.module1.modInfo, model::ModInfo());
    s.compose("Weapon", "weapon_", "9mmAR", "9mm Assault Rifle");
    s.add();
    QCOMPARE(s.save(path), weaponFile);
    s.add();
    s.save(QString()); // an empty name is no file either
    QCOMPARE(readFile(path), weaponFile);

    QCOMPARE(s.toolkit.messages.size(), 2);
    for (const ScriptedToolkit::Message& message : s.toolkit.messages) {
        QCOMPARE(message.text + '|' + message.title,
                 QString("No File Selected|An Error has Occurred"));
        QCOMPARE(message.icon, toolkit::MessageIcon::None);
    }
    const toolkit::SaveDialogSettings& settings = s.toolkit.saves[0];
    QCOMPARE(settings.title + '|' + settings.defaultExtension + '|' + settings.filter,
             QString("Choose FileName for Output|fgd|*.fgd"));
    QCOMPARE(s.toolkit.saveInitialNames[2], path); // opens with the last chosen name

    // A file that cannot be written (its folder is gone): the error box says so.
    s.save(dir.filePath("mod/gone.fgd"));
    QCOMPARE(s.toolkit.messages.size(), 3);
    QVERIFY(s.toolkit.messages[2].title == "An Error has Occurred" &&
            s.toolkit.messages[2].text.contains(QDir::toNativeSeparators("mod/gone.fgd")));
}

void TestForm1::listKeepsSelectionAndRows() {
    Session s;
    s.toggleSource();
    s.compose("", "weapon_", "a", "A"); // no class kind: marked
    s.add();
    s.compose("Weapon", "weapon_", "b", "B");
    s.add();
    QCOMPARE(s.sign(1), QString("error"));
    QListView* list = s.list();
    // Every row has one height, and room for a sign before its text, marked or not, whatever
    // row is first: the texts start at one place.
    const auto rows = [&] {
        QList<QSize> sizes; // per row: its height, and its width less its text
        for (int row = 0; row < 3; ++row) {
            QStyleOptionViewItem option;
            option.initFrom(list);
            option.font = list->font();
            const QModelIndex index = list->model()->index(row, 0);
            const QSize hint = list->itemDelegate()->sizeHint(option, index);
            sizes << QSize(hint.width() -
                               list->fontMetrics().horizontalAdvance(index.data().toString()),
                           list->visualRect(index).height());
        }
        return sizes;
    };
    const auto alike = [](const QList<QSize>& sizes, QSize first) { // texts measure to a pixel
        return std::all_of(sizes.begin(), sizes.end(), [&](QSize size) {
            return size.height() == first.height() && qAbs(size.width() - first.width()) <= 1;
        });
    };
    const QList<QSize> before = rows();
    QVERIFY(alike(before, before[0]));
    s.select(0);
    s.edit();
    s.update(); // the marked line becomes the first row
    QCOMPARE(s.sign(0), QString("error"));
    QVERIFY(alike(rows(), before[0]));

    // A click below the last line, or a Ctrl+click on the selected line, keeps the selection;
    // a click on another line moves it.
    s.select(1);
    const QRect last = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center() + QPoint(0, 40));
    QCOMPARE(s.main()->definitions().selectedPosition(), 1);
    const QRect selected = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, selected.center());
    QCOMPARE(s.main()->definitions().selectedPosition(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center());
    QCOMPARE(s.main()->definitions().selectedPosition(), 2);
}

void TestForm1::continuesOpenedFile() {
    QTemporaryDir dir;
    const QString saved = dir.filePath("mod.fgd");
    const QStringList lines{StartLine, "@PointClass = a : \"b\" [", "\tk(string) : \"K\"", "]"};
    const model::ModInfo info{"Jo", "Test", "1.2"};
    QVERIFY(writeFile(saved, model::fgdFileBytes(lines, info)));

    Session s;
    QVERIFY(writeFile(dir.filePath("more.fgd"), "c\r\n"));
    // Started with two files: the first is continued, the second's lines follow once, and the
    // source view opens to show them.
    QVERIFY(!s.main()->isExpanded());
    s.main()->openFiles({saved, dir.filePath("more.fgd")});
    QVERIFY(s.main()->isExpanded());
    QCOMPARE(s.main()->findChild<QPushButton*>("Command2")->text(), QString("Hide Source"));
    QCOMPARE(s.main()->definitions().lines(), lines + QStringList{"c"});
    s.main()->openFile(saved);
    QCOMPARE(s.main()->definitions().lines(), lines);
    QCOMPARE(s.module1.modInfo, info);
    s.save(saved);
    QCOMPARE(s.toolkit.saveInitialNames[0], saved);
    QCOMPARE(readFile(saved), model::fgdFileBytes(lines, info)); // saved again, byte for byte

    // A line of a declaration spread over lines is updated where it stands, in its class; the
    // selection stays on it. A line outside any declaration still moves to the end.
    QSignalSpy repaint(s.list()->model(), &QAbstractItemModel::dataChanged);
    s.main()->appendFiles({dir.filePath("more.fgd")}, ui::Form1::FilesFrom::Drop);
    for (const int line : {2, 1}) {
        s.select(line);
        s.edit();
        s.update(line == 1 ? "@PointClass = a : \"b\"" : "\tk(integer) : \"K\"");
        QCOMPARE(s.main()->definitions().selectedPosition(), line);
    }
    // Tabs show four spaces wide, as in text editors.
    QCOMPARE(s.shownLines(), (QStringList{StartLine, "@PointClass = a : \"b\"",
                                          "    k(integer) : \"K\"", "]", "c"}));
    QCOMPARE(s.main()->definitions().lineAt(2), "\tk(integer) : \"K\"");
    // The edit broke the declaration: the marks show it at once.
    QVERIFY(!repaint.isEmpty() && repaint.last().at(0).toModelIndex().row() <= 1);
    QVERIFY(s.tip(2).startsWith("unexpected text after the description"));
    s.select(0);
    s.edit();
    s.update("// first");
    QCOMPARE(s.shownLines().last(), QString("// first"));

    // A base is looked for in the files the list @includes, from the opened file's folder; a
    // base declared nowhere gets a warning, which its declaration turns into one that it is
    // below (Hammer reads bases from above only).
    writeFile(dir.filePath("base.fgd"), "@include \"mod.fgd\"\n@BaseClass = Targetname []\n");
    writeFile(dir.filePath("mod.fgd"),
              "@include \"base.fgd\"\n@PointClass base(Targetname, Angles) = a : \"A\" []\n");
    s.main()->openFile(dir.filePath("mod.fgd"));
    QCOMPARE(s.sign(1), QString("warning"));
    QVERIFY(s.tip(1).contains("Angles") && !s.tip(1).contains("Targetname"));
    QVERIFY(s.shown(1, Qt::AccessibleDescriptionRole).toString().startsWith("Warning: "));
    s.select(0);
    s.edit();
    s.update("@BaseClass = Angles []"); // in place of the @include
    QCOMPARE(s.sign(0), QString("warning"));
    QVERIFY(s.tip(0).contains("no @BaseClass = Targetname") &&
            s.tip(0).contains("Angles is declared only below"));
    s.select(1);
    s.edit();
    s.update("@BaseClass = Targetname []"); // the line above changes with it
    QVERIFY(s.tip(0).contains("no @BaseClass = Angles") &&
            s.tip(0).contains("Targetname is declared only below"));
    QCOMPARE(repaint.last().at(0).toModelIndex().row(), 0);

    s.main()->openFile(dir.filePath("missing.fgd")); // changes nothing, and says why
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].title, QString("Error"));
    QVERIFY(s.toolkit.messages[0].text.contains("missing.fgd"));
    QCOMPARE(s.main()->definitions().count(), 2);
}

void TestForm1::appendsDroppedFiles() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("ours.fgd"), model::fgdFileBytes({"a", "b"}, {"J", "M", "1"})));
    QVERIFY(writeFile(dir.filePath("other.FGD"), "c\r\nd"));
    QVERIFY(writeFile(dir.filePath("long.fgd"), QByteArray("x\n").repeated(32766)));
    // Drops as the window system delivers them from a file manager: to the window, at a point
    // over a control.
    const auto drop = [&](QWidget* over, const QStringList& names) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& name : names)
            urls << QUrl::fromLocalFile(dir.filePath(name));
        data.setUrls(urls);
        data.setText(urls.first().toString()); // as file managers do: text boxes take text
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
    QVERIFY(s.main()->isExpanded()); // the source view shows what came in
    QVERIFY(drop(s.main()->findChild<QLineEdit*>("Text1"), {"missing.fgd"}));
    QCOMPARE(s.shownLines(), (QStringList{StartLine, "a", "b", "c", "d"}));
    QCOMPARE(s.module1.modInfo, model::ModInfo());
    QCOMPARE(s.toolkit.messages.size(), 1);
    QVERIFY(s.toolkit.messages[0].text.contains("missing.fgd"));
    QVERIFY(drop(s.main(), {"long.fgd"}));
    QCOMPARE(s.toolkit.messages.size(), 2);
    QVERIFY(s.toolkit.messages[1].text.contains("the dropped files add 32766"));
    QVERIFY(s.toolkit.messages[1].text.endsWith("Nothing was added."));
    QCOMPARE(s.main()->definitions().count(), 5);

    QVERIFY(!drop(s.main()->findChild<QWidget*>("Command1"), {"ours.fgd", "notes.txt"}));
    QCOMPARE(s.main()->definitions().count(), 5); // only FGD files are taken
    // Over a text box, in any window, other files are refused as on the window: no address is
    // typed into a line.
    s.select(1);
    s.edit();
    for (QLineEdit* box :
         {s.main()->findChild<QLineEdit*>("Text2"), s.editor()->findChild<QLineEdit*>("Text1")}) {
        const QString before = box->text();
        QVERIFY(!drop(box, {"notes.txt"}));
        QCOMPARE(box->text(), before);
    }
    s.editor()->close();
    // Files given on the command line that would not fit: the message says where they came from.
    s.main()->openFiles({dir.filePath("long.fgd"), dir.filePath("ours.fgd")});
    QVERIFY(s.toolkit.messages.last().text.contains("the files given on the command line add 2"));
    QCOMPARE(s.main()->definitions().count(), 32766);
    // Add fills the list to its last line; on a full list it adds nothing and says why, without
    // asking.
    const qsizetype messages = s.toolkit.messages.size();
    s.compose("Weapon", "weapon_", "last", "Last");
    s.add();
    QCOMPARE(s.toolkit.messages.size(), messages);
    QCOMPARE(s.shownCount(), 32767);
    s.compose("Custom", "", "", "");
    s.add();
    QVERIFY(s.toolkit.messages.last().text.contains("already holds 32,767 lines"));
    QCOMPARE(s.toolkit.messages.last().title, QString("Error"));
    QVERIFY(s.toolkit.inputs.isEmpty());
    QCOMPARE(s.shownCount(), 32767);
}

void TestForm1::choosesEditors() {
    // The source list's right-click menu has an entry per editor; a file written for one editor
    // is checked for it, until the user chooses, and the choice holds for files opened later.
    Session s;
    auto* list = s.main()->findChild<QListView*>("List1");
    QCOMPARE(list->contextMenuPolicy(), Qt::CustomContextMenu);
    const QList<QAction*> entries = list->actions();
    const auto checked = [&] {
        QStringList names;
        for (const QAction* entry : entries) {
            if (entry->isChecked())
                names << entry->text() + (entry->isEnabled() ? "" : " (fixed)");
        }
        return names.join(", ");
    };
    QCOMPARE(checked(), QString("Check for Hammer, Check for J.A.C.K., Check for TrenchBroom"));
    const QString jack = FGD_TEST_DATA "/check/jack.fgd";
    s.main()->openFile(jack);
    QCOMPARE(checked(), QString("Check for J.A.C.K. (fixed)"));
    QCOMPARE(s.shown(2, model::SourceList::MarkRole).toInt(), int(fgd::Severity::Warning));
    QVERIFY(s.tip(2).endsWith(
        "\n(checked for J.A.C.K.; choose the editors from the list's right-click menu)"));
    QSignalSpy repainted(list->model(), &QAbstractItemModel::dataChanged);
    entries.at(0)->trigger(); // Hammer: the help text it refuses is an error at once
    QVERIFY(!repainted.isEmpty() && repainted.last().at(0).toModelIndex().row() == 0 &&
            repainted.last().at(1).toModelIndex().row() == s.shownCount() - 1);
    QCOMPARE(checked(), QString("Check for Hammer, Check for J.A.C.K."));
    QCOMPARE(s.shown(2, model::SourceList::MarkRole).toInt(), int(fgd::Severity::Error));
    QVERIFY(s.tip(2).endsWith("\n(checked for Hammer and J.A.C.K.)"));
    entries.at(1)->trigger();
    entries.at(0)->trigger(); // the last one left stays
    QCOMPARE(checked(), QString("Check for Hammer (fixed)"));
    s.main()->openFile(jack);
    QCOMPARE(checked(), QString("Check for Hammer (fixed)"));
    QCOMPARE(s.shown(2, model::SourceList::MarkRole).toInt(), int(fgd::Severity::Error));
}

void TestForm1::agreesWithCheckCommand() {
    // Every file of the tests, opened in the window and checked on the command line: each line
    // gets the same kind of mark with the same reasons, or both refuse the file.
    QStringList files;
    for (const QString folder : {"", "/check", "/../fuzz/corpus"}) {
        const QDir dir(FGD_TEST_DATA + folder);
        for (const QString& name : dir.entryList(QDir::Files))
            files << dir.filePath(name);
    }
    QVERIFY(files.size() > 15);
    const QRegularExpression finding("^.*:(\\d+):\\d+: (error|warning): (.*)$");
    Session s;
    for (const QString& file : std::as_const(files)) {
        QProcess check;
        check.start(FGD_PROGRAM, {"--check", file});
        QVERIFY(check.waitForFinished(60000));
        const qsizetype refusals = s.toolkit.messages.size();
        s.main()->openFile(file);
        if (s.toolkit.messages.size() > refusals) {
            QCOMPARE(check.exitCode(), 2);
            continue;
        }
        // The command line counts the lines of the file, the frame's header included.
        QFile read(file);
        QVERIFY(read.open(QIODevice::ReadOnly));
        const int header = model::decodeFgdFile(read.readAll()).modInfo ? 3 : 0;
        QList<int> kinds(s.shownCount());
        QList<QStringList> reasons(s.shownCount());
        for (const QString& line :
             QString::fromUtf8(check.readAllStandardOutput()).remove('\r').split('\n')) {
            const QRegularExpressionMatch match = finding.match(line);
            if (line.isEmpty() || !match.hasMatch())
                continue;
            const int row = match.captured(1).toInt() - 1 - header;
            QVERIFY2(row >= 0 && row < s.shownCount(), qPrintable(file + ": " + line));
            const int kind =
                int(match.captured(2) == "error" ? fgd::Severity::Error : fgd::Severity::Warning);
            kinds[row] = std::max(kinds[row], kind);
            // Each says where its editors are chosen: the command line in its reason.
            const QString reason = match.captured(3).remove(" (choose the editors with --editors)");
            if (!reasons[row].contains(reason))
                reasons[row] << reason;
        }
        bool errors = false;
        for (int row = 0; row < s.shownCount(); ++row) {
            const QString where = QStringLiteral("%1, row %2").arg(file).arg(row);
            QCOMPARE(s.shown(row, model::SourceList::MarkRole).toInt(), kinds[row]);
            // A mark's tool tip ends with the editors it speaks for.
            QStringList tip = s.tip(row).split('\n', Qt::SkipEmptyParts);
            if (!tip.isEmpty())
                QVERIFY2(tip.takeLast().startsWith("(checked for "), qPrintable(where));
            tip.sort();
            reasons[row].sort();
            QVERIFY2(tip == reasons[row], qPrintable(where));
            errors |= kinds[row] == int(fgd::Severity::Error);
        }
        QCOMPARE(check.exitCode(), errors ? 1 : 0);
    }
}

void TestForm1::learnsTheGame() {
    const QString game = FGD_TEST_DATA "/game/";
    Session s;
    QSignalSpy read(s.main(), &ui::Form1::gameRead);
    const auto drop = [&](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(s.main()->windowHandle(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(s.main()->windowHandle(), &event);
        return event.isAccepted() && read.wait(10000);
    };
    // A file in a mod folder: the liblist.gam above it names the library whose names count.
    s.main()->openFile(game + "mod/maps/test.fgd");
    QVERIFY(read.wait(10000));
    QCOMPARE(s.sign(1), QString());
    QCOMPARE(s.sign(2), QString("warning"));
    QVERIFY2(s.tip(2).contains("the game links weapon_9mmAR: only the case differs"),
             qPrintable(s.tip(2)));
    QVERIFY2(s.tip(2).endsWith("; class names from " + QDir::toNativeSeparators(game + "mod/../") +
                               "elf32.so)") ||
                 s.tip(2).endsWith(".dll)"),
             qPrintable(s.tip(2)));
    QCOMPARE(s.sign(3), QString()); // func_detail: the compilers take it out
    // The suffix box offers what the game links after the chosen prefix, on Down even when
    // the box holds its first text.
    s.compose("Weapon", "weapon_", "Entity Suffix", "");
    auto* suffix = s.main()->findChild<QLineEdit*>("Text2");
    QCompleter* completer = suffix->completer();
    QTest::keyClick(suffix, Qt::Key_Down);
    QVERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionModel()->rowCount(), 1);
    QCOMPARE(completer->currentCompletion(), QString("9mmAR"));
    QCOMPARE(completer->popup()->font(), s.main()->font());
    completer->popup()->hide();
    // The list's menu names the game; a file whose liblist.gam names a library that is not
    // there is opened with a message that says its class names are not checked.
    const QList<QAction*> listActions = s.list()->actions();
    const QAction* gameEntry = listActions.at(listActions.size() - 2);
    QAction* composeEntry = listActions.last();
    QVERIFY(!composeEntry->isVisible()); // a library tells no declaration
    QVERIFY2(gameEntry->text().startsWith("Class names from "), qPrintable(gameEntry->text()));

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("liblist.gam"), "gamedll \"dlls\\hl.dll\"\n"));
    QVERIFY(writeFile(dir.filePath("lost.fgd"), "@PointClass = monster_tset : \"Gone\" []"));
    s.main()->openFile(dir.filePath("lost.fgd"));
    QVERIFY(read.wait(10000));
    QCOMPARE(s.toolkit.messages.size(), 1);
    QVERIFY2(s.toolkit.messages[0].text.startsWith("Class names are not checked: ") &&
                 s.toolkit.messages[0].text.contains("liblist.gam names dlls\\hl.dll"),
             qPrintable(s.toolkit.messages[0].text));
    QVERIFY(gameEntry->text().startsWith("Class names are not checked: "));
    QCOMPARE(s.sign(0), QString());
    s.main()->openFile(game + "mod/maps/test.fgd");
    QVERIFY(read.wait(10000));
    QVERIFY(gameEntry->text().startsWith("Class names from "));

    // A damaged library dropped on the window: a message, and the game stays.
    QVERIFY(writeFile(dir.filePath("hl.dll"), "MZ cut short"));
    QVERIFY(drop(dir.filePath("hl.dll")));
    QCOMPARE(s.toolkit.messages.size(), 2);
    QVERIFY(s.toolkit.messages[1].text.startsWith("The dropped game cannot be read: "));
    QVERIFY(s.toolkit.messages[1].text.contains("damaged"));
    QCOMPARE(s.sign(2), QString("warning"));
    // The source folder dropped: a message names it, and it holds for the files opened after,
    // wherever they lie.
    QVERIFY(drop(game + "source"));
    QCOMPARE(s.toolkit.messages.size(), 3);
    QVERIFY(s.toolkit.messages[2].text.contains(
        QDir::toNativeSeparators(QFileInfo(game + "source").absoluteFilePath()) + ", which links"));
    QVERIFY(s.tip(2).endsWith(
        "; class names from " +
        QDir::toNativeSeparators(QFileInfo(game + "source").absoluteFilePath()) + ")"));
    // From the source, what the code says below the class name: a note has a quieter sign.
    QCOMPARE(s.sign(1), QString("note"));
    QVERIFY2(s.tip(1).contains("CTest reads volume, which this declaration does not offer"),
             qPrintable(s.tip(1)));
    // and the menu adds the classes it links that the list lacks, composed from its code: here
    // the one the file does not declare in any case, added at the end.
    QVERIFY(composeEntry->isVisible());
    const int count = s.main()->definitions().count();
    s.toolkit.choiceAnswers.enqueue(QList<int>{0});
    composeEntry->trigger();
    QCOMPARE(s.toolkit.choices.size(), 1);
    QCOMPARE(s.toolkit.choices[0].size(), 1);
    QCOMPARE(s.toolkit.choices[0][0].name, QString("info_three"));
    QCOMPARE(s.main()->definitions().count(), count + 1);
    QCOMPARE(s.main()->definitions().lines().last(),
             QString(R"(@PointClass = info_three : "Info Three" [])"));
    // Past the list's limit the chosen declarations are refused whole, and a message says so.
    QString full;
    for (int line = 0; line < model::DefinitionList::MaxLines; ++line)
        full += "// a line\n";
    QVERIFY(writeFile(dir.filePath("full.fgd"), full.toLatin1()));
    s.main()->openFile(dir.filePath("full.fgd"));
    s.toolkit.choiceAnswers.enqueue(QList<int>{0, 1});
    composeEntry->trigger();
    QCOMPARE(s.toolkit.choices.last().size(), 3); // nothing declares them now
    QVERIFY2(s.toolkit.messages.last().text.contains("declarations add 6: together they pass"),
             qPrintable(s.toolkit.messages.last().text));
    QCOMPARE(s.main()->definitions().count(), model::DefinitionList::MaxLines);
    s.main()->openFile(dir.filePath("lost.fgd"));
    QVERIFY2(s.tip(0).contains("(the nearest name it links: monster_test)"), qPrintable(s.tip(0)));
    QCOMPARE(s.toolkit.messages.size(), 4); // the three above and the refusal: nothing new

    // A game chosen counts from that moment: a file opened while it is still being read keeps
    // it, not the library its own liblist.gam names.
    Session fresh;
    QSignalSpy freshRead(fresh.main(), &ui::Form1::gameRead);
    fresh.main()->chooseGame(game + "source", ui::Form1::FilesFrom::CommandLine);
    fresh.main()->openFile(game + "mod/maps/test.fgd");
    QVERIFY(freshRead.wait(10000));
    QVERIFY2(fresh.tip(2).endsWith(
                 QDir::toNativeSeparators(QFileInfo(game + "source").absoluteFilePath()) + ")"),
             qPrintable(fresh.tip(2)));
    // A chosen game that cannot be read leaves the file opened meanwhile its own.
    Session lost;
    QSignalSpy lostRead(lost.main(), &ui::Form1::gameRead);
    lost.main()->chooseGame(dir.filePath("hl.dll"), ui::Form1::FilesFrom::CommandLine);
    lost.main()->openFile(game + "mod/maps/test.fgd");
    QVERIFY(lostRead.wait(10000));
    QVERIFY(lostRead.count() == 2 || lostRead.wait(10000));
    QCOMPARE(lost.toolkit.messages.size(), 1);
    QVERIFY2(lost.tip(2).endsWith(".so)") || lost.tip(2).endsWith(".dll)"),
             qPrintable(lost.tip(2)));
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
