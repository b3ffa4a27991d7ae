#pragma once

#include "fgd/ListCheck.h"

#include <QString>

namespace model {

// Aims the check of a file just read at the editors its marks speak for: the user's choice when
// there is one (chosen is not 0); otherwise the one editor the file is written for, when its
// own lines use what only that editor reads, or when the TrenchBroom game configuration beside
// it names it; otherwise every editor. filePath is empty for lines that came from no file.
void aimCheck(fgd::ListCheck& check, fgd::Editors chosen, const QString& filePath);

} // namespace model
