#include "plot/bitmapexport.h"

#include "document/tessavoxdoc.h"
#include "framework/filedialogs.h"
#include "plot/plotview.h"

#include <QWidget>

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
    return ScreenRasterOf(window.screen());
}

QImage RenderChartBitmap(PlotView &view, const BitmapExtent &extent, int depth)
{
    const CTessavoxDoc *doc = view.GetDocument();
    if (!doc)
        return {};
    return RenderChartBitmap(view.renderer(), *doc, extent, depth);
}

int SaveChartBitmap(PlotView &view, const QString &path, const ScreenRaster &raster)
{
    // A raster that could not be made reaches the writer as a null image, which it
    // reports as undescribable.
    return WriteBitmapFile(RenderChartBitmap(view, raster.extent, raster.depth), path);
}
