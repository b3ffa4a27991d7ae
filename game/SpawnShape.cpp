#include "SpawnShape.h"

#include "CodeText.h"
#include "Functions.h"
#include "SourceScan.h"

namespace game {

namespace {

QString withoutSpaces(QStringView text) {
    QString bare;
    for (const QChar c : text) {
        if (!c.isSpace())
            bare += c;
    }
    return bare;
}

// A text in quotes, without them; nothing when written is no text.
std::optional<QString> quoted(QStringView written) {
    written = written.trimmed();
    if (written.size() < 2 || written.front() != u'"' || written.back() != u'"')
        return std::nullopt;
    return written.sliced(1, written.size() - 2).toString();
}

// What a model set from written is: a text, the map's own model, or anything else.
void readModel(QStringView written, SpawnFunction& function) {
    const QString bare = withoutSpaces(written);
    if (bare == u"STRING(pev->model)" || bare == u"pev->model")
        return;
    if (const std::optional<QString> text = quoted(written))
        function.models << *text;
    else
        function.modelOtherwise = true;
}

// A place a default is set in: a member (m_flWait) or an engine field (pev->speed).
bool isPlace(QStringView place) {
    if (place.startsWith(u"pev->"))
        place = place.sliced(5);
    return !place.isEmpty() && std::all_of(place.begin(), place.end(), isWordChar);
}

// A number as C writes it: 1, -2, 0.5, 10.0f.
bool isNumber(QString text) {
    if (text.endsWith(u'f'))
        text.chop(1);
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// if ( !place ) place = number; (or place == 0, place <= 0), with the if's ( at open.
void readDefault(const QString& code, qsizetype open, qsizetype to, SpawnFunction& function) {
    const qsizetype close = closingOf(code, open);
    if (close < 0 || close >= to)
        return;
    const QString condition = withoutSpaces(QStringView(code).sliced(open + 1, close - open - 1));
    QString place;
    if (condition.startsWith(u'!'))
        place = condition.sliced(1);
    for (const QStringView zero :
         {QStringView(u"==0"), QStringView(u"<=0"), QStringView(u"==0.0")}) {
        if (condition.endsWith(zero))
            place = condition.first(condition.size() - zero.size());
    }
    if (!isPlace(place))
        return;
    qsizetype from = spaceEnd(code, close + 1);
    if (from < to && code[from] == u'{')
        ++from;
    const qsizetype semicolon = code.indexOf(u';', from);
    if (semicolon < 0 || semicolon > to)
        return;
    const QString statement = withoutSpaces(QStringView(code).sliced(from, semicolon - from));
    if (!statement.startsWith(place + u'=') || statement.startsWith(place + QStringLiteral("==")))
        return;
    QString value = statement.sliced(place.size() + 1);
    if (isNumber(value)) {
        if (value.endsWith(u'f'))
            value.chop(1);
        function.defaults.insert(place, value);
    }
}

void readBody(const QString& code, qsizetype from, qsizetype to, SpawnFunction& function) {
    forEachWord(code, from, to, [&](qsizetype start, qsizetype end) {
        const QStringView word = QStringView(code).sliced(start, end - start);
        const qsizetype next = spaceEnd(code, end);
        if (word == u"model" && start >= 2 && code[start - 1] == u'>' &&
            wordBefore(code, start - 2) == u"pev") {
            // pev->model = MAKE_STRING( "models/x.mdl" ); (not a comparison)
            if (next + 1 >= to || code[next] != u'=' || code[next + 1] == u'=')
                return;
            const qsizetype value = spaceEnd(code, next + 1);
            const qsizetype valueEnd = wordEnd(code, value);
            const QStringView maker = QStringView(code).sliced(value, valueEnd - value);
            const qsizetype open = spaceEnd(code, valueEnd);
            const std::optional<QStringList> arguments =
                open < to && code[open] == u'(' ? callArguments(code, open) : std::nullopt;
            if ((maker == u"MAKE_STRING" || maker == u"ALLOC_STRING") && arguments &&
                arguments->size() == 1)
                readModel(arguments->front(), function);
            else if (maker != u"iStringNull" && maker != u"0")
                function.modelOtherwise = true;
            return;
        }
        if (next >= to || code[next] != u'(')
            return;
        if (word == u"if") {
            readDefault(code, next, to, function);
            return;
        }
        if (const QStringView qualifier = qualifierBefore(code, start); !qualifier.isEmpty()) {
            if (const QString call = qualifier.toString() + QStringLiteral("::") + word.toString();
                !function.calls.contains(call))
                function.calls << call;
            // A base's Spawn() run after the model or the hull is set may set its own instead.
            if (word == u"Spawn" && (!function.models.isEmpty() || !function.sizes.isEmpty()))
                function.laterSpawns.append(
                    {qualifier.toString(), !function.models.isEmpty(), !function.sizes.isEmpty()});
        } else if (!function.calls.contains(word)) {
            function.calls << word.toString();
        }
        const bool setsModel = word == u"SET_MODEL" || word == u"SetModel";
        const bool setsSize = word == u"UTIL_SetSize" || word == u"SetSize";
        if (!setsModel && !setsSize)
            return;
        const std::optional<QStringList> arguments = callArguments(code, next);
        if (!arguments || arguments->isEmpty()) {
            function.modelOtherwise |= setsModel;
            return;
        }
        if (setsModel)
            readModel(arguments->back(), function);
        else if (arguments->size() >= 2)
            function.sizes.append({arguments->at(arguments->size() - 2), arguments->back()});
    });
}

// The function of a class an entity of it runs: its own, else the one its (one) base gives
// it; nothing when a class on the way is not found or the function is defined twice otherwise.
const SpawnFunction* runBy(const GameCode& code, const QString& cppClass, bool onCreate) {
    return code.ownOrInherited(
        code.spawns, cppClass,
        [onCreate](const SpawnFunction& function, const QString& name) {
            return function.cppClass == name && function.onCreate == onCreate;
        },
        [](const SpawnFunction& a, const SpawnFunction& b) {
            return a.models == b.models && a.modelOtherwise == b.modelOtherwise &&
                   a.sizes == b.sizes && a.laterSpawns == b.laterSpawns;
        });
}

} // namespace

bool definesSpawn(QStringView name) {
    return name == u"Spawn" || name == u"OnCreate";
}

void readSpawnFunction(const QString& code, const FunctionDefinition& definition,
                       const QString& file, QList<SpawnFunction>& functions) {
    if (definition.cppClass.isEmpty())
        return;
    SpawnFunction function;
    function.cppClass = definition.cppClass;
    function.file = file;
    function.line = definition.line;
    function.onCreate = definition.name == u"OnCreate";
    readBody(code, definition.body, definition.end, function);
    functions.append(function);
}

void readVectorConstants(const QString& code, QHash<QString, QString>& vectors) {
    forEachDefine(code, [&](const QString& name, const QString& value) {
        if (value.startsWith(QStringLiteral("Vector")))
            vectors.insert(name, value);
    });
}

std::optional<std::array<double, 3>> vectorValue(const QString& written,
                                                 const QHash<QString, QString>& vectors) {
    QString bare = withoutSpaces(written);
    if (bare == u"g_vecZero")
        return std::array<double, 3>{};
    if (const auto named = vectors.constFind(bare); named != vectors.cend())
        bare = withoutSpaces(*named);
    if (!bare.startsWith(u"Vector(") || !bare.endsWith(u')'))
        return std::nullopt;
    const QStringList parts = bare.sliced(7, bare.size() - 8).split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    std::array<double, 3> value{};
    for (int i = 0; i < 3; ++i) {
        QString number = parts[i];
        if (number.endsWith(u'f'))
            number.chop(1);
        bool ok = false;
        value[i] = number.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return value;
}

const SpawnFunction* spawnRunBy(const GameCode& code, const QString& cppClass) {
    return runBy(code, cppClass, false);
}

EntityShape shapeOf(const GameCode& code, const QString& cppClass) {
    EntityShape shape;
    const SpawnFunction* spawn = runBy(code, cppClass, false);
    const SpawnFunction* create = runBy(code, cppClass, true);
    QStringList models;
    bool otherwise = false;
    for (const SpawnFunction* function : {spawn, create}) {
        if (!function)
            continue;
        otherwise |= function->modelOtherwise;
        for (const QString& model : function->models) {
            if (!models.contains(model, Qt::CaseInsensitive))
                models << model;
        }
    }
    if (!otherwise && models.size() == 1)
        shape.model = models.front();
    // A base's Spawn() run afterwards that sets a model or a hull in its turn (or that cannot be
    // found) leaves what the entity keeps unknown.
    bool sizeOverridden = false;
    for (const SpawnFunction::LaterSpawn& later :
         spawn ? spawn->laterSpawns : QList<SpawnFunction::LaterSpawn>()) {
        const SpawnFunction* base = runBy(code, later.base, false);
        if (later.afterModel && (!base || !base->models.isEmpty() || base->modelOtherwise))
            shape.model.clear();
        sizeOverridden |= later.afterSize && (!base || !base->sizes.isEmpty());
    }
    if (spawn && spawn->sizes.size() == 1 && !sizeOverridden) {
        const auto min = vectorValue(spawn->sizes.front().first, code.vectors);
        const auto max = vectorValue(spawn->sizes.front().second, code.vectors);
        if (min && max && (*min != std::array<double, 3>{} || *max != std::array<double, 3>{}))
            shape.hull = fgd::Box{*min, *max};
    }
    return shape;
}

} // namespace game
