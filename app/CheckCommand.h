#pragma once

#include "fgd/Editors.h"

#include <QIODevice>
#include <QStringList>

// fgd-composer --check: checks FGD files as the main window does when it opens them, without a
// window, and reports each problem where compilers report theirs, for terminals, text editors
// and continuous integration.

enum class CheckFormat {
    Text,  // FILE:LINE:COLUMN: error|warning|note: reason, one finding a line, as GCC prints
    Sarif, // one SARIF 2.1.0 log, as code scanning services take it
};

// What the command line asks of the check. The class names of a particular game are a choice of
// the check too: its option joins these.
struct CheckOptions {
    QStringList files; // in the order given; "-" is standard input
    CheckFormat format = CheckFormat::Text;
    bool warningsAsErrors = false;
    // The editors the findings speak for; 0: for each file, those it is written for, as the
    // main window takes them when it opens the file.
    fgd::Editors editors = 0;
    // The liblist.gam, server library or source folder whose linked class names the files are
    // checked against; empty: for each file, the liblist.gam of its folder or above, if any.
    QString game;
    // With game: also list the classes the game links that no file declares.
    bool undeclared = false;
};

// The check's exit statuses.
namespace CheckStatus {
constexpr int Clean = 0;      // no file has an error (warnings allowed)
constexpr int Errors = 1;     // a file has an error
constexpr int Unreadable = 2; // a file or the given game could not be read
constexpr int Usage = 2;      // the command line is wrong (the status command-line tools give)
} // namespace CheckStatus

// Checks every file, writes the findings to out (standard output) and what cannot be read, and
// notes, to err (standard error), and returns the exit status.
int runCheck(const CheckOptions& options, QIODevice& out, QIODevice& err);
