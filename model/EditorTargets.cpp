#include "EditorTargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    if (!text.contains(QStringLiteral("\"entities\"")))
        return false;
    // "definitions": [ "Name.fgd" ], the name perhaps with a folder before it. Found by hand:
    // the check command checks files on threads (see "No regular expression on a thread" in
    // model/README.md).
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
