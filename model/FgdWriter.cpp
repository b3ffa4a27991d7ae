#include "FgdWriter.h"

#include "DefinitionList.h"
#include "Windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace model {

namespace {

void appendLine(QByteArray& out, QStringView line) {
    out += ToWindows1252(line);
    out += "\r\n";
}

SaveResult failure(const QString& path, const QString& reason) {
    return {false, QStringLiteral("The file \"%1\" could not be saved: %2.")
                       .arg(QDir::toNativeSeparators(path), reason)};
}

} // namespace

QStringList FgdFooterLines() {
    // The maker's web address and messenger number would follow these prefixes;
    // this program has neither, so the lines stay bare.
    return {QStringLiteral("// Made with Tarvok's FGD maker"), QStringLiteral("// "),
            QStringLiteral("//ICQ : ")};
}

QByteArray FgdFileBytes(const QStringList& lines, const ModInfo& info) {
    QByteArray out;
    qsizetype size = 256;
    for (const QString& line : lines)
        size += line.size() + 2;
    out.reserve(size);

    appendLine(out, QString(QStringLiteral("// ") + info.Author));
    appendLine(out, QString(QStringLiteral("// ") + info.ModName + QStringLiteral("  Version: ") +
                            info.ModVersion));
    appendLine(out, {});
    for (const QString& line : lines)
        appendLine(out, line);
    appendLine(out, {});
    for (const QString& line : FgdFooterLines())
        appendLine(out, line);
    return out;
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

    const QByteArray bytes = FgdFileBytes(list.lines(), info);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    // A full disk can show up as a short write that commit() does not notice, so every
    // byte must be accounted for before the old file is replaced.
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const QString reason =
            written < 0
                ? file.errorString()
                : QStringLiteral("only %1 of %2 bytes could be written; the disk may be full")
                      .arg(written)
                      .arg(bytes.size());
        file.cancelWriting();
        return failure(path, reason);
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return {};
}

} // namespace model
