#include "Liblist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace game {

namespace {

// One "key value" or "key \"value\"" a line, keys in lower case. Scanned by hand: the game is
// read on a thread (see game/README.md).
QHash<QString, QString> liblistValues(const QString& text) {
    QHash<QString, QString> values;
    const auto isKeyChar = [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_');
    };
    for (QStringView line : QStringView(text).split(u'\n')) {
        qsizetype key = 0;
        while (key < line.size() && line[key].isSpace())
            ++key;
        qsizetype keyEnd = key;
        while (keyEnd < line.size() && isKeyChar(line[keyEnd]))
            ++keyEnd;
        qsizetype value = keyEnd;
        while (value < line.size() && line[value].isSpace())
            ++value;
        if (keyEnd == key || value == keyEnd)
            continue;
        if (value < line.size() && line[value] == u'"')
            ++value;
        qsizetype valueEnd = value;
        while (valueEnd < line.size() && line[valueEnd] != u'"')
            ++valueEnd;
        values.insert(line.sliced(key, keyEnd - key).toString().toLower(),
                      line.sliced(value, valueEnd - value).trimmed().toString());
    }
    return values;
}

} // namespace

std::optional<QString> findLiblist(const QString& filePath) {
    QDir folder = QFileInfo(filePath).absoluteDir();
    // The file's folder and three above it: mod/, mod/tools/, mod/tools/fgd/, ...
    for (int level = 0; level < 4; ++level) {
        const QString liblist = folder.filePath(QStringLiteral("liblist.gam"));
        if (QFileInfo(liblist).isFile())
            return liblist;
        if (!folder.cdUp())
            break;
    }
    return std::nullopt;
}

NamedLibrary serverLibraryOf(const QString& liblist) {
    QFile file(liblist);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("%1 cannot be read: %2")
                                  .arg(QDir::toNativeSeparators(liblist), file.errorString())};
    const QHash<QString, QString> values = liblistValues(QString::fromLatin1(file.read(1 << 20)));
#if defined(Q_OS_WIN)
    const QStringList keys = {"gamedll", "gamedll_linux", "gamedll_osx"};
#elif defined(Q_OS_MACOS)
    const QStringList keys = {"gamedll_osx", "gamedll_linux", "gamedll"};
#else
    const QStringList keys = {"gamedll_linux", "gamedll", "gamedll_osx"};
#endif
    const QDir mod = QFileInfo(liblist).dir();
    QStringList named;
    for (const QString& key : keys) {
        const QString value = values.value(key);
        if (value.isEmpty())
            continue;
        const QString path = mod.filePath(QDir::fromNativeSeparators(value).replace(u'\\', u'/'));
        if (QFileInfo(path).isFile())
            return {path, {}};
        named << value;
    }
    // The whole message in the system's separators, the names the file gives included.
    const QString error =
        named.isEmpty()
            ? QStringLiteral("%1 names no server library (no gamedll line)").arg(liblist)
            : QStringLiteral("%1 names %2, %3: build the mod, or name its game code folder "
                             "instead")
                  .arg(liblist, named.join(QStringLiteral(" and ")),
                       named.size() > 1 ? QStringLiteral("neither of which is there")
                                        : QStringLiteral("which is not there"));
    return {std::nullopt, QDir::toNativeSeparators(error)};
}

} // namespace game
