#include "CheckTargets.h"

#include <QStringList>

namespace fgd {

namespace {

// What each construct that only some editors read is called in the note on a file written for
// one editor.
QString constructName(const Rule* rule) {
    if (rule == &Rules::DescriptionHelpText)
        return QStringLiteral("help texts after a description");
    if (rule == &Rules::ChoiceHelpText)
        return QStringLiteral("help texts after a choice's label");
    return QStringLiteral("model expressions in { }");
}

} // namespace

void CheckTargets::set(Editors targets, Editors writtenFor, const QString& evidence) {
    m_targets = targets;
    m_writtenFor = writtenFor;
    m_evidence = evidence;
}

Editors CheckTargets::onlyReadBy() const {
    if (m_onlyIn.isEmpty())
        return 0;
    Editors readers = AllEditors;
    for (const OnlyIn& line : m_onlyIn)
        readers &= line.editors;
    return readers;
}

void CheckTargets::recordOnlyIn(const Problem& problem) {
    const auto found = m_onlyIn.find(problem.line);
    if (found == m_onlyIn.end()) {
        m_onlyIn.insert(problem.line, {problem.onlyIn, {problem.rule}});
        return;
    }
    found->editors &= problem.onlyIn;
    found->rules.insert(problem.rule);
}

bool CheckTargets::forgetFrom(int line) {
    const auto from = m_onlyIn.lowerBound(line);
    const bool any = from != m_onlyIn.end();
    m_onlyIn.erase(from, m_onlyIn.end());
    return any;
}

std::optional<Problem> CheckTargets::writtenForNote(int line) const {
    if (m_writtenFor == 0 || line != noteLine())
        return std::nullopt;
    QMap<QString, int> constructs; // how many lines use each
    for (const OnlyIn& onlyIn : m_onlyIn) {
        QSet<QString> names;
        for (const Rule* rule : onlyIn.rules)
            names.insert(constructName(rule));
        for (const QString& name : std::as_const(names))
            ++constructs[name];
    }
    const QString editor = editorNames(m_writtenFor);
    QString reason = QStringLiteral("this file is written for %1").arg(editor);
    if (!m_evidence.isEmpty())
        reason += QStringLiteral(" (%1)").arg(m_evidence);
    if (!constructs.isEmpty()) {
        QStringList why;
        for (auto i = constructs.cbegin(); i != constructs.cend(); ++i)
            why << QStringLiteral("%1 (%2 %3)")
                       .arg(i.key())
                       .arg(i.value())
                       .arg(i.value() == 1 ? QStringLiteral("line") : QStringLiteral("lines"));
        reason += QStringLiteral(": %1 refuse it for its %2")
                      .arg(editorNames(AllEditors & ~m_writtenFor), why.join(QStringLiteral(", ")));
    }
    reason += QStringLiteral("; the marks speak for %1 only").arg(editor);
    return Problem{line, 0, Severity::Warning, &Rules::WrittenFor, reason};
}

} // namespace fgd
