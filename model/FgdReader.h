#pragma once

#include "FileFrame.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace model {

// The outcome of reading a file: its contents, or a message naming the file and the reason.
struct ReadResult {
    bool ok = false;
    QString error; // a sentence that names the file and says why it was not read
    FgdContents contents;
    QString reason = {}; // why, alone: "it does not exist"
};

// Decodes the bytes of an FGD file from Windows-1252, splits them into lines (ending in CR LF or
// LF; a last line needs no ending) and takes off the frame this program writes, so that saving
// the contents again gives the same bytes.
FgdContents decodeFgdFile(QByteArrayView bytes);

// How many definition lines a file may hold: as many as the source list holds, or any number
// (the check reads a file of any length).
enum class LineLimit { List, None };

// Reads the file at path without ever writing to it. Refused: anything that is not a readable
// regular file, a file with NUL bytes (not text), and, unless limit is None, more definition
// lines than the list holds.
ReadResult readFgdFile(const QString& path, LineLimit limit = LineLimit::List);

// Reads an FGD file from a stream open for reading, such as standard input, up to its end, and
// refuses what readFgdFile refuses; name names it in a message.
ReadResult readFgdStream(QFile& stream, const QString& name, LineLimit limit);

} // namespace model
