#include "FileCheck.h"

#include "EditorTargets.h"
#include "IncludedClasses.h"

#include "fgd/ListCheck.h"
#include <QDir>
#include <QFileInfo>

namespace model {

QList<Finding> checkFileContents(const FgdContents& contents, const QString& path,
                                 fgd::Editors chosen, const game::GameClasses* game) {
    fgd::ListCheck check;
    if (game)
        check.setGame(game->names, QDir::toNativeSeparators(game->source));
    check.setIncludeReader(
        includedClassesFrom(path.isEmpty() ? QDir::currentPath() : QFileInfo(path).absolutePath()));
    check.checkAll(contents.lines);
    aimCheck(check, chosen, path);
    // The definition lines start below the frame's header in a file this program saved.
    const int firstLine = 1 + (contents.modInfo ? int(frameHeader(*contents.modInfo).size()) : 0);
    QList<Finding> findings;
    for (int line = 0; line < check.count(); ++line) {
        for (const fgd::Problem& problem : check.problems(line)) {
            findings.append({firstLine + line, problem.column + 1, problem.severity, problem.rule,
                             problem.reason});
        }
    }
    return findings;
}

} // namespace model
