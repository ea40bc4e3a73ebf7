// The F1-F2 chart leaving the program: Save As Bitmap (the off-screen picture drawn and
// written as a BMP file) and one printed page into a PDF file, as the chart window does
// them once the file dialog or print dialog has been answered.

#include "filesizes.h"
#include "framework/printinfo.h"
#include "framework/printjob.h"
#include "plot/bitmapexport.h"
#include "plot/openeddocument.h"
#include "plot/plotview.h"
#include "sampledocument.h"

#include <QPageSize>
#include <QPrinter>

#include <benchmark/benchmark.h>

namespace {

void BM_SaveBitmap(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<OpenedDocument> opened = OpenSample(sample, state);
    if (!opened)
        return;
    PlotView &chart = opened->addChart(ChartKind::F1F2);
    const QString path = sample.scratchPath(QStringLiteral("chart.bmp"));
    for (auto _ : state) {
        if (SaveChartBitmap(chart, path, ScreenRasterFor(chart)) != 0) {
            state.SkipWithError("the bitmap was not written");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PrintPdf(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<OpenedDocument> opened = OpenSample(sample, state);
    if (!opened)
        return;
    PlotView &chart = opened->addChart(ChartKind::F1F2);
    const QString path = sample.scratchPath(QStringLiteral("chart.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        PrintInfo info;
        PrintJob::printPages(chart, printer, info);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

// Both end in a file, so part of their time is spent waiting for the disk.
BENCHMARK(BM_SaveBitmap)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintPdf)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
