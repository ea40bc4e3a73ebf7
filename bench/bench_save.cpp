// Saving the table as a Formant file: the rows read back through the document's cell
// accessors, formatted, and put in place through a temporary file flushed to disk.

#include "document/formantwriter.h"
#include "document/tessavoxdoc.h"
#include "filesizes.h"
#include "plot/openeddocument.h"
#include "sampledocument.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SaveDocument(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<OpenedDocument> opened = OpenSample(sample, state);
    if (!opened)
        return;
    const QString target = sample.scratchPath(QStringLiteral("saved.txt"));
    for (auto _ : state) {
        if (!opened->doc().OnSaveDocument(target)) {
            state.SkipWithError("the table did not save");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The file's bytes alone, without the disk.
void BM_FormatTable(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<OpenedDocument> opened = OpenSample(sample, state);
    if (!opened)
        return;
    for (auto _ : state) {
        const QByteArray text =
            FormatFormantText(opened->doc().tokens(), opened->doc().m_nTokenCount);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_SaveDocument)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime(); // most of a save waits on the disk
BENCHMARK(BM_FormatTable)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
