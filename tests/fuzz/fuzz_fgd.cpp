// Feeds random text through line composition, the source-line check and the file writer, and
// checks what must hold for any input: a line composed from the drop-downs with an ordinary
// suffix and real name is never marked; the list checked after each change is checked as whole; a
// saved file opens again as the same list, and saves the same bytes.
//
// The input is read as UTF-16, so lone surrogates and characters outside the Basic
// Multilingual Plane occur. Split at line feeds (carriage returns are dropped), its parts are:
// kind, prefix, suffix, real name, a number, author, mod name, mod version, more lines.

#include "fgd/ListCheck.h"
#include "fgd/Windows1252.h"
#include "model/DefinitionList.h"
#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
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

// A line as a saved file holds it: each character Windows-1252 lacks becomes '?' (which ones
// those are is the codec tests' business).
QString expectedText(const QString& line) {
    return fgd::fromWindows1252(fgd::toWindows1252(line));
}

// An ordinary suffix is letters, digits and _; an ordinary real name has no double quote,
// backslash or control character, nothing Windows-1252 lacks, and fewer than 1,000 characters.
bool isOrdinary(const QString& suffix, const QString& name) {
    const auto plain = [](QChar c) {
        return (c.isLetterOrNumber() && c < u'\x80') || c == u'_';
    };
    if (!std::all_of(suffix.begin(), suffix.end(), plain) || name.size() >= 1000 ||
        name.contains(u'"') || name.contains(u'\\'))
        return false;
    return expectedText(name) == name && std::all_of(name.begin(), name.end(), [](QChar c) {
               return c >= u' ' && (c < u'\x7F' || c > u'\x9F');
           });
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

    // A line made from the drop-downs (kind and prefix picked by the first two characters of
    // the input) and an ordinary suffix and real name is never marked.
    const auto pick = [&](int part, qsizetype count) {
        return parts[part].isEmpty() ? 0 : parts[part].front().unicode() % count;
    };
    const QString line = model::ComposeEntityLine(
        model::entityClassKinds()[pick(0, 3)].name,
        model::entityPrefixes()[pick(1, model::entityPrefixes().size())], parts[2], parts[3], {});
    require(!isOrdinary(parts[2], parts[3]) || fgd::checkLine(line).isEmpty(),
            "a composed line is never marked");

    // The check answers every line, and checking the list line by line as lines are added
    // gives the marks that checking it whole does, kinds and reasons alike, for any editors
    // (picked by the number's first character).
    const fgd::Editors targets = fgd::Editors(pick(4, fgd::AllEditors) + 1);
    model::DefinitionList list;
    fgd::ListCheck added;
    added.setTargets(targets);
    list.append(line);
    added.checkAppended(list.lines());
    for (qsizetype i = 8; i < parts.size() && !list.isFull(); ++i) {
        list.append(parts[i]);
        added.checkAppended(list.lines());
    }
    fgd::ListCheck whole;
    whole.setTargets(targets);
    whole.checkAll(list.lines());
    require(added.verdicts() == whole.verdicts(), "adding lines is checked as the whole list is");
    // So is moving a line to the end, as Update does.
    const int moved = parts[4].size() % list.count();
    model::DefinitionList updated = list;
    updated.removeAt(moved);
    updated.append(list.lineAt(moved));
    added.checkChanged(updated.lines(), moved);
    whole.checkAll(updated.lines());
    require(added.verdicts() == whole.verdicts(), "a moved line is checked as the whole list is");

    // The file.
    model::ModInfo info{parts[5], parts[6], parts[7]};
    const model::SaveResult result = model::SaveDefinitions(path, list, info);
    require(result.ok, "saving to a temporary folder succeeds");
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();

    // Opened again, the file gives back the list (with '?' for characters Windows-1252 lacks)
    // and the mod information, and saving those writes the same bytes. (A NUL character is
    // saved, but a file holding one is not text.)
    require(!bytes.isEmpty() && bytes.endsWith("//ICQ : \r\n"), "the file is written whole");
    if (!bytes.contains('\0')) {
        const model::ReadResult read = model::readFgdFile(path);
        require(read.ok && read.contents.modInfo.has_value(), "a saved file opens as our own");
        QStringList lines;
        for (const QString& l : list.lines())
            lines << expectedText(l);
        require(read.contents.lines == lines, "the opened file holds the saved list");
        require(model::fgdFileBytes(read.contents.lines, *read.contents.modInfo) == bytes,
                "saving the opened file again writes the same bytes");
    }
    return 0;
}
