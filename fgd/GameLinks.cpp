#include "GameLinks.h"

#include "Vocabulary.h"

namespace fgd {

void GameLinks::set(const QStringList& linked, const QString& source) {
    m_source = source;
    m_linked = QSet<QString>(linked.cbegin(), linked.cend());
    m_byCase.clear();
    for (const QString& name : linked)
        m_byCase.insert(name.toLower(), name);
    m_names = linked.join(u' ');
}

std::optional<Problem> GameLinks::unlinked(const QString& name, int line, qsizetype column,
                                           bool placeable) const {
    if (m_source.isEmpty() || !placeable || m_linked.contains(name) ||
        isListed(name, CompilerClasses))
        return std::nullopt;
    QString reason = QStringLiteral("no code in %1 links %2: the editor shows the entity, but "
                                    "the game never spawns it")
                         .arg(m_source, name);
    if (const QString same = m_byCase.value(name.toLower()); !same.isEmpty()) {
        reason += QStringLiteral(" (the game links %1: only the case differs, and Half-Life "
                                 "compares class names exactly)")
                      .arg(same);
    } else if (const QString near = nearest(name, m_names); !near.isEmpty()) {
        reason += QStringLiteral(" (the nearest name it links: %1)").arg(near);
    }
    return Problem{line, column, Severity::Warning, &Rules::GameUnlinked, reason};
}

} // namespace fgd
