// A paint of the chart windows, 800 x 600 with group ellipses: the window is cleared to
// white and the chart reads every token from the table view through its cell accessors.

#include "filesizes.h"
#include "plot/openeddocument.h"
#include "sampledocument.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void BM_PaintChart(benchmark::State &state, ChartKind kind)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<OpenedDocument> opened = OpenSample(sample, state);
    if (!opened)
        return;
    DocumentChart chart(opened->doc(), kind);
    QImage image(800, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        chart.drawWindow(painter);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK_CAPTURE(BM_PaintChart, F1F2, ChartKind::F1F2)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintChart, F1F3, ChartKind::F1F3)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond);
