#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace fgd {

// What FGD declarations declare, as data: for a list's @PointClass, @SolidClass and @BaseClass
// declarations, their helpers, key-values and flags, each where it is written, and for each class
// what it inherits through its bases. Read by the same parser as the check (Parser.h); a
// declaration the editors refuse is still given with what could be read of it.

enum class ClassKind { Point, Solid, Base };

// Where something is written: its line (from 0, in the lines read) and column.
struct Place {
    int line = 0;
    qsizetype column = 0;
};

// A helper before the =, such as size(-16 -16 0, 16 16 36) or studio("models/can.mdl"): its name
// as written and its arguments split at the commas, each the words, numbers and texts (without
// their quotes) between two commas joined with one space: {"-16 -16 0", "16 16 36"}. A helper
// written without parentheses has no arguments.
struct Helper {
    QString name;
    QStringList arguments;
    Place place;
};

// One choice of a choices key-value: its value as written (a text without its quotes) and label.
struct Choice {
    QString value;
    QString label;
};

// One key-value: name(type) : "Label" : default, with its choices.
struct KeyValue {
    QString name; // as written: the game compares key names exactly
    QString type; // as written; the editors read it in any case
    QString label;
    std::optional<QString> defaultValue; // as written, a text without its quotes
    QList<Choice> choices;
    Place place; // of its name
};

// One flag of a flags key-value: 1 : "Start On" : 0.
struct Flag {
    qint64 bit = 0;
    QString label;
    bool setByDefault = false;
    int line = 0;
};

struct Declaration {
    ClassKind kind = ClassKind::Point;
    QString name;
    Place place; // of its name
    QString description;
    QList<Helper> helpers; // in the order given, base(...) among them
    QStringList bases;     // the classes its base(...) helpers name, in order
    QList<KeyValue> keys;  // in the order declared, a flags key-value among them
    QList<Flag> flags;
};

// The declarations lines hold, in their order.
QList<Declaration> readDeclarations(const QStringList& lines);

// Walks the bases of the class named start, depth first, each class once, asking basesOf(name)
// for the bases of each; visit(name) is called for every class reached. Returns whether the walk
// comes back to start: the class is its own base through a circle.
template <typename BasesOf, typename Visit>
bool walkBases(const QString& start, BasesOf basesOf, Visit visit) {
    QSet<QString> seen;
    QList<QString> next;
    for (const QString& base : basesOf(start))
        next.prepend(base);
    bool circle = false;
    while (!next.isEmpty()) {
        const QString name = next.takeLast();
        if (name == start) {
            circle = true;
            continue;
        }
        if (seen.contains(name))
            continue;
        seen.insert(name);
        visit(name);
        const QList<QString> bases = basesOf(name);
        for (auto base = bases.crbegin(); base != bases.crend(); ++base)
            next.append(*base);
    }
    return circle;
}

// A class with what it inherits: its own key-values and flags, then those of each class its
// bases reach, in the order the walk reaches them (base(A, B): A, what A inherits, B, ...). A
// key-value name, or a flag bit, given more than once counts once, where it comes first: the
// class's own over a base's, an earlier base's over a later one's.
struct ResolvedClass {
    const Declaration* declaration = nullptr;
    QList<KeyValue> keys;
    QList<Flag> flags;
    QStringList undeclaredBases; // named in base(...) somewhere up the line, declared nowhere
    bool inCycle = false;        // its own base through a circle
};

// Each class declared in declarations, by name, with what it inherits. The last declaration of
// a name counts, as the editors keep the later one; a base is looked for among all of them.
QHash<QString, ResolvedClass> resolveClasses(const QList<Declaration>& declarations);

} // namespace fgd
