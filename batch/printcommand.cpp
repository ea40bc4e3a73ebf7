// tessavox-batch print FILE --plot f1f2|f1f3|table ...: the printed pages of a chart or of
// the data table as a PDF file.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"

#include "document/tessavoxdoc.h"
#include "framework/safefile.h"
#include "plot/chartrenderer.h"
#include "plot/printpage.h"
#include "table/tableprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <optional>

namespace {

const QString kUsage = QStringLiteral("print FILE --plot f1f2|f1f3|table [--page a4|letter] ") +
                       chartAnalysisUsage() + QStringLiteral(" -o OUT.pdf");

struct PrintOptions
{
    ChartArguments chart;
    std::optional<QPageSize::PageSizeId> page;
};

std::optional<QPageSize::PageSizeId> parsePage(const QString &text)
{
    if (text == QLatin1String("a4"))
        return QPageSize::A4;
    if (text == QLatin1String("letter"))
        return QPageSize::Letter;
    return std::nullopt;
}

// The pages File > Print makes on a PDF printer at high resolution: 1200 dots per inch,
// 10-point margins, the painter's origin at the printable area's corner.
FileError writePages(const PrintOptions &options, CTessavoxDoc &doc)
{
    return WriteFileSafely(options.chart.output, [&](QIODevice &device) {
        QPdfWriter pdf(&device);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(options.page.value_or(QPageSize::A4)),
                                      QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Point));
        pdf.setTitle(doc.title());
        QPainter painter;
        if (!painter.begin(&pdf))
            return false;
        if (options.chart.table) {
            PrintTokenTable(painter, doc.tokens(), doc.title());
        } else {
            const QRect printable = pdf.pageLayout().paintRectPixels(pdf.resolution());
            ChartRenderer chart(options.chart.kind);
            PrintChartPage(painter, QRect(QPoint(0, 0), printable.size()), chart, doc, doc.title());
        }
        return painter.end();
    });
}

int runPrint(const QStringList &args)
{
    const auto options = std::make_unique<PrintOptions>();
    CommandLine line;
    // A printed page shows the chart as it stands: no choices of its own.
    declareChartArguments(line, options->chart, ChartChoices::Refused, TablePlot::Taken);
    line.value<QPageSize::PageSizeId>("--page", options->page, parsePage);
    QString why;
    if (!line.parse(args) || !checkChartArguments(line, options->chart, why))
        return batchUsageError(kUsage, why.isEmpty() ? line.error() : why);

    const std::unique_ptr<BatchInput> file =
        openChartInput(options->chart, QStringLiteral("print"));
    if (!file)
        return 1;
    // A failure never leaves a partial file or harms an existing one.
    if (const FileError error = writePages(*options, file->doc()); error.isError())
        return batchWriteFailure(QStringLiteral("print"), error);
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("print"), kUsage,
     QStringLiteral("print the F1-F2 or F1-F3 chart or the table of a file to a PDF file as "
                    "File > Print does in their windows"),
     runPrint}};

} // namespace
