// Starts the program: shows the main window and runs until the last window is closed.
// Given FGD files (from the command line or a file manager's "Open With"), it continues the
// first and appends the others.

#include "model/Module1.h"
#include "toolkit/Display.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QCommandLineParser>

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

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Compose Half-Life FGD files."));
    arguments.addHelpOption();
    arguments.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("An FGD file to continue; the lines of any further files are appended."),
        QStringLiteral("[file.fgd...]"));
    arguments.process(app);
    const QStringList files = arguments.positionalArguments();

    model::Module1 module1;
    toolkit::QtWindowToolkit windowToolkit;
    ui::Forms forms(windowToolkit, module1);
    ui::Form1* mainWindow = forms.form1();
    mainWindow->show();
    mainWindow->openFiles(files);
    return QApplication::exec();
}
