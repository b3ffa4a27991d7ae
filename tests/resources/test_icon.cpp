#include "resources/ApplicationIcon.h"
#include "resources/HelpTexts.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

class TestIcon : public QObject {
    Q_OBJECT

private slots:
    void icoHoldsFourImages();
    void windowIconIsTheIcosImages();
    void helpTextsAreCompiledIn();
};

void TestIcon::icoHoldsFourImages() {
    QFile file(FGD_SOURCE_DIR "/resources/icons/fgd-composer.ico");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    // The directory: reserved 0, type 1 (icon), count; then 16 bytes an image.
    QCOMPARE(qFromLittleEndian<quint16>(ico.constData() + 2), quint16(1));
    QCOMPARE(qFromLittleEndian<quint16>(ico.constData() + 4), quint16(4));
    QList<QList<int>> entries; // width, height, bits per pixel
    for (int i = 0; i < 4; ++i) {
        const char* entry = ico.constData() + 6 + 16 * i;
        entries.append({quint8(entry[0]), quint8(entry[1]), qFromLittleEndian<quint16>(entry + 6)});
    }
    QCOMPARE(entries, (QList<QList<int>>{{32, 32, 8}, {16, 16, 8}, {32, 32, 4}, {16, 16, 4}}));

    QImageReader reader(file.fileName(), "ico");
    for (int i = 0; i < 4; ++i) {
        QVERIFY(reader.jumpToImage(i));
        QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
    }
}

void TestIcon::windowIconIsTheIcosImages() {
    const QIcon icon = resources::applicationIcon();
    QImageReader reader(FGD_SOURCE_DIR "/resources/icons/fgd-composer.ico", "ico");
    for (int i = 0; i < 2; ++i) { // the two 256-colour images
        QVERIFY(reader.jumpToImage(i));
        const QImage fromIco = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage shown =
            icon.pixmap(fromIco.size()).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), fromIco.size());
        QVERIFY2(shown == fromIco, qPrintable(QString("%1 px image differs").arg(fromIco.width())));
    }
}

void TestIcon::helpTextsAreCompiledIn() {
    QVERIFY(resources::generalHelp().contains(".FGD"));
    QVERIFY(resources::howToUseHelp().startsWith("Simple Steps For Use:"));
    QVERIFY(resources::troubleShootingHelp().startsWith("Q : The File Won't Save?"));
}

QTEST_MAIN(TestIcon)
#include "test_icon.moc"
