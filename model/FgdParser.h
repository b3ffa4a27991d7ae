#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace model::fgd {

// What the parser found in one top-level item (a declaration, an @include, a stray token): the
// lines its reading depends on and its first problem. lastLine is the furthest line the reading
// looked at, past the lines' end when it ran out of them: a change there may change the item.
struct SyntaxItem {
    int firstLine = 0;
    int lastLine = 0;
    int problemLine = -1; // -1: no problem
    QString problem;
};

// Reads lines[from..] as FGD source the way the level editors read it, one top-level item after
// another, and reports each item. Lines must start at a top-level boundary.
void checkFgdSyntax(const QStringList& lines, int from,
                    const std::function<void(const SyntaxItem&)>& report);

} // namespace model::fgd
