#include "FgdWriter.h"

#include "DefinitionList.h"
#include "FileFrame.h"
#include "fgd/Windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace model {

namespace {

SaveResult failure(const QString& path, const QString& reason) {
    return {false, QStringLiteral("The file \"%1\" could not be saved: %2.")
                       .arg(QDir::toNativeSeparators(path), reason)};
}

// Writes bytes to file and puts them on the disk; returns why not, or the empty text.
// Every byte must be accounted for before commit() replaces the old file:
// - Qt (6.4 at least) keeps a write of up to 16 KiB in its buffer and writes it out inside
//   commit(), which then renames the file even when that write came up short (a full disk);
//   so the buffer is flushed and checked here.
// - commit() syncs, but ignores a failed sync, and on some file systems (network shares,
//   quotas) a full disk shows only there; Qt has no sync that reports failure, so where the
//   file descriptor is at hand fsync() is asked here.
QString writeToDisk(QSaveFile& file, const QByteArray& bytes) {
    const qint64 written = file.write(bytes);
    if (written >= 0 && written < bytes.size()) {
        return QStringLiteral("only %1 of %2 bytes could be written; the disk may be full")
            .arg(written)
            .arg(bytes.size());
    }
    if (written < 0 || !file.flush())
        return file.errorString();
#ifdef Q_OS_UNIX
    // EINVAL: a file system that cannot sync at all; there is nothing more to wait for.
    const int descriptor = file.handle();
    if (descriptor >= 0 && ::fsync(descriptor) != 0 && errno != EINVAL)
        return QString::fromLocal8Bit(std::strerror(errno));
#endif
    return QString();
}

} // namespace

QByteArray fgdFileBytes(const QStringList& lines, const ModInfo& info) {
    const QStringList header = frameHeader(info);
    const QStringList footer = frameFooter();
    auto forEachLine = [&](auto&& visit) {
        for (const QString& line : header)
            visit(line);
        for (const QString& line : lines)
            visit(line);
        for (const QString& line : footer)
            visit(line);
    };

    qsizetype size = 0;
    forEachLine([&](const QString& line) { size += line.size() + 2; });

    // Nearly always every character is one byte of the same value: copy them straight in.
    QByteArray out(size, Qt::Uninitialized);
    char* at = out.data();
    bool sameInLatin1 = true;
    forEachLine([&](const QString& line) {
        sameInLatin1 &= fgd::detail::narrowIfSameInLatin1(line, at);
        at += line.size();
        *at++ = '\r';
        *at++ = '\n';
    });
    if (sameInLatin1)
        return out;

    // Otherwise the whole file goes through the full conversion at once.
    QString text;
    text.reserve(size);
    forEachLine([&](const QString& line) { text += line + QStringLiteral("\r\n"); });
    return fgd::toWindows1252(text);
}

SaveResult SaveDefinitions(const QString& path, const DefinitionList& list, ModInfo& info) {
    info.applyDefaults();

    // An atomic save replaces whatever is at the path with a new regular file; for a
    // device node or a pipe that would destroy it, so only regular files are written over.
    const QFileInfo target(path);
    if (target.isDir())
        return failure(path, QStringLiteral("it is a folder"));
    if (target.exists() && !target.isFile())
        return failure(path, QStringLiteral("it is not a regular file"));

    const QByteArray bytes = fgdFileBytes(list.lines(), info);

    // The new file is written beside the old one and then takes its place. Where the folder
    // cannot be written to but the file can (a shared mod folder, a game folder of another
    // account), there is no room for a new file: as the last resort, and only there, the file is
    // written in place. Then a failure can leave it cut short, so a disk without room for it is
    // refused before anything is written, and a failure says what may have happened.
#ifdef Q_OS_UNIX // Qt writes in place only there
    const bool inPlace =
        target.exists() && target.isWritable() && !QFileInfo(target.absolutePath()).isWritable();
#else
    const bool inPlace = false;
#endif
    if (inPlace) {
        const qint64 room = QStorageInfo(target.absolutePath()).bytesAvailable() + target.size();
        if (room < bytes.size()) {
            return failure(path, QStringLiteral("the disk has no room for its %1 bytes; the file "
                                                "was not changed")
                                     .arg(bytes.size()));
        }
    }
    const auto inPlaceFailure = [&](const QString& reason) {
        return failure(path, inPlace ? reason + QStringLiteral(". It was being written in place, "
                                                               "because its folder cannot be "
                                                               "written to, and may now be "
                                                               "incomplete")
                                     : reason);
    };

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    if (const QString reason = writeToDisk(file, bytes); !reason.isEmpty()) {
        file.cancelWriting();
        return inPlaceFailure(reason);
    }
    if (!file.commit())
        return inPlaceFailure(file.errorString());
    return SaveResult::success();
}

} // namespace model
