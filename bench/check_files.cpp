// Opens FGD files and checks them as the main window does, and prints each finding at its line
// in the file:
//   path:line: error|warning: reason
// then one line per file with its counts and the time to open and check it. With --summary,
// only those lines; with --all-editors, the findings speak for every editor, as a new list's
// do, not for the one a file is written for. bench/corpus.py runs it over a folder of real files
// and copies of them with slips in them.

#include "model/FgdReader.h"
#include "model/FileCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    const bool summary = paths.removeAll(QStringLiteral("--summary")) > 0;
    const fgd::Editors editors =
        paths.removeAll(QStringLiteral("--all-editors")) > 0 ? fgd::AllEditors : 0;
    int status = 0;
    for (const QString& path : std::as_const(paths)) {
        QElapsedTimer timer;
        timer.start();
        const model::ReadResult read = model::readFgdFile(path);
        if (!read.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(read.error));
            status = 1;
            continue;
        }
        const QList<model::Finding> findings =
            model::checkFileContents(read.contents, model::Surroundings::ofFile(path), editors);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        int errors = 0, warnings = 0;
        for (const model::Finding& finding : findings) {
            ++(finding.severity == fgd::Severity::Error ? errors : warnings);
            if (!summary) {
                std::printf("%s:%d: %s: %s\n", qPrintable(path), finding.line,
                            qPrintable(fgd::severityName(finding.severity)),
                            qPrintable(finding.reason));
            }
        }
        std::printf("%s: %d errors, %d warnings, %lld lines, %.2f ms\n", qPrintable(path), errors,
                    warnings, static_cast<long long>(read.contents.lines.size()), ms);
    }
    return status;
}
