#pragma once

#include <QRect>
#include <QString>

#include <functional>

class ChartRenderer;
class CTessavoxDoc;
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

// What the chart draws beyond its frame for a layout: the F1 axis with its labels and
// caption, in device units.
using ChartOverhang = std::function<QRect(const PrintPageLayout &)>;

// Keeps the chart's overhang on the page `rectDraw`. A page too short for the F1 axis
// gets a smaller unit, down to 1; a page too narrow for its labels and caption gets a
// narrower frame. A layout that fits is returned unchanged.
PrintPageLayout FitPrintPageLayout(PrintPageLayout layout, const QRect &rectDraw,
                                   const ChartOverhang &overhang);

// Computes the layout for `rectDraw`, fitted to it when `overhang` is given, draws
// `title` centred above the frame in the "PrintFont" sized like a blank of the painter's
// current font, and returns the layout.
PrintPageLayout PreparePrintPage(QPainter &painter, const QRect &rectDraw, double widthFactor,
                                 double heightFactor, const QString &title,
                                 const ChartOverhang &overhang = {});

// A chart's printed page, as File > Print prints it and tessavox-batch print writes it:
// the title above a frame of 7 x 9 margins and the chart at twice the window's scale, on
// the printable area `drawArea` in device units.
void PrintChartPage(QPainter &painter, const QRect &drawArea, ChartRenderer &renderer,
                    const CTessavoxDoc &doc, const QString &title);
