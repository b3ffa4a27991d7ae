#include "InterfaceFont.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {

int marginOf(const CaptionBox& box) {
    if (box.margin != CaptionBox::StyleFrame)
        return box.margin;
    return QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

bool allFit(const QFont& font, const QList<CaptionBox>& captions) {
    const QFontMetrics metrics(font);
    return std::all_of(captions.begin(), captions.end(), [&](const CaptionBox& box) {
        return metrics.horizontalAdvance(box.text) + 2 * marginOf(box) <= box.width &&
               metrics.height() <= box.height;
    });
}

} // namespace

double fittingPointSize(const QList<CaptionBox>& captions, double minimumPointSize) {
    QFont font = QApplication::font();
    const double start =
        font.pointSizeF() > 0 ? std::min(font.pointSizeF(), DesignedPointSize) : DesignedPointSize;
    font.setPointSizeF(start);

    // Text grows about in proportion to the point size, so one measurement at the starting
    // size tells which size should fit; hinting can make it a little off, so it is checked
    // and stepped down until everything fits.
    const QFontMetrics metrics(font);
    double size = start;
    for (const CaptionBox& box : captions) {
        const int width = metrics.horizontalAdvance(box.text);
        if (width > 0)
            size = std::min(size, start * (box.width - 2 * marginOf(box)) / width);
        size = std::min(size, start * box.height / std::max(1, metrics.height()));
    }
    size = std::max(minimumPointSize, std::floor(size * 2) / 2);
    for (; size > minimumPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        if (allFit(font, captions))
            return size;
    }
    return minimumPointSize;
}

QFont fittedFont(const QList<CaptionBox>& captions) {
    QFont font = QApplication::font();
    const double size = fittingPointSize(captions);
    if (font.pointSizeF() <= 0 || font.pointSizeF() > size)
        font.setPointSizeF(size);
    return font;
}

} // namespace toolkit
