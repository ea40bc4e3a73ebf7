// The chart drawn with analysis options: any scale or normalisation, ellipse kind,
// colours with their legend, panels per value of a column, tokens as labels or dots,
// fitted to its frame. The classic chart stays in chartrenderer.cpp, so that its pixels
// never change.

#include "plot/chartpass.h"

#include "analysis/documentanalysis.h"
#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"
#include "plot/chartlayout.h"
#include "plot/chartlegend.h"
#include "plot/chartpalette.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kHitHalf = 30;
// Beyond this many tokens on a chart, labels only blacken the cloud: dots show it.
constexpr int kMostTokenLabels = 2000;

// The frequency whose scale value is `value`, by bisection: every scale rises with f.
double hertzAt(FrequencyScale scale, double value)
{
    double lo = 0.0;
    double hi = 30000.0;
    if (value <= hzToScale(scale, lo))
        return lo;
    if (value >= hzToScale(scale, hi))
        return hi;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        (hzToScale(scale, mid) < value ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

QString tickText(double value)
{
    // Ticks are multiples of 1, 2 or 5 times a power of ten: six significant digits
    // print each exactly.
    return QString::number(value, 'g', 6);
}

void setPenColour(QPainter &painter, const QColor &colour)
{
    QPen pen = painter.pen();
    pen.setColor(colour);
    painter.setPen(pen);
}

bool usable(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::fabs(p.x()) < 1e9 &&
           std::fabs(p.y()) < 1e9;
}

// One panel's plot area and value mapping.
struct PanelPlace
{
    QRect plot;
    ScaleMapping mapping;
};

} // namespace

// Draws the panels of one analysis chart; lives for one drawing.
class ChartRenderer::AnalysisDrawing
{
public:
    AnalysisDrawing(ChartRenderer &renderer, QPainter &onto, Pass &drawing,
                    const AnalysisChart &shown)
        : r(renderer), painter(onto), pass(drawing), chart(shown), options(drawing.doc->m_analysis),
          u(drawing.unit)
    {}

    void draw();

private:
    int textWidth(const QString &text) { return r.m_axisText.size(painter, text).width(); }
    QPointF toDevice(const ScaleMapping &m, double x, double y) const
    {
        return QPointF(m.x(x), m.y(y));
    }
    ValueBox valueBox() const;
    PanelPlace place(const PlotFrame &frame) const;
    bool shows(int facet, int row) const
    {
        return chart.facets.isEmpty() || chart.rowFacet[std::size_t(row)] == facet;
    }
    std::optional<QRect> freeCorner(const PanelPlace &panel, QSize size);
    // `title` names the panel's value, above its top left corner; empty without facets.
    void drawAxes(const PanelPlace &panel, const QString &title);
    void drawTokens(const PanelPlace &panel, int facet);
    void drawOutliers(const PanelPlace &panel, int facet);
    void drawGroups(const PanelPlace &panel, int facet);
    void drawTrajectories(const PanelPlace &panel, int facet);
    void drawLabel(const QPoint &at, const QString &text, const QColor &colour);

    ChartRenderer &r;
    QPainter &painter;
    Pass &pass;
    const AnalysisChart &chart;
    const AnalysisOptions &options;
    const int u;
    std::optional<FrequencyScale> scale;
    ValueBox box;
    int lineHeight = 0;
    bool dots = false;
};

void ChartRenderer::drawAnalysis(QPainter &painter, Pass &pass)
{
    const AnalysisChart chart = buildAnalysisChart(*pass.doc, horizontalColumn());
    m_layout = ChartLayoutRecord{};
    m_layout.messages = chart.messages;
    AnalysisDrawing(*this, painter, pass, chart).draw();
}

ValueBox ChartRenderer::AnalysisDrawing::valueBox() const
{
    const CTessavoxDoc &doc = *pass.doc;
    const FrequencyScale boxScale = scale.value_or(FrequencyScale::Bark);
    const int hMax = r.m_kind == ChartKind::F1F2 ? doc.m_nF2Max : doc.m_nF3Max;
    // The display options' ranges, as the classic chart shows them.
    ValueBox shown;
    shown.add(hzToScale(boxScale, 400), hzToScale(boxScale, 200));
    shown.add(hzToScale(boxScale, std::max(hMax, 500)),
              hzToScale(boxScale, std::max(doc.m_nF1Max, 300)));
    if (options.fit || chart.normalised) {
        ValueBox data;
        for (std::size_t row = 0; row < chart.x.size() && options.showTokens; ++row)
            data.add(chart.x[row], chart.y[row]);
        for (const AnalysisChartGroup &g : chart.groups) {
            if (g.hasMean)
                data.add(g.mean.x(), g.mean.y());
            for (const QPointF &p : g.outline)
                if (doc.m_bDrawEllipse)
                    data.add(p.x(), p.y());
        }
        for (const std::vector<QPointF> &path : chart.groupPath)
            for (const QPointF &p : path)
                data.add(p.x(), p.y());
        if (!data.isEmpty())
            shown = data;
    }
    // A single value still needs an axis: widen it by a unit about its middle, as the
    // mapping does.
    const auto widen = [](double &lo, double &hi) {
        if (hi - lo < 1e-9 * std::max(1.0, std::fabs(lo))) {
            lo -= 0.5;
            hi += 0.5;
        }
    };
    widen(shown.xLo, shown.xHi);
    widen(shown.yLo, shown.yHi);
    return shown;
}

PanelPlace ChartRenderer::AnalysisDrawing::place(const PlotFrame &frame) const
{
    // The classic place and size for Bark without fitting; otherwise the largest chart
    // that leaves room for the axes' text, its axes close about the values shown.
    PanelPlace panel;
    if (!options.fit && scale == FrequencyScale::Bark && chart.facets.isEmpty()) {
        const PlotGeometry g = r.zoomedGeometry(frame, pass);
        panel.mapping = {double(g.xOrigin), double(g.yOrigin), double(g.kF2), double(g.kF1)};
        panel.plot = QRect(QPoint(frame.left, g.yAxis), QPoint(g.xAxis, frame.bottom - 1));
        return panel;
    }
    auto &self = const_cast<AnalysisDrawing &>(*this);
    const int labelWidth =
        std::max({self.textWidth(QStringLiteral("-0.000")), self.textWidth(QStringLiteral("00000")),
                  self.textWidth(chart.yCaption)});
    const int top = frame.top + 2 * lineHeight + 15 * u;
    const int right = frame.right - labelWidth - 20 * u;
    const QRect room(QPoint(frame.left + 10 * u, top), QPoint(right, frame.bottom - 10 * u - 1));
    ValueBox padded = box;
    // A margin so that marks and texts at the extremes stay inside.
    const double padX = std::max((box.xHi - box.xLo) * 0.04, 1e-6);
    const double padY = std::max((box.yHi - box.yLo) * 0.04, 1e-6);
    padded.xLo -= padX;
    padded.xHi += padX;
    padded.yLo -= padY;
    padded.yHi += padY;
    // Tokens are drawn right of and below their point, labels beside their mean.
    const QRectF inner = QRectF(room).adjusted(5 * u, 5 * u, -20 * u, -20 * u);
    panel.mapping =
        fitMapping(inner, padded, options.equalAspect ? std::optional(1.0) : std::nullopt);
    const ScaleMapping &m = panel.mapping;
    const QRectF used(QPointF(m.x(padded.xHi), m.y(padded.yLo)),
                      QPointF(m.x(padded.xLo), m.y(padded.yHi)));
    panel.plot = used.adjusted(-5 * u, -5 * u, 20 * u, 20 * u).toAlignedRect() & room;
    if (!r.m_zoom.isWhole()) {
        // The plot area stays; the data move and grow inside it, and the ticks follow.
        const QPointF origin(frame.left, frame.top);
        const QSizeF size(frame.right - frame.left, frame.bottom - frame.top);
        const QPointF zero = r.m_zoom.map(QPointF(m.x0, m.y0), origin, size);
        panel.mapping =
            ScaleMapping{zero.x(), zero.y(), m.kx * r.m_zoom.scale, m.ky * r.m_zoom.scale};
    }
    return panel;
}

void ChartRenderer::AnalysisDrawing::draw()
{
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, true);
    scale = chart.normalised
                ? std::nullopt
                : std::optional(parseFrequencyScale(chart.scale).value_or(FrequencyScale::Bark));
    painter.setFont(pass.captionFont);
    lineHeight = r.m_axisText.size(painter, QStringLiteral("0")).height();
    box = valueBox();

    int tokens = 0;
    for (std::size_t row = 0; row < chart.x.size(); ++row)
        tokens += std::isfinite(chart.x[row]) && std::isfinite(chart.y[row]);
    dots = options.tokenMarks == AnalysisOptions::TokenMarks::Dots ||
           (options.tokenMarks == AnalysisOptions::TokenMarks::Auto && tokens > kMostTokenLabels);

    const ChartLegend legend(chart.legend, u);
    const QSize legendSize = legend.size(painter);
    PlotFrame frame = pass.frame;
    const int panels = std::max<int>(1, int(chart.facets.size()));
    std::vector<PanelPlace> places;
    std::optional<QRect> legendBox;
    // A legend goes where it covers no data; failing that, beside the plot.
    const auto outside = [&] {
        frame.left = std::min(frame.right - 1, frame.left + legendSize.width() + 8 * u);
        legendBox = QRect(QPoint(pass.frame.left + 4 * u, 0), legendSize);
    };
    if (panels == 1) {
        places.push_back(place(frame));
        if (!legend.isEmpty()) {
            legendBox = freeCorner(places[0], legendSize);
            if (!legendBox) {
                outside();
                places[0] = place(frame);
            }
        }
    } else {
        if (!legend.isEmpty())
            outside();
        // Panels in a grid as near square as the frame allows, all of one size.
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        int columns = 1;
        double best = 0.0;
        for (int c = 1; c <= panels; ++c) {
            const int rows = (panels + c - 1) / c;
            const double side = std::min(double(width) / c, double(height) / rows);
            if (side > best) {
                best = side;
                columns = c;
            }
        }
        const int rows = (panels + columns - 1) / columns;
        for (int p = 0; p < panels; ++p) {
            const int c = p % columns;
            const int row = p / columns;
            const PlotFrame cell{frame.left + width * c / columns, frame.top + height * row / rows,
                                 frame.left + width * (c + 1) / columns,
                                 frame.top + height * (row + 1) / rows};
            places.push_back(place(cell));
        }
    }
    if (legendBox && legendBox->top() == 0)
        legendBox->moveTop(places[0].plot.top());
    r.m_layout.plotArea = places[0].plot;
    r.m_layout.mapping = places[0].mapping;
    for (const PanelPlace &panel : places)
        r.m_layout.panels.push_back(panel.plot);
    r.m_layout.tokenDots = dots;

    for (int p = 0; p < panels; ++p) {
        const PanelPlace &panel = places[std::size_t(p)];
        painter.setFont(pass.captionFont);
        QString title;
        if (!chart.facets.isEmpty())
            title =
                chart.facets.value(p).isEmpty() ? QStringLiteral("(none)") : chart.facets.value(p);
        drawAxes(panel, title);
        // Everything else stays inside the plot.
        painter.setClipRect(panel.plot.adjusted(1, 1, 0, 0));
        drawTokens(panel, p);
        drawOutliers(panel, p);
        drawTrajectories(panel, p);
        drawGroups(panel, p);
        painter.setClipping(false);
    }
    if (legendBox) {
        painter.setFont(pass.captionFont);
        legend.draw(painter, legendBox->topLeft());
        r.m_layout.legend = *legendBox;
    }
    setPenColour(painter, Qt::black);
}

std::optional<QRect> ChartRenderer::AnalysisDrawing::freeCorner(const PanelPlace &panel, QSize size)
{
    const QRect plot = panel.plot.adjusted(6 * u, 6 * u, -6 * u, -6 * u);
    if (plot.width() < size.width() || plot.height() < size.height())
        return std::nullopt;
    const QRect corners[] = {
        QRect(plot.topLeft(), size),
        QRect(QPoint(plot.left(), plot.bottom() - size.height()), size),
        QRect(QPoint(plot.right() - size.width(), plot.bottom() - size.height()), size),
        QRect(QPoint(plot.right() - size.width(), plot.top()), size)};
    // A token's mark hangs right of and below its point: the legend keeps clear of it.
    const int reach = dots ? 2 * u : lineHeight;
    std::vector<QPointF> points;
    for (std::size_t row = 0; row < chart.x.size() && options.showTokens; ++row)
        points.push_back(toDevice(panel.mapping, chart.x[row], chart.y[row]));
    for (const AnalysisChartGroup &g : chart.groups) {
        if (!g.hasMean)
            continue;
        const QPointF mean = toDevice(panel.mapping, g.mean.x(), g.mean.y());
        // The bold label hangs right of and below its mean too.
        for (const QPointF &corner :
             {QPointF(0, 0), QPointF(24, 0), QPointF(0, 30), QPointF(24, 30)})
            points.push_back(mean + corner * u);
        if (pass.doc->m_bDrawEllipse)
            for (const QPointF &p : g.outline)
                points.push_back(toDevice(panel.mapping, p.x(), p.y()));
    }
    for (const QRect &corner : corners) {
        const QRectF keepOut =
            QRectF(corner).adjusted(-reach - 2 * u, -reach - 2 * u, 2 * u, 2 * u);
        if (std::ranges::none_of(points, [&](const QPointF &p) { return keepOut.contains(p); }))
            return corner;
    }
    return std::nullopt;
}

void ChartRenderer::AnalysisDrawing::drawAxes(const PanelPlace &panel, const QString &title)
{
    // Axes along the top and right of the plot, ticks outwards, labels beyond them. Tick
    // values are hertz for a scale (as on the classic chart) and the normalised values
    // otherwise; they cover the values shown.
    const QRect &plot = panel.plot;
    const ScaleMapping &mapping = panel.mapping;
    setPenColour(painter, Qt::black);
    painter.drawLine(QPoint(plot.left(), plot.top()), QPoint(plot.right(), plot.top()));
    painter.drawLine(QPoint(plot.right(), plot.top()), QPoint(plot.right(), plot.bottom()));
    const auto axisValue = [this](double scaled) {
        return scale ? hertzAt(*scale, scaled) : scaled;
    };
    const auto axisPosition = [this](double value) {
        return scale ? hzToScale(*scale, value) : value;
    };
    const double gap = 6.0 * u;
    const bool recording = r.m_layout.horizontalTickLabels.empty();
    // Horizontal axis: values run from the plot's right edge (lowest) to its left.
    {
        const double lo = axisValue(std::max(box.xLo, mapping.valueAtX(plot.right())));
        const double hi = axisValue(std::min(box.xHi, mapping.valueAtX(plot.left())));
        const AxisTicks ticks = chooseTicks(
            lo, hi, gap, [&](double v) { return mapping.x(axisPosition(v)); },
            [&](double v) { return double(textWidth(tickText(v))); });
        for (std::size_t k = 0; k < ticks.values.size(); ++k) {
            const double v = ticks.values[k];
            const int x = int(std::lround(mapping.x(axisPosition(v))));
            const int length = ticks.labelled[k] ? 5 * u : 3 * u;
            painter.drawLine(QPoint(x, plot.top()), QPoint(x, plot.top() - length));
            if (!ticks.labelled[k])
                continue;
            const QString text = tickText(v);
            const QRect label(QPoint(x - textWidth(text) / 2, plot.top() - 7 * u - lineHeight),
                              QSize(textWidth(text), lineHeight));
            r.m_axisText.draw(painter, label.left(), label.top(), text);
            if (recording)
                r.m_layout.horizontalTickLabels.push_back(label);
        }
        // The panel's title on the caption's line at the left; the caption keeps clear of it.
        const int line = plot.top() - 9 * u - 2 * lineHeight;
        int captionLeft = plot.center().x() - textWidth(chart.xCaption) / 2;
        if (!title.isEmpty()) {
            r.m_axisText.draw(painter, plot.left(), line, title);
            const QRect titleBox(QPoint(plot.left(), line), QSize(textWidth(title), lineHeight));
            r.m_layout.panelTitles.push_back(titleBox);
            captionLeft = std::max(captionLeft, titleBox.right() + 1 + 2 * int(gap));
        }
        r.m_axisText.draw(painter, captionLeft, line, chart.xCaption);
        r.m_layout.horizontalCaptions.push_back(
            QRect(QPoint(captionLeft, line), QSize(textWidth(chart.xCaption), lineHeight)));
    }
    // F1 axis: values grow downwards from the plot's top.
    {
        const double lo = axisValue(std::max(box.yLo, mapping.valueAtY(plot.top())));
        const double hi = axisValue(std::min(box.yHi, mapping.valueAtY(plot.bottom())));
        const AxisTicks ticks = chooseTicks(
            lo, hi, gap / 2, [&](double v) { return mapping.y(axisPosition(v)); },
            [&](double) { return double(lineHeight); });
        for (std::size_t k = 0; k < ticks.values.size(); ++k) {
            const double v = ticks.values[k];
            const int y = int(std::lround(mapping.y(axisPosition(v))));
            const int length = ticks.labelled[k] ? 5 * u : 3 * u;
            painter.drawLine(QPoint(plot.right(), y), QPoint(plot.right() + length, y));
            if (!ticks.labelled[k])
                continue;
            const QString text = tickText(v);
            const QRect label(QPoint(plot.right() + 7 * u, y - lineHeight / 2),
                              QSize(textWidth(text), lineHeight));
            r.m_axisText.draw(painter, label.left(), label.top(), text);
            if (recording)
                r.m_layout.f1TickLabels.push_back(label);
        }
        // The caption above the tick labels, level with the horizontal caption.
        const QString caption = chart.yCaption;
        const PlotFrame &frame = pass.frame;
        const int x = std::max(
            frame.left, std::min(plot.right() + 7 * u, frame.right - textWidth(caption) - 2 * u));
        r.m_axisText.draw(painter, x, plot.top() - 9 * u - 2 * lineHeight, caption);
    }
}

void ChartRenderer::AnalysisDrawing::drawTokens(const PanelPlace &panel, int facet)
{
    if (!options.showTokens)
        return;
    painter.save();
    painter.setFont(pass.tokenFont);
    const int circle = 5 * u;
    const int count = int(chart.x.size());
    // Dots are translucent, so that where the cloud is dense it is dark.
    const double dot = 1.5 * u;
    if (dots)
        painter.setPen(Qt::NoPen);
    for (int row = 0; row < count; ++row) {
        if (!shows(facet, row))
            continue;
        const QPointF p =
            toDevice(panel.mapping, chart.x[std::size_t(row)], chart.y[std::size_t(row)]);
        if (!usable(p))
            continue;
        const QColor colour = ChartPalette::colour(chart.rowColour[std::size_t(row)]);
        if (dots) {
            const int reach = int(std::ceil(dot));
            r.markToken(painter, pass, row,
                        QRect(int(p.x()) - reach, int(p.y()) - reach, 2 * reach, 2 * reach));
            QColor faded = colour;
            faded.setAlphaF(0.35f);
            painter.setBrush(faded);
            painter.drawEllipse(p, dot, dot);
            continue;
        }
        setPenColour(painter, colour);
        const int x = int(p.x());
        const int y = int(p.y());
        const QString symbol = pass.cells->GetCellText(row, TokenTableModel::Symbol);
        r.markToken(painter, pass, row,
                    QRect(QPoint(x, y), symbol.isEmpty() ? QSize(circle, circle)
                                                         : r.m_tokenText.size(painter, symbol)));
        if (symbol.isEmpty()) {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRect(x, y, circle - 1, circle - 1));
        } else {
            r.m_tokenText.draw(painter, x, y, symbol);
        }
    }
    painter.restore();
}

void ChartRenderer::AnalysisDrawing::drawOutliers(const PanelPlace &panel, int facet)
{
    if (!(options.outlierLevel > 0.0))
        return;
    const QPointF nowhere(qQNaN(), qQNaN());
    std::vector<QPointF> points(chart.x.size(), nowhere);
    for (std::size_t row = 0; row < points.size(); ++row) {
        if (shows(facet, int(row)))
            points[row] = toDevice(panel.mapping, chart.x[row], chart.y[row]);
    }
    r.drawOutlierRings(painter, pass, points);
}

void ChartRenderer::AnalysisDrawing::drawLabel(const QPoint &at, const QString &text,
                                               const QColor &colour)
{
    // A white halo keeps the label readable over the densest cloud of tokens.
    const QFontMetrics metrics(painter.font(), painter.device());
    QPainterPath path;
    path.addText(QPointF(at.x(), at.y() + metrics.ascent()), painter.font(), text);
    const QPen pen = painter.pen();
    painter.setPen(QPen(Qt::white, 3.0 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
}

void ChartRenderer::AnalysisDrawing::drawGroups(const PanelPlace &panel, int facet)
{
    const CTessavoxDoc &doc = *pass.doc;
    if (!doc.m_bDrawEllipse)
        return;
    // Ellipses and means first, labels over them.
    struct Mark
    {
        const AnalysisChartGroup *group;
        QPoint centre;
        QString text;
        bool red;
        bool resolved;
    };
    std::vector<Mark> marks;
    const int half = 5 * u;
    for (const AnalysisChartGroup &g : chart.groups) {
        if (!g.hasMean || g.count < kMinEllipseGroupSize ||
            (!chart.facets.isEmpty() && g.facet != facet))
            continue;
        const QPointF centre = toDevice(panel.mapping, g.mean.x(), g.mean.y());
        if (!usable(centre))
            continue;
        const QColor colour = ChartPalette::colour(g.colour);
        setPenColour(painter, colour);
        if (!g.outline.empty()) {
            QPolygonF outline;
            outline.reserve(qsizetype(g.outline.size()));
            for (const QPointF &p : g.outline)
                outline << toDevice(panel.mapping, p.x(), p.y());
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(outline);
        }
        painter.setBrush(colour);
        const QPoint c(int(centre.x()), int(centre.y()));
        painter.drawEllipse(QRect(c.x() - half, c.y() - half, 2 * half - 1, 2 * half - 1));
        const auto &chosen = doc.m_nOrderLabel;
        const int order = g.order;
        const bool resolved =
            order >= 0 && order < int(chosen.size()) && chosen[std::size_t(order)] != -1;
        QString text = g.firstLabel;
        if (!g.sameLabel)
            text = resolved ? doc.m_strOrderLabel[std::size_t(order)] : QStringLiteral("?");
        marks.push_back({&g, c, text, !g.sameLabel, resolved});
        r.m_layout.means.push_back(c);
    }
    painter.setBrush(Qt::NoBrush);

    painter.setFont(pass.groupFont);
    std::vector<QPointF> anchors;
    std::vector<QSizeF> sizes;
    for (const Mark &m : marks) {
        anchors.emplace_back(m.centre);
        // One unit more each way: boxes placed apart stay apart once truncated.
        sizes.emplace_back(QSizeF(r.m_groupText.size(painter, m.text)) + QSizeF(2, 2));
    }
    std::vector<QRectF> boxes;
    if (options.fit || !chart.facets.isEmpty()) {
        std::vector<QRectF> taken;
        if (r.m_layout.legend.isValid())
            taken.emplace_back(r.m_layout.legend);
        boxes = placeLabels(anchors, sizes, QRectF(panel.plot), 4.0 * u, taken);
    } else {
        for (std::size_t i = 0; i < anchors.size(); ++i)
            boxes.emplace_back(anchors[i], sizes[i]);
    }
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const Mark &m = marks[i];
        const QPoint at(int(boxes[i].left()) + 1, int(boxes[i].top()) + 1);
        const QColor colour = m.red ? QColor(255, 0, 0) : ChartPalette::colour(m.group->colour);
        setPenColour(painter, colour);
        // A label pushed away from its mean by others gets a thin line back to it.
        const QRectF near =
            QRectF(m.centre, QSizeF(1, 1)).adjusted(-12 * u, -12 * u, 12 * u, 12 * u);
        if (!boxes[i].intersects(near)) {
            const QPointF edge(std::clamp(double(m.centre.x()), boxes[i].left(), boxes[i].right()),
                               std::clamp(double(m.centre.y()), boxes[i].top(), boxes[i].bottom()));
            painter.drawLine(QPointF(m.centre), edge);
        }
        drawLabel(at, m.text, colour);
        r.m_layout.groupLabels.push_back(boxes[i].toAlignedRect());
        if (m.red && pass.screen) {
            const QRect square(m.centre.x() - kHitHalf, m.centre.y() - kHitHalf, 2 * kHitHalf,
                               2 * kHitHalf);
            const int order = m.group->order;
            if (order >= 0 && order < int(pass.hitSquares.size()))
                pass.hitSquares[std::size_t(order)] = square;
            if (r.m_kind == ChartKind::F1F3 && !m.resolved) {
                setPenColour(painter, Qt::black);
                painter.drawRect(square.adjusted(0, 0, -1, -1));
            }
        }
    }
    setPenColour(painter, Qt::black);
}

void ChartRenderer::AnalysisDrawing::drawTrajectories(const PanelPlace &panel, int facet)
{
    // Runs of measured points as polylines: a missing point breaks the line.
    const auto stroke = [&](const std::vector<QPointF> &path) {
        QPolygonF line;
        for (const QPointF &p : path) {
            const QPointF device = toDevice(panel.mapping, p.x(), p.y());
            if (usable(device)) {
                line << device;
                continue;
            }
            if (line.size() > 1)
                painter.drawPolyline(line);
            line.clear();
        }
        if (line.size() > 1)
            painter.drawPolyline(line);
    };
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (options.tokenTrajectories) {
        // Each token's own path, thin and faded under the means.
        for (std::size_t row = 0; row < chart.rowPath.size(); ++row) {
            if (!shows(facet, int(row)))
                continue;
            QColor colour = ChartPalette::colour(chart.rowColour[row]);
            colour.setAlphaF(0.25f);
            painter.setPen(QPen(colour, 0.6 * u));
            stroke(chart.rowPath[row]);
        }
    }
    for (std::size_t g = 0; g < chart.groupPath.size() && g < chart.groups.size(); ++g) {
        const AnalysisChartGroup &group = chart.groups[g];
        const std::vector<QPointF> &path = chart.groupPath[g];
        if (path.size() < 2 || (!chart.facets.isEmpty() && group.facet != facet))
            continue;
        const QColor colour = ChartPalette::colour(group.colour);
        painter.setPen(QPen(colour, 1.5 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        stroke(path);
        // An arrowhead at the last point shows which way the vowel moves.
        const QPointF tip = toDevice(panel.mapping, path.back().x(), path.back().y());
        const QPointF from =
            toDevice(panel.mapping, path[path.size() - 2].x(), path[path.size() - 2].y());
        const QPointF d = tip - from;
        const double length = std::hypot(d.x(), d.y());
        if (!usable(tip) || !usable(from) || length < 1e-6)
            continue;
        const QPointF along = d / length * (8.0 * u);
        const QPointF across(-along.y() / 2, along.x() / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF({tip, tip - along + across, tip - along - across}));
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

void ChartRenderer::drawOutlierRings(QPainter &painter, const Pass &pass,
                                     std::span<const QPointF> points)
{
    const OutlierResult outliers = documentOutliers(*pass.doc, pass.doc->m_analysis.outlierLevel);
    // Why vowels got no rings (too few tokens, tokens on a line), once however many panels.
    for (const QString &message : outliers.messages) {
        const QString said = QStringLiteral("outliers: ") + message;
        if (!m_layout.messages.contains(said))
            m_layout.messages << said;
    }
    const int u = pass.unit;
    painter.save();
    // Red, as every mark on the chart that asks for the user's attention.
    painter.setPen(QPen(QColor(220, 0, 0), 2 * u));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(pass.tokenFont);
    for (std::size_t row = 0; row < points.size(); ++row) {
        if (!outliers.isOutlier(row) || !usable(points[row]))
            continue;
        // About the token's mark, which hangs right of and below its point.
        const QString symbol = pass.cells->GetCellText(int(row), TokenTableModel::Symbol);
        const QSize mark =
            symbol.isEmpty() ? QSize(5 * u, 5 * u) : m_tokenText.size(painter, symbol);
        const QPoint centre(int(points[row].x()) + mark.width() / 2,
                            int(points[row].y()) + mark.height() / 2);
        const int radius = std::max(mark.width(), mark.height()) / 2 + 4 * u;
        const QRect ring(centre - QPoint(radius, radius), QSize(2 * radius, 2 * radius));
        painter.drawEllipse(ring);
        m_layout.outlierRings.push_back(ring);
    }
    painter.restore();
}
