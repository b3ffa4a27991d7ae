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
// machine that can take long: the window is moved again once its frame is known, however long
// that takes. The frame is looked for often at first and then now and then, and taken as known
// when two looks in a row find the same one (the window system may report it in steps).
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
        if (event->type() == QEvent::Show && !m_timer.isActive()) {
            m_tries = 0;
            m_timer.start(FastInterval, this);
        }
        return false;
    }
    void timerEvent(QTimerEvent*) override {
        // Asked of the window system each time: the widget's own frame geometry may keep a
        // frame it read before the window manager put one around the window.
        const QMargins frame =
            m_window->windowHandle() ? m_window->windowHandle()->frameMargins() : QMargins();
        // While the window manager puts its frame around the window, the window system may
        // report the window's place inside the frame as its place on the screen: no frame
        // has a side of negative width.
        const bool drawn = !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 &&
                           frame.right() >= 0 && frame.bottom() >= 0;
        if (drawn && frame == m_lastFrame) {
            m_timer.stop();
            m_window->removeEventFilter(this);
            if (knownFrame().isNull())
                knownFrame() = frame;
            placeFrame(m_window, frame);
            deleteLater();
            return;
        }
        m_lastFrame = frame;
        if (++m_tries == FastTries)
            m_timer.start(SlowInterval, this);
        else if (m_tries == FastTries + SlowTries)
            m_timer.stop(); // a platform without frames (offscreen)
    }

private:
    static constexpr int FastInterval = 20, FastTries = 50;       // a second
    static constexpr int SlowInterval = 250, SlowTries = 4 * 600; // ten minutes more

    QWidget* m_window;
    QBasicTimer m_timer;
    QMargins m_lastFrame;
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
