#include "plot/pngfile.h"

#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QList>

namespace {

constexpr int kPaletteSize = 256;

} // namespace

QImage ExactPaletteImage(const QImage &image)
{
    if (image.isNull())
        return {};
    const QImage source = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    QHash<QRgb, int> indexOf;
    QList<QRgb> palette;
    for (int y = 0; y < source.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *row = indexed.scanLine(y);
        // Runs of one colour are the rule; look each run up once.
        QRgb runColour = ~pixels[0];
        int runIndex = 0;
        for (int x = 0; x < source.width(); ++x) {
            if (pixels[x] != runColour) {
                runColour = pixels[x];
                auto known = indexOf.constFind(runColour);
                if (known == indexOf.cend()) {
                    if (palette.size() == kPaletteSize)
                        return {};
                    known = indexOf.insert(runColour, int(palette.size()));
                    palette.append(runColour);
                }
                runIndex = *known;
            }
            row[x] = uchar(runIndex);
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

bool WritePngImage(const QImage &image, QIODevice *device)
{
    QImage palette = ExactPaletteImage(image);
    // The resolution the picture was drawn for goes into the file either way.
    if (!palette.isNull()) {
        palette.setDotsPerMeterX(image.dotsPerMeterX());
        palette.setDotsPerMeterY(image.dotsPerMeterY());
    }
    QImageWriter writer(device, "png");
    if (!palette.isNull())
        return writer.write(palette);
    // Qt's PNG quality runs opposite to effort: 80 is zlib's fastest level, which on chart
    // images also gives a slightly smaller file than the default.
    writer.setQuality(80);
    return writer.write(image);
}
