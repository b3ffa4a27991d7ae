#pragma once

#include "Findings.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace fgd {

// What the game's C++ code says of the entities it links, as the whole-list check asks it:
// known only for entities whose code could be followed (the game's source, not its library).
// Each rule speaks only of what is known: a class it knows nothing of is not judged.

// A box around an entity's origin.
struct Box {
    std::array<double, 3> min{};
    std::array<double, 3> max{};
    friend bool operator==(const Box&, const Box&) = default;
};

// A box as size() writes it: "-16 -16 0, 16 16 72".
QString boxText(const Box& box);

struct EntityCode {
    QSet<QString> exact;   // the keys its KeyValue() chain compares in their case
    QSet<QString> anyCase; // those it compares in any case, in lower case
    QString cppClass;
    bool keysKnown = false; // whether the chain could be followed (exact and anyCase hold)
    // The keys its C++ class's own KeyValue() reads and keeps, as written: those a declaration
    // of the class should offer a mapper.
    QStringList ownKeys = {};
    QString model = {};           // the model its Spawn() sets when the map names none
    std::optional<Box> hull = {}; // the one constant box its Spawn() gives it
};

class GameEntities {
public:
    // entities: by class name; engineFields: the keys the engine fills itself for every entity
    // (the game's gEntvarsDescription), and everyEntity: those its DispatchKeyValue reads for
    // every entity; both compared in any case.
    void set(const QHash<QString, EntityCode>& entities, const QStringList& engineFields,
             const QStringList& everyEntity);
    bool known() const { return !m_entities.isEmpty(); }
    // Whether the keys of entity can be judged.
    bool judges(const QString& entity) const {
        const auto found = m_entities.constFind(entity);
        return found != m_entities.cend() && found->keysKnown;
    }

    // What is wrong with key, declared by a placeable class entity (solid: a @SolidClass): a
    // key-case or key-unread problem at line and column, or nothing.
    std::optional<Problem> judge(const QString& entity, bool solid, const QString& key, int line,
                                 qsizetype column) const;

    // The one problem on a class's name for the keys its bases give it that no code reads:
    // unread holds "key (from Base)" texts.
    Problem inherited(const QString& entity, const QStringList& unread, int line,
                      qsizetype column) const;

    // The keys entity's own KeyValue() reads that declared (the declaration's keys, its bases'
    // and those of the other declared classes on the same C++ class, in lower case) lacks: a
    // key-undeclared note, or nothing.
    std::optional<Problem> undeclaredKeys(const QString& entity, const QSet<QString>& declared,
                                          int line, qsizetype column) const;
    // The class names linked to the same C++ class as entity, but entity.
    QStringList sameClassAs(const QString& entity) const;

    // A declaration's model (from studio() or model()), against the code's: a model-differs
    // warning, or nothing.
    std::optional<Problem> modelProblem(const QString& entity, const QString& model, int line,
                                        qsizetype column) const;
    // A declaration's size() points (one or two "x y z" texts), against the code's hull: a
    // size-differs note when the box does not hold the hull, or nothing.
    std::optional<Problem> sizeProblem(const QString& entity, const QStringList& size, int line,
                                       qsizetype column) const;

private:
    // Read however the code reads it: by the engine, for every entity, or by the class.
    bool isRead(const EntityCode& keys, const QString& key) const;

    QHash<QString, EntityCode> m_entities;
    QHash<QString, QStringList> m_byClass; // the class names of each C++ class
    QSet<QString> m_everyEntity;           // lower case
};

} // namespace fgd
