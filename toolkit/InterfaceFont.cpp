#include "InterfaceFont.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace toolkit {

namespace {

bool allFit(const QFont& font, const QList<CaptionBox>& captions) {
    const QFontMetrics metrics(font);
    return std::all_of(captions.begin(), captions.end(), [&](const CaptionBox& box) {
        return metrics.horizontalAdvance(box.text) + 2 * box.margin <= box.width &&
               metrics.height() <= box.height;
    });
}

} // namespace

double fittingPointSize(const QList<CaptionBox>& captions, double minimumPointSize) {
    QFont font = QApplication::font();
    double size =
        font.pointSizeF() > 0 ? std::min(font.pointSizeF(), DesignedPointSize) : DesignedPointSize;
    for (; size > minimumPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        if (allFit(font, captions))
            return size;
    }
    return minimumPointSize;
}

void fitApplicationFont(const QList<CaptionBox>& captions) {
    QFont font = QApplication::font();
    const double size = fittingPointSize(captions);
    if (font.pointSizeF() > 0 && font.pointSizeF() <= size)
        return;
    font.setPointSizeF(size);
    QApplication::setFont(font);
}

} // namespace toolkit
