#include "model/FgdReader.h"
#include "model/LineCheck.h"

#include <QTest>

#include <functional>

using model::CheckSourceLine;

class TestLineCheck : public QObject {
    Q_OBJECT

private slots:
    void oneLine_data();
    void oneLine();
    void acrossLines_data();
    void acrossLines();
};

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
            R"l(@PointClass size(-16 -16 0, 16 16 36) base(Weapon, Targetx) studio("models/w_suit.mdl") = item_suit : "HEV Suit" [ spawnflags(Flags) = [ 1 : "Short Logon" : 0 ] ])l",
            R"l(@PointClass base(Targetname, RenderFields, Angles) flags(Angle) size(-40 -40 0, 40 40 120 ) studio("models/fungus.mdl") = xen_spore_medium : "Xen Spore (medium)" [])l",
            R"l(@PointClass base(PlayerClass) sequence(2) studio("models/player.mdl") = info_player_start : "Player 1 start" [])l",
            R"l(@PointClass size(-24 -24 -4, 24 24 4) color(255 255 0) = info_node : "ai node" [])l",
            R"l(@PointClass base(Monster, Sequence) size(-16 -16 0, 16 16 72) studio() = monster_furniture : "Monster Furniture" [ model(studio) : "model" ])l",
            R"l(@PointClass iconsprite("sprites/ambient_generic.spr") base(Targetname) = ambient_generic : "Universal Ambient" [])l",
            R"l(@PointClass sprite() base(Targetname, RenderFields) size(-4 -4 -4, 4 4 4) color(30 100 0) = env_glow : "Light Glow/Haze" [])l",
            R"l(@PointClass decal() base(Targetname, Appearflags) = infodecal : "Decal" [ texture(decal) ])l",
            R"l(@PointClass base(Targetname) color(255 128 0) = multi_manager : "MultiTarget Manager" [ spawnflags(Flags) = [ 1 : "multithreaded" : 0 ] ])l",
            R"l(@PointClass base(Targetname, Angles) flags(Path) size(16 16 16) = path_track : "Train Track Path" [ speed(integer) : "New Train Speed" : 0 ])l",
            R"l(@PointClass base(Appearflags) = info_target : "Beam Target" [ mode(choices) : "Mode" : 0 = [ 0 : "No" 1 : "Yes" ] ])l",
            R"l(@BaseClass size(-16 -16 0, 16 16 32) color(0 0 200) base(Targetname, Appearflags, Angles) = Weapon [])l",
            R"l(@BaseClass base(Appearflags, Angles) flags(Angle) size(-16 -16 -36, 16 16 36) color(0 255 0) offset(0 0 36) = PlayerClass [])l",
            R"l(@BaseClass = Targetname [ targetname(target_source) readonly : "Name" : : "Others find it by this" ])l",
            R"l(@SolidClass base(Door, ZHLT) = func_door : "Basic door" [])l",
            R"l(@pointclass color(0.5 1 0) size(-8.5 -8 0, 8 8 16) = a : "Two " + "parts" [ input Toggle(void) : "Toggle" ])l",
            R"l(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [] // a comment)l",
            R"l(@PointClass = a : "C:\maps" [] @PointClass = b : "" [])l",
            R"l(@include "base.fgd")l",
            "//Half Life FGD File Start Code Here:",
            "",
            "\t// indented comment",
        })
        row(QString::fromUtf8(line), "");
    row(QString::fromUtf8(R"l(@PointClass = a : "Straße € Œuvre ?" [])l"), "");
    row(QString(R"l(@PointClass = a : "%1" [])l").arg(QString(999, 'x')), "");

    // What the editors refuse, with the reason that says what to type.
    row(R"l( = weapon_9mmAR : "9mm Assault Rifle" [])l", "must start with @PointClass");
    row("weapon_9mmAR", "must start with @PointClass");
    row(R"l(@PoinClass = a : "b" [])l", "type @PointClass");
    row(R"l(@SlidClass = a : "b" [])l", "type @SolidClass");
    row(R"l(@PoZintClass = a : "b" [])l", "type @PointClass");
    row(R"l(@NPCClass = a : "b" [])l", "use @PointClass, @SolidClass or @BaseClass");
    row("@mapsize(-4096, 4096)", "only some editors read @mapsize");
    row("@include base.fgd", "@include needs a file name in double quotes");
    row(R"l(@PointClass = a : "b" : "http://twhl.info" [])l", "only J.A.C.K. reads a second text");
    row(R"l(@PointClass = a : "b" [16])l", "name(type) : \"Label\"");
    row(R"l(@PointClass = a : "b" [0])l", "name(type) : \"Label\"");
    row(R"l(@PointClass = a : "b" [)])l", "name(type) : \"Label\"");
    row(R"l(@PointClass = a : "b" [ targe:tname(target_source) : "Name" ])l", "name(type)");
    row(R"l(@PointClass = a : "b" [ health(intger) : "Health" ])l", "type integer");
    row(R"l(@PointClass = a : "b" [ health(integer) : "Health" : "5" ])l", "must be a number");
    row(R"l(@PointClass = a : "b" [ health(string) : Health ])l",
        "label after : must be in double");
    row(R"l(@PointClass = a : "b" [ mode(choices) : "Mode" = [ 0 "No" ] ])l", "each choice");
    row(R"l(@PointClass = a : "b" [ mode(choices) : "Mode" ])l", "choices need = and a list");
    row(R"l(@PointClass = a : "b" [ spawnflags(flags) = [ 3 : "x" ] ])l", "1, 2, 4, 8");
    row(R"l(@PointClass = a : "b" [ spawnflags(flags) = [ 1 "x" ] ])l", "each flag");
    row(R"l(@PointClass = a : "b" [ spawn-flags(string) ])l", "the key name");
    row(R"l(@PointClass 0ase(Targetname) = a : "b" [])l", "the editors skip \"0ase\": type base");
    row(R"l(@PointClass colr(255 0 0) = a : "b" [])l", "the editors skip \"colr\": type color");
    row(R"l(@PointClass ba e(Targetname) = a : "b" [])l", "type base");
    row(R"l(@PointClass frobnicate = a : "b" [])l", "no helper they know");
    row(R"l(@PointClass studio(""models/x.mdl"") = a : "b" [])l", "one file name in double quotes");
    row(R"l(@PointClass studio(models/x.mdl) = a : "b" [])l", "one file name in double quotes");
    row(R"l(@PointClass model({ "path": "x.mdl" }) = a : "b" [])l", "only TrenchBroom reads { }");
    row(R"l(@PointClass base(Weapon Targetx) = a : "b" [])l", "separated by commas");
    row(R"l(@PointClass base(Mo"nster) = a : "b" [])l", "remove the quote");
    row(R"l(@PointClass color(300 0 0) = a : "b" [])l", "from 0 to 255");
    row(R"l(@PointClass size(abc) = a : "b" [])l", "size() needs numbers");
    row(R"l(@PointClass size(- -8 0, 8 8 16) = a : "b" [])l", "size() needs numbers");
    row(R"l(@PointClass size(-8 -8 0 8 8 16) = a : "b" [])l", "comma");
    row(R"l(@PointClass size(-8 -8, 8 8) = a : "b" [])l", "three numbers");
    row(R"l(@PointClass size(1 1 1, 2 2 2, 3 3 3) = a : "b" [])l", "one or two");
    row(R"l(@PointClass size() = a : "b" [])l", "three numbers");
    row(R"l(@PointClass size(1 1 1 = a : "b" [])l", "not closed");
    row(R"l(@PointClass size(1 1 1) = : "b" [])l", "empty");
    row(R"l(@PointClass size(1 1 1))l", "class name is missing");
    row(R"l(@PointClass / = a : "b" [])l", "a single /");
    row(R"l(@PointClass = weapon_Entity Suffix : "b" [])l", "letters, digits and _");
    row(R"l(@PointClass = weapon-x : "b" [])l", "game code can never link");
    row(R"l(@PointClass = 9mmAR : "b" [])l", "starts with a digit");
    row(R"l(@PointClass = "weapon_x" : "b" [])l", "without double quotes");
    row(R"l(@PointClass = a : "say "hi"" [])l", "double quote");
    row(R"l(@PointClass = a : "b" + c [])l", "unexpected text after the description");
    row(R"l(@PointClass = a : "C:\" [])l", "remove the \\");
    row(R"l(@PointClass = a : b [])l", "double quotes");
    row(R"l(@PointClass = a : "b [])l", "closing double quote");
    row(QString(R"l(@PointClass = a : "%1" [])l").arg(QString(1000, 'x')), "longer");
    row("@PointClass = a : \"b\nc\" []", "line break");
    row(QString("@PointClass = a : \"b%1\" []").arg(QChar(0x81)), "control character");
    row(R"l(@PointClass = a : "b")l", "[ ] body");
    row(R"l(@PointClass = a : "b" [)l", "not closed on this line");
    row(R"l(@PointClass = a : "b" [] x)l", "after the closing ]");
    row("]", "closes no [ ] body");
    row(QString::fromUtf8(R"l(@PointClass = a : "Gewehr 中" [])l"), "中 cannot be saved");
}

void TestLineCheck::oneLine() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const QString verdict = CheckSourceLine(line);
    QVERIFY2(reason.isEmpty() ? verdict.isEmpty() : verdict.contains(reason),
             qPrintable(verdict.isEmpty() ? QStringLiteral("no mark") : verdict));
}

using Edit = std::function<void(QStringList&)>;
using Marks = QMap<QString, QString>; // the start of a marked line, a part of its reason
Q_DECLARE_METATYPE(Edit)

void TestLineCheck::acrossLines_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<Marks>("marks");
    const auto at = [](const QStringList& lines, const QString& start) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].trimmed().startsWith(start))
                return i;
        }
        return qsizetype(-1);
    };
    const Marks jack{{"@SolidClass = worldspawn", "second text"},
                     {"2 : \"Yelp\"", "help text after a choice's label"}};
    QTest::newRow("as it is") << Edit([](QStringList&) {}) << jack;

    Marks marks = jack;
    marks.insert("@BaseClass base(Targetname) = Toggled", "before the [ ] body above is closed");
    QTest::newRow("a body left open")
        << Edit([at](QStringList& l) { l.removeAt(at(l, "targetname(target_source)") + 1); })
        << marks;

    marks = jack;
    marks.insert("delay(string)", "closing double quote");
    QTest::newRow("a quote missing")
        << Edit([at](QStringList& l) { l[at(l, "delay(string)")].chop(1); }) << marks;

    marks = jack;
    marks.insert("delay(string)", "each flag");
    marks.insert("]", "closes no [ ] body");
    QTest::newRow("a ] moved to the end, as Update does")
        << Edit([at](QStringList& l) { l.append(l.takeAt(at(l, "2 : \"Silent\"") + 1)); }) << marks;

    marks = jack;
    marks.insert("health(integer)", "not a declaration");
    QTest::newRow("a key-value outside any body") << Edit([at](QStringList& l) {
        l.insert(at(l, "@PointClass base(Pickup)"), "health(integer) : \"Health\"");
    }) << marks;

    marks = {{"@SolidClass = worldspawn", "second text"}, {"[", "never closed"}};
    QTest::newRow("the file ends in a body")
        << Edit([at](QStringList& l) { l.resize(at(l, "pitch(integer)") + 1); }) << marks;
}

void TestLineCheck::acrossLines() {
    QFETCH(Edit, edit);
    QFETCH(Marks, marks);
    QStringList lines = model::ReadFgdFile(FGD_TEST_DATA "/continued.fgd").contents.lines;
    QVERIFY(lines.size() > 30);
    edit(lines);

    model::SourceCheck whole;
    whole.checkAll(lines);
    Marks found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!whole.reasons()[i].isEmpty())
            found.insert(lines[i].trimmed(), whole.reasons()[i]);
    }
    QCOMPARE(found.keys().size(), marks.size());
    for (auto mark = marks.cbegin(); mark != marks.cend(); ++mark) {
        const auto line = std::find_if(found.cbegin(), found.cend(), [&](const QString& reason) {
            return found.key(reason).startsWith(mark.key()) && reason.contains(mark.value());
        });
        QVERIFY2(line != found.cend(), qPrintable(mark.key() + " -> " + mark.value()));
    }

    // Adding line after line, as Add does, re-reads only what is open and ends the same.
    model::SourceCheck added;
    for (qsizetype count = 0; count <= lines.size(); ++count)
        added.checkAppended(lines.first(count));
    QCOMPARE(added.reasons(), whole.reasons());
}

QTEST_APPLESS_MAIN(TestLineCheck)
#include "test_line_check.moc"
