// Composing lines, saving and opening .fgd files: lines from the main window's inputs, the bytes
// written, every way a save can fail without harm, and reading files back.

#include "fgd/Windows1252.h"
#include "model/DefinitionList.h"
#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <numeric>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
static HANDLE held = INVALID_HANDLE_VALUE; // a file another program holds open
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dlfcn.h>
#include <unistd.h>

// Some disks (network shares, quotas) report that they are full only when the file is synced.
// The writer's fsync() lands here, and fails so while syncFails is set.
static bool syncFails = false;
extern "C" int fsync(int descriptor) {
    if (syncFails) {
        errno = ENOSPC;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return real(descriptor);
}
#endif

using model::DefinitionList;
using model::ModInfo;
using model::SaveDefinitions;
Q_DECLARE_METATYPE(ModInfo)

namespace {

// Runs a command to its end; its input is not the test's own, which a caller may be reading.
bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
}

// A small file system of its own in a temporary folder (Linux, as root), unmounted at the end.
struct TmpfsMount {
    QTemporaryDir dir;
    bool mounted;
    explicit TmpfsMount(const QString& options, bool wanted = true)
        : mounted(wanted && run("mount", {"-t", "tmpfs", "-o", options, "tmpfs", dir.path()})) {}
    ~TmpfsMount() { mounted&& run("umount", {dir.path()}); }
};

} // namespace

class TestFgdFile : public QObject {
    Q_OBJECT

private slots:
    void composesLines();
    void writesExpectedFiles();
    void codecMatchesTableForEveryCharacter();
    void failedSaveChangesNothing();
    void writesInPlaceWhereOnlyTheFileIsWritable();
    void fullDiskKeepsEarlierFile_data();
    void fullDiskKeepsEarlierFile();
    void readsLines_data();
    void readsLines();
    void refusesFiles();
};

void TestFgdFile::composesLines() {
    const struct {
        const char *kind, *custom, *prefix, *suffix, *name, *expected;
    } cases[] = {
        {"Weapon", "", "weapon_", "9mmAR", "9mm Assault Rifle",
         R"(@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Player", "", "monster_", "Entity Suffix", "Real Name",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_Entity Suffix : "Real Name" [])"},
        {"Monster", "", "monster_", "zombie", R"(say "hi")",
         R"(@PointClass size(-16 -16 -36, 16 16 36) = monster_zombie : "say "hi"" [])"},
        {"Custom", " -8 -8 0, 8 8 16 ", "item_", "box", "Box",
         R"(@PointClass size( -8 -8 0, 8 8 16 ) = item_box : "Box" [])"},
        // No kind, a cancelled custom size and a kind in the wrong case give no class part.
        {"", "", "weapon_", "9mmAR", "9mm Assault Rifle",
         R"( = weapon_9mmAR : "9mm Assault Rifle" [])"},
        {"Custom", "", "", "", "", R"( =  : "" [])"},
        {"weapon", "-1 -1 -1", "weapon_", "x", "X", R"( = weapon_x : "X" [])"},
    };
    for (const auto& c : cases) {
        int asked = 0;
        const QString line = model::ComposeEntityLine(c.kind, c.prefix, c.suffix, c.name, [&] {
            ++asked;
            return QString(c.custom);
        });
        QCOMPARE(line, QString(c.expected));
        QCOMPARE(asked, QString(c.kind) == "Custom" ? 1 : 0); // asked for Custom only, once
    }
}

void TestFgdFile::writesExpectedFiles() {
    const struct {
        const char* expected;
        QStringList lines;
        ModInfo info;
    } cases[] = {
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

    // Defaults fill only empty fields, and are applied even when the file cannot be saved.
    ModInfo partial{"", "", "1.2"};
    QVERIFY(!SaveDefinitions(QDir::tempPath(), DefinitionList(), partial).ok);
    QCOMPARE(partial, (ModInfo{"Something Tarvok Made", "Unnamed Mod", "1.2"}));
}

void TestFgdFile::codecMatchesTableForEveryCharacter() {
    // Every code point of the Basic Multilingual Plane, lone surrogates included, in both ways
    // of converting, against a reference: Windows' own code page 1252 on Windows, elsewhere
    // each way against the other (Qt's codec is ICU's table, the other one is our own).
    const bool codec = QStringEncoder("windows-1252").isValid();
    qInfo("Windows-1252 is written by %s", codec ? "Qt's codec" : "the program's own table");
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const QChar ch(static_cast<char16_t>(cp));
        const QByteArray table = fgd::detail::toWindows1252ByTable(QStringView(&ch, 1));
#ifdef Q_OS_WIN
        char byte = 0;
        const wchar_t wide = static_cast<wchar_t>(cp);
        WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &wide, 1, &byte, 1, "?", nullptr);
        const QByteArray reference(1, byte);
#else
        const QByteArray& reference = table;
#endif
        if (fgd::toWindows1252(QStringView(&ch, 1)) != reference || table != reference)
            QFAIL(qPrintable(QString("U+%1 differs").arg(uint(cp), 4, 16, QChar('0'))));
    }
    // Reading is the exact inverse for every byte.
    QByteArray bytes(256, Qt::Uninitialized);
    std::iota(bytes.begin(), bytes.end(), char(0));
    QCOMPARE(fgd::toWindows1252(fgd::fromWindows1252(bytes)), bytes);
    // One '?' for a character outside the plane; lone surrogates anywhere, even at the end.
    QCOMPARE(fgd::toWindows1252(QString::fromUtf8("a😀b")), QByteArray("a?b"));
    const QChar loneSurrogates[] = {QChar('a'), QChar(0xDC00), QChar('b'), QChar(0xD800)};
    QCOMPARE(fgd::toWindows1252(QStringView(loneSurrogates, 4)), QByteArray("a?b?"));
}

void TestFgdFile::failedSaveChangesNothing() {
    // Each case prepares a folder and returns the path to save to (empty: not possible here),
    // with the reason the message must give. keep.fgd is there before, and must stay.
    const struct {
        std::function<QString(const QString&)> prepare;
        const char* reason;
    } cases[] = {
        {[](const QString& dir) { return dir + "/missing/out.fgd"; }, "No such file or directory"},
        {[](const QString& dir) { return QDir(dir).mkdir("f.fgd") ? dir + "/f.fgd" : ""; },
         "it is a folder"},
        {[](const QString& dir) { return dir + "/" + QString(300, 'n') + ".fgd"; }, // at the rename
         "File name too long"},
        {[](const QString& dir) { // our own node: replacing it would destroy it
             return run("mknod", {dir + "/node.fgd", "c", "1", "3"}) ? dir + "/node.fgd" : "";
         },
         "it is not a regular file"},
#ifdef Q_OS_WIN
        {[](const QString& dir) { // another program holds it open, sharing nothing
             held = CreateFileW(reinterpret_cast<LPCWSTR>(QString(dir + "/keep.fgd").utf16()),
                                GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             return dir + "/keep.fgd";
         },
         "held open"},
#else
        {[](const QString& dir) { // the disk full only at the sync: the earlier file stays
             syncFails = true;
             return dir + "/keep.fgd";
         },
         "No space left on device"},
#endif
    };
    for (const auto& [prepare, reason] : cases) {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("keep.fgd"), "kept"));
        const QString path = prepare(dir.path());
        if (path.isEmpty()) {
            qWarning("not tested here (needs root and mknod): %s", reason);
            continue;
        }
        const QStringList before = entries(dir.path());
        ModInfo info;
        const model::SaveResult result = SaveDefinitions(path, DefinitionList(), info);
#ifdef Q_OS_WIN
        CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
#else
        syncFails = false;
#endif
        const QString expected = QString("The file \"%1\" could not be saved: %2.")
                                     .arg(QDir::toNativeSeparators(path), reason);
#ifdef Q_OS_WIN // the system's own reasons are worded otherwise there
        const bool ours = QByteArray(reason).startsWith("it ");
        QVERIFY2(ours ? result.error == expected
                      : result.error.startsWith(expected.left(expected.indexOf(": ") + 2)),
                 qPrintable(result.error));
#else
        QCOMPARE(result.error, expected);
#endif
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(readFile(dir.filePath("keep.fgd")), QByteArray("kept"));
    }
}

void TestFgdFile::writesInPlaceWhereOnlyTheFileIsWritable() {
#ifndef Q_OS_LINUX
    QSKIP("Qt writes in place only on Unix; this test takes another user's place as Linux does");
#else
    // A folder the user may not write to, on a 64 KiB disk, holding a file anyone may write.
    // Permissions do not hold for root, who saves as the user nobody here (real and effective,
    // as for a user who started the program; the saved user lets the test become root again).
    if (geteuid() != 0)
        QSKIP("needs root, to mount a small disk and to save as another user");
    TmpfsMount mount("size=64k,mode=755");
    QVERIFY(mount.mounted);
    const QString folder = mount.dir.path(), path = folder + "/mod.fgd";
    const QByteArray earlier(226, 'o');
    QVERIFY(writeFile(path, earlier) && QFile::setPermissions(path, QFile::Permissions(0x6666)));
    QVERIFY(setresuid(65534, 65534, 0) == 0);
    const auto asRoot = qScopeGuard([] { (void)setresuid(0, 0, 0); });

    // Saved in place: the same file, its new bytes, nothing beside it.
    DefinitionList list;
    ModInfo info{"Jo", "Test", "1.2"};
    const model::SaveResult saved = SaveDefinitions(path, list, info);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(readFile(path), model::fgdFileBytes(list.lines(), info));
    QCOMPARE(entries(folder), QStringList{"mod.fgd"});
    // A failure in the middle of it is reported as one that may have cut the file short.
    syncFails = true;
    const model::SaveResult failed = SaveDefinitions(path, list, info);
    syncFails = false;
    QVERIFY2(failed.error.endsWith("may now be incomplete."), qPrintable(failed.error));
    // A disk without room for the file is refused before the file is touched.
    QVERIFY(writeFile(path, earlier));
    list.append(QString(100000, 'a'));
    const model::SaveResult refused = SaveDefinitions(path, list, info);
    QVERIFY2(refused.error.contains("no room"), qPrintable(refused.error));
    QCOMPARE(readFile(path), earlier);
#endif
}

void TestFgdFile::fullDiskKeepsEarlierFile_data() {
    // Qt copies a write of up to 16 KiB into its buffer and writes it out later; a larger one
    // goes straight to the disk. Both must fail before the earlier file is replaced; so must
    // any write to a read-only disk (-1 free pages here).
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("freePages");
    QTest::newRow("few hundred bytes, disk full") << 300 << 0;
    QTest::newRow("11 KiB, one page free") << 11000 << 1;
    QTest::newRow("the write buffer") << 16384 << 1;
    QTest::newRow("far larger") << 200000 << 1;
    QTest::newRow("read-only disk") << 300 << -1;
}

void TestFgdFile::fullDiskKeepsEarlierFile() {
    QFETCH(int, bytes);
    QFETCH(int, freePages);
    // A 64 KiB disk: a tmpfs mounted here (Linux, as root), or one given in FGD_SMALL_DISK (the
    // Windows build's tests get a Wine drive on such a tmpfs).
    const QString given = qEnvironmentVariable("FGD_SMALL_DISK");
    if (!given.isEmpty() && freePages < 0)
        QSKIP("making a disk read-only needs Linux's mount");
    TmpfsMount mount("size=64k", given.isEmpty());
    if (!mount.mounted && given.isEmpty())
        QSKIP("no small disk: mounting a tmpfs needs Linux and root, or set FGD_SMALL_DISK");
    const QString disk = given.isEmpty() ? mount.dir.path() : given;
    const auto cleanUp = qScopeGuard([&] {
        for (const QString& name : entries(disk))
            QFile::remove(disk + "/" + name);
    });
    const QString path = disk + "/old.fgd";
    const QByteArray earlier(226, 'o');
    QVERIFY(writeFile(path, earlier));
    // Fill the disk, then give back exactly freePages pages.
    QFile filler(disk + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096) {
    }
    if (freePages > 0)
        QVERIFY(filler.resize(filler.size() - 4096 * freePages));
    filler.close();
    if (freePages < 0)
        QVERIFY(run("mount", {"-o", "remount,ro", mount.dir.path()}));

    DefinitionList list;
    ModInfo info;
    info.applyDefaults();
    const qsizetype frame = model::fgdFileBytes(list.lines(), info).size() + 2;
    list.append(QString(bytes - frame, 'a'));
    QCOMPARE(model::fgdFileBytes(list.lines(), info).size(), bytes);

    const model::SaveResult result = SaveDefinitions(path, list, info);
    QVERIFY2(!result.ok && result.error.contains("old.fgd"), qPrintable(result.error));
    QCOMPARE(readFile(path), earlier);
    QCOMPARE(entries(disk), (QStringList{"filler", "old.fgd"}));
}

void TestFgdFile::readsLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<ModInfo>("info"); // in this program's own header; empty: another file
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << ModInfo();
    QTest::newRow("LF, last line open")
        << QByteArray("a\n\nb") << QStringList{"a", "", "b"} << ModInfo();
    QTest::newRow("one ending") << QByteArray("\r\n") << QStringList{""} << ModInfo();
    QTest::newRow("lone CR kept") << QByteArray("a\rb\r\r\n") << QStringList{"a\rb\r"} << ModInfo();
    QTest::newRow("Windows-1252") << QByteArray("\x80 \xe9 \x81") << QStringList{"€ é \u0081"}
                                  << ModInfo();
    QTest::newRow("not quite ours")
        << QByteArray("// x\n// y  Version: 1\n\n@a\n\n// \n//ICQ : \n")
        << QStringList{"// x", "// y  Version: 1", "", "@a", "", "// ", "//ICQ : "} << ModInfo();
    // The program's own files give back lines and mod information, whatever the header holds
    // (a mod name with the marker in it may split elsewhere, but saves the same bytes).
    const QStringList lines{DefinitionList::startLine(), "", "@PointClass = a : \"b\" [", "]"};
    const ModInfo infos[][2] = {{{"Jo", "Test", "1.2"}, {"Jo", "Test", "1.2"}},
                                {{"Jo", "A  Version: B", "C"}, {"Jo", "A", "B  Version: C"}},
                                {{"Jo", "  Version: M", "1  Version: "}, {}}};
    for (const auto& [written, read] : infos) {
        QTest::addRow("ours: %s", qPrintable(written.ModName))
            << model::fgdFileBytes(lines, written) << lines << (read == ModInfo() ? written : read);
    }
    // The same frame with the maker's web address and messenger number filled in: the lines
    // between come back as the list (saving writes this program's own footer).
    QTest::newRow("contact lines filled")
        << QByteArray("// Jo\r\n// Test  Version: 1.2\r\n\r\n@a\r\n\r\n// Made with Tarvok's FGD "
                      "maker\r\n// http://example.org/maker\r\n//ICQ : 123456789\r\n")
        << QStringList{"@a"} << ModInfo{"Jo", "Test", "1.2"};
}

void TestFgdFile::readsLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(ModInfo, info);
    const model::FgdContents read = model::decodeFgdFile(bytes);
    QCOMPARE(read.lines, lines);
    QCOMPARE(read.modInfo.value_or(ModInfo()), info);
    if (QByteArray(QTest::currentDataTag()).startsWith("ours")) // saved again: the same bytes
        QCOMPARE(model::fgdFileBytes(read.lines, *read.modInfo), bytes);
}

void TestFgdFile::refusesFiles() {
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("binary.fgd"), QByteArray("a\0b", 3)));
    QVERIFY(writeFile(dir.filePath("long.fgd"), QByteArray("x\n").repeated(32768)));
    QVERIFY(QDir(dir.path()).mkdir("folder.fgd"));
    const QList<QPair<QString, QString>> cases{
        {dir.filePath("missing.fgd"), "it does not exist"},
        {dir.filePath("folder.fgd"), "it is a folder"},
        {dir.filePath("binary.fgd"), "it is not a text file"},
        {dir.filePath("long.fgd"),
         "it holds 32768 lines, more than the 32,767 the source list can hold"},
#ifdef Q_OS_UNIX
        {"/dev/zero", "it is not a regular file"},
#endif
    };
    for (const auto& [path, reason] : cases) {
        const model::ReadResult read = model::readFgdFile(path);
        QVERIFY2(!read.ok && read.error == QString("The file \"%1\" could not be opened: %2.")
                                               .arg(QDir::toNativeSeparators(path), reason),
                 qPrintable(read.error));
    }
}

QTEST_APPLESS_MAIN(TestFgdFile)
#include "test_fgd_file.moc"
