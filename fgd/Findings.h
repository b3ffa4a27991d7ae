#pragma once

#include "Editors.h"
#include "Rules.h"

#include <QList>
#include <QString>

// What the check finds, from the parser up to the list view: each problem on its line, and a
// line's verdict made of all of them.

namespace fgd {

// One problem, on the line (counted from 0 in the lines checked) where it is, at the column
// (counted from 0 in that line) where its token starts; column 0 where the whole line is meant.
struct Problem {
    int line = 0;
    qsizetype column = 0;
    Severity severity = Severity::Error;
    // The kind of problem (see Rules.h).
    const Rule* rule = nullptr;
    QString reason;
    // The editors it holds for: a check that speaks for none of them does not report it.
    Editors editors = AllEditors;
    // For a construct only some editors read (the others refuse it): those editors. A file that
    // uses it was written for them.
    Editors onlyIn = 0;
};

// What the check says of one line: the most serious kind of its problems, and their reasons,
// most serious first, one to a line of text.
struct Verdict {
    Severity severity = Severity::None;
    QString reason;
    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// A line's problems as one verdict: the most serious first, in the order found within a kind.
Verdict compose(QList<Problem> problems);

// The kind of a problem as a word, "error", "warning" or "note"; empty for Severity::None.
inline QString severityName(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error");
    case Severity::Warning:
        return QStringLiteral("warning");
    case Severity::Note:
        return QStringLiteral("note");
    case Severity::None:
        break;
    }
    return QString();
}

// The verdict as a sentence that names its kind first, "Error: ...", "Note: ...", as a
// screen reader speaks a mark; empty for a line without problems.
inline QString describe(const Verdict& verdict) {
    QString kind = severityName(verdict.severity);
    if (kind.isEmpty())
        return kind;
    kind[0] = kind[0].toUpper();
    return kind + QStringLiteral(": ") + verdict.reason;
}

} // namespace fgd
