// The Qt binding of the modal boxes, driven as a user would drive them.

#include "support/ModalDriver.h"
#include "toolkit/QtWindowToolkit.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestToolkit : public QObject {
    Q_OBJECT

private slots:
    void boxesShowWhatTheyAreGivenAndAnswer();
    void choiceBoxTakesTheCheckedOnes();
    // Last: a check for a question that never comes may still wait for one when it ends.
    void saveDialogAddsExtensionReplacesAndCancels();
};

void TestToolkit::boxesShowWhatTheyAreGivenAndAnswer() {
    toolkit::QtWindowToolkit qt;
    QStringList seen; // what each box showed: title, text, buttons, icon
    QStringList cut;  // titles wider than their box, which a title bar would cut short
    const auto answer = [&](const QString& typed, bool accept) {
        whenModalOpens([&seen, &cut, typed, accept](QWidget* modal) {
            QFont bold = modal->font();
            bold.setBold(true);
            if (QFontMetrics(bold).horizontalAdvance(modal->windowTitle()) + 40 > modal->width())
                cut << modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->windowTitle() << box->text() << QString::number(box->buttons().size())
                     << QString::number(box->icon());
                box->button(QMessageBox::Ok)->click();
            } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                seen << input->windowTitle() << input->labelText();
                input->setTextValue(typed);
                accept ? input->accept() : input->reject();
            } else {
                modal->close();
            }
        });
    };
    answer({}, true);
    qt.messageBox(nullptr, "No File Selected", "An Error has Occurred", toolkit::MessageIcon::None);
    answer({}, true);
    qt.messageBox(nullptr, "So", "Box Of Wonderment", toolkit::MessageIcon::Information);
    answer("-8 -8 0, 8 8 16", true);
    QCOMPARE(qt.inputBox(nullptr, "Input a valid @PointClass base", "Custom size"),
             QString("-8 -8 0, 8 8 16"));
    answer("typed, then cancelled", false);
    QCOMPARE(qt.inputBox(nullptr, "prompt", "A title much longer than its short prompt"),
             QString());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
    QCOMPARE(seen, (QStringList{"An Error has Occurred", "No File Selected", "1",
                                QString::number(QMessageBox::NoIcon), "Box Of Wonderment", "So",
                                "1", QString::number(QMessageBox::Information), "Custom size",
                                "Input a valid @PointClass base",
                                "A title much longer than its short prompt", "prompt"}));
}

void TestToolkit::choiceBoxTakesTheCheckedOnes() {
    toolkit::QtWindowToolkit qt;
    const QList<toolkit::Choice> choices{{"monster_a", "@PointClass = monster_a : \"A\" []"},
                                         {"monster_b", "@PointClass = monster_b : \"B\" []"},
                                         {"monster_c", "@PointClass = monster_c : \"C\" []"}};
    QStringList shown; // the text beside the list, for each current choice
    QString button;
    whenModalOpens([&](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>();
        auto* text = modal->findChild<QPlainTextEdit*>();
        auto* buttons = modal->findChild<QDialogButtonBox*>();
        if (!list || !text || !buttons)
            return modal->close();
        shown << text->toPlainText();
        list->setCurrentRow(2);
        shown << text->toPlainText();
        list->item(1)->setCheckState(Qt::Unchecked);
        for (QAbstractButton* each : buttons->buttons()) {
            if (buttons->buttonRole(each) == QDialogButtonBox::AcceptRole) {
                button = each->text();
                each->click();
            }
        }
        return true;
    });
    const std::optional<QList<int>> chosen =
        qt.chooseItems(nullptr, "Take which?", "Undeclared Classes", choices, "Add");
    QCOMPARE(button, QString("Add"));
    QCOMPARE(shown, QStringList({choices[0].text, choices[2].text}));
    QCOMPARE(chosen, std::optional<QList<int>>(QList<int>{0, 2}));
    whenModalOpens([](QWidget* modal) { modal->close(); });
    QCOMPARE(qt.chooseItems(nullptr, "Take which?", "Undeclared Classes", choices, "Add"),
             std::nullopt);
}

void TestToolkit::saveDialogAddsExtensionReplacesAndCancels() {
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("mymod.fgd")).open(QIODevice::WriteOnly));
    toolkit::QtWindowToolkit qt;
    const toolkit::SaveDialogSettings settings{"Choose FileName for Output", "fgd", "*.fgd"};

    QString title;
    QStringList filters;
    bool asked = false; // whether replacing the existing file needed a yes
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
        if (!dialog || !name)
            return modal->close();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->setDirectory(dir.path());
        name->setText("mymod");
        whenModalOpens([&](QWidget* question) {
            if (auto* box = qobject_cast<QMessageBox*>(question)) {
                asked = true;
                box->button(QMessageBox::Yes)->click();
            }
        });
        QTest::keyClick(name, Qt::Key_Return);
        return true;
    });
    const std::optional<QString> chosen = qt.saveFileName(nullptr, settings, QString());
    QCOMPARE(title, QString("Choose FileName for Output"));
    QCOMPARE(filters, QStringList({"*.fgd"}));
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).fileName(), QString("mymod.fgd")); // the extension is added
    QVERIFY(!asked);                                               // and nothing is asked

    whenModalOpens([](QWidget* modal) { modal->close(); });
    QCOMPARE(qt.saveFileName(nullptr, settings, *chosen), std::nullopt);
}

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
