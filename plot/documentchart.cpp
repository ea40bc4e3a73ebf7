#include "plot/documentchart.h"

#include "plot/chartfonts.h"

DocumentChart::DocumentChart(const CTessavoxDoc &doc, ChartKind kind, QSize size)
    : m_doc(doc), m_renderer(kind), m_size(size), m_displayFont(ChartFonts::displayFont()),
      m_hitSquares(kind == ChartKind::F1F2 ? 10000 : 100)
{}

void DocumentChart::drawWindow(QPainter &painter)
{
    m_renderer.DrawPlot(painter, m_doc, PlotFrame{0, 0, m_size.width(), m_size.height()}, 1,
                        m_displayFont, m_hitSquares);
}
