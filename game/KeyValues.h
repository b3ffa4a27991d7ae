#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace game {

struct GameCode;
struct Place;
struct FunctionDefinition;

// How a mod's C++ code reads the keys a map gives an entity. The engine hands each key to the
// game's DispatchKeyValue, which fills the engine's own fields (the game's table of entvars_t
// fields, gEntvarsDescription: targetname, origin, rendermode, ...; compared in any case) and
// then calls the entity's KeyValue(), which compares the key's name with those it knows and
// passes the others on to its base class's KeyValue(), or not.

// One KeyValue( KeyValueData *pkvd ) function the code defines, out of line or in a class's body;
// or the game's DispatchKeyValue; or a function either hands the key to (a helper that reads the
// keys of several classes: ReadTrainKeys( pkvd )).
struct KeyValueFunction {
    QString name; // KeyValue, DispatchKeyValue, or the helper's name
    QString cppClass;
    QString file;
    int line = 0;
    QStringList exact;   // the keys it compares in their case (FStrEq, strcmp), as written
    QStringList anyCase; // the keys it compares in any case (stricmp, strcasecmp), as written
    // Of those, the ones compared outside an if's condition, or compared and then ignored (the
    // if only marks the key handled), and the ones stored in an engine field (pev->speed), which
    // the engine's own key of that field sets too.
    QStringList ignored;
    QStringList engineAliases;
    // For the others: where each key's value is stored, as written without spaces (m_flWait,
    // pev->speed; empty when it cannot be told), and the type a declaration gives it.
    QHash<QString, QString> stores;
    QHash<QString, QString> types;
    QStringList passesTo; // the classes whose KeyValue() it calls with the key
    QStringList handedTo; // the other functions it hands the key to whole
    // It reads keys by a prefix (strncmp), or by a name it builds or looks up: what it reads
    // cannot be told, and its class is not judged.
    bool readsOtherwise = false;
};

// Whether a function of that name is one readKeyValueFunction() reads whatever its parameters.
bool definesKeyValue(QStringView name);
// Adds the KeyValue() function the code of one file (kept as SourceScan keeps it) defines, the
// game's DispatchKeyValue (with no class), which reads keys for every entity before its
// KeyValue(), or any other function that takes a KeyValueData (a helper), to functions.
void readKeyValueFunction(const QString& code, const FunctionDefinition& definition,
                          const QString& file, QList<KeyValueFunction>& functions);

// The names of the engine's own fields, from the game's gEntvarsDescription table in code, if
// it is there.
QStringList engineFieldsIn(const QString& code);

// What the code does with the keys of an entity of a C++ class: known is false when it cannot be
// told (a KeyValue() on the way reads otherwise, is defined twice in different ways, hands the
// key to a function the code does not define once, or a class on the way is not found), and
// then nothing is to be said of the class's keys.
struct KeyReading {
    bool known = false;
    QSet<QString> exact;   // the keys read in their case
    QSet<QString> anyCase; // the keys read in any case, in lower case
    QStringList through;   // the classes whose KeyValue() it runs through, in order
    QList<const KeyValueFunction*> functions; // those KeyValue()s and their helpers, in order
};
KeyReading keysRead(const GameCode& code, const QString& cppClass);

// The one function named name that the code defines and that takes a KeyValueData, a member of
// one of classes or a free function; nothing when there is none, or several that read otherwise.
const KeyValueFunction* helperNamed(const GameCode& code, const QString& name,
                                    const QStringList& classes);

} // namespace game
