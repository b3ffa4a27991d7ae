#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace game {

// The folders beside a mod's server code folder that its own build compiles from: a mod often
// keeps the weapons it shares with the client in a sibling folder (../shared, ../game_shared),
// which its Makefile, CMakeLists.txt or Visual Studio project names. Each is an absolute path of
// a folder that exists beside folder, named in a build file of folder itself as ../name or
// ..\name; in the order first named.
QStringList foldersBuiltWith(const QString& folder);

// The source files the build files of folder name (aflock.cpp, $(DLL_OBJDIR)/aflock.o,
// ../shared/weapons.cpp), as base names in lower case: aflock, weapons. A folder often keeps a
// file its server build leaves out (a stub for the client's build) that defines what the server
// code defines otherwise.
QSet<QString> sourcesBuiltIn(const QString& folder);

} // namespace game
