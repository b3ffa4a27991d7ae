#include "KeyValues.h"

#include "CodeText.h"
#include "Functions.h"
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

// The ( of the if whose condition holds position at, or -1 when it stands in no if's condition.
qsizetype conditionAround(QStringView body, qsizetype at) {
    for (int depth = 0; at > 0; --at) {
        const QChar c = body[at - 1];
        if (c == u')') {
            ++depth;
        } else if (c == u'(' && depth-- == 0) {
            if (wordBefore(body, at - 1) == u"if")
                return at - 1;
            depth = 0; // an enclosing call or group: on outwards
        } else if (c == u';' || c == u'{' || c == u'}') {
            break;
        }
    }
    return -1;
}

// What an if does with a key's value when the key is compared: where it stores it (a member,
// m_flWait, or an engine field, pev->speed), and how it reads it.
struct ValueUse {
    bool keeps = false; // it does more than mark the key handled (key->fHandled = TRUE;)
    QString store;      // the first place it assigns the value to, as written without spaces
    QString reader;     // the function the value is read with: atoi, atof, ALLOC_STRING, ...
};

ValueUse valueUse(const QString& body, qsizetype condition, QStringView key) {
    ValueUse use;
    const qsizetype close = closingOf(body, condition);
    if (close < 0)
        return use;
    qsizetype from = spaceEnd(body, close + 1);
    qsizetype to =
        from < body.size() && body[from] == u'{' ? closingOf(body, from) : body.indexOf(u';', from);
    if (to < 0)
        return use;
    if (body[from] == u'{')
        ++from;
    for (QStringView statement : QStringView(body).sliced(from, to - from).split(u';')) {
        statement = statement.trimmed();
        if (statement.isEmpty() || statement == u"}" || statement.startsWith(u"return"))
            continue;
        if (statement.startsWith(key) && statement.contains(u"fHandled"))
            continue;
        use.keeps = true;
        // m_flWait = atof( pkvd->szValue ): where it goes, and what reads it.
        const qsizetype equals = statement.indexOf(u'=');
        const qsizetype value = statement.indexOf(u"szValue");
        if (use.store.isEmpty() && equals > 0 && value > equals && statement[equals + 1] != u'=') {
            for (const QChar c : statement.first(equals)) {
                if (!c.isSpace())
                    use.store += c;
            }
            const qsizetype open = statement.lastIndexOf(u'(', value);
            if (open > equals)
                use.reader = wordBefore(statement, open).toString();
        }
    }
    return use;
}

// The type a declaration gives a key, from its name, where the code stores its value and how
// it reads it: a number, a target, a sound, a model, a colour; a text when unsure.
QString typeOf(const QString& name, const ValueUse& use) {
    const QString words = (name + u' ' + use.store).toLower();
    if (words.contains(u"target") || words.contains(u"master"))
        return QStringLiteral("target_destination");
    if (words.contains(u"sound") || words.contains(u"noise"))
        return QStringLiteral("sound");
    if (words.contains(u"model"))
        return QStringLiteral("studio");
    if (words.contains(u"color") || words.contains(u"colour"))
        return QStringLiteral("color255");
    if (use.reader == u"atoi" || use.reader == u"atol")
        return QStringLiteral("integer");
    return QStringLiteral("string");
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
            const QString name = other.sliced(1, other.size() - 2);
            (exact ? function.exact : function.anyCase) << name;
            const qsizetype condition = conditionAround(body, open);
            const ValueUse use = condition < 0 ? ValueUse{} : valueUse(body, condition, key);
            if (!use.keeps)
                function.ignored << name;
            else if (use.store.startsWith(u"pev->"))
                function.engineAliases << name;
            if (use.keeps) {
                function.stores.insert(name, use.store);
                function.types.insert(name, typeOf(name, use));
            }
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
                arguments && arguments->contains(key.toString()) &&
                !function.handedTo.contains(word))
                function.handedTo << word.toString();
        }
    });
}

// Two definitions of one function (a client's and a server's copy) that read keys alike.
bool readAlike(const KeyValueFunction& a, const KeyValueFunction& b) {
    return a.exact == b.exact && a.anyCase == b.anyCase && a.passesTo == b.passesTo &&
           a.handedTo == b.handedTo && a.readsOtherwise == b.readsOtherwise;
}

} // namespace

bool definesKeyValue(QStringView name) {
    return name == u"KeyValue" || name == u"DispatchKeyValue";
}

void readKeyValueFunction(const QString& code, const FunctionDefinition& definition,
                          const QString& file, QList<KeyValueFunction>& functions) {
    // DispatchKeyValue is the game's own function, of no class; a helper may be either.
    const bool dispatch = definition.name == u"DispatchKeyValue";
    const bool keyValue = definition.name == u"KeyValue";
    const QString cppClass = dispatch ? QString() : definition.cppClass;
    const std::optional<QStringList> parameters = callArguments(code, definition.open);
    // The parameter that holds the key: KeyValueData *pkvd.
    qsizetype which = -1;
    for (qsizetype p = 0; parameters && p < parameters->size(); ++p) {
        if (parameters->at(p).contains(u"KeyValueData"))
            which = p;
    }
    if (which < 0 || (keyValue && (cppClass.isEmpty() || parameters->size() != 1)))
        return;
    const QString& parameter = parameters->at(which);
    const QStringView key = wordBefore(parameter, parameter.size());
    KeyValueFunction function;
    function.name = definition.name.toString();
    function.cppClass = cppClass;
    function.file = file;
    function.line = definition.line;
    readBody(code.mid(definition.body, definition.end - definition.body + 1), key, function);
    functions.append(function);
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
        QString name;
        const KeyValueFunction* function = code.ownOrInherited(
            code.keyValues, next.takeFirst(),
            [](const KeyValueFunction& each, const QString& of) {
                return each.cppClass == of && each.name == u"KeyValue";
            },
            readAlike, &name);
        if (!function || function->readsOtherwise)
            return {};
        if (seen.contains(name))
            continue;
        seen.insert(name);
        reading.through << name;
        // It, and the functions it hands the key to whole, followed.
        QList<const KeyValueFunction*> reads{function};
        for (qsizetype i = 0; i < reads.size(); ++i) {
            for (const QString& handed : reads.at(i)->handedTo) {
                const KeyValueFunction* helper = helperNamed(code, handed, code.chainOf(name));
                if (!helper || helper->readsOtherwise)
                    return {};
                if (!reads.contains(helper) && !reading.functions.contains(helper))
                    reads << helper;
            }
        }
        for (const KeyValueFunction* each : reads) {
            reading.functions << each;
            for (const QString& key : each->exact)
                reading.exact.insert(key);
            for (const QString& key : each->anyCase)
                reading.anyCase.insert(key.toLower());
            next += each->passesTo;
        }
    }
    reading.known = true;
    return reading;
}

const KeyValueFunction* helperNamed(const GameCode& code, const QString& name,
                                    const QStringList& classes) {
    QList<const KeyValueFunction*> candidates;
    for (const KeyValueFunction& candidate : code.keyValues) {
        if (candidate.name == name && candidate.name != u"KeyValue" &&
            (candidate.cppClass.isEmpty() || classes.contains(candidate.cppClass)))
            candidates << &candidate;
    }
    candidates = code.compiled(candidates);
    for (const KeyValueFunction* candidate : std::as_const(candidates)) {
        if (!readAlike(*candidates.constFirst(), *candidate))
            return nullptr;
    }
    return candidates.isEmpty() ? nullptr : candidates.constFirst();
}

} // namespace game
