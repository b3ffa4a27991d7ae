#pragma once

#include "ClassUse.h"
#include "KeyValues.h"
#include "SpawnShape.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace game {

// What a mod's C++ game code says of its entities, read from its text without compiling it: the
// class names it links and the C++ class behind each, and the C++ classes with their bases.

// Where something stands in the game code: the file as it was handed in, and its line from 1.
struct Place {
    QString file;
    int line = 0;
};

// One LINK_ENTITY_TO_CLASS( name, Class ), or a call of a mod's macro that wraps it: the class
// name the engine spawns and the C++ class it makes for it (empty when the arguments do not
// make a C++ name).
struct Link {
    QString entity;
    QString cppClass;
    Place place;
};

// A class or struct defined in the code, with the classes it derives from as written, without
// public, protected, private or virtual ("CBaseMonster", "CBaseDelay").
struct CppClass {
    QString name;
    QStringList bases;
    Place place;
};

struct GameCode {
    QList<Link> links;                 // in the order read
    QList<CppClass> classes;           // every definition, in the order read
    QStringList entityNames;           // the linked class names, sorted, each once
    QList<KeyValueFunction> keyValues; // every KeyValue() defined, in the order read
    QStringList engineFields;          // from the game's gEntvarsDescription, when it is there
    QList<SpawnFunction> spawns;       // every Spawn() and OnCreate() defined, in the order read
    QHash<QString, QString> vectors;   // the vectors defined by name (VEC_HUMAN_HULL_MIN)
    CodeUse use; // what the member functions do with their entities, when it was asked for
    // The source files the mod's build compiles, as base names in lower case, when its build
    // files name them; empty when they do not (then every file counts).
    QSet<QString> builtSources;

    // Whether the build compiles file: a header always, as the files that include it.
    bool compiles(const QString& file) const;
    // The function of functions an entity of cppClass runs (those for which ofClass(function,
    // name) holds for a class's name): the class's own, else the one its one base gives it, up
    // the line. Defined twice, the definitions the build compiles count, and only when they
    // read alike(a, b). Nothing when a class on the way is not found or has several bases, or
    // the definitions differ; definer, when given, gets the class that defines it.
    template <typename Function, typename OfClass, typename Alike>
    const Function* ownOrInherited(const QList<Function>& functions, QString cppClass,
                                   OfClass ofClass, Alike alike, QString* definer = nullptr) const {
        for (int step = 0; step < 64; ++step) {
            QList<const Function*> candidates;
            for (const Function& candidate : functions) {
                if (ofClass(candidate, cppClass))
                    candidates << &candidate;
            }
            candidates = compiled(candidates);
            for (const Function* candidate : std::as_const(candidates)) {
                if (!alike(*candidates.constFirst(), *candidate))
                    return nullptr;
            }
            if (!candidates.isEmpty()) {
                if (definer)
                    *definer = cppClass;
                return candidates.constFirst();
            }
            const CppClass* defined = classNamed(cppClass);
            if (!defined || defined->bases.size() != 1)
                return nullptr;
            cppClass = defined->bases.front();
        }
        return nullptr;
    }
    // Of functions the code defines twice or more (a server's and a stub's for the client), the
    // ones in files the build compiles; all of them when none is.
    template <typename Function> QList<const Function*> compiled(QList<const Function*> all) const {
        QList<const Function*> built;
        for (const Function* function : all) {
            if (compiles(function->file))
                built << function;
        }
        return built.isEmpty() ? all : built;
    }

    // The class of that name when the code defines it once, or defines it the same way each
    // time (a mod keeps the client's and the server's copy of a weapon); nothing when it is not
    // defined or its definitions differ in their bases, so no one guesses which is meant.
    const CppClass* classNamed(const QString& name) const;
    // The class and the classes it derives from, one base each, as far as the code defines them
    // (a class with several bases ends it).
    QStringList chainOf(const QString& cppClass) const;
};

// Game code read one text at a time, keeping only what GameCode needs: the macros that take
// parameters, and the rest of the code without comments or quoted texts, as Latin-1 bytes (game
// code is ASCII), so a large tree takes as many bytes as its code, not twice its text.
//
// Comments are skipped, and so is what the preprocessor surely leaves out (an #if 0, the #else
// of an #if 1). A wrapping macro is one whose definition passes its parameters on into the
// name, in any number of arguments (LINK_ENTITY_TO_CLASS( name, Class, ... ) as some mods write
// it, a mod's LINK_WEAPON_TO_CLASS( Class, name ), or one that pastes the name together,
// LINK_ENTITY_TO_CLASS( monster_##x, C##x )); each call of it links the name its arguments
// make. Such macros are found in all the texts added, so a header's #define counts for every
// source file. Scanned by hand, without regular expressions:
// the game is read on a thread (see game/README.md).
class SourceScan {
public:
    // Whether code() also reads what every member function does with its entity (GameCode::use),
    // which composing a declaration needs and checking does not.
    void readUse(bool read) { m_readUse = read; }
    void add(const QString& text, const QString& file = {});
    // The bytes kept so far, to bound what a folder may fill the memory with.
    qsizetype keptBytes() const { return m_kept; }
    GameCode code() const;

private:
    struct Macro {
        QString name;
        QStringList parameters;
        QString body;
    };
    struct Text {
        QString file;
        QByteArray code; // the code outside the macros' definitions, lines kept
    };
    static std::optional<Macro> macroDefinition(QStringView line);
    QList<Macro> m_macros;
    QList<Text> m_texts;
    qsizetype m_kept = 0;
    bool m_readUse = false;
};

// The game code in texts, read as a SourceScan reads them (for tests and benchmarks).
GameCode scanSources(const QStringList& texts);

} // namespace game
