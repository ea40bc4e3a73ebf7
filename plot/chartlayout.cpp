#include "plot/chartlayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <ranges>

void ValueBox::add(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (isEmpty()) {
        xLo = xHi = x;
        yLo = yHi = y;
        return;
    }
    xLo = std::min(xLo, x);
    xHi = std::max(xHi, x);
    yLo = std::min(yLo, y);
    yHi = std::max(yHi, y);
}

ScaleMapping fitMapping(const QRectF &area, ValueBox box, std::optional<double> aspect)
{
    if (box.isEmpty())
        box = {0.0, 1.0, 0.0, 1.0};
    // A single value or a line still needs room: widen it by a unit about its middle.
    const auto widen = [](double &lo, double &hi) {
        if (hi - lo < 1e-9 * std::max(1.0, std::fabs(lo))) {
            lo -= 0.5;
            hi += 0.5;
        }
    };
    widen(box.xLo, box.xHi);
    widen(box.yLo, box.yHi);
    const double width = std::max(area.width(), 1.0);
    const double height = std::max(area.height(), 1.0);
    ScaleMapping m;
    m.kx = width / (box.xHi - box.xLo);
    m.ky = height / (box.yHi - box.yLo);
    if (aspect) {
        m.kx = std::min(m.kx, m.ky / *aspect);
        m.ky = *aspect * m.kx;
    }
    const QPointF centre = area.center();
    m.x0 = centre.x() + m.kx * (box.xLo + box.xHi) / 2.0;
    m.y0 = centre.y() - m.ky * (box.yLo + box.yHi) / 2.0;
    return m;
}

int AxisTicks::labelCount() const
{
    return int(std::ranges::count(labelled, true));
}

namespace {

constexpr int kFewestLabels = 4;
constexpr int kMostLabels = 10;

// Multiples of `step` from lo to hi; empty when there would be more than `most`.
std::vector<double> multiples(double lo, double hi, double step, int most)
{
    std::vector<double> values;
    const double first = std::ceil(lo / step - 1e-9);
    const double last = std::floor(hi / step + 1e-9);
    // Far from 0 a step too fine for the values' precision gives nothing.
    if (last < first || last - first + 1 > most || std::fabs(first) > 1e12)
        return values;
    const int count = int(last - first) + 1;
    for (int k = 0; k < count; ++k) {
        const double i = first + k;
        values.push_back(std::fabs(i) < 1e-12 ? 0.0 : i * step);
    }
    return values;
}

bool nearly(double a, double b)
{
    return std::fabs(a - b) < 1e-9 * std::max(1.0, std::fabs(b));
}

// |value| scaled by a power of ten into [1, 10); 0 for 0.
double leadingDigits(double value)
{
    const double magnitude = std::fabs(value);
    return magnitude < 1e-12 ? 0.0 : magnitude / std::pow(10.0, std::floor(std::log10(magnitude)));
}

// How round a tick value is, 0 the roundest: 0 and 1 times a power of ten; 2 or 5 times
// one; another single digit; a half between two of those; anything else.
constexpr int kLeastRound = 4;
int roundness(double value)
{
    const double digits = leadingDigits(value);
    if (digits == 0.0)
        return 0;
    const double single = std::round(digits);
    if (nearly(digits, single))
        return single == 1.0 || single == 10.0 ? 0 : single == 2.0 || single == 5.0 ? 1 : 2;
    return nearly(2.0 * digits, std::round(2.0 * digits)) ? 3 : kLeastRound;
}

} // namespace

AxisTicks chooseTicks(double lo, double hi, double gap,
                      const std::function<double(double)> &position,
                      const std::function<double(double)> &extent)
{
    AxisTicks ticks;
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo)
        return ticks;
    const auto apart = [&](double a, double b) {
        return std::fabs(position(b) - position(a)) >= (extent(a) + extent(b)) / 2.0 + gap;
    };
    // Steps from the one that gives about twenty ticks upwards.
    std::vector<double> steps;
    double power = std::pow(10.0, std::floor(std::log10((hi - lo) / 20.0)));
    for (int decade = 0; decade < 4; ++decade, power *= 10.0)
        for (double mantissa : {1.0, 2.0, 5.0})
            steps.push_back(mantissa * power);

    // Every label of a step, all apart, 4 to 10 of them.
    for (double step : steps) {
        const std::vector<double> values = multiples(lo, hi, step, kMostLabels);
        if (int(values.size()) < kFewestLabels)
            continue;
        bool clear = true;
        for (std::size_t k = 1; k < values.size() && clear; ++k)
            clear = apart(values[k - 1], values[k]);
        if (clear)
            return {values, std::vector<bool>(values.size(), true)};
    }
    // Otherwise the finest step with few enough ticks, whose roundest values are labelled
    // first, each where it clears the labels already kept: 1, 2 and 5 times a power of ten,
    // then the other single digits, then the halves between them; other values only while
    // fewer than four labels stand. A scale that packs the high frequencies together
    // thus reads 500, 1000, 2000 rather than 1600, 2400, 3600. Steps of 2 would pass over
    // the fives, so only steps of 1 and 5 serve here. Failing four labels, coarser steps
    // are tried, down to whatever fits on a very short axis.
    AxisTicks best;
    for (double step : steps) {
        if (nearly(leadingDigits(step), 2.0))
            continue;
        const std::vector<double> values = multiples(lo, hi, step, 2 * kMostLabels);
        if (values.empty())
            continue;
        AxisTicks candidate{values, std::vector<bool>(values.size(), false)};
        int count = 0;
        for (int kind = 0; kind < kLeastRound || (kind == kLeastRound && count < kFewestLabels);
             ++kind) {
            for (std::size_t k = 0; k < values.size() && count < kMostLabels; ++k) {
                if (roundness(values[k]) != kind)
                    continue;
                const bool clear = std::ranges::none_of(
                    std::views::iota(std::size_t(0), values.size()), [&](std::size_t other) {
                        return candidate.labelled[other] && !apart(values[other], values[k]);
                    });
                if (!clear)
                    continue;
                candidate.labelled[k] = true;
                ++count;
            }
        }
        if (count >= kFewestLabels && candidate.values.size() <= std::size_t(kMostLabels) + 2)
            return candidate;
        if (candidate.labelCount() > best.labelCount() ||
            (candidate.labelCount() == best.labelCount() && best.values.size() > values.size()))
            best = std::move(candidate);
    }
    return best;
}

namespace {

bool overlapsAny(const QRectF &box, std::span<const QRectF> boxes)
{
    return std::ranges::any_of(boxes,
                               [&box](const QRectF &other) { return box.intersects(other); });
}

} // namespace

std::vector<QRectF> placeLabels(std::span<const QPointF> anchors, std::span<const QSizeF> sizes,
                                const QRectF &bounds, double clearance,
                                std::span<const QRectF> taken)
{
    std::vector<QRectF> placed;
    std::vector<QRectF> occupied(taken.begin(), taken.end());
    placed.reserve(anchors.size());
    // Right, left, above, below, then the corners, on rings further and further out.
    constexpr std::array<std::array<double, 2>, 8> kDirections = {
        {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}}};
    constexpr int kRings = 40;
    for (std::size_t i = 0; i < anchors.size() && i < sizes.size(); ++i) {
        const QPointF a = anchors[i];
        const QSizeF s = sizes[i];
        // Rings grow by half the label's smaller side, so that they cover the plane.
        const double step = std::max(clearance, std::min(s.width(), s.height()) / 2);
        const auto boxAt = [&](int ring, const std::array<double, 2> &d) {
            const double r = clearance + step * ring;
            // The box's near edge (or corner) lies r from the anchor in direction d.
            const double left = d[0] > 0   ? a.x() + r
                                : d[0] < 0 ? a.x() - r - s.width()
                                           : a.x() - s.width() / 2;
            const double top = d[1] > 0   ? a.y() + r
                               : d[1] < 0 ? a.y() - r - s.height()
                                          : a.y() - s.height() / 2;
            return QRectF(QPointF(left, top), s);
        };
        QRectF chosen = boxAt(0, kDirections[0]);
        bool found = false;
        // First inside the bounds; failing that, anywhere free.
        for (int pass = 0; pass < 2 && !found; ++pass) {
            for (int ring = 0; ring < kRings && !found; ++ring) {
                for (const auto &d : kDirections) {
                    const QRectF box = boxAt(ring, d);
                    if ((pass == 1 || bounds.contains(box)) && !overlapsAny(box, occupied)) {
                        chosen = box;
                        found = true;
                        break;
                    }
                }
            }
        }
        occupied.push_back(chosen);
        placed.push_back(chosen);
    }
    return placed;
}
