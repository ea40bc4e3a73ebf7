// Editing a large table: a typed cell becomes an undo step, and Undo puts it back. Both
// compare the table with the history's copy of it, so they grow with the rows.

#include "document/tessavoxdoc.h"

#include <QObject>

#include <benchmark/benchmark.h>

namespace {

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
BENCHMARK(BM_TypeAndUndo)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(9998)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

} // namespace
