#include "IncludedClasses.h"

#include "FgdReader.h"
#include "fgd/Parser.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace model {

namespace {

// The class names declared in the file at path and the files it @includes, each read once.
bool collectDeclared(const QString& path, QSet<QString>& visited, QStringList& names) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (visited.contains(file))
        return true;
    visited.insert(file);
    const ReadResult read = readFgdFile(file);
    if (!read.ok)
        return false;
    bool whole = true;
    fgd::parseItems(read.contents.lines, 0, [&](const fgd::ParsedItem& item) {
        if (!item.declared.isEmpty())
            names.append(item.declared);
        if (!item.include.isEmpty())
            whole &= collectDeclared(QFileInfo(file).dir().filePath(item.include), visited, names);
    });
    return whole;
}

} // namespace

std::optional<QStringList> classesDeclaredIn(const QString& path) {
    QSet<QString> visited;
    QStringList names;
    if (!collectDeclared(path, visited, names))
        return std::nullopt;
    return names;
}

fgd::ListCheck::IncludeReader includedClassesFrom(const QString& folder) {
    return [folder](const QString& name) -> std::optional<QStringList> {
        if (folder.isEmpty())
            return std::nullopt;
        return classesDeclaredIn(QDir(folder).filePath(name));
    };
}

} // namespace model
