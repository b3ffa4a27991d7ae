#include "WindowFrame.h"

#include <QBasicTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>

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

namespace {

// Moves the window so that its frame, title bar included, is in the middle of its screen.
// move() places the frame's top left corner, so the frame's size is what is centred.
void placeFrame(QWidget* window, QMargins frame) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect rect(QPoint(), window->size().grownBy(frame));
    rect.moveCenter(screen->availableGeometry().center());
    window->move(rect.topLeft());
}

// A window manager draws the frame only once the window is on the screen, so on such systems
// the frame's size is known a moment after the window is first shown: the window is then moved
// once more. Where the frame is known before (Windows), the first place is already right.
class FrameCentring : public QObject {
public:
    explicit FrameCentring(QWidget* window)
        : QObject(window)
        , m_window(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !m_timer.isActive()) {
            m_tries = 0;
            m_timer.start(20, this);
        }
        return false;
    }
    void timerEvent(QTimerEvent*) override {
        const QMargins frame = frameMargins();
        if (!frame.isNull() || ++m_tries > 50) { // a second at most; none offscreen
            m_timer.stop();
            if (!frame.isNull())
                placeFrame(m_window, frame);
            deleteLater();
        }
    }

private:
    QMargins frameMargins() const {
        const QRect outer = m_window->frameGeometry(), inner = m_window->geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }

    QWidget* m_window;
    QBasicTimer m_timer;
    int m_tries = 0;
};

} // namespace

void centreOnScreen(QWidget* window) {
    // Where the platform knows the frame before the window is shown, it is centred at once.
    window->winId();
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    placeFrame(window, frame);
    if (frame.isNull())
        new FrameCentring(window);
}

} // namespace toolkit
