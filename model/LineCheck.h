#pragma once

#include <QString>
#include <QStringView>

namespace model {

// Checks one source line against the rules the game's level editors apply when they read an
// FGD file. Returns the empty text for a line they accept, otherwise a short reason in plain
// words. Accepted: an empty line, a // comment, and a one-line class declaration such as
//   @PointClass base(Weapon) size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" []
QString CheckSourceLine(QStringView line);

} // namespace model
