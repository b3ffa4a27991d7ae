// The line check: single lines against the reasons the editors give, and a real-looking FGD file
// over many lines with the marks its edits must get, checked whole, line by line and after moves.

#include "fgd/ListCheck.h"
#include "model/FgdReader.h"

#include <QTest>

#include <algorithm>
#include <functional>

using fgd::checkLine;

class TestLineCheck : public QObject {
    Q_OBJECT

private slots:
    void oneLine_data();
    void oneLine();
    void acrossLines_data();
    void acrossLines();
    void gameClasses_data();
    void gameClasses();
    void gameKeys();
    void gameShapes();
};

void TestLineCheck::oneLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // a part of the expected reason; empty: no mark
    QTest::addColumn<fgd::Editors>("targets");
    const auto row = [](const QString& line, const char* reason,
                        fgd::Editors targets = fgd::AllEditors) {
        QTest::newRow(qPrintable(QString::number(targets) + line.left(70)))
            << line << QString::fromUtf8(reason) << targets;
    };
    using namespace fgd::Editor;
    // Declarations as they stand in public Half-Life FGD files: each loads in the editors.
    for (
        const char* line : {
            R"l(@PointClass base(Weapon, Targetx) studio("models/w_9mmar.mdl") = weapon_9mmAR : "9mm Assault Rifle" [])l",
            R"l(@PointClass decal() base(Targetname, Appearflags) = infodecal : "Decal" [ texture(decal) ])l",
            R"l(@PointClass base(Targetname, Angles) flags(Path) size(16 16 16) = path_track : "Train Track Path" [ speed(integer) : "New Train Speed" : 0 ])l",
            R"l(@PointClass base(Appearflags) = info_target : "Beam Target" [ mode(choices) : "Mode" : 0 = [ 0 : "No" 1 : "Yes" ] ])l",
            R"l(@BaseClass = Targetname [ targetname(target_source) readonly : "Name" : : "Others find it by this" ])l",
            R"l(@PointClass base(Targetname) = trigger_relay : "Relay" [ target(target_destination) : "Target" killtarget(target_destination) : "Kill" ])l",
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
    row(R"l(@PointClass = a : "b" [ health(itnegre) : "Health" ])l", "type integer"); // swaps
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

    // What only one editor reads is marked for the others, and read on for that one.
    row(R"l(@PointClass = a : "b" : "http://twhl.info" [])l", "", Jack);
    row(R"l(@PointClass = a : "b" : "help" [ health(intger) : "H" ])l", "type integer", Jack);
    // What an editor not checked for does is left out of the reason.
    row(R"l(@PointClass = a : "b" [ health(intger) : "H" ])l", "(Hammer refuses the file)", Hammer);
    row(R"l(@PointClass = a : "b" [ health(intger) : "H" ])l", "integer (TrenchBroom reads",
        TrenchBroom);
    row(R"l(@PointClass = a : "b" [ m(choices) : "M" = [ 0 : "No" : "help" ] ])l", "", Jack);
    row(R"l(@PointClass = a : "b" [ m(choices) : "M" = [ 0 : "No" : "help" ] ])l",
        "only J.A.C.K. reads a help text", Jack | TrenchBroom);
    row(R"l(@PointClass model({ "path": "x.mdl", "skin": (1) }) = a : "b" [])l", "", TrenchBroom);
    row(R"l(@PointClass model({ "path": "x.mdl" }) = a : "b" [ health(intger) : "H" ])l",
        "type integer", TrenchBroom);
    row(R"l(@PointClass = a : "b" [ k(string) : "K" : { "x" } ])l", "only TrenchBroom reads",
        TrenchBroom);
    // What the editors load but read otherwise than it is written.
    row(R"l(@PointClass = a : "b" [ k(string) : "K" k(string) : "K" ])l", "k is declared twice");
    row(R"l(@PointClass = a : "b" [ k(string) : "K" k(integer) : "K" ])l",
        "every editor uses the first");
    row(R"l(@PointClass = a : "b" [ k(string) : "K" : 5 ])l", "in double quotes, \"5\"");
    row(R"l(@PointClass = a : "b" [ k(integer) : "K" : 2.5 ])l", "cut 2.5 to 2");
    row(R"l(@PointClass = a : "b" [ k(float) : "K" : 0.5 ])l", "a float in double quotes");
    row(R"l(@PointClass = a : "b" [ k(float) : "K" : 1 i(integer) : "I" : 3 ])l", "");
    row(R"l(@PointClass = a : "b" [ m(choices) : "M" : 2 = [ 0 : "No" 1 : "Yes" ] ])l",
        "the default 2 is none of the choices");
    row(R"l(@PointClass = a : "b" [ m(choices) : "M" : "1.0" = [ 0 : "No" 1 : "Yes" ] ])l", "");
    row(R"l(@PointClass = a : "b" [ m(choices) : "M" : "" = [ 0 : "No" ] ])l", "");
    row(R"l(@SolidClass size(-8 -8 0, 8 8 8) = a : "b" [])l", "takes its size from its brushes");
    row(R"l(@SolidClass studio("x.mdl") = a : "b" [])l", "no studio() model");
    row(R"l(@PointClass size(8 8 8) color(1 1 1) SIZE(4 4 4) = a : "b" [])l",
        "size() is given twice");
    row(R"l(@PointClass base(A) studio() base(B) = a : "b" [])l", "base() is given twice");
    row(R"l(@PointClass base(A) studio() base(B) = a : "b" [])l", "", Hammer | Jack);
    row(R"l(@PointClass = a : "b" [ f(flags) = [ 1 : "1st" : 0 8388608 : "24th" : 0 ] ])l", "");
    row(R"l(@PointClass = a : "b" [ f(flags) = [ 8388608 : "24th" : 0 16777216 : "25th" : 0 ] ])l",
        "the editors show 24 flags");
}

void TestLineCheck::oneLine() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QFETCH(fgd::Editors, targets);
    const QString verdict = checkLine(line, targets);
    QVERIFY2(reason.isEmpty() ? verdict.isEmpty() : verdict.contains(reason),
             qPrintable(verdict.isEmpty() ? QStringLiteral("no mark") : verdict));
}

void TestLineCheck::acrossLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("marks"); // "line kind: a part of its first reason"
    QTest::addColumn<fgd::Editors>("targets");
    const QStringList file = model::readFgdFile(FGD_TEST_DATA "/continued.fgd").contents.lines;
    QCOMPARE(file.size(), 37);
    const auto edited = [&](const std::function<void(QStringList&)>& edit) {
        QStringList lines = file;
        edit(lines);
        return lines;
    };
    const QString second = "4 error: second text", help = "help text after a choice's label";
    const QString good = R"(@PointClass = b : "B" [])";

    QTest::newRow("continued.fgd")
        << file << QStringList{second, "34 error: " + help} << fgd::AllEditors;
    QTest::newRow("a body's ] removed: marked on the body, not the next @")
        << edited([](QStringList& l) { l.removeAt(12); })
        << QStringList{second, "12 error: not closed before the next @", "33 error: " + help}
        << fgd::AllEditors;
    QTest::newRow("a text left open")
        << edited([](QStringList& l) { l[21].chop(1); })
        << QStringList{second, "22 error: closing double quote", "34 error: " + help}
        << fgd::AllEditors;
    QTest::newRow("Update moves a list's ] to the end")
        << edited([](QStringList& l) { l.append(l.takeAt(20)); })
        << QStringList{second, "21 error: each flag", "22 error: not closed before the next @",
                       "33 error: " + help, "37 error: closes no [ ] body"}
        << fgd::AllEditors;
    QTest::newRow("a key-value outside a body")
        << edited([](QStringList& l) { l.insert(25, "health(integer) : \"Health\""); })
        << QStringList{second, "26 error: not a declaration", "35 error: " + help}
        << fgd::AllEditors;
    QTest::newRow("the lines end in a body")
        << edited([](QStringList& l) { l.resize(30); })
        << QStringList{second, "29 error: never closed"} << fgd::AllEditors;

    // A declaration that ends before its name or description is marked on its own line.
    QTest::newRow("ends at =") << QStringList{"@PointClass = ", good}
                               << QStringList{"1 error: class name after = is empty"}
                               << fgd::AllEditors;
    QTest::newRow("ends at :") << QStringList{"@PointClass = a :", good}
                               << QStringList{"1 error: description after : must be"}
                               << fgd::AllEditors;
    // Every problem of a declaration, each where it is; reading goes on after each.
    QTest::newRow("several problems")
        << QStringList{R"(@PointClass colr(255 0 0) size(0 0 0, 1 1 1, 2 2 2) = a : "A")",
                       "[",
                       R"(  health(intger) : "Health")",
                       R"(  scale(float) : "Scale" 1.0)",
                       R"(  bad-key(string) : "B")",
                       R"(  spawnflags(flags) = [ 3 : "x" ])",
                       "]",
                       good}
        << QStringList{"1 error: one or two groups of three numbers", "3 error: type integer",
                       "4 error: needs its : before it", "5 warning: character no game code reads",
                       "6 warning: 1, 2, 4, 8"}
        << fgd::AllEditors;
    QTest::newRow("keys GoldSrc games read")
        << QStringList{R"(@PointClass = a : "A" [ $i_count(integer) : "N" $s_name(string) : "S")",
                       R"(target#1(string) : "T" ])"}
        << QStringList{} << fgd::AllEditors;
    // A base must be declared in the list, in the same case; where is no matter.
    QTest::newRow("bases") << QStringList{R"(@BaseClass = Angles [ angles(string) : "A" ])",
                                          R"(@PointClass base(Angle) = a : "A" [])",
                                          R"(@PointClass base(angles, Later) = b : "B" [])",
                                          "@BaseClass = Later []"}
                           << QStringList{"2 warning: no @BaseClass = Angle is declared",
                                          "3 warning: no @BaseClass = angles"}
                           << fgd::AllEditors;
    QTest::newRow("a base declared only below")
        << QStringList{R"(@PointClass base(A) = c : "C" [])", "@BaseClass = A []",
                       R"(@PointClass base(A) = d : "D" [])"}
        << QStringList{"1 warning: A is declared only below this line: Hammer"} << fgd::AllEditors;
    // A ) below the next declaration is that item's own: the open one stays open, and the
    // marks do not change when the line with the ) is added after the others.
    QTest::newRow("a parenthesis left open before the next declaration")
        << QStringList{"@PointClass color(1 2 3", R"(@include "a.fgd")", R"(@include "b.fgd")",
                       R"(@PointClass size(1 2 3) = c : "C" [])"}
        << QStringList{"1 error: the parenthesis after color is not closed"} << fgd::AllEditors;
    QTest::newRow("an included file that cannot be read may declare any base")
        << QStringList{R"(@include "nowhere.fgd")", R"(@PointClass base(Angle) = a : "A" [])"}
        << QStringList{} << fgd::AllEditors;
    QTest::newRow("an error outranks a warning on its line")
        << QStringList{R"(@PointClass base(Nowhere) = 1 : "A" [])"}
        << QStringList{"1 error: a number"} << fgd::AllEditors;

    // A class declared twice: the later declaration is kept, the earlier dropped.
    const QStringList twice{R"(@PointClass = a : "A" [ k(string) : "K" ])", good,
                            R"(@SolidClass = a : "A" [ k(string) : "K" ])",
                            R"(@PointClass = c : "C" [ k(integer) : "K" ])"};
    QTest::newRow("a class declared twice")
        << twice
        << QStringList{"1 warning: a is declared again below", "3 warning: a is declared above"}
        << fgd::AllEditors;
    // Bases in a circle: Hammer refuses the file, TrenchBroom reads it and cuts the circle.
    const QStringList circle{"@BaseClass base(B) = A []", "@BaseClass base(A) = B []",
                             R"(@PointClass base(A) = c : "C" [])"};
    QTest::newRow("bases in a circle") << circle
                                       << QStringList{"1 error: A is its own base through B",
                                                      "2 error: B is its own base through A"}
                                       << fgd::AllEditors;
    QTest::newRow("a class declared again, its name on the next line")
        << QStringList{R"(@PointClass = a : "A" [])", "@PointClass =", R"(a : "A" [])"}
        << QStringList{"1 warning: a is declared again below", "3 warning: a is declared above"}
        << fgd::AllEditors;
    QTest::newRow("a circle closed by a second declaration")
        << QStringList{"@BaseClass base(B) = A []", "@BaseClass = B []",
                       "@BaseClass base(A) = B []"}
        << QStringList{"1 error: A is its own base through B", "2 warning: B is declared again",
                       "3 error: B is its own base through A"}
        << fgd::AllEditors;
    QTest::newRow("bases in a circle, for TrenchBroom")
        << circle
        << QStringList{"1 warning: this file is written for TrenchBroom; the marks speak",
                       "2 warning: B is its own base through A"}
        << fgd::Editors(fgd::Editor::TrenchBroom);
    QTest::newRow("continued.fgd for J.A.C.K.")
        << file
        << QStringList{"4 warning: written for J.A.C.K.: Hammer and TrenchBroom refuse it for "
                       "its help texts after a choice's label (1 line), help texts after a "
                       "description (1 line)"}
        << fgd::Editors(fgd::Editor::Jack);
}

void TestLineCheck::acrossLines() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, marks);
    QFETCH(fgd::Editors, targets);
    // Checked for one editor, the lines are taken as written for it, as an opened file is.
    const fgd::Editors writtenFor = (targets & (targets - 1)) == 0 ? targets : 0;
    fgd::ListCheck whole;
    whole.setTargets(targets, writtenFor);
    whole.checkAll(lines);
    QStringList found;
    for (int i = 0; i < lines.size(); ++i) {
        const fgd::Verdict verdict = whole.verdict(i);
        if (verdict.severity != fgd::Severity::None) {
            const bool error = verdict.severity == fgd::Severity::Error;
            found << QStringLiteral("%1 %2: %3")
                         .arg(i + 1)
                         .arg(error ? "error" : "warning", verdict.reason);
        }
    }
    QCOMPARE(found.size(), marks.size());
    for (const QString& mark : std::as_const(marks)) {
        const QString where = mark.section(u':', 0, 0) + u':';
        QVERIFY2(std::any_of(found.cbegin(), found.cend(),
                             [&](const QString& f) {
                                 return f.startsWith(where) &&
                                        f.section(u'\n', 0, 0).contains(mark.section(u':', 1));
                             }),
                 qPrintable(found.join(u'\n')));
    }
    // Adding line after line, as Add does, re-reads only what is open and ends the same; so
    // does moving any line to the end, as Update does.
    // Each check says from which line the marks may have changed: the ones above it stay.
    const auto repainted = [](const fgd::ListCheck& before, const fgd::ListCheck& after,
                              int first) {
        for (int line = 0; line < std::min(first, before.count()); ++line) {
            if (before.verdict(line) != after.verdict(line))
                return false;
        }
        return true;
    };
    fgd::ListCheck added;
    added.setTargets(targets, writtenFor);
    for (qsizetype count = 0; count <= lines.size(); ++count) {
        const fgd::ListCheck before = added;
        QVERIFY(repainted(before, added, added.checkAppended(lines.first(count))));
    }
    QCOMPARE(added.verdicts(), whole.verdicts());
    for (int moved = 0; moved < lines.size(); ++moved) {
        QStringList updated = lines;
        updated.append(updated.takeAt(moved));
        fgd::ListCheck before = whole;
        const int first = before.checkChanged(updated, moved);
        QVERIFY(repainted(whole, before, std::min(first, moved)));
        fgd::ListCheck after;
        after.setTargets(targets, writtenFor);
        after.checkAll(updated);
        QCOMPARE(before.verdicts(), after.verdicts());
    }
}

void TestLineCheck::gameClasses_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // a part of the expected reason; empty: no mark
    QTest::newRow("linked") << R"(@PointClass = monster_test : "Test" [])" << QString();
    QTest::newRow("linked by no code")
        << R"(@SolidClass = func_wall : "Wall" [])"
        << "no code in hl.dll links func_wall: the editor shows the entity, but the game never";
    QTest::newRow("a slip of a linked name") << R"(@PointClass = monster_tset : "Test" [])"
                                             << "(the nearest name it links: monster_test)";
    QTest::newRow("a linked name it begins with")
        << R"(@PointClass = monster_testcharge : "Test" [])"
        << "(the nearest name it links: monster_test)";
    QTest::newRow("two keys from a linked name") << R"(@PointClass = monster_bext : "Test" [])"
                                                 << "never spawns it";
    QTest::newRow("only the case differs") << R"(@PointClass = weapon_9mmar : "Rifle" [])"
                                           << "(the game links weapon_9mmAR: only the case differs";
    QTest::newRow("a class the compilers take out")
        << R"(@SolidClass = func_detail : "D" [])" << QString();
    QTest::newRow("a base class") << "@BaseClass = Unlinked []" << QString();
}

void TestLineCheck::gameClasses() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const QStringList lines{"@BaseClass = Targetname [ targetname(target_source) : \"Name\" ]",
                            line};
    // The game may come before the lines or after them: the marks are the same.
    fgd::ListCheck before;
    before.setGame({"monster_test", "weapon_9mmAR"}, "hl.dll");
    before.checkAppended(lines.first(1));
    before.checkAppended(lines);
    fgd::ListCheck after;
    after.checkAll(lines);
    QCOMPARE(after.verdict(1).severity, fgd::Severity::None);
    after.setGame({"monster_test", "weapon_9mmAR"}, "hl.dll");
    QCOMPARE(after.verdicts(), before.verdicts());
    const fgd::Verdict verdict = before.verdict(1);
    QCOMPARE(verdict.severity, reason.isEmpty() ? fgd::Severity::None : fgd::Severity::Warning);
    QVERIFY2(verdict.reason.contains(reason), qPrintable(verdict.reason));
    QVERIFY2(reason.contains("(") || !verdict.reason.contains("(the nearest"),
             qPrintable(verdict.reason));
    // Without a game, nothing is marked.
    before.setGame({}, {});
    QCOMPARE(before.verdict(1).severity, fgd::Severity::None);
}

void TestLineCheck::gameKeys() {
    const QStringList lines{
        R"(@BaseClass = Targetx [ delay(string) : "Delay" killtarget(string) : "Kill" ])",
        R"(@PointClass base(Targetx) = item_a : "A" [ health(integer) : "H" volume(integer))",
        R"(  : "V" _light(string) : "L" Origin(string) : "O" ])",
        R"(@SolidClass = func_b [ style(integer) : "S" speed(integer) : "Sp" ])",
        R"(@PointClass base(Targetx) = not_judged [ foo(string) : "F" ])"};
    const auto withGame = [](fgd::ListCheck& check) {
        check.setGameCode({{"item_a", {{"health", "Volume", "delay"}, {}, "CItem", true}},
                           {"func_b", {{}, {}, "CWall", true}}},
                          {"origin"}, {});
    };
    fgd::ListCheck whole;
    withGame(whole);
    whole.checkAll(lines);
    QStringList marks;
    for (int line = 0; line < whole.count(); ++line) {
        for (const fgd::Problem& problem : whole.problems(line))
            marks << QStringLiteral("%1:%2 %3").arg(line).arg(problem.column).arg(problem.rule->id);
    }
    // The base's unread key on the class's name, the key read in another case on its own
    // place; the engine's field, the compiler's key and a brush's style are read; a class the
    // code cannot be followed for is not judged.
    QCOMPARE(marks, QStringList({"1:28 key-unread", "1:65 key-case", "3:44 key-unread"}));
    QVERIFY2(whole.problems(1).first().reason.contains("killtarget (from Targetx)"),
             qPrintable(whole.problems(1).first().reason));
    // Line by line as Add reads them, and after the base changes, the same as read whole.
    fgd::ListCheck added;
    withGame(added);
    for (qsizetype count = 0; count <= lines.size(); ++count)
        added.checkAppended(lines.first(count));
    QCOMPARE(added.verdicts(), whole.verdicts());
    QStringList changed = lines;
    changed[0] = R"(@BaseClass = Targetx [ delay(string) : "Delay" ])";
    QCOMPARE(whole.checkChanged(changed, 0), 0);
    fgd::ListCheck fresh;
    withGame(fresh);
    fresh.checkAll(changed);
    QCOMPARE(whole.verdicts(), fresh.verdicts());
    QCOMPARE(fresh.verdict(1).severity, fgd::Severity::Warning); // the case alone is left
    // A base declared below the class, twice: a change to the keys of the second repaints the
    // class above, which inherits from both.
    const QStringList below{lines[1], lines[2], changed[0], lines[0]};
    fgd::ListCheck before;
    withGame(before);
    before.checkAll(below);
    QStringList lessBelow = below;
    lessBelow[3] = changed[0];
    QCOMPARE(before.checkChanged(lessBelow, 3), 0);
}

void TestLineCheck::gameShapes() {
    // Two classes on one C++ class, and one whose helpers come from its base.
    const QStringList lines{
        R"(@BaseClass studio("models\Monster.mdl") size(-16 -16 0, 16 16 80) = Shape [])",
        R"(@PointClass base(Shape) = monster_a : "A" [ wait(string) : "W" ])",
        R"(@PointClass studio("models/b.mdl") size(-8 -8 0, 8 8 8) = monster_b : "B" [])",
        R"(@PointClass studio() size(16 16 16) = monster_c : "C" [ height(integer) : "H" ])",
        R"(@PointClass model({ "path": "models/d.mdl" }) = monster_d : "D" [])"};
    const auto withGame = [](fgd::ListCheck& check) {
        fgd::EntityCode monster{{"wait", "speed", "height"}, {}, "CMonster", true};
        monster.ownKeys = {"wait", "speed", "height"};
        monster.model = "models/monster.mdl";
        monster.hull = fgd::Box{{-16, -16, 0}, {16, 16, 72}};
        fgd::EntityCode c = monster;
        c.cppClass = "CCrab";
        c.ownKeys = {"height"};
        c.hull = fgd::Box{{-32, -32, 0}, {32, 32, 64}};
        fgd::EntityCode d = c;
        d.model = "models/e.mdl";
        check.setGameCode(
            {{"monster_a", monster}, {"monster_b", monster}, {"monster_c", c}, {"monster_d", d}},
            {"origin"}, {});
    };
    fgd::ListCheck whole;
    withGame(whole);
    whole.checkAll(lines);
    QStringList marks;
    for (int line = 0; line < 4; ++line) {
        for (const fgd::Problem& problem : whole.problems(line))
            marks << QStringLiteral("%1 %2 %3").arg(line).arg(problem.rule->id, problem.reason);
    }
    // TrenchBroom's model expression names a model too.
    const QList<fgd::Problem> onD = whole.problems(4);
    QVERIFY(std::any_of(onD.cbegin(), onD.cend(), [](const fgd::Problem& problem) {
        return problem.rule == &fgd::Rules::ModelDiffers && problem.reason.contains("models/d.mdl");
    }));
    // The model is compared in any case and with either slash, a box that holds the hull is
    // right, one point is no box to judge and an empty studio() no model; a key the code reads
    // is offered when the class or another on its C++ class declares it.
    QCOMPARE(marks.size(), 4);
    QVERIFY2(marks[0].startsWith("1 key-undeclared") &&
                 marks[0].contains("reads speed, height, which"),
             qPrintable(marks[0]));
    QVERIFY2(marks[1].startsWith("2 key-undeclared") &&
                 marks[1].contains("reads speed, height, which"),
             qPrintable(marks[1]));
    QVERIFY2(marks[2].startsWith("2 model-differs") && marks[2].contains("models/monster.mdl"),
             qPrintable(marks[2]));
    QVERIFY2(marks[3].startsWith("2 size-differs") && marks[3].contains("box -8 -8 0, 8 8 8") &&
                 marks[3].contains("hull -16 -16 0, 16 16 72"),
             qPrintable(marks[3]));
    QCOMPARE(whole.verdict(2).severity, fgd::Severity::Warning);
    QCOMPARE(whole.verdict(1).severity, fgd::Severity::Note);
    QCOMPARE(fgd::describe(whole.verdict(1)).left(6), "Note: ");
    // A base whose model changes repaints its class, line by line as in a whole reading.
    QStringList changed = lines;
    changed[0] = R"(@BaseClass studio("models/other.mdl") size(-16 -16 0, 16 16 72) = Shape [])";
    QCOMPARE(whole.checkChanged(changed, 0), 0);
    fgd::ListCheck fresh;
    withGame(fresh);
    fresh.checkAll(changed);
    QCOMPARE(whole.verdicts(), fresh.verdicts());
    QCOMPARE(fresh.verdict(1).severity, fgd::Severity::Warning);
}

QTEST_APPLESS_MAIN(TestLineCheck)
#include "test_line_check.moc"
