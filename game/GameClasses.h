#pragma once

#include "SourceScan.h"
#include "fgd/GameEntities.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace game {

// The class names a game links, and where they were read: the program learns them from a mod's
// server library (see ServerLibrary.h), from its liblist.gam (which names that library, see
// Liblist.h), or, for a mod not yet built, from its source folder (see SourceScan.h).
struct GameClasses {
    QString source;     // the library or source folder read, as a path
    QStringList names;  // sorted, each once
    GameCode code = {}; // from a source folder: the links and C++ classes behind the names
    // From a source folder: what the code says of each entity it could follow (the keys it
    // reads, its model and hull), and the keys read for every entity (DispatchKeyValue's).
    QHash<QString, fgd::EntityCode> entities = {};
    QStringList everyEntityKeys = {};
};
struct GameReading {
    std::optional<GameClasses> game;
    QString error;          // when nothing could be read: why, for a message
    QStringList notes = {}; // what was left out (a file far too large to be game code)
};

// How much of a source folder to read: what checking a file needs, or also what composing
// declarations needs (what every member function does with its entity, GameCode::use).
enum class SourceDetail { ForChecking, ForComposing };

// Reads what path is: a liblist.gam, a server library (.dll, .so), a mod folder holding a
// liblist.gam, or a folder of game code sources.
GameReading readGame(const QString& path, SourceDetail detail = SourceDetail::ForChecking);

// What to tell a user whose file's liblist.gam (at liblist) leads to no game that can be read,
// for error, the reason readGame() gave: its class names are not checked.
QString gameNotCheckedNote(const QString& liblist, const QString& error);

} // namespace game
