#pragma once

#include "Editors.h"
#include "Findings.h"

#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

namespace fgd {

// The editors a whole-list check speaks for, and what the list itself says of them: the lines
// that use a construct only some editors read (a help text after a description, a model
// expression in { }), from which a file is found to be written for one editor, and the note
// that says so on such a file.
class CheckTargets {
public:
    // targets: the editors the marks speak for. writtenFor: the one editor a file was found to be
    // written for, and why (evidence, when more than its own lines show it); 0 when the user
    // chose the targets.
    void set(Editors targets, Editors writtenFor = 0, const QString& evidence = {});
    Editors targets() const { return m_targets; }
    Editors writtenFor() const { return m_writtenFor; }

    // The editors that read every construct the lines use that only some editors read: 0 when
    // the lines use none, or constructs of editors that refuse each other's.
    Editors onlyReadBy() const;

    // Records a problem of a construct only some editors read (problem.onlyIn is not 0).
    void recordOnlyIn(const Problem& problem);
    // Forgets what was recorded from line on; whether anything was.
    bool forgetFrom(int line);
    qsizetype recordedLines() const { return m_onlyIn.size(); }
    // The line the note on a file written for one editor stands on: its first line that only
    // that editor reads, or its first line.
    int noteLine() const { return m_onlyIn.isEmpty() ? 0 : m_onlyIn.firstKey(); }

    // On a file taken as written for one editor, on its note line: which editors refuse it and
    // why, and that the marks speak for that editor only.
    std::optional<Problem> writtenForNote(int line) const;

private:
    struct OnlyIn {
        Editors editors = 0;     // the editors that read every such construct on the line
        QSet<const Rule*> rules; // which constructs
    };
    QMap<int, OnlyIn> m_onlyIn; // by line
    Editors m_targets = AllEditors;
    Editors m_writtenFor = 0;
    QString m_evidence;
};

} // namespace fgd
