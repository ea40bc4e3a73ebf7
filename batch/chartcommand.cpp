// tessavox-batch chart FILE --plot f1f2|f1f3 ...: the chart window's picture as PNG or BMP,
// or as an SVG or PDF vector drawing for papers.

#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "framework/stringtable.h"
#include "plot/bitmapfile.h"
#include "plot/pngfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontInfo>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

#include <memory>
#include <optional>

namespace {

const QString kUsage =
    QStringLiteral(
        "chart FILE --plot f1f2|f1f3 [--size WxH] [--no-ellipse] [--f1max N] [--f2max N] "
        "[--f3max N] [--label ORDER=TEXT]... ") +
    chartAnalysisUsage() + QStringLiteral(" -o OUT.png|OUT.bmp|OUT.svg|OUT.pdf");

constexpr int kMaxSide = 8192;

enum class OutputFormat { Png, Bmp, Svg, Pdf };

struct ChartOptions
{
    ChartArguments chart;
    OutputFormat format = OutputFormat::Png;
    int width = 800;
    int height = 600;
    std::optional<int> f1Max;
    std::optional<int> f2Max;
    std::optional<int> f3Max;
};

std::optional<OutputFormat> formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png")
        return OutputFormat::Png;
    if (suffix == "bmp")
        return OutputFormat::Bmp;
    if (suffix == "svg")
        return OutputFormat::Svg;
    if (suffix == "pdf")
        return OutputFormat::Pdf;
    return std::nullopt;
}

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

// The window's picture: a chart window is cleared to white before it paints.
QImage rasterChart(DocumentChart &chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.drawWindow(painter);
    return image;
}

// Vector output paints the same window picture onto a page of the window's size, one
// unit a pixel, so text stays text and lines stay lines at any magnification.
void paintVector(QPaintDevice &device, DocumentChart &chart)
{
    QPainter painter(&device);
    painter.fillRect(chart.rect(), Qt::white);
    chart.drawWindow(painter);
}

// The generator names each font as the chart asked for it ("DisplayFont", "Sans Serif"),
// which other programs do not know and would replace with their default serif face. Name
// the installed family that drew the text instead, so the drawing reads as on screen.
QByteArray withInstalledFamilies(const QByteArray &svg)
{
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\"]*)\""));
    const QString text = QString::fromUtf8(svg);
    QHash<QString, QString> installed;
    QString result;
    result.reserve(text.size());
    qsizetype done = 0;
    for (const QRegularExpressionMatch &m : family.globalMatch(text)) {
        const QString asked = m.captured(1);
        auto it = installed.find(asked);
        if (it == installed.end())
            it = installed.insert(asked, QFontInfo(QFont(asked)).family().toHtmlEscaped());
        result += QStringView(text).mid(done, m.capturedStart(1) - done);
        result += *it;
        done = m.capturedEnd(1);
    }
    result += QStringView(text).mid(done);
    return result.toUtf8();
}

QString describe(const ChartOptions &options)
{
    return QStringLiteral("%1 - %2").arg(QFileInfo(options.chart.input).fileName(),
                                         options.chart.kind == ChartKind::F1F2
                                             ? QStringLiteral("F1 vs F2")
                                             : QStringLiteral("F1 vs F3"));
}

// Writes the chart in the format of the output's extension; returns the reason on failure.
// Everything but BMP (which has its own safe writer) goes through a temporary file that is
// renamed into place, so a failure leaves no partial file and keeps an existing one.
std::optional<QString> writeChart(const ChartOptions &options, DocumentChart &chart)
{
    if (options.format == OutputFormat::Bmp) {
        const int status = WriteBitmapFile(rasterChart(chart), options.chart.output);
        if (status != 0)
            return LoadString(status);
        return std::nullopt;
    }

    QSaveFile file(options.chart.output);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    switch (options.format) {
    case OutputFormat::Png:
        if (!WritePngImage(rasterChart(chart), &file))
            return file.errorString();
        break;
    case OutputFormat::Svg: {
        QBuffer buffer;
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(chart.size());
        svg.setViewBox(chart.rect());
        svg.setTitle(describe(options));
        svg.setDescription(QStringLiteral("Vowel chart drawn by Tessavox"));
        paintVector(svg, chart);
        if (file.write(withInstalledFamilies(buffer.data())) < 0)
            return file.errorString();
        break;
    }
    case OutputFormat::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(72);
        pdf.setPageLayout(QPageLayout(
            QPageSize(QSizeF(chart.size()), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(describe(options));
        pdf.setCreator(QStringLiteral("Tessavox"));
        paintVector(pdf, chart);
        break;
    }
    case OutputFormat::Bmp:
        break;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

int runChart(const QStringList &args)
{
    std::optional<ChartOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);
    const std::optional<OutputFormat> format = formatOf(options->chart.output);
    if (!format) {
        batchErr() << "tessavox-batch chart: cannot tell the format of " << options->chart.output
                   << " from its extension; use .png, .bmp, .svg or .pdf" << Qt::endl;
        return 2;
    }
    options->format = *format;

    std::unique_ptr<OpenedDocument> file = openChartInput(options->chart, QStringLiteral("chart"));
    if (!file)
        return 1;
    CTessavoxDoc &doc = file->doc();
    doc.m_nF1Max = options->f1Max.value_or(doc.m_nF1Max);
    doc.m_nF2Max = options->f2Max.value_or(doc.m_nF2Max);
    doc.m_nF3Max = options->f3Max.value_or(doc.m_nF3Max);
    if (!applyChartChoices(*file, options->chart, QStringLiteral("chart")))
        return 1;

    DocumentChart chart(doc, options->chart.kind, QSize(options->width, options->height));
    const std::optional<QString> failure = writeChart(*options, chart);
    file.reset();
    if (failure) {
        batchErr() << "tessavox-batch chart: cannot write " << options->chart.output << ": "
                   << *failure << Qt::endl;
        return 1;
    }
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("chart"), kUsage,
     QStringLiteral("draw the F1-F2 or F1-F3 chart of a file as its window shows it; the "
                    "output's extension picks PNG, BMP, SVG or PDF (vector, text as text)"),
     runChart}};

} // namespace
