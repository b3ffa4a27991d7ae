#include "ApplicationIcon.h"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace resources {

namespace {

// The first image of each size in the .ico file; the 256-colour ones come first there.
QIcon loadIcon() {
    QIcon icon;
    QImageReader reader(QStringLiteral(":/icons/fgd-composer.ico"));
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull() || sizes.contains(image.width()))
            continue;
        sizes.append(image.width());
        icon.addPixmap(QPixmap::fromImage(image));
    }
    if (icon.isNull())
        icon.addFile(QStringLiteral(":/icons/fgd-composer-32.png"));
    return icon;
}

} // namespace

QIcon applicationIcon() {
    return loadIcon();
}

QPixmap applicationPicture() {
    return applicationIcon().pixmap(32, 32);
}

} // namespace resources
