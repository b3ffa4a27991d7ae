// Opens FGD files and checks them as the main window does, and prints each mark:
//   path:line: error|warning: reason
// then one line per file with its counts and the time to open and check it. With --summary,
// only those lines. bench/corpus.py runs it over a folder of real files and copies of them
// with slips in them.

#include "fgd/ListCheck.h"
#include "model/FgdReader.h"
#include "model/IncludedClasses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    const bool summary = paths.removeAll(QStringLiteral("--summary")) > 0;
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
        fgd::ListCheck check;
        check.setIncludeReader(model::includedClassesFrom(QFileInfo(path).absolutePath()));
        check.checkAll(read.contents.lines);
        QStringList marks;
        int errors = 0, warnings = 0;
        for (int line = 0; line < check.count(); ++line) {
            const fgd::Verdict verdict = check.verdict(line);
            if (verdict.severity == fgd::Severity::None)
                continue;
            const bool error = verdict.severity == fgd::Severity::Error;
            ++(error ? errors : warnings);
            marks.append(QStringLiteral("%1:%2: %3: %4")
                             .arg(path)
                             .arg(line + 1)
                             .arg(error ? "error" : "warning",
                                  QString(verdict.reason).replace(u'\n', u';')));
        }
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!summary) {
            for (const QString& mark : std::as_const(marks))
                std::printf("%s\n", qPrintable(mark));
        }
        std::printf("%s: %d errors, %d warnings, %d lines, %.2f ms\n", qPrintable(path), errors,
                    warnings, check.count(), ms);
    }
    return status;
}
