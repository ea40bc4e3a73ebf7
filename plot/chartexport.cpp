#include "plot/chartexport.h"

#include "framework/safefile.h"
#include "framework/stringtable.h"
#include "plot/bitmapfile.h"
#include "plot/documentchart.h"
#include "plot/pngfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontInfo>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cmath>

namespace {

// The window's picture at `pixels`; finer than the window when `dotsPerInch` is above 96.
QImage rasterChart(const CTessavoxDoc &doc, ChartKind kind, QSize pixels, int dotsPerInch,
                   const ChartZoom &zoom)
{
    const double scale = dotsPerInch > 0 ? dotsPerInch / 96.0 : 1.0;
    const QSize logical(std::max(1, int(std::lround(pixels.width() / scale))),
                        std::max(1, int(std::lround(pixels.height() / scale))));
    DocumentChart chart(doc, kind, logical);
    chart.renderer().setZoom(zoom);
    QImage image(pixels, QImage::Format_RGB32);
    // A chart window is cleared to white before it paints.
    image.fill(Qt::white);
    {
        // Drawn at the screen's density and magnified as a whole: fonts sized for the
        // device's own density would be magnified twice.
        QPainter painter(&image);
        if (scale != 1.0)
            painter.scale(scale, scale);
        chart.drawWindow(painter);
    }
    if (dotsPerInch > 0) {
        const int perMetre = int(std::lround(dotsPerInch / 0.0254));
        image.setDotsPerMeterX(perMetre);
        image.setDotsPerMeterY(perMetre);
    }
    return image;
}

// Vector output paints the same window picture onto a page of the window's size, one
// unit a pixel, so text stays text and lines stay lines at any magnification.
void paintVector(QPaintDevice &device, DocumentChart &chart)
{
    QPainter painter(&device);
    painter.fillRect(chart.rect(), Qt::white);
    chart.drawWindow(painter);
}

// The generator names each font as the chart asked for it ("DisplayFont", "Sans Serif"),
// which other programs do not know and would replace with their default serif face. Name
// the installed family that drew the text instead, so the drawing reads as on screen.
QByteArray withInstalledFamilies(const QByteArray &svg)
{
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\"]*)\""));
    const QString text = QString::fromUtf8(svg);
    QHash<QString, QString> installed;
    QString result;
    result.reserve(text.size());
    qsizetype done = 0;
    for (const QRegularExpressionMatch &m : family.globalMatch(text)) {
        const QString asked = m.captured(1);
        auto it = installed.find(asked);
        if (it == installed.end())
            it = installed.insert(asked, QFontInfo(QFont(asked)).family().toHtmlEscaped());
        result += QStringView(text).mid(done, m.capturedStart(1) - done);
        result += *it;
        done = m.capturedEnd(1);
    }
    result += QStringView(text).mid(done);
    return result.toUtf8();
}

} // namespace

std::optional<ChartFileFormat> chartFileFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ChartFileFormat::Png;
    if (suffix == QLatin1String("bmp"))
        return ChartFileFormat::Bmp;
    if (suffix == QLatin1String("svg"))
        return ChartFileFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return ChartFileFormat::Pdf;
    return std::nullopt;
}

FileError WriteChartFile(const CTessavoxDoc &doc, ChartKind kind,
                         const ChartExportSettings &settings)
{
    if (settings.size.width() < 1 || settings.size.height() < 1)
        return FileError{FileError::Kind::WriteFailed, settings.path,
                         QStringLiteral("the picture has no area")};
    if (settings.format == ChartFileFormat::Bmp) {
        const int status =
            WriteBitmapFile(rasterChart(doc, kind, settings.size, 0, settings.zoom), settings.path);
        if (status != 0)
            return FileError{FileError::Kind::WriteFailed, settings.path, LoadString(status)};
        return {};
    }

    // Through the program's safe writer: a failure leaves no partial file and keeps an
    // existing one.
    FileError error;
    switch (settings.format) {
    case ChartFileFormat::Png:
        error = WriteFileSafely(settings.path, [&](QIODevice &device) {
            return WritePngImage(
                rasterChart(doc, kind, settings.size, settings.dotsPerInch, settings.zoom),
                &device);
        });
        break;
    case ChartFileFormat::Svg: {
        DocumentChart chart(doc, kind, settings.size);
        chart.renderer().setZoom(settings.zoom);
        QBuffer buffer;
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(chart.size());
        svg.setViewBox(chart.rect());
        svg.setTitle(settings.title);
        svg.setDescription(QStringLiteral("Vowel chart drawn by Tessavox"));
        paintVector(svg, chart);
        error = WriteFileSafely(settings.path, withInstalledFamilies(buffer.data()));
        break;
    }
    case ChartFileFormat::Pdf:
        error = WriteFileSafely(settings.path, [&](QIODevice &device) {
            DocumentChart chart(doc, kind, settings.size);
            chart.renderer().setZoom(settings.zoom);
            QPdfWriter pdf(&device);
            pdf.setResolution(72);
            pdf.setPageLayout(QPageLayout(
                QPageSize(QSizeF(chart.size()), QPageSize::Point, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF()));
            pdf.setTitle(settings.title);
            pdf.setCreator(QStringLiteral("Tessavox"));
            paintVector(pdf, chart);
            return true;
        });
        break;
    case ChartFileFormat::Bmp:
        break;
    }
    return error;
}
