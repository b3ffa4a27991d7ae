#pragma once

#include <QRect>
#include <QSize>

namespace toolkit {

// Window geometry is designed in twips, 1440 to the inch: 15 twips to a logical pixel at
// 96 pixels per inch. Qt scales logical pixels for high-DPI screens.
inline constexpr int TwipsPerPixel = 15;

// The nearest whole logical pixel to a length in twips.
constexpr int px(int twips) {
    return twips >= 0 ? (twips * 2 + TwipsPerPixel) / (2 * TwipsPerPixel)
                      : -((-twips * 2 + TwipsPerPixel) / (2 * TwipsPerPixel));
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

constexpr QSize twipsSize(int width, int height) {
    return QSize(px(width), px(height));
}

} // namespace toolkit
