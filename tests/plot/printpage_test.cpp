// Chart page layout for printing: unit, margin and frame from the page size.

#include "printpage.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(PrintPageLayout, PortraitPageAt600DotsPerInch)
{
    const PrintPageLayout layout = ComputePrintPageLayout(4800, 6300, 7.0, 9.0);
    EXPECT_EQ(layout.unit, 5);
    EXPECT_EQ(layout.margin, 600);
    EXPECT_EQ(layout.left, 600);
    EXPECT_EQ(layout.top, 600);
    EXPECT_EQ(layout.right, 4800);
    EXPECT_EQ(layout.bottom, 6000);
}

TEST(PrintPageLayout, UnitsByResolutionEstimate)
{
    const PrintPageLayout small = ComputePrintPageLayout(2400, 3150, 7.0, 9.0);
    EXPECT_EQ(small.unit, 2);
    EXPECT_EQ(small.right, 2400);
    EXPECT_EQ(small.bottom, 3000);
    // 650 and 1300 are no row's interior: they fall back to the smallest unit.
    EXPECT_EQ(ComputePrintPageLayout(5525, 9000, 7.0, 9.0).unit, 2);  // t = 650
    EXPECT_EQ(ComputePrintPageLayout(11050, 9e4, 7.0, 9.0).unit, 2);  // t = 1300
    EXPECT_EQ(ComputePrintPageLayout(5534, 9000, 7.0, 9.0).unit, 10); // t = 651
    EXPECT_EQ(ComputePrintPageLayout(20000, 30000, 7.0, 9.0).unit, 20);
    EXPECT_EQ(ComputePrintPageLayout(22000, 30000, 7.0, 9.0).unit, 2); // t = 2588
}

TEST(PrintPageLayout, LandscapeEstimatesFromTheHeight)
{
    // H / 11 = 563 -> unit 5, even though W x 2 / 17 would be 741.
    const PrintPageLayout layout = ComputePrintPageLayout(6300, 6200, 7.0, 9.0);
    EXPECT_EQ(layout.unit, 5);
    EXPECT_EQ(layout.bottom, 600 + 5400);
}

TEST(PrintPage, TitleIsCentredAboveTheFrame)
{
    QImage page(4800, 6300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QString title = QStringLiteral("vowels.txt");
    const PrintPageLayout layout =
        PreparePrintPage(painter, QRect(0, 0, 4800, 6300), 7.0, 9.0, title);
    painter.end();
    EXPECT_EQ(layout.frameRect(), QRect(600, 600, 4200, 5400));

    // Ink lies between y = 300 and the frame, centred on x = 2700.
    int minX = page.width(), maxX = -1, minY = page.height();
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
            }
        }
    }
    ASSERT_GE(maxX, 0) << "no title drawn";
    EXPECT_GE(minY, 300);
    EXPECT_NEAR((minX + maxX) / 2.0, 2700.0, 6.0);
}

} // namespace
