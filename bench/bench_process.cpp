// The batch tool as a whole process, start-up included, each beside base R doing the same
// work (skipped where Rscript is missing). The time is the children's, so only the clock on
// the wall counts.
// - `tessavox-batch chart FILE --plot f1f2`: the PNG of the F1-F2 chart with its ellipses,
//   800 x 600, what a script that draws many files pays per file; beside peer_chart.R.
// - `tessavox-batch stats CORPUS --normalize lobanov --group vowel` on the synthetic corpus
//   at 100,000 and 1,000,000 tokens, beside corpus_stats.R. Before R is timed, both outputs
//   are compared: every figure must agree to 1e-9. Each run's peak memory is a counter.
// - A 2,000,000-row CSV (about 45 MB) through `table -o OUT.csv` (read, fill the table,
//   print it, save it), `chart` (read, fill, draw the PNG) and `stats --normalize lobanov`,
//   each against its time and memory budget.

#include "childprocess.h"
#include "sampledocument.h"
#include "vowelsample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

void BM_BatchChartProcess(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    if (!SampleWritten(sample, state))
        return;
    const QByteArray output = QFile::encodeName(sample.scratchPath(QStringLiteral("chart.png")));
    if (RunChildEachIteration(state,
                              {TESSAVOX_BATCH, "chart", QFile::encodeName(sample.path()), "--plot",
                               "f1f2", "-o", output},
                              "tessavox-batch chart failed"))
        state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_BatchChartPeerR(benchmark::State &state)
{
    if (!HaveRscript(state))
        return;
    const SampleFile sample(int(state.range(0)));
    if (!SampleWritten(sample, state))
        return;
    const QByteArray output = QFile::encodeName(sample.scratchPath(QStringLiteral("peer.png")));
    if (RunChildEachIteration(state,
                              {"Rscript", "--vanilla", TESSAVOX_BENCH_DIR "/peer_chart.R",
                               QFile::encodeName(sample.path()), output},
                              "Rscript peer_chart.R failed"))
        state.SetItemsProcessed(state.iterations() * state.range(0));
}

bool HavePraat(benchmark::State &state)
{
    static const bool found = RunChild({"praat", "--version"}).has_value();
    if (!found)
        state.SkipWithError("praat is missing");
    return found;
}

// Praat draws the same tokens, read from the table it reads natively; the table is
// written before the clock starts.
void BM_BatchChartPeerPraat(benchmark::State &state)
{
    if (!HavePraat(state))
        return;
    const SampleFile sample(int(state.range(0)));
    const QString table = sample.scratchPath(QStringLiteral("vowels.tsv"));
    QByteArray text = "F1\tF2\tF3\tvowel\n";
    for (const VowelToken &t : GenerateVowelTokens(int(state.range(0))))
        text += QByteArray::number(t.f1) + '\t' + QByteArray::number(t.f2) + '\t' +
                QByteArray::number(t.f3) + '\t' + t.label.toUtf8() + '\n';
    QFile file(table);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        state.SkipWithError("cannot write the table");
        return;
    }
    file.close();
    const QByteArray output = QFile::encodeName(sample.scratchPath(QStringLiteral("praat.png")));
    if (RunChildEachIteration(state,
                              {"praat", "--run", TESSAVOX_BENCH_DIR "/peer_chart.praat",
                               QFile::encodeName(table), output},
                              "praat peer_chart.praat failed"))
        state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The corpus files live as long as the build tree; made once, then reused.
QString corpusPath(int tokens)
{
    const QString dir = QStringLiteral(TESSAVOX_CORPUS_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/corpus-%1.tsv").arg(tokens);
    if (!QFileInfo::exists(path) && !WriteVowelCorpus(path, tokens))
        return {};
    return path;
}

std::vector<QByteArray> statsCommand(const QString &corpus, const QString &out)
{
    return {TESSAVOX_BATCH, "stats", QFile::encodeName(corpus), "--normalize", "lobanov", "--group",
            "vowel",        "-o",    QFile::encodeName(out)};
}

// group -> n, mean_x, mean_y, sd_x, sd_y, cov_xy from a TSV with those leading columns.
QHash<QString, std::vector<double>> readFigures(const QString &path)
{
    QHash<QString, std::vector<double>> figures;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return figures;
    file.readLine();
    while (!file.atEnd()) {
        const QStringList cells = QString::fromUtf8(file.readLine()).trimmed().split('\t');
        std::vector<double> &values = figures[cells.value(0).trimmed()];
        for (int c = 1; c <= 6; ++c)
            values.push_back(cells.value(c).trimmed().toDouble());
    }
    return figures;
}

// The largest difference between the two outputs' figures, relative where a figure is
// above 1; infinity when the groups differ.
double largestDifference(const QString &ours, const QString &theirs)
{
    const auto a = readFigures(ours);
    const auto b = readFigures(theirs);
    if (a.isEmpty() || a.size() != b.size())
        return INFINITY;
    double largest = 0.0;
    for (auto it = a.cbegin(); it != a.cend(); ++it) {
        const auto other = b.constFind(it.key());
        if (other == b.cend() || other->size() != it->size())
            return INFINITY;
        for (std::size_t i = 0; i < it->size(); ++i) {
            const double x = (*it)[i];
            const double y = (*other)[i];
            largest = std::max(largest, std::abs(x - y) / std::max(1.0, std::abs(y)));
        }
    }
    return largest;
}

void BM_CorpusStatsProcess(benchmark::State &state)
{
    const QString corpus = corpusPath(int(state.range(0)));
    if (corpus.isEmpty()) {
        state.SkipWithError("cannot write the corpus");
        return;
    }
    const auto peak =
        RunChildEachIteration(state, statsCommand(corpus, corpus + QStringLiteral(".stats")),
                              "tessavox-batch stats failed");
    if (!peak)
        return;
    state.counters["peak_MB"] = *peak;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CorpusStatsR(benchmark::State &state)
{
    if (!HaveRscript(state))
        return;
    const QString corpus = corpusPath(int(state.range(0)));
    const QString ours = corpus + QStringLiteral(".stats");
    const QString theirs = corpus + QStringLiteral(".R.tsv");
    if (corpus.isEmpty() || !RunChild(statsCommand(corpus, ours))) {
        state.SkipWithError("tessavox-batch stats failed");
        return;
    }
    const auto peak = RunChildEachIteration(state,
                                            {"Rscript", TESSAVOX_BENCH_DIR "/corpus_stats.R",
                                             QFile::encodeName(corpus), QFile::encodeName(theirs)},
                                            "Rscript failed");
    if (!peak)
        return;
    const double difference = largestDifference(ours, theirs);
    if (!(difference <= 1e-9)) {
        state.SkipWithError("the figures differ from R's by more than 1e-9");
        return;
    }
    state.counters["peak_MB"] = *peak;
    state.counters["max_diff"] = difference;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The large table: made once as the corpus files are, comma-separated.
QString largeTablePath(int tokens)
{
    const QString dir = QStringLiteral(TESSAVOX_CORPUS_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/large-%1.csv").arg(tokens);
    if (!QFileInfo::exists(path) && !WriteVowelCorpus(path, tokens, ','))
        return {};
    return path;
}

// One batch command on the large table; `args` follow the file's name, and "OUT" in them
// stands for a file beside it.
void runOnLargeTable(benchmark::State &state, std::vector<QByteArray> args, const char *failure)
{
    const QString table = largeTablePath(int(state.range(0)));
    if (table.isEmpty()) {
        state.SkipWithError("cannot write the large table");
        return;
    }
    std::vector<QByteArray> argv{TESSAVOX_BATCH, args.front(), QFile::encodeName(table)};
    for (std::size_t i = 1; i < args.size(); ++i)
        argv.push_back(args[i] == "OUT" ? QFile::encodeName(table + ".out") + args[++i] : args[i]);
    const auto peak = RunChildEachIteration(state, argv, failure);
    if (!peak)
        return;
    state.counters["peak_MB"] = *peak;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LargeTableSave(benchmark::State &state)
{
    runOnLargeTable(state, {"table", "-o", "OUT", ".csv"}, "tessavox-batch table failed");
}

void BM_LargeTableChart(benchmark::State &state)
{
    runOnLargeTable(state, {"chart", "--plot", "f1f2", "-o", "OUT", ".png"},
                    "tessavox-batch chart failed");
}

void BM_LargeTableStats(benchmark::State &state)
{
    runOnLargeTable(state, {"stats", "--normalize", "lobanov", "-o", "OUT", ".tsv"},
                    "tessavox-batch stats failed");
}

} // namespace

BENCHMARK(BM_LargeTableSave)
    ->Arg(2000000)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LargeTableChart)
    ->Arg(2000000)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LargeTableStats)
    ->Arg(2000000)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_BatchChartProcess)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchChartPeerR)->Arg(9998)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchChartPeerPraat)->Arg(9998)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CorpusStatsProcess)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// R takes over a second a run, so each repetition is one run.
BENCHMARK(BM_CorpusStatsR)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
