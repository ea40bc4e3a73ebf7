#pragma once

#include "plot/charttext.h"
#include "plot/plotgeometry.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <span>

class CellSource;
class CTessavoxDoc;
class QPainter;

// Which formant runs along the horizontal axis.
enum class ChartKind { F1F2, F1F3 };

// Draws a vowel chart of a document's table onto any painter: the window, the printed
// page and the bitmap all go through here. It reads the table's cells at every call and
// keeps no copy of them; what it keeps between calls is only the laid-out text shapes.
//
// Screen and device output differ only where the chart window has to: the window draws
// captions in the view's display font and records the click squares of mixed groups;
// device output (print, bitmap) scales fixed sizes by its unit and records nothing.
class ChartRenderer
{
public:
    explicit ChartRenderer(ChartKind kind);

    ChartKind kind() const { return m_kind; }
    // Table column of the horizontal formant.
    int horizontalColumn() const;
    // Caption of the horizontal axis: "F2" or "F3".
    QString horizontalCaption() const;

    // The chart window: `frame` is the client area, the unit is 1. Mixed groups write
    // their click square into `hitSquares` at their order number; orders outside the
    // span write nothing.
    void DrawPlot(QPainter &painter, const CTessavoxDoc &doc, const PlotFrame &frame, int zoom,
                  const QFont &displayFont, std::span<QRect> hitSquares);
    // Print, preview and bitmap: `unit` device units stand for one pixel of the chart's
    // fixed sizes (tick lengths, marks, fonts).
    void DrawPlotToDC(QPainter &painter, const CTessavoxDoc &doc, const PlotFrame &frame, int unit,
                      int zoom);

    // Line box of `text` in the painter's current font.
    static QSize GetTextSize(QPainter &painter, const QString &text);

    ChartRenderer(const ChartRenderer &) = delete;
    ChartRenderer &operator=(const ChartRenderer &) = delete;

private:
    struct Pass;

    void draw(QPainter &painter, const CTessavoxDoc &doc, Pass &pass);
    void drawAxes(QPainter &painter, const Pass &pass);
    void drawTokens(QPainter &painter, const Pass &pass);
    void drawGroups(QPainter &painter, const Pass &pass);
    void drawGroupLabel(QPainter &painter, const Pass &pass, int order, bool sameLabel,
                        const QString &firstLabel, int xc, int yc);
    bool transparentText(const Pass &pass) const;

    ChartKind m_kind;
    ChartText m_axisText;
    ChartText m_tokenText;
    ChartText m_groupText;
};
