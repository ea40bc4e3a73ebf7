#pragma once

#include "plot/chartrenderer.h"

#include <QFont>
#include <QRect>
#include <QSize>

#include <vector>

class CTessavoxDoc;
class QPainter;

// A chart of a document as its window of `size` draws it, and as it goes to a device,
// without the window. Does not own the document.
class DocumentChart
{
public:
    DocumentChart(const CTessavoxDoc &doc, ChartKind kind, QSize size = {800, 600});

    QSize size() const { return m_size; }
    QRect rect() const { return QRect(QPoint(0, 0), m_size); }
    ChartRenderer &renderer() { return m_renderer; }
    const CTessavoxDoc &doc() const { return m_doc; }

    // The window's picture: the client area as frame, captions in the display font.
    void drawWindow(QPainter &painter);

private:
    const CTessavoxDoc &m_doc;
    ChartRenderer m_renderer;
    QSize m_size;
    QFont m_displayFont;
    std::vector<QRect> m_hitSquares; // as many as the chart window keeps
};
