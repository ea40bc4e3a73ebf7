// Reading and writing tabular files: a corpus of speakers' vowel tokens as TSV (speaker,
// vowel, F1, F2, F3), at 100,000 and 1,000,000 tokens (2,000 speakers). Reports the
// resident memory a table read from the file holds.

#include "document/tabularreader.h"
#include "document/tabularwriter.h"
#include "document/tokenfile.h"
#include "vowelsample.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr int kSpeakers = 2000;

void AtCorpusSizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(100000)->Arg(1000000);
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1 << 20)
                             : 0;
}

void BM_ParseTabularText(benchmark::State &state)
{
    const QByteArray text = SpeakerTableText(int(state.range(0)), kSpeakers);
    for (auto _ : state) {
        const TabularReadResult result = ParseTabularText(text);
        if (result.table.rowCount() != state.range(0)) {
            state.SkipWithError("the corpus did not read back");
            return;
        }
        benchmark::DoNotOptimize(result.table.formantValues(1).data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseTabularText)->Apply(AtCorpusSizes)->Unit(benchmark::kMillisecond);

void BM_ReadTabularFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("corpus.tsv"));
    qsizetype size = 0;
    {
        const QByteArray text = SpeakerTableText(int(state.range(0)), kSpeakers);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            state.SkipWithError("cannot write the corpus file");
            return;
        }
        size = text.size();
    }
    // Measured on the first read only: later reads may reuse memory the earlier ones freed.
    double tableMiB = -1;
    for (auto _ : state) {
        const double before = residentMiB();
        const TokenFile result = LoadTokenFile(path);
        if (tableMiB < 0)
            tableMiB = residentMiB() - before;
        if (result.table.rowCount() != state.range(0)) {
            state.SkipWithError("the corpus file did not read back");
            return;
        }
        benchmark::DoNotOptimize(result.table.formantValues(1).data());
    }
    state.counters["file_MB"] = double(size) / 1e6;
    state.counters["table_MiB"] = tableMiB;
    state.SetBytesProcessed(state.iterations() * size);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadTabularFile)->Apply(AtCorpusSizes)->Unit(benchmark::kMillisecond);

void BM_FormatTabularText(benchmark::State &state)
{
    const TabularReadResult read =
        ParseTabularText(SpeakerTableText(int(state.range(0)), kSpeakers));
    for (auto _ : state) {
        const QByteArray bytes = FormatTabularText(read.table);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FormatTabularText)->Apply(AtCorpusSizes)->Unit(benchmark::kMillisecond);

} // namespace
