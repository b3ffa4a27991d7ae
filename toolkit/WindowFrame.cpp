#include "WindowFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace toolkit {

void makeFixedFrame(QWidget* window, QSize clientSize) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(clientSize);
}

void makeResizableFrame(QWidget* window, QSize clientSize) {
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    window->resize(clientSize);
}

void setFixedClientHeight(QWidget* window, int height) {
    window->setFixedSize(window->width(), height);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is not known before the window is shown; centre the client area instead,
    // which is within a few pixels of centring the whole window.
    QRect area = screen->availableGeometry();
    QRect rect(QPoint(), window->size());
    rect.moveCenter(area.center());
    window->move(rect.topLeft());
}

} // namespace toolkit
