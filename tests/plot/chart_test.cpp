// The Bark scale, group ellipses, and the chart drawn into an 800 x 600 image: marks at
// the pixels of the worked numbers.

#include "analysis/groupstatistics.h"
#include "faketable.h"
#include "plot/chartfonts.h"
#include "plot/chartrenderer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const PlotGeometry kScreen = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
const QColor kGrey(200, 200, 200);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

struct Chart
{
    explicit Chart(std::vector<FakeRow> rows, ChartKind kind = ChartKind::F1F2)
        : data(std::move(rows)), renderer(kind)
    {}
    // The window's picture, or the printed one; grey shows the opaque boxes behind texts.
    QImage draw(QColor background = Qt::white, bool device = false)
    {
        QImage image = blankImage(800, 600, background);
        QPainter painter(&image);
        if (device)
            renderer.DrawPlotToDC(painter, *data.doc, {0, 0, 800, 600}, 1, 1);
        else
            renderer.DrawPlot(painter, *data.doc, {0, 0, 800, 600}, 1, font, hits);
        return image;
    }
    int recordedHits() const { return int(std::ranges::count_if(hits, &QRect::isValid)); }
    FakeDocument data;
    ChartRenderer renderer;
    QFont font = ChartFonts::logicalFont(QStringLiteral("DisplayFont"), 16, 7);
    std::array<QRect, 10000> hits{};
};
TEST(BarkScale, ReferenceValuesAndExtremes)
{
    const double reference[][2] = {{200, 1.963479},  {400, 3.846548},  {500, 4.736467},
                                   {1000, 8.510532}, {1750, 12.22958}, {3500, 16.496129}};
    for (auto [hz, bark] : reference)
        EXPECT_NEAR(HzToBark(int(hz)), bark, 0.5e-6) << hz;
    EXPECT_LT(HzToBark(INT32_MAX), 26.0);
    EXPECT_GT(HzToBark(INT32_MIN), -26.0);
}

// Device positions truncate toward zero (a frame far up the page puts 200 Hz at -0.x,
// which must be row 0, not -1); values that are no device coordinate are refused.
TEST(PlotGeometry, TruncatesTowardZeroAndRefusesNonFiniteValues)
{
    const PlotGeometry g = PlotGeometry::compute({0, -50, 800, 600}, 1, 1);
    int x = 7, y = 7;
    ASSERT_TRUE(g.mapBark(HzToBark(200) - 0.01, HzToBark(400), x, y));
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(g.mapBark(std::nan(""), 1.0, x, y));
    EXPECT_FALSE(g.mapBark(1.0, INFINITY, x, y));
}

// Uncorrelated groups get the ellipse along their larger spread (step 0 points along F1,
// step 50 along F2), equal spreads a circle; groups without spread get no outline.
TEST(GroupEllipse, ZeroCovarianceAndDegenerateGroups)
{
    for (auto [sxx, syy, alongY, alongX] : {std::tuple{1.0, 4.0, 2.0, 1.0}, {4.0, 1.0, 1.0, 2.0}}) {
        const std::vector<PolarOutlinePoint> o = polarEllipseOutline(5, 3, sxx, syy, 0, 1, 200);
        ASSERT_EQ(o.size(), 200u);
        EXPECT_NEAR(o[0].y - 3, alongY, 1e-9);
        EXPECT_NEAR(o[50].x - 5, alongX, 1e-9);
    }
    for (const PolarOutlinePoint &p : polarEllipseOutline(1, 1, 2, 2, 0, 1, 200))
        EXPECT_NEAR(std::hypot(p.x - 1, p.y - 1), std::sqrt(2), 1e-9);
    EXPECT_TRUE(polarEllipseOutline(1, 1, 0, 2, 0, 2, 200).empty());
    EXPECT_TRUE(polarEllipseOutline(1, 1, 2, 2, std::nan(""), 2, 200).empty());
    // Identical tokens leave no spread at all: no outline.
    const double b1 = HzToBark(317), b2 = HzToBark(2213);
    const std::vector<int> one(3, 0);
    const StatisticsResult same = groupStatistics(
        one, 1, std::vector{b2, b2, b2}, std::vector{b1, b1, b1}, EllipseKind::Sd2Population, {});
    ASSERT_TRUE(same.groups[0].sdX && same.groups[0].covXY);
    EXPECT_TRUE(polarEllipseOutline(b2, b1, *same.groups[0].sdX * *same.groups[0].sdX,
                                    *same.groups[0].sdY * *same.groups[0].sdY,
                                    *same.groups[0].covXY, 2, 200)
                    .empty());
}

// Ticks, tick labels and captions of the 800 x 600 window; texts found by their boxes.
TEST(ChartAxes, TicksCaptionsAndLabelsOfThe800x600Window)
{
    const QImage image = Chart({{500, 1500, 0, "", 1}}).draw(kGrey);
    // F1: 14 ticks from 200 to 1500 Hz along the axis, each line hidden from 10 units
    // right of the axis on by its label box.
    const int tickColumn = kScreen.xAxis + 5;
    const int y200 = kScreen.yOfF1(200);
    const int y1500 = kScreen.yOfF1(1500);
    EXPECT_EQ(ink(image, QRect(tickColumn, 0, 1, 600)).count, 14);
    EXPECT_EQ(ink(image, QRect(tickColumn, 0, 1, 600)).box,
              QRect(tickColumn, y200, 1, y1500 - y200 + 1));
    const int y300 = kScreen.yOfF1(300);
    EXPECT_EQ(ink(image, QRect(kScreen.xAxis - 10, y300, 30, 1)).box,
              QRect(kScreen.xAxis, y300, 10, 1));
    for (int hz = 200; hz <= 1500; hz += 100)
        EXPECT_EQ(ink(image, QRect(tickColumn, kScreen.yOfF1(hz) - 4, 60, 9), kWhite).box.left(),
                  kScreen.xAxis + 10);
    // F2: 32 ticks from 400 to 3500 Hz, 5 units high above the axis; labelled ones go on
    // up 20 units.
    const int tickRow = kScreen.yAxis - 3;
    const int x400 = kScreen.xOfF2(400);
    const int x3500 = kScreen.xOfF2(3500);
    EXPECT_EQ(ink(image, QRect(0, tickRow, 800, 1)).count, 32);
    EXPECT_EQ(ink(image, QRect(0, tickRow, 800, 1)).box,
              QRect(x3500, tickRow, x400 - x3500 + 1, 1));
    const int x600 = kScreen.xOfF2(600);
    EXPECT_EQ(ink(image, QRect(x600, kScreen.yAxis - 10, 1, 20)).box,
              QRect(x600, kScreen.yAxis - 4, 1, 5));
    const int x1500 = kScreen.xOfF2(1500);
    EXPECT_EQ(ink(image, QRect(x1500 - 5, kScreen.yAxis - 30, 10, 10)).box.top(),
              kScreen.yAxis - 24);
    // The F1 caption 50 units right of the axis, half a Bark below 500 Hz; the F2 caption
    // from 1750 Hz, above the labels.
    const int f1CaptionY = toDeviceUnits(kScreen.yOrigin + kScreen.kF1 * (HzToBark(500) + 0.5));
    const QRect f1 = ink(image, QRect(kScreen.xAxis + 40, f1CaptionY - 30, 60, 60), kWhite).box;
    const QRect f2 = ink(image, QRect(kScreen.xOfF2(1750) - 30, 0, 80, 28), kWhite).box;
    EXPECT_EQ(std::pair(f1.left(), f2.left()), std::pair(kScreen.xAxis + 50, kScreen.xOfF2(1750)));
    EXPECT_NEAR(f1.center().y(), f1CaptionY, 1);
    EXPECT_NEAR(f2.center().y(), 15, 1);
}

// Tokens are read from the table at every paint: a hollow circle at the point, or the
// symbol hanging from it; nothing at all without data or table.
// The window's tick labels at the default maxima, as the chart places them in its display
// font: no two neighbours share a pixel (3500 and 3000 Hz lie only 28.5 pixels apart).
TEST(ChartAxes, TickLabelsNeverOverlapAtTheDefaults)
{
    const QFontMetrics metrics(Chart({}).font);
    // 3500 Hz would touch 3000 Hz: its longer tick stays, its label goes; every label drawn
    // keeps 2 pixels from the next.
    const QImage image = Chart({{500, 1500, 0, "", 1}}).draw();
    const int x3500 = kScreen.xOfF2(3500);
    EXPECT_EQ(ink(image, QRect(x3500 - 1, 26, 3, 25)).box.height(), 25);
    const int x3000 = kScreen.xOrigin - toDeviceUnits(kScreen.kF2 * HzToBark(3000));
    const int left3000 = x3000 - metrics.horizontalAdvance(QStringLiteral("3000")) / 2;
    int inkLeftOf3000 = 0;
    for (int y = 26; y < 46; ++y)
        for (int x = 0; x < left3000 - 1; ++x)
            inkLeftOf3000 += image.pixel(x, y) != kWhite && std::abs(x - x3500) > 1;
    EXPECT_EQ(inkLeftOf3000, 0);
    int previousLeft = INT_MAX;
    for (int hz : f2TickFrequencies(3000)) {
        if (!isLabelledF2Tick(hz))
            continue;
        const int x = kScreen.xOrigin - toDeviceUnits(kScreen.kF2 * HzToBark(hz));
        const int width = metrics.horizontalAdvance(QString::number(hz));
        EXPECT_LE(x - width / 2 + width + 2, previousLeft) << hz;
        previousLeft = x - width / 2;
    }
    int previousBottom = INT_MIN;
    for (int hz : f1TickFrequencies(1500)) {
        const int top = kScreen.yOfF1(hz) - metrics.height() / 2;
        EXPECT_GE(top, previousBottom) << hz;
        previousBottom = top + metrics.height();
    }
}

TEST(ChartTokens, HollowCircleOrTextReadAtEveryPaint)
{
    Chart chart({{500, 1500, 0, "", 0}, {1500, 3500, 0, "a", 1}});
    QImage image = chart.draw();
    const QPoint circle = screenPoint(500, 1500);
    const QRect aroundCircle(circle - QPoint(9, 8), QSize(20, 20));
    EXPECT_EQ(ink(image, aroundCircle).box, QRect(circle, QSize(5, 5)));
    EXPECT_NE(image.pixel(circle + QPoint(2, 2)), kBlack);
    QPainter painter(&image);
    painter.setFont(ChartFonts::deviceDefaultFont(&image));
    const QSize box = ChartRenderer::GetTextSize(painter, "a");
    const QPoint label = screenPoint(1500, 3500);
    const QRect text = ink(image, QRect(label - QPoint(15, 13), QSize(40, 40))).box;
    EXPECT_TRUE(!text.isEmpty() && QRect(label, box).contains(text));
    chart.data.doc->tokens().setNumber(0, TokenTableModel::F2, 1000);
    EXPECT_TRUE(ink(chart.draw(), aroundCircle).box.isEmpty());
    chart.data.doc->m_bDataLoaded = false;
    EXPECT_EQ(ink(chart.draw(), QRect(0, 0, 800, 600)).count, 0);
    chart.data.doc->m_bDataLoaded = true;
    chart.data.table.reset();
    EXPECT_EQ(ink(chart.draw(), QRect(0, 0, 800, 600)).count, 0);
}

// The worked group's disc and outline go with the ellipse option; a group needs three
// tokens in one run of its order (5, 6, 5 makes two runs of two).
TEST(ChartGroups, DiscAndOutlineOfGroupsOfThreeInOneRun)
{
    Chart chart({{300, 2300, 0, "", 1}, {320, 2200, 0, "", 1}, {310, 2400, 0, "", 1}});
    const QImage on = chart.draw();
    chart.data.doc->m_bDrawEllipse = false;
    const QImage off = chart.draw();
    const QPoint mean = screenMean({{300, 2300}, {320, 2200}, {310, 2400}});
    for (QPoint p : {mean, mean + QPoint(0, 6), mean - QPoint(12, 0), mean - QPoint(0, 6),
                     mean + QPoint(12, 0)})
        EXPECT_TRUE(on.pixel(p) == kBlack && off.pixel(p) != kBlack) << p.x() << "," << p.y();
    const QPoint c = kWideCentre;
    EXPECT_EQ(ink(Chart(wideGroup("", "", 1)).draw(), QRect(c.x() - 10, c.y(), 20, 1)).box,
              QRect(c.x() - 5, c.y(), 10, 1));
    std::vector<FakeRow> rows = wideGroup("a", "e", 5);
    rows.insert(rows.begin() + 2, FakeRow{500, 1500, 0, "x", 6});
    Chart split(rows);
    EXPECT_NE(split.draw().pixel(c), kBlack);
    EXPECT_EQ(split.recordedHits(), 0);
}

// A token with an empty F1 or F2 cell is neither drawn nor counted in its group: its mean
// stays where the other tokens put it (an empty cell reads as 0 Hz, which would pull it).
TEST(ChartGroups, TokensWithAnEmptyFormantAreLeftOut)
{
    std::vector<FakeRow> rows = wideGroup("", "", 1);
    rows.push_back({300, 1500, 0, "", 1});
    rows.push_back({600, 1500, 0, "", 1});
    Chart chart(rows);
    chart.data.doc->tokens().setEmpty(4, TokenTableModel::F1);
    chart.data.doc->tokens().setEmpty(5, TokenTableModel::F2);
    const QPoint c = kWideCentre;
    const QImage image = chart.draw();
    EXPECT_EQ(ink(image, QRect(c.x() - 10, c.y(), 20, 1)).box, QRect(c.x() - 5, c.y(), 10, 1));
    EXPECT_EQ(ink(image, QRect(0, 0, 800, 600)).count,
              ink(Chart(wideGroup("", "", 1)).draw(), QRect(0, 0, 800, 600)).count);
}

// Mixed groups show a red "?" with a click square at their order, same labels none;
// orders outside the square table still show it but record nothing.
TEST(ChartGroups, MixedGroupsShowARedQuestionMarkWithAClickSquare)
{
    const QPoint c = kWideCentre;
    const QRect labelArea(c.x(), c.y(), 60, 40);
    Chart same(wideGroup("a", "a", 3));
    EXPECT_EQ(ink(same.draw(), labelArea, kRed).count, 0);
    EXPECT_EQ(same.recordedHits(), 0);
    Chart mixed(wideGroup("a", "e", 3));
    EXPECT_GT(ink(mixed.draw(), labelArea, kRed).count, 0);
    EXPECT_EQ(mixed.hits[3], QRect(c.x() - 30, c.y() - 30, 60, 60));
    mixed.data.doc->m_bDrawEllipse = false;
    mixed.hits[3] = QRect();
    EXPECT_EQ(ink(mixed.draw(), labelArea, kRed).count, 0);
    EXPECT_EQ(mixed.recordedHits(), 0);
    for (int order : {-1, 9999, 10000, INT32_MAX}) {
        Chart chart(wideGroup("a", "e", order));
        EXPECT_GT(ink(chart.draw(), QRect(c.x(), c.y(), 40, 40), kRed).count, 0);
        EXPECT_EQ(chart.recordedHits(), order >= 0 && order < 10000 ? 1 : 0) << order;
    }
}

// F3 runs along the top; the window frames a mixed group's "?" while print leaves it bare;
// on paper the F1-F3 chart puts token texts on white boxes, the F1-F2 chart does not.
TEST(ChartF1F3, F3AxisFramedQuestionMarksAndTextBackgrounds)
{
    const QImage f3 = Chart({{500, 9999, 1500, "", 1}}, ChartKind::F1F3).draw();
    // F3 maps as F2 does: the token stands where F2 = 1500 Hz would; 27 ticks up to 3000.
    const QPoint circle = screenPoint(500, 1500);
    EXPECT_EQ(ink(f3, QRect(circle - QPoint(9, 8), QSize(20, 20))).box, QRect(circle, QSize(5, 5)));
    EXPECT_EQ(ink(f3, QRect(0, kScreen.yAxis - 3, 800, 1)).count, 27);
    Chart chart(wideGroup("a", "e", 3), ChartKind::F1F3);
    const QPoint c = kWideCentre;
    const QImage framed = chart.draw();
    EXPECT_EQ(ink(framed, QRect(c.x() - 40, c.y(), 80, 1)).box.left(), c.x() - 30);
    EXPECT_EQ(framed.pixel(c + QPoint(29, 0)), kBlack);
    EXPECT_NE(chart.draw(Qt::white, true).pixel(c - QPoint(30, 0)), kBlack);
    chart.data.doc->m_nOrderLabel[3] = 0;
    EXPECT_NE(chart.draw().pixel(c - QPoint(30, 0)), kBlack);
    for (ChartKind kind : {ChartKind::F1F2, ChartKind::F1F3}) {
        const QImage image = Chart({{1500, 3500, 3500, "a", 1}}, kind).draw(kGrey, true);
        EXPECT_EQ(ink(image, QRect(screenPoint(1500, 3500), QSize(8, 8)), kWhite).box.isEmpty(),
                  kind == ChartKind::F1F2);
    }
}

} // namespace
