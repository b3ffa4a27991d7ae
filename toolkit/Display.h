#pragma once

#include <QString>

namespace toolkit {

// Whether a window can be shown at all. False on a desktop-less Unix session (no X11 or
// Wayland display and no other platform chosen), where Qt would abort with a plugin error.
bool displayAvailable();

// One line telling the user there is no display and how to run the program without one.
QString noDisplayMessage(const QString& programPath);

} // namespace toolkit
