// Starts the program: shows the main window and runs until the last window is closed.
// Given FGD files (from the command line or a file manager's "Open With"), it continues the
// first and appends the others. --help, --version and --check answer without a window or a
// display.

#include "CheckCommand.h"
#include "ComposeCommand.h"
#include "model/Module1.h"
#include "toolkit/Display.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <variant>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// What the command line asks for: the main window with files to open, the check of files, or
// nothing more than the exit status of an answer already given (help, version, a mistake).
struct OpenWindow {
    QStringList files;
    fgd::Editors editors = 0; // the editors the marks speak for, or 0: as each file needs
    QString game;             // what --game names, or empty
};
using Command = std::variant<OpenWindow, CheckOptions, ComposeOptions, int>;

// A command line the program cannot follow: says why on standard error, and where to look.
int refuse(const QString& message) {
    std::fprintf(stderr, "fgd-composer: %s\nRun fgd-composer --help to see the options.\n",
                 qPrintable(message));
    return CheckStatus::Usage;
}

Command readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Compose Half-Life FGD files.\n\n"
                       "Check FGD files without a window, in a terminal, a text editor or CI:\n"
                       "  fgd-composer --check mymod.fgd\n"
                       "prints each problem as FILE:LINE:COLUMN: error|warning|note: reason, and\n"
                       "ends with status 0 (no errors), 1 (errors) or 2 (a file could not be\n"
                       "read).\n\n"
                       "Compose declarations for the classes a mod's game code links that its\n"
                       "FGD lacks (Valve's SDK: the dlls folder), from what the code reads and\n"
                       "sets:\n"
                       "  fgd-composer --compose --game halflife/dlls halflife.fgd > new.fgd"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Check the files as the main window does when it opens them, and print "
                       "every problem; - reads standard input."));
    const QCommandLineOption format(
        QStringLiteral("format"),
        QStringLiteral("With --check: text (the default) or sarif (SARIF 2.1.0, for code "
                       "scanning)."),
        QStringLiteral("format"), QStringLiteral("text"));
    const QCommandLineOption warningsAsErrors(
        QStringLiteral("warnings-as-errors"),
        QStringLiteral("With --check: end with status 1 for a warning as for an error (a note "
                       "never)."));
    const QCommandLineOption editors(
        QStringLiteral("editors"),
        QStringLiteral("The editors the marks speak for, in the window and with --check: %1, "
                       "separated by commas. Without it, every editor, or the one a file is "
                       "written for.")
            .arg(fgd::EditorNamesHelp),
        QStringLiteral("names"));
    const QCommandLineOption game(
        QStringLiteral("game"),
        QStringLiteral("The game whose class names the marks check, in the window and with "
                       "--check: its liblist.gam, its server library (.dll, .so) or the folder "
                       "of its game code. Without it, the liblist.gam of a file's folder or of "
                       "one above it. From a library only the class names are checked; from "
                       "the game code's folder also the keys each class's KeyValue() reads, "
                       "and the model and hull its Spawn() gives it (notes, which fail no "
                       "check, for keys a class lacks and a size() smaller than its hull)."),
        QStringLiteral("path"));
    const QCommandLineOption undeclared(
        QStringLiteral("undeclared"),
        QStringLiteral("With --check and --game: also list the classes the game links that no "
                       "file declares."));
    const QCommandLineOption compose(
        QStringLiteral("compose"),
        QStringLiteral("With --game (the folder of the mod's game code): write a declaration "
                       "for each class the code links that the files (and the files they "
                       "@include) do not declare in any case, composed from the code: "
                       "@SolidClass for a brush entity, its base classes from the files, its "
                       "size, model, key-values, defaults and spawnflags. Left out: the player, "
                       "and what the code itself creates by name and never reads a key of "
                       "(grenades, beams). Lines as a saved file holds them, to standard "
                       "output."));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("With --compose: save the declarations as a whole FGD file instead."),
        QStringLiteral("file"));
    parser.addOptions(
        {check, format, warningsAsErrors, editors, game, undeclared, compose, output});
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("An FGD file to continue; the lines of any further files are appended. "
                       "With --check: the files to check; with --compose: those whose "
                       "declarations count (- is standard input)."),
        QStringLiteral("[file.fgd...]"));
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    fgd::Editors chosen = 0;
    if (parser.isSet(editors)) {
        const std::optional<fgd::Editors> named = fgd::readEditorNames(parser.value(editors));
        if (!named) {
            return refuse(QStringLiteral("Unknown editors '%1': use %2.")
                              .arg(parser.value(editors), fgd::EditorNamesHelp));
        }
        chosen = *named;
    }
    if (parser.isSet(compose)) {
        if (parser.isSet(check))
            return refuse(QStringLiteral("--compose and --check go one at a time."));
        if (!parser.isSet(game))
            return refuse(QStringLiteral("--compose needs --game, the folder of the mod's game "
                                         "code."));
        for (const QCommandLineOption& option : {format, warningsAsErrors, undeclared, editors}) {
            if (parser.isSet(option))
                return refuse(
                    QStringLiteral("--%1 goes with --check.").arg(option.names().constFirst()));
        }
        return ComposeOptions{parser.value(game), parser.positionalArguments(),
                              parser.value(output)};
    }
    if (parser.isSet(output))
        return refuse(QStringLiteral("--output goes with --compose."));
    if (!parser.isSet(check)) {
        for (const QCommandLineOption& option : {format, warningsAsErrors, undeclared}) {
            if (parser.isSet(option)) {
                return refuse(
                    QStringLiteral("--%1 goes with --check.").arg(option.names().constFirst()));
            }
        }
        return OpenWindow{parser.positionalArguments(), chosen, parser.value(game)};
    }
    CheckOptions options;
    options.files = parser.positionalArguments();
    if (options.files.isEmpty())
        return refuse(QStringLiteral("--check needs the files to check (- for standard "
                                     "input)."));
    const QString formatName = parser.value(format);
    if (formatName == u"sarif")
        options.format = CheckFormat::Sarif;
    else if (formatName != u"text")
        return refuse(QStringLiteral("Unknown format '%1': use text or sarif.").arg(formatName));
    options.warningsAsErrors = parser.isSet(warningsAsErrors);
    options.editors = chosen;
    options.game = parser.value(game);
    options.undeclared = parser.isSet(undeclared);
    if (options.undeclared && options.game.isEmpty())
        return refuse(QStringLiteral("--undeclared goes with --game."));
    if (options.undeclared && options.format == CheckFormat::Sarif)
        return refuse(QStringLiteral("--undeclared goes with the text format."));
    return options;
}

// Runs a command-line command on the standard streams and returns its exit status. A file piped
// in is read as it is, carriage returns and all; output in Bytes is written so too (on Windows,
// Text output has its line ends made CR LF by the C library).
enum class StandardOutput { Text, Bytes };
template <typename Run> int onStandardStreams(StandardOutput output, Run run) {
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    if (output == StandardOutput::Bytes)
        _setmode(_fileno(stdout), _O_BINARY);
#else
    (void)output;
#endif
    QFile out;
    QFile err;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return CheckStatus::Unreadable;
    const int status = run(out, err);
    out.flush();
    return status;
}

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("fgd-composer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FGD_VERSION));
}

} // namespace

int main(int argc, char* argv[]) {
    OpenWindow open;
    {
        // The command line is read, and the check run, before any window exists, so that they
        // need no display; Qt gives the arguments in full Unicode on every platform.
        QCoreApplication reader(argc, argv);
        nameApplication();
        Command command = readCommandLine(QCoreApplication::arguments());
        if (const int* status = std::get_if<int>(&command))
            return *status;
        if (const CheckOptions* check = std::get_if<CheckOptions>(&command)) {
            return onStandardStreams(StandardOutput::Text, [&](QIODevice& out, QIODevice& err) {
                return runCheck(*check, out, err);
            });
        }
        if (const ComposeOptions* compose = std::get_if<ComposeOptions>(&command)) {
            // The lines end in CR LF as they are written, without a second CR.
            return onStandardStreams(StandardOutput::Bytes, [&](QIODevice& out, QIODevice& err) {
                return runCompose(*compose, out, err);
            });
        }
        open = std::get<OpenWindow>(command);
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
    if (open.editors != 0)
        mainWindow->chooseEditors(open.editors);
    // The game named here holds over the files' own liblist.gam from the moment it is chosen.
    if (!open.game.isEmpty())
        mainWindow->chooseGame(open.game, ui::Form1::FilesFrom::CommandLine);
    mainWindow->show();
    mainWindow->openFiles(open.files);
    return QApplication::exec();
}
