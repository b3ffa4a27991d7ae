#include "model/EntityLine.h"

#include <QTest>

using model::ComposeEntityLine;

class TestEntityLine : public QObject {
    Q_OBJECT

private slots:
    void composesLines_data();
    void composesLines();
    void asksForCustomSizeOnlyForCustom();
};

void TestEntityLine::composesLines_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("realName");
    QTest::addColumn<QString>("customAnswer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("weapon") << "Weapon"
                            << "weapon_"
                            << "9mmAR"
                            << "9mm Assault Rifle"
                            << ""
                            << "@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : \"9mm "
                               "Assault Rifle\" []";
    QTest::newRow("player, untouched boxes")
        << "Player"
        << "monster_"
        << "Entity Suffix"
        << "Real Name"
        << ""
        << "@PointClass size(-16 -16 -36, 16 16 36) = monster_Entity Suffix : \"Real Name\" []";
    QTest::newRow("monster") << "Monster"
                             << "monster_"
                             << "zombie"
                             << "Zombie"
                             << ""
                             << "@PointClass size(-16 -16 -36, 16 16 36) = monster_zombie : "
                                "\"Zombie\" []";
    QTest::newRow("no kind is headless") << ""
                                         << "weapon_"
                                         << "9mmAR"
                                         << "9mm Assault Rifle"
                                         << ""
                                         << " = weapon_9mmAR : \"9mm Assault Rifle\" []";
    QTest::newRow("custom cancelled is headless") << "Custom"
                                                  << "weapon_"
                                                  << "9mmAR"
                                                  << "9mm Assault Rifle"
                                                  << ""
                                                  << " = weapon_9mmAR : \"9mm Assault Rifle\" []";
    QTest::newRow("custom box verbatim")
        << "Custom"
        << "item_"
        << "box"
        << "Box"
        << " -8 -8 0, 8 8 16 "
        << "@PointClass size( -8 -8 0, 8 8 16 ) = item_box : \"Box\" []";
    QTest::newRow("kind compared case-sensitively") << "weapon"
                                                    << "weapon_"
                                                    << "x"
                                                    << "X"
                                                    << ""
                                                    << " = weapon_x : \"X\" []";
    QTest::newRow("empty prefix and suffix") << ""
                                             << ""
                                             << ""
                                             << ""
                                             << ""
                                             << " =  : \"\" []";
    QTest::newRow("quote copied unescaped")
        << "Weapon"
        << "weapon_"
        << "a"
        << "say \"hi\""
        << ""
        << "@PointClass size(-16 -16 0, 16 16 36) = weapon_a : \"say \"hi\"\" []";
}

void TestEntityLine::composesLines() {
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    QFETCH(QString, realName);
    QFETCH(QString, customAnswer);
    QFETCH(QString, expected);

    const QString line =
        ComposeEntityLine(kind, prefix, suffix, realName, [&] { return customAnswer; });
    QCOMPARE(line, expected);
}

void TestEntityLine::asksForCustomSizeOnlyForCustom() {
    for (const model::EntityClassKind& kind : model::EntityClassKinds()) {
        int asked = 0;
        ComposeEntityLine(kind.name, "p", "s", "n", [&] {
            ++asked;
            return QString("1 2 3");
        });
        QCOMPARE(asked, kind.name == "Custom" ? 1 : 0);
    }
}

QTEST_APPLESS_MAIN(TestEntityLine)
#include "test_entity_line.moc"
