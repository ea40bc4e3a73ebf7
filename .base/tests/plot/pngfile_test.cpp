// PNG chart files: the palette form keeps every pixel, and images it cannot hold still
// come out whole.

#include "plot/pngfile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage readBack(const QByteArray &png)
{
    return QImage::fromData(png, "PNG");
}

QByteArray encoded(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WritePngImage(image, &buffer));
    return buffer.data();
}

// White with smoothed black lines and text: the colours of a chart; a red mark adds more
// shades than a palette holds.
QImage chartLikeImage(bool withRedMark)
{
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawEllipse(QRectF(40.5, 30.25, 200, 120));
    painter.drawText(QPointF(20, 180), QStringLiteral("i e \u025B a \u0254 o u"));
    if (withRedMark) {
        painter.setPen(QPen(Qt::red, 2.5));
        painter.drawEllipse(QRectF(150.3, 60.6, 40, 30));
    }
    return image;
}

TEST(PngFile, ChartColoursBecomeAnExactPalette)
{
    const QImage chart = chartLikeImage(false);
    const QImage palette = ExactPaletteImage(chart);
    ASSERT_FALSE(palette.isNull());
    EXPECT_EQ(palette.format(), QImage::Format_Indexed8);
    EXPECT_LE(palette.colorCount(), 256);
    EXPECT_EQ(palette.convertToFormat(QImage::Format_RGB32), chart);

    const QImage back = readBack(encoded(chart));
    EXPECT_EQ(back.format(), QImage::Format_Indexed8);
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), chart);
}

TEST(PngFile, ImagesBeyondAPaletteKeepEveryPixel)
{
    // 257 colours: one more than a palette holds.
    QImage many(257, 3, QImage::Format_RGB32);
    for (int x = 0; x < many.width(); ++x) {
        for (int y = 0; y < many.height(); ++y)
            many.setPixel(x, y, qRgb(x % 256, x / 256, y));
    }
    EXPECT_TRUE(ExactPaletteImage(many).isNull());
    EXPECT_EQ(readBack(encoded(many)).convertToFormat(QImage::Format_RGB32), many);

    const QImage marked = chartLikeImage(true);
    EXPECT_TRUE(ExactPaletteImage(marked).isNull());
    EXPECT_EQ(readBack(encoded(marked)).convertToFormat(QImage::Format_RGB32), marked);

    // Transparency survives either way.
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 20, 30, 0));
    clear.setPixel(1, 1, qRgba(200, 0, 0, 128));
    EXPECT_EQ(readBack(encoded(clear)).convertToFormat(QImage::Format_ARGB32), clear);

    EXPECT_TRUE(ExactPaletteImage(QImage()).isNull());
}

} // namespace
