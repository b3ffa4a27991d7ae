#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace model::detail {

// What the syntax check found in one top-level item (a declaration, @include, a stray token):
// the lines it spans, whether the lines ran out before it was complete, and its first problem.
struct SyntaxItem {
    int firstLine = 0;
    int lastLine = 0;
    bool open = false;    // the lines ended inside it: a later line may complete it
    int problemLine = -1; // -1: no problem
    QString problem;
};

// Reads lines[from..] as FGD source the way the level editors read it, one top-level item
// after another, and reports each item. Lines must start at a top-level boundary.
void CheckFgdSyntax(const QStringList& lines, int from,
                    const std::function<void(const SyntaxItem&)>& report);

} // namespace model::detail
