// Declarations composed from a mod's game code (data/compose): what each says, what is left out,
// and that checking them against the same code finds nothing.

#include "fgd/ListCheck.h"
#include "game/Compose.h"

#include <QFile>
#include <QTest>

namespace {

const QString Data = QStringLiteral(FGD_TEST_DATA "/compose/");

QStringList linesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestCompose : public QObject {
    Q_OBJECT

private slots:
    void composesWhatTheCodeSays();
};

void TestCompose::composesWhatTheCodeSays() {
    const game::GameReading reading =
        game::readGame(Data + "source", game::SourceDetail::ForComposing);
    QVERIFY(reading.game);
    const QStringList given = linesOf(Data + "given.fgd");
    const QList<game::ComposedClass> composed =
        game::composeClasses(*reading.game, fgd::readDeclarations(given));
    // bolt only the code makes; info_declared the list declares, in another case.
    QStringList lines;
    for (const game::ComposedClass& declaration : composed)
        lines += declaration.lines;
    // A brush entity (it takes its model from the map and collides as a brush) with the bases
    // whose every key it uses (not Targetx: it never reads killtarget), its own keys typed by
    // how the code stores them, the default its Spawn() sets, the constants it compares one
    // with as choices, and the flags it tests; a point entity with the model and hull its
    // Spawn() sets.
    QCOMPARE(lines, QStringList({
                        R"(@SolidClass base(Targetname, Delay) = func_door : "Func Door")",
                        "[",
                        "\tlip(integer) : \"Lip\" : 4",
                        "\tmovesnd(sound) : \"Movesnd\"",
                        "\topens(choices) : \"Opens\" : 0 =",
                        "\t[",
                        "\t\t0 : \"Up\"",
                        "\t\t1 : \"Down\"",
                        "\t]",
                        "\tspawnflags(flags) =",
                        "\t[",
                        "\t\t1 : \"Start Open\" : 0",
                        "\t\t4 : \"Silent\" : 0",
                        "\t]",
                        "]",
                        R"(@PointClass base(Targetname) size(-8 -8 0, 8 8 16) )"
                        R"(studio("models/crate.mdl") = item_crate : "Item Crate" [])",
                    }));

    // Checked against the same code, with the bases they name: nothing to say.
    fgd::ListCheck check;
    check.setGame(reading.game->names, reading.game->source);
    check.setGameCode(reading.game->entities, reading.game->code.engineFields,
                      reading.game->everyEntityKeys);
    check.checkAll(given.first(3) + lines);
    for (int line = 0; line < check.count(); ++line)
        QVERIFY2(check.problems(line).isEmpty(), qPrintable(fgd::describe(check.verdict(line))));
}

QTEST_APPLESS_MAIN(TestCompose)
#include "test_compose.moc"
