// Plays a long random session through the windows (Add, select, Edit, Update with new or empty
// text) and checks after every step that the list, its view and the selection are exactly what
// the user meant, kept in a plain reference list.

#include "support/Session.h"
#include "ui/Form2.h"

#include <QRandomGenerator>
#include <QTest>

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void randomSessionNeverLosesALine();
};

void TestSoak::randomSessionNeverLosesALine() {
    // The build's number of steps, unless FGD_SOAK_STEPS says otherwise.
    const int asked = qEnvironmentVariableIntValue("FGD_SOAK_STEPS");
    const int steps = asked > 0 ? asked : FGD_SOAK_STEPS;
    Session s;
    QRandomGenerator random(20261206);
    QStringList reference = s.main()->definitions().lines();
    int selected = -1, opened = -1;
    for (int step = 0; step < steps; ++step) {
        const int action = int(random.bounded(100));
        if (action < (reference.size() < 300 ? 25 : 2)) { // Add
            s.compose("Weapon", "", QString("e%1").arg(step), "Real Name");
            s.add();
            reference << QString("@PointClass size(-16 -16 0, 16 16 36) = e%1 : \"Real Name\" []")
                             .arg(step);
        } else if (action < 50) { // select a line, or none
            selected = int(random.bounded(reference.size() + 1)) - 1;
            s.select(selected);
        } else if (action < 75) { // Edit
            s.edit();
            if (selected >= 0 && !reference[selected].isEmpty())
                opened = selected;
        } else if (ui::Form2* editor = s.editor()) { // Update
            Session::setText(editor, "Text1",
                             random.bounded(10) ? QString("edit %1").arg(step) : "");
            reference.removeAt(opened);
            reference << editor->line();
            s.update();
            selected = selected == opened ? -1 : selected - (selected > opened ? 1 : 0);
        }
        QCOMPARE(s.main()->definitions().lines(), reference);
        QCOMPARE(s.shownCount(), int(reference.size()));
        if (step % 50 == 0) // the whole view now and then; every step would be slow
            QCOMPARE(s.shownLines(), reference);
        QCOMPARE(s.main()->definitions().selectedPosition(), selected);
        QCOMPARE(s.currentRow(), selected);
    }
    QVERIFY(!s.toolkit.messages.isEmpty()); // Edit was refused now and then, as it should be
}

QTEST_MAIN(TestSoak)
#include "test_soak.moc"
