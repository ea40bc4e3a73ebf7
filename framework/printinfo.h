#pragma once

#include <QPagedPaintDevice>
#include <QRect>

#include <algorithm>
#include <cmath>

class QPrinter;

// What a view's print hooks know about the print job in progress.
struct PrintInfo
{
    QPrinter *printer = nullptr; // not owned
    QRect m_rectDraw;            // printable area of the page, in device pixels
    int currentPage = 1;
    int minPage = 1;
    int maxPage = 1; // the framework prints pages minPage..maxPage
    bool preview = false;
};

// Width of a printed line in device units: at least a quarter point, since a one-unit
// line at printer resolution is a hairline that all but vanishes in previews and PDF
// viewers. Screens and bitmaps, which are not paged, keep their one-pixel lines.
inline int PrintLineWidth(const QPaintDevice *device)
{
    if (!dynamic_cast<const QPagedPaintDevice *>(device))
        return 1;
    return std::max(1, int(std::ceil(0.25 * device->logicalDpiX() / 72.0)));
}
