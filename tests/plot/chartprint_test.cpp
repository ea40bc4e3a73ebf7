// The chart's printed page: layout from the drawing area, marks scaled by the page unit,
// and the print commands of both chart windows.

#include "barkscale.h"
#include "commandids.h"
#include "faketable.h"
#include "modaldialogs.h"
#include "plotviewf1f2.h"
#include "plotviewf1f3.h"
#include "printinfo.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QRgb kGrey = qRgb(200, 200, 200);
const QRgb kWhite = qRgb(255, 255, 255);

// The page of an 8-inch printable width at 600 dots per inch, drawn onto a grey image
// wider than the drawing area so that marks falling right of it stay visible.
QImage printPage(PlotView &view, int imageWidth = 5200)
{
    QImage page = blankImage(imageWidth, 6300, QColor(kGrey));
    QPainter painter(&page);
    PrintInfo info;
    info.m_rectDraw = QRect(0, 0, 4800, 6300);
    view.OnPrint(painter, info);
    return page;
}

TEST(ChartPrint, WorkedPortraitPageAt600DotsPerInch)
{
    FakeDocument data({{500, 1500, 0, "", 1}});
    data.doc->setTitle(QStringLiteral("vowels.txt"));
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    const QImage page = printPage(view);

    // Frame (600, 600, 4800, 6000): the F1 axis 100 units left of its right edge, the
    // horizontal axis 50 below its top; unit 5 and zoom 2 give 480 and 320 units per Bark.
    const int xAxis = 4700;
    const int yAxis = 650;
    const int yOrigin = yAxis - int(480 * HzToBark(200));
    const int xOrigin = xAxis + int(320 * HzToBark(400));

    // The token without a symbol: a circle of 5 x 5 units at its point.
    const int x = int(xOrigin - 320 * HzToBark(1500));
    const int y = int(yOrigin + 480 * HzToBark(500));
    EXPECT_EQ(inkBox(page, QRect(x - 20, y - 20, 70, 70)), QRect(x, y, 25, 25));

    // The 300 Hz tick runs 30 units right of the axis into its label's white box, whose
    // left edge is there and whose font is 60 units high.
    const int y300 = int(yOrigin + 480 * HzToBark(300));
    EXPECT_EQ(inkBox(page, QRect(xAxis - 10, y300, 45, 1)), QRect(xAxis, y300, 30, 1));
    const QRect label = inkBox(page, QRect(xAxis + 20, y300 - 50, 100, 100), kWhite);
    EXPECT_EQ(label.left(), xAxis + 30);
    EXPECT_NEAR(label.height(), 60, 6);

    // The unlabelled 600 Hz tick on the horizontal axis is 25 units high.
    const int x600 = int(xOrigin - 320 * HzToBark(600));
    EXPECT_EQ(inkBox(page, QRect(x600, 0, 1, yAxis + 20)), QRect(x600, yAxis - 24, 1, 25));

    // The F1 caption stands 150 units right of the axis, beyond the drawing area.
    const int yCaption = int(yOrigin + 480 * (HzToBark(500) + 0.5));
    EXPECT_EQ(inkBox(page, QRect(xAxis + 100, yCaption - 10, 300, 20), kWhite).left(), xAxis + 150);
}

// Print, preview and Save As Bitmap belong to both chart windows; preview lays out one
// page through the same printing code.
TEST(ChartPrint, BothChartsPrintPreviewAndExportOnePage)
{
    // The preview keeps the page settings; keep them away from the user's.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    FakeDocument data({{500, 1500, 2500, "a", 1}});
    CPlotViewF1F2 f1f2;
    CPlotViewF1F3 f1f3;
    for (PlotView *view : {static_cast<PlotView *>(&f1f2), static_cast<PlotView *>(&f1f3)}) {
        data.doc->addView(view);
        for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_SAVE_BITMAP})
            EXPECT_TRUE(view->handlesCommand(id)) << id;

        int pages = -1;
        ScopedModalRunner runner([&pages](QDialog &dialog) {
            auto *preview = dialog.findChild<QPrintPreviewWidget *>();
            if (qobject_cast<QPrintPreviewDialog *>(&dialog) && preview) {
                preview->updatePreview();
                pages = preview->pageCount();
            }
            return int(QDialog::Rejected);
        });
        EXPECT_TRUE(view->OnCmdMsg(ID_FILE_PRINT_PREVIEW));
        EXPECT_EQ(pages, 1);
    }
}

} // namespace
