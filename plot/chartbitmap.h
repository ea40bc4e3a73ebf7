#pragma once

#include "plot/bitmapfile.h"

#include <QImage>

class ChartRenderer;
class CTessavoxDoc;
class QScreen;

// The off-screen picture of a chart that Save As Bitmap writes, in the chart window and in
// tessavox-batch alike.

// What the exported picture takes from a screen: its size (175 mm by 225 mm at the
// screen's pixel density) and its bits per pixel. A null screen gives an empty extent.
struct ScreenRaster
{
    BitmapExtent extent;
    int depth = 32;
};
ScreenRaster ScreenRasterOf(const QScreen *screen);

// The image size for a density given directly in pixels per millimetre.
BitmapExtent BitmapExtentForDensity(double xPixelsPerMm, double yPixelsPerMm);

// The chart on a white raster of `extent` in the pixel layout of a `depth`-bit screen,
// drawn as for a device with the frame (20, 0, W, H), unit 1 and zoom 1. A null image when
// the raster cannot be made.
QImage RenderChartBitmap(ChartRenderer &renderer, const CTessavoxDoc &doc,
                         const BitmapExtent &extent, int depth);
