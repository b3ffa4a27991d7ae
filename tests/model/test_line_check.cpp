#include "model/LineCheck.h"

#include <QTest>

using model::CheckSourceLine;

class TestLineCheck : public QObject {
    Q_OBJECT

private slots:
    void acceptsRealLines_data();
    void acceptsRealLines();
    void rules();
};

void TestLineCheck::acceptsRealLines_data() {
    QTest::addColumn<QString>("line");
    // Point-class lines as they stand in public Half-Life FGD files, and a few of the other
    // kinds and forms found there.
    const char* const lines[] = {
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_crowbar.mdl") = weapon_crowbar : "Crowbar" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_9mmhandgun.mdl") = weapon_9mmhandgun : "9mm Handgun" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_357.mdl") = weapon_357 : "357 Handgun" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_9mmar.mdl") = weapon_9mmAR : "9mm Assault Rifle" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_shotgun.mdl") = weapon_shotgun : "Shotgun" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_rpg.mdl") = weapon_rpg : "RPG" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_gauss.mdl") = weapon_gauss : "Gauss Gun" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_egon.mdl") = weapon_egon : "Egon Gun" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/v_tripmine.mdl") body(3) sequence(8) size(-16 -16 -5, 16 16 27) = weapon_tripmine : "Tripmine Ammo" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_satchel.mdl") = weapon_satchel : "Satchel Charge Ammo" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_grenade.mdl") = weapon_handgrenade : "Handgrenade Ammo" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_squeak.mdl") = weapon_snark : "Squeak Grenade" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_hgun.mdl") = weapon_hornetgun : "Hornet Gun" [])l",
        R"l(@PointClass size(-16 -16 0, 16 16 64) color(0 128 0) studio("models/w_chainammo.mdl") =  weaponbox : "Weapon/Ammo Container" [])l",
        R"l(@PointClass base(Targetname, RenderFields, Angles) flags(Angle) size(-16 -16 0, 16 16 64 ) studio("models/fungus(small).mdl") = xen_spore_small : "Xen Spore (small)" [])l",
        R"l(@PointClass base(Targetname, RenderFields, Angles) flags(Angle) size(-40 -40 0, 40 40 120 ) studio("models/fungus.mdl") = xen_spore_medium : "Xen Spore (medium)" [])l",
        R"l(@PointClass base(Targetname, RenderFields) size(-90 -90 0, 90 90 220 ) = xen_spore_large : "Xen Spore (large)" [])l",
        R"l(@PointClass base(Targetname) size(-16 -16 -16, 16 16 16) = player_weaponstrip : "Strips player's weapons" [])l",
        R"l(@PointClass iconsprite("sprites/am/armoury.spr")  base(Weapon, Targetx) = weapon_knife : "Crowbar" [])l",
        R"l(@PointClass base(Weapon, Targetx) = weapon_deagle : "Desert Eagle cal 50." [])l",
        R"l(@PointClass base(Weapon, Targetx) = ammo_9mmclip : "9mm Pistol Ammo" [])l",
        R"l(@PointClass base(Weapon, Targetx) studio("models/w_9mmclip.mdl") = ammo_9mmclip : "Spawns a 9mm handgun ammo clip." : "http://twhl.info/wiki.php?id=1" [])l",
        R"l(@BaseClass size(0 0 0, 32 32 32) color(80 0 200) base(Appearflags) = Ammo [])l",
        R"l(@BaseClass base(Appearflags, Angles) size(-16 -16 -36, 16 16 36) color(0 255 0) = PlayerClass [])l",
        R"l(@SolidClass base(Trigger) = trigger_once : "Trigger: Activate once" [])l",
        R"l(@SolidClass base(Door, ZHLT) = func_door : "Basic door" [])l",
        R"l(@PointClass base(Targetname, Angles) flags(Path) size(16 16 16) = path_track : "Train Track Path" [ speed(integer) : "New Train Speed" : 0 ])l",
        R"l(@BaseClass = Targetname [ targetname(target_source) : "Name" ])l",
        R"l(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [] // from the main window)l",
        "//Half Life FGD File Start Code Here:",
        "",
        "   ",
        "\t// indented comment",
        R"l(@include "base.fgd")l",
        "@mapsize(-4096, 4096)",
    };
    for (const char* line : lines)
        QTest::newRow(line) << QString::fromUtf8(line);
}

void TestLineCheck::acceptsRealLines() {
    QFETCH(QString, line);
    QCOMPARE(CheckSourceLine(line), QString());
}

void TestLineCheck::rules() {
    // Each line with a word its reason must hold; an empty word means the line is accepted.
    const QList<QPair<QString, QString>> cases{
        {R"l(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm" [])l", ""},
        {R"l( = weapon_9mmAR : "9mm Assault Rifle" [])l", "@PointClass"},
        {"weapon_9mmAR", "@PointClass"},
        {R"l(@Point = a : "b" [])l", "class kind"},
        {R"l(@NPCClass = a : "b" [])l", ""},
        {R"l(@PointClass size(8 8 8) = a : "b" [])l", ""},
        {R"l(@PointClass size(abc) = a : "b" [])l", "whole numbers"},
        {R"l(@PointClass size(-8 -8 0, 8 8 16.5) = a : "b" [])l", "whole numbers"},
        {R"l(@PointClass size(-8 -8 0 8 8 16) = a : "b" [])l", "comma"},
        {R"l(@PointClass size(-8 -8, 8 8) = a : "b" [])l", "three numbers"},
        {R"l(@PointClass size(1 1 1, 2 2 2, 3 3 3) = a : "b" [])l", "one or two"},
        {R"l(@PointClass size() = a : "b" [])l", "three numbers"},
        {R"l(@PointClass size(1 1 1 = a : "b" [])l", "not closed"},
        {R"l(@PointClass size(1 1 1) = : "b" [])l", "empty"},
        {R"l(@PointClass size(1 1 1))l", "class name is missing"},
        {R"l(@PointClass = weapon_Entity Suffix : "b" [])l", "letters, digits and _"},
        {R"l(@PointClass = weapon-x : "b" [])l", "letters, digits and _"},
        {R"l(@PointClass = a : "say "hi"" [])l", "double quote"},
        {R"l(@PointClass = a : "C:\maps" [])l", "backslash"},
        {R"l(@PointClass = a : b [])l", "double quotes"},
        {R"l(@PointClass = a : "b [])l", "closing"},
        {QString(R"l(@PointClass = a : "%1" [])l").arg(QString(999, 'x')), ""},
        {QString(R"l(@PointClass = a : "%1" [])l").arg(QString(1000, 'x')), "longer"},
        {"@PointClass = a : \"b\nc\" []", "line break"},
        {R"l(@PointClass = a : "b")l", "[ ] body"},
        {R"l(@PointClass = a : "b" [)l", "not closed"},
        {R"l(@PointClass = a : "b" [] x)l", "after"},
        {QString::fromUtf8(R"l(@PointClass = a : "Gewehr 中" [])l"), "中"},
        {QString::fromUtf8(R"l(@PointClass = a : "Straße € Œuvre" [])l"), ""},
        {R"l(@PointClass = a : "What?" [])l", ""},
    };
    for (const auto& [line, reason] : cases) {
        const QString verdict = CheckSourceLine(line);
        QVERIFY2(reason.isEmpty() ? verdict.isEmpty() : verdict.contains(reason),
                 qPrintable(line + " -> " + (verdict.isEmpty() ? "accepted" : verdict)));
    }
}

QTEST_APPLESS_MAIN(TestLineCheck)
#include "test_line_check.moc"
