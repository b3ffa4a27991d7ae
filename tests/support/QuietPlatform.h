#pragma once

#include <QString>
#include <QtGlobal>

// The offscreen platform warns each time a window is raised or resized to its size hints,
// which it cannot do. Long window tests call this once to drop those warnings and keep the
// others.
inline void silenceOffscreenPlatformWarnings() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("This plugin does not support")))
                return;
            if (previous)
                previous(type, context, message);
        });
}
