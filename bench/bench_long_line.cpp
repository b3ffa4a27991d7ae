// Opens a file whose one line is 5 MB long (a file whose line ends were lost, say), presses
// Edit on that line and then Update, and reports how long each takes until the window that
// shows the result has painted it: the time the user waits with the window frozen.

#include "model/FgdWriter.h"
#include "model/Module1.h"
#include "toolkit/QtWindowToolkit.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Counts the paints of the widgets it watches.
class Paints : public QObject {
public:
    using QObject::QObject;
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

// Processes events until a watched widget has painted.
void untilPainted(const Paints& paints) {
    const int before = paints.count;
    while (paints.count == before)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QString line = QStringLiteral("@PointClass = long : \"Long\" [");
    while (line.size() < 5'000'000)
        line += QStringLiteral(" key(string) : \"A label\" : \"value\"");
    line += u']';
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.fgd"));
    model::DefinitionList lines;
    lines.append(line);
    model::ModInfo info;
    if (!model::SaveDefinitions(path, lines, info).ok)
        return 1;

    model::Module1 module1;
    toolkit::QtWindowToolkit windowToolkit;
    ui::Forms forms(windowToolkit, module1);
    ui::Form1* main = forms.form1();
    main->show();
    main->openFile(path);
    auto* list = main->findChild<QListView*>(QStringLiteral("List1"));
    QApplication::processEvents();
    const int row = main->definitions().count() - 1;
    list->setCurrentIndex(list->model()->index(row, 0));
    QApplication::processEvents();

    Paints paints;
    ui::Form2* editor = forms.form2();
    editor->findChild<QLineEdit*>(QStringLiteral("Text1"))->installEventFilter(&paints);
    QElapsedTimer timer;
    timer.start();
    main->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
    untilPainted(paints);
    std::printf("edit_ms %.1f\n", double(timer.nsecsElapsed()) / 1e6);

    list->viewport()->installEventFilter(&paints);
    timer.start();
    editor->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    untilPainted(paints);
    std::printf("update_ms %.1f\nkept %s\n", double(timer.nsecsElapsed()) / 1e6,
                main->definitions().lineAt(row) == line ? "yes" : "NO");
    return 0;
}
