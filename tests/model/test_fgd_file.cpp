#include "model/DefinitionList.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "model/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using model::DefinitionList;
using model::ModInfo;
using model::SaveDefinitions;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

// A small file system of its own in a temporary folder, unmounted when it goes out of scope.
class TmpfsMount {
public:
    explicit TmpfsMount(const QString& options)
        : m_mounted(run("mount", {"-t", "tmpfs", "-o", options, "tmpfs", m_dir.path()})) {}
    ~TmpfsMount() {
        if (m_mounted)
            run("umount", {m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted;
};

} // namespace

class TestFgdFile : public QObject {
    Q_OBJECT

private slots:
    void writesExpectedFiles();
    void codecMatchesTableForEveryCharacter();
    void failedSaveChangesNothing();
    void fullDiskKeepsEarlierFile_data();
    void fullDiskKeepsEarlierFile();
    void savesThroughSymlinkToFile();
    void readsWhatWasSaved();
    void readsLines_data();
    void readsLines();
    void refusesFiles();
};

void TestFgdFile::writesExpectedFiles() {
    const struct {
        const char* expected;
        QStringList lines;
        ModInfo info;
    } cases[] = {
        {"fresh.fgd", {}, {}},
        {"weapon.fgd",
         {R"(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [])"},
         {}},
        {"encoded.fgd",
         {"", "", QString::fromUtf8(R"(@PointClass = café_€ : "Straße 中 😀" [])")},
         {"Jo", "Test", "1.2"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.fgd");
        QVERIFY(writeFile(path, QByteArray(5000, 'x'))); // replaced, not appended to
        DefinitionList list;
        for (const QString& line : c.lines)
            list.append(line);
        ModInfo info = c.info;
        const model::SaveResult result = SaveDefinitions(path, list, info);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readFile(path), readFile(QStringLiteral(FGD_TEST_DATA "/") + c.expected));
        QCOMPARE(entries(dir.path()), QStringList{"out.fgd"});
    }

    // Defaults fill only empty fields, and are applied even when the file cannot be written.
    ModInfo partial{"", "", "1.2"};
    QVERIFY(!SaveDefinitions(QDir::tempPath(), DefinitionList(), partial).ok);
    QCOMPARE(partial, (ModInfo{"Something Tarvok Made", "Unnamed Mod", "1.2"}));
}

void TestFgdFile::codecMatchesTableForEveryCharacter() {
    // Every code point of the Basic Multilingual Plane, lone surrogates included.
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const QChar ch(static_cast<char16_t>(cp));
        const QByteArray byCodec = model::ToWindows1252(QStringView(&ch, 1));
        const QByteArray byTable = model::detail::ToWindows1252ByTable(QStringView(&ch, 1));
        if (byCodec != byTable)
            QFAIL(qPrintable(QString("U+%1: codec %2, table %3")
                                 .arg(uint(cp), 4, 16, QChar('0'))
                                 .arg(QString(byCodec.toHex()), QString(byTable.toHex()))));
    }
    // One '?' for a character outside the plane; lone surrogates anywhere, even at the end.
    QCOMPARE(model::ToWindows1252(QString::fromUtf8("a😀b")), QByteArray("a?b"));
    const QChar loneSurrogates[] = {QChar('a'), QChar(0xDC00), QChar('b'), QChar(0xD800)};
    QCOMPARE(model::ToWindows1252(QStringView(loneSurrogates, 4)), QByteArray("a?b?"));
}

void TestFgdFile::failedSaveChangesNothing() {
    // Each case prepares a folder and returns the path to save to, or an empty text to skip.
    const QList<QPair<const char*, std::function<QString(const QString&)>>> cases{
        {"missing folder",
         [](const QString& dir) {
             return dir + "/missing/out.fgd";
         }},
        {"path is a folder",
         [](const QString& dir) {
             return QDir(dir).mkdir("f.fgd") ? dir + "/f.fgd" : QString();
         }},
        {"symlink to a missing folder",
         [](const QString& dir) {
             return QFile::link(dir + "/gone/t.fgd", dir + "/l.fgd") ? dir + "/l.fgd" : QString();
         }},
        {"overlong name",
         [](const QString& dir) {
             return dir + "/" + QString(300, 'n') + ".fgd";
         }},
        {"device node", // our own node: replacing it would destroy it
         [](const QString& dir) {
             return run("mknod", {dir + "/node.fgd", "c", "1", "3"}) ? dir + "/node.fgd"
                                                                     : QString();
         }},
    };
    for (const auto& [name, prepare] : cases) {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("keep.fgd"), "kept"));
        const QString path = prepare(dir.path());
        if (path.isEmpty()) {
            qWarning("skipped \"%s\": not possible here", name);
            continue;
        }
        const QStringList before = entries(dir.path());
        ModInfo info;
        const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
        QVERIFY2(!result.ok, name);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path).right(20)),
                 qPrintable(result.error));
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(readFile(dir.filePath("keep.fgd")), QByteArray("kept"));
    }

    // A read-only file system: the earlier file stays, byte for byte.
    TmpfsMount mount("size=1m");
    if (!mount.mounted())
        QSKIP("mounting a tmpfs is not allowed here");
    const QString path = mount.path() + "/old.fgd";
    QVERIFY(writeFile(path, "old"));
    QVERIFY(run("mount", {"-o", "remount,ro", mount.path()}));
    ModInfo info;
    const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
    QVERIFY2(!result.ok && result.error.contains("old.fgd"), qPrintable(result.error));
    QCOMPARE(readFile(path), QByteArray("old"));
}

void TestFgdFile::fullDiskKeepsEarlierFile_data() {
    // Qt copies a write of up to 16 KiB into its buffer and writes it out later; a larger one
    // goes straight to the disk. Both must fail before the earlier file is replaced.
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("freePages");
    QTest::newRow("few hundred bytes, disk full") << 300 << 0;
    QTest::newRow("11 KiB, one page free") << 11000 << 1;
    QTest::newRow("just under the write buffer") << 16383 << 1;
    QTest::newRow("the write buffer") << 16384 << 1;
    QTest::newRow("just over the write buffer") << 16385 << 1;
    QTest::newRow("far larger") << 200000 << 1;
}

void TestFgdFile::fullDiskKeepsEarlierFile() {
    QFETCH(int, bytes);
    QFETCH(int, freePages);
    TmpfsMount mount("size=64k");
    if (!mount.mounted())
        QSKIP("mounting a tmpfs is not allowed here");
    const QString path = mount.path() + "/old.fgd";
    const QByteArray earlier(226, 'o');
    QVERIFY(writeFile(path, earlier));
    // Fill the disk, then give back exactly freePages pages.
    QFile filler(mount.path() + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096) {
    }
    QVERIFY(filler.resize(filler.size() - 4096 * freePages));
    filler.close();

    DefinitionList list;
    ModInfo info;
    info.applyDefaults();
    const qsizetype frame = model::FgdFileBytes(list.lines(), info).size() + 2;
    list.append(QString(bytes - frame, 'a'));
    QCOMPARE(model::FgdFileBytes(list.lines(), info).size(), bytes);

    const model::SaveResult result = SaveDefinitions(path, list, info);
    QVERIFY2(!result.ok && result.error.contains("old.fgd"), qPrintable(result.error));
    QCOMPARE(readFile(path), earlier);
    QCOMPARE(entries(mount.path()), (QStringList{"filler", "old.fgd"}));
}

void TestFgdFile::savesThroughSymlinkToFile() {
#ifdef Q_OS_WIN
    QSKIP("symbolic links need special rights on Windows");
#endif
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("real.fgd"), "old"));
    QVERIFY(QFile::link(dir.filePath("real.fgd"), dir.filePath("link.fgd")));
    ModInfo info;
    QVERIFY(SaveDefinitions(dir.filePath("link.fgd"), DefinitionList(), info).ok);
    QVERIFY(QFileInfo(dir.filePath("link.fgd")).isSymLink());
    QCOMPARE(readFile(dir.filePath("real.fgd")), readFile(FGD_TEST_DATA "/fresh.fgd"));
}

void TestFgdFile::readsWhatWasSaved() {
    // The program's own files give back their lines and mod information, and saving those again
    // writes the same bytes, whatever the header holds.
    const QStringList lines{DefinitionList::startLine(), "", "@PointClass = a : \"b\" [", "]"};
    for (const ModInfo& info :
         {ModInfo{"Jo", "Test", "1.2"}, ModInfo{"Something Tarvok Made", "Unnamed Mod", "0.0"},
          ModInfo{"Jo", "A  Version: B", "C"}, ModInfo{"Jo", "  Version: M", "1  Version: "}}) {
        const QByteArray bytes = model::FgdFileBytes(lines, info);
        const model::FgdContents read = model::ParseFgdText(bytes);
        QCOMPARE(read.lines, lines);
        QVERIFY(read.modInfo);
        QCOMPARE(model::FgdFileBytes(read.lines, *read.modInfo), bytes);
    }
}

void TestFgdFile::readsLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF, last line open") << QByteArray("a\n\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("one ending") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("lone CR kept") << QByteArray("a\rb\r\r\n") << QStringList{"a\rb\r"};
    QTest::newRow("Windows-1252") << QByteArray("\x80 \xe9 \x81") << QStringList{"€ é \u0081"};
    // Not this program's frame: every line is a definition line.
    QTest::newRow("foreign") << QByteArray("// x\n// y  Version: 1\n\n@a\n\n// z\n// \n//ICQ : \n")
                             << QStringList{"// x", "// y  Version: 1", "", "@a", "", "// z",
                                            "// ",  "//ICQ : "};
}

void TestFgdFile::readsLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const model::FgdContents read = model::ParseFgdText(bytes);
    QCOMPARE(read.lines, lines);
    QVERIFY(!read.modInfo);
}

void TestFgdFile::refusesFiles() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("nul.fgd"), QByteArray("a\0b", 3)));
    QByteArray tooMany;
    for (int i = 0; i <= DefinitionList::MaxLines; ++i)
        tooMany += "x\n";
    QVERIFY(writeFile(dir.filePath("long.fgd"), tooMany));
    QVERIFY(QDir(dir.path()).mkdir("folder.fgd"));
    const QList<QPair<QString, QString>> cases{
        {dir.filePath("missing.fgd"), "it does not exist"},
        {dir.filePath("folder.fgd"), "it is a folder"},
        {dir.filePath("nul.fgd"), "it is not a text file"},
        {dir.filePath("long.fgd"),
         "it holds 32768 lines, more than the 32,767 the source list can hold"},
        {"/dev/zero", "it is not a regular file"},
    };
    for (const auto& [path, reason] : cases) {
        const model::ReadResult read = model::ReadFgdFile(path);
        QVERIFY2(!read.ok && read.error == QString("The file \"%1\" could not be opened: %2.")
                                               .arg(QDir::toNativeSeparators(path), reason),
                 qPrintable(read.error));
    }
    QVERIFY(writeFile(dir.filePath("ok.fgd"), model::FgdFileBytes({"x"}, {"a", "b", "c"})));
    QCOMPARE(model::ReadFgdFile(dir.filePath("ok.fgd")).contents.lines, QStringList{"x"});
}

QTEST_APPLESS_MAIN(TestFgdFile)
#include "test_fgd_file.moc"
