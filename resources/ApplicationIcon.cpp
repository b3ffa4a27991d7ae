#include "ApplicationIcon.h"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace resources {

namespace {

QPixmap readPng(const QString& path) {
    // With the format named and guessing turned off, Qt reads PNG itself instead of loading
    // every image plugin to ask whether it knows the file.
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon applicationIcon() {
    // The 256-colour images of icons/fgd-composer.ico, kept beside it as PNG files.
    QIcon icon;
    icon.addPixmap(readPng(QStringLiteral(":/icons/window-16.png")));
    icon.addPixmap(readPng(QStringLiteral(":/icons/window-32.png")));
    return icon;
}

} // namespace resources
