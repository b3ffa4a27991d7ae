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

QString checkLine(QStringView line, Editors targets) {
    // A line on its own declares no base class, so only what the line itself gets wrong counts.
    QList<Problem> problems;
    if (const std::optional<Problem> problem = lineProblem(line, 0))
        problems.append(*problem);
    parseItems({line.toString()}, 0, [&](const ParsedItem& item) { problems += item.problems; });
    return compose(forTargets(problems, targets)).reason;
}

QList<Problem> ListCheck::problems(int line) const {
    QList<Problem> problems = m_findings.value(line);
    listProblems(line, problems);
    if (problems.isEmpty())
        return problems; // most lines
    return forTargets(problems, m_targets.targets());
}

// The problems of a line that depend on the rest of the list.
void ListCheck::listProblems(int line, QList<Problem>& problems) const {
    // Most lines name no base and declare no class: those need no search.
    const unsigned has = line < m_lineHas.size() ? m_lineHas.at(line) : 0;
    if (has & IncludesFile)
        includeProblems(line, problems);
    if (has & NamesBase)
        m_index.baseProblems(line, problems);
    if ((has & DeclaresClass) &&
        (m_index.anyDeclaredTwice() || m_game.known() || m_entities.known())) {
        m_index.forEachDeclaredOn(line, [&](const DeclarationIndex::Declared& declared) {
            if (const std::optional<Problem> unlinked = m_game.unlinked(
                    declared.name, declared.line, declared.column, declared.placeable))
                problems.append(*unlinked);
            if (const std::optional<Problem> twice = m_index.declaredTwice(declared))
                problems.append(*twice);
            if (declared.placeable && m_entities.known())
                gameProblems(declared, problems);
        });
    }
    if ((has & DeclaresKey) && m_entities.known()) {
        m_index.forEachKeyOn(line, [&](const DeclarationIndex::KeyUse& key,
                                       const DeclarationIndex::Declared& owner) {
            if (!owner.placeable)
                return;
            if (const std::optional<Problem> problem =
                    m_entities.judge(owner.name, owner.solid, key.name, key.line, key.column))
                problems.append(*problem);
        });
    }
    if (const std::optional<Problem> note = m_targets.writtenForNote(line))
        problems.append(*note);
}

// What the game's code says against a placeable class, on its name: the keys its bases give it
// that its code does not read, the keys its code reads that it lacks, its model and its size.
void ListCheck::gameProblems(const DeclarationIndex::Declared& declared,
                             QList<Problem>& problems) const {
    if (m_entities.judges(declared.name)) {
        inheritedKeyProblems(declared, problems);
        // A key another declared class on the same C++ class offers is offered for the code.
        QSet<QString> offered = m_index.keyNames(declared);
        for (const QString& other : m_entities.sameClassAs(declared.name)) {
            m_index.forEachDeclarationOf(other, [&](const DeclarationIndex::Declared& d) {
                offered.unite(m_index.keyNames(d));
            });
        }
        if (const std::optional<Problem> undeclared =
                m_entities.undeclaredKeys(declared.name, offered, declared.line, declared.column))
            problems.append(*undeclared);
    }
    if (const std::optional<QString> model = m_index.modelOf(declared)) {
        if (const std::optional<Problem> differs =
                m_entities.modelProblem(declared.name, *model, declared.line, declared.column))
            problems.append(*differs);
    }
    if (const std::optional<Problem> differs = m_entities.sizeProblem(
            declared.name, m_index.sizeOf(declared), declared.line, declared.column))
        problems.append(*differs);
}

// The keys a class's bases give it that its code does not read: one warning on its name for those
// no code reads, and one for each that the code reads in another case.
void ListCheck::inheritedKeyProblems(const DeclarationIndex::Declared& declared,
                                     QList<Problem>& problems) const {
    QStringList unread;
    for (const auto& [key, base] : m_index.inheritedKeys(declared)) {
        std::optional<Problem> problem =
            m_entities.judge(declared.name, declared.solid, key, declared.line, declared.column);
        if (!problem)
            continue;
        if (problem->rule == &Rules::KeyUnread) {
            unread << QStringLiteral("%1 (from %2)").arg(key, base);
        } else {
            problem->reason =
                QStringLiteral("%1, which %2 gives it: %3").arg(key, base, problem->reason);
            problems.append(*problem);
        }
    }
    if (!unread.isEmpty())
        problems.append(
            m_entities.inherited(declared.name, unread, declared.line, declared.column));
}

void ListCheck::includeProblems(int line, QList<Problem>& problems) const {
    // The @include items that start on the line (a line may end one item and start the next).
    auto item = std::upper_bound(m_items.cbegin(), m_items.cend(), line,
                                 [](int at, const Item& i) { return at < i.firstLine; });
    while (item != m_items.cbegin() && (--item)->firstLine == line) {
        if (item->include.isEmpty())
            continue;
        if (const QList<IncludedProblem> unlinked = unlinkedIn(item->include);
            !unlinked.isEmpty()) {
            QStringList where;
            for (const IncludedProblem& problem : unlinked)
                where << QStringLiteral("%1 (%2, line %3)")
                             .arg(problem.declared.name, problem.declared.file.section(u'/', -1))
                             .arg(problem.declared.line);
            problems.append({line, 0, Severity::Warning, &Rules::GameUnlinked,
                             QStringLiteral("\"%1\", which this file includes, declares classes "
                                            "no code in %2 links: %3; the editor shows them, but "
                                            "the game never spawns them")
                                 .arg(item->include, m_game.source(), where.join(u", "))});
        }
        const Included included = m_index.included(item->include);
        if (included.names || included.error.isEmpty())
            continue;
        problems.prepend({line, 0, Severity::Warning, &Rules::IncludeUnread,
                          QStringLiteral("\"%1\" cannot be read here: %2; the editors read it "
                                         "from the folder of this file, and until it can be read "
                                         "no base class is checked")
                              .arg(item->include, included.error)});
    }
}

QList<ListCheck::IncludedProblem> ListCheck::unlinkedIn(const QString& include) const {
    QList<IncludedProblem> unlinked;
    if (!m_game.known())
        return unlinked;
    for (const DeclarationIndex::IncludedClass& declared : m_index.included(include).placeable) {
        if (const std::optional<Problem> problem =
                m_game.unlinked(declared.name, declared.line, declared.column, true))
            unlinked.append({declared, *problem});
    }
    return unlinked;
}

QList<ListCheck::IncludedProblem> ListCheck::includedUnlinked() const {
    QList<IncludedProblem> all;
    QSet<QString> files;
    for (const Item& item : m_items) {
        if (!item.include.isEmpty() && !files.contains(item.include)) {
            files.insert(item.include);
            all += unlinkedIn(item.include);
        }
    }
    return all;
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

void ListCheck::checkAll(const QStringList& lines) {
    m_findings.clear();
    m_count = 0;
    m_lineHas.clear();
    m_items.clear();
    m_index.clear();
    m_targets.forgetFrom(0);
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
    DeclarationIndex::Changes touched;
    const int noteLine = m_targets.noteLine();
    removeItemsFrom(from, touched);
    m_findings.erase(m_findings.lowerBound(from), m_findings.end());
    bool onlyInChanged = m_targets.forgetFrom(from);
    const qsizetype onlyInKept = m_targets.recordedLines();
    m_count = static_cast<int>(lines.size());
    m_lineHas.resize(from);
    m_lineHas.resize(m_count, 0);
    for (int i = from; i < m_count; ++i) {
        if (const std::optional<Problem> problem = lineProblem(lines.at(i), i))
            m_findings[i].append(*problem);
    }
    parseItems(
        lines, from, [&](const ParsedItem& item) { addItem(item, touched); }, m_entities.known());
    // Lines above the change that name a base whose declaration came or went change too, and
    // so do those in a circle of bases that came or went, the other declarations of a class
    // declared or taken away, and the note on a file written for one editor.
    if (touched.includes || touched.hierarchy)
        changed = std::min(changed, m_index.firstBaseLine());
    changed = std::min(changed, touched.line);
    onlyInChanged |= m_targets.recordedLines() != onlyInKept;
    if (m_targets.writtenFor() && onlyInChanged)
        changed = std::min({changed, noteLine, m_targets.noteLine()});
    for (const QString& name : std::as_const(touched.names))
        changed = std::min(changed, m_index.firstUseAsBase(name));
}

void ListCheck::removeItemsFrom(int from, DeclarationIndex::Changes& touched) {
    while (!m_items.isEmpty() && m_items.constLast().firstLine >= from) {
        const Item item = m_items.takeLast();
        if (!item.declared.isEmpty())
            m_index.removeDeclared(item.declared, touched);
        if (!item.include.isEmpty())
            m_index.removeInclude(item.include, touched);
    }
    m_index.removeFrom(from, touched);
}

void ListCheck::addItem(const ParsedItem& item, DeclarationIndex::Changes& touched) {
    const int reach = std::max(item.lastLine, m_items.isEmpty() ? 0 : m_items.constLast().reach);
    m_items.append(
        {item.firstLine, reach, item.endLine, item.declaration, item.declared, item.include});
    for (const Problem& problem : item.problems) {
        m_findings[problem.line].append(problem);
        if (problem.onlyIn)
            m_targets.recordOnlyIn(problem);
    }
    for (const BaseUse& use : item.bases)
        m_lineHas[use.line] |= NamesBase;
    if (!item.declared.isEmpty())
        m_lineHas[item.declaredLine] |= DeclaresClass;
    if (!item.include.isEmpty())
        m_lineHas[item.firstLine] |= IncludesFile;
    for (const KeyValue& key : item.details.keys)
        m_lineHas[key.place.line] |= DeclaresKey;
    m_index.add(item, touched);
}

} // namespace fgd
