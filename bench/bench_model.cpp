// The model's costs: composing a line, appending to lists of several sizes, and saving a full
// list through the real save path next to a plain write of the same bytes.

#include "model/DefinitionList.h"
#include "model/EntityLine.h"
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
    const QByteArray bytes = model::FgdFileBytes(fullList().lines(), info);
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

} // namespace

BENCHMARK_MAIN();
