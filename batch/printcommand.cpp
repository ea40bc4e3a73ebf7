// tessavox-batch print FILE --plot f1f2|f1f3 ...: the chart's printed page as a PDF file.

#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "plot/openeddocument.h"

#include "document/tessavoxdoc.h"
#include "framework/printinfo.h"
#include "framework/printjob.h"
#include "plot/plotview.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryFile>

#include <filesystem>
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

int runPrint(const QStringList &args)
{
    const std::optional<PrintOptions> options = parseArgs(args);
    if (!options)
        return batchUsageError(kUsage);

    const std::unique_ptr<OpenedDocument> file =
        openChartInput(options->chart, QStringLiteral("print"));
    if (!file)
        return 1;
    PlotView &chart = file->addChart(options->chart.kind);

    // The page goes to a temporary file beside the target and is renamed into place, so a
    // failure never leaves a partial file or harms an existing one.
    const QFileInfo target(options->chart.output);
    QTemporaryFile pending(
        target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.pdf").arg(target.fileName())));
    if (!pending.open())
        return cannotWrite(options->chart.output, pending.errorString());
    // Readable as any new file would be, not private as a temporary file is.
    pending.setPermissions(target.exists() ? target.permissions()
                                           : QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::ReadOther);
    pending.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pending.fileName());
    printer.setPageSize(QPageSize(options->page));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(file->doc().title());

    PrintInfo info;
    info.printer = &printer;
    if (!chart.OnPreparePrinting(info))
        return 1;
    PrintJob::printPages(chart, printer, info);
    if (QFileInfo(pending.fileName()).size() == 0)
        return cannotWrite(options->chart.output, QStringLiteral("the page could not be printed"));

    std::error_code error;
    std::filesystem::rename(QFile::encodeName(pending.fileName()).constData(),
                            QFile::encodeName(options->chart.output).constData(), error);
    if (error)
        return cannotWrite(options->chart.output, QString::fromStdString(error.message()));
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("print"), kUsage,
     QStringLiteral("print the F1-F2 or F1-F3 chart of a file to a PDF file as File > Print does"),
     runPrint}};

} // namespace
