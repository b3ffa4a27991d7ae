// One start-up for the start-up benchmark: builds a window, shows it and quits as soon as it
// is first painted. "real" builds the program's main window as the program does; "minimal"
// builds a plain window of the same size with one button, the floor any Qt program pays.

#include "model/Module1.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstring>

namespace {

// Quits the application at the first paint of the watched window.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    const bool real = argc > 1 && std::strcmp(argv[1], "real") == 0;
    QApplication app(argc, argv);
    FirstPaint firstPaint;

    if (real) {
        model::Module1 module1;
        toolkit::QtWindowToolkit windowToolkit;
        ui::Forms forms(windowToolkit, module1);
        forms.form1()->installEventFilter(&firstPaint);
        forms.form1()->show();
        return QApplication::exec();
    }
    QWidget window;
    window.resize(481, 118);
    QPushButton button(QStringLiteral("Add"), &window);
    window.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
