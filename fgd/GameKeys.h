#pragma once

#include "Findings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace fgd {

// The keys the game's code reads of each entity, as the whole-list check asks them: known only
// for the entities whose C++ code could be followed (the game's source, not its library), and
// for those it says which keys a class's KeyValue() chain compares. A class it says nothing of
// is not judged.
struct EntityKeys {
    QSet<QString> exact;   // compared in their case
    QSet<QString> anyCase; // compared in any case, in lower case
    QString cppClass;
};

class GameKeys {
public:
    // entities: by class name; engineFields: the keys the engine fills itself for every entity
    // (the game's gEntvarsDescription), and everyEntity: those its DispatchKeyValue reads for
    // every entity; both compared in any case.
    void set(const QHash<QString, EntityKeys>& entities, const QStringList& engineFields,
             const QStringList& everyEntity);
    bool known() const { return !m_entities.isEmpty(); }
    bool judges(const QString& entity) const { return m_entities.contains(entity); }

    // What is wrong with key, declared by a placeable class entity (solid: a @SolidClass): a
    // key-case or key-unread problem at line and column, or nothing. from names the base class
    // that gives the key, or is empty for the class's own.
    std::optional<Problem> judge(const QString& entity, bool solid, const QString& key, int line,
                                 qsizetype column) const;

    // The one problem on a class's name for the keys its bases give it that no code reads:
    // unread holds "key (from Base)" texts.
    Problem inherited(const QString& entity, const QStringList& unread, int line,
                      qsizetype column) const;

private:
    // Read however the code reads it: by the engine, for every entity, or by the class.
    bool isRead(const EntityKeys& keys, const QString& key) const;

    QHash<QString, EntityKeys> m_entities;
    QSet<QString> m_everyEntity; // lower case
};

} // namespace fgd
