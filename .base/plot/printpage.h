#pragma once

#include <QRect>
#include <QString>

class QPainter;

// The layout of a printed chart page: a chart frame of a fixed shape, scaled to the
// printer's resolution, with the document's title centred above it.
struct PrintPageLayout
{
    // Frame edges in device units, measured from the device origin; right and bottom are
    // the far edges (left + width, top + height).
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int unit = 2;     // device units per chart pixel
    int margin = 300; // device units

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // As a QRect (whose right() and bottom() are inclusive).
    QRect frameRect() const { return QRect(left, top, width(), height()); }
};

// The layout for a drawing area of `drawWidth` x `drawHeight` device units. The frame is
// widthFactor x margin wide and heightFactor x margin tall.
PrintPageLayout ComputePrintPageLayout(int drawWidth, int drawHeight, double widthFactor,
                                       double heightFactor);

// Computes the layout for `rectDraw`, draws `title` centred above the frame in the
// "PrintFont" sized like a blank of the painter's current font, and returns the layout.
PrintPageLayout PreparePrintPage(QPainter &painter, const QRect &rectDraw, double widthFactor,
                                 double heightFactor, const QString &title);
