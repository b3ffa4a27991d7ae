#pragma once

#include "Declarations.h"
#include "Findings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace fgd {

// A class named in base(...), and the line and column where it is named.
struct BaseUse {
    int line = 0;
    qsizetype column = 0;
    QString name;
};

// What the parser found in one top-level item (a declaration, an @include, a stray token): the
// lines its reading depends on, its problems, and what it declares and refers to. lastLine is
// the furthest line the reading looked at, past the lines' end when it ran out of them: a change
// there may change the item.
struct ParsedItem {
    int firstLine = 0;
    int lastLine = 0;
    int endLine = 0; // the line of its last token: the item is written on firstLine..endLine
    bool declaration = false; // it starts with a class kind (@PointClass, a misspelt one, ...)
    QList<Problem> problems;
    QString declared; // the class name a declaration gives, or empty
    int declaredLine = 0;
    qsizetype declaredColumn = 0;
    bool placeable = false; // a @PointClass or @SolidClass: an entity a mapper places
    QList<BaseUse> bases;   // the classes it names in base(...)
    QString include;        // the file an @include names, or empty
    Declaration details;    // all a declaration declares, when parseItems is asked for it
};

// Reads lines[from..] as FGD source the way the level editors read it, one top-level item after
// another, and reports each item. Lines must start at a top-level boundary. Reading goes on after
// a problem from the next place the declaration can be read again, so every problem is found.
// With details, each declaration's details are filled in too (the check needs only what the
// item itself holds, and reads faster without them).
void parseItems(const QStringList& lines, int from,
                const std::function<void(const ParsedItem&)>& report, bool details = false);

} // namespace fgd
