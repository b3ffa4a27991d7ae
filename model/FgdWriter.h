#pragma once

#include "ModInfo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace model {

class DefinitionList;

// The outcome of writing a file: success, or a message naming the file and the reason.
struct SaveResult {
    bool ok = false;
    QString error;

    static SaveResult success() { return {true, {}}; }
};

// The complete bytes of an FGD file: the definition lines unchanged in the frame of a file saved
// with info (FileFrame.h), each line ending with CR LF, in Windows-1252 without a byte-order mark.
QByteArray fgdFileBytes(const QStringList& lines, const ModInfo& info);

// Applies the mod information defaults, then writes the list to path atomically: an existing
// file is either wholly replaced or left exactly as it was. Where only the file, not its folder,
// may be written to, it is written in place instead (on Unix), after a check that the disk has
// room. Anything at path that is not a regular file (a folder, a device, a pipe) is refused.
SaveResult SaveDefinitions(const QString& path, const DefinitionList& list, ModInfo& info);

} // namespace model
