#include "plot/chartrenderer.h"
#include "plot/chartpass.h"

#include "analysis/groupstatistics.h"
#include "document/cellsource.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/printlinewidth.h"
#include "plot/barkscale.h"
#include "plot/chartfonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

// The classic ellipse is traced through this many polar steps.
constexpr int kOutlineSteps = 200;
// Axis labels closer than this many pixels read as one number.
constexpr int kLabelGap = 2;
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
    return !cells.IsRowExcluded(row) && !cells.IsCellEmpty(row, TokenTableModel::F1) &&
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
    if (pass.screen)
        m_tokenMarks.clear();
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
    pass.geometry = zoomedGeometry(pass.frame, pass);
    pass.tokenFont = painter.font();
    pass.groupFont = ChartFonts::defaultGuiFont(ChartFonts::kGroupLabelHeight * pass.unit, 700);

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
    // Zoomed in, the data stay below and left of the axes, clear of their labels.
    if (!m_zoom.isWhole())
        painter.setClipRect(QRect(QPoint(pass.frame.left, pass.geometry.yAxis + 1),
                                  QPoint(pass.geometry.xAxis - 1, pass.frame.bottom)));
    drawTokens(painter, pass);
    if (doc.m_bDrawEllipse)
        drawGroups(painter, pass);
}

PlotGeometry ChartRenderer::zoomedGeometry(const PlotFrame &frame, const Pass &pass) const
{
    PlotGeometry g = PlotGeometry::compute(frame, pass.unit, pass.zoom);
    if (m_zoom.isWhole())
        return g;
    // The axes stay at the frame's edges; the data move under them.
    const QPointF origin(frame.left, frame.top);
    const QSizeF size(frame.right - frame.left, frame.bottom - frame.top);
    const QPointF zero = m_zoom.map(QPointF(g.xOrigin, g.yOrigin), origin, size);
    g.xOrigin = toDeviceUnits(zero.x());
    g.yOrigin = toDeviceUnits(zero.y());
    g.kF1 = int(std::lround(g.kF1 * m_zoom.scale));
    g.kF2 = int(std::lround(g.kF2 * m_zoom.scale));
    return g;
}

bool ChartRenderer::outsideZoomedAxes(const Pass &pass, int x, int y) const
{
    return !m_zoom.isWhole() && (x > pass.geometry.xAxis || y < pass.geometry.yAxis);
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

    // F1 ticks: a line right of the axis, labelled beside it. High bounds crowd the ticks
    // together on the Bark scale: a label that would touch the one above is left out.
    int lastLabelBottom = std::numeric_limits<int>::min();
    for (int hz : f1TickFrequencies(pass.doc->m_nF1Max)) {
        const int y = g.yOfF1(hz);
        if (outsideZoomedAxes(pass, g.xAxis, y))
            continue;
        strokeOpen(painter, {{g.xAxis, y}, {f1.tickEnd, y}, {f1.labelLeft + 5, y}});
        const QString label = QString::number(hz);
        const QSize size = m_axisText.size(painter, label);
        if (y - f1.halfLine < lastLabelBottom + kLabelGap * u)
            continue;
        m_axisText.draw(painter, f1.labelLeft, y - f1.halfLine, label);
        lastLabelBottom = y - f1.halfLine + size.height();
    }

    // Horizontal caption above the axis, starting at 1750 Hz.
    const int captionX = g.xOfF2(1750);
    const int captionY = toDeviceUnits(g.yAxis - 20.0 * u - 15) -
                         m_axisText.size(painter, horizontalCaption).height() / 2;
    m_axisText.draw(painter, captionX, captionY, horizontalCaption);

    // Horizontal ticks upwards from the axis; every 500 Hz a longer one with a label.
    const int labelTop = toDeviceUnits(g.yAxis - 20.0 * u);
    // Labels run leftwards as the frequency grows; towards the top of the range the Bark
    // scale packs them closer, and one that would touch its neighbour is left out (its
    // longer tick stays).
    int lastLabelLeft = std::numeric_limits<int>::max();
    for (int hz : f2TickFrequencies(horizontalMax)) {
        const int x = g.xOfF2(hz);
        if (outsideZoomedAxes(pass, x, g.yAxis))
            continue;
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
        const int width = m_axisText.size(painter, label).width();
        const int left = labelX - width / 2;
        if (left + width > lastLabelLeft - kLabelGap * u)
            continue;
        m_axisText.draw(painter, left, labelTop, label);
        lastLabelLeft = left;
    }
}

void ChartRenderer::drawTokens(QPainter &painter, const Pass &pass)
{
    const PlotGeometry &g = pass.geometry;
    const int column = horizontalColumn();
    const int circle = 5 * pass.unit;
    if (pass.screen)
        m_tokenMarks.reserve(std::size_t(std::max(0, pass.doc->m_nTokenCount)));
    // Thousands of labels cost more in painter calls than in pixels: drawn together.
    const bool batched = ChartText::Batch::suits(painter);
    ChartText::Batch batch;
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
        if (symbol.isEmpty() || highlights(pass, row))
            batch.flush(painter);
        if (symbol.isEmpty()) {
            markToken(painter, pass, row, QRect(x, y, circle, circle));
            drawBoundedEllipse(painter, x, y, x + circle, y + circle);
            continue;
        }
        const ChartText::Layout &label = m_tokenText.layout(painter, symbol);
        markToken(painter, pass, row, QRect(QPoint(x, y), label.box));
        if (batched)
            batch.add(painter, x, y, label);
        else
            ChartText::draw(painter, x, y, label);
    }
    batch.flush(painter);
}

bool ChartRenderer::highlights(const Pass &pass, int row) const
{
    const TokenTableModel &rows = pass.doc->tokens();
    return pass.screen && row < rows.count() && rows.row(row).selected;
}

void ChartRenderer::markToken(QPainter &painter, const Pass &pass, int row, const QRect &box)
{
    if (!pass.screen)
        return;
    m_tokenMarks.push_back({row, box});
    if (!highlights(pass, row))
        return;
    // Behind the mark, so the label stays readable.
    painter.fillRect(box.adjusted(-2, -2, 2, 2), QColor(255, 190, 0, 150));
}

void ChartRenderer::drawGroups(QPainter &painter, const Pass &pass)
{
    const PlotGeometry &g = pass.geometry;
    const CellSource &cells = *pass.cells;
    const int count = pass.doc->m_nTokenCount;
    const int column = horizontalColumn();
    const int half = 5 * pass.unit;

    // Runs of one order are the groups; a token without F1 or without the horizontal
    // formant has no place in its group.
    struct Run
    {
        int order = 0;
        QString firstLabel;
        bool sameLabel = true;
    };
    std::vector<Run> runs;
    std::vector<int> group(std::size_t(count), -1);
    std::vector<double> x(std::size_t(count), std::numeric_limits<double>::quiet_NaN());
    std::vector<double> y(x);
    for (int row = 0; row < count; ++row) {
        const int order = cells.GetCellInt(row, TokenTableModel::Order);
        const QString label = cells.GetCellText(row, TokenTableModel::Symbol);
        if (runs.empty() || runs.back().order != order)
            runs.push_back({order, label, true});
        else if (runs.back().sameLabel && label != runs.back().firstLabel)
            runs.back().sameLabel = false;
        const std::size_t r = std::size_t(row);
        group[r] = int(runs.size()) - 1;
        if (hasPosition(cells, row)) {
            x[r] = barkOf(cells.GetCellInt(row, column));
            y[r] = barkOf(cells.GetCellInt(row, TokenTableModel::F1));
        }
    }
    const StatisticsResult stats =
        groupStatistics(group, int(runs.size()), x, y, EllipseKind::Sd2Population, {});

    painter.setBrush(Qt::black);
    std::vector<QPoint> polyline;
    for (std::size_t i = 0; i < runs.size() && i < stats.groups.size(); ++i) {
        const GroupStatistics &s = stats.groups[i];
        if (s.n < kMinEllipseGroupSize || !s.meanX || !s.meanY)
            continue;
        int xc = 0;
        int yc = 0;
        if (!g.mapBark(*s.meanY, *s.meanX, xc, yc))
            continue;
        drawBoundedEllipse(painter, xc - half, yc - half, xc + half, yc + half);
        drawGroupLabel(painter, pass, runs[i].order, runs[i].sameLabel, runs[i].firstLabel, xc, yc);

        const std::optional<double> r = ellipseRadius(EllipseKind::Sd2Population, s.n);
        if (!r || !s.sdX || !s.sdY || !s.covXY)
            continue;
        const std::vector<PolarOutlinePoint> outline = polarEllipseOutline(
            *s.meanX, *s.meanY, *s.sdX * *s.sdX, *s.sdY * *s.sdY, *s.covXY, *r, kOutlineSteps);
        if (outline.empty())
            continue;
        polyline.clear();
        bool mapped = true;
        for (std::size_t k = 0; k < outline.size() && mapped; ++k) {
            int px = 0;
            int py = 0;
            mapped = g.mapBark(outline[k].y, outline[k].x, px, py);
            polyline.emplace_back(px, py);
        }
        if (!mapped)
            continue;
        polyline.push_back(polyline.front());
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(polyline.data(), int(polyline.size()));
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
