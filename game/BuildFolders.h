#pragma once

#include <QString>
#include <QStringList>

namespace game {

// The folders beside a mod's server code folder that its own build compiles from: a mod often
// keeps the weapons it shares with the client in a sibling folder (../shared, ../game_shared),
// which its Makefile, CMakeLists.txt or Visual Studio project names. Each is an absolute path of
// a folder that exists beside folder, named in a build file of folder itself as ../name or
// ..\name; in the order first named.
QStringList foldersBuiltWith(const QString& folder);

} // namespace game
