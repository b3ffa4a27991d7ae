#include "support/ModalDriver.h"
#include "toolkit/InterfaceFont.h"
#include "toolkit/QtWindowToolkit.h"
#include "toolkit/Twips.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestToolkit : public QObject {
    Q_OBJECT

private slots:
    void convertsTwipsToPixels();
    void messageBoxShowsTextTitleAndIcon();
    void inputBoxReturnsTextOrEmpty();
    void saveDialogAddsExtensionAndCancels();
    void fontSizeFitsEveryCaption();
};

void TestToolkit::convertsTwipsToPixels() {
    QCOMPARE(toolkit::px(15), 1);
    QCOMPARE(toolkit::px(7215), 481);
    QCOMPARE(toolkit::px(1770), 118);
    QCOMPARE(toolkit::px(4070), 271);
    QCOMPARE(toolkit::px(22), 1);
    QCOMPARE(toolkit::px(23), 2);
    QCOMPARE(toolkit::twipsRect(120, 240, 2055, 315), QRect(8, 16, 137, 21));
}

void TestToolkit::messageBoxShowsTextTitleAndIcon() {
    toolkit::QtWindowToolkit qt;
    for (toolkit::MessageIcon icon :
         {toolkit::MessageIcon::None, toolkit::MessageIcon::Information}) {
        QString title;
        QString text;
        QMessageBox::Icon shownIcon = QMessageBox::Warning;
        int buttons = 0;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return modal->close();
            title = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            buttons = int(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
            return true;
        });
        qt.messageBox(nullptr, "Nothing Selected", "Error", icon);
        QCOMPARE(title, QString("Error"));
        QCOMPARE(text, QString("Nothing Selected"));
        QCOMPARE(buttons, 1);
        QCOMPARE(shownIcon, icon == toolkit::MessageIcon::None ? QMessageBox::NoIcon
                                                               : QMessageBox::Information);
    }
}

void TestToolkit::inputBoxReturnsTextOrEmpty() {
    toolkit::QtWindowToolkit qt;
    QString label;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        if (!dialog)
            return modal->close();
        label = dialog->labelText();
        dialog->setTextValue("-8 -8 0, 8 8 16");
        dialog->accept();
        return true;
    });
    QCOMPARE(qt.inputBox(nullptr, "Input a valid @PointClass base", "Custom size"),
             QString("-8 -8 0, 8 8 16"));
    QCOMPARE(label, QString("Input a valid @PointClass base"));

    whenModalOpens([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QInputDialog*>(modal))
            dialog->setTextValue("typed, then cancelled");
        modal->close();
    });
    QCOMPARE(qt.inputBox(nullptr, "prompt", "title"), QString());
}

void TestToolkit::saveDialogAddsExtensionAndCancels() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    toolkit::QtWindowToolkit qt;
    const toolkit::SaveDialogSettings settings{"Choose FileName for Output", "fgd", "*.fgd"};

    QString title;
    QStringList filters;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return modal->close();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->setDirectory(dir.path());
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name)
            return dialog->close();
        name->setText("mymod");
        QTest::keyClick(name, Qt::Key_Return);
        return true;
    });
    const std::optional<QString> chosen = qt.saveFileName(nullptr, settings, QString());
    QCOMPARE(title, QString("Choose FileName for Output"));
    QCOMPARE(filters, QStringList({"*.fgd"}));
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).fileName(), QString("mymod.fgd"));

    whenModalOpens([](QWidget* modal) { modal->close(); });
    QCOMPARE(qt.saveFileName(nullptr, settings, *chosen), std::nullopt);
}

void TestToolkit::fontSizeFitsEveryCaption() {
    const QList<toolkit::CaptionBox> captions{{"Hide Source", 57, 33}, {"Author:", 41, 17}};
    const double size = toolkit::fittingPointSize(captions);
    QVERIFY(size <= toolkit::DesignedPointSize);
    QVERIFY(size >= 6.0);
    QFont font = QApplication::font();
    font.setPointSizeF(size);
    const QFontMetrics metrics(font);
    if (size > 6.0) {
        for (const toolkit::CaptionBox& box : captions) {
            QVERIFY2(metrics.horizontalAdvance(box.text) <= box.width, qPrintable(box.text));
            QVERIFY(metrics.height() <= box.height);
        }
    }
}

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
