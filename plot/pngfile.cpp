#include "plot/pngfile.h"

#include <QImage>
#include <QImageWriter>
#include <QList>

#include <array>
#include <cstdint>

namespace {

constexpr int kPaletteSize = 256;

// Colour to palette index, for at most a full palette: open addressing in a table four
// times that size, so a lookup costs a multiply and a probe or two.
class PaletteIndex
{
public:
    // The colour's index, added when new; -1 when the palette is already full.
    int indexOf(QRgb colour, QList<QRgb> &palette)
    {
        std::size_t slot = (colour * 2654435761u) >> (32 - kBits);
        while (m_used[slot]) {
            if (m_colours[slot] == colour)
                return m_indices[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        if (palette.size() == kPaletteSize)
            return -1;
        m_used[slot] = true;
        m_colours[slot] = colour;
        m_indices[slot] = std::uint8_t(palette.size());
        palette.append(colour);
        return m_indices[slot];
    }

private:
    static constexpr int kBits = 10;
    static constexpr std::size_t kSlots = std::size_t(1) << kBits;
    std::array<QRgb, kSlots> m_colours{};
    std::array<std::uint8_t, kSlots> m_indices{};
    std::array<bool, kSlots> m_used{};
};

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
    PaletteIndex index;
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
                runIndex = index.indexOf(runColour, palette);
                if (runIndex < 0)
                    return {};
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
