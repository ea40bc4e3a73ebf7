// File > Save As Bitmap in a chart window, answered through the file-dialog seam: what
// the user sees, and the file it leaves.

#include "bitmapexport.h"
#include "commandids.h"
#include "faketable.h"
#include "filedialogs.h"
#include "messages.h"
#include "plotgeometry.h"
#include "plotviewf1f2.h"
#include "plotviewf1f3.h"
#include "testfiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>

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

// A group of three "a" with a disc, and one token without a symbol.
std::vector<FakeRow> someTokens()
{
    return {{300, 2000, 2500, "a", 1},
            {320, 2100, 2600, "a", 1},
            {310, 2200, 2700, "a", 1},
            {500, 1500, 2200, "", 2}};
}

// The chart's marks near its top-right corner: the horizontal axis 50 pixels below the top
// and the F1 axis 100 pixels left of the right edge.
void expectChartCorner(const QImage &image)
{
    const PlotGeometry g =
        PlotGeometry::compute(PlotFrame{20, 0, image.width(), image.height()}, 1, 1);
    ASSERT_EQ(g.xAxis, image.width() - 100);
    ASSERT_EQ(g.yAxis, 50);
    const int x600 = g.xOfF2(600);
    const int y300 = g.yOfF1(300);
    EXPECT_EQ(inkBox(image, QRect(x600, 0, 1, 60)), QRect(x600, 46, 1, 5));
    EXPECT_EQ(inkBox(image, QRect(g.xAxis - 5, y300, 12, 1)), QRect(g.xAxis, y300, 7, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, image.height() - 1), qRgb(255, 255, 255));
}

TEST(SaveAsBitmap, CancelledDialogSaysSoAndWritesNothing)
{
    FakeDocument data(someTokens());
    CPlotViewF1F3 view;
    data.doc->addView(&view);
    TestFiles files;
    ScopedFileDialogAnswer cancel{QString()};
    MessageCapture capture;
    ASSERT_TRUE(view.OnCmdMsg(ID_FILE_SAVE_BITMAP));

    EXPECT_EQ(capture.events(), QStringList{"Error in getting the bitmap file name"});
    ASSERT_EQ(cancel.requests().size(), 1);
    const FileDialogRequest &request = cancel.requests().first();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Save As BMP");
    EXPECT_EQ(request.filterName, "Bitmap files (*.BMP)");
    EXPECT_TRUE(request.patterns.contains("*.BMP") && request.patterns.contains("*.bmp"));
    EXPECT_EQ(request.defaultSuffix, "BMP");
    EXPECT_EQ(request.initialPath, "BitMapFile ");
    EXPECT_TRUE(QDir(files.path({})).isEmpty());
}

// The picture is 175 x 225 mm at the screen's density, 24 bits on a true-colour screen.
TEST(SaveAsBitmap, WritesTheChartAtTheScreensDensity)
{
    FakeDocument data(someTokens());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    TestFiles files;
    const QString path = files.path("chart.BMP");
    ScopedFileDialogAnswer answer(path);
    MessageCapture capture;
    view.OnCmdMsg(ID_FILE_SAVE_BITMAP);
    EXPECT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();

    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_GT(screen->depth(), 8);
    const int pixelsWide = int(std::lround(screen->size().width() * screen->devicePixelRatio()));
    const int pixelsHigh = int(std::lround(screen->size().height() * screen->devicePixelRatio()));
    const int width = int(pixelsWide / screen->physicalSize().width() * 175.0);
    const int height = int(pixelsHigh / screen->physicalSize().height() * 225.0);
    const int row = (24 * width + 31) / 32 * 4;

    const QByteArray file = TestFiles::read(path);
    ASSERT_EQ(file.size(), 54 + row * height);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(u32(file, 2), quint32(file.size()));
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(u32(file, 18), quint32(width));
    EXPECT_EQ(u32(file, 22), quint32(height));
    EXPECT_EQ(u16(file, 28), 24);
    EXPECT_EQ(u32(file, 34), quint32(row * height));
    EXPECT_EQ(u32(file, 46), 0u);

    const QImage image = QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(width, height));
    expectChartCorner(image);
}

TEST(SaveAsBitmap, FailureIsReportedAndLeavesNoFile)
{
    FakeDocument data(someTokens());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    TestFiles files;
    const QString path = files.path("missing/chart.bmp");
    ScopedFileDialogAnswer answer(path);
    MessageCapture capture;
    view.OnCmdMsg(ID_FILE_SAVE_BITMAP);
    EXPECT_EQ(capture.events(), QStringList{"Error in saving the bitmap file"});
    EXPECT_FALSE(QFileInfo::exists(files.path("missing")));
}

// Screens of few colours keep palette pixels: the file takes the screen's depth with its
// colour table, for the worked 560 x 720 picture.
TEST(SaveAsBitmap, PaletteScreensGivePaletteFiles)
{
    FakeDocument data(someTokens());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    const BitmapExtent extent = BitmapExtentForDensity(3.2, 3.2);
    ASSERT_EQ(extent.width, 560);
    ASSERT_EQ(extent.height, 720);

    struct Case
    {
        int screenDepth;
        int bits;
        quint32 offBits;
        quint32 size;
    };
    for (const Case &c : {Case{32, 24, 54, 1209654}, Case{16, 24, 54, 1209654},
                          Case{8, 8, 1078, 404278}, Case{1, 1, 62, 62 + 72 * 720}}) {
        const QImage raster = RenderChartBitmap(view, extent, c.screenDepth);
        const QByteArray file = EncodeBitmapFile(raster);
        ASSERT_EQ(file.size(), qsizetype(c.size)) << c.screenDepth;
        EXPECT_EQ(u16(file, 28), c.bits) << c.screenDepth;
        EXPECT_EQ(u32(file, 10), c.offBits) << c.screenDepth;
        expectChartCorner(QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(RenderChartBitmap(view, BitmapExtentForDensity(0, 3.2), 32).isNull());
}

} // namespace
