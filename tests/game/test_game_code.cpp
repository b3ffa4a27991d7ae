// The class names a game links: from the four kinds of server library and from the source they
// were built from (the same names), through a mod's liblist.gam, and damaged files refused with
// a message.

#include "game/GameClasses.h"
#include "game/KeyValues.h"
#include "game/Liblist.h"
#include "game/ServerLibrary.h"
#include "game/SourceScan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Game = QStringLiteral(FGD_TEST_DATA "/game/");

QByteArray bytesOf(const QString& name) {
    QFile file(Game + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putNumber(QByteArray& bytes, qsizetype at, quint32 value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

quint32 numberAt(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

} // namespace

class TestGameCode : public QObject {
    Q_OBJECT

private slots:
    void readsGames_data();
    void readsGames();
    void refusesDamagedLibraries_data();
    void refusesDamagedLibraries();
    void findsTheLiblistAbove();
    void readsLinksAndClasses();
    void readsKeyValues();
    void readsModelsAndHulls();
};

void TestGameCode::readsGames_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("read"); // the library or folder read
    // Built from source/ by make-libraries.sh: each kind exports the same classes, and the
    // engine's entry point and a helper of the movement code are not among them.
    for (const char* library : {"pe32.dll", "pe64.dll", "elf32.so", "elf64.so"})
        QTest::newRow(library) << Game + library << Game + library;
    QTest::newRow("the source folder") << Game + "source" << Game + "source";
#ifdef Q_OS_WIN
    const QString ownLibrary = Game + "mod/../pe32.dll";
#else
    const QString ownLibrary = Game + "mod/../elf32.so";
#endif
    QTest::newRow("liblist.gam, this system's library") << Game + "mod/liblist.gam" << ownLibrary;
    QTest::newRow("a mod folder, by its liblist.gam") << Game + "mod" << ownLibrary;
}

void TestGameCode::readsGames() {
    QFETCH(QString, path);
    QFETCH(QString, read);
    const game::GameReading reading = game::readGame(path);
    QVERIFY2(reading.game, qPrintable(reading.error));
    // As absolute paths: under Wine a path from / gains its drive letter.
    QCOMPARE(QFileInfo(reading.game->source).absoluteFilePath(),
             QFileInfo(read).absoluteFilePath());
    QCOMPARE(reading.game->names, QStringList({"info_three", "monster_test", "weapon_9mmAR"}));
}

void TestGameCode::refusesDamagedLibraries_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray pe = bytesOf("pe32.dll");
    const QByteArray elf = bytesOf("elf64.so");
    QVERIFY(!pe.isEmpty() && !elf.isEmpty());
    QTest::newRow("a PE cut short") << pe.left(0x90) << "damaged: it is cut short";
    // Its headers whole, the file ends inside the export directory (0x800 in this build).
    QTest::newRow("a PE cut inside its export table")
        << pe.left(0x814) << "damaged: its export table lies outside the file";
    QByteArray pastTheEnd = pe;
    // The export table's place: the first data directory of the PE32 optional header.
    putNumber(pastTheEnd, numberAt(pe, 0x3C) + 24 + 96, 0x7FFFFFF0, 4);
    QTest::newRow("a PE whose export table points past the end")
        << pastTheEnd << "damaged: its export table lies outside the file";
    QTest::newRow("an ELF cut short")
        << elf.left(elf.size() / 2) << "damaged: its section headers lie outside the file";
    QByteArray arm = elf;
    putNumber(arm, 18, 183, 2); // EM_AARCH64
    QTest::newRow("an ELF of another machine") << arm << "built for another machine";
    QTest::newRow("a text") << QByteArray("game \"Half-Life\"\n")
                            << "neither a Windows DLL nor a Linux shared object";
}

void TestGameCode::refusesDamagedLibraries() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const game::LibraryNames names = game::libraryClassNames(bytes);
    QVERIFY(!names.ok);
    QVERIFY(names.names.isEmpty());
    QVERIFY2(names.error.contains(error), qPrintable(names.error));
    // Through a file, the message names it.
    QTemporaryDir folder;
    QFile file(folder.filePath("hl.dll"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const game::GameReading reading = game::readGame(file.fileName());
    QVERIFY(!reading.game);
    QVERIFY2(reading.error.contains(QDir::toNativeSeparators(file.fileName())),
             qPrintable(reading.error));
}

void TestGameCode::findsTheLiblistAbove() {
    QCOMPARE(game::findLiblist(Game + "mod/maps/test.fgd"),
             QFileInfo(Game + "mod/liblist.gam").absoluteFilePath());
    QCOMPARE(game::findLiblist(Game + "source/entities.c"), std::nullopt);
    // A liblist.gam that names a library not built yet says so.
    QTemporaryDir mod;
    QFile liblist(mod.filePath("liblist.gam"));
    QVERIFY(liblist.open(QIODevice::WriteOnly));
    liblist.write("gamedll \"dlls\\mymod.dll\"\n");
    liblist.close();
    const game::GameReading reading = game::readGame(mod.path());
    QVERIFY(!reading.game);
    QVERIFY2(reading.error.contains("names dlls\\mymod.dll, which is not there"),
             qPrintable(reading.error));

    // A source file far larger than any game code (here mostly a hole in the disk, not written)
    // is left out with a note; the others are read.
    QVERIFY(QFile::copy(Game + "source/entities.c", mod.filePath("entities.c")));
    QFile huge(mod.filePath("huge.cpp"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(9) << 20));
    huge.close();
    QVERIFY(QFile::remove(liblist.fileName()));
    const game::GameReading sources = game::readGame(mod.path());
    QVERIFY(sources.game && sources.game->names.contains("monster_test"));
    QCOMPARE(sources.notes.size(), 1);
    QVERIFY2(sources.notes[0].contains("huge.cpp was not read: at 9"),
             qPrintable(sources.notes[0]));
}

void TestGameCode::readsLinksAndClasses() {
    // The test libraries' source: each link's C++ class, through the mod's own macro too, and
    // the line it stands on.
    const game::GameReading reading = game::readGame(Game + "source");
    QVERIFY2(reading.game, qPrintable(reading.error));
    QStringList links;
    for (const game::Link& link : reading.game->code.links)
        links << QStringLiteral("%1 %2 %3:%4")
                     .arg(link.entity, link.cppClass, QFileInfo(link.place.file).fileName())
                     .arg(link.place.line);
    QCOMPARE(links,
             QStringList({"monster_test CTest entities.c:3", "info_three CThree entities.c:4",
                          "weapon_9mmAR CRifle entities.c:5"}));

    // Lines counted past comments and continued lines (with Windows line ends too), a name and
    // a class a macro pastes from its arguments, and the classes with their bases.
    const game::GameCode code = game::scanSources(
        {"/* two\n lines */\r\n#define LINK_PAIR(a, b) \\\r\n LINK_ENTITY_TO_CLASS(item_ ## a, "
         "C##b)\r\n"
         "class CBase;\r\n"
         "class EXPORT CItem : public CBaseEntity {};\r\n"
         "LINK_PAIR(a, Item)\r\n"
         "enum class Kind : int { A };\r\n"
         "struct entvars_s *pev;\r\n"
         "template <class T> class CList : public CBase<T>, private virtual CCount\r\n{\r\n};\r\n"
         "class CItem : public CBaseEntity\r\n{ };\r\n"
         "class CTwice : public CBaseEntity {}; class CTwice : public CBaseMonster {};\n"
         // What the preprocessor leaves out links nothing: an #if 0, the #else of an #if 1.
         "#if 0\nLINK_ENTITY_TO_CLASS(old_can, COld);\n#else\nLINK_ENTITY_TO_CLASS(can, CCan);\n"
         "#endif\n# if 1\n#elif defined(X)\nLINK_ENTITY_TO_CLASS(no_can, CNo);\n#else\n"
         "LINK_ENTITY_TO_CLASS(no_can2, CNo);\n#endif\n#ifdef X\nLINK_ENTITY_TO_CLASS(x_can, CX);\n"
         "#endif"});
    QCOMPARE(code.entityNames, QStringList({"can", "item_a", "x_can"}));
    QCOMPARE(code.links[0].entity, "item_a");
    QCOMPARE(code.links[0].cppClass, "CItem");
    QCOMPARE(code.links[0].place.line, 7);
    QCOMPARE(code.links[1].place.line, 19);
    QStringList classes;
    for (const game::CppClass& cppClass : code.classes)
        classes << QStringLiteral("%1:%2 %3")
                       .arg(cppClass.name)
                       .arg(cppClass.place.line)
                       .arg(cppClass.bases.join(u','));
    QCOMPARE(classes,
             QStringList({"CItem:6 CBaseEntity", "CList:10 CBase<T>,CCount", "CItem:13 CBaseEntity",
                          "CTwice:15 CBaseEntity", "CTwice:15 CBaseMonster"}));
    // A class defined twice alike is that class; defined twice otherwise, none.
    QVERIFY(code.classNamed("CItem") && code.classNamed("CItem")->place.line == 6);
    QVERIFY(!code.classNamed("CTwice"));
    QVERIFY(!code.classNamed("CBase"));

    // A server folder whose build compiles weapons kept in a folder beside it: read too, and
    // said where the names were found.
    QTemporaryDir mod;
    QVERIFY(QDir(mod.path()).mkpath("server") && QDir(mod.path()).mkpath("shared"));
    const auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(mod.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    QVERIFY(write("server/Makefile", "OBJ = ../shared/weapons.o\n"));
    QVERIFY(write("server/monsters.cpp", "LINK_ENTITY_TO_CLASS(monster_a, CA);\n"));
    QVERIFY(write("shared/weapons.cpp", "LINK_ENTITY_TO_CLASS(weapon_a, CW);\n"));
    const game::GameReading split = game::readGame(mod.filePath("server"));
    QVERIFY2(split.game, qPrintable(split.error));
    QCOMPARE(split.game->names, QStringList({"monster_a", "weapon_a"}));
    QCOMPARE(split.notes.size(), 1);
    QVERIFY2(split.notes[0].contains("1 of the 2 linked names"), qPrintable(split.notes[0]));
}

void TestGameCode::readsKeyValues() {
    // A header with an inline KeyValue() and a class without one, the engine's field table, and
    // KeyValue()s that pass the key on, stop, read by prefix, or are defined twice.
    const game::GameCode code = game::scanSources(
        {"class CBaseEntity {\n"
         "    virtual void KeyValue( KeyValueData* pkvd ) { pkvd->fHandled = FALSE; }\n"
         "};\n"
         "class CBaseDelay : public CBaseEntity { public: void KeyValue( KeyValueData* ); };\n"
         "class CItem : public CBaseDelay {};\n"
         "class CLight : public CBaseEntity {\n"
         "    void KeyValue( KeyValueData *kvd ) override\n"
         "    { if (!stricmp(kvd->szKeyName, \"Style\")) return; CBaseEntity::KeyValue(kvd); }\n"
         "};\n",
         "TYPEDESCRIPTION gEntvarsDescription[] = {\n"
         "    DEFINE_ENTITY_FIELD( classname, FIELD_STRING ),\n"
         "    DEFINE_ENTITY_GLOBAL_FIELD( globalname, FIELD_STRING ),\n"
         "};\n"
         "void CBaseDelay :: KeyValue( KeyValueData *pkvd ) {\n"
         "    if (FStrEq(pkvd->szKeyName, \"delay\")) m_flDelay = atof(pkvd->szValue);\n"
         "    else if (!strcmp(\"killtarget\", pkvd->szKeyName)) m_iszKillTarget = 1;\n"
         "    else CBaseEntity::KeyValue( pkvd );\n"
         "}\n"
         "void CStop::KeyValue( KeyValueData *pkvd ) { if (FStrEq(pkvd->szKeyName, \"a\")) {} }\n"
         "void CPrefix::KeyValue( KeyValueData *pkvd ) {\n"
         "    if (!strncmp(pkvd->szKeyName, \"target\", 6)) {} else CBaseDelay::KeyValue( pkvd ); "
         "}\n"
         "void CTwice::KeyValue( KeyValueData *pkvd ) { if (FStrEq(pkvd->szKeyName, \"x\")) {} }\n"
         "void CTwice::KeyValue( KeyValueData *pkvd ) { if (FStrEq(pkvd->szKeyName, \"y\")) {} }\n"
         "void CHands::KeyValue( KeyValueData *pkvd ) { Store( pkvd ); }\n"
         "void CTrain::KeyValue( KeyValueData *pkvd ) {\n"
         "    if (FStrEq(pkvd->szKeyName, \"speed2\")) {} else ReadWheels( this, pkvd ); }\n"
         "void ReadWheels( CBaseEntity *e, KeyValueData *kvd ) {\n"
         "    if (FStrEq(kvd->szKeyName, \"wheels\")) {} }\n"});
    QCOMPARE(code.engineFields, QStringList({"classname", "globalname"}));
    QCOMPARE(code.keyValues.size(), 10);
    QCOMPARE(code.keyValues[2].line, 5);
    const game::KeyReading item = game::keysRead(code, "CItem");
    QVERIFY(item.known);
    QCOMPARE(item.through, QStringList({"CBaseDelay", "CBaseEntity"}));
    QCOMPARE(item.exact, QSet<QString>({"delay", "killtarget"}));
    const game::KeyReading light = game::keysRead(code, "CLight");
    QVERIFY(light.known);
    QCOMPARE(light.anyCase, QSet<QString>({"style"}));
    QVERIFY(light.exact.isEmpty());
    const game::KeyReading stop = game::keysRead(code, "CStop");
    QVERIFY(stop.known);
    QCOMPARE(stop.through, QStringList({"CStop"})); // it passes nothing on
    // A key handed to a function the code defines: what that reads counts.
    const game::KeyReading train = game::keysRead(code, "CTrain");
    QVERIFY(train.known);
    QCOMPARE(train.exact, QSet<QString>({"speed2", "wheels"}));
    // Keys read by prefix, a class defined twice otherwise, a key handed to a function the code
    // does not define, a class not in the code: nothing can be told.
    for (const char* unknown : {"CPrefix", "CTwice", "CHands", "CElsewhere"})
        QVERIFY2(!game::keysRead(code, unknown).known, unknown);

    // A game whose DispatchKeyValue hands every entity's keys to a function of its own: what
    // that reads is not followed, so no class's keys are judged.
    QTemporaryDir mod;
    const auto readWith = [&](const QByteArray& dispatch) {
        QFile file(mod.filePath("cbase.cpp"));
        if (!file.open(QIODevice::WriteOnly))
            return game::GameReading{};
        file.write("TYPEDESCRIPTION gEntvarsDescription[] = { DEFINE_ENTITY_FIELD( origin, 0 ) };\n"
                   "void DispatchKeyValue( edict_t *e, KeyValueData *pkvd ) {\n"
                   "    EntvarsKeyvalue( VARS(e), pkvd );\n" +
                   dispatch +
                   "}\n"
                   "class CLamp : public CBaseEntity {};\n"
                   "void CLamp::KeyValue( KeyValueData *pkvd ) {}\n"
                   "LINK_ENTITY_TO_CLASS( lamp, CLamp );\n");
        file.close();
        return game::readGame(mod.path());
    };
    const game::GameReading plain = readWith({});
    QVERIFY(plain.game && plain.game->entities.value("lamp").keysKnown);
    const game::GameReading handed = readWith("    ReadCommonKeys( pkvd );\n");
    QVERIFY(handed.game && !handed.game->entities.value("lamp").keysKnown);
    // Unless the code defines that function: its keys are read for every entity.
    const game::GameReading common =
        readWith("    ReadCommonKeys( pkvd );\n}\n"
                 "void ReadCommonKeys( KeyValueData *pkvd ) {\n"
                 "    if (FStrEq(pkvd->szKeyName, \"common\")) pkvd->fHandled = TRUE;\n");
    QVERIFY(common.game && common.game->entities.value("lamp").keysKnown);
    QCOMPARE(common.game->everyEntityKeys, QStringList({"common"}));
    // A stub beside it defines CLamp::KeyValue() otherwise: which one counts is not known, until
    // the Makefile names the files the server is built from, and the stub is not among them.
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile file(mod.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    QVERIFY(write("stub.cpp", "void CLamp::KeyValue( KeyValueData *pkvd ) { Other( pkvd ); }\n"));
    QVERIFY(!readWith({}).game->entities.value("lamp").keysKnown);
    QVERIFY(write("Makefile", "OBJ = $(DLL_OBJDIR)/cbase.o\n"));
    QVERIFY(readWith({}).game->entities.value("lamp").keysKnown);
}

void TestGameCode::readsModelsAndHulls() {
    // Spawn()s in a header's class body and out of line; a hull named in another file.
    const game::GameCode code = game::scanSources(
        {"#define VEC_HUMAN_HULL_MIN Vector( -16, -16, 0 )\n"
         "#define VEC_HUMAN_HULL_MAX Vector(16, 16, 72)\n"
         "class CMonster : public CBaseMonster {\n"
         "    void Spawn() { if (pev->model) SET_MODEL(ENT(pev), STRING(pev->model));\n"
         "                   else SET_MODEL(ENT(pev), \"models/monster.mdl\");\n"
         "                   UTIL_SetSize(pev, VEC_HUMAN_HULL_MIN, VEC_HUMAN_HULL_MAX); }\n"
         "};\n"
         "class CChild : public CMonster {};\n",
         "void CItem::Spawn( void ) { SET_MODEL(edict(), \"models/a.mdl\");\n"
         "    UTIL_SetSize(pev, Vector(-16, -16, 0), Vector(16.0f, 16, 16)); }\n"
         "void CTwoModels::Spawn( void ) { if (m_iType) SET_MODEL(ENT(pev), \"models/a.mdl\");\n"
         "    else SET_MODEL(ENT(pev), \"models/b.mdl\"); }\n"
         "void CVariable::Spawn( void ) { SET_MODEL(ENT(pev), szModel);\n"
         "    UTIL_SetSize(pev, g_vecZero, g_vecZero); }\n"
         "void CCreated::OnCreate( void ) { pev->model = MAKE_STRING(\"models/made.mdl\"); }\n"
         "void CCreated::Spawn( void ) { SET_MODEL(ENT(pev), STRING( pev->model ));\n"
         "    UTIL_SetSize(pev, Vector(-8, -8, 0), Vector(8, 8, 8));\n"
         "    if (m_fBig) UTIL_SetSize(pev, Vector(-16, -16, 0), Vector(16, 16, 16)); }\n"
         "void CCase::Spawn( void ) { SET_MODEL(ENT(pev), \"models/A.mdl\");\n"
         "    if (pev->model == 0) SET_MODEL(ENT(pev), \"models/a.mdl\"); }\n"
         "void CPlain::Spawn( void ) { pev->solid = SOLID_NOT; }\n"
         "void CKept::Spawn( void ) { SET_MODEL(ENT(pev), \"models/k.mdl\"); CPlain::Spawn(); }\n"
         "void CWrapped::Spawn( void ) { SET_MODEL(ENT(pev), \"models/w.mdl\");\n"
         "    UTIL_SetSize(pev, Vector(-1, -1, 0), Vector(1, 1, 1)); CItem::Spawn(); }\n"});
    const auto shape = [&](const char* cppClass) {
        return game::shapeOf(code, cppClass);
    };
    const fgd::Box human{{-16, -16, 0}, {16, 16, 72}};
    QCOMPARE(shape("CMonster").model, "models/monster.mdl");
    QCOMPARE(shape("CMonster").hull, human);
    QCOMPARE(shape("CChild").model, "models/monster.mdl"); // the Spawn() it inherits
    QCOMPARE(shape("CChild").hull, human);
    QCOMPARE(shape("CItem").model, "models/a.mdl");
    QCOMPARE(shape("CItem").hull, (fgd::Box{{-16, -16, 0}, {16, 16, 16}}));
    QCOMPARE(shape("CCreated").model, "models/made.mdl");
    QCOMPARE(shape("CCase").model, "models/A.mdl"); // one model, in two cases
    // A base's Spawn() run after the model and hull are set: what it sets in turn is kept.
    QCOMPARE(shape("CKept").model, "models/k.mdl");
    QVERIFY(shape("CWrapped").model.isEmpty() && !shape("CWrapped").hull);
    // Two models, a model from a variable, an empty hull, two hulls, a class not in the code:
    // nothing can be told.
    QCOMPARE(shape("CTwoModels").model, QString());
    QCOMPARE(shape("CVariable").model, QString());
    QVERIFY(!shape("CVariable").hull);
    QVERIFY(!shape("CCreated").hull);
    QVERIFY(shape("CElsewhere").model.isEmpty() && !shape("CElsewhere").hull);
}

QTEST_APPLESS_MAIN(TestGameCode)
#include "test_game_code.moc"
