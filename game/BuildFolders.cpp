#include "BuildFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace game {

namespace {

// The build files this looks into: make, CMake and Visual Studio's (old and new) projects.
bool isBuildFile(const QFileInfo& file) {
    const QString name = file.fileName().toLower();
    const QString suffix = file.suffix().toLower();
    return name == u"makefile" || name == u"gnumakefile" || name == u"cmakelists.txt" ||
           suffix == u"mak" || suffix == u"vcxproj" || suffix == u"vcproj" || suffix == u"dsp";
}

bool isNameChar(QChar c) {
    return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.');
}

// Calls read(text) with the text of each build file of folder.
template <typename Read> void forEachBuildFile(const QDir& folder, Read read) {
    // A build file is a few hundred kilobytes at most; anything far larger is something else.
    constexpr qint64 MaxSize = 4 << 20;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files)) {
        if (!isBuildFile(info) || info.size() > MaxSize)
            continue;
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            read(QString::fromLatin1(file.read(MaxSize)));
    }
}

} // namespace

QSet<QString> sourcesBuiltIn(const QString& folder) {
    QSet<QString> sources;
    // Scanned by hand: the game is read on a thread (see game/README.md).
    forEachBuildFile(QDir(folder), [&](const QString& text) {
        for (qsizetype at = 0; at < text.size();) {
            if (!isNameChar(text[at])) {
                ++at;
                continue;
            }
            qsizetype end = at;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            const QString name = text.sliced(at, end - at).toLower();
            at = end;
            const qsizetype dot = name.lastIndexOf(u'.');
            static const QSet<QString> built{"cpp", "cxx", "cc", "c", "o", "obj"};
            if (dot > 0 && built.contains(name.sliced(dot + 1)))
                sources.insert(name.first(dot));
        }
    });
    return sources;
}

QStringList foldersBuiltWith(const QString& folder) {
    const QDir here(folder);
    QStringList folders;
    // Scanned by hand: the game is read on a thread (see game/README.md).
    forEachBuildFile(here, [&](const QString& text) {
        for (qsizetype at = text.indexOf(QStringLiteral("..")); at >= 0;
             at = text.indexOf(QStringLiteral(".."), at + 2)) {
            if (at + 2 >= text.size() || (text[at + 2] != u'/' && text[at + 2] != u'\\') ||
                (at > 0 && isNameChar(text[at - 1])))
                continue;
            qsizetype end = at + 3;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            const QString name = text.sliced(at + 3, end - at - 3);
            if (name.isEmpty() || name.startsWith(u'.'))
                continue;
            const QString sibling =
                QDir::cleanPath(here.absoluteFilePath(QStringLiteral("../") + name));
            if (sibling != QDir::cleanPath(here.absolutePath()) && QFileInfo(sibling).isDir() &&
                !folders.contains(sibling))
                folders << sibling;
        }
    });
    return folders;
}

} // namespace game
