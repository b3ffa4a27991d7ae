#include "support/FocusChain.h"
#include "support/Session.h"
#include "toolkit/Twips.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
const QByteArray FreshBody = "//Half Life FGD File Start Code Here:\r\n\r\n"
                             "// Made with Tarvok's FGD maker\r\n// \r\n//ICQ : \r\n";
} // namespace

class TestForm3Form4 : public QObject {
    Q_OBJECT

private slots:
    void doneSetsHeaderOfNextSave_data();
    void doneSetsHeaderOfNextSave();
    void cancelCloseAndIconChangeNothing();
    void helpHasThreeTabsAndCloses();
    void programEndsWithLastWindow();
    void everyControlHasAnAccessibleName();
};

namespace {

// Opens the extras dialog and types the three values.
ui::Form3* fillExtras(Session& s, const QStringList& values) {
    s.click("Command3");
    ui::Form3* extras = s.forms.loadedForm3();
    const char* boxes[] = {"Text1", "Text2", "Text3"};
    for (int i = 0; i < 3; ++i)
        Session::setText(extras, boxes[i], values[i]);
    return extras;
}

} // namespace

void TestForm3Form4::doneSetsHeaderOfNextSave_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("all three") << QStringList{"Jo", "Test", "1.2"}
                               << QByteArray("// Jo\r\n// Test  Version: 1.2\r\n\r\n");
    QTest::newRow("version only")
        << QStringList{"", "", "1.2"}
        << QByteArray("// Something Tarvok Made\r\n// Unnamed Mod  Version: 1.2\r\n\r\n");
}

void TestForm3Form4::doneSetsHeaderOfNextSave() {
    QFETCH(QStringList, typed);
    QFETCH(QByteArray, header);
    Session s;
    QTemporaryDir dir;
    ui::Form3* extras = fillExtras(s, typed);
    QCOMPARE(extras->size(), toolkit::twipsSize(4680, 2625));
    QVERIFY(!extras->isModal() && extras->minimumSize() == extras->maximumSize());
    const QStringList tabOrder{"Text1", "Text2", "Text3", "Command1", "Command2"};
    QCOMPARE(focusOrder(extras, tabOrder), tabOrder);
    Session::click(extras, "Command2");
    QCOMPARE(s.forms.loadedForm3(), nullptr);
    QCOMPARE(s.save(dir.filePath("a.fgd")), header + FreshBody);

    // Reopened, the dialog is empty, and Done with empty boxes brings back the defaults.
    s.click("Command3");
    for (const char* box : {"Text1", "Text2", "Text3"})
        QCOMPARE(s.forms.loadedForm3()->findChild<QLineEdit*>(box)->text(), QString());
    Session::click(s.forms.loadedForm3(), "Command2");
    QVERIFY(s.save(dir.filePath("b.fgd")).startsWith("// Something Tarvok Made\r\n// Unnamed"));
}

void TestForm3Form4::cancelCloseAndIconChangeNothing() {
    Session s;
    ui::Form3* extras = fillExtras(s, {"Jo", "Test", "1.2"});
    QTest::mouseClick(extras->findChild<QWidget*>("Image1"), Qt::LeftButton);
    s.click("Command3"); // Extras while open keeps what was typed
    QCOMPARE(s.forms.loadedForm3(), extras);
    QCOMPARE(extras->findChild<QLineEdit*>("Text1")->text(), QString("Jo"));
    QCOMPARE(s.toolkit.messages.size(), 1);
    QCOMPARE(s.toolkit.messages[0].text,
             QString("So You Have Clicked The Little Box Of Wonderment Have You? Well its not "
                     "that wonderfull is it really? NO it isn't!"));
    QCOMPARE(s.toolkit.messages[0].title, QString("Box Of Wonderment"));
    QCOMPARE(s.toolkit.messages[0].icon, toolkit::MessageIcon::Information);

    Session::click(extras, "Command1");            // Cancel
    fillExtras(s, {"Other", "Mod", "9"})->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(s.forms.loadedForm3(), nullptr);
    QCOMPARE(s.module1.modInfo, model::ModInfo());
}

void TestForm3Form4::helpHasThreeTabsAndCloses() {
    Session s;
    s.click("Command6");
    ui::Form4* help = s.forms.loadedForm4();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->size(), toolkit::twipsSize(4575, 3570));
    QVERIFY(help->windowFlags() & Qt::WindowMinMaxButtonsHint);
    const QStringList tabOrder{"SSTab1", "Text1", "Text2", "Text3", "Command1"};
    QCOMPARE(focusOrder(help, tabOrder), tabOrder);

    auto* tabs = help->findChild<QTabWidget*>("SSTab1");
    QCOMPARE(tabs->currentIndex(), 0);
    const char* titles[] = {"General", "How To Use", "TroubleShooting"};
    const char* boxes[] = {"Text1", "Text2", "Text3"};
    for (int tab = 0; tab < 3; ++tab) {
        QCOMPARE(tabs->tabText(tab), QString(titles[tab]));
        tabs->setCurrentIndex(tab);
        for (int other = 0; other < 3; ++other)
            QCOMPARE(help->findChild<QPlainTextEdit*>(boxes[other])->isVisible(), other == tab);
    }
    QCOMPARE(help->findChild<QPlainTextEdit*>("Text2")->verticalScrollBarPolicy(),
             Qt::ScrollBarAlwaysOn);

    // Resizing moves nothing; Help! while open does not reload; Close closes.
    help->findChild<QPlainTextEdit*>("Text1")->setPlainText("typed");
    const QRect before = tabs->geometry();
    help->resize(help->size() * 2);
    QCOMPARE(tabs->geometry(), before);
    s.click("Command6");
    QCOMPARE(s.forms.loadedForm4(), help);
    QCOMPARE(help->findChild<QPlainTextEdit*>("Text1")->toPlainText(), QString("typed"));
    Session::click(help, "Command1");
    QCOMPARE(s.forms.loadedForm4(), nullptr);
}

void TestForm3Form4::programEndsWithLastWindow() {
    // Runs the real event loop: the application quits by itself only when the last of the
    // main, extras and help windows has closed, whichever order they close in.
    for (const QList<int>& order : QList<QList<int>>{{1, 3, 4}, {4, 1, 3}, {3, 4, 1}}) {
        Session s;
        s.click("Command3");
        s.click("Command6");
        int closed = 0;
        int closedWhenLastWindowWent = -1;
        auto spy = connect(qApp, &QGuiApplication::lastWindowClosed, this,
                           [&] { closedWhenLastWindowWent = closed; });
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (closed == order.size())
                return;
            const int form = order[closed++];
            QWidget* window = form == 1   ? static_cast<QWidget*>(s.forms.loadedForm1())
                              : form == 3 ? static_cast<QWidget*>(s.forms.loadedForm3())
                                          : static_cast<QWidget*>(s.forms.loadedForm4());
            window->close();
        });
        closer.start(20);
        QTimer watchdog; // never hang
        connect(&watchdog, &QTimer::timeout, this, [] { QCoreApplication::exit(2); });
        watchdog.start(5000);
        const int exitCode = QApplication::exec();
        disconnect(spy);
        QCOMPARE(exitCode, 0);
        QCOMPARE(closedWhenLastWindowWent, int(order.size()));
    }
}

void TestForm3Form4::everyControlHasAnAccessibleName() {
    Session s;
    s.list()->setCurrentRow(0);
    for (const char* button : {"Command4", "Command3", "Command6"})
        s.click(button);
    QStringList unnamed;
    for (QWidget* window : QList<QWidget*>{s.main(), s.forms.loadedForm2(), s.forms.loadedForm3(),
                                           s.forms.loadedForm4()}) {
        for (QWidget* control :
             window->findChildren<QWidget*>(QRegularExpression("^[A-Z].*\\d$"))) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << window->windowTitle() + ": " + control->objectName();
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
}

QTEST_MAIN(TestForm3Form4)
#include "test_form3_form4.moc"
