// Composing lines and checking them: composition from the main window's inputs; single lines
// against the reasons the editors give; and a real-looking FGD file over many lines with the
// marks its edits must get.

#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/LineCheck.h"

#include <QTest>

#include <functional>

using model::checkSourceLine;

class TestLineCheck : public QObject {
    Q_OBJECT

private slots:
    void composesLines();
    void oneLine_data();
    void oneLine();
    void acrossLines();
};

void TestLineCheck::composesLines() {
    const struct {
        const char *kind, *custom, *prefix, *suffix, *name, *expected;
    } cases[] = {
        {"Weapon", "", "weapon_", "9mmAR", "9mm Assault Rifle",
         R"(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Player", "", "monster_", "Entity Suffix", "Real Name",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_Entity Suffix : "Real Name" [])"},
        {"Monster", "", "monster_", "zombie", R"(say "hi")",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_zombie : "say "hi"" [])"},
        {"Custom", " -8 -8 0, 8 8 16 ", "item_", "box", "Box",
         R"(@PointClass size( -8 -8 0, 8 8 16 ) = item_box : "Box" [])"},
        // No kind, a cancelled custom size and a kind in the wrong case give no class part.
        {"", "", "weapon_", "9mmAR", "9mm Assault Rifle",
         R"( = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Custom", "", "", "", "", R"( =  : "" [])"},
        {"weapon", "-1 -1 -1", "weapon_", "x", "X", R"( = weapon_x : "X" [])"},
    };
    for (const auto& c : cases) {
        int asked = 0;
        const QString line = model::ComposeEntityLine(c.kind, c.prefix, c.suffix, c.name, [&] {
            ++asked;
            return QString(c.custom);
        });
        QCOMPARE(line, QString(c.expected));
        QCOMPARE(asked, QString(c.kind) == "Custom" ? 1 : 0); // asked for Custom only, once
    }
}

void TestLineCheck::oneLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // a part of the expected reason; empty: no mark
    const auto row = [](const QString& line, const char* reason) {
        QTest::newRow(qPrintable(line.left(70))) << line << QString::fromUtf8(reason);
    };
    // Declarations as they stand in public Half-Life FGD files: each loads in the editors.
    for (
        const char* line : {
            R"l(@PointClass base(Weapon, Targetx) studio("models/w_9mmar.mdl") = weapon_9mmAR : "9mm Assault Rifle" [])l",
            R"l(@PointClass decal() base(Targetname, Appearflags) = infodecal : "Decal" [ texture(decal) ])l",
            R"l(@PointClass base(Targetname, Angles) flags(Path) size(16 16 16) = path_track : "Train Track Path" [ speed(integer) : "New Train Speed" : 0 ])l",
            R"l(@PointClass base(Appearflags) = info_target : "Beam Target" [ mode(choices) : "Mode" : 0 = [ 0 : "No" 1 : "Yes" ] ])l",
            R"l(@BaseClass = Targetname [ targetname(target_source) readonly : "Name" : : "Others find it by this" ])l",
            R"l(@pointclass color(0.5 1 0) size(-8.5 -8 0, 8 8 16) = a : "Two " + "parts" [ input Toggle(void) : "Toggle" ])l",
            R"l(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [] // a comment)l",
            R"l(@include "base.fgd")l",
            "",
        })
        row(QString::fromUtf8(line), "");

    // What the editors refuse, with the reason that says what to type.
    row(R"l( = weapon_9mmAR : "9mm Assault Rifle" [])l", "must start with @PointClass");
    row(R"l(@PoinClass = a : "b" [])l", "type @PointClass");
    row(R"l(@SlidClass = a : "b" [])l", "type @SolidClass");
    row(R"l(@NPCClass = a : "b" [])l", "use @PointClass, @SolidClass or @BaseClass");
    row("@mapsize(-4096, 4096)", "only some editors read @mapsize");
    row("@include base.fgd", "@include needs a file name in double quotes");
    row(R"l(@PointClass = a : "b" : "http://twhl.info" [])l", "only J.A.C.K. reads a second text");
    row(R"l(@PointClass = a : "b" [16])l", "name(type) : \"Label\"");
    row(R"l(@PointClass = a : "b" [ targe:tname(target_source) : "Name" ])l", "name(type)");
    row(R"l(@PointClass = a : "b" [ health(intger) : "Health" ])l", "type integer");
    row(R"l(@PointClass = a : "b" [ health(integer) : "Health" : "5" ])l", "must be a number");
    row(R"l(@PointClass = a : "b" [ mode(choices) : "Mode" = [ 0 "No" ] ])l", "each choice");
    row(R"l(@PointClass = a : "b" [ spawnflags(flags) = [ 3 : "x" ] ])l", "1, 2, 4, 8");
    row(R"l(@PointClass 0ase(Targetname) = a : "b" [])l", "the editors skip \"0ase\": type base");
    row(R"l(@PointClass colr(255 0 0) = a : "b" [])l", "the editors skip \"colr\": type color");
    row(R"l(@PointClass ba e(Targetname) = a : "b" [])l", "type base");
    row(R"l(@PointClass studio(""models/x.mdl"") = a : "b" [])l", "one file name in double quotes");
    row(R"l(@PointClass model({ "path": "x.mdl" }) = a : "b" [])l", "only TrenchBroom reads { }");
    row(R"l(@PointClass base(Mo"nster) = a : "b" [])l", "remove the quote");
    row(R"l(@PointClass color(300 0 0) = a : "b" [])l", "from 0 to 255");
    row(R"l(@PointClass size(- -8 0, 8 8 16) = a : "b" [])l", "size() needs numbers");
    row(R"l(@PointClass size(-8 -8 0 8 8 16) = a : "b" [])l", "comma");
    row(R"l(@PointClass = weapon_Entity Suffix : "b" [])l", "letters, digits and _");
    row(R"l(@PointClass = weapon-x : "b" [])l", "game code can never link");
    row(R"l(@PointClass = 9mmAR : "b" [])l", "starts with a digit");
    row(R"l(@PointClass = a : "say "hi"" [])l", "double quote");
    row(R"l(@PointClass = a : "C:\" [])l", "remove the \\");
    row(R"l(@PointClass = a : "b [])l", "closing double quote");
    row(QString(R"l(@PointClass = a : "%1" [])l").arg(QString(1000, 'x')), "longer");
    row("@PointClass = a : \"b\nc\" []", "line break");
    row(QString("@PointClass = a : \"b%1\" []").arg(QChar(0x81)), "control character");
    row(R"l(@PointClass = a : "b" [)l", "not closed on this line");
    row(QString::fromUtf8(R"l(@PointClass = a : "Gewehr 中" [])l"), "中 cannot be saved");
}

void TestLineCheck::oneLine() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const QString verdict = checkSourceLine(line);
    QVERIFY2(reason.isEmpty() ? verdict.isEmpty() : verdict.contains(reason),
             qPrintable(verdict.isEmpty() ? QStringLiteral("no mark") : verdict));
}

void TestLineCheck::acrossLines() {
    // continued.fgd as it is and edited; the marks expected, by line number (from 1) in the
    // edited list, with a part of their reason.
    using Marks = QList<QPair<int, QString>>;
    const QString second = "second text", help = "help text after a choice's label";
    const struct {
        std::function<void(QStringList&)> edit;
        Marks marks;
    } cases[] = {
        {[](QStringList&) {}, {{4, second}, {34, help}}},
        {[](QStringList& l) { l.removeAt(12); }, // the ] that closes Targetname's body
         {{4, second}, {14, "starts before the [ ] body above is closed"}, {33, help}}},
        {[](QStringList& l) { l[21].chop(1); },
         {{4, second}, {22, "closing double quote"}, {34, help}}},
        {[](QStringList& l) { l[26].replace("[]", "[ \"x"); }, // a body open after a problem
         {{4, second}, {27, "closing double quote"}, {34, help}}},
        {[](QStringList& l) { l.append(l.takeAt(20)); }, // Update moves a list's ] to the end
         {{4, second}, {21, "each flag"}, {33, help}, {37, "closes no [ ] body"}}},
        {[](QStringList& l) { l.insert(25, "health(integer) : \"Health\""); },
         {{4, second}, {26, "not a declaration"}, {35, help}}},
        {[](QStringList& l) { l.resize(30); }, {{4, second}, {29, "never closed"}}},
    };
    for (const auto& [edit, marks] : cases) {
        QStringList lines = model::readFgdFile(FGD_TEST_DATA "/continued.fgd").contents.lines;
        QCOMPARE(lines.size(), 37);
        edit(lines);
        model::SourceCheck whole;
        whole.checkAll(lines);
        Marks found;
        for (int i = 0; i < lines.size(); ++i) {
            if (!whole.reasons()[i].isEmpty())
                found.append({i + 1, whole.reasons()[i]});
        }
        QCOMPARE(found.size(), marks.size());
        for (int i = 0; i < marks.size(); ++i) {
            QCOMPARE(found[i].first, marks[i].first);
            QVERIFY2(found[i].second.contains(marks[i].second), qPrintable(found[i].second));
        }
        // Adding line after line, as Add does, re-reads only what is open and ends the same;
        // so does moving any line to the end, as Update does.
        model::SourceCheck added;
        for (qsizetype count = 0; count <= lines.size(); ++count)
            added.checkAppended(lines.first(count));
        QCOMPARE(added.reasons(), whole.reasons());
        for (int moved = 0; moved < lines.size(); ++moved) {
            QStringList updated = lines;
            updated.append(updated.takeAt(moved));
            model::SourceCheck before = whole;
            before.checkChanged(updated, moved);
            model::SourceCheck after;
            after.checkAll(updated);
            QCOMPARE(before.reasons(), after.reasons());
        }
    }
}

QTEST_APPLESS_MAIN(TestLineCheck)
#include "test_line_check.moc"
