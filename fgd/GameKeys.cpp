#include "GameKeys.h"

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

void GameKeys::set(const QHash<QString, EntityKeys>& entities, const QStringList& engineFields,
                   const QStringList& everyEntity) {
    m_entities = entities;
    m_everyEntity.clear();
    for (const QStringList& keys : {engineFields, everyEntity}) {
        for (const QString& key : keys)
            m_everyEntity.insert(key.toLower());
    }
}

bool GameKeys::isRead(const EntityKeys& keys, const QString& key) const {
    const QString lower = key.toLower();
    return keys.exact.contains(key) || keys.anyCase.contains(lower) ||
           m_everyEntity.contains(lower);
}

std::optional<Problem> GameKeys::judge(const QString& entity, bool solid, const QString& key,
                                       int line, qsizetype column) const {
    const auto keys = m_entities.constFind(entity);
    if (keys == m_entities.cend() || isRead(*keys, key) || isCompilerKey(key, entity, solid))
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

Problem GameKeys::inherited(const QString& entity, const QStringList& unread, int line,
                            qsizetype column) const {
    return Problem{
        line, column, Severity::Warning, &Rules::KeyUnread,
        QStringLiteral("no code of %1 reads %2, which its bases give it (the KeyValue() its "
                       "C++ class %3 runs, and those that passes keys on to, never compare "
                       "them): values set there do nothing in the game")
            .arg(entity, unread.join(QStringLiteral(", ")), m_entities.value(entity).cppClass)};
}

} // namespace fgd
