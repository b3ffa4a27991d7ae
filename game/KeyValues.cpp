#include "KeyValues.h"

#include "CodeText.h"
#include "SourceScan.h"

namespace game {

namespace {

// The functions that compare two names, in their case or in any case: what KeyValue() calls to
// ask whether the key is one it knows. A strncmp or the like compares a prefix.
bool comparesExactly(QStringView function) {
    return function == u"FStrEq" || function == u"strcmp" || function == u"Q_strcmp" ||
           function == u"V_strcmp";
}

bool comparesInAnyCase(QStringView function) {
    return function == u"stricmp" || function == u"_stricmp" || function == u"strcasecmp" ||
           function == u"Q_stricmp" || function == u"V_stricmp" || function == u"strcmpi" ||
           function == u"_strcmpi" || function == u"FStrIEq";
}

// A key name kept in quotes: "targetname".
bool isQuotedName(QStringView text) {
    return text.size() > 2 && text.front() == u'"' && text.back() == u'"' &&
           std::all_of(text.begin() + 1, text.end() - 1, isWordChar);
}

// Reads the body of a KeyValue() whose KeyValueData parameter is named key.
void readBody(const QString& body, QStringView key, KeyValueFunction& function) {
    forEachWord(body, 0, body.size(), [&](qsizetype start, qsizetype i) {
        const QStringView word = QStringView(body).sliced(start, i - start);
        if (word == key) {
            // key->szKeyName: compared with a name, or read otherwise.
            qsizetype at = spaceEnd(body, i);
            if (!QStringView(body).sliced(at).startsWith(u"->"))
                return;
            at = spaceEnd(body, at + 2);
            if (QStringView(body).sliced(at, wordEnd(body, at) - at) != u"szKeyName")
                return;
            // The call it stands in: the nearest ( before it that is not closed.
            qsizetype open = start - 1;
            for (int depth = 0; open >= 0; --open) {
                const QChar c = body[open];
                if (c == u')')
                    ++depth;
                else if (c == u'(' && depth-- == 0)
                    break;
                else if (c == u';' || c == u'{' || c == u'}')
                    open = 0;
            }
            const QStringView called = open > 0 ? wordBefore(body, open) : QStringView();
            const std::optional<QStringList> arguments =
                open > 0 ? callArguments(body, open) : std::nullopt;
            const bool exact = comparesExactly(called);
            if (!arguments || arguments->size() != 2 || !(exact || comparesInAnyCase(called))) {
                function.readsOtherwise = true;
                return;
            }
            const QString& other =
                arguments->at(0).contains(u"szKeyName") ? arguments->at(1) : arguments->at(0);
            if (!isQuotedName(other)) {
                function.readsOtherwise = true;
                return;
            }
            (exact ? function.exact : function.anyCase) << other.sliced(1, other.size() - 2);
        } else if (word == u"KeyValue") {
            // Base::KeyValue( key ): the key goes on to that class's KeyValue().
            const qsizetype open = spaceEnd(body, i);
            if (open == body.size() || body[open] != u'(')
                return;
            const std::optional<QStringList> arguments = callArguments(body, open);
            const QStringView base = qualifierBefore(body, start);
            if (!arguments || arguments->size() != 1 || arguments->at(0) != key || base.isEmpty())
                function.readsOtherwise = true; // this->KeyValue(), a name through a typedef ...
            else if (!function.passesTo.contains(base))
                function.passesTo << base.toString();
        } else {
            // Any other call the key is handed to, whole: what it reads is not followed.
            const qsizetype open = spaceEnd(body, i);
            if (open == body.size() || body[open] != u'(')
                return;
            if (const std::optional<QStringList> arguments = callArguments(body, open);
                arguments && arguments->contains(key.toString())) {
                function.readsOtherwise = true;
                function.handedTo << word.toString();
            }
        }
    });
}

} // namespace

void readKeyValueFunctions(const QString& code, const QString& file,
                           QList<KeyValueFunction>& functions) {
    // Most files of a mod define no KeyValue(): one search spares them the reading.
    if (!code.contains(QStringLiteral("KeyValue")))
        return;
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
        } else if (word == u"KeyValue" || word == u"DispatchKeyValue") {
            const bool dispatch = word == u"DispatchKeyValue";
            const qsizetype open = spaceEnd(code, i);
            const qsizetype close =
                open < code.size() && code[open] == u'(' ? closingOf(code, open) : -1;
            if (close < 0)
                continue;
            // What may stand between the parameters and the body: const, override, final.
            qsizetype body = spaceEnd(code, close + 1);
            while (body < code.size() && isWordChar(code[body]))
                body = spaceEnd(code, wordEnd(code, body));
            if (body == code.size() || code[body] != u'{')
                continue;
            const qsizetype end = closingOf(code, body);
            if (end < 0)
                continue;
            // Its class: CFoo::KeyValue, or the class whose body it is written in.
            // (DispatchKeyValue is the game's own function, of no class.)
            const QStringView qualifier = qualifierBefore(code, start);
            QString cppClass;
            if (!dispatch && !qualifier.isEmpty())
                cppClass = qualifier.toString();
            else if (!dispatch && !classes.isEmpty() && classes.last().depth == depth)
                cppClass = classes.last().cppClass;
            const std::optional<QStringList> parameters = callArguments(code, open);
            // The parameter that holds the key: KeyValueData *pkvd.
            qsizetype which = -1;
            for (qsizetype p = 0; parameters && p < parameters->size(); ++p) {
                if (parameters->at(p).contains(u"KeyValueData"))
                    which = p;
            }
            if ((dispatch || !cppClass.isEmpty()) && which >= 0 &&
                (dispatch || parameters->size() == 1)) {
                const QString& parameter = parameters->at(which);
                const QStringView key = wordBefore(parameter, parameter.size());
                KeyValueFunction function{cppClass, file, line, {}, {}, {}, {}, false};
                readBody(code.mid(body, end - body + 1), key, function);
                functions.append(function);
            }
            // The body is read: on after it, counting its lines.
            for (; i <= end; ++i)
                line += code[i] == u'\n';
            previous = {};
            continue;
        }
        previous = word;
    }
}

QStringList engineFieldsIn(const QString& code) {
    QStringList fields;
    const qsizetype table = code.indexOf(QStringLiteral("gEntvarsDescription"));
    if (table < 0)
        return fields;
    // gEntvarsDescription[] = { DEFINE_ENTITY_FIELD( classname, FIELD_STRING ), ... };
    const qsizetype open = code.indexOf(u'{', table);
    const qsizetype semicolon = code.indexOf(u';', table);
    if (open < 0 || (semicolon >= 0 && semicolon < open))
        return fields;
    const qsizetype close = closingOf(code, open);
    if (close < 0)
        return fields;
    forEachWord(code, open, close, [&](qsizetype start, qsizetype end) {
        const qsizetype paren = spaceEnd(code, end);
        if (!QStringView(code).sliced(start, end - start).startsWith(u"DEFINE_ENTITY") ||
            paren >= close || code[paren] != u'(')
            return;
        if (const std::optional<QStringList> arguments = callArguments(code, paren);
            arguments && !arguments->isEmpty())
            fields << arguments->front();
    });
    return fields;
}

KeyReading keysRead(const GameCode& code, const QString& cppClass) {
    KeyReading reading;
    // The KeyValue() an entity of a class runs: its own, or the one it inherits, each time the
    // key is passed on to a class named.
    QStringList next{cppClass};
    QSet<QString> seen;
    while (!next.isEmpty()) {
        QString name = next.takeFirst();
        const KeyValueFunction* function = nullptr;
        for (int step = 0; !function && step < 64; ++step) {
            const KeyValueFunction* found = nullptr;
            for (const KeyValueFunction& candidate : code.keyValues) {
                if (candidate.cppClass != name)
                    continue;
                // Defined twice (a client's and a server's copy): only when alike.
                if (found &&
                    (found->exact != candidate.exact || found->anyCase != candidate.anyCase ||
                     found->passesTo != candidate.passesTo ||
                     found->readsOtherwise != candidate.readsOtherwise))
                    return {};
                found = &candidate;
            }
            if (found) {
                function = found;
                break;
            }
            // No KeyValue() of its own: its (one) base class's.
            const CppClass* defined = code.classNamed(name);
            if (!defined || defined->bases.size() != 1)
                return {};
            name = defined->bases.front();
        }
        if (!function || function->readsOtherwise)
            return {};
        if (seen.contains(name))
            continue;
        seen.insert(name);
        reading.through << name;
        for (const QString& key : function->exact)
            reading.exact.insert(key);
        for (const QString& key : function->anyCase)
            reading.anyCase.insert(key.toLower());
        next += function->passesTo;
    }
    reading.known = true;
    return reading;
}

} // namespace game
