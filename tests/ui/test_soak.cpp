// Plays a long random session through the windows (Add, select, Edit, type, Update, Save) and
// checks after every step that the main window's list is exactly what the user meant, kept in a
// plain reference list, and that every saved file holds exactly those lines.

#include "support/QuietPlatform.h"
#include "support/Session.h"
#include "ui/Form2.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { silenceOffscreenPlatformWarnings(); }
    void randomSessionNeverLosesALine();
};

void TestSoak::randomSessionNeverLosesALine() {
    const int steps = qEnvironmentVariableIntValue("FGD_SOAK_STEPS") > 0
                          ? qEnvironmentVariableIntValue("FGD_SOAK_STEPS")
                          : 100000;
    Session s;
    QTemporaryDir dir;
    QRandomGenerator random(20261206);
    QStringList reference = s.main()->definitions().lines();
    int selected = -1;
    int opened = -1;
    int serial = 0;

    for (int step = 0; step < steps; ++step) {
        const int action = int(random.bounded(100));
        if (action < (reference.size() < 300 ? 25 : 2)) { // Add
            const QString suffix = QString("e%1").arg(serial++);
            s.compose("Weapon", "", suffix, "Real Name");
            s.click("Command1");
            reference << "@PointClass size(-16 -16 0, 16 16 36) = " + suffix +
                             " : \"Real Name\" []";
        } else if (action < 50) { // select a line, or none
            selected = int(random.bounded(reference.size() + 1)) - 1;
            if (selected < 0)
                s.list()->clearSelection();
            else
                s.list()->setCurrentRow(selected);
        } else if (action < 65) { // Edit
            s.click("Command4");
            if (selected >= 0 && !reference[selected].isEmpty())
                opened = selected;
        } else if (action < 80) { // type into the editor
            if (ui::Form2* editor = s.forms.loadedForm2())
                Session::setText(editor, "Text1",
                                 random.bounded(10) ? QString("edit %1").arg(serial++) : "");
        } else if (action < 99) { // Update
            if (ui::Form2* editor = s.forms.loadedForm2()) {
                const QString text = editor->line();
                Session::click(editor, "Command1");
                reference.removeAt(opened);
                reference << text;
                selected = selected == opened ? -1 : selected - (selected > opened ? 1 : 0);
                opened = -1;
            }
        } else { // Save: the file holds exactly the reference lines
            QByteArray expected =
                "// Something Tarvok Made\r\n// Unnamed Mod  Version: 0.0\r\n\r\n";
            for (const QString& line : reference)
                expected += line.toLatin1() + "\r\n";
            expected += "\r\n// Made with Tarvok's FGD maker\r\n// \r\n//ICQ : \r\n";
            QCOMPARE(s.save(dir.filePath("soak.fgd")), expected);
        }

        QCOMPARE(s.main()->definitions().lines(), reference);
        QCOMPARE(s.main()->definitions().selectedPosition(), selected);
        QCOMPARE(s.list()->count(), int(reference.size()));
        QCOMPARE(s.list()->item(s.list()->count() - 1)->text(), reference.last());
        if (step % 100 == 0 || step == steps - 1) { // the whole view now and then
            QCOMPARE(s.shownLines(), reference);
            const QList<QListWidgetItem*> shown = s.list()->selectedItems();
            QCOMPARE(shown.isEmpty() ? -1 : s.list()->row(shown.first()), selected);
        }
    }
    QVERIFY(!s.toolkit.messages.isEmpty()); // Edit was refused now and then, as it should be
    QVERIFY(s.toolkit.saves.size() > 0);
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
