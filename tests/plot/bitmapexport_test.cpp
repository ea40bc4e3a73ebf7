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

// What the user sees when no file comes of it: a cancelled dialog, an unwritable place.
TEST(SaveAsBitmap, CancelOrFailureIsReportedAndLeavesNoFile)
{
    FakeDocument data(someTokens());
    CPlotViewF1F3 view;
    data.doc->addView(&view);
    TestFiles files;
    ScopedFileDialogAnswer answer{QString()};
    MessageCapture capture;
    ASSERT_TRUE(view.OnCmdMsg(ID_FILE_SAVE_BITMAP));
    EXPECT_EQ(capture.events(), QStringList{"Error in getting the bitmap file name"});
    const FileDialogRequest &request = answer.requests().first();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Save As BMP");
    EXPECT_EQ(request.patterns, QStringList({"*.BMP", "*.bmp"}));
    EXPECT_EQ(request.defaultSuffix, "BMP");
    EXPECT_EQ(request.initialPath, "BitMapFile ");

    capture.clear();
    answer.setPath(files.path("missing/chart.bmp"));
    view.OnCmdMsg(ID_FILE_SAVE_BITMAP);
    EXPECT_EQ(capture.events(), QStringList{"Error in saving the bitmap file"});
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
    const double ratio = screen->devicePixelRatio();
    const int width =
        int(std::lround(screen->size().width() * ratio) / screen->physicalSize().width() * 175.0);
    const int height =
        int(std::lround(screen->size().height() * ratio) / screen->physicalSize().height() * 225.0);
    const QByteArray file = TestFiles::read(path);
    ASSERT_EQ(file.size(), 54 + (24 * width + 31) / 32 * 4 * height);
    EXPECT_EQ(u32(file, 18), quint32(width));
    EXPECT_EQ(u32(file, 22), quint32(height));
    expectChartCorner(QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32));
}

// Screens of few colours keep palette pixels: the worked 560 x 720 picture takes the
// screen's depth with a colour table, and the chart survives the conversion.
TEST(SaveAsBitmap, PaletteScreensGivePaletteFiles)
{
    FakeDocument data(someTokens());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    const BitmapExtent extent = BitmapExtentForDensity(3.2, 3.2);
    for (auto [depth, size] : {std::pair{16, 1209654}, {8, 404278}, {1, 62 + 72 * 720}}) {
        const QByteArray file = EncodeBitmapFile(RenderChartBitmap(view, extent, depth));
        ASSERT_EQ(file.size(), size) << depth;
        expectChartCorner(QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(RenderChartBitmap(view, BitmapExtentForDensity(0, 3.2), 32).isNull());
}

} // namespace
