#pragma once

#include "plot/chartlayout.h"
#include "plot/charttext.h"
#include "plot/chartzoom.h"
#include "plot/plotgeometry.h"
#include "plot/tokenhittest.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

class CellSource;
class CTessavoxDoc;
class QPainter;

// Which formant runs along the horizontal axis.
enum class ChartKind { F1F2, F1F3 };

// Where the last drawing with analysis options put things, for the tests of its layout
// and for messages (speakers that could not be normalised).
struct ChartLayoutRecord
{
    QRect plotArea;
    ScaleMapping mapping;
    std::vector<QRect> horizontalTickLabels;
    std::vector<QRect> f1TickLabels;
    std::vector<QRect> groupLabels; // one per drawn mean, in group order
    std::vector<QPoint> means;
    std::vector<QRect> outlierRings; // one per ringed token, in row order
    QStringList messages;
    std::vector<QRect> panels;             // each panel's plot area; one without facets
    std::vector<QRect> panelTitles;        // per panel with facets, its value's name
    std::vector<QRect> horizontalCaptions; // per panel, the horizontal axis's caption
    QRect legend;                          // null without a legend
    bool tokenDots = false;                // tokens drawn as dots rather than labels
};

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
    // Whether the row's token has both formants of the chart; an empty cell is none.
    bool hasPosition(const CellSource &cells, int row) const;
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

    // The box that the F1 axis's ticks, tick labels and caption cover when DrawPlotToDC
    // draws with this frame, unit and zoom: the print layout keeps it on the page.
    static QRect DeviceF1AxisExtent(const CTessavoxDoc &doc, const PlotFrame &frame, int unit,
                                    int zoom);

    // Line box of `text` in the painter's current font.
    static QSize GetTextSize(QPainter &painter, const QString &text);

    // Filled by every drawing with analysis options; empty after a classic drawing.
    const ChartLayoutRecord &lastLayout() const { return m_layout; }
    // The part of the chart every later drawing shows, window and device alike; the whole
    // chart unless set.
    void setZoom(const ChartZoom &zoom) { m_zoom = zoom; }
    const ChartZoom &zoom() const { return m_zoom; }
    // Where the last drawing in the window put each token it drew, for clicks, drags and
    // tooltips; device output records none.
    const std::vector<TokenMark> &tokenMarks() const { return m_tokenMarks; }

    ChartRenderer(const ChartRenderer &) = delete;
    ChartRenderer &operator=(const ChartRenderer &) = delete;

private:
    struct Pass;
    class AnalysisDrawing;

    void draw(QPainter &painter, const CTessavoxDoc &doc, Pass &pass);
    void drawAxes(QPainter &painter, const Pass &pass);
    void drawTokens(QPainter &painter, const Pass &pass);
    void drawGroups(QPainter &painter, const Pass &pass);
    void drawGroupLabel(QPainter &painter, const Pass &pass, int order, bool sameLabel,
                        const QString &firstLabel, int xc, int yc);
    bool transparentText(const Pass &pass) const;
    // Whether a zoomed classic chart leaves out a tick at `x` or `y`: past the axes.
    bool outsideZoomedAxes(const Pass &pass, int x, int y) const;
    // In the window only: records where the token of `row` went, and highlights it first
    // when its row is selected in the table.
    void markToken(QPainter &painter, const Pass &pass, int row, const QRect &box);
    // Whether markToken() draws a highlight behind the token of `row`.
    bool highlights(const Pass &pass, int row) const;
    // The classic chart's geometry in `frame`, moved and scaled by the zoom.
    PlotGeometry zoomedGeometry(const PlotFrame &frame, const Pass &pass) const;
    // The chart with analysis options (chartanalysisdrawing.cpp).
    void drawAnalysis(QPainter &painter, Pass &pass);
    // A ring about each token that is an outlier at the options' level, the tokens at
    // `points` (device units, per row).
    void drawOutlierRings(QPainter &painter, const Pass &pass, std::span<const QPointF> points);

    ChartKind m_kind;
    ChartText m_axisText;
    ChartText m_tokenText;
    ChartText m_groupText;
    ChartLayoutRecord m_layout;
    std::vector<TokenMark> m_tokenMarks;
    ChartZoom m_zoom;
};
