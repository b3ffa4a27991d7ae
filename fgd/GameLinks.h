#pragma once

#include "Findings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace fgd {

// The class names a game links, as the whole-list check asks them: Half-Life spawns an entity by
// looking its class name up, in the same case, among the names its game code links, and drops a
// class it does not find when the map loads.
class GameLinks {
public:
    // The names the game links, and the library or source folder they were read from (as the
    // reason names it). An empty source means no game is known, and no class is checked.
    void set(const QStringList& linked, const QString& source);
    const QString& source() const { return m_source; }
    bool known() const { return !m_source.isEmpty(); }

    // The warning for a class declared at line and column that the game does not link: only a
    // placeable class (@PointClass, @SolidClass) that the map compilers do not take out.
    std::optional<Problem> unlinked(const QString& name, int line, qsizetype column,
                                    bool placeable) const;

private:
    QString renamed(const QString& name) const;

    QString m_source;
    QSet<QString> m_linked;
    QHash<QString, QString> m_byCase; // each linked name by its lowercase form
    QString m_names;                  // all of them, one space between each
};

} // namespace fgd
