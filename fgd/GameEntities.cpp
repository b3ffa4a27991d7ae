#include "GameEntities.h"

namespace fgd {

namespace {

// What the map compilers read and the game never sees: their own keys (_light, zhlt_lightflags,
// light_origin), the texture files worldspawn names, a light's style on a brush entity.
bool isCompilerKey(const QString& key, const QString& entity, bool solid) {
    const QString lower = key.toLower();
    return lower.startsWith(u'_') || lower.startsWith(u"zhlt_") || lower == u"light_origin" ||
           lower == u"wad" || (solid && lower == u"style") ||
           (entity == u"worldspawn" && lower == u"light");
}

} // namespace

void GameEntities::set(const QHash<QString, EntityCode>& entities, const QStringList& engineFields,
                       const QStringList& everyEntity) {
    m_entities = entities;
    m_byClass.clear();
    for (auto entity = entities.cbegin(); entity != entities.cend(); ++entity)
        m_byClass[entity->cppClass] << entity.key();
    m_everyEntity.clear();
    for (const QStringList& keys : {engineFields, everyEntity}) {
        for (const QString& key : keys)
            m_everyEntity.insert(key.toLower());
    }
}

bool GameEntities::isRead(const EntityCode& keys, const QString& key) const {
    const QString lower = key.toLower();
    return keys.exact.contains(key) || keys.anyCase.contains(lower) ||
           m_everyEntity.contains(lower);
}

std::optional<Problem> GameEntities::judge(const QString& entity, bool solid, const QString& key,
                                           int line, qsizetype column) const {
    const auto keys = m_entities.constFind(entity);
    if (keys == m_entities.cend() || !keys->keysKnown || isRead(*keys, key) ||
        isCompilerKey(key, entity, solid))
        return std::nullopt;
    const QString lower = key.toLower();
    for (const QString& read : keys->exact) {
        if (read.toLower() == lower)
            return Problem{line, column, Severity::Warning, &Rules::KeyCase,
                           QStringLiteral("the code of %1 reads this key as %2, never as %3: "
                                          "KeyValue() compares key names in their case, so the "
                                          "value set here never reaches it; write %2")
                               .arg(entity, read, key)};
    }
    return Problem{line, column, Severity::Warning, &Rules::KeyUnread,
                   QStringLiteral("no code of %1 reads the key %2 (the KeyValue() its C++ class "
                                  "%3 runs, and those that passes keys on to, never compare it, "
                                  "and the engine does not fill it): a value set here does "
                                  "nothing in the game")
                       .arg(entity, key, keys->cppClass)};
}

Problem GameEntities::inherited(const QString& entity, const QStringList& unread, int line,
                                qsizetype column) const {
    return Problem{
        line, column, Severity::Warning, &Rules::KeyUnread,
        QStringLiteral("no code of %1 reads %2, which its bases give it (the KeyValue() its "
                       "C++ class %3 runs, and those that passes keys on to, never compare "
                       "them): values set there do nothing in the game")
            .arg(entity, unread.join(QStringLiteral(", ")), m_entities.value(entity).cppClass)};
}

std::optional<Problem> GameEntities::undeclaredKeys(const QString& entity,
                                                    const QSet<QString>& declared, int line,
                                                    qsizetype column) const {
    const auto code = m_entities.constFind(entity);
    if (code == m_entities.cend() || !code->keysKnown)
        return std::nullopt;
    QStringList missing;
    for (const QString& key : code->ownKeys) {
        if (!declared.contains(key.toLower()) && !missing.contains(key))
            missing << key;
    }
    if (missing.isEmpty())
        return std::nullopt;
    return Problem{line, column, Severity::Note, &Rules::KeyUndeclared,
                   QStringLiteral("the KeyValue() of %1's C++ class %2 reads %3, which this "
                                  "declaration does not offer: a mapper can set %4 only by "
                                  "typing the key by hand")
                       .arg(entity, code->cppClass, missing.join(QStringLiteral(", ")),
                            missing.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"))};
}

QStringList GameEntities::sameClassAs(const QString& entity) const {
    QStringList others = m_byClass.value(m_entities.value(entity).cppClass);
    others.removeOne(entity);
    return others;
}

std::optional<Problem> GameEntities::modelProblem(const QString& entity, const QString& model,
                                                  int line, qsizetype column) const {
    const QString code = m_entities.value(entity).model;
    // The engine's file system finds a model in any case, with either slash.
    const auto path = [](QString written) {
        return written.replace(u'\\', u'/').toLower();
    };
    if (code.isEmpty() || model.isEmpty() || path(code) == path(model))
        return std::nullopt;
    return Problem{line, column, Severity::Warning, &Rules::ModelDiffers,
                   QStringLiteral("the editor shows %1 with the model %2, but its Spawn() in "
                                  "the game's code (C++ class %3) gives it %4")
                       .arg(entity, model, m_entities.value(entity).cppClass, code)};
}

namespace {

// A point of size(), "-16 -16 0", as three numbers.
std::optional<std::array<double, 3>> pointOf(const QString& written) {
    const QStringList numbers = written.split(u' ', Qt::SkipEmptyParts);
    if (numbers.size() != 3)
        return std::nullopt;
    std::array<double, 3> point{};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        point[i] = numbers[i].toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return point;
}

} // namespace

QString boxText(const Box& box) {
    const auto point = [](const std::array<double, 3>& p) {
        const auto number = [](double value) {
            return QString::number(value, 'g', 12);
        };
        return QStringLiteral("%1 %2 %3").arg(number(p[0]), number(p[1]), number(p[2]));
    };
    return point(box.min) + QStringLiteral(", ") + point(box.max);
}

std::optional<Problem> GameEntities::sizeProblem(const QString& entity, const QStringList& size,
                                                 int line, qsizetype column) const {
    const std::optional<Box> hull = m_entities.value(entity).hull;
    // size() with one point is centred on the origin in some editors and not in others: only
    // two points say one box.
    if (!hull || size.size() != 2)
        return std::nullopt;
    const std::optional<std::array<double, 3>> min = pointOf(size[0]);
    const std::optional<std::array<double, 3>> max = pointOf(size[1]);
    if (!min || !max)
        return std::nullopt;
    bool holds = true;
    for (int i = 0; i < 3; ++i)
        holds &= (*min)[i] <= hull->min[i] && (*max)[i] >= hull->max[i];
    if (holds)
        return std::nullopt;
    return Problem{line, column, Severity::Note, &Rules::SizeDiffers,
                   QStringLiteral("the editor draws %1 in the box %2, but its Spawn() in the "
                                  "game's code (C++ class %3) gives it the hull %4: the box "
                                  "does not show where the entity will stand or stick")
                       .arg(entity, boxText(Box{*min, *max}), m_entities.value(entity).cppClass,
                            boxText(*hull))};
}

} // namespace fgd
