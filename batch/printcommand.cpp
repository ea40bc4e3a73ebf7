// tessavox-batch print FILE --plot f1f2|f1f3 ...: the chart's printed page as a PDF file.

#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "plot/chartrenderer.h"
#include "plot/printpage.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <optional>

namespace {

const QString kUsage = QStringLiteral("print FILE --plot f1f2|f1f3 [--page a4|letter] ") +
                       chartAnalysisUsage() + QStringLiteral(" -o OUT.pdf");

struct PrintOptions
{
    ChartArguments chart;
    QPageSize::PageSizeId page = QPageSize::A4;
};

std::optional<PrintOptions> parseArgs(const QStringList &args)
{
    PrintOptions options;
    const auto commandOption = [&options](const QString &option, const QString &value) {
        if (option != "--page")
            return false;
        if (value == "a4")
            options.page = QPageSize::A4;
        else if (value == "letter")
            options.page = QPageSize::Letter;
        else
            return false;
        return true;
    };
    // A printed page shows the chart as it stands: no choices of its own.
    std::optional<ChartArguments> chart =
        parseChartArguments(args, ChartChoices::Refused, commandOption);
    if (!chart)
        return std::nullopt;
    options.chart = *chart;
    return options;
}

int cannotWrite(const QString &path, const QString &why)
{
    batchErr() << "tessavox-batch print: cannot write " << path << ": " << why << Qt::endl;
    return 1;
}

// The page File > Print makes on a PDF printer at high resolution: 1200 dots per inch,
// 10-point margins, the painter's origin at the printable area's corner.
std::optional<QString> writePage(const PrintOptions &options, CTessavoxDoc &doc)
{
    QSaveFile file(options.chart.output);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QPdfWriter pdf(&file);
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(QPageSize(options.page), QPageLayout::Portrait,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Point));
    pdf.setTitle(doc.title());
    QPainter painter;
    if (!painter.begin(&pdf))
        return QStringLiteral("the page could not be printed");
    const QRect printable = pdf.pageLayout().paintRectPixels(pdf.resolution());
    ChartRenderer chart(options.chart.kind);
    PrintChartPage(painter, QRect(QPoint(0, 0), printable.size()), chart, doc, doc.title());
    painter.end();
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

int runPrint(const QStringList &args)
{
    const std::optional<PrintOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);

    const std::unique_ptr<OpenedDocument> file =
        openChartInput(options->chart, QStringLiteral("print"));
    if (!file)
        return 1;
    // The page goes through a temporary file that replaces the target once complete, so a
    // failure never leaves a partial file or harms an existing one.
    if (const std::optional<QString> failure = writePage(*options, file->doc()))
        return cannotWrite(options->chart.output, *failure);
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("print"), kUsage,
     QStringLiteral("print the F1-F2 or F1-F3 chart of a file to a PDF file as File > Print does"),
     runPrint}};

} // namespace
