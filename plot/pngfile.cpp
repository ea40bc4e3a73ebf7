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
    // Asked once: the image's accessors are calls into Qt, too dear per pixel.
    const int width = source.width();
    const int height = source.height();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype indexedStride = indexed.bytesPerLine();
    const uchar *sourceBits = source.constBits();
    uchar *indexedBits = indexed.bits();
    for (int y = 0; y < height; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(sourceBits + y * sourceStride);
        uchar *row = indexedBits + y * indexedStride;
        // Runs of one colour are the rule; look each run up once.
        QRgb runColour = ~pixels[0];
        int runIndex = 0;
        for (int x = 0; x < width; ++x) {
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
    // Qt's PNG quality runs opposite to effort: 80 is zlib's fastest level. A chart's
    // palette file comes out about a fifth larger than at the default level but is written
    // two and a half times as fast; in true colour the file is even slightly smaller.
    writer.setQuality(80);
    return writer.write(palette.isNull() ? image : palette);
}
