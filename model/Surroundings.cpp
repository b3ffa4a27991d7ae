#include "Surroundings.h"

#include "IncludedClasses.h"
#include "game/Liblist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace model {

namespace {

// Whether the GameConfig.cfg beside the file at filePath, a TrenchBroom game configuration,
// names the file among its entity definitions.
bool namedByGameConfiguration(const QFileInfo& file) {
    QFile config(file.dir().filePath(QStringLiteral("GameConfig.cfg")));
    // A game configuration is a few kilobytes of JSON; anything far larger is something else.
    constexpr qint64 MaxSize = 1 << 20;
    if (config.size() > MaxSize || !config.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(config.read(MaxSize));
    if (!text.contains(QStringLiteral("\"entities\"")))
        return false;
    // "definitions": [ "Name.fgd" ], the name perhaps with a folder before it. Found by hand:
    // the check command checks files on threads (see "No regular expression on a thread" in
    // game/README.md).
    const QString name = file.fileName() + u'"';
    for (qsizetype at = text.indexOf(name, 1, Qt::CaseInsensitive); at > 0;
         at = text.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        const QChar before = text[at - 1];
        if (before == u'"' ||
            ((before == u'/' || before == u'\\') && text.lastIndexOf(u'"', at - 1) >= 0))
            return true;
    }
    return false;
}

void aimCheck(fgd::ListCheck& check, fgd::Editors chosen, bool inGameConfiguration) {
    if (chosen != 0) {
        check.setTargets(chosen);
        return;
    }
    const fgd::Editors readers = check.onlyReadBy();
    if (inGameConfiguration && (readers == 0 || readers & fgd::Editor::TrenchBroom)) {
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

} // namespace

Surroundings Surroundings::ofFile(const QString& path) {
    const QFileInfo file(path);
    return {file.absoluteFilePath(), file.absolutePath(), game::findLiblist(path),
            namedByGameConfiguration(file)};
}

Surroundings Surroundings::ofWorkingFolder() {
    return {{}, QDir::currentPath(), std::nullopt, false};
}

void checkAgainstGame(fgd::ListCheck& check, const game::GameClasses* game) {
    if (!game) {
        check.setGame({}, {});
        check.setGameCode({}, {}, {});
        return;
    }
    check.setGame(game->names, QDir::toNativeSeparators(game->source));
    check.setGameCode(game->entities, game->code.engineFields, game->everyEntityKeys);
}

void checkInSurroundings(fgd::ListCheck& check, const QStringList& lines,
                         const Surroundings& around, fgd::Editors chosen) {
    check.setIncludeReader(includedClassesFrom(around.includeFolder));
    check.checkAll(lines);
    aimCheck(check, chosen, around.inGameConfiguration);
}

} // namespace model
