#include "model/EntityLine.h"

#include <QTest>

using model::ComposeEntityLine;

class TestEntityLine : public QObject {
    Q_OBJECT

private slots:
    void composesLines();
    void asksForCustomSizeOnlyForCustom();
};

void TestEntityLine::composesLines() {
    const struct {
        const char *kind, *prefix, *suffix, *name, *custom, *expected;
    } cases[] = {
        {"Weapon", "weapon_", "9mmAR", "9mm Assault Rifle", "",
         R"(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Player", "monster_", "Entity Suffix", "Real Name", "",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_Entity Suffix : "Real Name" [])"},
        {"Monster", "monster_", "zombie", "Zombie", "",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_zombie : "Zombie" [])"},
        // No kind, and Custom with an empty answer, give a line without a class part.
        {"", "weapon_", "9mmAR", "9mm Assault Rifle", "",
         R"( = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Custom", "weapon_", "9mmAR", "9mm Assault Rifle", "",
         R"( = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Custom", "item_", "box", "Box", " -8 -8 0, 8 8 16 ",
         R"(@PointClass size( -8 -8 0, 8 8 16 ) = item_box : "Box" [])"},
        {"weapon", "weapon_", "x", "X", "", R"( = weapon_x : "X" [])"}, // case-sensitive kind
        {"", "", "", "", "", R"( =  : "" [])"},
        {"Weapon", "weapon_", "a", R"(say "hi")", "",
         R"(@PointClass size(-16 -16 0, 16 16 36) = weapon_a : "say "hi"" [])"},
    };
    for (const auto& c : cases) {
        const QString custom = c.custom;
        QCOMPARE(ComposeEntityLine(c.kind, c.prefix, c.suffix, c.name, [&] { return custom; }),
                 QString(c.expected));
    }
}

void TestEntityLine::asksForCustomSizeOnlyForCustom() {
    for (const model::EntityClassKind& kind : model::EntityClassKinds()) {
        int asked = 0;
        ComposeEntityLine(kind.name, "p", "s", "n", [&] { return QString::number(++asked); });
        QCOMPARE(asked, kind.name == "Custom" ? 1 : 0);
    }
}

QTEST_APPLESS_MAIN(TestEntityLine)
#include "test_entity_line.moc"
