#include "ListCheck.h"

#include "Parser.h"
#include "Vocabulary.h"
#include "Windows1252.h"

#include <algorithm>
#include <array>

namespace fgd {

namespace {

// Problems a line has whatever its neighbours: characters that cannot be saved or seen, at the
// first of them.
std::optional<Problem> lineProblem(QStringView line, int number) {
    bool ascii = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        // Printable ASCII and tabs, nearly every character of every line, need nothing more.
        if (c >= u' ' && c < QChar(0x7F))
            continue;
        ascii &= c == u'\t';
        if (c == u'\n' || c == u'\r')
            return Problem{number, i, Severity::Error, &Rules::LineBreak,
                           QStringLiteral("the line contains a line break")};
        if ((c < u' ' && c != u'\t') || (c >= QChar(0x7F) && c <= QChar(0x9F)))
            return Problem{number, i, Severity::Error, &Rules::ControlCharacter,
                           QStringLiteral("the line contains an invisible control character: "
                                          "retype it")};
    }
    if (ascii)
        return std::nullopt;
    const QString lost = unsavableCharacters(line);
    if (lost.isEmpty())
        return std::nullopt;
    // The first character lost is where the first one that saving would turn into ? stands (each
    // character outside the Basic Multilingual Plane is lost, so its first half finds it too).
    return Problem{
        number, line.indexOf(lost.front()), Severity::Error, &Rules::UnsavableCharacter,
        QStringLiteral("%1 cannot be saved in an FGD file and would become ?").arg(lost)};
}

QString undeclaredBase(const QString& name) {
    return QStringLiteral("no @BaseClass = %1 is declared in this list or a file it "
                          "@includes, in the same case: the entity gets none of that base's "
                          "key-values (TrenchBroom logs an error and loads the class without "
                          "them; Hammer drops the class)")
        .arg(name);
}

} // namespace

Verdict compose(QList<Problem> problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.severity > b.severity; });
    Verdict verdict;
    for (const Problem& problem : std::as_const(problems)) {
        verdict.severity = std::max(verdict.severity, problem.severity);
        if (!verdict.reason.contains(problem.reason)) {
            if (!verdict.reason.isEmpty())
                verdict.reason += u'\n';
            verdict.reason += problem.reason;
        }
    }
    return verdict;
}

// The reason with the clauses in parentheses that speak of an editor the check does not speak
// for taken out: "(Hammer refuses the file, TrenchBroom reads a text)" reads "(Hammer refuses
// the file)" for Hammer alone. Parentheses whose parts name no editor (size(8 8 8, 16 16 16))
// stay as they are.
QString clausesFor(const QString& reason, Editors targets) {
    if (targets == AllEditors || !reason.contains(u'('))
        return reason;
    static const std::array<std::pair<QStringView, Editors>, 3> names{
        {{u"Hammer", Editor::Hammer},
         {u"J.A.C.K.", Editor::Jack},
         {u"TrenchBroom", Editor::TrenchBroom}}};
    QString kept;
    qsizetype from = 0;
    for (qsizetype open = reason.indexOf(u'('); open >= 0; open = reason.indexOf(u'(', from)) {
        const qsizetype close = reason.indexOf(u')', open);
        if (close < 0)
            break;
        kept += QStringView(reason).sliced(from, open - from);
        QStringList parts;
        for (QStringView part :
             QStringView(reason).sliced(open + 1, close - open - 1).split(u", ")) {
            const auto named = std::find_if(names.cbegin(), names.cend(), [&](const auto& name) {
                return part.startsWith(name.first);
            });
            if (named == names.cend() || (named->second & targets))
                parts << part.toString();
        }
        if (!parts.isEmpty())
            kept += u'(' + parts.join(QStringLiteral(", ")) + u')';
        else if (kept.endsWith(u' '))
            kept.chop(1);
        from = close + 1;
    }
    return kept += QStringView(reason).sliced(from);
}

// The problems that hold for one of the targets, by column, each said once: of two of one kind
// at one place (an error for some editors, a warning for the others), the more serious.
QList<Problem> forTargets(const QList<Problem>& all, Editors targets) {
    QList<Problem> kept;
    for (const Problem& problem : all) {
        if (problem.editors & targets) {
            kept.append(problem);
            kept.last().reason = clausesFor(problem.reason, targets);
        }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Problem& a, const Problem& b) { return a.column < b.column; });
    for (qsizetype i = 1; i < kept.size();) {
        const Problem& a = kept.at(i - 1);
        const Problem& b = kept.at(i);
        if (a.column == b.column && a.reason == b.reason) {
            kept.removeAt(a.severity >= b.severity ? i : i - 1);
            continue;
        }
        ++i;
    }
    return kept;
}

const auto byLine = [](const BaseUse& a, const BaseUse& b) {
    return a.line < b.line;
};

// What each construct that only some editors read is called in the note on a file written for
// one editor.
QString constructName(const Rule* rule) {
    if (rule == &Rules::DescriptionHelpText)
        return QStringLiteral("help texts after a description");
    if (rule == &Rules::ChoiceHelpText)
        return QStringLiteral("help texts after a choice's label");
    return QStringLiteral("model expressions in { }");
}

QString checkLine(QStringView line, Editors targets) {
    // A line on its own declares no base class, so only what the line itself gets wrong counts.
    QList<Problem> problems;
    if (const std::optional<Problem> problem = lineProblem(line, 0))
        problems.append(*problem);
    parseItems({line.toString()}, 0, [&](const ParsedItem& item) { problems += item.problems; });
    return compose(forTargets(problems, targets)).reason;
}

void ListCheck::setTargets(Editors targets, Editors writtenFor, const QString& evidence) {
    m_targets = targets;
    m_writtenFor = writtenFor;
    m_evidence = evidence;
}

Editors ListCheck::onlyReadBy() const {
    if (m_onlyIn.isEmpty())
        return 0;
    Editors readers = AllEditors;
    for (const Editors editors : m_onlyIn)
        readers &= editors;
    return readers;
}

QList<Problem> ListCheck::problems(int line) const {
    QList<Problem> problems = m_findings.value(line);
    listProblems(line, problems);
    if (problems.isEmpty())
        return problems; // most lines
    return forTargets(problems, m_targets);
}

// The problems of a line that depend on the rest of the list.
void ListCheck::listProblems(int line, QList<Problem>& problems) const {
    // Most lines name no base and declare no class: those need no search.
    const unsigned has = line < m_lineHas.size() ? m_lineHas.at(line) : 0;
    if (has == 0) {
        if (m_writtenFor != 0)
            if (const std::optional<Problem> note = writtenForNote(line))
                problems.append(*note);
        return;
    }
    if (has & IncludesFile)
        includeProblems(line, problems);
    const BaseUse here{line, 0, {}};
    const auto uses = !(has & NamesBase)
                          ? std::pair(m_bases.cend(), m_bases.cend())
                          : std::equal_range(m_bases.cbegin(), m_bases.cend(), here, byLine);
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
    const auto classes = (m_twice == 0 && m_gameSource.isEmpty()) || !(has & DeclaresClass)
                             ? std::pair(m_classes.cend(), m_classes.cend())
                             : std::equal_range(m_classes.cbegin(), m_classes.cend(), here, byLine);
    for (auto declared = classes.first; declared != classes.second; ++declared) {
        if (const std::optional<Problem> unlinked = unlinkedClass(*declared))
            problems.append(*unlinked);
        const QList<int>& lines = m_names.constFind(declared->name)->declared;
        if (lines.size() < 2)
            continue;
        problems.append(
            {line, declared->column, Severity::Warning, &Rules::ClassTwice,
             lines.constLast() == line
                 ? QStringLiteral("%1 is declared above too: the editors use this declaration "
                                  "and drop the one above (TrenchBroom keeps both when one is a "
                                  "@PointClass and the other a @SolidClass)")
                       .arg(declared->name)
                 : QStringLiteral("%1 is declared again below: the editors drop this "
                                  "declaration for the later one (TrenchBroom keeps both when "
                                  "one is a @PointClass and the other a @SolidClass)")
                       .arg(declared->name)});
    }
    if (const std::optional<Problem> note = writtenForNote(line))
        problems.append(*note);
}

void ListCheck::setGame(const QStringList& linked, const QString& source) {
    m_gameSource = source;
    m_linked = QSet<QString>(linked.cbegin(), linked.cend());
    m_linkedByCase.clear();
    for (const QString& name : linked)
        m_linkedByCase.insert(name.toLower(), name);
    m_linkedNames = linked.join(u' ');
}

// Half-Life spawns an entity by looking its class name up, in the same case, among the names
// its game code links; a class it does not find is dropped when the map loads.
std::optional<Problem> ListCheck::unlinkedClass(const Declared& declared) const {
    if (m_gameSource.isEmpty() || !declared.placeable || m_linked.contains(declared.name) ||
        isListed(declared.name, CompilerClasses))
        return std::nullopt;
    QString reason = QStringLiteral("no code in %1 links %2: the editor shows the entity, but "
                                    "the game never spawns it")
                         .arg(m_gameSource, declared.name);
    if (const QString same = m_linkedByCase.value(declared.name.toLower()); !same.isEmpty()) {
        reason += QStringLiteral(" (the game links %1: only the case differs, and Half-Life "
                                 "compares class names exactly)")
                      .arg(same);
    } else if (const QString near = nearest(declared.name, m_linkedNames); !near.isEmpty()) {
        reason += QStringLiteral(" (the nearest name it links: %1)").arg(near);
    }
    return Problem{declared.line, declared.column, Severity::Warning, &Rules::GameUnlinked, reason};
}

bool ListCheck::inCycle(const QString& owner, const QString& base) const {
    // Only a class some class names as a base can be reached from its own bases.
    if (owner.isEmpty() || !namedAsBase(owner))
        return false;
    QSet<QString> seen;
    QList<QString> next{base};
    while (!next.isEmpty()) {
        const QString name = next.takeLast();
        if (name == owner)
            return true;
        if (seen.contains(name))
            continue;
        seen.insert(name);
        next += basesOf(name);
    }
    return false;
}

void ListCheck::includeProblems(int line, QList<Problem>& problems) const {
    // The @include items that start on the line (a line may end one item and start the next).
    auto item = std::upper_bound(m_items.cbegin(), m_items.cend(), line,
                                 [](int at, const Item& i) { return at < i.firstLine; });
    while (item != m_items.cbegin() && (--item)->firstLine == line) {
        if (item->include.isEmpty())
            continue;
        const Included& included = m_included.value(item->include);
        if (included.names || included.error.isEmpty())
            continue;
        problems.prepend({line, 0, Severity::Warning, &Rules::IncludeUnread,
                          QStringLiteral("\"%1\" cannot be read here: %2; the editors read it "
                                         "from the folder of this file, and until it can be read "
                                         "no base class is checked")
                              .arg(item->include, included.error)});
    }
}

bool ListCheck::inSpanningDeclaration(int line) const {
    // The last item that starts at or above the line; an item that starts on the line where the
    // one before ended leaves that line to both.
    auto item = std::upper_bound(m_items.cbegin(), m_items.cend(), line,
                                 [](int at, const Item& i) { return at < i.firstLine; });
    for (; item != m_items.cbegin();) {
        --item;
        if (item->endLine < line)
            return false;
        if (item->declaration && item->endLine > item->firstLine)
            return true;
    }
    return false;
}

QList<QString> ListCheck::basesOf(const QString& name) const {
    QList<QString> bases;
    const auto found = m_names.constFind(name);
    if (found == m_names.cend())
        return bases;
    for (const int line : found->declared) {
        // The declaration is the last item starting at or above its line that declares it (two
        // items can share a line: one ends where the next begins).
        auto item = std::upper_bound(m_items.cbegin(), m_items.cend(), line,
                                     [](int at, const Item& i) { return at < i.firstLine; });
        while (item != m_items.cbegin() && (--item)->declared != name) {
        }
        if (item->declared != name)
            continue;
        for (qsizetype i = item->firstBase; i < item->firstBase + item->baseCount; ++i)
            bases.append(m_bases.at(i).name);
    }
    return bases;
}

// On a file taken as written for one editor: which editors refuse it and why, on its first line
// that only that editor reads, or on its first line.
std::optional<Problem> ListCheck::writtenForNote(int line) const {
    if (m_writtenFor == 0 || line != (m_onlyIn.isEmpty() ? 0 : m_onlyIn.firstKey()))
        return std::nullopt;
    QMap<QString, int> constructs; // how many lines use each
    for (auto i = m_onlyIn.cbegin(); i != m_onlyIn.cend(); ++i) {
        QSet<QString> rules;
        for (const Problem& problem : m_findings.value(i.key())) {
            if (problem.onlyIn)
                rules.insert(constructName(problem.rule));
        }
        for (const QString& rule : std::as_const(rules))
            ++constructs[rule];
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

Verdict ListCheck::verdict(int line) const {
    return compose(problems(line));
}

QList<Verdict> ListCheck::verdicts() const {
    QList<Verdict> all;
    all.reserve(count());
    for (int line = 0; line < count(); ++line)
        all.append(verdict(line));
    return all;
}

bool ListCheck::isDeclared(const QString& name) const {
    const auto found = m_names.constFind(name);
    return (found != m_names.cend() && !found->declared.isEmpty()) ||
           m_includedNames.contains(name);
}

bool ListCheck::declaredOnlyBelow(const QString& name, int line) const {
    const auto found = m_names.constFind(name);
    return found != m_names.cend() && !found->declared.isEmpty() &&
           found->declared.constFirst() > line && !m_includedNames.contains(name);
}

bool ListCheck::namedAsBase(const QString& name) const {
    const auto found = m_names.constFind(name);
    return found != m_names.cend() && !found->asBase.isEmpty();
}

void ListCheck::checkAll(const QStringList& lines) {
    m_findings.clear();
    m_count = 0;
    m_lineHas.clear();
    m_items.clear();
    m_bases.clear();
    m_baseOwners.clear();
    m_twice = 0;
    m_classes.clear();
    m_names.clear();
    m_onlyIn.clear();
    m_includes.clear();
    m_includedNames.clear();
    m_unreadIncludes = 0;
    int changed = 0;
    checkFrom(lines, 0, changed);
}

int ListCheck::checkChanged(const QStringList& lines, int changed) {
    int from = std::min(changed, count());
    // Items whose reading depends on a changed line (one the lines ended inside depends on the
    // lines after the last) are read again from the first line of the earliest of them.
    for (qsizetype i = m_items.size(); i > 0 && m_items.at(i - 1).reach >= from; --i)
        from = std::min(from, m_items.at(i - 1).firstLine);
    int first = from;
    checkFrom(lines, from, first);
    return first;
}

void ListCheck::checkFrom(const QStringList& lines, int from, int& changed) {
    BaseChanges touched;
    const int noteLine = m_onlyIn.isEmpty() ? 0 : m_onlyIn.firstKey();
    const auto onlyInFrom = m_onlyIn.lowerBound(from);
    bool onlyInChanged = onlyInFrom != m_onlyIn.end();
    removeItemsFrom(from, touched);
    m_findings.erase(m_findings.lowerBound(from), m_findings.end());
    m_onlyIn.erase(onlyInFrom, m_onlyIn.end());
    const qsizetype onlyInKept = m_onlyIn.size();
    m_count = static_cast<int>(lines.size());
    m_lineHas.resize(from);
    m_lineHas.resize(m_count, 0);
    for (int i = from; i < m_count; ++i) {
        if (const std::optional<Problem> problem = lineProblem(lines.at(i), i))
            m_findings[i].append(*problem);
    }
    parseItems(lines, from, [&](const ParsedItem& item) { addItem(item, touched); });
    // Lines above the change that name a base whose declaration came or went change too, and
    // so do those in a circle of bases that came or went, the other declarations of a class
    // declared or taken away, and the note on a file written for one editor.
    if ((touched.includes || touched.hierarchy) && !m_bases.isEmpty())
        changed = std::min(changed, m_bases.constFirst().line);
    changed = std::min(changed, touched.line);
    onlyInChanged |= m_onlyIn.size() != onlyInKept;
    if (m_writtenFor && onlyInChanged)
        changed = std::min({changed, noteLine, m_onlyIn.isEmpty() ? 0 : m_onlyIn.firstKey()});
    for (const QString& name : std::as_const(touched.names)) {
        if (const auto found = m_names.constFind(name);
            found != m_names.cend() && !found->asBase.isEmpty())
            changed = std::min(changed, found->asBase.constFirst());
    }
}

void ListCheck::removeItemsFrom(int from, BaseChanges& touched) {
    while (!m_items.isEmpty() && m_items.constLast().firstLine >= from) {
        const Item item = m_items.takeLast();
        if (!item.declared.isEmpty()) {
            const auto name = m_names.find(item.declared);
            QList<int>& declared = name->declared;
            m_twice -= declared.size() == 2;
            declared.removeLast();
            if (!declared.isEmpty())
                touched.line = std::min(touched.line, declared.constLast());
            else if (!name->asBase.isEmpty())
                touched.names.insert(item.declared);
            else
                m_names.erase(name);
        }
        if (!item.include.isEmpty() && --m_includes[item.include] == 0) {
            m_includes.remove(item.include);
            if (!m_included.value(item.include).names)
                --m_unreadIncludes;
            m_includedNames.clear();
            for (auto i = m_includes.cbegin(); i != m_includes.cend(); ++i) {
                for (const QString& name : m_included.value(i.key()).names.value_or(QStringList()))
                    m_includedNames.insert(name);
            }
            touched.includes = true;
        }
    }
    while (!m_bases.isEmpty() && m_bases.constLast().line >= from) {
        const BaseUse use = m_bases.takeLast();
        const QString owner = m_baseOwners.takeLast();
        const auto name = m_names.find(use.name);
        name->asBase.removeLast();
        if (name->asBase.isEmpty() && name->declared.isEmpty())
            m_names.erase(name);
        if (!owner.isEmpty())
            touched.hierarchy |= namedAsBase(owner);
    }
    while (!m_classes.isEmpty() && m_classes.constLast().line >= from)
        m_classes.removeLast();
}

void ListCheck::addItem(const ParsedItem& item, BaseChanges& touched) {
    const int reach = std::max(item.lastLine, m_items.isEmpty() ? 0 : m_items.constLast().reach);
    m_items.append({item.firstLine, reach, item.endLine, item.declaration, item.declared,
                    item.include, m_bases.size(), item.bases.size()});
    for (const Problem& problem : item.problems) {
        m_findings[problem.line].append(problem);
        if (problem.onlyIn) {
            const auto line = m_onlyIn.constFind(problem.line);
            m_onlyIn[problem.line] =
                line == m_onlyIn.cend() ? problem.onlyIn : *line & problem.onlyIn;
        }
    }
    for (const BaseUse& use : item.bases) {
        m_bases.append(use);
        m_lineHas[use.line] |= NamesBase;
        m_baseOwners.append(item.declared);
        m_names[use.name].asBase.append(use.line);
    }
    if (!item.declared.isEmpty()) {
        Name& name = m_names[item.declared];
        touched.hierarchy |= !item.bases.isEmpty() && !name.asBase.isEmpty();
        m_classes.append({{item.declaredLine, item.declaredColumn, item.declared}, item.placeable});
        m_lineHas[item.declaredLine] |= DeclaresClass;
        QList<int>& declared = name.declared;
        if (!declared.isEmpty())
            touched.line = std::min(touched.line, declared.constLast());
        else if (!name.asBase.isEmpty())
            touched.names.insert(item.declared);
        declared.append(item.declaredLine);
        m_twice += declared.size() == 2;
    }
    if (!item.include.isEmpty())
        m_lineHas[item.firstLine] |= IncludesFile;
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

} // namespace fgd
