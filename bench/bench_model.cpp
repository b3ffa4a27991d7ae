// The model's costs: composing a line, appending to lists of several sizes, saving a full list
// through the real save path next to a plain write of the same bytes, opening that file again,
// and checking lines: a whole full list (as after opening or an Update) and one Add; reading
// the class names of a large server library.

#include "fgd/ListCheck.h"
#include "game/ServerLibrary.h"
#include "model/DefinitionList.h"
#include "model/EntityLine.h"
#include "model/FgdReader.h"
#include "model/FgdWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

void BM_ComposeEntityLine(benchmark::State& state) {
    const QString kind = QStringLiteral("Weapon"), prefix = QStringLiteral("weapon_"),
                  suffix = QStringLiteral("9mmAR"), name = QStringLiteral("9mm Assault Rifle");
    for (auto _ : state) {
        QString line = model::ComposeEntityLine(kind, prefix, suffix, name, {});
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_ComposeEntityLine);

void BM_Append(benchmark::State& state) {
    // Each round appends one line and takes it away again, so the list keeps its size and
    // its room; what is timed is an append at that size (and the cheap removal of the last line).
    model::DefinitionList list;
    while (list.count() < state.range(0))
        list.append(QString(80, QLatin1Char('x')));
    list.select(0);
    const QString line(80, QLatin1Char('y'));
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.append(line));
        list.removeAt(list.count() - 1);
    }
}
BENCHMARK(BM_Append)->Arg(1)->Arg(1000)->Arg(32766);

model::DefinitionList fullList() {
    model::DefinitionList list;
    for (int i = 1; i < model::DefinitionList::MaxLines; ++i)
        list.append(QString(80, QLatin1Char('a' + i % 26)));
    return list;
}

// Both writes end with the data on the disk: the save path syncs before it renames.
void syncToDisk(QFile& file) {
    file.flush();
#ifdef Q_OS_WIN
    _commit(file.handle());
#else
    fsync(file.handle());
#endif
}

void BM_SaveFullList(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.fgd"));
    const model::DefinitionList list = fullList();
    model::ModInfo info;
    for (auto _ : state) {
        const model::SaveResult result = model::SaveDefinitions(path, list, info);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.error));
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_SaveFullList)->Unit(benchmark::kMillisecond);

void BM_PlainWriteSameBytes(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.fgd"));
    model::ModInfo info;
    info.applyDefaults();
    const QByteArray bytes = model::fgdFileBytes(fullList().lines(), info);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            state.SkipWithError("plain write failed");
        syncToDisk(file);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);

void BM_OpenFullFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.fgd"));
    model::ModInfo info;
    model::SaveDefinitions(path, fullList(), info);
    for (auto _ : state) {
        const model::ReadResult read = model::readFgdFile(path);
        if (read.contents.lines.size() != model::DefinitionList::MaxLines)
            state.SkipWithError("the file did not open whole");
    }
}
BENCHMARK(BM_OpenFullFile)->Unit(benchmark::kMillisecond);

// A full list of composed lines, or the lines of a real-looking FGD with declarations over
// many lines, repeated.
QStringList linesToCheck(bool composed) {
    if (composed) {
        QStringList lines{model::DefinitionList::startLine()};
        for (int i = 1; i < model::DefinitionList::MaxLines; ++i)
            lines << model::ComposeEntityLine(QStringLiteral("Weapon"), QStringLiteral("weapon_"),
                                              QString::number(i), QStringLiteral("Real Name"), {});
        return lines;
    }
    const QStringList declaration{
        QStringLiteral("@PointClass base(Targetname) size(-8 -8 0, 8 8 16) = env_x : \"X\""),
        QStringLiteral("["),
        QStringLiteral("\thealth(integer) : \"Health\" : 10"),
        QStringLiteral("\tmode(choices) : \"Mode\" : 0 ="),
        QStringLiteral("\t["),
        QStringLiteral("\t\t0 : \"Off\""),
        QStringLiteral("\t\t1 : \"On\""),
        QStringLiteral("\t]"),
        QStringLiteral("]"),
        QString()};
    QStringList lines;
    while (lines.size() + declaration.size() <= model::DefinitionList::MaxLines)
        lines += declaration;
    return lines;
}

void BM_CheckWholeList(benchmark::State& state) {
    const QStringList lines = linesToCheck(state.range(0) == 0);
    for (auto _ : state) {
        fgd::ListCheck check;
        check.checkAll(lines);
        benchmark::DoNotOptimize(check.verdict(0));
    }
}
BENCHMARK(BM_CheckWholeList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CheckOneAdd(benchmark::State& state) {
    // What Add costs the check at the end of an almost full list.
    QStringList lines = linesToCheck(true);
    lines.removeLast();
    fgd::ListCheck check;
    check.checkAll(lines);
    const QString line =
        model::ComposeEntityLine(QStringLiteral("Weapon"), QStringLiteral("weapon_"),
                                 QStringLiteral("9mmAR"), QStringLiteral("9mm"), {});
    for (auto _ : state) {
        lines.append(line);
        benchmark::DoNotOptimize(check.checkAppended(lines));
        lines.removeLast();
        check.checkChanged(lines, static_cast<int>(lines.size()));
    }
}
BENCHMARK(BM_CheckOneAdd);

// A 32-bit Windows server library of about 3 MB whose export table is all of it: one section
// holding the export directory, the table of name addresses and the names.
QByteArray largeLibrary() {
    constexpr quint32 Section = 0x200, Address = 0x1000, Names = 110000;
    QByteArray names;
    QList<quint32> offsets;
    const quint32 tableAt = 40, namesAt = tableAt + Names * 4;
    for (quint32 i = 0; i < Names; ++i) {
        offsets.append(Address + namesAt + quint32(names.size()));
        // Sorted, as linkers write the table.
        names += "monster_generated_" + QByteArray::number(i).rightJustified(6, '0') + '\0';
    }
    QByteArray data(namesAt, '\0');
    data += names;
    QByteArray file(Section, '\0');
    const auto put = [](QByteArray& bytes, qsizetype at, quint32 value, int width) {
        for (int i = 0; i < width; ++i)
            bytes[at + i] = char(value >> (8 * i));
    };
    file[0] = 'M', file[1] = 'Z';
    put(file, 0x3C, 0x40, 4);
    put(file, 0x40, 0x00004550, 4); // PE
    put(file, 0x44, 0x14C, 2);      // i386
    put(file, 0x46, 1, 2);          // one section
    put(file, 0x54, 224, 2);        // the optional header's size
    put(file, 0x58, 0x10B, 2);      // PE32
    put(file, 0x58 + 92, 16, 4);    // data directories
    put(file, 0x58 + 96, Address, 4);
    put(file, 0x58 + 100, quint32(data.size()), 4);
    const qsizetype header = 0x58 + 224;
    put(file, header + 8, quint32(data.size()), 4);
    put(file, header + 12, Address, 4);
    put(file, header + 16, quint32(data.size()), 4);
    put(file, header + 20, Section, 4);
    put(data, 24, Names, 4);
    put(data, 32, Address + tableAt, 4);
    for (quint32 i = 0; i < Names; ++i)
        put(data, tableAt + i * 4, offsets.at(i), 4);
    return file + data;
}

void BM_ReadLibraryExports(benchmark::State& state) {
    const QByteArray library = largeLibrary();
    for (auto _ : state) {
        const game::LibraryNames names = game::libraryClassNames(library);
        if (!names.ok || names.names.size() != 110000)
            state.SkipWithError("the library was not read");
        benchmark::DoNotOptimize(names);
    }
    state.counters["MB"] = double(library.size()) / (1 << 20);
}
BENCHMARK(BM_ReadLibraryExports)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
