// tessavox-batch chart FILE --plot f1f2|f1f3 ...: the chart window's picture as PNG or BMP,
// or as an SVG or PDF vector drawing for papers.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"
#include "document/formantrecord.h"
#include "document/tessavoxdoc.h"
#include "plot/chartexport.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace {

const QString kUsage =
    QStringLiteral(
        "chart FILE --plot f1f2|f1f3 [--size WxH] [--no-ellipse] [--f1max N] [--f2max N] "
        "[--f3max N] [--dpi N] [--label ORDER=TEXT]... ") +
    chartAnalysisUsage() + QStringLiteral(" -o OUT.png|OUT.bmp|OUT.svg|OUT.pdf");

constexpr int kMaxSide = 8192;
// Resolutions a PNG may be written at, as the Export Chart dialog offers them.
constexpr int kFewestDots = 72;
constexpr int kMostDots = 1200;

struct ChartOptions
{
    ChartArguments chart;
    std::optional<QSize> size;
    std::optional<int> dotsPerInch;
    std::optional<int> f1Max;
    std::optional<int> f2Max;
    std::optional<int> f3Max;
};

std::optional<QSize> parseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<int> width = parseBoundedInt(parts[0], 1, kMaxSide);
    const std::optional<int> height = parseBoundedInt(parts[1], 1, kMaxSide);
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}

// Range bounds are accepted as the options dialog accepts them.
std::optional<int> parseBound(const QString &text)
{
    return parseBoundedInt(text, 0, kMaxFormant);
}

QString describe(const ChartOptions &options)
{
    return QStringLiteral("%1 - %2").arg(QFileInfo(options.chart.input).fileName(),
                                         options.chart.kind == ChartKind::F1F2
                                             ? QStringLiteral("F1 vs F2")
                                             : QStringLiteral("F1 vs F3"));
}

int runChart(const QStringList &args)
{
    const auto options = std::make_unique<ChartOptions>();
    CommandLine line;
    declareChartArguments(line, options->chart, ChartChoices::Taken);
    line.value<QSize>("--size", options->size, parseSize)
        .value<int>("--dpi", options->dotsPerInch,
                    [](const QString &text) {
                        return parseBoundedInt(text, kFewestDots, kMostDots);
                    })
        .value<int>("--f1max", options->f1Max, parseBound)
        .value<int>("--f2max", options->f2Max, parseBound)
        .value<int>("--f3max", options->f3Max, parseBound);
    QString why;
    if (!line.parse(args) || !checkChartArguments(line, options->chart, why))
        return batchUsageError(kUsage, why.isEmpty() ? line.error() : why);
    const std::optional<ChartFileFormat> format = chartFileFormatOf(options->chart.output);
    if (!format) {
        batchErr() << "tessavox-batch chart: cannot tell the format of " << options->chart.output
                   << " from its extension; use .png, .bmp, .svg or .pdf" << Qt::endl;
        return 2;
    }

    std::unique_ptr<BatchInput> file = openChartInput(options->chart, QStringLiteral("chart"));
    if (!file)
        return 1;
    CTessavoxDoc &doc = file->doc();
    doc.m_nF1Max = options->f1Max.value_or(doc.m_nF1Max);
    doc.m_nF2Max = options->f2Max.value_or(doc.m_nF2Max);
    doc.m_nF3Max = options->f3Max.value_or(doc.m_nF3Max);
    if (!applyChartChoices(*file, options->chart, QStringLiteral("chart")))
        return 1;

    ChartExportSettings settings;
    settings.path = options->chart.output;
    settings.format = *format;
    settings.size = options->size.value_or(QSize(800, 600));
    settings.dotsPerInch = options->dotsPerInch.value_or(0);
    settings.title = describe(*options);
    const FileError error = WriteChartFile(doc, options->chart.kind, settings);
    file.reset();
    if (error.isError())
        return batchWriteFailure(QStringLiteral("chart"), error);
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("chart"), kUsage,
     QStringLiteral("draw the F1-F2 or F1-F3 chart of a file as its window shows it; the "
                    "output's extension picks PNG, BMP, SVG or PDF (vector, text as text)"),
     runChart}};

} // namespace
