#include "plot/chartlayout.h"

#include <algorithm>
#include <array>
#include <cmath>

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

ScaleMapping fitMapping(const QRectF &area, ValueBox box, double aspect)
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
    m.kx = std::min(width / (box.xHi - box.xLo), height / (aspect * (box.yHi - box.yLo)));
    m.ky = aspect * m.kx;
    const QPointF centre = area.center();
    m.x0 = centre.x() + m.kx * (box.xLo + box.xHi) / 2.0;
    m.y0 = centre.y() - m.ky * (box.yLo + box.yHi) / 2.0;
    return m;
}

std::vector<double> chooseTicks(double lo, double hi, double gap,
                                const std::function<double(double)> &position,
                                const std::function<double(double)> &extent)
{
    std::vector<double> ticks;
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo)
        return ticks;
    constexpr int kMaxTicks = 200;
    constexpr std::array<double, 3> kMantissas = {1.0, 2.0, 5.0};
    // Start at the step that would give about kMaxTicks ticks.
    double power = std::pow(10.0, std::floor(std::log10((hi - lo) / kMaxTicks)));
    for (int tries = 0; tries < 60; ++tries, power *= 10.0) {
        for (double mantissa : kMantissas) {
            const double step = mantissa * power;
            const double first = std::ceil(lo / step - 1e-9);
            const double last = std::floor(hi / step + 1e-9);
            if (last - first + 1 > kMaxTicks || last < first)
                continue;
            ticks.clear();
            for (double i = first; i <= last; ++i)
                ticks.push_back(std::fabs(i) < 1e-12 ? 0.0 : i * step);
            bool apart = true;
            for (std::size_t k = 1; k < ticks.size() && apart; ++k) {
                const double distance = std::fabs(position(ticks[k]) - position(ticks[k - 1]));
                apart = distance >= (extent(ticks[k]) + extent(ticks[k - 1])) / 2.0 + gap;
            }
            if (apart)
                return ticks;
        }
    }
    ticks.clear();
    return ticks;
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
