// Opening a Formant file as the program does: the document reads it, then fills its rows,
// sorts them by symbol and numbers the vowels once a table shows them.

#include "document/tessavoxdoc.h"
#include "filesizes.h"
#include "plot/openeddocument.h"
#include "sampledocument.h"

#include <QObject>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_OpenDocument(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    if (!sample.isValid()) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    std::unique_ptr<OpenedDocument> opened;
    for (auto _ : state) {
        // Tearing the last table down is closing, not opening.
        state.PauseTiming();
        opened.reset();
        state.ResumeTiming();
        opened = OpenedDocument::open(sample.path());
        if (!opened) {
            state.SkipWithError("the sample file did not open");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The rows' share of opening, on a file already read.
void BM_FillTable(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    QObject table;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTessavoxDoc>();
        if (!sample.isValid() || !doc->OnOpenDocument(sample.path())) {
            state.SkipWithError("the sample file did not open");
            return;
        }
        state.ResumeTiming();
        doc->attachTable(&table);
        benchmark::DoNotOptimize(doc->tokens().count());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OpenDocument)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTable)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
