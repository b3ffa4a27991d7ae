#pragma once

#include "Findings.h"
#include "Parser.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>

namespace fgd {

// The classes a list declares and names as bases, and what its @includes declare: where each
// name is declared, which lines name it as a base and the bases of each declaration, so that a
// base can be judged declared, declared only below its use, or part of a circle, and a class
// declared twice found. Built as the parser reports the list's items, in order, and taken back
// from a line on when lines change.
class DeclarationIndex {
public:
    // Answers for an @include: the class names the file it names declares (its own @includes
    // followed), or nothing when it cannot be read, with the reason (no reason: the lines came
    // from no file, so there is no folder to read from). The check reads no file itself.
    // A @PointClass or @SolidClass an included file declares: its name, that file's path, and
    // its line and column as the file is written, from 1.
    struct IncludedClass {
        QString name;
        QString file;
        int line = 0;
        qsizetype column = 0;
    };
    struct Included {
        std::optional<QStringList> names;
        QString error;
        QList<IncludedClass> placeable = {}; // of the files included, their own includes too
    };
    using IncludeReader = std::function<Included(const QString& name)>;
    void setIncludeReader(IncludeReader reader);
    Included included(const QString& file) const { return m_included.value(file); }

    // What a change did that lines above it may depend on: names used as a base whose first
    // declaration came or whose last one went, whether the included files changed, whether a
    // class named as a base changed its own bases, and the first line of another declaration
    // of a name declared or taken away.
    struct Changes {
        QSet<QString> names;
        bool includes = false;
        bool hierarchy = false;
        int line = INT_MAX;
    };

    void clear();
    // Adds what an item declares, names as bases and @includes.
    void add(const ParsedItem& item, Changes& touched);
    // Takes back, item by item from the last, what the items being read again added: the name an
    // item declared and the file it included; then every base named and class declared from
    // line on.
    void removeDeclared(const QString& name, Changes& touched);
    void removeInclude(const QString& file, Changes& touched);
    void removeFrom(int line, Changes& touched);

    // The problems of the bases named on line: not declared (once every @include is read), its
    // own base through a circle, declared only below.
    void baseProblems(int line, QList<Problem>& problems) const;

    // A class declared on a line, its bases in the order named, and its key-values (kept only
    // while keys are tracked).
    struct Declared : BaseUse {
        bool placeable = false; // a @PointClass or @SolidClass
        qsizetype firstBase = 0;
        qsizetype baseCount = 0;
        bool solid = false; // a @SolidClass (known while keys are tracked)
        qsizetype firstKey = 0;
        qsizetype keyCount = 0;
        // Its studio() or model() helper and its size() (kept only while keys are tracked):
        // hasModel when it has a model helper; model, the path it names (empty when it names
        // none the game can be asked about); size, size()'s points as written.
        bool hasModel = false;
        QString model = {};
        QStringList size = {};
    };
    // A key-value a declaration gives, where its name stands, and the declaration (in
    // declaration order: an index that stays while the declaration does).
    struct KeyUse {
        QString name;
        int line = 0;
        qsizetype column = 0;
        qsizetype owner = 0;
    };
    // Whether the key-values of the declarations are kept (the items must then be read with
    // their details): the game's code judges them. A base class read again then repaints the
    // classes below that name it, since the keys they inherit may have changed.
    void trackKeys(bool track) { m_trackKeys = track; }
    // Calls found for each key-value declared on line, with its declaration.
    template <typename Found> void forEachKeyOn(int line, Found found) const {
        auto key = std::lower_bound(m_keys.cbegin(), m_keys.cend(), line,
                                    [](const KeyUse& k, int at) { return k.line < at; });
        for (; key != m_keys.cend() && key->line == line; ++key)
            found(*key, m_classes.at(key->owner));
    }
    // The key-values a class inherits through its bases and does not declare itself, each once
    // with the base that gives it, in the order the walk of its bases reaches them.
    QList<std::pair<QString, QString>> inheritedKeys(const Declared& declared) const;
    // The names of all key-values a class declares and inherits, in lower case.
    QSet<QString> keyNames(const Declared& declared) const;
    // The model and size a class is drawn with: its own helper's, else the first its bases
    // give, in the order the walk of its bases reaches them; model is nothing when no model
    // helper gives one.
    std::optional<QString> modelOf(const Declared& declared) const;
    QStringList sizeOf(const Declared& declared) const;
    // Calls found for each declaration of name, in the order written.
    template <typename Found> void forEachDeclarationOf(const QString& name, Found found) const {
        const auto names = m_names.constFind(name);
        if (names == m_names.cend())
            return;
        int previous = -1;
        for (const int line : names->declared) {
            if (line == previous)
                continue; // two declarations on one line: both are found at its first
            previous = line;
            forEachDeclaredOn(line, [&](const Declared& declared) {
                if (declared.name == name)
                    found(declared);
            });
        }
    }
    // Calls found for each class declared on line.
    template <typename Found> void forEachDeclaredOn(int line, Found found) const {
        auto declared = std::lower_bound(m_classes.cbegin(), m_classes.cend(), line,
                                         [](const Declared& d, int at) { return d.line < at; });
        for (; declared != m_classes.cend() && declared->line == line; ++declared)
            found(*declared);
    }
    bool anyDeclaredTwice() const { return m_twice > 0; }
    // The warning on a declaration of a name declared more than once, or nothing.
    std::optional<Problem> declaredTwice(const Declared& declared) const;

    // The first line that names a base, or that names name as a base; INT_MAX when none does.
    int firstBaseLine() const { return m_bases.isEmpty() ? INT_MAX : m_bases.constFirst().line; }
    int firstUseAsBase(const QString& name) const;

private:
    bool isDeclared(const QString& name) const;
    bool namedAsBase(const QString& name) const;
    // Whether every declaration of name is below line (and no @include declares it).
    bool declaredOnlyBelow(const QString& name, int line) const;
    bool inCycle(const QString& owner, const QString& base) const;
    QList<QString> basesOf(const QString& name) const; // the bases its declarations name
    bool includesKnown() const { return m_unreadIncludes == 0; }
    template <typename Has> const Declared* firstWith(const Declared& declared, Has has) const;

    QList<BaseUse> m_bases;      // in the order of their lines
    QList<QString> m_baseOwners; // the class naming each of m_bases
    QList<Declared> m_classes;   // the names declared, by line
    QList<KeyUse> m_keys;        // their key-values, by line, while keys are tracked
    bool m_trackKeys = false;
    struct Name {
        QList<int> declared; // the lines declaring it
        QList<int> asBase;   // the lines naming it as a base, in order
    };
    QHash<QString, Name> m_names;        // each name declared or named as a base, in one look-up
    int m_twice = 0;                     // names declared more than once
    QHash<QString, int> m_includes;      // how many items @include each file
    QHash<QString, Included> m_included; // what each included file declares
    QSet<QString> m_includedNames;
    int m_unreadIncludes = 0;
    IncludeReader m_readInclude;
};

} // namespace fgd
