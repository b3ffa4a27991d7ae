#include "ClassUse.h"

#include "CodeText.h"
#include "Functions.h"

namespace game {

namespace {

// The words and numbers of code[from, to): SF_A, 4 in ( SF_A | 4 ).
void addOperands(QStringView code, qsizetype from, qsizetype to, QStringList& flags) {
    forEachWord(code, from, to, [&](qsizetype start, qsizetype end) {
        const QString word = code.sliced(start, end - start).toString();
        if (!flags.contains(word))
            flags << word;
    });
}

// The operand after the & at position at: a word, or a group in parentheses.
void addOperandAfter(const QString& code, qsizetype at, qsizetype to, QStringList& flags) {
    const qsizetype start = spaceEnd(code, at + 1);
    if (start >= to)
        return;
    if (code[start] == u'(') {
        const qsizetype close = closingOf(code, start);
        if (close > start && close < to)
            addOperands(code, start + 1, close, flags);
    } else {
        addOperands(code, start, wordEnd(code, start), flags);
    }
}

// The text in quotes of a call's first argument, MAKE_STRING( "name" ) unwrapped; empty when
// it is none.
QString quotedName(const QString& argument) {
    QString text = argument.trimmed();
    for (const QStringView maker : {QStringView(u"MAKE_STRING"), QStringView(u"ALLOC_STRING")}) {
        if (text.startsWith(maker)) {
            const qsizetype open = text.indexOf(u'(');
            if (open < 0 || !text.endsWith(u')'))
                return {};
            text = text.sliced(open + 1, text.size() - open - 2).trimmed();
        }
    }
    if (text.size() < 3 || text.front() != u'"' || text.back() != u'"')
        return {};
    return text.sliced(1, text.size() - 2);
}

// A constant a member may be compared with: a number, or a name in capitals.
bool isConstant(QStringView text) {
    if (text.isEmpty())
        return false;
    bool number = false;
    (void)text.toLongLong(&number, 0);
    return number || std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
           });
}

void addCompared(ClassUse& use, const QString& member, const QString& constant) {
    QStringList& constants = use.compared[member];
    if (!constants.contains(constant))
        constants << constant;
}

// m_iStyle == 2 or 2 == m_iStyle, the member's name at [start, end).
void readComparison(const QString& code, qsizetype start, qsizetype end, qsizetype to,
                    ClassUse& use) {
    const QString member = code.sliced(start, end - start);
    const qsizetype after = spaceEnd(code, end);
    if (after + 1 < to && code[after] == u'=' && code[after + 1] == u'=') {
        const qsizetype value = spaceEnd(code, after + 2);
        const QString constant = code.sliced(value, wordEnd(code, value) - value);
        if (isConstant(constant))
            addCompared(use, member, constant);
    }
    qsizetype before = start;
    while (before > 0 && code[before - 1].isSpace())
        --before;
    if (before > 1 && code[before - 1] == u'=' && code[before - 2] == u'=') {
        const QString constant = wordBefore(code, before - 2).toString();
        if (isConstant(constant))
            addCompared(use, member, constant);
    }
}

// switch ( m_iStyle ) { case STYLE_A: ... case 2: ... }, the ( at open.
void readSwitch(const QString& code, qsizetype open, qsizetype to, ClassUse& use) {
    const qsizetype close = closingOf(code, open);
    if (close < 0 || close >= to)
        return;
    const QString member = code.sliced(open + 1, close - open - 1).trimmed();
    const qsizetype body = spaceEnd(code, close + 1);
    if (!member.startsWith(u"m_") || !std::all_of(member.begin(), member.end(), isWordChar) ||
        body >= to || code[body] != u'{')
        return;
    const qsizetype end = closingOf(code, body);
    if (end < 0 || end > to)
        return;
    forEachWord(code, body, end, [&](qsizetype start, qsizetype wordEnds) {
        if (QStringView(code).sliced(start, wordEnds - start) != u"case")
            return;
        const qsizetype colon = code.indexOf(u':', wordEnds);
        if (colon < 0 || colon > end)
            return;
        const QString constant = code.sliced(wordEnds, colon - wordEnds).trimmed();
        if (isConstant(constant))
            addCompared(use, member, constant);
    });
}

} // namespace

void readFunctionUse(const QString& code, const FunctionDefinition& definition, CodeUse& use) {
    ClassUse* classUse =
        definition.cppClass.isEmpty() ? nullptr : &use.classes[definition.cppClass];
    FunctionUse function;
    const qsizetype to = definition.end;
    forEachWord(code, definition.body, to, [&](qsizetype start, qsizetype end) {
        const QStringView word = QStringView(code).sliced(start, end - start);
        const qsizetype next = spaceEnd(code, end);
        const bool arrow = start >= 2 && code[start - 1] == u'>' && code[start - 2] == u'-';
        if (classUse && word.startsWith(u"m_") && word.size() > 2) {
            readComparison(code, start, end, to, *classUse);
        } else if (classUse && word == u"switch" && next < to && code[next] == u'(') {
            readSwitch(code, next, to, *classUse);
        } else if (word == u"SOLID_BSP" || word == u"SOLID_TRIGGER" || word == u"MOVETYPE_PUSH") {
            function.brush = true;
        } else if (word == u"EF_NODRAW") {
            function.hides = true;
        } else if (arrow && wordBefore(code, start - 2) == u"pev") {
            if (classUse)
                classUse->fields.insert(word.toString());
            // What stands before the pev of pev->field, spaces skipped.
            qsizetype before = start - 2;
            while (before > 0 && code[before - 1].isSpace())
                --before;
            before -= 3;
            while (before > 0 && code[before - 1].isSpace())
                --before;
            const bool opens = before > 0 && code[before - 1] == u'(';
            if (word == u"model" && opens && wordBefore(code, before - 1) == u"STRING") {
                // SET_MODEL( ENT(pev), STRING( pev->model ) ), not PRECACHE_MODEL( ... ).
                qsizetype statement = before;
                while (statement > 0 && code[statement - 1] != u';' &&
                       code[statement - 1] != u'{' && code[statement - 1] != u'}')
                    --statement;
                const QStringView call = QStringView(code).sliced(statement, before - statement);
                function.mapModel |= call.contains(u"SET_MODEL") || call.contains(u"SetModel");
            }
            if (word == u"classname" && next + 1 < to && code[next] == u'=' &&
                code[next + 1] != u'=') {
                // pev->classname = MAKE_STRING( "beam" ): an entity the code names itself.
                const qsizetype semicolon = code.indexOf(u';', next);
                if (semicolon > next && semicolon < to) {
                    if (const QString name =
                            quotedName(code.sliced(next + 1, semicolon - next - 1));
                        !name.isEmpty())
                        use.createdByName.insert(name);
                }
            }
            if (word != u"spawnflags" || !classUse)
                return;
            // pev->spawnflags & SF_X, SF_X & pev->spawnflags, FBitSet( pev->spawnflags, SF_X )
            if (next + 1 < to && code[next] == u'&' && code[next + 1] != u'&' &&
                code[next + 1] != u'=')
                addOperandAfter(code, next, to, classUse->flags);
            if (before > 1 && code[before - 1] == u'&' && code[before - 2] != u'&') {
                const QStringView operand = wordBefore(code, before - 1);
                if (!operand.isEmpty() && !classUse->flags.contains(operand))
                    classUse->flags << operand.toString();
            }
            if (opens && wordBefore(code, before - 1) == u"FBitSet") {
                if (const std::optional<QStringList> arguments = callArguments(code, before - 1);
                    arguments && arguments->size() == 2)
                    addOperands(arguments->at(1), 0, arguments->at(1).size(), classUse->flags);
            }
        } else if (next < to && code[next] == u'(' &&
                   (word == u"Create" || word == u"CREATE_NAMED_ENTITY")) {
            if (const std::optional<QStringList> arguments = callArguments(code, next);
                arguments && !arguments->isEmpty()) {
                if (const QString name = quotedName(arguments->front()); !name.isEmpty())
                    use.createdByName.insert(name);
            }
        }
    });
    if ((function.mapModel || function.brush || function.hides) && !definition.cppClass.isEmpty())
        use.functions.insert(
            definition.cppClass + QStringLiteral("::") + definition.name.toString(), function);
}

void readNumberConstants(const QString& code, QHash<QString, qint64>& numbers) {
    forEachDefine(code, [&](const QString& name, QString value) {
        value.remove(u' ').remove(u'\t');
        while (value.startsWith(u'(') && value.endsWith(u')'))
            value = value.sliced(1, value.size() - 2);
        bool ok = false;
        qint64 number = 0;
        if (const qsizetype shift = value.indexOf(QStringLiteral("<<")); shift > 0) {
            bool left = false;
            bool right = false;
            const qint64 base = value.first(shift).toLongLong(&left, 0);
            const qint64 by = value.sliced(shift + 2).toLongLong(&right, 0);
            ok = left && right && by >= 0 && by < 63;
            number = ok ? base << by : 0;
        } else {
            number = value.toLongLong(&ok, 0);
        }
        if (ok)
            numbers.insert(name, number);
    });
}

} // namespace game
