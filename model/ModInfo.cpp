#include "ModInfo.h"

namespace model {

void ModInfo::applyDefaults() {
    if (Author.isEmpty())
        Author = QString::fromLatin1(DefaultAuthor);
    if (ModName.isEmpty())
        ModName = QString::fromLatin1(DefaultModName);
    if (ModVersion.isEmpty())
        ModVersion = QString::fromLatin1(DefaultModVersion);
}

} // namespace model
