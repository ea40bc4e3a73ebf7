// tessavox-batch bitmap and print: a chart's bitmap file and printed page from a file.

#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

int runBatch(const QStringList &args, QString *err = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(TESSAVOX_BATCH), args);
    process.waitForFinished(120000);
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

quint32 u32(const QByteArray &bytes, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

QImage bitmapImage(const QByteArray &file)
{
    return QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32);
}

int blackInRow(const QImage &image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, y) == qRgb(0, 0, 0);
    return count;
}

// A group of three "i" and one "e" token of another vowel.
const QByteArray kTokens = "F1 F2 F3 vowel\n"
                           "300 2300 2900 \"i\"\n"
                           "320 2200 2800 \"i\"\n"
                           "310 2400 2700 \"i\"\n"
                           "450 1900 2500 \"e\"\n";

TEST(BatchBitmap, WritesThePictureAtTheGivenDensityOrReportsWhyNot)
{
    TestFiles files;
    const QString input = files.write("vowels.txt", kTokens);
    const QString out = files.path("chart.bmp");

    // 3.2 pixels per millimetre: the 560 x 720 picture of a 1024 x 768, 320 x 240 mm screen.
    ASSERT_EQ(runBatch({"bitmap", input, "--plot", "f1f3", "--dpmm", "3.2", "-o", out}), 0);
    QByteArray file = TestFiles::read(out);
    ASSERT_EQ(file.size(), 1209654);
    EXPECT_EQ(u32(file, 18), 560u);
    // F3 ticks: 27 from 400 to 3000 Hz, standing on the axis 50 pixels below the top.
    EXPECT_EQ(blackInRow(bitmapImage(file), 48), 27);

    ASSERT_EQ(
        runBatch({"bitmap", input, "--plot", "f1f2", "--dpmm", "3.2,4", "--no-ellipse", "-o", out}),
        0);
    file = TestFiles::read(out);
    EXPECT_EQ(u32(file, 22), 900u);
    EXPECT_EQ(blackInRow(bitmapImage(file), 48), 32); // F2 ticks: 400 to 3500 Hz

    for (const char *density : {"0", "x", "3,4,5", "41", "nan"})
        EXPECT_EQ(runBatch({"bitmap", input, "--plot", "f1f2", "--dpmm", density, "-o", out}), 2)
            << density;
    QString err;
    const QString missing = files.path("missing/chart.bmp");
    EXPECT_EQ(runBatch({"bitmap", input, "--plot", "f1f2", "-o", missing}, &err), 1);
    EXPECT_TRUE(err.startsWith("Error in saving the bitmap file")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(files.path("missing")));
}

// One PDF page of the chosen paper size; the previous file stays when printing fails.
TEST(BatchPrint, PrintsOnePageOfTheChosenSize)
{
    TestFiles files;
    const QString input = files.write("vowels.txt", kTokens);
    const QString out = files.path("chart.pdf");

    ASSERT_EQ(runBatch({"print", input, "--plot", "f1f3", "--page", "letter", "-o", out}), 0);
    QByteArray pdf = TestFiles::read(out);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 612.000000 792.000000]"));

    ASSERT_EQ(runBatch({"print", input, "--plot", "f1f2", "-o", out}), 0);
    EXPECT_TRUE(TestFiles::read(out).contains("/MediaBox [0 0 595.000000 842.000000]"));

    EXPECT_EQ(runBatch({"print", input, "--plot", "f1f2", "--page", "a3", "-o", out}), 2);
    QString err;
    EXPECT_EQ(runBatch({"print", files.path("none.txt"), "--plot", "f1f2", "-o", out}, &err), 1);
    EXPECT_TRUE(TestFiles::read(out).contains("/MediaBox [0 0 595.000000 842.000000]"));
    EXPECT_EQ(runBatch({"print", input, "--plot", "f1f2", "-o", files.path("missing/c.pdf")}), 1);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
