// The chart drawn with analysis options: any scale or normalisation, ellipse kind,
// colour per group, tokens hidden, fitted to its frame. The classic chart stays in
// chartrenderer.cpp, untouched, so that its pixels never change.

#include "plot/chartpass.h"

#include "analysis/frequencyscale.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "plot/analysischart.h"
#include "plot/chartlayout.h"
#include "plot/chartpalette.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

// The classic chart's proportion: 48 units per Bark down against 32 across.
constexpr double kAspect = 48.0 / 32.0;
constexpr int kMinGroupSize = 3;
constexpr int kHitHalf = 30;

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

} // namespace

void ChartRenderer::drawAnalysis(QPainter &painter, Pass &pass)
{
    const CTessavoxDoc &doc = *pass.doc;
    const AnalysisOptions &options = doc.m_analysis;
    const int u = pass.unit;
    const AnalysisChart chart = buildAnalysisChart(doc, horizontalColumn());
    m_layout = ChartLayoutRecord{};
    m_layout.messages = chart.messages;
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const std::optional<FrequencyScale> scale =
        chart.normalised
            ? std::nullopt
            : std::optional(parseFrequencyScale(chart.scale).value_or(FrequencyScale::Bark));
    painter.setFont(pass.captionFont);
    const auto textWidth = [this, &painter](const QString &text) {
        return m_axisText.size(painter, text).width();
    };
    const int lineHeight = m_axisText.size(painter, QStringLiteral("0")).height();
    const PlotFrame &frame = pass.frame;
    const FrequencyScale boxScale = scale.value_or(FrequencyScale::Bark);
    const int hMax = m_kind == ChartKind::F1F2 ? doc.m_nF2Max : doc.m_nF3Max;
    // The display options' ranges, as the classic chart shows them.
    ValueBox box;
    box.add(hzToScale(boxScale, 400), hzToScale(boxScale, 200));
    box.add(hzToScale(boxScale, std::max(hMax, 500)),
            hzToScale(boxScale, std::max(doc.m_nF1Max, 300)));

    // Where the axes go and how values map: the classic place and size for Bark without
    // fitting; otherwise the largest chart that leaves room for the axes' text, its axes
    // close about the values shown.
    ScaleMapping mapping;
    QRect plot;
    const bool classicPlace = !options.fit && scale == FrequencyScale::Bark;
    if (classicPlace) {
        const PlotGeometry &g = pass.geometry;
        mapping = {double(g.xOrigin), double(g.yOrigin), double(g.kF2), double(g.kF1)};
        plot = QRect(QPoint(frame.left, g.yAxis), QPoint(g.xAxis, frame.bottom - 1));
    } else {
        const int labelWidth =
            std::max({textWidth(QStringLiteral("-0.000")), textWidth(QStringLiteral("00000")),
                      textWidth(chart.yCaption)});
        const int top = frame.top + 2 * lineHeight + 15 * u;
        const int right = frame.right - labelWidth - 20 * u;
        const QRect room(QPoint(frame.left + 10 * u, top),
                         QPoint(right, frame.bottom - 10 * u - 1));
        if (options.fit || chart.normalised) {
            ValueBox data;
            for (std::size_t r = 0; r < chart.x.size() && options.showTokens; ++r)
                data.add(chart.x[r], chart.y[r]);
            for (const AnalysisChartGroup &g : chart.groups) {
                if (g.hasMean)
                    data.add(g.mean.x(), g.mean.y());
                for (const QPointF &p : g.outline)
                    if (doc.m_bDrawEllipse)
                        data.add(p.x(), p.y());
            }
            if (!data.isEmpty())
                box = data;
        }
        // A margin so that marks and texts at the extremes stay inside.
        const double padX = std::max((box.xHi - box.xLo) * 0.04, 1e-6);
        const double padY = std::max((box.yHi - box.yLo) * 0.04, 1e-6);
        box.xLo -= padX;
        box.xHi += padX;
        box.yLo -= padY;
        box.yHi += padY;
        // Tokens are drawn right of and below their point, labels beside their mean.
        const QRectF inner = QRectF(room).adjusted(5 * u, 5 * u, -20 * u, -20 * u);
        mapping = fitMapping(inner, box, kAspect);
        const QRectF used(QPointF(mapping.x(box.xHi), mapping.y(box.yLo)),
                          QPointF(mapping.x(box.xLo), mapping.y(box.yHi)));
        plot = used.adjusted(-5 * u, -5 * u, 20 * u, 20 * u).toAlignedRect() & room;
    }
    // The classic place has its zoom from the geometry already.
    if (!m_zoom.isWhole() && !classicPlace) {
        // The plot area stays; the data move and grow inside it, and the ticks follow.
        const QPointF origin(frame.left, frame.top);
        const QSizeF size(frame.right - frame.left, frame.bottom - frame.top);
        const QPointF zero = m_zoom.map(QPointF(mapping.x0, mapping.y0), origin, size);
        mapping =
            ScaleMapping{zero.x(), zero.y(), mapping.kx * m_zoom.scale, mapping.ky * m_zoom.scale};
    }
    m_layout.plotArea = plot;
    m_layout.mapping = mapping;
    const auto toDevice = [&mapping](double x, double y) {
        return QPointF(mapping.x(x), mapping.y(y));
    };

    // Axes along the top and right of the plot, ticks outwards, labels beyond them. Tick
    // values are hertz for a scale (as on the classic chart) and the normalised values
    // otherwise; they cover the values shown.
    setPenColour(painter, Qt::black);
    painter.drawLine(QPoint(plot.left(), plot.top()), QPoint(plot.right(), plot.top()));
    painter.drawLine(QPoint(plot.right(), plot.top()), QPoint(plot.right(), plot.bottom()));
    const auto axisValue = [&scale](double scaled) {
        return scale ? hertzAt(*scale, scaled) : scaled;
    };
    const auto axisPosition = [&scale](double value) {
        return scale ? hzToScale(*scale, value) : value;
    };
    const double gap = 6.0 * u;
    // Horizontal axis: values run from the plot's right edge (lowest) to its left.
    {
        const double lo = axisValue(std::max(box.xLo, mapping.valueAtX(plot.right())));
        const double hi = axisValue(std::min(box.xHi, mapping.valueAtX(plot.left())));
        const std::vector<double> ticks = chooseTicks(
            lo, hi, gap, [&](double v) { return mapping.x(axisPosition(v)); },
            [&](double v) { return double(textWidth(tickText(v))); });
        for (double v : ticks) {
            const int x = int(std::lround(mapping.x(axisPosition(v))));
            painter.drawLine(QPoint(x, plot.top()), QPoint(x, plot.top() - 5 * u));
            const QString text = tickText(v);
            const QRect label(QPoint(x - textWidth(text) / 2, plot.top() - 7 * u - lineHeight),
                              QSize(textWidth(text), lineHeight));
            m_axisText.draw(painter, label.left(), label.top(), text);
            m_layout.horizontalTickLabels.push_back(label);
        }
        const QString caption = chart.xCaption;
        m_axisText.draw(painter, plot.center().x() - textWidth(caption) / 2,
                        plot.top() - 9 * u - 2 * lineHeight, caption);
    }
    // F1 axis: values grow downwards from the plot's top.
    {
        const double lo = axisValue(std::max(box.yLo, mapping.valueAtY(plot.top())));
        const double hi = axisValue(std::min(box.yHi, mapping.valueAtY(plot.bottom())));
        const std::vector<double> ticks = chooseTicks(
            lo, hi, gap / 2, [&](double v) { return mapping.y(axisPosition(v)); },
            [&](double) { return double(lineHeight); });
        for (double v : ticks) {
            const int y = int(std::lround(mapping.y(axisPosition(v))));
            painter.drawLine(QPoint(plot.right(), y), QPoint(plot.right() + 5 * u, y));
            const QString text = tickText(v);
            const QRect label(QPoint(plot.right() + 7 * u, y - lineHeight / 2),
                              QSize(textWidth(text), lineHeight));
            m_axisText.draw(painter, label.left(), label.top(), text);
            m_layout.f1TickLabels.push_back(label);
        }
        // The caption above the tick labels, level with the horizontal caption.
        const QString caption = chart.yCaption;
        const int x = std::max(
            frame.left, std::min(plot.right() + 7 * u, frame.right - textWidth(caption) - 2 * u));
        m_axisText.draw(painter, x, plot.top() - 9 * u - 2 * lineHeight, caption);
    }

    // Everything else stays inside the plot.
    painter.setClipRect(plot.adjusted(1, 1, 0, 0));

    if (options.showTokens) {
        painter.setFont(pass.tokenFont);
        const int circle = 5 * u;
        const int count = int(chart.x.size());
        for (int row = 0; row < count; ++row) {
            const QPointF p = toDevice(chart.x[std::size_t(row)], chart.y[std::size_t(row)]);
            if (!usable(p))
                continue;
            setPenColour(painter, ChartPalette::colour(chart.rowColour[std::size_t(row)]));
            const int x = int(p.x());
            const int y = int(p.y());
            const QString symbol = pass.cells->GetCellText(row, TokenTableModel::Symbol);
            if (pass.screen)
                markToken(painter, pass, row,
                          QRect(QPoint(x, y), symbol.isEmpty()
                                                  ? QSize(circle, circle)
                                                  : m_tokenText.size(painter, symbol)));
            if (symbol.isEmpty()) {
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(QRect(x, y, circle - 1, circle - 1));
            } else {
                m_tokenText.draw(painter, x, y, symbol);
            }
        }
    }
    if (!doc.m_bDrawEllipse) {
        painter.setClipping(false);
        return;
    }

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
        if (!g.hasMean || g.count < kMinGroupSize)
            continue;
        const QPointF centre = toDevice(g.mean.x(), g.mean.y());
        if (!usable(centre))
            continue;
        const QColor colour = ChartPalette::colour(g.colour);
        setPenColour(painter, colour);
        if (!g.outline.empty()) {
            QPolygonF outline;
            outline.reserve(qsizetype(g.outline.size()));
            for (const QPointF &p : g.outline)
                outline << toDevice(p.x(), p.y());
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
        m_layout.means.push_back(c);
    }
    painter.setBrush(Qt::NoBrush);

    painter.setFont(pass.groupFont);
    std::vector<QPointF> anchors;
    std::vector<QSizeF> sizes;
    for (const Mark &m : marks) {
        anchors.emplace_back(m.centre);
        // One unit more each way: boxes placed apart stay apart once truncated.
        sizes.emplace_back(QSizeF(m_groupText.size(painter, m.text)) + QSizeF(2, 2));
    }
    std::vector<QRectF> boxes;
    if (options.fit) {
        boxes = placeLabels(anchors, sizes, QRectF(plot), 4.0 * u);
    } else {
        for (std::size_t i = 0; i < anchors.size(); ++i)
            boxes.emplace_back(anchors[i], sizes[i]);
    }
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const Mark &m = marks[i];
        const QPoint at(int(boxes[i].left()) + 1, int(boxes[i].top()) + 1);
        setPenColour(painter, m.red ? QColor(255, 0, 0) : ChartPalette::colour(m.group->colour));
        // A label pushed away from its mean by others gets a thin line back to it.
        const QRectF near =
            QRectF(m.centre, QSizeF(1, 1)).adjusted(-12 * u, -12 * u, 12 * u, 12 * u);
        if (!boxes[i].intersects(near)) {
            const QPointF edge(std::clamp(double(m.centre.x()), boxes[i].left(), boxes[i].right()),
                               std::clamp(double(m.centre.y()), boxes[i].top(), boxes[i].bottom()));
            painter.drawLine(QPointF(m.centre), edge);
        }
        m_groupText.draw(painter, at.x(), at.y(), m.text);
        m_layout.groupLabels.push_back(boxes[i].toAlignedRect());
        if (m.red && pass.screen) {
            const QRect square(m.centre.x() - kHitHalf, m.centre.y() - kHitHalf, 2 * kHitHalf,
                               2 * kHitHalf);
            const int order = m.group->order;
            if (order >= 0 && order < int(pass.hitSquares.size()))
                pass.hitSquares[std::size_t(order)] = square;
            if (m_kind == ChartKind::F1F3 && !m.resolved) {
                setPenColour(painter, Qt::black);
                painter.drawRect(square.adjusted(0, 0, -1, -1));
            }
        }
    }
    setPenColour(painter, Qt::black);
    painter.setClipping(false);
}
