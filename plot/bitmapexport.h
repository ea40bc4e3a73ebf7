#pragma once

#include "plot/chartbitmap.h"

#include <QString>

class PlotView;
class QWidget;

// Save As Bitmap in the chart window: the file dialog and the picture of the window's chart
// at the density of the screen showing it.

// Asks for the bitmap's path in the Save As dialog, proposing `defaultName`. Returns the
// full path, or an empty string when the user cancels.
QString GetBitmapFileName(const QString &defaultName);

// The raster of the screen showing `window`.
ScreenRaster ScreenRasterFor(const QWidget &window);

// The chart of `view` as RenderChartBitmap draws it; a null image without a document.
QImage RenderChartBitmap(PlotView &view, const BitmapExtent &extent, int depth);

// Draws the chart as RenderChartBitmap does and writes it to `path`. Returns 0 or the
// string id of the failure, as WriteBitmapFile does.
int SaveChartBitmap(PlotView &view, const QString &path, const ScreenRaster &raster);
