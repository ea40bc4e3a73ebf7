#include "plot/pngfile.h"

#include "plot/pngencoder.h"

#include <QImage>
#include <QImageWriter>
#include <QList>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kPaletteSize = 256;

// Colour to palette index, for at most a full palette: open addressing in a table four
// times that size, so a lookup costs a multiply and a probe or two.
class PaletteIndex
{
public:
    PaletteIndex() { m_slots.fill(Slot{0, -1}); }

    // The colour's index, added when new; -1 when the palette is already full.
    int indexOf(QRgb colour, QList<QRgb> &palette)
    {
        std::size_t slot = (colour * 2654435761u) >> (32 - kBits);
        while (m_slots[slot].index >= 0) {
            if (m_slots[slot].colour == colour)
                return m_slots[slot].index;
            slot = (slot + 1) & (kSlots - 1);
        }
        if (palette.size() == kPaletteSize)
            return -1;
        m_slots[slot] = Slot{colour, int(palette.size())};
        palette.append(colour);
        return m_slots[slot].index;
    }

private:
    // Colour and index side by side: one load finds both.
    struct Slot
    {
        QRgb colour;
        int index; // -1 for a free slot
    };
    static constexpr int kBits = 10;
    static constexpr std::size_t kSlots = std::size_t(1) << kBits;
    std::array<Slot, kSlots> m_slots;
};

// The image as 32-bit pixels, with its alpha kept when it has any; a chart is drawn in
// one of these formats already and is not copied.
QImage thirtyTwoBitImage(const QImage &image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

// Whether the eight pixels from `pixels` on are all `colour`.
bool sameColour(const QRgb *pixels, QRgb colour)
{
    const std::uint64_t two = (std::uint64_t(colour) << 32) | colour;
    std::array<std::uint64_t, 4> words;
    std::memcpy(words.data(), pixels, sizeof(words));
    return ((words[0] ^ two) | (words[1] ^ two) | (words[2] ^ two) | (words[3] ^ two)) == 0;
}

// Writes the palette index of each pixel of `source` (32-bit, see above) to `out`, row y
// at `out + y * stride`, and the colours to `palette`; false when there are more than a
// palette holds.
bool mapToPalette(const QImage &source, uchar *out, qsizetype stride, QList<QRgb> &palette)
{
    PaletteIndex index;
    // Asked once: the image's accessors are calls into Qt, too dear per pixel.
    const int width = source.width();
    const int height = source.height();
    const qsizetype sourceStride = source.bytesPerLine();
    const uchar *sourceBits = source.constBits();
    for (int y = 0; y < height; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(sourceBits + y * sourceStride);
        uchar *row = out + y * stride;
        // Blank margins and gaps repeat whole rows.
        if (y > 0 && std::memcmp(pixels, sourceBits + (y - 1) * sourceStride,
                                 std::size_t(width) * sizeof(QRgb)) == 0) {
            std::memcpy(row, row - stride, std::size_t(width));
            continue;
        }
        // Eight pixels at a time: a stretch of one colour is filled at once, and the pixels
        // of any other are each looked up, which costs less than finding where runs end.
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const QRgb first = pixels[x];
            if (sameColour(pixels + x, first)) {
                const int i = index.indexOf(first, palette);
                if (i < 0)
                    return false;
                std::memset(row + x, i, 8);
                continue;
            }
            for (int k = x; k < x + 8; ++k) {
                const int i = index.indexOf(pixels[k], palette);
                if (i < 0)
                    return false;
                row[k] = uchar(i);
            }
        }
        for (; x < width; ++x) {
            const int i = index.indexOf(pixels[x], palette);
            if (i < 0)
                return false;
            row[x] = uchar(i);
        }
    }
    return true;
}

bool writePalettePng(const QImage &image, const uchar *scanlines, qsizetype size,
                     QList<QRgb> palette, QIODevice *device)
{
    // An image without alpha is opaque whatever its pixels' unused byte holds.
    if (!image.hasAlphaChannel()) {
        for (QRgb &colour : palette)
            colour |= 0xff000000u;
    }
    PngEncoder png(device);
    return png.writeHeader(image.size(), PngEncoder::Pixels::Palette, image.dotsPerMeterX(),
                           image.dotsPerMeterY()) &&
           png.writePalette(palette) &&
           png.writeScanlines(std::span(scanlines, std::size_t(size))) && png.writeEnd();
}

bool writeTrueColourPng(const QImage &image, const QImage &source, QIODevice *device)
{
    const bool alpha = image.hasAlphaChannel();
    const int channels = alpha ? 4 : 3;
    const int width = source.width();
    const qsizetype rowBytes = 1 + qsizetype(width) * channels;
    const qsizetype size = rowBytes * source.height();
    const auto scanlines = std::make_unique_for_overwrite<uchar[]>(std::size_t(size));
    for (int y = 0; y < source.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *row = scanlines.get() + y * rowBytes;
        row[0] = 2; // each byte less the one above it, see below
        uchar *bytes = row + 1;
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixels[x];
            bytes[0] = uchar(qRed(p));
            bytes[1] = uchar(qGreen(p));
            bytes[2] = uchar(qBlue(p));
            if (alpha)
                bytes[3] = uchar(qAlpha(p));
            bytes += channels;
        }
    }
    // From the bottom up, so that the row above is still as drawn. A chart's rows mostly
    // repeat the one above, which leaves runs of zeros; this measured smaller and faster
    // than taking each byte less the pixel to its left.
    for (qsizetype y = source.height() - 1; y > 0; --y) {
        uchar *row = scanlines.get() + y * rowBytes;
        const uchar *above = row - rowBytes;
        for (qsizetype i = 1; i < rowBytes; ++i)
            row[i] = uchar(row[i] - above[i]);
    }
    PngEncoder png(device);
    return png.writeHeader(image.size(), alpha ? PngEncoder::Pixels::Rgba : PngEncoder::Pixels::Rgb,
                           image.dotsPerMeterX(), image.dotsPerMeterY()) &&
           png.writeScanlines(std::span(scanlines.get(), std::size_t(size))) && png.writeEnd();
}

} // namespace

QImage ExactPaletteImage(const QImage &image)
{
    if (image.isNull())
        return {};
    const QImage source = thirtyTwoBitImage(image);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    QList<QRgb> palette;
    if (!mapToPalette(source, indexed.bits(), indexed.bytesPerLine(), palette))
        return {};
    indexed.setColorTable(palette);
    return indexed;
}

bool WritePngImage(const QImage &image, QIODevice *device)
{
    if (image.isNull())
        return false;
    try {
        const QImage source = thirtyTwoBitImage(image);
        if (source.isNull())
            return false;
        // A palette image's scanlines: a filter byte (none) and a palette index a pixel.
        const qsizetype rowBytes = 1 + qsizetype(source.width());
        const qsizetype size = rowBytes * source.height();
        const auto scanlines = std::make_unique_for_overwrite<uchar[]>(std::size_t(size));
        for (int y = 0; y < source.height(); ++y)
            scanlines[y * rowBytes] = 0;
        QList<QRgb> palette;
        if (mapToPalette(source, scanlines.get() + 1, rowBytes, palette))
            return writePalettePng(image, scanlines.get(), size, palette, device);
        // Deeper than eight bits a channel: Qt's writer keeps every bit.
        if (image.depth() > 32) {
            QImageWriter writer(device, "png");
            writer.setQuality(80);
            return writer.write(image);
        }
        return writeTrueColourPng(image, source, device);
    } catch (const std::bad_alloc &) {
        // Too large for memory: nothing complete was written.
        return false;
    }
}
