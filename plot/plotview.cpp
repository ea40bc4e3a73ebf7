#include "plotview.h"

#include "cellsource.h"
#include "chartfonts.h"
#include "labelselectordlg.h"
#include "tessavoxdoc.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <exception>

namespace {

constexpr int kColSymbol = 3;
constexpr int kColOrder = 4;
// Only the squares of these orders answer clicks.
constexpr int kClickableOrders = 100;

} // namespace

PlotView::PlotView(ChartKind kind, QWidget *parent)
    : View(parent), m_pDisplayFont(std::make_unique<QFont>(
                        ChartFonts::logicalFont(QStringLiteral("DisplayFont"), 16, 7))),
      m_renderer(kind)
{
    // The window is cleared to white before every paint; the chart never clears.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
}

PlotView::~PlotView() = default;

CTessavoxDoc *PlotView::GetDocument() const
{
    return qobject_cast<CTessavoxDoc *>(document());
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
    m_renderer.DrawPlot(painter, *doc, client, zoom, *m_pDisplayFont, writableLabelHits());
}

void PlotView::DrawPlotToDC(QPainter &painter, const PlotFrame &frame, int unit, int zoom)
{
    if (const CTessavoxDoc *doc = GetDocument())
        m_renderer.DrawPlotToDC(painter, *doc, frame, unit, zoom);
}

void PlotView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    try {
        OnDraw(painter);
    } catch (const std::exception &) {
        // A table that fails to answer ends this paint where it stands; the next paint
        // reads it afresh.
    }
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
        const CellSource *cells = doc->tableView();
        if (!cells)
            return;
        CLabelSelectorDlg dialog;
        try {
            for (int row = 0; row < doc->m_nTokenCount; ++row) {
                if (cells->GetCellInt(row, kColOrder) == order)
                    dialog.addLabel(cells->GetCellText(row, kColSymbol));
            }
        } catch (const std::exception &) {
            return; // the table did not answer: nothing to choose from, nothing stored
        }
        if (dialog.DoModal() == QDialog::Accepted) {
            doc->m_nOrderLabel[std::size_t(order)] = dialog.m_nSelLabel;
            doc->m_strOrderLabel[std::size_t(order)] = dialog.m_strSelLabel;
            doc->UpdateAllViews(nullptr);
        }
        return;
    }
}
