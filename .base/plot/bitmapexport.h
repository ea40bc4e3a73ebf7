#pragma once

#include "plot/bitmapfile.h"

#include <QImage>
#include <QString>

class PlotView;
class QWidget;

// Save As Bitmap: the file dialog, the off-screen picture of a chart and its file. The
// chart views' OnFileSaveBitmap and tessavox-batch both go through here.

// Asks for the bitmap's path in the Save As dialog, proposing `defaultName`. Returns the
// full path, or an empty string when the user cancels.
QString GetBitmapFileName(const QString &defaultName);

// What the exported picture takes from the screen showing a window: its size (175 mm by
// 225 mm at the screen's pixel density) and its bits per pixel.
struct ScreenRaster
{
    BitmapExtent extent;
    int depth = 32;
};
ScreenRaster ScreenRasterFor(const QWidget &window);

// The image size for a density given directly in pixels per millimetre.
BitmapExtent BitmapExtentForDensity(double xPixelsPerMm, double yPixelsPerMm);

// The chart of `view` on a white raster of `extent` in the pixel layout of a `depth`-bit
// screen, drawn as for a device with the frame (20, 0, W, H), unit 1 and zoom 1. A null
// image when the raster cannot be made.
QImage RenderChartBitmap(PlotView &view, const BitmapExtent &extent, int depth);

// Draws the chart as RenderChartBitmap does and writes it to `path`. Returns 0 or the
// string id of the failure, as WriteBitmapFile does.
int SaveChartBitmap(PlotView &view, const QString &path, const ScreenRaster &raster);
