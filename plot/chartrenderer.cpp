#include "plot/chartrenderer.h"
#include "plot/chartpass.h"

#include "document/cellsource.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/printinfo.h"
#include "plot/barkscale.h"
#include "plot/chartfonts.h"
#include "plot/groupmoments.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

// Groups smaller than this get no disc, label or ellipse.
constexpr int kMinGroupSize = 3;
// Half the side of a mixed group's click square.
constexpr int kHitHalf = 30;

// Restores the caller's painter state however the drawing ends.
class PainterStateGuard
{
public:
    explicit PainterStateGuard(QPainter &painter) : m_painter(painter) { m_painter.save(); }
    ~PainterStateGuard() { m_painter.restore(); }
    PainterStateGuard(const PainterStateGuard &) = delete;
    PainterStateGuard &operator=(const PainterStateGuard &) = delete;

private:
    QPainter &m_painter;
};

// The state of a newly made device: black one-unit pen, white brush, black text on an
// opaque white background, the device's default font, no smoothing.
void resetToFreshDevice(QPainter &painter)
{
    // Square caps make a one-unit line cover both its end pixels; strokeOpen() then
    // leaves out the last one as a device's line-to does.
    QPen pen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::white);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    painter.setFont(ChartFonts::deviceDefaultFont(painter.device()));
}

void setTextColour(QPainter &painter, const QColor &colour)
{
    QPen pen = painter.pen();
    pen.setColor(colour);
    painter.setPen(pen);
}

// A pen stroke through `points` that, like a device's move-to/line-to, leaves out the
// very last pixel: a tick drawn 5 units long covers 5 pixels, not 6.
void strokeOpen(QPainter &painter, std::initializer_list<QPoint> points)
{
    std::array<QPoint, 4> p{};
    int n = 0;
    for (const QPoint &point : points)
        p[std::size_t(n++)] = point;
    if (n < 2)
        return;
    QPoint &end = p[std::size_t(n - 1)];
    const QPoint from = p[std::size_t(n - 2)];
    const int dx = end.x() - from.x();
    const int dy = end.y() - from.y();
    if (dx == 0 && dy == 0) {
        --n;
    } else if (std::abs(dx) >= std::abs(dy)) {
        const int x = end.x() - (dx > 0 ? 1 : -1);
        end = QPoint(x, from.y() + int(std::lround(double(dy) * (x - from.x()) / dx)));
    } else {
        const int y = end.y() - (dy > 0 ? 1 : -1);
        end = QPoint(from.x() + int(std::lround(double(dx) * (y - from.y()) / dy)), y);
    }
    if (n >= 2)
        painter.drawPolyline(p.data(), n);
}

// HzToBark of a cell value. Table cells hold 0 to kMaxFormant Hz, so each value is worked
// out once and then looked up: a chart of thousands of tokens maps every token at each paint.
double barkOf(int hz)
{
    constexpr int kLargest = kMaxFormant;
    static std::vector<double> known(kLargest + 1, std::numeric_limits<double>::quiet_NaN());
    if (hz < 0 || hz > kLargest)
        return HzToBark(hz);
    double &bark = known[std::size_t(hz)];
    if (std::isnan(bark))
        bark = HzToBark(hz);
    return bark;
}

// A device ellipse with bounding edges left, top, right, bottom (right and bottom just
// outside), stroked with the current pen and filled with the current brush.
void drawBoundedEllipse(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

// Where the F1 axis puts its caption and tick labels: shared by the drawing and by the
// print layout, which must keep all of them on the page. Text boxes are measured as
// ChartText measures them, in the painter's current font.
struct F1AxisLayout
{
    int captionX = 0;
    int captionY = 0;
    int tickEnd = 0;
    int labelLeft = 0;
    int halfLine = 0; // a label straddles its tick by half its line box
};

F1AxisLayout f1AxisLayout(const QFont &font, const PlotGeometry &g, int unit, int zoom)
{
    F1AxisLayout f1;
    f1.halfLine = QFontMetrics(font).height() / 2;
    f1.captionX = g.xAxis + (zoom == 1 ? 50 : 150);
    f1.captionY = toDeviceUnits(g.yOrigin + g.kF1 * (HzToBark(500) + 0.5)) - f1.halfLine;
    f1.tickEnd = toDeviceUnits(g.xAxis + 5.0 * unit);
    f1.labelLeft = toDeviceUnits(g.xAxis + 5.0 * unit + 5);
    return f1;
}

QFont deviceCaptionFont(int unit)
{
    return ChartFonts::defaultGuiFont(12 * unit);
}

} // namespace

ChartRenderer::ChartRenderer(ChartKind kind) : m_kind(kind) {}

bool ChartRenderer::hasPosition(const CellSource &cells, int row) const
{
    return !cells.IsCellEmpty(row, TokenTableModel::F1) &&
           !cells.IsCellEmpty(row, horizontalColumn());
}

int ChartRenderer::horizontalColumn() const
{
    return m_kind == ChartKind::F1F2 ? TokenTableModel::F2 : TokenTableModel::F3;
}

QString ChartRenderer::horizontalCaption() const
{
    return m_kind == ChartKind::F1F2 ? QStringLiteral("F2") : QStringLiteral("F3");
}

QSize ChartRenderer::GetTextSize(QPainter &painter, const QString &text)
{
    const QFontMetrics metrics(painter.font(), painter.device());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void ChartRenderer::DrawPlot(QPainter &painter, const CTessavoxDoc &doc, const PlotFrame &frame,
                             int zoom, const QFont &displayFont, std::span<QRect> hitSquares)
{
    Pass pass;
    pass.frame = frame;
    pass.unit = 1;
    pass.zoom = zoom;
    pass.screen = true;
    pass.captionFont = displayFont;
    pass.hitSquares = hitSquares;
    draw(painter, doc, pass);
}

void ChartRenderer::DrawPlotToDC(QPainter &painter, const CTessavoxDoc &doc, const PlotFrame &frame,
                                 int unit, int zoom)
{
    Pass pass;
    pass.frame = frame;
    pass.unit = unit;
    pass.zoom = zoom;
    pass.screen = false;
    pass.captionFont = deviceCaptionFont(unit);
    draw(painter, doc, pass);
}

QRect ChartRenderer::DeviceF1AxisExtent(const CTessavoxDoc &doc, const PlotFrame &frame, int unit,
                                        int zoom)
{
    const QFont font = deviceCaptionFont(unit);
    const QFontMetrics metrics(font);
    const PlotGeometry g = PlotGeometry::compute(frame, unit, zoom);
    const F1AxisLayout f1 = f1AxisLayout(font, g, unit, zoom);
    QRect extent(QPoint(f1.captionX, f1.captionY),
                 QSize(metrics.horizontalAdvance(QStringLiteral("F1")), metrics.height()));
    for (int hz : f1TickFrequencies(doc.m_nF1Max)) {
        const int y = g.yOfF1(hz);
        extent |= QRect(g.xAxis, y, f1.labelLeft + 5 - g.xAxis, 1);
        extent |= QRect(QPoint(f1.labelLeft, y - f1.halfLine),
                        QSize(metrics.horizontalAdvance(QString::number(hz)), metrics.height()));
    }
    return extent;
}

bool ChartRenderer::transparentText(const Pass &pass) const
{
    // The F1-F3 chart leaves print and bitmap text on the device's opaque white
    // background, so its labels blank what lies beneath them there.
    return pass.screen || m_kind == ChartKind::F1F2;
}

void ChartRenderer::draw(QPainter &painter, const CTessavoxDoc &doc, Pass &pass)
{
    if (!doc.m_bDataLoaded)
        return;
    // Without a table the rows are not filled: the chart shows nothing.
    if (!doc.hasTable())
        return;
    const CellSource *cells = &doc.tokens();
    PainterStateGuard guard(painter);
    resetToFreshDevice(painter);
    if (!pass.screen) {
        QPen pen = painter.pen();
        pen.setWidth(PrintLineWidth(painter.device()));
        painter.setPen(pen);
    }

    pass.doc = &doc;
    pass.cells = cells;
    pass.geometry = PlotGeometry::compute(pass.frame, pass.unit, pass.zoom);
    pass.tokenFont = painter.font();
    pass.groupFont = ChartFonts::defaultGuiFont(28 * pass.unit, 700);

    if (!doc.m_analysis.isClassic()) {
        drawAnalysis(painter, pass);
        return;
    }
    m_layout = ChartLayoutRecord{};
    painter.setFont(pass.captionFont);
    drawAxes(painter, pass);
    painter.setFont(pass.tokenFont);
    if (transparentText(pass))
        painter.setBackgroundMode(Qt::TransparentMode);
    drawTokens(painter, pass);
    if (doc.m_bDrawEllipse)
        drawGroups(painter, pass);
}

void ChartRenderer::drawAxes(QPainter &painter, const Pass &pass)
{
    const PlotGeometry &g = pass.geometry;
    const int u = pass.unit;
    const QString horizontalCaption = this->horizontalCaption();
    const int horizontalMax = m_kind == ChartKind::F1F2 ? pass.doc->m_nF2Max : pass.doc->m_nF3Max;

    // F1 caption, half a Bark below 500 Hz, right of the axis.
    const F1AxisLayout f1 = f1AxisLayout(painter.font(), g, u, pass.zoom);
    m_axisText.draw(painter, f1.captionX, f1.captionY, QStringLiteral("F1"));

    // F1 ticks: a line right of the axis, labelled beside it.
    for (int hz : f1TickFrequencies(pass.doc->m_nF1Max)) {
        const int y = g.yOfF1(hz);
        strokeOpen(painter, {{g.xAxis, y}, {f1.tickEnd, y}, {f1.labelLeft + 5, y}});
        const QString label = QString::number(hz);
        m_axisText.draw(painter, f1.labelLeft, y - f1.halfLine, label);
    }

    // Horizontal caption above the axis, starting at 1750 Hz.
    const int captionX = g.xOfF2(1750);
    const int captionY = toDeviceUnits(g.yAxis - 20.0 * u - 15) -
                         m_axisText.size(painter, horizontalCaption).height() / 2;
    m_axisText.draw(painter, captionX, captionY, horizontalCaption);

    // Horizontal ticks upwards from the axis; every 500 Hz a longer one with a label.
    const int labelTop = toDeviceUnits(g.yAxis - 20.0 * u);
    for (int hz : f2TickFrequencies(horizontalMax)) {
        const int x = g.xOfF2(hz);
        const QPoint foot(x, g.yAxis);
        const QPoint top(x, g.yAxis - 5 * u);
        if (!isLabelledF2Tick(hz)) {
            strokeOpen(painter, {foot, top});
            continue;
        }
        // The label's column truncates the Bark offset before subtracting, so it can
        // stand one unit right of the tick itself.
        const int labelX = g.xOrigin - toDeviceUnits(g.kF2 * HzToBark(hz));
        strokeOpen(painter, {foot, top, {labelX, labelTop - 5}});
        const QString label = QString::number(hz);
        m_axisText.draw(painter, labelX - m_axisText.size(painter, label).width() / 2, labelTop,
                        label);
    }
}

void ChartRenderer::drawTokens(QPainter &painter, const Pass &pass)
{
    const PlotGeometry &g = pass.geometry;
    const int column = horizontalColumn();
    const int circle = 5 * pass.unit;
    for (int row = 0; row < pass.doc->m_nTokenCount; ++row) {
        if (!hasPosition(*pass.cells, row))
            continue;
        // The same sums as xOfF2 and yOfF1, on looked-up Bark values; a Bark value of a
        // whole hertz always maps.
        int x = 0;
        int y = 0;
        g.mapBark(barkOf(pass.cells->GetCellInt(row, TokenTableModel::F1)),
                  barkOf(pass.cells->GetCellInt(row, column)), x, y);
        const QString symbol = pass.cells->GetCellText(row, TokenTableModel::Symbol);
        if (symbol.isEmpty())
            drawBoundedEllipse(painter, x, y, x + circle, y + circle);
        else
            m_tokenText.draw(painter, x, y, symbol);
    }
}

void ChartRenderer::drawGroups(QPainter &painter, const Pass &pass)
{
    const PlotGeometry &g = pass.geometry;
    const CellSource &cells = *pass.cells;
    const int count = pass.doc->m_nTokenCount;
    const int column = horizontalColumn();
    const int half = 5 * pass.unit;
    // One outline buffer for the whole layer: no allocation per group.
    EllipseOutline outline;
    std::array<QPoint, EllipseOutline::kSteps + 1> polyline;

    painter.setBrush(Qt::black);
    int row = 0;
    while (row < count) {
        const int order = cells.GetCellInt(row, TokenTableModel::Order);
        const QString firstLabel = cells.GetCellText(row, TokenTableModel::Symbol);
        GroupMoments moments;
        // A token without F1 or without the horizontal formant has no place in the group.
        const auto add = [&](int r) {
            if (hasPosition(cells, r))
                moments.add(barkOf(cells.GetCellInt(r, TokenTableModel::F1)),
                            barkOf(cells.GetCellInt(r, column)));
        };
        add(row);
        bool sameLabel = true;
        ++row;
        while (row < count && cells.GetCellInt(row, TokenTableModel::Order) == order) {
            if (sameLabel && cells.GetCellText(row, TokenTableModel::Symbol) != firstLabel)
                sameLabel = false;
            add(row);
            ++row;
        }
        if (moments.count() < kMinGroupSize)
            continue;

        int xc = 0;
        int yc = 0;
        if (!g.mapBark(moments.m1(), moments.m2(), xc, yc))
            continue;
        drawBoundedEllipse(painter, xc - half, yc - half, xc + half, yc + half);
        drawGroupLabel(painter, pass, order, sameLabel, firstLabel, xc, yc);

        if (!ComputeEllipseOutline(moments, outline))
            continue;
        int n = 0;
        bool mapped = true;
        for (int k = 0; k < outline.count && mapped; ++k) {
            int x = 0;
            int y = 0;
            mapped = g.mapBark(outline.b1[std::size_t(k)], outline.b2[std::size_t(k)], x, y);
            polyline[std::size_t(n++)] = QPoint(x, y);
        }
        if (!mapped)
            continue;
        polyline[std::size_t(n++)] = polyline[0];
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(polyline.data(), n);
        painter.setBrush(Qt::black);
    }
    painter.setBrush(Qt::white);
}

void ChartRenderer::drawGroupLabel(QPainter &painter, const Pass &pass, int order, bool sameLabel,
                                   const QString &firstLabel, int xc, int yc)
{
    painter.setFont(pass.groupFont);
    if (transparentText(pass))
        painter.setBackgroundMode(Qt::TransparentMode);
    if (sameLabel) {
        m_groupText.draw(painter, xc, yc, firstLabel);
        painter.setFont(pass.tokenFont);
        return;
    }

    // Label choices exist for orders 0 to 999 only; any other mixed group stays "?".
    const auto &chosen = pass.doc->m_nOrderLabel;
    const bool resolved =
        order >= 0 && order < int(chosen.size()) && chosen[std::size_t(order)] != -1;
    setTextColour(painter, QColor(255, 0, 0));
    m_groupText.draw(painter, xc, yc,
                     resolved ? pass.doc->m_strOrderLabel[std::size_t(order)]
                              : QStringLiteral("?"));
    if (pass.screen) {
        const QRect square(xc - kHitHalf, yc - kHitHalf, 2 * kHitHalf, 2 * kHitHalf);
        if (order >= 0 && order < int(pass.hitSquares.size()))
            pass.hitSquares[std::size_t(order)] = square;
        // In the F1-F3 window a square frame marks what still waits for a choice.
        if (m_kind == ChartKind::F1F3 && !resolved) {
            setTextColour(painter, Qt::black);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(square.adjusted(0, 0, -1, -1));
            painter.setBrush(Qt::black);
        }
    }
    setTextColour(painter, Qt::black);
    painter.setFont(pass.tokenFont);
}
