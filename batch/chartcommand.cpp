// tessavox-batch chart FILE --plot f1f2|f1f3 ...: the chart window's picture as PNG or BMP,
// or as an SVG or PDF vector drawing for papers.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"
#include "document/tessavoxdoc.h"
#include "plot/chartexport.h"

#include <QFileInfo>

#include <memory>
#include <optional>

namespace {

const QString kUsage =
    QStringLiteral(
        "chart FILE --plot f1f2|f1f3 [--size WxH] [--no-ellipse] [--f1max N] [--f2max N] "
        "[--f3max N] [--label ORDER=TEXT]... ") +
    chartAnalysisUsage() + QStringLiteral(" -o OUT.png|OUT.bmp|OUT.svg|OUT.pdf");

constexpr int kMaxSide = 8192;

struct ChartOptions
{
    ChartArguments chart;
    int width = 800;
    int height = 600;
    std::optional<int> f1Max;
    std::optional<int> f2Max;
    std::optional<int> f3Max;
};

// Range bounds are accepted as the options dialog accepts them.
std::optional<int> parseBound(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > 10000)
        return std::nullopt;
    return value;
}

std::optional<ChartOptions> parseArgs(const QStringList &args)
{
    ChartOptions options;
    const auto commandOption = [&options](const QString &option, const QString &value) {
        if (option == "--size") {
            const QStringList parts = value.split('x');
            bool okW = false;
            bool okH = false;
            if (parts.size() != 2)
                return false;
            options.width = parts[0].toInt(&okW);
            options.height = parts[1].toInt(&okH);
            return okW && okH && options.width >= 1 && options.height >= 1 &&
                   options.width <= kMaxSide && options.height <= kMaxSide;
        }
        if (option == "--f1max" || option == "--f2max" || option == "--f3max") {
            const std::optional<int> bound = parseBound(value);
            (option == "--f1max"   ? options.f1Max
             : option == "--f2max" ? options.f2Max
                                   : options.f3Max) = bound;
            return bound.has_value();
        }
        return false;
    };
    std::optional<ChartArguments> chart =
        parseChartArguments(args, ChartChoices::Taken, commandOption);
    if (!chart)
        return std::nullopt;
    options.chart = *chart;
    return options;
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
    std::optional<ChartOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);
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
    settings.size = QSize(options->width, options->height);
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
