#pragma once

class QIcon;
class QPixmap;

namespace resources {

// The icon of every window: the 16 and 32 pixel images of the program's .ico file.
QIcon applicationIcon();

// The 32 x 32 picture the windows show in their image controls.
QPixmap applicationPicture();

} // namespace resources
