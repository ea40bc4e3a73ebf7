// The whole `tessavox-batch chart` process, from start-up to the PNG file of the F1-F2
// chart with its ellipses, 800 x 600: what a script that draws many files pays per file.
// Beside it, the peer: base R drawing the same chart from the same file (peer_chart.R;
// skipped where Rscript is missing).

#include "childprocess.h"
#include "sampledocument.h"

#include <QFile>

#include <benchmark/benchmark.h>

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

} // namespace

// The time is the child's, so only the clock on the wall counts.
BENCHMARK(BM_BatchChartProcess)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchChartPeerR)->Arg(9998)->Unit(benchmark::kMillisecond)->UseRealTime();
