#include "framework/printjob.h"

#include "framework/modaldialogs.h"
#include "framework/printinfo.h"
#include "framework/view.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Printer");
// A view that asks for more pages than this is mistaken; stop rather than print forever.
constexpr int kMaxPages = 9999;

QRect drawArea(const QPrinter &printer)
{
    // The painter's origin is the printable area's corner, so the area starts at 0,0.
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    return QRect(QPoint(0, 0), printable.size());
}

} // namespace

void PrintJob::loadSettings(QPrinter &printer)
{
    QSettings settings;
    settings.beginGroup(kSection);
    const QString name = settings.value(QStringLiteral("PrinterName")).toString();
    if (!name.isEmpty())
        printer.setPrinterName(name);
    bool known = false;
    const int id = settings.value(QStringLiteral("PageSize")).toInt(&known);
    // Any size Qt names is a size the user chose; Custom alone carries no dimensions here.
    if (known && id >= 0 && id <= QPageSize::LastPageSize && id != QPageSize::Custom)
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(id)));
    if (settings.contains(QStringLiteral("Orientation"))) {
        const bool landscape =
            settings.value(QStringLiteral("Orientation")).toString() == QStringLiteral("Landscape");
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
}

void PrintJob::saveSettings(const QPrinter &printer)
{
    QSettings settings;
    settings.beginGroup(kSection);
    // A PDF file is a one-off choice, not a printer to come back to.
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty())
        settings.setValue(QStringLiteral("PrinterName"), printer.printerName());
    settings.setValue(QStringLiteral("PageSize"), int(printer.pageLayout().pageSize().id()));
    settings.setValue(QStringLiteral("Orientation"),
                      printer.pageLayout().orientation() == QPageLayout::Landscape
                          ? QStringLiteral("Landscape")
                          : QStringLiteral("Portrait"));
}

void PrintJob::printPages(View &view, QPrinter &printer, PrintInfo &info)
{
    info.printer = &printer;
    info.m_rectDraw = drawArea(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    view.OnBeginPrinting(painter, info);
    // The view may settle its page count in OnBeginPrinting.
    const int last = qMin(info.maxPage, info.minPage + kMaxPages - 1);
    for (int page = info.minPage; page <= last; ++page) {
        if (page > info.minPage && !printer.newPage())
            break;
        info.currentPage = page;
        info.m_rectDraw = drawArea(printer);
        painter.save();
        view.OnPrint(painter, info);
        painter.restore();
    }
    view.OnEndPrinting(painter, info);
    painter.end();
}

bool PrintJob::print(View &view)
{
    QPrinter printer(QPrinter::HighResolution);
    loadSettings(printer);
    PrintInfo info;
    info.printer = &printer;
    if (!view.OnPreparePrinting(info))
        return false;

    QPrintDialog dialog(&printer, view.window());
    dialog.setMinMax(info.minPage, qMax(info.minPage, info.maxPage));
    printer.setFromTo(info.minPage, qMax(info.minPage, info.maxPage));
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return false;
    saveSettings(printer);

    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        info.minPage = qMax(info.minPage, printer.fromPage());
        info.maxPage = qMin(info.maxPage, printer.toPage());
    }
    if (info.minPage > info.maxPage)
        return false;
    printPages(view, printer, info);
    return true;
}

void PrintJob::preview(View &view)
{
    QPrinter printer(QPrinter::HighResolution);
    loadSettings(printer);
    PrintInfo prepared;
    prepared.printer = &printer;
    prepared.preview = true;
    if (!view.OnPreparePrinting(prepared))
        return;

    QPrintPreviewDialog dialog(&printer, view.window());
    dialog.setWindowTitle(view.window()->windowTitle());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &view,
                     [&view, prepared](QPrinter *target) {
                         PrintInfo info = prepared;
                         printPages(view, *target, info);
                     });
    ModalDialogs::exec(dialog);
    saveSettings(printer);
}

bool PrintJob::setup()
{
    QPrinter printer(QPrinter::HighResolution);
    loadSettings(printer);
    QPageSetupDialog dialog(&printer);
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return false;
    saveSettings(printer);
    return true;
}
