#include "Display.h"

#include <QtGlobal>

namespace toolkit {

bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

QString noDisplayMessage(const QString& programPath) {
    return QStringLiteral("No display found: this is a desktop program and needs one. "
                          "Without a desktop, run it under a virtual display: xvfb-run -a %1 "
                          "(xvfb-run comes with the xvfb package)")
        .arg(programPath);
}

} // namespace toolkit
