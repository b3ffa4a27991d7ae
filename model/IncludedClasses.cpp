#include "IncludedClasses.h"

#include "FgdReader.h"
#include "fgd/Parser.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace model {

namespace {

// The class names declared in the file at path and the files it @includes, each read once.
// Returns why one of them cannot be read, or the empty text when all could.
QString collectDeclared(const QString& path, QSet<QString>& visited, QStringList& names) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (visited.contains(file))
        return {};
    visited.insert(file);
    const ReadResult read = readFgdFile(file);
    if (!read.ok)
        return read.reason;
    QString error;
    fgd::parseItems(read.contents.lines, 0, [&](const fgd::ParsedItem& item) {
        if (!item.declared.isEmpty())
            names.append(item.declared);
        if (item.include.isEmpty() || !error.isEmpty())
            return;
        if (const QString why =
                collectDeclared(QFileInfo(file).dir().filePath(item.include), visited, names);
            !why.isEmpty())
            error = why.startsWith(u'"') ? why // said of a file further down already
                    : why.startsWith(u"it ")
                        ? QStringLiteral("\"%1\", which it includes, %2")
                              .arg(item.include, why.sliced(3))
                        : QStringLiteral("\"%1\", which it includes, cannot be read: %2")
                              .arg(item.include, why);
    });
    return error;
}

} // namespace

fgd::ListCheck::Included classesDeclaredIn(const QString& path) {
    QSet<QString> visited;
    QStringList names;
    if (QString error = collectDeclared(path, visited, names); !error.isEmpty())
        return {std::nullopt, std::move(error)};
    return {std::move(names), {}};
}

fgd::ListCheck::IncludeReader includedClassesFrom(const QString& folder) {
    return [folder](const QString& name) -> fgd::ListCheck::Included {
        if (folder.isEmpty())
            return {};
        return classesDeclaredIn(QDir(folder).filePath(name));
    };
}

} // namespace model
