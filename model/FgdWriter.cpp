#include "FgdWriter.h"

#include "DefinitionList.h"
#include "Windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace model {

namespace {

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
    const QString header[] = {
        QStringLiteral("// ") + info.Author,
        QStringLiteral("// ") + info.ModName + QStringLiteral("  Version: ") + info.ModVersion,
        QString(),
    };
    const QStringList footer = FgdFooterLines();
    auto forEachLine = [&](auto&& visit) {
        for (const QString& line : header)
            visit(line);
        for (const QString& line : lines)
            visit(line);
        visit(QString());
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
        sameInLatin1 &= detail::NarrowIfSameInLatin1(line, at);
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
    return ToWindows1252(text);
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
