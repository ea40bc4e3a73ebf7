#include "plot/bitmapexport.h"

#include "framework/filedialogs.h"
#include "plot/plotgeometry.h"
#include "plot/plotview.h"

#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <exception>

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

QString GetBitmapFileName(const QString &defaultName)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save As BMP");
    request.filterName = QStringLiteral("Bitmap files (*.BMP)");
    // File names are case-sensitive here: the one entry lists lower-case names too.
    request.patterns = {QStringLiteral("*.BMP"), QStringLiteral("*.bmp")};
    request.defaultSuffix = QStringLiteral("BMP");
    request.initialPath = defaultName;
    return FileDialogs::ask(request);
}

ScreenRaster ScreenRasterFor(const QWidget &window)
{
    ScreenRaster raster;
    const QScreen *screen = window.screen();
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

QImage RenderChartBitmap(PlotView &view, const BitmapExtent &extent, int depth)
{
    if (extent.width <= 0 || extent.height <= 0)
        return {};
    QImage image(extent.width, extent.height, QImage::Format_RGB32);
    if (image.isNull())
        return {}; // too large to allocate
    image.fill(Qt::white);
    QPainter painter(&image);
    try {
        view.DrawPlotToDC(painter, PlotFrame{kFrameLeft, 0, extent.width, extent.height}, 1, 1);
    } catch (const std::exception &) {
        return {}; // a table that fails to answer gives no picture, not half a one
    }
    painter.end();
    return inScreenLayout(image, depth);
}

int SaveChartBitmap(PlotView &view, const QString &path, const ScreenRaster &raster)
{
    // A raster that could not be made reaches the writer as a null image, which it
    // reports as undescribable.
    return WriteBitmapFile(RenderChartBitmap(view, raster.extent, raster.depth), path);
}
