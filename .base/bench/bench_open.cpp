// Opening a Formant file as the program does: the document reads it, the table view fills
// its grid, sorts the rows by symbol and numbers the vowels.

#include "document/tessavoxdoc.h"
#include "filesizes.h"
#include "plot/openeddocument.h"
#include "sampledocument.h"
#include "table/tessavoxformview.h"

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

// The table's share of opening, on a document already read.
void BM_FillTable(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    CTessavoxDoc doc;
    if (!sample.isValid() || !doc.OnOpenDocument(sample.path())) {
        state.SkipWithError("the sample file did not open");
        return;
    }
    CTessavoxFormView table;
    doc.addView(&table);
    for (auto _ : state) {
        table.OnInitialUpdate();
        benchmark::DoNotOptimize(table.grid().rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_OpenDocument)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTable)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
