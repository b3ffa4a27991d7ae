#include "model/Module1.h"
#include "support/FocusChain.h"
#include "support/ScriptedToolkit.h"
#include "toolkit/Twips.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/Form4.h"
#include "ui/Forms.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestForm3Form4 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void extrasLaidOutAsDesigned();
    void doneSetsHeaderOfNextSave_data();
    void doneSetsHeaderOfNextSave();
    void cancelAndCloseBoxChangeNothing();
    void extrasWhileOpenKeepsContents();
    void imageShowsWonderment();
    void helpHasThreeTabsAndCloses();
    void programEndsWithLastWindow();
    void everyControlHasAnAccessibleName();

private:
    ui::Form1* main() { return m_forms->loadedForm1(); }
    void click(QWidget* window, const char* name) {
        window->findChild<QPushButton*>(name)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void fillExtras(const QString& author, const QString& name, const QString& version);
    QByteArray saveAndRead();

    model::Module1 m_module1;
    ScriptedToolkit m_toolkit;
    std::unique_ptr<ui::Forms> m_forms;
    QTemporaryDir m_dir;
};

void TestForm3Form4::init() {
    m_toolkit = ScriptedToolkit();
    m_module1 = model::Module1();
    m_forms = std::make_unique<ui::Forms>(m_toolkit, m_module1);
    m_forms->form1()->show();
}

void TestForm3Form4::cleanup() {
    m_forms.reset();
}

void TestForm3Form4::fillExtras(const QString& author, const QString& name,
                                const QString& version) {
    click(main(), "Command3");
    ui::Form3* extras = m_forms->loadedForm3();
    QVERIFY(extras && extras->isVisible());
    extras->findChild<QLineEdit*>("Text1")->setText(author);
    extras->findChild<QLineEdit*>("Text2")->setText(name);
    extras->findChild<QLineEdit*>("Text3")->setText(version);
}

QByteArray TestForm3Form4::saveAndRead() {
    const QString path = m_dir.filePath("extras.fgd");
    m_toolkit.saveAnswers << path;
    click(main(), "Command5");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestForm3Form4::extrasLaidOutAsDesigned() {
    click(main(), "Command3");
    ui::Form3* extras = m_forms->loadedForm3();
    QVERIFY(extras);
    QCOMPARE(extras->windowTitle(), QString("Input Additional Extras !"));
    QCOMPARE(extras->size(), toolkit::twipsSize(4680, 2625));
    QCOMPARE(extras->minimumSize(), extras->maximumSize());
    QVERIFY(!extras->isModal());

    const QStringList tabOrder{"Text1", "Text2", "Text3", "Command1", "Command2"};
    QCOMPARE(focusOrder(extras, tabOrder), tabOrder);
}

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
    fillExtras(typed[0], typed[1], typed[2]);
    click(m_forms->loadedForm3(), "Command2");
    QCOMPARE(m_forms->loadedForm3(), nullptr);
    QCOMPARE(saveAndRead(), header + "//Half Life FGD File Start Code Here:\r\n\r\n"
                                     "// Made with Tarvok's FGD maker\r\n// \r\n//ICQ : \r\n");

    // Reopened, the dialog is empty, and Done with empty boxes brings back the defaults.
    click(main(), "Command3");
    ui::Form3* extras = m_forms->loadedForm3();
    for (const char* box : {"Text1", "Text2", "Text3"})
        QCOMPARE(extras->findChild<QLineEdit*>(box)->text(), QString());
    click(extras, "Command2");
    QCOMPARE(m_module1.modInfo, model::ModInfo());
    QVERIFY(saveAndRead().startsWith("// Something Tarvok Made\r\n// Unnamed Mod  Version: 0.0"));
}

void TestForm3Form4::cancelAndCloseBoxChangeNothing() {
    fillExtras("Jo", "Test", "1.2");
    click(m_forms->loadedForm3(), "Command2");
    const model::ModInfo stored = m_module1.modInfo;

    fillExtras("Other", "Mod", "9");
    click(m_forms->loadedForm3(), "Command1");
    QCOMPARE(m_forms->loadedForm3(), nullptr);
    QCOMPARE(m_module1.modInfo, stored);

    fillExtras("Other", "Mod", "9");
    m_forms->loadedForm3()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(m_forms->loadedForm3(), nullptr);
    QCOMPARE(m_module1.modInfo, stored);
}

void TestForm3Form4::extrasWhileOpenKeepsContents() {
    fillExtras("Jo", "", "");
    ui::Form3* extras = m_forms->loadedForm3();
    click(main(), "Command3");
    QCOMPARE(m_forms->loadedForm3(), extras);
    QCOMPARE(extras->findChild<QLineEdit*>("Text1")->text(), QString("Jo"));
}

void TestForm3Form4::imageShowsWonderment() {
    click(main(), "Command3");
    ui::Form3* extras = m_forms->loadedForm3();
    extras->findChild<QLineEdit*>("Text1")->setText("kept");
    QTest::mouseClick(extras->findChild<QWidget*>("Image1"), Qt::LeftButton);
    QCOMPARE(m_toolkit.messages.size(), 1);
    QCOMPARE(m_toolkit.messages[0].text,
             QString("So You Have Clicked The Little Box Of Wonderment Have You? Well its not "
                     "that wonderfull is it really? NO it isn't!"));
    QCOMPARE(m_toolkit.messages[0].title, QString("Box Of Wonderment"));
    QCOMPARE(m_toolkit.messages[0].icon, toolkit::MessageIcon::Information);
    QCOMPARE(m_forms->loadedForm3(), extras);
    QCOMPARE(extras->findChild<QLineEdit*>("Text1")->text(), QString("kept"));
    QCOMPARE(m_module1.modInfo, model::ModInfo());
}

void TestForm3Form4::helpHasThreeTabsAndCloses() {
    click(main(), "Command6");
    ui::Form4* help = m_forms->loadedForm4();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Help"));
    QCOMPARE(help->size(), toolkit::twipsSize(4575, 3570));
    QVERIFY(help->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(help->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(help->minimumSize() != help->maximumSize());

    auto* tabs = help->findChild<QTabWidget*>("SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QString("General"));
    QCOMPARE(tabs->tabText(1), QString("How To Use"));
    QCOMPARE(tabs->tabText(2), QString("TroubleShooting"));
    QCOMPARE(tabs->currentIndex(), 0);
    const QStringList tabOrder{"SSTab1", "Text1", "Text2", "Text3", "Command1"};
    QCOMPARE(focusOrder(help, tabOrder), tabOrder);

    const char* boxes[] = {"Text1", "Text2", "Text3"};
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        for (int other = 0; other < 3; ++other) {
            auto* box = help->findChild<QPlainTextEdit*>(boxes[other]);
            QCOMPARE(box->isVisible(), other == tab);
            QVERIFY(!box->toPlainText().isEmpty());
        }
    }
    auto* steps = help->findChild<QPlainTextEdit*>("Text2");
    QVERIFY(steps->toPlainText().startsWith("Simple Steps For Use:"));
    QCOMPARE(steps->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QString answers = help->findChild<QPlainTextEdit*>("Text3")->toPlainText();
    for (const char* question :
         {"Q : The File Won't Save?", "Q : Worldcraft won't accept some of my new entities?",
          "Q : My entity shows in worldcraft but not in HL?"})
        QVERIFY2(answers.contains(question), question);

    // Resizing moves nothing; Help! while open does not reload; Close closes.
    help->findChild<QPlainTextEdit*>("Text1")->setPlainText("typed");
    const QRect before = tabs->geometry();
    help->resize(help->size() * 2);
    QCOMPARE(tabs->geometry(), before);
    click(main(), "Command6");
    QCOMPARE(m_forms->loadedForm4(), help);
    QCOMPARE(help->findChild<QPlainTextEdit*>("Text1")->toPlainText(), QString("typed"));
    click(help, "Command1");
    QCOMPARE(m_forms->loadedForm4(), nullptr);
}

void TestForm3Form4::programEndsWithLastWindow() {
    // Runs the real event loop: the application quits by itself only when the last of the
    // main, extras and help windows has closed, whichever order they close in.
    const QList<QList<int>> orders{{1, 3, 4}, {4, 1, 3}, {3, 4, 1}};
    for (const QList<int>& order : orders) {
        m_forms->form1()->show();
        click(main(), "Command3");
        click(main(), "Command6");

        int closed = 0;
        int closedWhenLastWindowWent = -1;
        QMetaObject::Connection spy = connect(qApp, &QGuiApplication::lastWindowClosed, this,
                                              [&] { closedWhenLastWindowWent = closed; });
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (closed == order.size())
                return;
            const int form = order[closed++];
            QWidget* window = form == 1   ? static_cast<QWidget*>(m_forms->loadedForm1())
                              : form == 3 ? static_cast<QWidget*>(m_forms->loadedForm3())
                                          : static_cast<QWidget*>(m_forms->loadedForm4());
            if (window)
                window->close();
        });
        closer.start(20);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [] { QCoreApplication::exit(2); });
        watchdog.start(5000);

        const int exitCode = QApplication::exec();
        disconnect(spy);
        QCOMPARE(exitCode, 0);
        QCOMPARE(closedWhenLastWindowWent, int(order.size()));
    }
}

void TestForm3Form4::everyControlHasAnAccessibleName() {
    main()->findChild<QListWidget*>("List1")->setCurrentRow(0);
    click(main(), "Command4");
    click(main(), "Command3");
    click(main(), "Command6");
    const QList<QWidget*> windows{main(), m_forms->loadedForm2(), m_forms->loadedForm3(),
                                  m_forms->loadedForm4()};
    QStringList unnamed;
    for (QWidget* window : windows) {
        QVERIFY(window);
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
