#include "plot/plotview.h"

#include "document/cellsource.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/commandids.h"
#include "framework/filedialogs.h"
#include "framework/fileerror.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"
#include "framework/printinfo.h"
#include "framework/waitcursor.h"
#include "plot/bitmapexport.h"
#include "plot/chartexport.h"
#include "plot/chartfonts.h"
#include "plot/exportchartdialog.h"
#include "plot/labelselectordlg.h"
#include "plot/printpage.h"
#include "table/analysisoptionsdialog.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

// Only the squares of these orders answer clicks.
constexpr int kClickableOrders = 100;

} // namespace

PlotView::PlotView(ChartKind kind, std::size_t labelHitCount, QWidget *parent)
    : View(parent), m_pDisplayFont(std::make_unique<QFont>(ChartFonts::displayFont())),
      m_renderer(kind), m_rcLabelHit(labelHitCount)
{
    // The window is cleared to white before every paint; the chart never clears.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    addCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    addCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    addCommand(ID_FILE_SAVE_BITMAP, [this] { OnFileSaveBitmap(); });
    addCommand(ID_FILE_EXPORT_CHART, [this] { OnFileExportChart(); });
    // The analysis options belong to the document: a chart window changes them for all.
    addCommand(ID_OPTIONS_ANALYSIS, [this] {
        if (CTessavoxDoc *doc = GetDocument())
            AnalysisOptionsDialog::editOptions(*doc, this);
    });
}

PlotView::~PlotView() = default;

CTessavoxDoc *PlotView::GetDocument() const
{
    return qobject_cast<CTessavoxDoc *>(document());
}

void PlotView::OnInitialUpdate()
{
    View::OnInitialUpdate();
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    // The chart reads the rows at every paint, so a repaint is all an edit needs; update()
    // folds a burst of changes into one paint.
    const TokenTableModel *rows = &doc->tokens();
    const auto repaint = [this] { update(); };
    connect(rows, &QAbstractItemModel::modelReset, this, repaint);
    connect(rows, &QAbstractItemModel::layoutChanged, this, repaint);
    connect(rows, &QAbstractItemModel::dataChanged, this, repaint);
    connect(rows, &QAbstractItemModel::rowsInserted, this, repaint);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, repaint);
}

void PlotView::OnDraw(QPainter &painter)
{
    DrawPlot(painter, 1);
}

void PlotView::DrawPlot(QPainter &painter, int zoom)
{
    const CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const PlotFrame client{0, 0, width(), height()};
    m_renderer.DrawPlot(painter, *doc, client, zoom, *m_pDisplayFont, m_rcLabelHit);
}

void PlotView::DrawPlotToDC(QPainter &painter, const PlotFrame &frame, int unit, int zoom)
{
    if (const CTessavoxDoc *doc = GetDocument())
        m_renderer.DrawPlotToDC(painter, *doc, frame, unit, zoom);
}

void PlotView::OnPrint(QPainter &painter, PrintInfo &info)
{
    if (const CTessavoxDoc *doc = GetDocument())
        PrintChartPage(painter, info.m_rectDraw, m_renderer, *doc, doc->title());
}

void PlotView::OnFileSaveBitmap()
{
    const QString path = GetBitmapFileName(QStringLiteral("BitMapFile "));
    if (path.isEmpty()) {
        Messages::show(QStringLiteral("Error in getting the bitmap file name"));
        return;
    }
    WaitCursor wait;
    if (SaveChartBitmap(*this, path, ScreenRasterFor(*this)) != 0)
        Messages::show(QStringLiteral("Error in saving the bitmap file"));
}

void PlotView::OnFileExportChart()
{
    const CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Export Chart");
    request.filterName = QStringLiteral("Charts (*.png *.svg *.pdf)");
    request.patterns = {QStringLiteral("*.png"), QStringLiteral("*.svg"), QStringLiteral("*.pdf")};
    request.defaultSuffix = QStringLiteral("png");
    request.initialPath = QFileInfo(doc->pathName()).completeBaseName() + QStringLiteral(".png");
    const QString path = FileDialogs::ask(request);
    if (path.isEmpty())
        return;
    const std::optional<ChartFileFormat> format = chartFileFormatOf(path);
    if (!format || *format == ChartFileFormat::Bmp) {
        Messages::show(QStringLiteral("Cannot tell the format of %1 from its extension; use "
                                      ".png, .svg or .pdf.")
                           .arg(path));
        return;
    }
    ExportChartDialog dialog(*format, size(), this);
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return;
    ChartExportSettings settings;
    settings.path = path;
    settings.format = *format;
    settings.size = dialog.chosenSize();
    settings.dotsPerInch = dialog.chosenDotsPerInch();
    settings.title = windowTitle().isEmpty() ? doc->title() : windowTitle();
    WaitCursor wait;
    if (const FileError error = WriteChartFile(*doc, m_renderer.kind(), settings); error.isError())
        Messages::show(saveFailureReport(error));
}

void PlotView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    OnDraw(painter);
}

void PlotView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(event->position().toPoint());
    View::mouseReleaseEvent(event);
}

void PlotView::OnLButtonUp(const QPoint &point)
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    const std::span<const QRect> hits = labelHits();
    const int tested = std::min<int>(kClickableOrders, int(hits.size()));
    for (int order = 0; order < tested; ++order) {
        if (!hits[std::size_t(order)].contains(point))
            continue;
        if (!doc->hasTable())
            return;
        const TokenTableModel &cells = doc->tokens();
        CLabelSelectorDlg dialog;
        for (int row = 0; row < doc->m_nTokenCount; ++row) {
            if (cells.GetCellInt(row, TokenTableModel::Order) == order)
                dialog.addLabel(cells.GetCellText(row, TokenTableModel::Symbol));
        }
        dialog.OnInitDialog();
        if (ModalDialogs::exec(dialog) == QDialog::Accepted) {
            doc->chooseOrderLabel(order, dialog.m_nSelLabel, dialog.m_strSelLabel);
            doc->UpdateAllViews(nullptr);
        }
        return;
    }
}
