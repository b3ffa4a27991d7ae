#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace game {

// Small steps of reading C++ code kept as SourceScan keeps it: comments and quoted texts blanked
// out (a key name in quotes stays), lines kept. Scanned by hand, without regular expressions:
// the game is read on a thread (see game/README.md).

// A letter, digit or underscore: the characters of a C name (game code is ASCII).
inline bool isWordChar(QChar c) {
    return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_');
}

inline qsizetype wordEnd(QStringView text, qsizetype i) {
    while (i < text.size() && isWordChar(text[i]))
        ++i;
    return i;
}

inline qsizetype spaceEnd(QStringView text, qsizetype i) {
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// Where the bracket opened at open (one of ( [ {) is closed, or -1 when it is not.
inline qsizetype closingOf(QStringView code, qsizetype open) {
    const QChar opening = code[open];
    const QChar closing = opening == u'(' ? u')' : opening == u'[' ? u']' : u'}';
    int depth = 0;
    for (qsizetype i = open; i < code.size(); ++i) {
        if (code[i] == opening)
            ++depth;
        else if (code[i] == closing && --depth == 0)
            return i;
    }
    return -1;
}

// The arguments of the call whose opening parenthesis is at open, split at its top-level commas,
// or nothing when the call is not closed.
inline std::optional<QStringList> callArguments(const QString& code, qsizetype open) {
    QStringList arguments;
    int depth = 0;
    qsizetype start = open + 1;
    for (qsizetype i = open; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')' && --depth == 0) {
            arguments << code.mid(start, i - start).trimmed();
            return arguments;
        } else if (c == u',' && depth == 1) {
            arguments << code.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    return std::nullopt;
}

} // namespace game
