#include "HelpTexts.h"

#include <QFile>

namespace resources {

namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

} // namespace

QString generalHelp() {
    return readText(QStringLiteral(":/help/general.txt"));
}

QString howToUseHelp() {
    return readText(QStringLiteral(":/help/how-to-use.txt"));
}

QString troubleShootingHelp() {
    return readText(QStringLiteral(":/help/troubleshooting.txt"));
}

} // namespace resources
