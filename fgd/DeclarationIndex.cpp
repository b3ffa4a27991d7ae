#include "DeclarationIndex.h"

#include <utility>

namespace fgd {

namespace {

QString undeclaredBase(const QString& name) {
    return QStringLiteral("no @BaseClass = %1 is declared in this list or a file it "
                          "@includes, in the same case: the entity gets none of that base's "
                          "key-values (TrenchBroom logs an error and loads the class without "
                          "them; Hammer drops the class)")
        .arg(name);
}

const auto byLine = [](const BaseUse& a, const BaseUse& b) {
    return a.line < b.line;
};

} // namespace

void DeclarationIndex::setIncludeReader(IncludeReader reader) {
    m_readInclude = std::move(reader);
    m_included.clear();
}

namespace {

// The model and size a declaration's helpers give it. The editors keep the last model helper
// and the last size(). A model helper reads its model from the entity's own model key when it
// names no path, and TrenchBroom's may choose one by the entity's keys: then there is nothing
// to compare.
void readShape(const Declaration& details, DeclarationIndex::Declared& declared) {
    for (const Helper& helper : details.helpers) {
        const QString name = helper.name.toLower();
        if (name == u"size") {
            declared.size = helper.arguments;
        } else if (name == u"studio" || name == u"model") {
            declared.hasModel = true;
            declared.model.clear();
            if (helper.arguments.size() == 1 && !helper.arguments[0].contains(u' '))
                declared.model = helper.arguments[0]; // studio("models/x.mdl")
            else if (name == u"model" && !helper.arguments.isEmpty() &&
                     helper.arguments[0].startsWith(u"path : ") &&
                     !helper.arguments[0].sliced(7).trimmed().contains(u' '))
                declared.model = helper.arguments[0].sliced(7).trimmed(); // {"path": "..."}
        }
    }
}

} // namespace

void DeclarationIndex::clear() {
    m_bases.clear();
    m_baseOwners.clear();
    m_twice = 0;
    m_classes.clear();
    m_keys.clear();
    m_names.clear();
    m_includes.clear();
    m_includedNames.clear();
    m_unreadIncludes = 0;
}

void DeclarationIndex::add(const ParsedItem& item, Changes& touched) {
    const qsizetype firstBase = m_bases.size();
    for (const BaseUse& use : item.bases) {
        m_bases.append(use);
        m_baseOwners.append(item.declared);
        m_names[use.name].asBase.append(use.line);
    }
    if (!item.declared.isEmpty()) {
        Name& name = m_names[item.declared];
        // A base whose bases changed, or whose keys may have, changes the classes that name it.
        touched.hierarchy |= (!item.bases.isEmpty() || m_trackKeys) && !name.asBase.isEmpty();
        const qsizetype firstKey = m_keys.size();
        if (m_trackKeys) {
            for (const KeyValue& key : item.details.keys)
                m_keys.append({key.name, key.place.line, key.place.column, m_classes.size()});
        }
        Declared declared{{item.declaredLine, item.declaredColumn, item.declared},
                          item.placeable,
                          firstBase,
                          item.bases.size(),
                          item.details.kind == ClassKind::Solid,
                          firstKey,
                          m_keys.size() - firstKey};
        if (m_trackKeys)
            readShape(item.details, declared);
        m_classes.append(std::move(declared));
        QList<int>& lines = name.declared;
        if (!lines.isEmpty())
            touched.line = std::min(touched.line, lines.constLast());
        else if (!name.asBase.isEmpty())
            touched.names.insert(item.declared);
        lines.append(item.declaredLine);
        m_twice += lines.size() == 2;
    }
    if (!item.include.isEmpty() && m_includes[item.include]++ == 0) {
        if (!m_included.contains(item.include))
            m_included.insert(item.include,
                              m_readInclude ? m_readInclude(item.include) : Included{});
        const std::optional<QStringList>& names = m_included.value(item.include).names;
        if (!names)
            ++m_unreadIncludes;
        for (const QString& name : names.value_or(QStringList()))
            m_includedNames.insert(name);
        touched.includes = true;
    }
}

void DeclarationIndex::removeDeclared(const QString& declaredName, Changes& touched) {
    const auto name = m_names.find(declaredName);
    QList<int>& declared = name->declared;
    m_twice -= declared.size() == 2;
    declared.removeLast();
    touched.hierarchy |= m_trackKeys && !name->asBase.isEmpty();
    if (!declared.isEmpty())
        touched.line = std::min(touched.line, declared.constLast());
    else if (!name->asBase.isEmpty())
        touched.names.insert(declaredName);
    else
        m_names.erase(name);
}

void DeclarationIndex::removeInclude(const QString& file, Changes& touched) {
    if (--m_includes[file] != 0)
        return;
    m_includes.remove(file);
    if (!m_included.value(file).names)
        --m_unreadIncludes;
    m_includedNames.clear();
    for (auto i = m_includes.cbegin(); i != m_includes.cend(); ++i) {
        for (const QString& name : m_included.value(i.key()).names.value_or(QStringList()))
            m_includedNames.insert(name);
    }
    touched.includes = true;
}

void DeclarationIndex::removeFrom(int line, Changes& touched) {
    while (!m_bases.isEmpty() && m_bases.constLast().line >= line) {
        const BaseUse use = m_bases.takeLast();
        const QString owner = m_baseOwners.takeLast();
        const auto name = m_names.find(use.name);
        name->asBase.removeLast();
        if (name->asBase.isEmpty() && name->declared.isEmpty())
            m_names.erase(name);
        if (!owner.isEmpty())
            touched.hierarchy |= namedAsBase(owner);
    }
    while (!m_classes.isEmpty() && m_classes.constLast().line >= line)
        m_classes.removeLast();
    while (!m_keys.isEmpty() && m_keys.constLast().line >= line)
        m_keys.removeLast();
}

void DeclarationIndex::baseProblems(int line, QList<Problem>& problems) const {
    const BaseUse here{line, 0, {}};
    const auto uses = std::equal_range(m_bases.cbegin(), m_bases.cend(), here, byLine);
    for (auto use = uses.first; use != uses.second; ++use) {
        if (!isDeclared(use->name)) {
            if (includesKnown())
                problems.append({line, use->column, Severity::Warning, &Rules::UndeclaredBase,
                                 undeclaredBase(use->name)});
            continue;
        }
        const QString& owner = m_baseOwners.at(use - m_bases.cbegin());
        if (inCycle(owner, use->name)) {
            // Hammer finds a base only when it is declared above, which one class of a circle
            // never is; TrenchBroom logs an error and leaves the circle.
            const QString reason =
                QStringLiteral("%1 is its own base through %2: a class cannot "
                               "inherit from itself (Hammer refuses the file, TrenchBroom "
                               "drops the base and logs an error)")
                    .arg(owner, use->name);
            problems.append({line, use->column, Severity::Error, &Rules::BaseCycle, reason,
                             Editor::Hammer | Editor::Jack});
            problems.append({line, use->column, Severity::Warning, &Rules::BaseCycle, reason,
                             Editor::TrenchBroom});
        } else if (declaredOnlyBelow(use->name, line)) {
            // Hammer looks a base up among the classes read so far; TrenchBroom resolves bases
            // once the whole file is read.
            problems.append({line, use->column, Severity::Warning, &Rules::BaseBelow,
                             QStringLiteral("%1 is declared only below this line: Hammer reads "
                                            "a base from the declarations above it and drops "
                                            "this class (TrenchBroom reads it); move the "
                                            "@BaseClass = %1 above")
                                 .arg(use->name),
                             Editor::Hammer | Editor::Jack});
        }
    }
}

std::optional<Problem> DeclarationIndex::declaredTwice(const Declared& declared) const {
    const QList<int>& lines = m_names.constFind(declared.name)->declared;
    if (lines.size() < 2)
        return std::nullopt;
    return Problem{declared.line, declared.column, Severity::Warning, &Rules::ClassTwice,
                   lines.constLast() == declared.line
                       ? QStringLiteral("%1 is declared above too: the editors use this "
                                        "declaration and drop the one above (TrenchBroom keeps "
                                        "both when one is a @PointClass and the other a "
                                        "@SolidClass)")
                             .arg(declared.name)
                       : QStringLiteral("%1 is declared again below: the editors drop this "
                                        "declaration for the later one (TrenchBroom keeps both "
                                        "when one is a @PointClass and the other a @SolidClass)")
                             .arg(declared.name)};
}

QList<std::pair<QString, QString>> DeclarationIndex::inheritedKeys(const Declared& declared) const {
    QSet<QString> given;
    for (qsizetype i = declared.firstKey; i < declared.firstKey + declared.keyCount; ++i)
        given.insert(m_keys.at(i).name);
    QList<std::pair<QString, QString>> inherited;
    const auto basesOf = [this](const QString& name) {
        return this->basesOf(name);
    };
    walkBases(declared.name, basesOf, [&](const QString& base) {
        forEachDeclarationOf(base, [&](const Declared& declaration) {
            for (qsizetype i = declaration.firstKey;
                 i < declaration.firstKey + declaration.keyCount; ++i) {
                if (const QString& key = m_keys.at(i).name; !given.contains(key)) {
                    given.insert(key);
                    inherited.append({key, base});
                }
            }
        });
    });
    return inherited;
}

QSet<QString> DeclarationIndex::keyNames(const Declared& declared) const {
    QSet<QString> names;
    for (qsizetype i = declared.firstKey; i < declared.firstKey + declared.keyCount; ++i)
        names.insert(m_keys.at(i).name.toLower());
    for (const auto& [key, base] : inheritedKeys(declared))
        names.insert(key.toLower());
    return names;
}

// The first of a class and its bases, in the order of the walk, that has asks for.
template <typename Has>
const DeclarationIndex::Declared* DeclarationIndex::firstWith(const Declared& declared,
                                                              Has has) const {
    if (has(declared))
        return &declared;
    const Declared* first = nullptr;
    walkBases(
        declared.name, [this](const QString& name) { return basesOf(name); },
        [&](const QString& base) {
            if (first)
                return;
            forEachDeclarationOf(base, [&](const Declared& declaration) {
                if (!first && has(declaration))
                    first = &declaration;
            });
        });
    return first;
}

std::optional<QString> DeclarationIndex::modelOf(const Declared& declared) const {
    const Declared* with = firstWith(declared, [](const Declared& d) { return d.hasModel; });
    return with ? std::optional(with->model) : std::nullopt;
}

QStringList DeclarationIndex::sizeOf(const Declared& declared) const {
    const Declared* with = firstWith(declared, [](const Declared& d) { return !d.size.isEmpty(); });
    return with ? with->size : QStringList();
}

int DeclarationIndex::firstUseAsBase(const QString& name) const {
    const auto found = m_names.constFind(name);
    return found == m_names.cend() || found->asBase.isEmpty() ? INT_MAX
                                                              : found->asBase.constFirst();
}

bool DeclarationIndex::inCycle(const QString& owner, const QString& base) const {
    // Only a class some class names as a base can be reached from its own bases.
    if (owner.isEmpty() || !namedAsBase(owner))
        return false;
    // The walk from owner through this one base of it: does it come back to owner?
    bool first = true;
    const auto basesOf = [&](const QString& name) {
        if (name == owner && std::exchange(first, false))
            return QList<QString>{base};
        return this->basesOf(name);
    };
    return walkBases(owner, basesOf, [](const QString&) {});
}

QList<QString> DeclarationIndex::basesOf(const QString& name) const {
    QList<QString> bases;
    forEachDeclarationOf(name, [&](const Declared& declared) {
        for (qsizetype i = declared.firstBase; i < declared.firstBase + declared.baseCount; ++i)
            bases.append(m_bases.at(i).name);
    });
    return bases;
}

bool DeclarationIndex::isDeclared(const QString& name) const {
    const auto found = m_names.constFind(name);
    return (found != m_names.cend() && !found->declared.isEmpty()) ||
           m_includedNames.contains(name);
}

bool DeclarationIndex::declaredOnlyBelow(const QString& name, int line) const {
    const auto found = m_names.constFind(name);
    return found != m_names.cend() && !found->declared.isEmpty() &&
           found->declared.constFirst() > line && !m_includedNames.contains(name);
}

bool DeclarationIndex::namedAsBase(const QString& name) const {
    const auto found = m_names.constFind(name);
    return found != m_names.cend() && !found->asBase.isEmpty();
}

} // namespace fgd
