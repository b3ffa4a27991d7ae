// Feeds random text through line composition, the source-line check and the file writer, and
// checks what must hold for any input: a line composed from the drop-downs with an ordinary
// suffix and real name is never marked; the list checked after each change is checked as whole; a
// saved file reads back as exactly the header, the lines (with '?' for characters Windows-1252
// lacks), and the footer, each ending in CR LF; and it opens again to save the same bytes.
//
// The input is read as UTF-16, so lone surrogates and characters outside the Basic
// Multilingual Plane occur. Split at line feeds (carriage returns are dropped), its parts are:
// kind, prefix, suffix, real name, custom size, author, mod name, mod version, more lines.

#include "model/DefinitionList.h"
#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "model/LineCheck.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

// Which code points Windows-1252 holds, learned from Qt's decoder rather than the encoder
// under test.
bool representable(char32_t c) {
    static const QString high = [] {
        QByteArray bytes;
        for (int b = 0x80; b < 0xA0; ++b)
            bytes.append(char(b));
        QStringDecoder decoder("windows-1252");
        return QString(decoder.decode(bytes));
    }();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return true;
    return c <= 0xFFFF && c != 0xFFFD && high.contains(QChar(char16_t(c)));
}

QString expectedText(const QString& line) {
    QString out;
    for (char32_t c : line.toUcs4())
        out += representable(c) ? QString::fromUcs4(&c, 1) : QStringLiteral("?");
    return out;
}

// A suffix typed as game code spells it: letters, digits and _.
bool isOrdinarySuffix(const QString& s) {
    for (QChar c : s) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'_')
            return false;
    }
    return true;
}

// A real name as people write it: no double quote or backslash, no control character, nothing
// Windows-1252 lacks, under 1,000 characters.
bool isOrdinaryName(const QString& s) {
    if (s.size() >= 1000 || s.contains(u'"') || s.contains(u'\\'))
        return false;
    for (char32_t c : s.toUcs4()) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || !representable(c))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.fgd"));

    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                      qsizetype(size / sizeof(char16_t)));
    text.remove(u'\r');
    QStringList parts = text.split(u'\n');
    while (parts.size() < 8)
        parts.append(QString());

    // Composition.
    int asked = 0;
    const QString line = model::ComposeEntityLine(parts[0], parts[1], parts[2], parts[3], [&] {
        ++asked;
        return parts[4];
    });
    require(asked == (parts[0] == u"Custom" ? 1 : 0), "custom size asked only for Custom");
    require(line.endsWith(QStringLiteral(" : \"") + parts[3] + QStringLiteral("\" []")),
            "line ends with the quoted real name and []");
    // A line made from the drop-downs (kind and prefix picked by the first two characters of
    // the input) and an ordinary suffix and real name is never marked.
    const auto pick = [&](int part, qsizetype count) {
        return parts[part].isEmpty() ? 0 : parts[part].front().unicode() % count;
    };
    const model::EntityClassKind& kind = model::EntityClassKinds()[pick(0, 3)];
    const QString& prefix = model::EntityPrefixes()[pick(1, model::EntityPrefixes().size())];
    if (isOrdinarySuffix(parts[2]) && isOrdinaryName(parts[3])) {
        const QString picked = model::ComposeEntityLine(kind.name, prefix, parts[2], parts[3],
                                                        [] { return QString(); });
        require(model::CheckSourceLine(picked).isEmpty(), "a composed line is never marked");
    }

    // The check answers every line, and checking the list as lines are added ends as checking
    // it whole does.
    model::DefinitionList list;
    model::SourceCheck added;
    list.append(line);
    for (qsizetype i = 8; i < parts.size() && !list.isFull(); ++i) {
        if (i == 8 + (parts.size() - 8) / 3 || i == 8 + 2 * (parts.size() - 8) / 3)
            added.checkAppended(list.lines());
        list.append(parts[i]);
    }
    added.checkAppended(list.lines());
    model::SourceCheck whole;
    whole.checkAll(list.lines());
    require(added.reasons() == whole.reasons(), "adding lines is checked as the whole list is");
    // So is moving a line to the end, as Update does.
    const int moved = parts[4].size() % list.count();
    model::DefinitionList updated = list;
    updated.replaceAt(moved, updated.lineAt(moved));
    added.checkChanged(updated.lines(), moved);
    whole.checkAll(updated.lines());
    require(added.reasons() == whole.reasons(), "a moved line is checked as the whole list is");

    // The file.
    model::ModInfo info{parts[5], parts[6], parts[7]};
    const model::SaveResult result = model::SaveDefinitions(path, list, info);
    require(result.ok, "saving to a temporary folder succeeds");
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the saved file can be read");
    const QByteArray bytes = file.readAll();

    QStringList expected{QStringLiteral("// ") + info.Author,
                         QStringLiteral("// ") + info.ModName + QStringLiteral("  Version: ") +
                             info.ModVersion,
                         QString()};
    expected += list.lines();
    expected.append(QString());
    expected += model::FgdFooterLines();
    QString text1252; // every line ends in CR LF, and nothing comes before the first
    for (const QString& l : expected)
        text1252 += expectedText(l) + QStringLiteral("\r\n");
    QStringDecoder decoder("windows-1252");
    const QString written = decoder.decode(bytes);
    require(written == text1252, "the file reads back as header, lines and footer");

    // Opened again, the file gives back the list and the mod information, and saving those
    // writes the same bytes. (A NUL character is saved, but a file holding one is not text.)
    if (!bytes.contains('\0')) {
        const model::ReadResult read = model::ReadFgdFile(path);
        require(read.ok && read.contents.modInfo.has_value(), "a saved file opens as our own");
        QStringList lines;
        for (const QString& l : list.lines())
            lines << expectedText(l);
        require(read.contents.lines == lines, "the opened file holds the saved list");
        require(model::FgdFileBytes(read.contents.lines, *read.contents.modInfo) == bytes,
                "saving the opened file again writes the same bytes");
    }
    return 0;
}
