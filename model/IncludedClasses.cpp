#include "IncludedClasses.h"

#include "FgdReader.h"
#include "FileFrame.h"
#include "fgd/Parser.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace model {

namespace {

// The class names declared in the file at path and the files it @includes, each read once.
// Returns why one of them cannot be read, or the empty text when all could.
QString collectDeclared(const QString& path, QSet<QString>& visited, QStringList& names,
                        QList<fgd::DeclarationIndex::IncludedClass>& placeable) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (visited.contains(file))
        return {};
    visited.insert(file);
    const ReadResult read = readFgdFile(file);
    if (!read.ok)
        return read.reason;
    QString error;
    // The definition lines start below the frame's header in a file this program saved.
    const int firstLine =
        1 + (read.contents.modInfo ? int(frameHeader(*read.contents.modInfo).size()) : 0);
    fgd::parseItems(read.contents.lines, 0, [&](const fgd::ParsedItem& item) {
        if (!item.declared.isEmpty())
            names.append(item.declared);
        if (item.placeable && !item.declared.isEmpty())
            placeable.append(
                {item.declared, file, firstLine + item.declaredLine, item.declaredColumn + 1});
        if (item.include.isEmpty() || !error.isEmpty())
            return;
        if (const QString why = collectDeclared(QFileInfo(file).dir().filePath(item.include),
                                                visited, names, placeable);
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
    QList<fgd::DeclarationIndex::IncludedClass> placeable;
    if (QString error = collectDeclared(path, visited, names, placeable); !error.isEmpty())
        return {std::nullopt, std::move(error)};
    return {std::move(names), {}, std::move(placeable)};
}

namespace {

void addDeclarations(const QStringList& lines, const QString& folder, QSet<QString>& visited,
                     DeclarationsRead& read) {
    const QList<fgd::Declaration> declarations = fgd::readDeclarations(lines);
    read.declarations += declarations;
    fgd::parseItems(lines, 0, [&](const fgd::ParsedItem& item) {
        if (item.include.isEmpty() || folder.isEmpty())
            return;
        const QString file = QFileInfo(QDir(folder).filePath(item.include)).absoluteFilePath();
        if (visited.contains(file))
            return;
        visited.insert(file);
        const ReadResult included = readFgdFile(file);
        if (!included.ok) {
            read.unread << included.error;
            return;
        }
        addDeclarations(included.contents.lines, QFileInfo(file).absolutePath(), visited, read);
    });
}

} // namespace

DeclarationsRead declarationsWithIncludes(const QStringList& lines, const QString& folder) {
    DeclarationsRead read;
    QSet<QString> visited;
    addDeclarations(lines, folder, visited, read);
    return read;
}

fgd::ListCheck::IncludeReader includedClassesFrom(const QString& folder) {
    return [folder](const QString& name) -> fgd::ListCheck::Included {
        if (folder.isEmpty())
            return {};
        return classesDeclaredIn(QDir(folder).filePath(name));
    };
}

} // namespace model
