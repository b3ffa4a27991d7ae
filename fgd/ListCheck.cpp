#include "ListCheck.h"

#include "Parser.h"
#include "Windows1252.h"

#include <algorithm>

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
            return Problem{number, i, Severity::Error, "line-break",
                           QStringLiteral("the line contains a line break")};
        if ((c < u' ' && c != u'\t') || (c >= QChar(0x7F) && c <= QChar(0x9F)))
            return Problem{number, i, Severity::Error, "control-character",
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
        number, line.indexOf(lost.front()), Severity::Error, "unsavable-character",
        QStringLiteral("%1 cannot be saved in an FGD file and would become ?").arg(lost)};
}

// A line's problems as one verdict: the most serious first, in the order found within a kind.
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

QString undeclaredBase(const QString& name) {
    return QStringLiteral("no @BaseClass = %1 is declared in this list or a file it "
                          "@includes, in the same case: the entity gets none of that base's "
                          "key-values (TrenchBroom loads the file and logs an error, srctools "
                          "refuses it)")
        .arg(name);
}

} // namespace

QString checkLine(QStringView line) {
    // A line on its own declares no base class, so only what the line itself gets wrong counts.
    QList<Problem> problems;
    if (const std::optional<Problem> problem = lineProblem(line, 0))
        problems.append(*problem);
    parseItems({line.toString()}, 0, [&](const ParsedItem& item) { problems += item.problems; });
    return compose(std::move(problems)).reason;
}

QList<Problem> ListCheck::problems(int line) const {
    QList<Problem> problems = m_findings.value(line);
    const auto uses =
        std::equal_range(m_bases.begin(), m_bases.end(), BaseUse{line, 0, {}},
                         [](const BaseUse& a, const BaseUse& b) { return a.line < b.line; });
    if (problems.isEmpty() && uses.first == uses.second)
        return problems; // most lines
    if (includesKnown()) {
        for (auto use = uses.first; use != uses.second; ++use) {
            if (!isDeclared(use->name))
                problems.append({line, use->column, Severity::Warning, "undeclared-base",
                                 undeclaredBase(use->name)});
        }
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.column < b.column; });
    return problems;
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
    return m_declared.value(name) > 0 || m_includedNames.contains(name);
}

void ListCheck::checkAll(const QStringList& lines) {
    m_findings.clear();
    m_count = 0;
    m_items.clear();
    m_bases.clear();
    m_declared.clear();
    m_baseLines.clear();
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
    for (qsizetype i = m_items.size(); i > 0 && m_items.at(i - 1).lastLine >= from; --i)
        from = std::min(from, m_items.at(i - 1).firstLine);
    int first = from;
    checkFrom(lines, from, first);
    return first;
}

void ListCheck::checkFrom(const QStringList& lines, int from, int& changed) {
    BaseChanges touched;
    removeItemsFrom(from, touched);
    m_findings.erase(m_findings.lowerBound(from), m_findings.end());
    m_count = static_cast<int>(lines.size());
    for (int i = from; i < m_count; ++i) {
        if (const std::optional<Problem> problem = lineProblem(lines.at(i), i))
            m_findings[i].append(*problem);
    }
    parseItems(lines, from, [&](const ParsedItem& item) { addItem(item, touched); });
    // Lines above the change that name a base whose declaration came or went change too.
    if (touched.includes && !m_bases.isEmpty())
        changed = std::min(changed, m_bases.constFirst().line);
    for (const QString& name : std::as_const(touched.names)) {
        if (const auto lines = m_baseLines.constFind(name); lines != m_baseLines.cend())
            changed = std::min(changed, lines->constFirst());
    }
}

void ListCheck::removeItemsFrom(int from, BaseChanges& touched) {
    while (!m_items.isEmpty() && m_items.constLast().firstLine >= from) {
        const Item item = m_items.takeLast();
        if (!item.declared.isEmpty() && --m_declared[item.declared] == 0) {
            m_declared.remove(item.declared);
            if (m_baseLines.contains(item.declared))
                touched.names.insert(item.declared);
        }
        if (!item.include.isEmpty() && --m_includes[item.include] == 0) {
            m_includes.remove(item.include);
            if (!m_included.value(item.include))
                --m_unreadIncludes;
            m_includedNames.clear();
            for (auto i = m_includes.cbegin(); i != m_includes.cend(); ++i) {
                for (const QString& name : m_included.value(i.key()).value_or(QStringList()))
                    m_includedNames.insert(name);
            }
            touched.includes = true;
        }
    }
    while (!m_bases.isEmpty() && m_bases.constLast().line >= from) {
        const BaseUse use = m_bases.takeLast();
        QList<int>& lines = m_baseLines[use.name];
        lines.removeLast();
        if (lines.isEmpty())
            m_baseLines.remove(use.name);
    }
}

void ListCheck::addItem(const ParsedItem& item, BaseChanges& touched) {
    m_items.append({item.firstLine, item.lastLine, item.declared, item.include});
    for (const Problem& problem : item.problems)
        m_findings[problem.line].append(problem);
    for (const BaseUse& use : item.bases) {
        m_bases.append(use);
        m_baseLines[use.name].append(use.line);
    }
    if (!item.declared.isEmpty() && m_declared[item.declared]++ == 0 &&
        m_baseLines.contains(item.declared))
        touched.names.insert(item.declared);
    if (!item.include.isEmpty() && m_includes[item.include]++ == 0) {
        if (!m_included.contains(item.include)) {
            m_included.insert(item.include,
                              m_readInclude ? m_readInclude(item.include) : std::nullopt);
        }
        const std::optional<QStringList>& names = m_included.value(item.include);
        if (!names)
            ++m_unreadIncludes;
        for (const QString& name : names.value_or(QStringList()))
            m_includedNames.insert(name);
        touched.includes = true;
    }
}

} // namespace fgd
