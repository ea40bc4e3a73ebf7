#include "plot/chartbitmap.h"

#include "plot/chartrenderer.h"
#include "plot/plotgeometry.h"

#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// The picture is 175 mm wide and 225 mm tall at the screen's density.
constexpr double kWidthMm = 175.0;
constexpr double kHeightMm = 225.0;
// Left edge of the chart frame in the picture.
constexpr int kFrameLeft = 20;

// Chart pixels in the layout a screen of `depth` bits keeps them in. The chart is drawn in
// true colour first, since a painter cannot draw into palette rasters.
QImage inScreenLayout(const QImage &image, int depth)
{
    if (depth > 8)
        return image;
    if (depth == 1)
        return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

} // namespace

ScreenRaster ScreenRasterOf(const QScreen *screen)
{
    ScreenRaster raster;
    if (!screen)
        return raster;
    const double ratio = screen->devicePixelRatio();
    const QSizeF millimetres = screen->physicalSize();
    raster.extent = BitmapExtentForScreen(
        int(std::lround(screen->size().width() * ratio)), millimetres.width(),
        int(std::lround(screen->size().height() * ratio)), millimetres.height());
    raster.depth = screen->depth();
    return raster;
}

BitmapExtent BitmapExtentForDensity(double xPixelsPerMm, double yPixelsPerMm)
{
    const double width = xPixelsPerMm * kWidthMm;
    const double height = yPixelsPerMm * kHeightMm;
    if (!isDeviceCoordinate(width) || !isDeviceCoordinate(height) || width < 0 || height < 0)
        return {};
    return {toDeviceUnits(width), toDeviceUnits(height)};
}

QImage RenderChartBitmap(ChartRenderer &renderer, const CTessavoxDoc &doc,
                         const BitmapExtent &extent, int depth)
{
    if (extent.width <= 0 || extent.height <= 0)
        return {};
    QImage image(extent.width, extent.height, QImage::Format_RGB32);
    if (image.isNull())
        return {}; // too large to allocate
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.DrawPlotToDC(painter, doc, PlotFrame{kFrameLeft, 0, extent.width, extent.height}, 1,
                          1);
    painter.end();
    return inScreenLayout(image, depth);
}
