#include "LineCheck.h"

#include "Windows1252.h"

#include <QStringList>

#include <optional>

namespace model {

namespace {

constexpr qsizetype MaxDescriptionBytes = 999;

bool isNameChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

// A cursor over one line that reports the first problem it finds.
class Reader {
public:
    explicit Reader(QStringView text)
        : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    bool startsWith(QStringView s) const { return m_text.sliced(m_pos).startsWith(s); }
    QStringView rest() const { return m_text.sliced(m_pos); }

    void skipSpaces() {
        while (!atEnd() && (peek() == u' ' || peek() == u'\t'))
            ++m_pos;
    }

    bool take(QChar c) {
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }

    QStringView takeName() {
        const qsizetype start = m_pos;
        while (!atEnd() && isNameChar(peek()))
            ++m_pos;
        return m_text.sliced(start, m_pos - start);
    }

    // Reads a double-quoted text, the opening quote already seen; nullopt when it never closes.
    std::optional<QStringView> takeQuoted() {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != u'"')
            ++m_pos;
        if (atEnd())
            return std::nullopt;
        return m_text.sliced(start, m_pos++ - start);
    }

    // Reads up to the bracket that closes the one just taken, stepping over quoted texts and
    // nested brackets of the same kind; nullopt when it never closes.
    std::optional<QStringView> takeBalanced(QChar open, QChar close) {
        const qsizetype start = m_pos;
        int depth = 1;
        while (!atEnd()) {
            const QChar c = m_text[m_pos++];
            if (c == u'"') {
                if (!takeQuoted())
                    return std::nullopt;
            } else if (c == open) {
                ++depth;
            } else if (c == close && --depth == 0) {
                return m_text.sliced(start, m_pos - 1 - start);
            }
        }
        return std::nullopt;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// size() takes one point or a box of two points: three whole numbers each.
QString checkSize(QStringView arguments) {
    const QString example = QStringLiteral("like size(-16 -16 0, 16 16 36)");
    const QList<QStringView> triples = arguments.split(u',');
    if (triples.size() > 2)
        return QStringLiteral("size() holds one or two groups of three numbers, ") + example;
    for (QStringView triple : triples) {
        const QList<QStringView> numbers = triple.trimmed().split(u' ', Qt::SkipEmptyParts);
        for (QStringView number : numbers) {
            bool whole = false;
            (void)number.toInt(&whole);
            if (!whole || number.startsWith(u'+'))
                return QStringLiteral("size() needs whole numbers, ") + example;
        }
        if (numbers.size() != 3) {
            return triples.size() == 1 && numbers.size() == 6
                       ? QStringLiteral("size() needs a comma between its two points, ") + example
                       : QStringLiteral("size() needs three numbers per point, ") + example;
        }
    }
    return QString();
}

QString checkBody(Reader& reader) {
    if (!reader.take(u'['))
        return QStringLiteral("the declaration must end with a [ ] body, even an empty one: []");
    if (!reader.takeBalanced(u'[', u']'))
        return QStringLiteral("the [ ] body is not closed on this line");
    reader.skipSpaces();
    if (!reader.atEnd() && !reader.startsWith(u"//"))
        return QStringLiteral("there is text after the closing ]");
    return QString();
}

QString checkDeclaration(Reader& reader) {
    reader.take(u'@');
    const QStringView kind = reader.takeName();
    if (kind.compare(u"include", Qt::CaseInsensitive) == 0) {
        reader.skipSpaces();
        if (!reader.take(u'"') || !reader.takeQuoted())
            return QStringLiteral("@include needs a file name in double quotes");
        reader.skipSpaces();
        return reader.atEnd() ? QString() : QStringLiteral("there is text after the file name");
    }
    if (kind.compare(u"mapsize", Qt::CaseInsensitive) == 0)
        return QString();
    if (!kind.endsWith(u"Class", Qt::CaseInsensitive) || kind.size() == 5)
        return QStringLiteral("\"@%1\" is not a class kind; use @PointClass").arg(kind);

    // Helpers such as base(...), size(...), color(...), studio("...") up to the '='.
    for (;;) {
        reader.skipSpaces();
        if (reader.take(u'='))
            break;
        const QStringView helper = reader.takeName();
        if (helper.isEmpty()) {
            return reader.atEnd()
                       ? QStringLiteral("the class name is missing: put = and a name "
                                        "after @PointClass")
                       : QStringLiteral("unexpected \"%1\" before the =").arg(reader.peek());
        }
        reader.skipSpaces();
        if (!reader.take(u'('))
            return QStringLiteral("%1 needs its values in parentheses").arg(helper);
        const std::optional<QStringView> arguments = reader.takeBalanced(u'(', u')');
        if (!arguments)
            return QStringLiteral("the parenthesis after %1 is not closed").arg(helper);
        if (helper.compare(u"size", Qt::CaseInsensitive) == 0) {
            if (QString problem = checkSize(*arguments); !problem.isEmpty())
                return problem;
        }
    }

    reader.skipSpaces();
    const QStringView name = reader.takeName();
    if (name.isEmpty()) {
        return reader.atEnd() || reader.peek() == u':' || reader.peek() == u'['
                   ? QStringLiteral("the class name after = is empty")
                   : QStringLiteral("the class name may use only letters, digits and _");
    }
    reader.skipSpaces();
    if (!reader.atEnd() && reader.peek() != u':' && reader.peek() != u'[')
        return QStringLiteral("the class name may use only letters, digits and _");

    // The description and, in some editors' files, a second quoted text after it.
    for (int text = 0; text < 2 && reader.take(u':'); ++text) {
        reader.skipSpaces();
        if (!reader.take(u'"'))
            return QStringLiteral("the description after : must be in double quotes");
        const std::optional<QStringView> description = reader.takeQuoted();
        if (!description)
            return QStringLiteral("the description's closing double quote is missing");
        if (description->contains(u'\\'))
            return QStringLiteral("the description may not contain a backslash (\\)");
        if (description->size() > MaxDescriptionBytes)
            return QStringLiteral("the description is longer than %1 characters")
                .arg(MaxDescriptionBytes);
        reader.skipSpaces();
        if (!reader.atEnd() && reader.peek() != u':' && reader.peek() != u'[') {
            return reader.rest().contains(u'"')
                       ? QStringLiteral("the description may not contain a double quote (\")")
                       : QStringLiteral("unexpected text after the description");
        }
    }
    return checkBody(reader);
}

QString unsavableCharacters(QStringView line) {
    const QByteArray bytes = ToWindows1252(line);
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

QString CheckSourceLine(QStringView line) {
    if (line.contains(u'\n') || line.contains(u'\r'))
        return QStringLiteral("the line contains a line break");
    if (QString problem = unsavableCharacters(line); !problem.isEmpty())
        return problem;

    Reader reader(line);
    reader.skipSpaces();
    if (reader.atEnd() || reader.startsWith(u"//"))
        return QString();
    if (reader.peek() != u'@') {
        return QStringLiteral("not a declaration: the line must start with @PointClass "
                              "(choose a Pointsize), or be a // comment");
    }
    return checkDeclaration(reader);
}

} // namespace model
