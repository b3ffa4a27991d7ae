#include "FgdReader.h"

#include "DefinitionList.h"
#include "fgd/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace model {

namespace {

// No FGD comes near this; it keeps a wrong choice of file from filling the memory.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

ReadResult failure(const QString& path, const QString& reason) {
    return {false,
            QStringLiteral("The file \"%1\" could not be opened: %2.")
                .arg(QDir::toNativeSeparators(path), reason),
            {},
            reason};
}

// The contents of the bytes of a file, or why they are refused.
ReadResult contentsOf(const QString& name, const QByteArray& bytes, LineLimit limit) {
    if (bytes.contains('\0'))
        return failure(name, QStringLiteral("it is not a text file"));
    FgdContents contents = decodeFgdFile(bytes);
    if (limit == LineLimit::List && contents.lines.size() > DefinitionList::MaxLines) {
        return failure(name, QStringLiteral("it holds %1 lines, more than the %2 the source "
                                            "list can hold")
                                 .arg(contents.lines.size())
                                 .arg(DefinitionList::maxLinesText()));
    }
    return {true, QString(), std::move(contents)};
}

QString tooLarge(qint64 size) {
    return QStringLiteral("at %1 it is far too large for an FGD file")
        .arg(QLocale::system().formattedDataSize(size));
}

} // namespace

FgdContents decodeFgdFile(QByteArrayView bytes) {
    // Each line is decoded on its own, without the whole text as one string in between: a large
    // file opens faster so.
    QStringList lines;
    lines.reserve(bytes.count('\n') + 1);
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size(); // a last line without an ending
        QByteArrayView line = bytes.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(fgd::fromWindows1252(line));
        start = end + 1;
    }

    return unframe(std::move(lines));
}

ReadResult readFgdFile(const QString& path, LineLimit limit) {
    const QFileInfo info(path);
    if (!info.exists())
        return failure(path, QStringLiteral("it does not exist"));
    if (info.isDir())
        return failure(path, QStringLiteral("it is a folder"));
    // Reading a pipe or a device could wait for ever.
    if (!info.isFile())
        return failure(path, QStringLiteral("it is not a regular file"));
    if (info.size() > MaxFileBytes)
        return failure(path, tooLarge(info.size()));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(path, file.errorString());
    return contentsOf(path, bytes, limit);
}

ReadResult readFgdStream(QFile& stream, const QString& name, LineLimit limit) {
    // A stream tells its size only at its end, so one byte more than a file may hold is asked
    // for: getting it means the stream is too large.
    QByteArray bytes;
    while (bytes.size() <= MaxFileBytes) {
        const QByteArray part = stream.read(MaxFileBytes + 1 - bytes.size());
        if (part.isEmpty())
            break; // the end, or an error
        bytes += part;
    }
    if (stream.error() != QFileDevice::NoError)
        return failure(name, stream.errorString());
    if (bytes.size() > MaxFileBytes)
        return failure(name, tooLarge(bytes.size()));
    return contentsOf(name, bytes, limit);
}

} // namespace model
