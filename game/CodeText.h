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
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_';
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

// Calls found(start, end) for each word of code[from, to), in order.
template <typename Found>
void forEachWord(QStringView code, qsizetype from, qsizetype to, Found found) {
    for (qsizetype i = from; i < to;) {
        if (!isWordChar(code[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        i = wordEnd(code, i);
        found(start, i);
    }
}

// The word that ends just before position at, spaces skipped, or an empty view.
inline QStringView wordBefore(QStringView code, qsizetype at) {
    qsizetype end = at;
    while (end > 0 && code[end - 1].isSpace())
        --end;
    qsizetype start = end;
    while (start > 0 && isWordChar(code[start - 1]))
        --start;
    return code.sliced(start, end - start);
}

// The class a name at position at is qualified with: CBaseMonster in CBaseMonster :: KeyValue;
// an empty view when the name stands alone.
inline QStringView qualifierBefore(QStringView code, qsizetype at) {
    while (at > 0 && code[at - 1].isSpace())
        --at;
    if (at < 2 || code[at - 1] != u':' || code[at - 2] != u':')
        return {};
    return wordBefore(code, at - 2);
}

// The head of a class after the word class or struct that ends at i: its name, the last word
// of class EXPORT CBaseEntity or class CWeapon final, and where the first sign after its words
// stands (the : of its bases, its {, or anything else when it is no definition).
struct ClassHead {
    QStringView name;
    qsizetype next = 0;
};
inline ClassHead classHeadAfter(QStringView code, qsizetype i) {
    ClassHead head;
    qsizetype at = spaceEnd(code, i);
    for (qsizetype end; at < code.size() && isWordChar(code[at]); at = spaceEnd(code, end)) {
        end = wordEnd(code, at);
        if (const QStringView word = code.sliced(at, end - at); word != u"final")
            head.name = word;
    }
    head.next = at;
    return head;
}

// Calls found(name, value) for each #define of a name without parameters in code, a line of its
// own as the code keeps it: #define VEC_VIEW Vector( 0, 0, 28 ) gives VEC_VIEW and
// "Vector( 0, 0, 28 )", the value trimmed.
template <typename Found> void forEachDefine(const QString& code, Found found) {
    for (qsizetype at = code.indexOf(QStringLiteral("define")); at >= 0;
         at = code.indexOf(QStringLiteral("define"), at + 6)) {
        qsizetype hash = at;
        while (hash > 0 && (code[hash - 1] == u' ' || code[hash - 1] == u'\t'))
            --hash;
        if (hash == 0 || code[hash - 1] != u'#')
            continue;
        const qsizetype name = spaceEnd(code, at + 6);
        const qsizetype nameEnd = wordEnd(code, name);
        if (nameEnd == name || name == at + 6 || (nameEnd < code.size() && code[nameEnd] == u'('))
            continue;
        const qsizetype lineEnd = code.indexOf(u'\n', nameEnd);
        found(code.mid(name, nameEnd - name),
              code.mid(nameEnd, lineEnd < 0 ? -1 : lineEnd - nameEnd).trimmed());
    }
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
