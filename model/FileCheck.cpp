#include "FileCheck.h"

namespace model {

QList<Finding> checkFileContents(const FgdContents& contents, const Surroundings& around,
                                 fgd::Editors chosen, const game::GameClasses* game) {
    fgd::ListCheck check;
    checkAgainstGame(check, game);
    checkInSurroundings(check, contents.lines, around, chosen);
    // The definition lines start below the frame's header in a file this program saved.
    const int firstLine = 1 + (contents.modInfo ? int(frameHeader(*contents.modInfo).size()) : 0);
    QList<Finding> findings;
    for (int line = 0; line < check.count(); ++line) {
        for (const fgd::Problem& problem : check.problems(line)) {
            findings.append({firstLine + line, problem.column + 1, problem.severity, problem.rule,
                             problem.reason});
        }
    }
    // Classes the included files declare that the game does not link, in their own files.
    for (const fgd::ListCheck::IncludedProblem& included : check.includedUnlinked()) {
        findings.append({included.declared.line, included.declared.column,
                         included.problem.severity, included.problem.rule, included.problem.reason,
                         included.declared.file});
    }
    return findings;
}

} // namespace model
