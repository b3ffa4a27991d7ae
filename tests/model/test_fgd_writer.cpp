#include "model/DefinitionList.h"
#include "model/FgdWriter.h"
#include "model/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using model::DefinitionList;
using model::ModInfo;
using model::SaveDefinitions;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray expectedFile(const char* name) {
    return readFile(QStringLiteral(FGD_TEST_DATA "/") + QLatin1String(name));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A small file system of its own in a temporary folder, unmounted when it goes out of scope.
class TmpfsMount {
public:
    explicit TmpfsMount(const QString& options) {
        if (m_dir.isValid())
            m_mounted = run("mount", {"-t", "tmpfs", "-o", options, "tmpfs", m_dir.path()});
    }
    ~TmpfsMount() {
        if (m_mounted)
            run("umount", {m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    bool remountReadOnly() { return run("mount", {"-o", "remount,ro", m_dir.path()}); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

class TestFgdWriter : public QObject {
    Q_OBJECT

private slots:
    void writesFreshList();
    void writesWeaponExample();
    void writesModInfoAndConvertsToWindows1252();
    void appliesDefaultsOnlyToEmptyFields();
    void replacesFileOnSecondSave();
    void codecMatchesTableForEveryCharacter();

    void refusesWhatIsNotARegularFile();
    void reportsMissingFolder();
    void keepsOldFileOnReadOnlyFolder();
    void keepsOldFileWhenDiskIsFull();
    void savesThroughSymlinkToFile();
    void reportsSymlinkToMissingFolder();
    void reportsOverlongPath();
};

void TestFgdWriter::writesFreshList() {
    QTemporaryDir dir;
    const QString path = dir.filePath("fresh.fgd");
    DefinitionList list;
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, list, info);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(readFile(path), expectedFile("fresh.fgd"));
    QCOMPARE(readFile(path).count("\r\n"), 8);
}

void TestFgdWriter::writesWeaponExample() {
    QTemporaryDir dir;
    const QString path = dir.filePath("weapon.fgd");
    DefinitionList list;
    list.append("@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : \"9mm Assault Rifle\" []");
    ModInfo info;
    QVERIFY(SaveDefinitions(path, list, info).ok);
    QCOMPARE(readFile(path), expectedFile("weapon.fgd"));
}

void TestFgdWriter::writesModInfoAndConvertsToWindows1252() {
    QTemporaryDir dir;
    const QString path = dir.filePath("encoded.fgd");
    DefinitionList list;
    list.append("");
    list.append("");
    list.append(QString::fromUtf8("@PointClass = café_€ : \"Straße 中 😀\" []"));
    ModInfo info{"Jo", "Test", "1.2"};
    QVERIFY(SaveDefinitions(path, list, info).ok);
    QCOMPARE(readFile(path), expectedFile("encoded.fgd"));
    QCOMPARE(info, (ModInfo{"Jo", "Test", "1.2"}));
}

void TestFgdWriter::appliesDefaultsOnlyToEmptyFields() {
    ModInfo info{"", "", "1.2"};
    info.applyDefaults();
    QCOMPARE(info, (ModInfo{"Something Tarvok Made", "Unnamed Mod", "1.2"}));

    // The defaults are applied even when the file cannot be written.
    ModInfo failed;
    QVERIFY(!SaveDefinitions(QDir::tempPath(), DefinitionList(), failed).ok);
    QCOMPARE(failed, (ModInfo{"Something Tarvok Made", "Unnamed Mod", "0.0"}));
}

void TestFgdWriter::replacesFileOnSecondSave() {
    QTemporaryDir dir;
    const QString path = dir.filePath("twice.fgd");
    writeFile(path, QByteArray(5000, 'x'));
    DefinitionList list;
    ModInfo info;
    QVERIFY(SaveDefinitions(path, list, info).ok);
    QVERIFY(SaveDefinitions(path, list, info).ok);
    QCOMPARE(readFile(path), expectedFile("fresh.fgd"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"twice.fgd"}));
}

void TestFgdWriter::codecMatchesTableForEveryCharacter() {
    // Every code point of the Basic Multilingual Plane, lone surrogates included, one at a time,
    // so a disagreement names its character.
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const QChar ch(static_cast<char16_t>(cp));
        const QByteArray byCodec = model::ToWindows1252(QStringView(&ch, 1));
        const QByteArray byTable = model::detail::ToWindows1252ByTable(QStringView(&ch, 1));
        if (byCodec != byTable)
            QFAIL(qPrintable(QString("U+%1: codec %2, table %3")
                                 .arg(uint(cp), 4, 16, QChar('0'))
                                 .arg(QString(byCodec.toHex()), QString(byTable.toHex()))));
    }
    // A character outside the plane is one character, so it becomes one '?'.
    QCOMPARE(model::ToWindows1252(QString::fromUtf8("a😀b")), QByteArray("a?b"));
    QCOMPARE(model::detail::ToWindows1252ByTable(QString::fromUtf8("a😀b")), QByteArray("a?b"));
    const QChar loneSurrogates[] = {QChar('a'), QChar(0xDC00), QChar('b'), QChar(0xD800)};
    QCOMPARE(model::ToWindows1252(QStringView(loneSurrogates, 4)), QByteArray("a?b?"));
}

void TestFgdWriter::refusesWhatIsNotARegularFile() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder.fgd");
    QVERIFY(QDir().mkdir(folder));
    ModInfo info;
    model::SaveResult result = SaveDefinitions(folder, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("folder.fgd") && result.error.contains("folder"),
             qPrintable(result.error));
    QVERIFY(QFileInfo(folder).isDir());

    // A device node of our own (never a real one in /dev): replacing it would destroy it.
    const QString node = dir.filePath("node.fgd");
    if (!run("mknod", {node, "c", "1", "3"}))
        QSKIP("cannot make a device node here");
    result = SaveDefinitions(node, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY(QFileInfo(node).exists() && !QFileInfo(node).isFile());
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
        2);
}

void TestFgdWriter::reportsMissingFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/out.fgd");
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
}

void TestFgdWriter::keepsOldFileOnReadOnlyFolder() {
    TmpfsMount mount("size=1m");
    if (!mount.mounted())
        QSKIP("mounting a tmpfs is not allowed here");
    const QString path = mount.path() + "/old.fgd";
    writeFile(path, "earlier contents\r\n");
    QVERIFY(mount.remountReadOnly());

    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("old.fgd"), qPrintable(result.error));
    QCOMPARE(readFile(path), QByteArray("earlier contents\r\n"));
    QCOMPARE(QDir(mount.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"old.fgd"}));
}

void TestFgdWriter::keepsOldFileWhenDiskIsFull() {
    TmpfsMount mount("size=64k");
    if (!mount.mounted())
        QSKIP("mounting a tmpfs is not allowed here");
    const QString path = mount.path() + "/full.fgd";
    writeFile(path, QByteArray(20000, 'o'));

    DefinitionList list;
    for (int i = 0; i < 1200; ++i)
        list.append(QString(80, QChar('a' + i % 26)));
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, list, info);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("full.fgd"), qPrintable(result.error));
    QCOMPARE(readFile(path), QByteArray(20000, 'o'));
    QCOMPARE(QDir(mount.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"full.fgd"}));
}

void TestFgdWriter::savesThroughSymlinkToFile() {
    QTemporaryDir dir;
    const QString target = dir.filePath("real.fgd");
    const QString link = dir.filePath("link.fgd");
    writeFile(target, "old");
    QVERIFY(QFile::link(target, link));
    ModInfo info;
    QVERIFY(SaveDefinitions(link, DefinitionList(), info).ok);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readFile(target), expectedFile("fresh.fgd"));
}

void TestFgdWriter::reportsSymlinkToMissingFolder() {
    QTemporaryDir dir;
    const QString link = dir.filePath("dangling.fgd");
    QVERIFY(QFile::link(dir.filePath("gone/target.fgd"), link));
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(link, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("dangling.fgd"), qPrintable(result.error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             QStringList({"dangling.fgd"}));
}

void TestFgdWriter::reportsOverlongPath() {
    QTemporaryDir dir;
    writeFile(dir.filePath("keep.fgd"), "kept");
    const QString path = dir.filePath(QString(300, 'n') + ".fgd");
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
    QVERIFY(!result.ok);
    QVERIFY(result.error.contains("nnnn.fgd"));
    QCOMPARE(readFile(dir.filePath("keep.fgd")), QByteArray("kept"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"keep.fgd"}));
}

QTEST_APPLESS_MAIN(TestFgdWriter)
#include "test_fgd_writer.moc"
