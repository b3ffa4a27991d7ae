#pragma once

#include "ModInfo.h"

namespace model {

// The program-wide state that outlives every window: the mod information of this run.
// One instance is made at start-up and handed to the windows that read or change it.
struct Module1 {
    ModInfo modInfo;
    // The mod information came from an opened file: the extras dialog then shows it, so that
    // changing one value does not put the defaults in place of the others.
    bool modInfoFromFile = false;
};

} // namespace model
