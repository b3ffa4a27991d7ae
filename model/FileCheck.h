#pragma once

#include "FileFrame.h"
#include "fgd/Findings.h"
#include "game/GameClasses.h"

#include <QList>
#include <QString>

namespace model {

// The check over a whole file, as the main window checks the lines of a file it opens, with each
// finding placed in the file as written: the lines of this program's frame count too.

// One problem in a file: its line and column counted from 1 (column 1 where the whole line is
// meant), its kind, and the reason the main window shows for it.
struct Finding {
    int line = 0;
    qsizetype column = 0;
    fgd::Severity severity = fgd::Severity::Error;
    const fgd::Rule* rule = nullptr;
    QString reason;
};

// Checks the contents of the file at path (its @include files are read from its folder, as the
// main window reads them; an empty path reads them from the working folder) and gives every
// problem, by line and then by column. The marks speak for the editors chosen, or when that is
// 0, as the main window's do for a file it opens (see aimCheck). With a game, a class it does
// not link is marked too.
QList<Finding> checkFileContents(const FgdContents& contents, const QString& path,
                                 fgd::Editors chosen = 0, const game::GameClasses* game = nullptr);

} // namespace model
