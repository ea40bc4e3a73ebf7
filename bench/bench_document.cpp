// The document and its Formant files: the reader alone (parsing, and the whole read of a
// file: open, clear the records, one read, parse); opening as the program does (read, then
// fill the rows, sort them by symbol and number the vowels once a table shows them);
// saving (the rows read back through the cell accessors, formatted, and put in place
// through a temporary file flushed to disk); and typing a cell and undoing it, which both
// compare the table with the history's copy of it, so they grow with the rows. Opening is
// timed twice: again and again in one process, and as a fresh process opens a file.

#include "batch/batchinput.h"
#include "document/formantreader.h"
#include "document/formantwriter.h"
#include "document/tessavoxdoc.h"
#include "plot/documentchart.h"
#include "sampledocument.h"
#include "vowelsample.h"

#include <QFileInfo>
#include <QObject>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

void BM_ParseFormantText(benchmark::State &state)
{
    const QByteArray text = FormantFileOf(GenerateVowelTokens(int(state.range(0))));
    const std::string_view view(text.constData(), std::size_t(text.size()));
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    for (auto _ : state) {
        const FormantReadResult result = ParseFormantText(view, records);
        benchmark::DoNotOptimize(records.data());
        // The parser wants cleared records; clearing only the rows it wrote is the
        // cheapest way back to that.
        std::fill(records.begin(), records.begin() + result.tokenCount, FormantRecord{});
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadFormantFile(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    if (!SampleWritten(sample, state))
        return;
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    for (auto _ : state) {
        const FormantReadResult result = ReadFormantFile(sample.path(), records);
        if (result.tokenCount != state.range(0)) {
            state.SkipWithError("the sample file did not read back");
            return;
        }
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(sample.path()).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Opens the sample again and again; `fresh` gives the memory the last open freed back to
// the system first, so that every page the open touches is touched for the first time.
void openRepeatedly(benchmark::State &state, bool fresh)
{
    const SampleFile sample(int(state.range(0)));
    if (!SampleWritten(sample, state))
        return;
    std::unique_ptr<BatchInput> opened;
    for (auto _ : state) {
        // Tearing the last table down is closing, not opening.
        state.PauseTiming();
        opened.reset();
#if defined(__GLIBC__)
        if (fresh)
            malloc_trim(0);
#endif
        state.ResumeTiming();
        opened = BatchInput::open(QStringLiteral("bench"), sample.path(), {});
        if (!opened) {
            state.SkipWithError("the sample file did not open");
            return;
        }
        // The rows fill, sort and number themselves as when a table window shows them.
        benchmark::DoNotOptimize(opened->doc().tokens().count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OpenDocument(benchmark::State &state)
{
    openRepeatedly(state, false);
}

// Opening as a fresh process does. The batch tool opens a file once per run, so this is its
// share of a chart's run.
void BM_OpenDocumentFresh(benchmark::State &state)
{
    openRepeatedly(state, true);
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

void BM_SaveDocument(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
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

// The saved file's bytes alone, without the disk.
void BM_FormatTable(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
    if (!opened)
        return;
    for (auto _ : state) {
        const QByteArray text =
            FormatFormantText(opened->doc().tokens(), opened->doc().m_nTokenCount);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TypeAndUndo(benchmark::State &state)
{
    CTessavoxDoc doc;
    QObject table;
    doc.attachTable(&table);
    TokenTableModel &tokens = doc.tokens();
    const int count = int(state.range(0));
    static const QString kSymbols[] = {QStringLiteral("i"), QStringLiteral("a"),
                                       QStringLiteral("u")};
    tokens.beginBulkChange();
    for (int i = 0; i < count; ++i) {
        TokenTableModel::Row row;
        row.numbers = {300 + i % 500, 800 + i % 1500, 2300 + i % 600, 1 + i % 3};
        row.symbol = kSymbols[i % 3];
        tokens.insertRowAt(i, row);
    }
    tokens.endBulkChange();
    tokens.setNumber(0, TokenTableModel::F1, 1); // the history takes the filled table in
    int value = 0;
    for (auto _ : state) {
        tokens.setNumber(count / 2, TokenTableModel::F1, 200 + ++value % 100);
        doc.OnEditUndo();
    }
    benchmark::DoNotOptimize(tokens.number(count / 2, TokenTableModel::F1));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ParseFormantText)->Apply(AtFileSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadFormantFile)->Apply(AtFileSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDocument)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocumentFresh)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTable)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocument)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime(); // most of a save waits on the disk
BENCHMARK(BM_FormatTable)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeAndUndo)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(9998)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
