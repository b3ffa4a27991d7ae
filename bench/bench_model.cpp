// The model's costs: composing a line, appending to lists of several sizes, saving a full list
// through the real save path next to a plain write of the same bytes, opening that file again,
// and checking lines: a whole full list (as after opening or an Update) and one Add.

#include "fgd/ListCheck.h"
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

} // namespace

BENCHMARK_MAIN();
