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

// The frame the window manager gave the first of the program's windows that got one. Its
// windows all have the same kind of frame, so a later window is centred with it at once, before
// its own frame is known.
QMargins& knownFrame() {
    static QMargins frame;
    return frame;
}

// A window manager draws the frame only once the window is on the screen, and on a loaded
// machine that can take long: the window is moved again as soon as its frame is known, however
// long that takes. The window system tells when the frame comes (the window moves into it);
// in case it does not, the frame is also looked for often at first and then now and then.
// Where the frame is known before (Windows), the first place is already right.
class FrameCentring : public QObject {
public:
    explicit FrameCentring(QWidget* window)
        : QObject(window)
        , m_window(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            if (!m_timer.isActive()) {
                m_tries = 0;
                m_timer.start(FastInterval, this);
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WinIdChange:
            if (m_window->isVisible())
                placeOnceFramed();
            break;
        default:
            break;
        }
        return false;
    }
    void timerEvent(QTimerEvent*) override {
        if (placeOnceFramed())
            return;
        if (++m_tries == FastTries)
            m_timer.start(SlowInterval, this);
        else if (m_tries == FastTries + SlowTries)
            m_timer.stop(); // a platform without frames (offscreen); a move still tells
    }

private:
    static constexpr int FastInterval = 20, FastTries = 50;       // a second
    static constexpr int SlowInterval = 250, SlowTries = 4 * 120; // two minutes more

    // Centres the window by its frame when the frame is known, and then stops.
    bool placeOnceFramed() {
        const QRect outer = m_window->frameGeometry(), inner = m_window->geometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        if (frame.isNull())
            return false;
        m_timer.stop();
        m_window->removeEventFilter(this);
        if (knownFrame().isNull())
            knownFrame() = frame;
        placeFrame(m_window, frame);
        deleteLater();
        return true;
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
    placeFrame(window, frame.isNull() ? knownFrame() : frame);
    if (frame.isNull())
        new FrameCentring(window);
}

} // namespace toolkit
