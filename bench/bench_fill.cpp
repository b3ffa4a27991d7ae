// Presses Add until the list is full, with the source view open, and reports the total time
// and the slowest single Add; then saves that list and opens it again in a new main window, as
// the program does when it starts with a file, and reports the time to the first paint.

#include "model/FgdWriter.h"
#include "model/Module1.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    model::Module1 module1;
    toolkit::QtWindowToolkit windowToolkit;
    ui::Forms forms(windowToolkit, module1);
    ui::Form1* main = forms.form1();
    main->show();
    main->findChild<QPushButton*>(QStringLiteral("Command2"))->click(); // expand
    main->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentText(QStringLiteral("Weapon"));
    auto* add = main->findChild<QPushButton*>(QStringLiteral("Command1"));
    QApplication::processEvents();

    QElapsedTimer total;
    QElapsedTimer one;
    qint64 slowest = 0;
    int adds = 0;
    total.start();
    qint64 painting = 0;
    while (main->definitions().count() < model::DefinitionList::MaxLines) {
        one.start();
        add->click();
        slowest = std::max(slowest, one.nsecsElapsed());
        ++adds;
        // Now and then the view lays out and paints what the Adds changed, as it does between
        // a person's clicks; that time is counted in the total but is not part of one Add.
        if (adds % 1000 == 0) {
            one.start();
            QApplication::processEvents();
            painting += one.nsecsElapsed();
        }
    }
    QApplication::processEvents();
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    std::printf("adds %d\ntotal_ms %.1f\nslowest_add_ms %.3f\nmean_add_us %.1f\npaint_ms %.1f\n",
                adds, totalMs, double(slowest) / 1e6, totalMs * 1000.0 / adds,
                double(painting) / 1e6);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.fgd"));
    if (!model::SaveDefinitions(path, main->definitions(), module1.modInfo).ok)
        return 1;
    main->close();
    QApplication::processEvents();
    one.start();
    ui::Form1* opened = forms.form1();
    opened->show();
    opened->openFile(path);
    opened->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QApplication::processEvents();
    std::printf("open_full_file_ms %.1f\nopened_lines %d\n", double(one.nsecsElapsed()) / 1e6,
                opened->definitions().count());
    return 0;
}
