#include "GameClasses.h"

#include "ServerLibrary.h"
#include "fgd/Vocabulary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
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

// A letter, digit or underscore: the characters of a C name (game code is ASCII).
bool isWordChar(QChar c) {
    return c.unicode() < 128 && (c.isLetterOrNumber() || c == u'_');
}

qsizetype wordEnd(QStringView text, qsizetype i) {
    while (i < text.size() && isWordChar(text[i]))
        ++i;
    return i;
}

qsizetype spaceEnd(QStringView text, qsizetype i) {
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

// Each call in code of a macro in linkers, with the argument that names the class. Scanned by
// hand, as all of this file: the game is read on a thread (see "No regular expression on a
// thread" in model/README.md).
template <typename Found>
void forEachLink(const QString& code, const QHash<QString, int>& linkers, Found found) {
    for (qsizetype i = 0; i < code.size();) {
        if (!isWordChar(code[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        i = wordEnd(code, i);
        const qsizetype open = spaceEnd(code, i);
        if (code[start].isDigit() || open == code.size() || code[open] != u'(')
            continue;
        const auto linker = linkers.constFind(code.mid(start, i - start));
        if (linker == linkers.cend())
            continue;
        const std::optional<QStringList> arguments = callArguments(code, open);
        if (arguments && *linker < arguments->size())
            found(arguments->at(*linker));
    }
}

// A macro that takes parameters: #define NAME(a, b) body.
struct Macro {
    QString name;
    QStringList parameters;
    QString body;
};

std::optional<Macro> macroDefinition(QStringView line) {
    const auto skipBlanks = [&](qsizetype i) {
        while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        return i;
    };
    qsizetype i = skipBlanks(0);
    if (i == line.size() || line[i] != u'#')
        return std::nullopt;
    i = skipBlanks(i + 1);
    if (!line.sliced(i).startsWith(u"define"))
        return std::nullopt;
    const qsizetype name = skipBlanks(i + 6);
    if (name == i + 6)
        return std::nullopt; // #defined, #define_x: no definition
    const qsizetype open = wordEnd(line, name);
    const qsizetype close = line.indexOf(u')', open);
    if (open == name || open == line.size() || line[open] != u'(' || close < 0)
        return std::nullopt;
    QStringList parameters;
    for (QStringView parameter : line.sliced(open + 1, close - open - 1).split(u','))
        parameters << parameter.trimmed().toString();
    return Macro{line.sliced(name, open - name).toString(), parameters,
                 line.sliced(close + 1).toString()};
}

// The class names of a liblist.gam's server library, by the key for each system.
std::optional<QString> libraryOfLiblist(const QString& liblist, QString& error) {
    QFile file(liblist);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1 cannot be read: %2").arg(liblist, file.errorString());
        return std::nullopt;
    }
    // One "key value" or "key \"value\"" a line.
    QHash<QString, QString> values;
    const QString text = QString::fromLatin1(file.read(1 << 20));
    for (QStringView line : QStringView(text).split(u'\n')) {
        const qsizetype key = spaceEnd(line, 0);
        const qsizetype keyEnd = wordEnd(line, key);
        qsizetype value = spaceEnd(line, keyEnd);
        if (keyEnd == key || value == keyEnd)
            continue;
        if (value < line.size() && line[value] == u'"')
            ++value;
        qsizetype valueEnd = value;
        while (valueEnd < line.size() && line[valueEnd] != u'"')
            ++valueEnd;
        values.insert(line.sliced(key, keyEnd - key).toString().toLower(),
                      line.sliced(value, valueEnd - value).trimmed().toString());
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
                : QStringLiteral("%1 names %2, %3: build the mod, or name its game code folder "
                                 "instead")
                      .arg(liblist, named.join(QStringLiteral(" and ")),
                           named.size() > 1 ? QStringLiteral("neither of which is there")
                                            : QStringLiteral("which is not there"));
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

// Game code read one text at a time, keeping only what the class names need: the macros that
// take parameters, and the rest of the code without comments, as Latin-1 bytes (game code is
// ASCII), so a large tree takes as many bytes as its code, not twice its text.
class LinkScan {
public:
    void add(const QString& text) {
        const QString code = codeOnly(text);
        QString uses;
        uses.reserve(code.size());
        for (QStringView line : QStringView(code).split(u'\n')) {
            if (std::optional<Macro> macro = macroDefinition(line)) {
                m_kept += 2 * line.size();
                m_macros.append(std::move(*macro)); // a definition is not a use
            } else {
                uses += line;
            }
            uses += u'\n';
        }
        m_kept += uses.size();
        m_uses.append(uses.toLatin1());
    }

    qsizetype keptBytes() const { return m_kept; }

    QStringList names() const {
        // The macros that pass a parameter on as the class name, each with that parameter's place.
        QHash<QString, int> linkers{{QStringLiteral("LINK_ENTITY_TO_CLASS"), 0}};
        for (bool more = true; more;) {
            more = false;
            for (const Macro& macro : m_macros) {
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
        for (const QByteArray& uses : m_uses) {
            forEachLink(QString::fromLatin1(uses), linkers, [&](const QString& argument) {
                if (fgd::isIdentifier(argument))
                    names.insert(argument);
            });
        }
        QStringList sorted(names.cbegin(), names.cend());
        sorted.sort();
        return sorted;
    }

private:
    QList<Macro> m_macros;
    QList<QByteArray> m_uses;
    qsizetype m_kept = 0;
};

// The largest file of game code in a real mod is a few hundred kilobytes; a file far larger is
// data or generated, and is not read.
constexpr qint64 MaxSourceFile = 8 << 20;
// The largest real mod trees (some 6,500 files) keep a few tens of megabytes of code; a folder
// that keeps more is not one mod's game code (a whole drive, a system folder), and reading on
// would only fill the memory.
constexpr qsizetype MaxKeptCode = 96 << 20;

GameReading readSources(const QString& folder) {
    LinkScan scan;
    QStringList notes;
    // Chosen by their suffix, not by QDirIterator's name filters, which are regular expressions.
    static const QSet<QString> suffixes{"cpp", "cxx", "cc", "c", "h", "hpp"};
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        const QFileInfo info = files.fileInfo();
        if (!suffixes.contains(info.suffix().toLower()))
            continue;
        if (info.size() > MaxSourceFile) {
            notes << QStringLiteral("%1 was not read: at %2 it is far larger than any file of "
                                    "game code")
                         .arg(QDir::toNativeSeparators(info.filePath()),
                              QLocale::c().formattedDataSize(info.size()));
            continue;
        }
        QFile file(files.filePath());
        if (file.open(QIODevice::ReadOnly))
            scan.add(QString::fromLatin1(file.read(MaxSourceFile)));
        if (scan.keptBytes() > MaxKeptCode)
            return {std::nullopt,
                    QStringLiteral("%1 holds more code than any one mod's game code: choose the "
                                   "folder of the mod's own (the one that holds its dlls or "
                                   "server code)")
                        .arg(QDir::toNativeSeparators(folder)),
                    notes};
    }
    const QStringList names = scan.names();
    if (names.isEmpty())
        return {std::nullopt,
                QStringLiteral("%1 holds no liblist.gam, and no game code that links a class "
                               "(LINK_ENTITY_TO_CLASS)")
                    .arg(QDir::toNativeSeparators(folder)),
                notes};
    return {GameClasses{folder, names}, {}, notes};
}

} // namespace

QStringList linkedInSources(const QStringList& texts) {
    LinkScan scan;
    for (const QString& text : texts)
        scan.add(text);
    return scan.names();
}

QString gameNotCheckedNote(const QString& liblist, const QString& error) {
    const QString named = QDir::toNativeSeparators(liblist);
    if (error.contains(named))
        return QStringLiteral("class names are not checked: %1").arg(error);
    return QStringLiteral("class names are not checked: %1 (the library %2 names)")
        .arg(error, named);
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
