#include "EntityLine.h"

#include <array>

namespace model {

namespace {
const QString CustomKind = QStringLiteral("Custom");
}

std::span<const EntityClassKind> entityClassKinds() {
    static const std::array<EntityClassKind, 4> kinds{{
        {QStringLiteral("Player"), QStringLiteral("-16 -16 -36, 16 16 36")},
        {QStringLiteral("Weapon"), QStringLiteral("-16 -16 0, 16 16 36")},
        {QStringLiteral("Monster"), QStringLiteral("-16 -16 -36, 16 16 36")},
        {CustomKind, QString()},
    }};
    return kinds;
}

const QStringList& entityPrefixes() {
    static const QStringList prefixes{
        QStringLiteral("weapon_"),   QStringLiteral("item_"),    QStringLiteral("ammo_"),
        QStringLiteral("info_"),     QStringLiteral("monster_"), QStringLiteral("multi_"),
        QStringLiteral("ambient_"),  QStringLiteral("path_"),    QStringLiteral("player_"),
        QStringLiteral("scripted_"), QStringLiteral("target_"),  QStringLiteral("trigger_"),
    };
    return prefixes;
}

QString ComposeEntityLine(const QString& kind, const QString& prefix, const QString& suffix,
                          const QString& realName, const AskCustomSize& askCustomSize) {
    QString size;
    if (kind == CustomKind && askCustomSize)
        size = askCustomSize();

    QString line;
    if (!size.isEmpty()) {
        // The user's box goes in verbatim: no trimming, no validation.
        line = QStringLiteral("@PointClass size(") + size + QLatin1Char(')');
    } else {
        for (const EntityClassKind& k : entityClassKinds()) {
            if (!k.sizeBox.isEmpty() && kind == k.name) {
                line = QStringLiteral("@PointClass size(") + k.sizeBox + QLatin1Char(')');
                break;
            }
        }
    }

    line += QStringLiteral(" = ") + prefix + suffix + QStringLiteral(" : \"") + realName +
            QStringLiteral("\" []");
    return line;
}

} // namespace model
