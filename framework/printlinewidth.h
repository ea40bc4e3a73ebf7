#pragma once

#include <QPagedPaintDevice>

#include <algorithm>
#include <cmath>

// Width of a printed line in device units: at least a quarter point, since a one-unit
// line at printer resolution is a hairline that all but vanishes in previews and PDF
// viewers. Screens and bitmaps, which are not paged, keep their one-pixel lines. Needs no
// widgets: the chart and the table print through it in the batch tool too.
inline int PrintLineWidth(const QPaintDevice *device)
{
    if (!dynamic_cast<const QPagedPaintDevice *>(device))
        return 1;
    return std::max(1, int(std::ceil(0.25 * device->logicalDpiX() / 72.0)));
}
