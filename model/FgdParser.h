#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace model {

// How serious a problem is, in order. An error: an editor refuses the file, or reads something
// other than what is written. A warning: every editor loads it, but it cannot work as meant.
enum class Severity { None, Warning, Error };

namespace fgd {

struct Problem {
    int line = 0;
    Severity severity = Severity::Error;
    QString reason;
};

// A class named in base(...), and the line where it is named.
struct BaseUse {
    int line = 0;
    QString name;
};

// What the parser found in one top-level item (a declaration, an @include, a stray token): the
// lines its reading depends on, its problems, and what it declares and refers to. lastLine is
// the furthest line the reading looked at, past the lines' end when it ran out of them: a change
// there may change the item.
struct SyntaxItem {
    int firstLine = 0;
    int lastLine = 0;
    QList<Problem> problems;
    QString declared;     // the class name a declaration gives, or empty
    QList<BaseUse> bases; // the classes it names in base(...)
    QString include;      // the file an @include names, or empty
};

// Reads lines[from..] as FGD source the way the level editors read it, one top-level item after
// another, and reports each item. Lines must start at a top-level boundary. Reading goes on after
// a problem from the next place the declaration can be read again, so every problem is found.
void checkFgdSyntax(const QStringList& lines, int from,
                    const std::function<void(const SyntaxItem&)>& report);

} // namespace fgd
} // namespace model
