// Plays a long random session through the windows (Add, select, Edit, type, Update, Save) and
// checks after every step that the main window's list is exactly what the user meant, kept in a
// plain reference list, and that every saved file holds exactly those lines.

#include "model/Module1.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedToolkit.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Forms.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Steps per run; FGD_SOAK_STEPS overrides it.
int stepCount() {
    const int fromEnvironment = qEnvironmentVariableIntValue("FGD_SOAK_STEPS");
    return fromEnvironment > 0 ? fromEnvironment : 100000;
}

QByteArray expectedFile(const QStringList& lines, const model::ModInfo& info) {
    QByteArray out = "// " + info.Author.toLatin1() + "\r\n// " + info.ModName.toLatin1() +
                     "  Version: " + info.ModVersion.toLatin1() + "\r\n\r\n";
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    out += "\r\n// Made with Tarvok's FGD maker\r\n// \r\n//ICQ : \r\n";
    return out;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { silenceOffscreenPlatformWarnings(); }
    void randomSessionNeverLosesALine();
};

void TestSoak::randomSessionNeverLosesALine() {
    model::Module1 module1;
    ScriptedToolkit toolkit;
    ui::Forms forms(toolkit, module1);
    ui::Form1* main = forms.form1();
    main->show();
    auto* list = main->findChild<QListWidget*>("List1");
    auto* kind = main->findChild<QComboBox*>("Combo1");
    auto* suffix = main->findChild<QLineEdit*>("Text2");
    kind->setCurrentText("Weapon");
    auto click = [](QWidget* window, const char* name) {
        window->findChild<QPushButton*>(name)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    QTemporaryDir dir;
    const QString path = dir.filePath("soak.fgd");
    QRandomGenerator random(20261206);
    QStringList reference = main->definitions().lines();
    int selected = -1;
    int opened = -1;
    int serial = 0;
    int saves = 0;
    const int steps = stepCount();

    for (int step = 0; step < steps; ++step) {
        const int action = int(random.bounded(100));
        if (action < (reference.size() < 300 ? 25 : 2)) {
            suffix->setText(QString("e%1").arg(serial++));
            click(main, "Command1");
            reference << "@PointClass size(-16 -16 0, 16 16 36) = " + suffix->text() +
                             " : \"Real Name\" []";
        } else if (action < 50) {
            selected = int(random.bounded(reference.size() + 1)) - 1;
            if (selected < 0)
                list->clearSelection();
            else
                list->setCurrentRow(selected);
        } else if (action < 65) {
            click(main, "Command4");
            if (selected >= 0 && !reference[selected].isEmpty())
                opened = selected;
        } else if (action < 80) {
            if (ui::Form2* editor = forms.loadedForm2())
                editor->findChild<QLineEdit*>("Text1")->setText(
                    random.bounded(10) == 0 ? QString() : QString("edit %1").arg(serial++));
        } else if (action < 99) {
            if (ui::Form2* editor = forms.loadedForm2()) {
                const QString text = editor->line();
                click(editor, "Command1");
                reference.removeAt(opened);
                reference << text;
                selected = selected == opened ? -1 : selected - (selected > opened ? 1 : 0);
                opened = -1;
            }
        } else {
            toolkit.saveAnswers << path;
            click(main, "Command5");
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), expectedFile(reference, module1.modInfo));
            ++saves;
        }

        // The list, its selection, and what the source view shows.
        QCOMPARE(main->definitions().lines(), reference);
        QCOMPARE(main->definitions().selectedPosition(), selected);
        QCOMPARE(list->count(), int(reference.size()));
        QCOMPARE(list->item(list->count() - 1)->text(), reference.last());
        if (step % 100 == 0 || step == steps - 1) {
            for (int row = 0; row < list->count(); ++row)
                QCOMPARE(list->item(row)->text(), reference[row]);
            const QList<QListWidgetItem*> shown = list->selectedItems();
            QCOMPARE(shown.isEmpty() ? -1 : list->row(shown.first()), selected);
        }
    }
    QVERIFY(toolkit.messages.size() > 0); // Edit was refused now and then, as it should be
    QVERIFY(saves > 0);
    qInfo("%d steps, %d saves, %d lines at the end", steps, saves, int(reference.size()));
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
