// The charts on screen and leaving the program. A paint of the chart windows, 800 x 600
// with group ellipses: the window is cleared to white and the chart reads every token from
// the table view through its cell accessors. Save As Bitmap (the off-screen picture drawn
// and written as a BMP file) and one printed page into a PDF file of the F1-F2 chart, as
// the chart window does them once the file or print dialog has been answered, here without
// the window. Writing the PNG file of a chart window's picture, apart from drawing it.

#include "batch/batchinput.h"
#include "document/tessavoxdoc.h"
#include "plot/chartbitmap.h"
#include "plot/chartrenderer.h"
#include "plot/documentchart.h"
#include "plot/pngfile.h"
#include "plot/printpage.h"
#include "sampledocument.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace {

void BM_PaintChart(benchmark::State &state, ChartKind kind)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
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

void BM_SaveBitmap(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
    if (!opened)
        return;
    ChartRenderer chart(ChartKind::F1F2);
    const ScreenRaster raster = ScreenRasterOf(QGuiApplication::primaryScreen());
    const QString path = sample.scratchPath(QStringLiteral("chart.bmp"));
    for (auto _ : state) {
        const QImage picture = RenderChartBitmap(chart, opened->doc(), raster.extent, raster.depth);
        if (WriteBitmapFile(picture, path) != 0) {
            state.SkipWithError("the bitmap was not written");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PrintPdf(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
    if (!opened)
        return;
    ChartRenderer chart(ChartKind::F1F2);
    const QString path = sample.scratchPath(QStringLiteral("chart.pdf"));
    for (auto _ : state) {
        QPdfWriter pdf(path);
        pdf.setResolution(1200);
        QPainter painter(&pdf);
        const QRect printable = pdf.pageLayout().paintRectPixels(pdf.resolution());
        PrintChartPage(painter, QRect(QPoint(0, 0), printable.size()), chart, opened->doc(),
                       opened->doc().title());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Into memory, so that the disk does not count; the picture is the one the batch tool's
// chart command writes by default.
void BM_WritePng(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    const std::unique_ptr<BatchInput> opened = OpenSample(sample, state);
    if (!opened)
        return;
    DocumentChart chart(opened->doc(), ChartKind::F1F2);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart.drawWindow(painter);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    for (auto _ : state) {
        buffer.seek(0);
        if (!WritePngImage(image, &buffer)) {
            state.SkipWithError("the PNG was not written");
            return;
        }
    }
    state.counters["bytes"] = double(buffer.pos());
}

} // namespace

BENCHMARK_CAPTURE(BM_PaintChart, F1F2, ChartKind::F1F2)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintChart, F1F3, ChartKind::F1F3)
    ->Apply(AtFileSizes)
    ->Unit(benchmark::kMillisecond);
// Both end in a file, so part of their time is spent waiting for the disk.
BENCHMARK(BM_SaveBitmap)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WritePng)->Arg(5)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintPdf)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
