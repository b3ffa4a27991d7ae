#pragma once

#include "ModInfo.h"

#include <QStringList>

#include <optional>

namespace model {

// The frame this program puts around the definition lines of every file it saves, and finds
// again when a file is opened: above them two comment lines with the mod information and an
// empty line, below them an empty line and three comment lines naming the maker.

// The three lines above the definition lines of a file saved with info.
QStringList frameHeader(const ModInfo& info);

// The four lines below the definition lines of every saved file.
QStringList frameFooter();

// What an FGD file holds for the definition list.
struct FgdContents {
    QStringList lines;              // the definition lines, without this program's frame
    std::optional<ModInfo> modInfo; // set when the file is framed as this program saves
};

// Takes the frame off lines when they have it, so that framing the contents again gives the
// same lines; other lines come back whole. A footer whose lines carry a maker's web address and
// messenger number after their prefixes, as other makers' copies of the format wrote it, counts.
FgdContents unframe(QStringList lines);

} // namespace model
