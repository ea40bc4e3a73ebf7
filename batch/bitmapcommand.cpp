// tessavox-batch bitmap FILE --plot f1f2|f1f3 ...: File > Save As Bitmap without a window.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"

#include "document/tessavoxdoc.h"
#include "framework/stringtable.h"
#include "plot/chartbitmap.h"
#include "plot/chartrenderer.h"

#include <QGuiApplication>

#include <optional>

namespace {

const QString kUsage = QStringLiteral("bitmap FILE --plot f1f2|f1f3 [--dpmm X[,Y]] [--no-ellipse] "
                                      "[--label ORDER=TEXT]... ") +
                       chartAnalysisUsage() + QStringLiteral(" -o OUT.bmp");

// 40 pixels per millimetre is a 7000 x 9000 picture; beyond that no screen goes.
constexpr double kMaxDensity = 40.0;

struct BitmapOptions
{
    ChartArguments chart;
    std::optional<BitmapExtent> extent;
};

std::optional<double> parseDensity(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value > 0.0) || value > kMaxDensity)
        return std::nullopt;
    return value;
}

std::optional<BitmapExtent> parseExtent(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 2)
        return std::nullopt;
    const std::optional<double> x = parseDensity(parts.first());
    const std::optional<double> y = parseDensity(parts.last());
    if (!x || !y)
        return std::nullopt;
    const BitmapExtent extent = BitmapExtentForDensity(*x, *y);
    if (extent.width < 1 || extent.height < 1)
        return std::nullopt;
    return extent;
}

int runBitmap(const QStringList &args)
{
    const auto options = std::make_unique<BitmapOptions>();
    CommandLine line;
    declareChartArguments(line, options->chart, ChartChoices::Taken);
    line.value<BitmapExtent>("--dpmm", options->extent, parseExtent);
    QString why;
    if (!line.parse(args) || !checkChartArguments(line, options->chart, why))
        return batchUsageError(kUsage, why.isEmpty() ? line.error() : why);

    const std::unique_ptr<BatchInput> file =
        openChartInput(options->chart, QStringLiteral("bitmap"));
    if (!file || !applyChartChoices(*file, options->chart, QStringLiteral("bitmap")))
        return 1;

    ChartRenderer chart(options->chart.kind);
    ScreenRaster raster = ScreenRasterOf(QGuiApplication::primaryScreen());
    if (options->extent)
        raster.extent = *options->extent;
    const QImage picture = RenderChartBitmap(chart, file->doc(), raster.extent, raster.depth);
    if (const int status = WriteBitmapFile(picture, options->chart.output)) {
        // The program shows only "Error in saving the bitmap file"; here the cause helps.
        batchErr() << "Error in saving the bitmap file: " << LoadString(status) << Qt::endl;
        return 1;
    }
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("bitmap"), kUsage,
     QStringLiteral("save the F1-F2 or F1-F3 chart of a file as File > Save As Bitmap does"),
     runBitmap}};

} // namespace
