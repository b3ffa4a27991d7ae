#include "Compose.h"

#include "KeyValues.h"
#include "SpawnShape.h"
#include "fgd/Vocabulary.h"

#include <QSet>

#include <algorithm>
#include <map>

namespace game {

namespace {

// The words of a C name: monster_alien_grunt -> monster, alien, grunt; TriggerTarget ->
// Trigger, Target.
QStringList wordsOf(const QString& name) {
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool startsWord = c.isUpper() && i > 0 && name[i - 1].isLower();
        if (c == u'_' || startsWord) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        }
        if (c != u'_')
            word += c;
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// Words as a label: each with a capital, the rest as written (lower case when all were capitals).
QString label(const QStringList& words) {
    QStringList shown;
    for (QString word : words) {
        if (word == word.toUpper())
            word = word.toLower();
        word[0] = word[0].toUpper();
        shown << word;
    }
    return shown.join(u' ');
}

// A key's name as a label: m_iszEntity -> Entity, TriggerTarget -> Trigger Target.
QString keyLabel(const QString& key) {
    QString name = key;
    if (name.startsWith(QStringLiteral("m_"))) {
        name = name.sliced(2);
        // The type's letters a member's name starts with: flWait, iszEntity.
        qsizetype lower = 0;
        while (lower < name.size() && name[lower].isLower())
            ++lower;
        if (lower > 0 && lower <= 3 && lower < name.size())
            name = name.sliced(lower);
    }
    return label(wordsOf(name));
}

// A flag's constant as a label: SF_DOOR_START_OPEN -> Start Open (without the SF_ and the
// class's word), SF_GLOBAL -> Global.
QString flagLabel(const QString& constant) {
    QStringList words = wordsOf(constant);
    if (words.size() > 1 && words.front() == u"SF")
        words.removeFirst();
    if (words.size() > 1)
        words.removeFirst();
    return label(words);
}

struct Key {
    QString name;
    QString type;
    QString defaultValue;                   // as the FGD writes it, or empty
    std::map<qint64, QString> choices = {}; // value to label, for a choices key-value
};

// The few constants the code of a class chain compares a member with, as choices: each a number
// or a #defined one (with its name made readable as the label); none when there are fewer than
// two or more than eight, or one the code does not define.
std::map<qint64, QString> choicesOf(const GameCode& code, const QStringList& chain,
                                    const QString& member) {
    std::map<qint64, QString> choices;
    if (!member.startsWith(QStringLiteral("m_")))
        return choices;
    std::map<qint64, QStringList> named; // the words of each constant's name
    for (const QString& cppClass : chain) {
        for (const QString& constant : code.use.classes.value(cppClass).compared.value(member)) {
            bool number = false;
            const qint64 value = constant.toLongLong(&number, 0);
            if (number)
                choices.emplace(value, constant);
            else if (code.use.numbers.contains(constant))
                named.emplace(code.use.numbers.value(constant), wordsOf(constant));
            else
                return {};
        }
    }
    // The words all the names begin with (DOOR_OPENS_ of DOOR_OPENS_UP, DOOR_OPENS_DOWN) say
    // nothing of one choice.
    qsizetype common = named.size() > 1 ? named.begin()->second.size() - 1 : 0;
    for (const auto& [value, words] : named) {
        qsizetype same = 0;
        while (same < common && same < words.size() - 1 &&
               words[same] == named.begin()->second[same])
            ++same;
        common = same;
    }
    for (const auto& [value, words] : named)
        choices.emplace(value, label(words.mid(common)));
    if (choices.size() < 2 || choices.size() > 8)
        return {};
    return choices;
}

// The keys an entity's KeyValue() chain reads and keeps, but those the engine and
// DispatchKeyValue read for every entity, in the order of the chain.
QList<Key> keysOf(const GameCode& code, const QStringList& chain, const KeyReading& reading,
                  const SpawnFunction* spawn, const QSet<QString>& everyEntity) {
    QList<Key> keys;
    QSet<QString> seen;
    for (const KeyValueFunction* function : reading.functions) {
        for (const QString& name : function->exact + function->anyCase) {
            const QString lower = name.toLower();
            if (function->ignored.contains(name) || everyEntity.contains(lower) ||
                seen.contains(lower) || !fgd::isIdentifier(name))
                continue;
            seen.insert(lower);
            Key key{name, function->types.value(name, QStringLiteral("string")), {}};
            const QString store = function->stores.value(name);
            const QString value = spawn ? spawn->defaults.value(store) : QString();
            if (key.type == u"integer")
                key.choices = choicesOf(code, chain, store);
            if (!key.choices.empty()) {
                key.type = QStringLiteral("choices");
                bool number = false;
                const qint64 chosen = value.toLongLong(&number);
                key.defaultValue = QString::number(
                    number && key.choices.contains(chosen) ? chosen : key.choices.begin()->first);
            } else if (!value.isEmpty() && key.type == u"integer" && !value.contains(u'.')) {
                key.defaultValue = value;
            } else if (!value.isEmpty() && key.type == u"string") {
                key.defaultValue = u'"' + value + u'"';
            }
            keys << key;
        }
    }
    return keys;
}

// Whether a class takes its model from the map as a brush entity does: its Spawn(), or a
// function that calls (following base Spawn()s it calls, a few deep), sets the model from the
// entity's own, and makes it collide or move as a brush, or a Spawn() hides it (a zone), or its
// name says it is one.
bool isBrushEntity(const GameCode& code, const QString& entity, const QStringList& chain,
                   const SpawnFunction* spawn) {
    bool mapModel = false;
    bool brush = false;
    bool hides = false; // a Spawn() on the way hides the entity
    const auto look = [&](const QString& function) {
        if (const auto use = code.use.functions.constFind(function);
            use != code.use.functions.cend()) {
            mapModel |= use->mapModel;
            brush |= use->brush;
            hides |= use->hides && function.endsWith(QStringLiteral("::Spawn"));
        }
    };
    QList<const SpawnFunction*> spawns{spawn};
    for (int depth = 0; depth < spawns.size() && depth < 8; ++depth) {
        const SpawnFunction* each = spawns.at(depth);
        if (!each)
            continue;
        look(each->cppClass + QStringLiteral("::Spawn"));
        for (const QString& call : each->calls) {
            if (call.endsWith(QStringLiteral("::Spawn"))) {
                spawns << spawnRunBy(code, call.first(call.size() - 7)); // CBaseToggle::Spawn()
            } else if (call.contains(u':')) {
                look(call);
            } else {
                for (const QString& cppClass : chain)
                    look(cppClass + QStringLiteral("::") + call);
            }
        }
    }
    return entity == u"worldspawn" || // the map's own brushes
           (mapModel && (brush || hides || entity.startsWith(QStringLiteral("func_")) ||
                         entity.startsWith(QStringLiteral("trigger_"))));
}

// A @BaseClass of the list a composed class may name: one that brings keys and nothing else
// (no flags, and no helper but base() and color(), itself or up its bases).
bool bringsOnlyKeys(const QHash<QString, fgd::ResolvedClass>& resolved, const QString& name) {
    const fgd::ResolvedClass base = resolved.value(name);
    if (!base.declaration || base.inCycle || !base.undeclaredBases.isEmpty() ||
        base.keys.isEmpty() || !base.flags.isEmpty())
        return false;
    bool onlyKeys = true;
    const auto helpersOf = [&](const QString& of) {
        const fgd::Declaration* declaration = resolved.value(of).declaration;
        for (const fgd::Helper& helper :
             declaration ? declaration->helpers : QList<fgd::Helper>()) {
            const QString helperName = helper.name.toLower();
            onlyKeys &= helperName == u"base" || helperName == u"color";
        }
    };
    helpersOf(name);
    fgd::walkBases(
        name,
        [&](const QString& of) {
            const fgd::Declaration* declaration = resolved.value(of).declaration;
            return declaration ? declaration->bases : QStringList();
        },
        helpersOf);
    for (const fgd::KeyValue& key : base.keys)
        onlyKeys &= key.type.toLower() != u"flags";
    return onlyKeys;
}

// Whether a name is of the kind mappers place: the prefixes of Half-Life's placed classes
// (weapon_, monster_, func_, ...). The code creates some of those too (a tripmine a player
// lays, a battery a monster drops); what it creates under another name (beam, grenade,
// rpg_rocket) is its own.
bool isMappersName(const QString& entity) {
    static const QStringList prefixes{
        "ambient_",  "ammo_",   "button_", "cycler",     "env_",    "func_", "game_", "gibshooter",
        "info",      "item_",   "light",   "momentary_", "monster", "multi", "path_", "player_",
        "scripted_", "speaker", "target_", "trigger_",   "weapon_", "world", "xen_"};
    return std::any_of(prefixes.cbegin(), prefixes.cend(),
                       [&](const QString& prefix) { return entity.startsWith(prefix); });
}

} // namespace

QList<ComposedClass> composeClasses(const GameClasses& game,
                                    const QList<fgd::Declaration>& declared) {
    const GameCode& code = game.code;
    QSet<QString> declaredNames;
    for (const fgd::Declaration& declaration : declared)
        declaredNames.insert(declaration.name.toLower());
    const QHash<QString, fgd::ResolvedClass> resolved = fgd::resolveClasses(declared);
    QSet<QString> everyEntity;
    for (const QStringList* keys : {&code.engineFields, &game.everyEntityKeys}) {
        for (const QString& key : *keys)
            everyEntity.insert(key.toLower());
    }
    // Each entity once, with its one C++ class.
    std::map<QString, QString> cppClasses;
    QSet<QString> twice;
    for (const Link& link : code.links) {
        const auto [at, added] = cppClasses.emplace(link.entity, link.cppClass);
        if (!added && at->second != link.cppClass)
            twice.insert(link.entity);
    }
    QList<ComposedClass> composed;
    for (const auto& [entity, cppClass] : cppClasses) {
        if (twice.contains(entity) || cppClass.isEmpty() ||
            declaredNames.contains(entity.toLower()) || entity == u"player")
            continue;
        if (code.use.createdByName.contains(entity) && !isMappersName(entity))
            continue; // made by the code, never placed
        const QStringList chain = code.chainOf(cppClass);
        const SpawnFunction* spawn = spawnRunBy(code, cppClass);
        EntityShape shape = shapeOf(code, cppClass);
        if (!shape.hull && spawn) {
            // The hull a base's Spawn() it calls sets.
            for (const QString& call : spawn->calls) {
                if (call.endsWith(QStringLiteral("::Spawn")) && !shape.hull)
                    shape.hull = shapeOf(code, call.first(call.size() - 7)).hull;
            }
        }
        const bool solid =
            shape.model.isEmpty() && !shape.hull && isBrushEntity(code, entity, chain, spawn);
        const KeyReading reading = keysRead(code, cppClass);
        const QList<Key> keys =
            reading.known ? keysOf(code, chain, reading, spawn, everyEntity) : QList<Key>();

        // The bases whose every key the class uses.
        QSet<QString> fields;
        for (const QString& cppClassOnChain : chain) {
            for (const QString& field : code.use.classes.value(cppClassOnChain).fields)
                fields.insert(field.toLower());
        }
        const auto uses = [&](const QString& key) {
            const QString lower = key.toLower();
            if (everyEntity.contains(lower))
                return fields.contains(lower);
            return reading.known &&
                   (reading.exact.contains(key) || reading.anyCase.contains(lower));
        };
        QList<const fgd::Declaration*> candidates;
        for (const fgd::Declaration& declaration : declared) {
            if (declaration.kind != fgd::ClassKind::Base ||
                !bringsOnlyKeys(resolved, declaration.name))
                continue;
            const QList<fgd::KeyValue> baseKeys = resolved.value(declaration.name).keys;
            if (std::all_of(baseKeys.cbegin(), baseKeys.cend(),
                            [&](const fgd::KeyValue& key) { return uses(key.name); }))
                candidates << &declaration;
        }
        std::stable_sort(candidates.begin(), candidates.end(), [&](const auto* a, const auto* b) {
            return resolved.value(a->name).keys.size() > resolved.value(b->name).keys.size();
        });
        QSet<QString> brought; // the keys of the bases chosen, in lower case
        QStringList bases;
        for (const fgd::Declaration* candidate : std::as_const(candidates)) {
            bool bringsNew = false;
            const QList<fgd::KeyValue> baseKeys = resolved.value(candidate->name).keys;
            for (const fgd::KeyValue& key : baseKeys)
                bringsNew |= !brought.contains(key.name.toLower());
            if (!bringsNew || bases.contains(candidate->name))
                continue;
            bases << candidate->name;
            for (const fgd::KeyValue& key : baseKeys)
                brought.insert(key.name.toLower());
        }
        // In the order the list declares them.
        QStringList ordered;
        for (const fgd::Declaration& declaration : declared) {
            if (bases.contains(declaration.name) && !ordered.contains(declaration.name))
                ordered << declaration.name;
        }

        // The flags its code tests, by bit.
        std::map<qint64, QString> flags;
        for (const QString& cppClassOnChain : chain) {
            for (const QString& flag : code.use.classes.value(cppClassOnChain).flags) {
                bool literal = false;
                const qint64 bit = code.use.numbers.contains(flag) ? code.use.numbers.value(flag)
                                                                   : flag.toLongLong(&literal, 0);
                if ((!literal && !code.use.numbers.contains(flag)) || bit <= 0 || bit > (1 << 23) ||
                    (bit & (bit - 1)) != 0)
                    continue;
                flags.emplace(bit, literal ? QStringLiteral("Flag %1").arg(bit) : flagLabel(flag));
            }
        }

        QString head = solid ? QStringLiteral("@SolidClass") : QStringLiteral("@PointClass");
        if (!ordered.isEmpty())
            head += QStringLiteral(" base(%1)").arg(ordered.join(QStringLiteral(", ")));
        if (!solid && shape.hull)
            head += QStringLiteral(" size(%1)").arg(fgd::boxText(*shape.hull));
        if (!solid && shape.model.endsWith(QStringLiteral(".mdl"), Qt::CaseInsensitive))
            head += QStringLiteral(" studio(\"%1\")").arg(shape.model);
        head += QStringLiteral(" = %1 : \"%2\"").arg(entity, label(wordsOf(entity)));
        QStringList body;
        for (const Key& key : keys) {
            if (brought.contains(key.name.toLower()))
                continue;
            QString line =
                QStringLiteral("\t%1(%2) : \"%3\"").arg(key.name, key.type, keyLabel(key.name));
            if (!key.defaultValue.isEmpty())
                line += QStringLiteral(" : ") + key.defaultValue;
            if (key.choices.empty()) {
                body << line;
                continue;
            }
            body << line + QStringLiteral(" =") << QStringLiteral("\t[");
            for (const auto& [value, choice] : key.choices)
                body << QStringLiteral("\t\t%1 : \"%2\"").arg(value).arg(choice);
            body << QStringLiteral("\t]");
        }
        if (!flags.empty()) {
            body << QStringLiteral("\tspawnflags(flags) =") << QStringLiteral("\t[");
            for (const auto& [bit, flagName] : flags)
                body << QStringLiteral("\t\t%1 : \"%2\" : 0").arg(bit).arg(flagName);
            body << QStringLiteral("\t]");
        }
        ComposedClass result{entity, cppClass, {}};
        if (body.isEmpty())
            result.lines << head + QStringLiteral(" []");
        else
            result.lines << head << QStringLiteral("[") << body << QStringLiteral("]");
        composed << result;
    }
    return composed;
}

} // namespace game
