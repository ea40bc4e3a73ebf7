// PNG files of charts: the compressed stream read back by zlib itself, whole files read back
// by Qt's reader pixel for pixel with their resolution, and devices that refuse bytes.

#include "plot/pngfile.h"
#include "plot/rundeflate.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// What zlib makes of `compressed` (checksum included), or "corrupt" when it will not.
QByteArray inflated(const std::vector<uchar> &compressed, std::size_t expectedSize)
{
    QByteArray out(qsizetype(expectedSize + 1), '\0');
    uLongf size = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef *>(out.data()), &size, compressed.data(),
                   uLong(compressed.size())) != Z_OK)
        return "corrupt";
    out.resize(qsizetype(size));
    return out;
}

QByteArray bytesOf(const std::vector<uchar> &data)
{
    return QByteArray(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
}

QByteArray pngOf(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WritePngImage(image, &buffer));
    return buffer.data();
}

QImage readBack(const QImage &image)
{
    return QImage::fromData(pngOf(image), "PNG");
}

// Accepts its first `capacity` bytes, then refuses every write.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 capacity) : m_capacity(capacity) { open(WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (m_written + size > m_capacity)
            return -1;
        m_written += size;
        return size;
    }

private:
    qint64 m_capacity;
    qint64 m_written = 0;
};

} // namespace

// Runs at and around the longest copy, single bytes, noise (stored as it is, in pieces when
// large) and codes that would be deeper than the format allows all come back exactly.
TEST(RunDeflate, EveryKindOfInputComesBackExactly)
{
    std::vector<std::vector<uchar>> inputs{{}, {7}, {1, 2}};
    for (std::size_t run : {3, 4, 258, 259, 260, 261, 517}) {
        std::vector<uchar> data(run, 9);
        data.insert(data.begin(), 1);
        data.push_back(2);
        inputs.push_back(data);
    }
    QRandomGenerator random(22);
    std::vector<uchar> noise(200000);
    for (uchar &b : noise)
        b = uchar(random.bounded(256));
    inputs.push_back(noise);
    // Frequencies along the Fibonacci numbers (with the block's end, counted once) make a
    // Huffman tree 19 deep; a filler byte between them keeps each a byte rather than a copy.
    std::vector<uchar> deep;
    for (int symbol = 1, previous = 1, count = 1; symbol <= 18; ++symbol) {
        for (int i = 0; i < count; ++i) {
            deep.push_back(uchar(symbol));
            deep.push_back(255);
        }
        count = std::exchange(previous, count) + count;
    }
    inputs.push_back(deep);
    // Rows of a chart: white, with runs of ink and smoothed edges of every shade.
    std::vector<uchar> rows;
    for (int y = 0; y < 300; ++y) {
        rows.push_back(0);
        for (int x = 0; x < 801; ++x)
            rows.push_back(uchar((x * y) % 97 < 5 ? (x + y) % 251 : 0));
    }
    inputs.push_back(rows);

    // Random runs of random bytes, from single bytes to several longest copies.
    for (int i = 0; i < 300; ++i) {
        std::vector<uchar> data;
        const int runs = random.bounded(1, 60);
        for (int r = 0; r < runs; ++r)
            data.insert(data.end(), std::size_t(random.bounded(1, i % 3 == 0 ? 800 : 8)),
                        uchar(random.bounded(i % 2 == 0 ? 4 : 256)));
        inputs.push_back(data);
    }

    for (const std::vector<uchar> &data : inputs) {
        const std::vector<uchar> compressed = RunDeflate(data);
        EXPECT_EQ(inflated(compressed, data.size()), bytesOf(data)) << data.size() << " bytes";
        // Never much larger than the bytes themselves.
        EXPECT_LE(compressed.size(), data.size() + data.size() / 1000 + 16);
    }
    const std::vector<uchar> blank(100000, 0);
    EXPECT_EQ(inflated(RunDeflate(blank), blank.size()), bytesOf(blank));
    EXPECT_LT(RunDeflate(blank).size(), 300u);
}

// Palette and true-colour pictures, with and without transparency, of every awkward size,
// come back pixel for pixel at the resolution they were drawn for.
TEST(PngFile, ReadsBackPixelForPixelAtItsResolution)
{
    QRandomGenerator random(7);
    const auto fill = [&](QSize size, QImage::Format format, int colours, bool alpha) {
        QImage image(size, format);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const int c = random.bounded(colours);
                image.setPixel(x, y,
                               qRgba((c * 7) & 255, (c >> 8) & 255, (c >> 16) & 255,
                                     alpha ? (c * 29 + 3) & 255 : 255));
            }
        }
        return image;
    };
    const std::vector<QImage> images{
        fill({1, 1}, QImage::Format_RGB32, 1, false),
        fill({3, 5}, QImage::Format_RGB32, 4, false),
        fill({13, 7}, QImage::Format_ARGB32, 200, true),        // palette with opacity
        fill({257, 3}, QImage::Format_RGB32, 256, false),       // a full palette
        fill({31, 17}, QImage::Format_RGB32, 100000, false),    // true colour
        fill({29, 11}, QImage::Format_ARGB32, 100000, true),    // true colour with alpha
        fill({600, 500}, QImage::Format_RGB32, 1 << 24, false), // noise, several data chunks
    };
    for (const QImage &image : images) {
        const QImage back = readBack(image);
        EXPECT_EQ(back.convertToFormat(image.format()), image) << image.size().width();
    }
    EXPECT_EQ(readBack(images[1]).format(), QImage::Format_Indexed8);
    EXPECT_FALSE(readBack(images[3]).hasAlphaChannel());
    EXPECT_FALSE(readBack(images[4]).hasAlphaChannel());

    // The palette overflows in the middle of eight pixels that differ.
    QImage many = fill({8, 40}, QImage::Format_RGB32, 1 << 24, false);
    EXPECT_TRUE(ExactPaletteImage(many).isNull());
    EXPECT_EQ(readBack(many), many);

    // Other formats are written as the pixels they show: premultiplied, grey.
    QImage premultiplied(9, 9, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(qRgba(0, 0, 0, 0));
    QPainter(&premultiplied).fillRect(2, 2, 5, 5, QColor(200, 40, 10, 100));
    EXPECT_EQ(readBack(premultiplied).convertToFormat(QImage::Format_ARGB32),
              premultiplied.convertToFormat(QImage::Format_ARGB32));
    QImage grey(5, 3, QImage::Format_Grayscale8);
    grey.fill(77);
    EXPECT_EQ(readBack(grey).convertToFormat(QImage::Format_Grayscale8), grey);
    // A picture without alpha stays opaque whatever its pixels' unused byte holds.
    QImage unused(3, 1, QImage::Format_RGB32);
    unused.fill(Qt::white);
    reinterpret_cast<QRgb *>(unused.bits())[1] = 0x00204060;
    EXPECT_FALSE(readBack(unused).hasAlphaChannel());
    EXPECT_EQ(readBack(unused).pixel(1, 0), 0xff204060);
    // Sixteen bits a channel and more colours than a palette: every bit is kept.
    QImage deep(19, 23, QImage::Format_RGBA64);
    for (int y = 0; y < deep.height(); ++y) {
        for (int x = 0; x < deep.width(); ++x)
            deep.setPixelColor(x, y,
                               QColor::fromRgba64(quint16(x * 3001), quint16(y * 2003),
                                                  quint16(x * y + 1), 65535));
    }
    EXPECT_EQ(readBack(deep).convertToFormat(QImage::Format_RGBA64), deep);

    // 300 dots per inch, and a resolution that differs across and down.
    QImage printed = images[1];
    printed.setDotsPerMeterX(11811);
    printed.setDotsPerMeterY(11811);
    EXPECT_EQ(readBack(printed).dotsPerMeterX(), 11811);
    EXPECT_EQ(readBack(printed).dotsPerMeterY(), 11811);
    QImage wide = images[4];
    wide.setDotsPerMeterX(5000);
    wide.setDotsPerMeterY(2000);
    EXPECT_EQ(std::pair(readBack(wide).dotsPerMeterX(), readBack(wide).dotsPerMeterY()),
              std::pair(5000, 2000));
}

// A device that takes part of the file and then refuses the rest fails the write, wherever
// it stops; so does an image with no pixels. The file written in full succeeds.
TEST(PngFile, ARefusedWriteIsAFailure)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).drawLine(0, 0, 39, 29);
    const qint64 size = pngOf(image).size();
    for (qint64 capacity :
         {qint64(0), qint64(8), qint64(20), qint64(40), size / 2, size - 13, size - 1}) {
        FullDevice device(capacity);
        EXPECT_FALSE(WritePngImage(image, &device)) << capacity;
    }
    FullDevice enough(size);
    EXPECT_TRUE(WritePngImage(image, &enough));
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WritePngImage(image, &readOnly));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(WritePngImage(QImage(), &buffer));
}
