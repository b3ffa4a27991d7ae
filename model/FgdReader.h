#pragma once

#include "ModInfo.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace model {

// What an FGD file holds for the definition list.
struct FgdContents {
    QStringList lines;              // the definition lines, without this program's frame
    std::optional<ModInfo> modInfo; // set when the file is framed as this program saves
};

// The outcome of reading a file: its contents, or a message naming the file and the reason.
struct ReadResult {
    bool ok = false;
    QString error;
    FgdContents contents;
};

// Splits Windows-1252 text into lines (ending in CR LF or LF; a last line needs no ending) and
// recognises the header and footer this program writes, so that saving the contents again
// gives the same bytes.
FgdContents parseFgdText(QByteArrayView bytes);

// Reads the file at path without ever writing to it. Refused: anything that is not a readable
// regular file, a file with NUL bytes (not text), and more definition lines than the list holds.
ReadResult readFgdFile(const QString& path);

} // namespace model
