#include "EditorTargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace model {

namespace {

// Whether the GameConfig.cfg beside the file at filePath, a TrenchBroom game configuration,
// names the file among its entity definitions.
bool namedByGameConfiguration(const QString& filePath) {
    if (filePath.isEmpty())
        return false;
    const QFileInfo file(filePath);
    QFile config(file.dir().filePath(QStringLiteral("GameConfig.cfg")));
    // A game configuration is a few kilobytes of JSON; anything far larger is something else.
    constexpr qint64 MaxSize = 1 << 20;
    if (config.size() > MaxSize || !config.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(config.read(MaxSize));
    // "definitions": [ "Name.fgd" ], the name perhaps with a folder before it.
    const QRegularExpression named(
        QStringLiteral("\"([^\"]*[/\\\\])?%1\"").arg(QRegularExpression::escape(file.fileName())),
        QRegularExpression::CaseInsensitiveOption);
    return text.contains(QStringLiteral("\"entities\"")) && text.contains(named);
}

} // namespace

void aimCheck(fgd::ListCheck& check, fgd::Editors chosen, const QString& filePath) {
    if (chosen != 0) {
        check.setTargets(chosen);
        return;
    }
    const fgd::Editors readers = check.onlyReadBy();
    if (namedByGameConfiguration(filePath) &&
        (readers == 0 || readers & fgd::Editor::TrenchBroom)) {
        check.setTargets(fgd::Editor::TrenchBroom, fgd::Editor::TrenchBroom,
                         QStringLiteral("the TrenchBroom game configuration beside it names it"));
        return;
    }
    // One editor alone reads what the file uses: no other can load it anyway.
    if (readers != 0 && (readers & (readers - 1)) == 0) {
        check.setTargets(readers, readers);
        return;
    }
    check.setTargets(fgd::AllEditors);
}

} // namespace model
