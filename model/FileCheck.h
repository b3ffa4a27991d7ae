#pragma once

#include "FileFrame.h"
#include "Surroundings.h"
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
    QString file = {}; // for a finding in a file the checked one @includes: its path; else empty
};

// Checks the contents of a file in its surroundings, as the main window checks a file it opens,
// and gives every problem, by line and then by column. The marks speak for the editors chosen,
// or when that is 0, for those the file is written for (see checkInSurroundings). With a game,
// a class it does not link is marked too.
QList<Finding> checkFileContents(const FgdContents& contents, const Surroundings& around,
                                 fgd::Editors chosen = 0, const game::GameClasses* game = nullptr);

} // namespace model
