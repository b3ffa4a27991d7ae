#include "GameClasses.h"

#include "ServerLibrary.h"
#include "fgd/Vocabulary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace model {

namespace {

// The text with its comments and quoted texts blanked out (lines kept, so a #define still ends
// where it did) and its continued lines joined.
QString codeOnly(const QString& text) {
    QString code;
    code.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c == u'/' && next == u'/') {
            while (i < text.size() && text[i] != u'\n')
                ++i;
            code += u'\n';
        } else if (c == u'/' && next == u'*') {
            i += 2;
            while (i + 1 < text.size() && !(text[i] == u'*' && text[i + 1] == u'/'))
                ++i;
            ++i;
            code += u' ';
        } else if (c == u'"' || c == u'\'') {
            for (++i; i < text.size() && text[i] != c && text[i] != u'\n'; ++i) {
                if (text[i] == u'\\')
                    ++i;
            }
            code += u' ';
        } else if (c == u'\\' && next == u'\n') {
            ++i; // a continued line: the #define goes on
        } else if (c != u'\r') {
            code += c;
        }
    }
    return code;
}

// The arguments of the call whose opening parenthesis is at open, split at its top-level commas,
// or nothing when the call is not closed.
std::optional<QStringList> callArguments(const QString& code, qsizetype open) {
    QStringList arguments;
    int depth = 0;
    qsizetype start = open + 1;
    for (qsizetype i = open; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')' && --depth == 0) {
            arguments << code.mid(start, i - start).trimmed();
            return arguments;
        } else if (c == u',' && depth == 1) {
            arguments << code.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    return std::nullopt;
}

const QRegularExpression& callPattern() {
    static const QRegularExpression call(QStringLiteral("\\b([A-Za-z_]\\w*)\\s*\\("));
    return call;
}

// Each call in code of a macro in linkers, with the argument that names the class.
template <typename Found>
void forEachLink(const QString& code, const QHash<QString, int>& linkers, Found found) {
    for (auto match = callPattern().globalMatch(code); match.hasNext();) {
        const QRegularExpressionMatch call = match.next();
        const auto linker = linkers.constFind(call.captured(1));
        if (linker == linkers.cend())
            continue;
        const std::optional<QStringList> arguments = callArguments(code, call.capturedEnd(0) - 1);
        if (arguments && *linker < arguments->size())
            found(arguments->at(*linker));
    }
}

// The class names of a liblist.gam's server library, by the key for each system.
std::optional<QString> libraryOfLiblist(const QString& liblist, QString& error) {
    QFile file(liblist);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1 cannot be read: %2").arg(liblist, file.errorString());
        return std::nullopt;
    }
    QHash<QString, QString> values;
    static const QRegularExpression line(QStringLiteral("^\\s*(\\w+)\\s+\"?([^\"\\r\\n]*)\"?"),
                                         QRegularExpression::MultilineOption);
    const QString text = QString::fromLatin1(file.read(1 << 20));
    for (auto match = line.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch pair = match.next();
        values.insert(pair.captured(1).toLower(), pair.captured(2).trimmed());
    }
    // This system's library first, then the others: a mod built for one system still names
    // its entities for the other's editor.
#if defined(Q_OS_WIN)
    const QStringList keys = {"gamedll", "gamedll_linux", "gamedll_osx"};
#elif defined(Q_OS_MACOS)
    const QStringList keys = {"gamedll_osx", "gamedll_linux", "gamedll"};
#else
    const QStringList keys = {"gamedll_linux", "gamedll", "gamedll_osx"};
#endif
    const QDir mod = QFileInfo(liblist).dir();
    QStringList named;
    for (const QString& key : keys) {
        const QString value = values.value(key);
        if (value.isEmpty())
            continue;
        const QString path = mod.filePath(QDir::fromNativeSeparators(value).replace(u'\\', u'/'));
        if (QFileInfo(path).isFile())
            return path;
        named << value;
    }
    error = named.isEmpty()
                ? QStringLiteral("%1 names no server library (no gamedll line)").arg(liblist)
                : QStringLiteral("%1 names %2, which is not there: build the mod, or drop its "
                                 "source folder on the window")
                      .arg(liblist, named.join(QStringLiteral(" and ")));
    return std::nullopt;
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
    return {GameClasses{path, names.names}, {}};
}

GameReading readSources(const QString& folder) {
    QStringList texts;
    QDirIterator files(folder, {"*.cpp", "*.cxx", "*.cc", "*.c", "*.h", "*.hpp"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly))
            texts << QString::fromLatin1(file.readAll());
    }
    const QStringList names = linkedInSources(texts);
    if (names.isEmpty())
        return {std::nullopt,
                QStringLiteral("%1 holds no liblist.gam, and no game code that links a class "
                               "(LINK_ENTITY_TO_CLASS)")
                    .arg(QDir::toNativeSeparators(folder))};
    return {GameClasses{folder, names}, {}};
}

} // namespace

QStringList linkedInSources(const QStringList& texts) {
    QStringList codes;
    codes.reserve(texts.size());
    for (const QString& text : texts)
        codes << codeOnly(text);
    // The macros that pass a parameter on as the class name, each with that parameter's place.
    static const QRegularExpression definition(
        QStringLiteral("^[ \\t]*#[ \\t]*define[ \\t]+(\\w+)\\(([^)\\n]*)\\)(.*)$"),
        QRegularExpression::MultilineOption);
    struct Macro {
        QString name;
        QStringList parameters;
        QString body;
    };
    QList<Macro> macros;
    for (QString& code : codes) {
        for (auto match = definition.globalMatch(code); match.hasNext();) {
            const QRegularExpressionMatch define = match.next();
            QStringList parameters = define.captured(2).split(u',');
            for (QString& parameter : parameters)
                parameter = parameter.trimmed();
            macros.append({define.captured(1), parameters, define.captured(3)});
        }
        // A definition is not a use: its parameter is no class name.
        code.replace(definition, QString());
    }
    QHash<QString, int> linkers{{QStringLiteral("LINK_ENTITY_TO_CLASS"), 0}};
    for (bool more = true; more;) {
        more = false;
        for (const Macro& macro : std::as_const(macros)) {
            if (linkers.contains(macro.name))
                continue;
            forEachLink(macro.body, linkers, [&](const QString& argument) {
                const int place = int(macro.parameters.indexOf(argument));
                if (place >= 0 && !linkers.contains(macro.name)) {
                    linkers.insert(macro.name, place);
                    more = true;
                }
            });
        }
    }
    QSet<QString> names;
    for (const QString& code : std::as_const(codes)) {
        forEachLink(code, linkers, [&](const QString& argument) {
            if (fgd::isIdentifier(argument))
                names.insert(argument);
        });
    }
    QStringList sorted(names.cbegin(), names.cend());
    sorted.sort();
    return sorted;
}

std::optional<QString> findLiblist(const QString& filePath) {
    QDir folder = QFileInfo(filePath).absoluteDir();
    // The file's folder and three above it: mod/, mod/tools/, mod/tools/fgd/, ...
    for (int level = 0; level < 4; ++level) {
        const QString liblist = folder.filePath(QStringLiteral("liblist.gam"));
        if (QFileInfo(liblist).isFile())
            return liblist;
        if (!folder.cdUp())
            break;
    }
    return std::nullopt;
}

GameReading readGame(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) {
        const QString liblist = QDir(path).filePath(QStringLiteral("liblist.gam"));
        if (QFileInfo(liblist).isFile())
            return readGame(liblist);
        return readSources(info.absoluteFilePath());
    }
    if (!info.exists())
        return {std::nullopt,
                QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(path))};
    if (info.fileName().compare(QStringLiteral("liblist.gam"), Qt::CaseInsensitive) == 0) {
        QString error;
        const std::optional<QString> library = libraryOfLiblist(info.absoluteFilePath(), error);
        if (!library)
            return {std::nullopt, QDir::toNativeSeparators(error)};
        return readLibrary(*library);
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && looksLikeLibrary(file.read(4)))
        return readLibrary(info.absoluteFilePath());
    return {std::nullopt, QStringLiteral("%1 is not a liblist.gam, a server library (.dll, .so) "
                                         "or a folder of a mod's game code")
                              .arg(QDir::toNativeSeparators(path))};
}

} // namespace model
