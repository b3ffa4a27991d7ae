#pragma once

#include "CodeText.h"

#include <QList>

namespace game {

// The functions a text of game code (kept as SourceScan keeps it) defines with a body: a member
// written out of line (void CFoo::Spawn( void ) { ... }) or in its class's body, or a free one.

struct FunctionDefinition {
    QStringView name;
    QString cppClass;   // CFoo of CFoo::Spawn, or the class whose body it is written in; empty
                        // for a free function
    qsizetype open = 0; // the ( of its parameters
    qsizetype body = 0; // its {
    qsizetype end = 0;  // its closing }
    int line = 0;       // of its name, from 1
};

// Calls found for each definition of a function wanted(name) asks for, in the order written.
template <typename Wanted, typename Found>
void forEachFunction(const QString& code, Wanted wanted, Found found) {
    // The classes whose bodies the reading is in, with the depth of braces each body opens.
    struct Open {
        QString cppClass;
        int depth;
    };
    QList<Open> classes;
    QString heading; // a class head read, waiting for its {
    int depth = 0;
    int line = 1;
    QStringView previous;
    for (qsizetype i = 0; i < code.size();) {
        const QChar c = code[i];
        if (!isWordChar(c)) {
            line += c == u'\n';
            if (c == u'{') {
                ++depth;
                if (!heading.isEmpty())
                    classes.append({heading, depth});
                heading.clear();
            } else if (c == u'}') {
                if (!classes.isEmpty() && classes.last().depth == depth)
                    classes.removeLast();
                --depth;
            } else if (c == u';') {
                heading.clear();
            }
            ++i;
            continue;
        }
        const qsizetype start = i;
        i = wordEnd(code, i);
        const QStringView word = QStringView(code).sliced(start, i - start);
        if ((word == u"class" || word == u"struct") && previous != u"enum") {
            const ClassHead head = classHeadAfter(code, i);
            if (!head.name.isEmpty() && head.next < code.size() &&
                (code[head.next] == u'{' || code[head.next] == u':'))
                heading = head.name.toString();
        } else if (wanted(word)) {
            const qsizetype open = spaceEnd(code, i);
            const qsizetype close =
                open < code.size() && code[open] == u'(' ? closingOf(code, open) : -1;
            if (close < 0)
                continue;
            // What may stand between the parameters and the body: const, override, final. (A
            // #define's value in parentheses is followed by other words, or by nothing.)
            qsizetype body = spaceEnd(code, close + 1);
            while (body < code.size() && isWordChar(code[body])) {
                const qsizetype end = wordEnd(code, body);
                const QStringView after = QStringView(code).sliced(body, end - body);
                if (after != u"const" && after != u"override" && after != u"final" &&
                    after != u"noexcept")
                    break;
                body = spaceEnd(code, end);
            }
            if (body == code.size() || code[body] != u'{')
                continue;
            const qsizetype end = closingOf(code, body);
            if (end < 0)
                continue;
            const QStringView qualifier = qualifierBefore(code, start);
            QString cppClass;
            if (!qualifier.isEmpty())
                cppClass = qualifier.toString();
            else if (!classes.isEmpty() && classes.last().depth == depth)
                cppClass = classes.last().cppClass;
            found({word, cppClass, open, body, end, line});
            // The body is read: on after it, counting its lines.
            for (; i <= end; ++i)
                line += code[i] == u'\n';
            previous = {};
            continue;
        }
        previous = word;
    }
}

} // namespace game
