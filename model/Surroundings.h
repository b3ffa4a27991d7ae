#pragma once

#include "fgd/ListCheck.h"
#include "game/GameClasses.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace model {

// What around an FGD file bears on its check, found once when the file is opened, by the main
// window and the check command alike: the folder its @include files are read from (the editors
// that read @include take each from the folder of the file that names it), the liblist.gam above
// it, which names the game whose class names count, and whether the TrenchBroom game
// configuration beside it names it among its entity definitions.
struct Surroundings {
    QString filePath;      // absolute; empty for lines that came from no file
    QString includeFolder; // empty: no included file can be read
    std::optional<QString> liblist;
    bool inGameConfiguration = false;

    // The surroundings of the file at path.
    static Surroundings ofFile(const QString& path);
    // Lines typed or read from standard input: their @includes are read from the working folder,
    // as a shell user expects, and they have no game or configuration of their own.
    static Surroundings ofWorkingFolder();
};

// Checks lines in their surroundings: the whole list, each @include read from its folder, with
// the marks aimed at the editors chosen or, when that is 0, at those the file is written for:
// the one editor its own lines or its game configuration name, else every editor. The game,
// which outlives a file, stays as the check holds it (fgd::ListCheck::setGame).
void checkInSurroundings(fgd::ListCheck& check, const QStringList& lines,
                         const Surroundings& around, fgd::Editors chosen);

// Hands a check the game whose class names, and whose keys where its source tells them, the
// marks check; none (nullptr) checks neither. The keys are judged with the key-values, which are
// read with the lines: a check that has lines already must read them again (checkAll).
void checkAgainstGame(fgd::ListCheck& check, const game::GameClasses* game);

} // namespace model
