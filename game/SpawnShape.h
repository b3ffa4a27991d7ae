#pragma once

#include "fgd/GameEntities.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace game {

struct GameCode;
struct FunctionDefinition;

// What an entity looks like in the game before a map says otherwise: the model and the box
// (hull) its C++ class's Spawn() gives it. Spawn() runs when the entity is placed; some mods
// give an entity its model earlier, in an OnCreate() that runs when it is made.

// One Spawn() or OnCreate() a class defines, out of line or in its class's body.
struct SpawnFunction {
    QString cppClass;
    QString file;
    int line = 0;
    bool onCreate = false;
    // The models it sets as texts: SET_MODEL( ENT(pev), "models/x.mdl" ), SetModel( "..." ),
    // pev->model = MAKE_STRING( "..." ). Setting the map's own model (STRING(pev->model)) is
    // none of them; setting one from anything else (a variable, a function) makes it unknown.
    QStringList models;
    bool modelOtherwise = false;
    // The arguments of each UTIL_SetSize( pev, min, max ) or SetSize( min, max ) it calls:
    // min and max as written (Vector( -16, -16, 0 ), VEC_HUMAN_HULL_MIN, g_vecZero).
    QList<std::pair<QString, QString>> sizes;
    // The base Spawn()s it calls after it has set a model or a hull, which may set their own.
    struct LaterSpawn {
        QString base;
        bool afterModel = false;
        bool afterSize = false;
        friend bool operator==(const LaterSpawn&, const LaterSpawn&) = default;
    };
    QList<LaterSpawn> laterSpawns = {};
    // The functions it calls, as written (InitTrigger, CBaseToggle::Spawn), each once.
    QStringList calls = {};
    // What it sets where the map left nothing: if ( !m_flWait ) m_flWait = 1; or if
    // ( pev->speed == 0 ) pev->speed = 100; gives m_flWait -> 1, pev->speed -> 100 (the place as
    // written without spaces, the number as written).
    QHash<QString, QString> defaults = {};
};

// Whether a function of that name is one readSpawnFunction() reads.
bool definesSpawn(QStringView name);
// Adds the Spawn() or OnCreate() of a class that the code (kept as SourceScan keeps it) defines
// to functions.
void readSpawnFunction(const QString& code, const FunctionDefinition& definition,
                       const QString& file, QList<SpawnFunction>& functions);

// Adds the vectors code defines by name, #define VEC_HUMAN_HULL_MIN Vector( -16, -16, 0 ), to
// vectors, name to its value as written.
void readVectorConstants(const QString& code, QHash<QString, QString>& vectors);

// A vector as written, Vector( -16, -16, 0 ) or a name vectors holds, as three numbers; nothing
// when it is neither.
std::optional<std::array<double, 3>> vectorValue(const QString& written,
                                                 const QHash<QString, QString>& vectors);

// The model and hull an entity of a C++ class has from its code, each only when it can be told:
// model, the one text its Spawn() and OnCreate() (its own or the ones it inherits) set when the
// map names none; hull, the box its Spawn() sets with its one call of UTIL_SetSize, when that
// box is made of constants and is not empty.
struct EntityShape {
    QString model;
    std::optional<fgd::Box> hull;
};
EntityShape shapeOf(const GameCode& code, const QString& cppClass);

// The Spawn() an entity of a C++ class runs: its own, else the one its (one) base gives it;
// nothing when a class on the way is not found or the function is defined twice otherwise.
const SpawnFunction* spawnRunBy(const GameCode& code, const QString& cppClass);

} // namespace game
