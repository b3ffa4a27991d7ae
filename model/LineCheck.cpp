#include "LineCheck.h"

#include "FgdParser.h"
#include "Windows1252.h"

namespace model {

namespace {

// Problems a line has whatever its neighbours: characters that cannot be saved or seen.
QString lineProblem(QStringView line) {
    bool latin1 = true;
    for (QChar c : line) {
        if (c == u'\n' || c == u'\r')
            return QStringLiteral("the line contains a line break");
        if ((c < u' ' && c != u'\t') || (c >= QChar(0x7F) && c <= QChar(0x9F)))
            return QStringLiteral("the line contains an invisible control character: retype it");
        latin1 &= c.unicode() <= 0xFF;
    }
    if (latin1)
        return QString(); // every other Latin-1 character is the same byte in Windows-1252
    const QByteArray bytes = toWindows1252(line);
    QString lost;
    qsizetype byte = 0;
    for (qsizetype i = 0; i < line.size(); ++i, ++byte) {
        const bool pair =
            line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        const QStringView character = line.sliced(i, pair ? 2 : 1);
        if (pair)
            ++i;
        if (bytes.at(byte) == '?' && character != u"?" && !lost.contains(character))
            lost += character;
    }
    if (lost.isEmpty())
        return QString();
    return QStringLiteral("%1 cannot be saved in an FGD file and would become ?").arg(lost);
}

} // namespace

QString checkSourceLine(QStringView line) {
    SourceCheck check;
    check.checkAll({line.toString()});
    return check.reasons().constFirst();
}

void SourceCheck::checkAll(const QStringList& lines) {
    m_reasons.clear();
    m_items.clear();
    checkFrom(lines, 0);
}

int SourceCheck::checkChanged(const QStringList& lines, int changed) {
    int from = std::min(changed, static_cast<int>(m_reasons.size()));
    // Items whose reading depends on a changed line (one the lines ended inside depends on the
    // lines after the last) are read again from the first line of the earliest of them.
    while (!m_items.isEmpty() && m_items.constLast().lastLine >= from) {
        from = std::min(from, m_items.constLast().firstLine);
        m_items.removeLast();
    }
    m_reasons.resize(from);
    checkFrom(lines, from);
    return from;
}

void SourceCheck::checkFrom(const QStringList& lines, int from) {
    for (qsizetype i = from; i < lines.size(); ++i)
        m_reasons.append(lineProblem(lines.at(i)));
    fgd::checkFgdSyntax(lines, from, [this](const fgd::SyntaxItem& item) {
        m_items.append({item.firstLine, item.lastLine});
        if (item.problemLine >= 0 && m_reasons.at(item.problemLine).isEmpty())
            m_reasons[item.problemLine] = item.problem;
    });
}

} // namespace model
