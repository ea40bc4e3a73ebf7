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
#include "table/tessavoxformview.h"
#include "table/tokenplayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRubberBand>
#include <QStatusBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Only the squares of these orders answer clicks.
constexpr int kClickableOrders = 100;
// One notch of the wheel zooms by this much.
constexpr double kWheelZoom = 1.25;

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
    // Keys zoom the chart once it is clicked or its window activated.
    setFocusPolicy(Qt::StrongFocus);

    addCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    addCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    addCommand(ID_FILE_SAVE_BITMAP, [this] { OnFileSaveBitmap(); });
    addCommand(ID_FILE_EXPORT_CHART, [this] { OnFileExportChart(); });
    addCommand(
        ID_VIEW_RESET_ZOOM, [this] { OnViewResetZoom(); },
        [this](CommandState &ui) { ui.setEnabled(!m_renderer.zoom().isWhole()); });
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
    CTessavoxDoc *doc = GetDocument();
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
    QStringList facets = doc->otherTableColumns();
    if (doc->hasTable() && doc->tokens().speakerShown())
        facets.prepend(QStringLiteral("speaker"));
    ExportChartDialog dialog(*format, size(), this, facets, doc->m_analysis.facetColumn,
                             !m_renderer.zoom().isWhole());
    if (ModalDialogs::exec(dialog) != QDialog::Accepted)
        return;
    ChartExportSettings settings;
    settings.path = path;
    settings.format = *format;
    settings.size = dialog.chosenSize();
    settings.dotsPerInch = dialog.chosenDotsPerInch();
    if (dialog.zoomedViewChosen())
        settings.zoom = m_renderer.zoom();
    settings.title = windowTitle().isEmpty() ? doc->title() : windowTitle();
    WaitCursor wait;
    // Panels for this picture only: the window keeps its own choice.
    const QString shownFacet = doc->m_analysis.facetColumn;
    doc->m_analysis.facetColumn = dialog.chosenFacet();
    const FileError error = WriteChartFile(*doc, m_renderer.kind(), settings);
    doc->m_analysis.facetColumn = shownFacet;
    if (error.isError())
        Messages::show(saveFailureReport(error));
}

void PlotView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    OnDraw(painter);
    showDrawingMessages();
}

void PlotView::showDrawingMessages()
{
    // What the drawing had to say (speakers left out, outliers that cannot be marked) goes
    // to the status bar when it changes, and again when a menu's or a button's tip has
    // wiped it; a message that no longer holds goes with its cause.
    auto *main = qobject_cast<QMainWindow *>(window());
    if (!main)
        return;
    const QString said = m_renderer.lastLayout().messages.join(QStringLiteral("; "));
    QStatusBar *bar = main->statusBar();
    if (said != m_shownMessages) {
        const bool hadSaid = !m_shownMessages.isEmpty();
        m_shownMessages = said;
        if (!said.isEmpty())
            bar->showMessage(said);
        else if (hadSaid)
            bar->clearMessage();
    } else if (!said.isEmpty() && bar->currentMessage().isEmpty()) {
        bar->showMessage(said);
    }
}

bool PlotView::event(QEvent *event)
{
    if (event->type() == QEvent::Enter)
        showDrawingMessages();
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int row = tokenAt(help->pos());
        if (row >= 0)
            QToolTip::showText(help->globalPos(), tokenToolTip(row), this);
        else
            QToolTip::hideText();
        return true;
    }
    return View::event(event);
}

void PlotView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_pressAt = at;
    m_panning = event->button() == Qt::MiddleButton ||
                (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    m_panFrom = at;
    View::mousePressEvent(event);
}

void PlotView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_panning) {
        panBy(at - m_panFrom);
        m_panFrom = at;
    } else if ((event->buttons() & Qt::LeftButton) &&
               (at - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
        if (!m_rubberBand)
            m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
        m_rubberBand->setGeometry(QRect(m_pressAt, at).normalized());
        m_rubberBand->show();
    }
    View::mouseMoveEvent(event);
}

void PlotView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_panning) {
        m_panning = false;
    } else if (event->button() == Qt::LeftButton && m_rubberBand && m_rubberBand->isVisible()) {
        m_rubberBand->hide();
        selectRowsIn(QRect(m_pressAt, at).normalized(), event->modifiers() & Qt::ControlModifier);
    } else if (event->button() == Qt::LeftButton) {
        // A mixed group's square keeps its label choice; elsewhere a token leads to its row.
        if (onLabelSquare(at))
            OnLButtonUp(at);
        else if (const int row = tokenAt(at); row >= 0)
            showRowInTables(row);
    }
    View::mouseReleaseEvent(event);
}

void PlotView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int row = event->button() == Qt::LeftButton ? tokenAt(event->position().toPoint()) : -1;
    if (CTessavoxDoc *doc = GetDocument(); doc && row >= 0)
        TokenPlayer::instance().playRow(*doc, row, this);
    View::mouseDoubleClickEvent(event);
}

void PlotView::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) {
        View::wheelEvent(event);
        return;
    }
    zoomAt(event->position().toPoint(), std::pow(kWheelZoom, notches));
    event->accept();
}

void PlotView::keyPressEvent(QKeyEvent *event)
{
    const QPoint centre(width() / 2, height() / 2);
    if (event->matches(QKeySequence::ZoomIn) ||
        event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Equal))
        zoomAt(centre, kWheelZoom);
    else if (event->matches(QKeySequence::ZoomOut))
        zoomAt(centre, 1.0 / kWheelZoom);
    else
        View::keyPressEvent(event);
}

bool PlotView::onLabelSquare(const QPoint &point) const
{
    const int tested = std::min<int>(kClickableOrders, int(m_rcLabelHit.size()));
    return std::any_of(m_rcLabelHit.begin(), m_rcLabelHit.begin() + tested,
                       [&point](const QRect &square) { return square.contains(point); });
}

int PlotView::tokenAt(const QPoint &point) const
{
    return TokenHitTest::rowAt(m_renderer.tokenMarks(), point);
}

void PlotView::showRowInTables(int row)
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc || row < 0 || row >= doc->tokens().count())
        return;
    for (View *view : doc->views()) {
        if (auto *table = qobject_cast<CTessavoxFormView *>(view)) {
            CDatatbl5 &grid = table->grid();
            grid.setActiveRow(row);
            grid.scrollTo(grid.model()->index(row, grid.activeColumn()));
        }
    }
}

void PlotView::selectRowsIn(const QRect &area, bool add)
{
    CTessavoxDoc *doc = GetDocument();
    if (!doc)
        return;
    TokenTableModel &rows = doc->tokens();
    const std::vector<int> inside = TokenHitTest::rowsIn(m_renderer.tokenMarks(), area);
    for (int row = 0; row < rows.count() && !add; ++row)
        rows.setRowSelected(row, false);
    for (int row : inside) {
        if (row < rows.count())
            rows.setRowSelected(row, true);
    }
}

QString PlotView::tokenToolTip(int row) const
{
    const CTessavoxDoc *doc = GetDocument();
    if (!doc || row < 0 || row >= doc->tokens().count())
        return {};
    const TokenTableModel &rows = doc->tokens();
    QStringList lines;
    if (!rows.row(row).speaker.isEmpty())
        lines << QStringLiteral("Speaker: %1").arg(rows.row(row).speaker);
    lines << QStringLiteral("Vowel: %1").arg(rows.symbol(row));
    QStringList formants;
    for (int column : {TokenTableModel::F1, TokenTableModel::F2, TokenTableModel::F3}) {
        if (!rows.isEmpty(row, column))
            formants << QStringLiteral("%1 %2").arg(TokenTableModel::heading(column),
                                                    rows.cellText(row, column));
    }
    lines << formants.join(QStringLiteral(", ")) + QStringLiteral(" Hz");
    if (const TokenRecording recording = findTokenRecording(*doc, row, 0.0); recording.found)
        lines << QStringLiteral("%1, %2 to %3 s")
                     .arg(recording.fileName)
                     .arg(recording.start, 0, 'f', 3)
                     .arg(recording.end, 0, 'f', 3);
    return lines.join(u'\n');
}

void PlotView::zoomAt(const QPoint &at, double factor)
{
    if (width() <= 0 || height() <= 0)
        return;
    ChartZoom zoom = m_renderer.zoom();
    zoom.zoomAt(QPointF(double(at.x()) / width(), double(at.y()) / height()), factor);
    m_renderer.setZoom(zoom);
    update();
}

void PlotView::panBy(const QPoint &pixels)
{
    if (width() <= 0 || height() <= 0)
        return;
    ChartZoom zoom = m_renderer.zoom();
    zoom.pan(QPointF(double(pixels.x()) / width(), double(pixels.y()) / height()));
    m_renderer.setZoom(zoom);
    update();
}

void PlotView::OnViewResetZoom()
{
    m_renderer.setZoom(ChartZoom{});
    update();
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
