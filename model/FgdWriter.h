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

// The three footer lines that close every saved file.
QStringList fgdFooterLines();

// The complete bytes of an FGD file: two header lines from info, an empty line, the
// definition lines unchanged, an empty line and the footer, each ending with CR LF,
// in Windows-1252 without a byte-order mark.
QByteArray fgdFileBytes(const QStringList& lines, const ModInfo& info);

// Applies the mod information defaults, then writes the list to path atomically: an existing
// file is either wholly replaced or left exactly as it was. Where only the file, not its folder,
// may be written to, it is written in place instead (on Unix), after a check that the disk has
// room. Anything at path that is not a regular file (a folder, a device, a pipe) is refused.
SaveResult SaveDefinitions(const QString& path, const DefinitionList& list, ModInfo& info);

} // namespace model
