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

// The linked name an unlinked one most likely meant: the one linked name it begins with, or that
// begins with it (a class renamed in the code, monster_satchelcharge for monster_satchel); else
// a slip of one key. Two keys away the guess is more often another class (env_state is not
// env_shake), so none is made.
QString GameLinks::renamed(const QString& name) const {
    QString only;
    for (const QString& linked : m_linked) {
        if (!name.startsWith(linked) && !linked.startsWith(name))
            continue;
        if (!only.isEmpty())
            return nearest(name, m_names, 1); // several: none is the one
        only = linked;
    }
    return only.isEmpty() ? nearest(name, m_names, 1) : only;
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
    } else if (const QString near = renamed(name); !near.isEmpty()) {
        reason += QStringLiteral(" (the nearest name it links: %1)").arg(near);
    }
    return Problem{line, column, Severity::Warning, &Rules::GameUnlinked, reason};
}

} // namespace fgd
