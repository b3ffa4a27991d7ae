#include "GameClasses.h"

#include "BuildFolders.h"
#include "KeyValues.h"
#include "Liblist.h"
#include "ServerLibrary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

namespace game {

namespace {

// What the code says of each entity: the keys it reads, when that can be told (the engine's own
// fields must be known, from the game's gEntvarsDescription, and DispatchKeyValue may hand a key
// to no function but the one that fills them), and its model and hull. An entity linked to two
// C++ classes is left out.
void readEntities(GameClasses& game) {
    const GameCode& code = game.code;
    bool keysKnown = !code.engineFields.isEmpty();
    QSet<QString> everyEntity;
    for (const QString& field : code.engineFields)
        everyEntity.insert(field.toLower());
    for (const KeyValueFunction& function : code.keyValues) {
        if (function.name != u"DispatchKeyValue")
            continue;
        game.everyEntityKeys += function.exact + function.anyCase;
        // The engine's EntvarsKeyvalue fills its fields; a function of the game's own reads
        // keys for every entity too, when the code defines it once.
        for (const QString& handed : function.handedTo) {
            if (handed == u"EntvarsKeyvalue")
                continue;
            const KeyValueFunction* helper = helperNamed(code, handed, {});
            keysKnown &= helper && !helper->readsOtherwise && helper->handedTo.isEmpty();
            if (helper)
                game.everyEntityKeys += helper->exact + helper->anyCase;
        }
    }
    if (!keysKnown)
        game.everyEntityKeys.clear();
    for (const QString& key : std::as_const(game.everyEntityKeys))
        everyEntity.insert(key.toLower());
    QHash<QString, QString> cppClasses;
    QSet<QString> twice;
    for (const Link& link : code.links) {
        if (cppClasses.contains(link.entity) && cppClasses.value(link.entity) != link.cppClass)
            twice.insert(link.entity);
        cppClasses.insert(link.entity, link.cppClass);
    }
    for (auto link = cppClasses.cbegin(); link != cppClasses.cend(); ++link) {
        if (twice.contains(link.key()) || link.value().isEmpty())
            continue;
        fgd::EntityCode entity;
        entity.cppClass = link.value();
        const KeyReading reading = keysKnown ? keysRead(code, link.value()) : KeyReading{};
        entity.keysKnown = reading.known;
        entity.exact = reading.exact;
        entity.anyCase = reading.anyCase;
        // The keys its own KeyValue() keeps, but those every entity's code reads.
        if (reading.known && reading.through.constFirst() == link.value()) {
            QList<const KeyValueFunction*> own;
            for (const KeyValueFunction& function : code.keyValues) {
                if (function.cppClass == link.value() && function.name == u"KeyValue")
                    own << &function;
            }
            // Defined more than once, the definitions read alike (else the chain is unknown).
            const KeyValueFunction& function = *code.compiled(own).constFirst();
            for (const QString& key : function.exact + function.anyCase) {
                if (!function.ignored.contains(key) && !function.engineAliases.contains(key) &&
                    !everyEntity.contains(key.toLower()) && !entity.ownKeys.contains(key))
                    entity.ownKeys << key;
            }
        }
        const EntityShape shape = shapeOf(code, link.value());
        entity.model = shape.model;
        entity.hull = shape.hull;
        if (entity.keysKnown || !entity.model.isEmpty() || entity.hull)
            game.entities.insert(link.key(), entity);
    }
}

GameReading readLibrary(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString())};
    // A server library is a few megabytes; far larger is not one.
    constexpr qint64 MaxSize = 256 << 20;
    if (file.size() > MaxSize)
        return {std::nullopt, QStringLiteral("%1 is too large to be a server library").arg(path)};
    const QByteArray bytes = file.readAll();
    const LibraryNames names = libraryClassNames(bytes);
    if (!names.ok)
        return {std::nullopt, QStringLiteral("%1 cannot be read as a server library: %2")
                                  .arg(QDir::toNativeSeparators(path), names.error)};
    // A library keeps the names it links, not what its code does with an entity's keys.
    return {GameClasses{path, names.names},
            {},
            {QStringLiteral("%1 is a library: the class names it links are checked, but which "
                            "keys each class reads, and the model and hull it gives it, can only "
                            "be told from the game's source folder")
                 .arg(QDir::toNativeSeparators(path))}};
}

// The largest file of game code in a real mod is a few hundred kilobytes; a file far larger is
// data or generated, and is not read.
constexpr qint64 MaxSourceFile = 8 << 20;
// The largest real mod trees (some 6,500 files) keep a few tens of megabytes of code; a folder
// that keeps more is not one mod's game code (a whole drive, a system folder), and reading on
// would only fill the memory.
constexpr qsizetype MaxKeptCode = 96 << 20;

GameReading readSources(const QString& folder, SourceDetail detail) {
    SourceScan scan;
    scan.readUse(detail == SourceDetail::ForComposing);
    QStringList notes;
    // The folder, and the folders beside it that its build compiles from.
    const QStringList besides = foldersBuiltWith(folder);
    // Chosen by their suffix, not by QDirIterator's name filters, which are regular expressions.
    static const QSet<QString> suffixes{"cpp", "cxx", "cc", "c", "h", "hpp"};
    QSet<QString> sources; // the folder's own source files (not headers), as base names
    for (const QString& root : QStringList{folder} + besides) {
        QDirIterator files(root, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            files.next();
            const QFileInfo info = files.fileInfo();
            if (!suffixes.contains(info.suffix().toLower()))
                continue;
            if (info.size() > MaxSourceFile) {
                notes << QStringLiteral("%1 was not read: at %2 it is far larger than any file "
                                        "of game code")
                             .arg(QDir::toNativeSeparators(info.filePath()),
                                  QLocale::c().formattedDataSize(info.size()));
                continue;
            }
            if (root == folder && !info.suffix().startsWith(u'h', Qt::CaseInsensitive))
                sources.insert(info.completeBaseName().toLower());
            QFile file(files.filePath());
            if (file.open(QIODevice::ReadOnly))
                scan.add(QString::fromLatin1(file.read(MaxSourceFile)), info.filePath());
            if (scan.keptBytes() > MaxKeptCode)
                return {std::nullopt,
                        QStringLiteral("%1 holds more code than any one mod's game code: choose "
                                       "the folder of the mod's own (the one that holds its dlls "
                                       "or server code)")
                            .arg(QDir::toNativeSeparators(folder)),
                        notes};
        }
    }
    GameCode code = scan.code();
    // What the build files name counts when it is most of the folder's sources: a build that
    // compiles *.cpp names none of them, and a file that names a few is no list of them.
    code.builtSources = sourcesBuiltIn(folder);
    if (QSet<QString>(code.builtSources).intersect(sources).size() * 2 < sources.size())
        code.builtSources.clear();
    if (code.entityNames.isEmpty())
        return {std::nullopt,
                QStringLiteral("%1 holds no liblist.gam, and no game code that links a class "
                               "(LINK_ENTITY_TO_CLASS)")
                    .arg(QDir::toNativeSeparators(folder)),
                notes};
    // Where the names were found, so that a folder read too, or one missed, shows.
    for (const QString& beside : besides) {
        QSet<QString> there;
        for (const Link& link : std::as_const(code.links)) {
            if (link.place.file.startsWith(beside + u'/'))
                there.insert(link.entity);
        }
        if (there.isEmpty())
            continue;
        notes << QStringLiteral("%1 also read, as the build files in %2 name it: %3 of the %4 "
                                "linked names are there")
                     .arg(QDir::toNativeSeparators(beside), QDir::toNativeSeparators(folder))
                     .arg(there.size())
                     .arg(code.entityNames.size());
    }
    const QStringList names = code.entityNames;
    GameClasses game{folder, names, std::move(code)};
    readEntities(game);
    return {std::move(game), {}, notes};
}

} // namespace

QString gameNotCheckedNote(const QString& liblist, const QString& error) {
    const QString named = QDir::toNativeSeparators(liblist);
    if (error.contains(named))
        return QStringLiteral("class names are not checked: %1").arg(error);
    return QStringLiteral("class names are not checked: %1 (the library %2 names)")
        .arg(error, named);
}

GameReading readGame(const QString& path, SourceDetail detail) {
    const QFileInfo info(path);
    if (info.isDir()) {
        const QString liblist = QDir(path).filePath(QStringLiteral("liblist.gam"));
        if (QFileInfo(liblist).isFile())
            return readGame(liblist, detail);
        return readSources(info.absoluteFilePath(), detail);
    }
    if (!info.exists())
        return {std::nullopt,
                QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(path))};
    if (info.fileName().compare(QStringLiteral("liblist.gam"), Qt::CaseInsensitive) == 0) {
        const NamedLibrary library = serverLibraryOf(info.absoluteFilePath());
        if (!library.path)
            return {std::nullopt, library.error};
        return readLibrary(*library.path);
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && looksLikeLibrary(file.read(4)))
        return readLibrary(info.absoluteFilePath());
    return {std::nullopt, QStringLiteral("%1 is not a liblist.gam, a server library (.dll, .so) "
                                         "or a folder of a mod's game code")
                              .arg(QDir::toNativeSeparators(path))};
}

} // namespace game
