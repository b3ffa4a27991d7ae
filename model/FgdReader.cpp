#include "FgdReader.h"

#include "DefinitionList.h"
#include "FgdWriter.h"
#include "Windows1252.h"

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
            {}};
}

// The mod information in this program's two header lines, when they hold it.
std::optional<ModInfo> headerInfo(const QString& first, const QString& second) {
    const QString prefix = QStringLiteral("// ");
    const QString marker = QStringLiteral("  Version: ");
    if (!first.startsWith(prefix) || !second.startsWith(prefix) || first.size() == prefix.size())
        return std::nullopt;
    // The mod name and version may hold the marker themselves; the program never saves either
    // empty, so the first split that leaves both filled gives back the line as it was.
    const QString rest = second.mid(prefix.size());
    for (qsizetype at = rest.indexOf(marker); at >= 0; at = rest.indexOf(marker, at + 1)) {
        const QString name = rest.left(at);
        const QString version = rest.mid(at + marker.size());
        if (!name.isEmpty() && !version.isEmpty())
            return ModInfo{first.mid(prefix.size()), name, version};
    }
    return std::nullopt;
}

// This program's footer, or the same with the maker's web address and messenger number filled
// in after "// " and "//ICQ : ", as other makers' copies of the format wrote it.
bool isFooter(const QStringList& lines, const QStringList& footer) {
    for (qsizetype i = 0; i < footer.size(); ++i) {
        if (i == 0 ? lines.at(i) != footer.at(i) : !lines.at(i).startsWith(footer.at(i)))
            return false;
    }
    return true;
}

} // namespace

FgdContents parseFgdText(QByteArrayView bytes) {
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
        lines.append(fromWindows1252(line));
        start = end + 1;
    }

    const QStringList footer = fgdFooterLines();
    const qsizetype frame = 3 + 1 + footer.size();
    if (lines.size() >= frame && lines.at(2).isEmpty() &&
        lines.at(lines.size() - footer.size() - 1).isEmpty() &&
        isFooter(lines.sliced(lines.size() - footer.size()), footer)) {
        if (std::optional<ModInfo> info = headerInfo(lines.at(0), lines.at(1))) {
            return {lines.sliced(3, lines.size() - frame), info};
        }
    }
    return {lines, std::nullopt};
}

ReadResult readFgdFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return failure(path, QStringLiteral("it does not exist"));
    if (info.isDir())
        return failure(path, QStringLiteral("it is a folder"));
    // Reading a pipe or a device could wait for ever.
    if (!info.isFile())
        return failure(path, QStringLiteral("it is not a regular file"));
    if (info.size() > MaxFileBytes)
        return failure(path, QStringLiteral("at %1 it is far too large for an FGD file")
                                 .arg(QLocale::system().formattedDataSize(info.size())));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(path, file.errorString());
    if (bytes.contains('\0'))
        return failure(path, QStringLiteral("it is not a text file"));

    FgdContents contents = parseFgdText(bytes);
    if (contents.lines.size() > DefinitionList::MaxLines) {
        return failure(path, QStringLiteral("it holds %1 lines, more than the %2 the source "
                                            "list can hold")
                                 .arg(contents.lines.size())
                                 .arg(DefinitionList::maxLinesText()));
    }
    return {true, QString(), std::move(contents)};
}

} // namespace model
