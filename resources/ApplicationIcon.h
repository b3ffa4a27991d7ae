#pragma once

class QIcon;

namespace resources {

// The icon of every window, at 16 and 32 pixels: the images of the program's .ico file.
QIcon applicationIcon();

} // namespace resources
