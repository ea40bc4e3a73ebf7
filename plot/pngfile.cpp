#include "pngfile.h"

#include <QImage>
#include <QImageWriter>
#include <QList>

#include <array>

namespace {

constexpr int kPaletteSize = 256;

// Colours seen so far and their palette index: a small open-addressing table, as a chart
// repeats a handful of colours over hundreds of thousands of pixels.
class ColourIndex
{
public:
    // The index of `colour`, adding it; -1 when the palette is full.
    int indexOf(QRgb colour)
    {
        std::size_t slot = hash(colour);
        while (m_used[slot]) {
            if (m_colours[slot] == colour)
                return m_indices[slot];
            slot = (slot + 1) % kSlots;
        }
        if (m_palette.size() == kPaletteSize)
            return -1;
        m_used[slot] = true;
        m_colours[slot] = colour;
        m_indices[slot] = int(m_palette.size());
        m_palette.append(colour);
        return m_indices[slot];
    }

    const QList<QRgb> &palette() const { return m_palette; }

private:
    static constexpr std::size_t kSlots = 1024; // at most a quarter full
    static std::size_t hash(QRgb colour) { return (colour * 2654435761u) >> 22; }

    std::array<bool, kSlots> m_used{};
    std::array<QRgb, kSlots> m_colours{};
    std::array<int, kSlots> m_indices{};
    QList<QRgb> m_palette;
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
    ColourIndex colours;
    for (int y = 0; y < source.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *row = indexed.scanLine(y);
        // Runs of one colour are the rule; look each run up once.
        QRgb runColour = ~pixels[0];
        int runIndex = 0;
        for (int x = 0; x < source.width(); ++x) {
            if (pixels[x] != runColour) {
                runColour = pixels[x];
                runIndex = colours.indexOf(runColour);
                if (runIndex < 0)
                    return {};
            }
            row[x] = uchar(runIndex);
        }
    }
    indexed.setColorTable(colours.palette());
    return indexed;
}

bool WritePngImage(const QImage &image, QIODevice *device)
{
    const QImage palette = ExactPaletteImage(image);
    QImageWriter writer(device, "png");
    if (!palette.isNull())
        return writer.write(palette);
    // Qt's PNG quality runs opposite to effort: 80 is zlib's fastest level, which on chart
    // images also gives a slightly smaller file than the default.
    writer.setQuality(80);
    return writer.write(image);
}
