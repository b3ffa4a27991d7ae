// Starts the program: shows the main window and runs until the last window is closed.
// Given FGD files (from the command line or a file manager's "Open With"), it continues the
// first and appends the others. --help and --version answer without a window or a display.

#include "model/Module1.h"
#include "toolkit/Display.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <variant>

namespace {

// Reads the command line. Returns the files to open, or the exit status when the program has
// answered already (help, version, or an option it does not know).
std::variant<QStringList, int> readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Compose Half-Life FGD files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("An FGD file to continue; the lines of any further files are appended."),
        QStringLiteral("[file.fgd...]"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    return parser.positionalArguments();
}

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("fgd-composer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FGD_VERSION));
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList files;
    {
        // The command line is read before any window exists, so that answering it needs no
        // display; Qt gives the arguments in full Unicode on every platform.
        QCoreApplication reader(argc, argv);
        nameApplication();
        std::variant<QStringList, int> read = readCommandLine(QCoreApplication::arguments());
        if (const int* status = std::get_if<int>(&read))
            return *status;
        files = std::get<QStringList>(read);
    }

    if (!toolkit::displayAvailable()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(toolkit::noDisplayMessage(QString::fromLocal8Bit(argv[0]))));
        return 1;
    }

    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.fgdcomposer.FgdComposer"));

    model::Module1 module1;
    toolkit::QtWindowToolkit windowToolkit;
    ui::Forms forms(windowToolkit, module1);
    ui::Form1* mainWindow = forms.form1();
    mainWindow->show();
    mainWindow->openFiles(files);
    return QApplication::exec();
}
