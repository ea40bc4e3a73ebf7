// Chart output: bitmap and PNG files, File > Save As Bitmap, File > Export Chart..., and the
// printed page. (SVG and PDF through the same writer: the batch tool's chart tests.)

#include "faketable.h"
#include "framework/commandids.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"
#include "framework/printinfo.h"
#include "framework/printlinewidth.h"
#include "framework/stringtable.h"
#include "plot/bitmapexport.h"
#include "plot/bitmapfile.h"
#include "plot/chartexport.h"
#include "plot/chartrenderer.h"
#include "plot/plotviewf1f2.h"
#include "plot/plotviewf1f3.h"
#include "plot/pngfile.h"
#include "plot/printpage.h"
#include "testfiles.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using Header = std::array<quint32, 10>;

quint32 le(const QByteArray &bytes, int at, int size = 4)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

// File size, reserved, pixel offset, info size, width, height, planes and bits (one
// field), compression, image size, colours used.
Header header(const QByteArray &f)
{
    return {le(f, 2),  le(f, 6),  le(f, 10), le(f, 14), le(f, 18),
            le(f, 22), le(f, 26), le(f, 30), le(f, 34), le(f, 46)};
}

// The chart's marks near its top-right corner: the horizontal axis 50 pixels below the top
// and the F1 axis 100 pixels left of the right edge.
void expectChartCorner(const QByteArray &file)
{
    const QImage image = QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32);
    const PlotGeometry g = PlotGeometry::compute({20, 0, image.width(), image.height()}, 1, 1);
    ASSERT_EQ(std::pair(g.xAxis, g.yAxis), std::pair(image.width() - 100, 50));
    const int x = g.xOfF2(600), y = g.yOfF1(300);
    EXPECT_EQ(ink(image, QRect(x, 0, 1, 60)).box, QRect(x, 46, 1, 5));
    EXPECT_EQ(ink(image, QRect(g.xAxis - 5, y, 12, 1)).box, QRect(g.xAxis, y, 7, 1));
}

// Size at the screen's density (truncated: 96 dpi is 3.7795... px/mm), header fields,
// rows bottom-up as blue, green, red padded with zeros, colour tables.
TEST(BitmapFile, ExtentHeadersRowsAndColourTables)
{
    const BitmapExtent extent = BitmapExtentForScreen(1024, 320, 768, 240);
    const BitmapExtent dpi96 = BitmapExtentForScreen(1920, 508.0, 1080, 285.75);
    EXPECT_EQ(std::tuple(extent.width, extent.height, dpi96.width, dpi96.height),
              std::tuple(560, 720, 661, 850));
    QImage image = blankImage(3, 2);
    image.setPixel(0, 1, qRgb(10, 20, 30));
    image.setPixel(2, 0, qRgb(40, 50, 60));
    QByteArray file = EncodeBitmapFile(image);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(header(file), (Header{78, 0, 54, 40, 3, 2, 24 << 16 | 1, 0, 24, 0}));
    EXPECT_EQ(file.mid(54).toHex(), "1e140affffffffffff000000ffffffffffff3c3228000000");
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(10, 20, 30)});
    indexed.fill(0);
    indexed.setPixel(1, 0, 1);
    file = EncodeBitmapFile(indexed);
    EXPECT_EQ(file.mid(54, 8), QByteArray("\x03\x02\x01\0\x1e\x14\x0a\0", 8));
    EXPECT_EQ(file.mid(int(le(file, 10))), QByteArray("\0\x01\0\0", 4));
}

// Written under a temporary name and renamed: failures leave the old file alone.
TEST(BitmapFile, FailuresLeaveExistingFilesAlone)
{
    TestFiles files;
    const QImage image = blankImage(20, 10);
    const QString path = files.write("chart.bmp", "previous contents");
    EXPECT_EQ(WriteBitmapFile(QImage(), path), IDS_ERR_BITMAP_INFO);
    EXPECT_EQ(TestFiles::read(path), "previous contents");
    EXPECT_EQ(WriteBitmapFile(image, files.path("missing/chart.bmp")), IDS_ERR_BITMAP_OPEN);
    EXPECT_FALSE(QFile::exists(files.path("missing/chart.bmp")));
    ASSERT_EQ(WriteBitmapFile(image, path), 0);
    EXPECT_EQ(TestFiles::read(path), EncodeBitmapFile(image));
    EXPECT_EQ(QDir(files.path("")).entryList(QDir::Files), QStringList{"chart.bmp"});
}

// What the user sees: a cancelled dialog and an unwritable place are reported and leave no
// file; otherwise the chart at the screen's density and depth. Screens of few colours keep
// palette pixels, and the chart survives the conversion.
TEST(SaveAsBitmap, ReportsFailuresAndWritesTheChartAtTheScreensDensityAndDepth)
{
    FakeDocument data({{300, 2000, 2500, "a", 1}, {500, 1500, 2200, "", 2}});
    CPlotViewF1F3 f1f3;
    CPlotViewF1F2 f1f2;
    data.doc->addView(&f1f3);
    data.doc->addView(&f1f2);
    TestFiles files;
    ScopedFileDialogAnswer answer{QString()};
    MessageCapture capture;
    ASSERT_TRUE(f1f3.execute(ID_FILE_SAVE_BITMAP));
    EXPECT_EQ(capture.events(), QStringList{"Error in getting the bitmap file name"});
    const FileDialogRequest &request = answer.requests().first();
    EXPECT_TRUE(request.mode == FileDialogRequest::Mode::Save);
    EXPECT_EQ(QStringList({request.title, request.defaultSuffix, request.initialPath}),
              QStringList({"Save As BMP", "BMP", "BitMapFile "}));
    EXPECT_EQ(request.patterns, QStringList({"*.BMP", "*.bmp"}));
    capture.clear();
    answer.setPath(files.path("missing/chart.bmp"));
    f1f3.execute(ID_FILE_SAVE_BITMAP);
    EXPECT_EQ(capture.events(), QStringList{"Error in saving the bitmap file"});
    EXPECT_TRUE(QDir(files.path({})).isEmpty());
    capture.clear();
    answer.setPath(files.path("chart.BMP"));
    f1f2.execute(ID_FILE_SAVE_BITMAP);
    EXPECT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();
    const BitmapExtent screen = ScreenRasterFor(f1f2).extent;
    const QByteArray file = TestFiles::read(files.path("chart.BMP"));
    EXPECT_EQ(header(file)[4], quint32(screen.width));
    EXPECT_EQ(header(file)[5], quint32(screen.height));
    expectChartCorner(file);
    const BitmapExtent extent = BitmapExtentForDensity(3.2, 3.2); // 560 x 720
    // Depth, file bits, pixel offset, colours used, bytes per row.
    for (auto [depth, bits, offset, colours, row] :
         {std::array<quint32, 5>{16, 24, 54, 0, 1680}, {8, 8, 1078, 256, 560}, {1, 1, 62, 2, 72}}) {
        const QByteArray encoded = EncodeBitmapFile(RenderChartBitmap(f1f2, extent, int(depth)));
        EXPECT_EQ(header(encoded), (Header{offset + 720 * row, 0, offset, 40, 560, 720,
                                           bits << 16 | 1, 0, 720 * row, colours}));
        expectChartCorner(encoded);
    }
    EXPECT_TRUE(RenderChartBitmap(f1f2, BitmapExtentForDensity(0, 3.2), 32).isNull());
}

// Drawing area, then unit and margin; the frame is 7 x 9 margins, a margin in from the
// top-left. The estimate is the width / 8.5, or on a landscape page the height / 11.
TEST(PrintPage, UnitAndFrameFollowTheResolutionEstimate)
{
    const int cases[][4] = {{4800, 6300, 5, 600},     {2400, 3150, 2, 300},
                            {6300, 6200, 5, 600},     {5525, 9000, 2, 300},
                            {11050, 90000, 2, 300},   {5534, 9000, 10, 1200},
                            {20000, 30000, 20, 2400}, {22000, 30000, 2, 300}};
    for (auto [width, height, unit, m] : cases) {
        const PrintPageLayout l = ComputePrintPageLayout(width, height, 7.0, 9.0);
        EXPECT_EQ(std::tuple(l.unit, l.left, l.top, l.right, l.bottom),
                  std::tuple(unit, m, m, 8 * m, 10 * m))
            << width;
    }
}

// One token without a symbol printed by the F1-F2 view into a drawing area `width` dots wide,
// on a grey page wider than it so that marks falling right of it stay visible.
QImage printedPage(int width, const QString &title = {})
{
    FakeDocument data({{500, 1500, 2500, "", 1}});
    data.doc->setTitle(title);
    CPlotViewF1F2 f1f2;
    data.doc->addView(&f1f2);
    QImage page = blankImage(5200, 6300, QColor(200, 200, 200));
    QPainter painter(&page);
    PrintInfo info;
    info.m_rectDraw = QRect(0, 0, width, 6300);
    f1f2.OnPrint(painter, info);
    return page;
}

// A whole Letter page's width at 600 dots per inch: the chart fits as laid out.
TEST(PrintPage, WorkedPortraitPageAt600DotsPerInch)
{
    const QImage page = printedPage(5100, QStringLiteral("vowels.txt"));
    // The title starts at y = 300, above the axis labels, centred on the frame at x = 2700.
    const QRect title = ink(page, QRect(0, 0, 4800, 420)).box;
    EXPECT_GE(title.top(), 300);
    EXPECT_NEAR(title.center().x(), 2700, 6);
    // Frame (600, 600, 4800, 6000): the F1 axis 100 units left of its right edge, the
    // horizontal axis 50 below its top; unit 5 and zoom 2 give 480 and 320 units per Bark.
    const int xAxis = 4700;
    const auto yOf = [](double bark) { return int(650 - int(480 * HzToBark(200)) + 480 * bark); };
    const auto xOf = [](int f) { return int(4700 + int(320 * HzToBark(400)) - 320 * HzToBark(f)); };
    // The token without a symbol: a circle of 5 x 5 units at its point.
    const QPoint token(xOf(1500), yOf(HzToBark(500)));
    EXPECT_EQ(ink(page, QRect(token - QPoint(20, 20), QSize(70, 70))).box,
              QRect(token, QSize(25, 25)));
    // The 300 Hz tick runs 30 units right of the axis into its label's white box, whose
    // left edge is there and whose font is 60 units high.
    const int y300 = yOf(HzToBark(300));
    EXPECT_EQ(ink(page, QRect(xAxis - 10, y300, 45, 1)).box, QRect(xAxis, y300, 30, 1));
    const QRect label = ink(page, QRect(xAxis + 20, y300 - 50, 100, 100), qRgb(255, 255, 255)).box;
    EXPECT_EQ(label.left(), xAxis + 30);
    EXPECT_NEAR(label.height(), 60, 6);
    // The unlabelled 600 Hz tick on the horizontal axis is 25 units high.
    EXPECT_EQ(ink(page, QRect(xOf(600), 0, 1, 670)).box, QRect(xOf(600), 626, 1, 25));
    // The F1 caption stands 150 units right of the axis, beyond the frame.
    const QRect caption(xAxis + 100, yOf(HzToBark(500) + 0.5) - 10, 300, 20);
    EXPECT_EQ(ink(page, caption, qRgb(255, 255, 255)).box.left(), xAxis + 150);
}

// An 8-inch drawing area is too narrow for the frame's F1 labels and caption: the frame
// is narrowed until they end at its edge, so "1500" is never printed as "150".
TEST(PrintPage, NarrowPageKeepsTheF1AxisLabelsAndCaptionOnIt)
{
    const QImage page = printedPage(4800);
    EXPECT_TRUE(ink(page, QRect(4800, 0, 400, 6300), qRgb(255, 255, 255)).box.isEmpty());
    EXPECT_TRUE(ink(page, QRect(4800, 0, 400, 6300)).box.isEmpty());
    // The labels still reach the edge: the frame is narrowed no more than it must be.
    EXPECT_GE(ink(page, QRect(4500, 0, 300, 6300)).box.right(), 4700);
}

// The page sizes a user prints on, in both orientations, at the printer's own resolution:
// the fitted layout keeps the whole F1 axis, its labels and caption inside the printable
// area, and a page where the chart fits as laid out (Letter, portrait) is left as it is.
TEST(PrintPage, RealPagesKeepTheF1AxisInsideThePrintableArea)
{
    FakeDocument data({{500, 1500, 2500, "", 1}});
    for (const auto id : {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A5}) {
        for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setPageSize(QPageSize(id));
            printer.setPageOrientation(orientation);
            const QRect area(QPoint(0, 0),
                             printer.pageLayout().paintRectPixels(printer.resolution()).size());
            const auto overhang = [&](const PrintPageLayout &l) {
                return ChartRenderer::DeviceF1AxisExtent(
                    *data.doc, PlotFrame{l.left, l.top, l.right, l.bottom}, l.unit, 2);
            };
            const PrintPageLayout laid = ComputePrintPageLayout(area.width(), area.height(), 7, 9);
            const PrintPageLayout fitted = FitPrintPageLayout(laid, area, overhang);
            const QString name = QPageSize(id).name() + QString::number(int(orientation));
            EXPECT_TRUE(area.contains(overhang(fitted))) << name.toStdString();
            if (id == QPageSize::Letter && orientation == QPageLayout::Portrait) {
                EXPECT_EQ(std::tuple(fitted.unit, fitted.right), std::tuple(laid.unit, laid.right));
            }
        }
    }
}

// Lines on a printer or PDF page are at least a quarter point wide; screens and bitmaps
// keep one-pixel lines.
TEST(PrintPage, PrintedLinesAreAtLeastAQuarterPoint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(1200);
    QPdfWriter pdf(QDir::temp().filePath(QStringLiteral("unused.pdf")));
    pdf.setResolution(72);
    QImage image(10, 10, QImage::Format_RGB32);
    image.setDotsPerMeterX(47244); // 1200 dots per inch
    EXPECT_EQ(std::tuple(PrintLineWidth(&printer), PrintLineWidth(&pdf), PrintLineWidth(&image)),
              std::tuple(5, 1, 1));
}

// White with smoothed black lines and text, the colours of a chart, becomes an exact palette;
// an image of more colours than a palette holds keeps every pixel too, as does transparency.
TEST(PngFile, ChartColoursBecomeAnExactPaletteAndOtherImagesKeepEveryPixel)
{
    QImage chart(320, 200, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawEllipse(QRectF(40.5, 30.25, 200, 120));
    painter.drawText(QPointF(20, 180), QStringLiteral("i e \u025B a \u0254 o u"));
    painter.end();
    const QImage palette = ExactPaletteImage(chart);
    ASSERT_FALSE(palette.isNull());
    EXPECT_EQ(palette.format(), QImage::Format_Indexed8);
    EXPECT_EQ(palette.convertToFormat(QImage::Format_RGB32), chart);

    const auto readBack = [](const QImage &image) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WritePngImage(image, &buffer));
        return QImage::fromData(buffer.data(), "PNG");
    };
    EXPECT_EQ(readBack(chart).format(), QImage::Format_Indexed8);
    EXPECT_EQ(readBack(chart).convertToFormat(QImage::Format_RGB32), chart);

    QImage many(257, 1, QImage::Format_RGB32); // one colour more than a palette holds
    for (int x = 0; x < many.width(); ++x)
        many.setPixel(x, 0, qRgb(x % 256, x / 256, 7));
    EXPECT_TRUE(ExactPaletteImage(many).isNull());
    // A full palette, its colours scattered and repeated in a second row, is exact.
    QImage full(256, 2, QImage::Format_RGB32);
    for (int x = 0; x < full.width(); ++x)
        full.setPixel(x, 0, qRgb(x, (x * 37) % 256, 255 - x));
    for (int x = 0; x < full.width(); ++x)
        full.setPixel(x, 1, full.pixel(255 - x, 0));
    const QImage fullPalette = ExactPaletteImage(full);
    ASSERT_FALSE(fullPalette.isNull());
    EXPECT_EQ(fullPalette.colorCount(), 256);
    EXPECT_EQ(fullPalette.convertToFormat(QImage::Format_RGB32), full);
    EXPECT_EQ(readBack(many).convertToFormat(QImage::Format_RGB32), many);
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 20, 30, 0));
    clear.setPixel(1, 1, qRgba(200, 0, 0, 128));
    EXPECT_EQ(readBack(clear).convertToFormat(QImage::Format_ARGB32), clear);
    EXPECT_TRUE(ExactPaletteImage(QImage()).isNull());
}

// Two groups of four tokens apart from each other.
std::vector<FakeRow> vowels()
{
    std::vector<FakeRow> rows = wideGroup("a", "a", 1);
    for (const FakeRow &r : wideGroup("i", "i", 2))
        rows.push_back({r.f1 + 50, r.f2 + 300, r.f3, r.symbol, r.order});
    return rows;
}

// PNG at a resolution is the same chart drawn finer, not larger; a failed write reports why
// and leaves what was there.
TEST(ChartExport, WritesPngAtItsResolutionAndKeepsThePreviousFileOnFailure)
{
    TestFiles files;
    FakeDocument data(vowels());
    data.doc->m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    data.doc->m_analysis.fit = true;

    ChartExportSettings png{files.path("c.png"), ChartFileFormat::Png, {1600, 1200}, 192, "t", {}};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F2, png).isError());
    const QImage image(png.path);
    EXPECT_EQ(image.size(), QSize(1600, 1200));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 192, 0.5);
    // Every mark twice the pixels: halved, it is the chart at 800 x 600.
    ChartExportSettings screen{files.path("s.png"), ChartFileFormat::Png, {800, 600}, 0, "t", {}};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F2, screen).isError());
    const QImage small = QImage(screen.path).convertToFormat(QImage::Format_RGB32);
    const QImage halved = image.scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB32);
    int far = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            far += qGray(small.pixel(x, y)) - qGray(halved.pixel(x, y)) > 128;
    EXPECT_LT(far, 800 * 600 / 100);

    const QByteArray before = TestFiles::read(png.path);
    ChartExportSettings bad = png;
    bad.path = files.path("no/dir/c.png");
    EXPECT_TRUE(WriteChartFile(*data.doc, ChartKind::F1F2, bad).isError());
    bad.size = {0, 10};
    bad.path = png.path;
    EXPECT_TRUE(WriteChartFile(*data.doc, ChartKind::F1F2, bad).isError());
    EXPECT_EQ(TestFiles::read(png.path), before);
}

TEST(ChartExport, TheChartWindowsCommandAsksForTheFileThenTheSize)
{
    TestFiles files;
    FakeDocument data(vowels());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    view.resize(700, 500);
    MessageCapture capture;
    {
        ScopedFileDialogAnswer answer(files.path("chart.png"));
        ScopedModalRunner sized([](QDialog &dialog) {
            auto *dpi = dialog.findChild<QComboBox *>("IDC_EXPORT_DPI");
            // The common resolutions are offered; any other in range can be typed.
            EXPECT_GE(dpi->findText("300"), 0);
            EXPECT_GE(dpi->findText("1200"), 0);
            EXPECT_LT(dpi->findText("1"), 0);
            // Twice the window's resolution: twice its pixels, the same picture.
            dpi->setCurrentText("192");
            auto *width = dialog.findChild<QSpinBox *>("IDC_EXPORT_WIDTH");
            auto *height = dialog.findChild<QSpinBox *>("IDC_EXPORT_HEIGHT");
            EXPECT_EQ(std::pair(width->value(), height->value()), std::pair(1400, 1000));
            width->setValue(1400);
            height->setValue(1000);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(view.execute(ID_FILE_EXPORT_CHART));
        ASSERT_EQ(answer.requests().size(), 1);
        EXPECT_TRUE(answer.requests()[0].patterns.contains("*.pdf"));
    }
    const QImage exported(files.path("chart.png"));
    EXPECT_EQ(exported.size(), QSize(1400, 1000));
    EXPECT_NEAR(exported.dotsPerMeterX() * 0.0254, 192, 0.5);
    {
        // The size proposed is the window's; Cancel writes nothing; a bitmap is refused.
        ScopedFileDialogAnswer answer(files.path("chart.svg"));
        ScopedModalRunner cancel([](QDialog &dialog) {
            EXPECT_EQ(dialog.findChild<QSpinBox *>("IDC_EXPORT_WIDTH")->value(), 700);
            EXPECT_FALSE(dialog.findChild<QComboBox *>("IDC_EXPORT_DPI")->isEnabled());
            return int(QDialog::Rejected);
        });
        view.execute(ID_FILE_EXPORT_CHART);
        answer.setPath(files.path("chart.bmp"));
        view.execute(ID_FILE_EXPORT_CHART);
    }
    EXPECT_FALSE(QFile::exists(files.path("chart.svg")));
    EXPECT_FALSE(QFile::exists(files.path("chart.bmp")));
    EXPECT_EQ(capture.messages().size(), 1);
    data.doc->removeView(&view);
}

} // namespace
