#pragma once

#include "FileFrame.h"

#include <QByteArrayView>
#include <QString>

namespace model {

// The outcome of reading a file: its contents, or a message naming the file and the reason.
struct ReadResult {
    bool ok = false;
    QString error;
    FgdContents contents;
};

// Decodes the bytes of an FGD file from Windows-1252, splits them into lines (ending in CR LF or
// LF; a last line needs no ending) and takes off the frame this program writes, so that saving
// the contents again gives the same bytes.
FgdContents decodeFgdFile(QByteArrayView bytes);

// Reads the file at path without ever writing to it. Refused: anything that is not a readable
// regular file, a file with NUL bytes (not text), and more definition lines than the list holds.
ReadResult readFgdFile(const QString& path);

} // namespace model
