#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

// fgd-composer --compose: FGD declarations composed from a mod's game code for the classes it
// links that the given files do not declare (see game/Compose.h), without a window.

struct ComposeOptions {
    QString game;      // the folder of the mod's game code
    QStringList files; // the FGD files whose declarations (and @includes') count; - is stdin
    QString output;    // the file to save the declarations to; empty: standard output
};

// Composes, writes the declarations to out (standard output: the lines as a saved file holds
// them, Windows-1252 with CR LF) or to options.output (a whole file, saved as the main window
// saves one), and what was skipped and how many were composed to err. Returns 0, or 2 when the
// game, a file or the output cannot be read or written.
int runCompose(const ComposeOptions& options, QIODevice& out, QIODevice& err);
