#pragma once

#include <QString>

#include <optional>

namespace game {

// A mod's liblist.gam: the text file in its folder that tells the engine, among other things,
// which server library holds its game code (gamedll for Windows, gamedll_linux, gamedll_osx).

// The liblist.gam of the folder of the file at filePath or of one of the three folders above it
// (a mod's FGD is often kept in the mod folder or a folder inside it), or nothing.
std::optional<QString> findLiblist(const QString& filePath);

// The server library the liblist.gam at path names, as a path that exists: this system's first,
// then the others', since a mod built for one system still names its entities for the other's
// editor. Without one, error says why: the file cannot be read, names no library, or names only
// libraries not built yet.
struct NamedLibrary {
    std::optional<QString> path;
    QString error;
};
NamedLibrary serverLibraryOf(const QString& liblist);

} // namespace game
