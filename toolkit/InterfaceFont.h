#pragma once

#include <QFont>
#include <QList>
#include <QString>

namespace toolkit {

// A caption and the room its control gives it, in logical pixels. margin is the room the
// control's own frame takes on each side: by default the style's frame width (buttons, boxes),
// 0 for labels.
struct CaptionBox {
    static constexpr int StyleFrame = -1;
    QString text;
    int width = 0;
    int height = 0;
    int margin = StyleFrame;
};

// The point size the window geometry was designed for.
inline constexpr double DesignedPointSize = 8.0;

// Largest point size, at most the application's current one and DesignedPointSize, at which every
// caption fits its box; never below minimumPointSize.
double fittingPointSize(const QList<CaptionBox>& captions, double minimumPointSize = 6.0);

// The font of the program's own windows, whose controls have fixed sizes: the application's
// font at fittingPointSize() when the platform's font is larger, else the application's font.
// Only those windows take it; message boxes and file dialogs keep the platform's font.
QFont fittedFont(const QList<CaptionBox>& captions);

} // namespace toolkit
