// Starts the program: shows the main window and runs until the last window is closed.

#include "model/Module1.h"
#include "toolkit/Display.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (!toolkit::displayAvailable()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(toolkit::noDisplayMessage(QString::fromLocal8Bit(argv[0]))));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fgd-composer"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.fgdcomposer.FgdComposer"));
    toolkit::fitApplicationFont(ui::Forms::captionBoxes());

    model::Module1 module1;
    toolkit::QtWindowToolkit windowToolkit;
    ui::Forms forms(windowToolkit, module1);
    forms.form1()->show();
    return QApplication::exec();
}
