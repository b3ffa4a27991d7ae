#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace game {

struct FunctionDefinition;

// What the member functions of a mod's classes do with their entity, beyond the keys they read
// and the model and hull their Spawn() gives it: what a declaration of the class is composed
// from (read only when asked, as checking needs none of it).

// What the member functions of one C++ class use, all of them together.
struct ClassUse {
    // The engine's fields of the entity they use: pev->targetname -> targetname.
    QSet<QString> fields;
    // What they test the entity's spawnflags with (pev->spawnflags & SF_DOOR_START_OPEN,
    // FBitSet( pev->spawnflags, 4 )): constant names or numbers, each once, in the order found.
    QStringList flags;
    // The constants they compare each member with (m_iStyle == 2, switch ( m_iStyle ) { case
    // STYLE_A: ... }), each once, in the order found: what a key stored there may choose from.
    QHash<QString, QStringList> compared;
};

// What one member function does that makes an entity a brush entity: it sets the entity's model
// from its own (SET_MODEL( ENT(pev), STRING(pev->model) ): a brush model, or a model a mapper
// names), or makes it collide or move as a brush (SOLID_BSP, SOLID_TRIGGER, MOVETYPE_PUSH), or
// hides it (EF_NODRAW: a Spawn() that hides the model it takes from the map makes a zone).
struct FunctionUse {
    bool mapModel = false;
    bool brush = false;
    bool hides = false;
};

struct CodeUse {
    QHash<QString, ClassUse> classes;      // by C++ class
    QHash<QString, FunctionUse> functions; // by Class::name, only those that do any of it
    // The entity names the code makes entities of itself, as texts: CBaseEntity::Create(
    // "grenade", ... ), CREATE_NAMED_ENTITY( MAKE_STRING( "beam" ) ), pev->classname =
    // MAKE_STRING( "bolt" ).
    QSet<QString> createdByName;
    QHash<QString, qint64> numbers; // #define SF_DOOR_START_OPEN 1
};

// Adds what one function the code (kept as SourceScan keeps it) defines does to use.
void readFunctionUse(const QString& code, const FunctionDefinition& definition, CodeUse& use);

// Adds the integer constants code #defines (#define SF_BUTTON_DONTMOVE 1, 0x100, (1<<2)) to
// numbers.
void readNumberConstants(const QString& code, QHash<QString, qint64>& numbers);

} // namespace game
