// The Formant file reader on generated vowel data: parsing alone, and the whole read of a
// file (open, clear the records, one read, parse).

#include "document/formantreader.h"
#include "filesizes.h"
#include "vowelsample.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

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
BENCHMARK(BM_ParseFormantText)->Apply(AtFileSizes)->Unit(benchmark::kMicrosecond);

void BM_ReadFormantFile(benchmark::State &state)
{
    const QByteArray text = FormantFileOf(GenerateVowelTokens(int(state.range(0))));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vowels.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    file.close();
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    for (auto _ : state) {
        const FormantReadResult result = ReadFormantFile(path, records);
        if (result.tokenCount != state.range(0)) {
            state.SkipWithError("the sample file did not read back");
            return;
        }
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadFormantFile)->Apply(AtFileSizes)->Unit(benchmark::kMicrosecond);

} // namespace
