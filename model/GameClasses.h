#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace model {

// The class names a game links, and where they were read: the program learns them from a mod's
// server library (see ServerLibrary.h), from its liblist.gam (which names that library), or,
// for a mod not yet built, from its source folder.
struct GameClasses {
    QString source;    // the library or source folder read, as a path
    QStringList names; // sorted, each once
};
struct GameReading {
    std::optional<GameClasses> game;
    QString error;          // when nothing could be read: why, for a message
    QStringList notes = {}; // what was left out (a file far too large to be game code)
};

// Reads what path is: a liblist.gam, a server library (.dll, .so), a mod folder holding a
// liblist.gam, or a folder of game code sources.
GameReading readGame(const QString& path);

// What to tell a user whose file's liblist.gam (at liblist) leads to no game that can be read,
// for error, the reason readGame() gave: its class names are not checked.
QString gameNotCheckedNote(const QString& liblist, const QString& error);

// The liblist.gam of the folder of the file at filePath or of one of the folders above it (a
// mod's FGD is often kept in the mod folder or a folder inside it), or nothing.
std::optional<QString> findLiblist(const QString& filePath);

// The class names the game code in text links: every LINK_ENTITY_TO_CLASS( name, Class ) and
// every call of a macro whose definition passes one of its parameters on as that name, in
// any number of arguments (LINK_ENTITY_TO_CLASS( name, Class, ... ) as some mods write it, or a
// mod's LINK_WEAPON_TO_CLASS( name, Class ) that wraps it). Comments are skipped; a name made
// by pasting (weapon_##name) is not a name and is left out. Wrapping macros are found in the
// texts handed in together, so a header's #define counts for every source file.
QStringList linkedInSources(const QStringList& texts);

} // namespace model
