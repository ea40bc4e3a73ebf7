#include "plot/chartzoom.h"

#include <algorithm>

void ChartZoom::zoomAt(QPointF at, double factor)
{
    const double next = std::clamp(scale * factor, kMinScale, kMaxScale);
    // Keep `at` fixed: scale * u + offset = at for the u shown there now.
    const QPointF u = (at - offset) / scale;
    offset = at - next * u;
    scale = next;
    if (scale == kMinScale)
        offset = {};
}

void ChartZoom::pan(QPointF by)
{
    if (scale > kMinScale)
        offset += by;
}
