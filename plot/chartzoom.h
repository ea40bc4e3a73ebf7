#pragma once

#include <QPointF>
#include <QSizeF>

// A chart window's zoom and pan, in units of the chart's frame so that the same view fits
// a window and an exported picture of another size: a data point that the whole chart
// puts at fraction u of the frame goes to scale * u + offset. Text, ticks' lengths and
// marks keep their size; only where the data lie changes. The default shows the whole
// chart.
struct ChartZoom
{
    static constexpr double kMinScale = 1.0;
    static constexpr double kMaxScale = 64.0;

    double scale = 1.0;
    QPointF offset; // in frame widths and heights

    bool isWhole() const { return scale == 1.0 && offset.isNull(); }

    // Device position of a point the whole chart draws at `p`, in a frame at `origin` of
    // `size`.
    QPointF map(QPointF p, QPointF origin, QSizeF size) const
    {
        return origin + scale * (p - origin) +
               QPointF(offset.x() * size.width(), offset.y() * size.height());
    }

    // Zooms by `factor` about the frame fraction `at`, which stays where it is; the scale
    // stays between kMinScale and kMaxScale, and the whole chart at 1 sits unpanned.
    void zoomAt(QPointF at, double factor);
    // Moves the view by a fraction of the frame.
    void pan(QPointF by);
};
