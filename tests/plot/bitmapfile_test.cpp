// Bitmap export files: header fields, colour tables, row layout and safe writing.

#include "bitmapfile.h"

#include "stringtable.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

quint32 u32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

quint16 u16(const QByteArray &bytes, int at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

TEST(BitmapExtent, FollowsTheScreensPixelDensity)
{
    const BitmapExtent extent = BitmapExtentForScreen(1024, 320, 768, 240);
    EXPECT_EQ(extent.width, 560);
    EXPECT_EQ(extent.height, 720);
    // Truncated, not rounded: 96 dpi is 3.7795... px/mm.
    const BitmapExtent dpi96 = BitmapExtentForScreen(1920, 508.0, 1080, 285.75);
    EXPECT_EQ(dpi96.width, 661);
    EXPECT_EQ(dpi96.height, 850);
}

TEST(BitmapDepth, MapsRasterDepthsToFileDepths)
{
    EXPECT_EQ(BitmapFileDepth(1), 1);
    EXPECT_EQ(BitmapFileDepth(2), 4);
    EXPECT_EQ(BitmapFileDepth(4), 4);
    EXPECT_EQ(BitmapFileDepth(5), 8);
    EXPECT_EQ(BitmapFileDepth(8), 8);
    EXPECT_EQ(BitmapFileDepth(16), 24);
    EXPECT_EQ(BitmapFileDepth(32), 24);
}

TEST(BitmapEncode, TrueColourImageGives24BitFileWithoutColourTable)
{
    QImage image(560, 720, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 719, qRgb(10, 20, 30)); // bottom-left: first pixel of the file
    image.setPixel(559, 0, qRgb(40, 50, 60)); // top-right: last pixel of the file
    const QByteArray file = EncodeBitmapFile(image);
    ASSERT_EQ(file.size(), 1209654);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(u32(file, 2), 1209654u);
    EXPECT_EQ(u16(file, 6), 0);
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(u32(file, 14), 40u);
    EXPECT_EQ(u32(file, 18), 560u);
    EXPECT_EQ(u32(file, 22), 720u);
    EXPECT_EQ(u16(file, 26), 1);
    EXPECT_EQ(u16(file, 28), 24);
    EXPECT_EQ(u32(file, 30), 0u);
    EXPECT_EQ(u32(file, 34), 1209600u);
    EXPECT_EQ(u32(file, 46), 0u);
    EXPECT_EQ(quint8(file[54]), 30); // blue, green, red
    EXPECT_EQ(quint8(file[55]), 20);
    EXPECT_EQ(quint8(file[56]), 10);
    EXPECT_EQ(quint8(file[file.size() - 3]), 60);
    EXPECT_EQ(quint8(file[file.size() - 1]), 40);
}

TEST(BitmapEncode, RowsArePaddedWithZeroBitsTo32Bits)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray file = EncodeBitmapFile(image);
    // 3 pixels x 3 bytes = 9 bytes, padded to 12.
    ASSERT_EQ(u32(file, 34), 24u);
    ASSERT_EQ(file.size(), 54 + 24);
    EXPECT_EQ(quint8(file[54 + 8]), 255);
    EXPECT_EQ(file.mid(54 + 9, 3), QByteArray(3, '\0'));
}

TEST(BitmapEncode, PaletteImagesKeepTheirColourTable)
{
    QImage indexed(560, 720, QImage::Format_Indexed8);
    indexed.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        indexed.setColor(i, qRgb(i, 255 - i, 7));
    indexed.fill(3);
    QByteArray file = EncodeBitmapFile(indexed);
    EXPECT_EQ(u16(file, 28), 8);
    EXPECT_EQ(u32(file, 10), 1078u);
    EXPECT_EQ(u32(file, 2), 404278u);
    EXPECT_EQ(u32(file, 46), 256u);
    EXPECT_EQ(quint8(file[54 + 4 * 3]), 7);     // entry 3: blue
    EXPECT_EQ(quint8(file[54 + 4 * 3 + 2]), 3); // red
    EXPECT_EQ(quint8(file[54 + 4 * 3 + 3]), 0); // reserved
    EXPECT_EQ(quint8(file[1078]), 3);

    QImage mono(560, 720, QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.setColor(1, qRgb(255, 255, 255));
    mono.fill(1);
    file = EncodeBitmapFile(mono);
    EXPECT_EQ(u16(file, 28), 1);
    EXPECT_EQ(u32(file, 10), 62u);
    EXPECT_EQ(u32(file, 34), 72u * 720u);
}

TEST(BitmapWrite, FailuresLeaveExistingFilesAlone)
{
    TestFiles files;
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);

    const QString path = files.write("chart.bmp", "previous contents");
    EXPECT_EQ(WriteBitmapFile(QImage(), path), IDS_ERR_BITMAP_INFO);
    EXPECT_EQ(TestFiles::read(path), "previous contents");

    EXPECT_EQ(WriteBitmapFile(image, files.path("missing/chart.bmp")), IDS_ERR_BITMAP_OPEN);
    EXPECT_FALSE(QFile::exists(files.path("missing/chart.bmp")));

    ASSERT_EQ(WriteBitmapFile(image, path), 0);
    EXPECT_EQ(TestFiles::read(path), EncodeBitmapFile(image));
    EXPECT_EQ(QDir(files.path("")).entryList(QDir::Files), QStringList{"chart.bmp"});
}

} // namespace
