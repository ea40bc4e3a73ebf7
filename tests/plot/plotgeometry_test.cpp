// The Bark scale, the chart geometry and the tick lists, checked with the worked numbers.

#include "barkscale.h"
#include "plotgeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct BarkCase
{
    int hz;
    double bark;
};

class BarkReference : public ::testing::TestWithParam<BarkCase>
{
};

TEST_P(BarkReference, MatchesToSixDecimals)
{
    EXPECT_NEAR(HzToBark(GetParam().hz), GetParam().bark, 0.5e-6);
}

INSTANTIATE_TEST_SUITE_P(ReferenceValues, BarkReference,
                         ::testing::Values(BarkCase{200, 1.963479}, BarkCase{400, 3.846548},
                                           BarkCase{500, 4.736467}, BarkCase{1000, 8.510532},
                                           BarkCase{1500, 11.199359}, BarkCase{1750, 12.22958},
                                           BarkCase{3500, 16.496129}));

TEST(BarkScale, ZeroIsExactlyZeroAndExtremesStayFinite)
{
    EXPECT_EQ(HzToBark(0), 0.0);
    EXPECT_TRUE(std::isfinite(HzToBark(INT32_MAX)));
    EXPECT_TRUE(std::isfinite(HzToBark(INT32_MIN)));
    EXPECT_LT(HzToBark(INT32_MAX), 26.0);
}

TEST(PlotGeometry, ScreenChart800x600)
{
    const PlotGeometry g = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
    EXPECT_EQ(g.kF1, 48);
    EXPECT_EQ(g.kF2, 32);
    EXPECT_EQ(g.xAxis, 700);
    EXPECT_EQ(g.yAxis, 50);
    EXPECT_EQ(g.yOrigin, -44);
    EXPECT_EQ(g.xOrigin, 823);

    EXPECT_EQ(g.xOfF2(400), 699);
    EXPECT_EQ(g.yOfF1(200), 50);
    EXPECT_EQ(g.xOfF2(1500), 464);
    EXPECT_EQ(g.yOfF1(500), 183);
    EXPECT_EQ(g.xOfF2(3500), 295);
    EXPECT_EQ(g.yOfF1(1500), 493);
}

TEST(PlotGeometry, PrintUnitsScaleTheBarkButNotTheAxisOffsets)
{
    const PlotGeometry g = PlotGeometry::compute({600, 600, 4800, 6000}, 5, 2);
    EXPECT_EQ(g.kF1, 480);
    EXPECT_EQ(g.kF2, 320);
    EXPECT_EQ(g.xAxis, 4700);
    EXPECT_EQ(g.yAxis, 650);
}

TEST(PlotGeometry, CoordinatesTruncateTowardZero)
{
    EXPECT_EQ(toDeviceUnits(-0.7), 0);
    EXPECT_EQ(toDeviceUnits(699.9), 699);

    // A frame far up the page puts 200 Hz just above row 0: -0.x must become 0.
    const PlotGeometry g = PlotGeometry::compute({0, -50, 800, 600}, 1, 1);
    int x = 1;
    int y = 1;
    ASSERT_TRUE(g.mapBark(HzToBark(200) - 0.01, HzToBark(400), x, y));
    EXPECT_EQ(y, 0);
}

TEST(PlotGeometry, NonFiniteBarkNeverBecomesACoordinate)
{
    const PlotGeometry g = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
    int x = 7;
    int y = 7;
    EXPECT_FALSE(g.mapBark(std::nan(""), 1.0, x, y));
    EXPECT_FALSE(g.mapBark(1.0, INFINITY, x, y));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 7);
}

TEST(Ticks, DefaultBounds)
{
    const std::vector<int> f1 = f1TickFrequencies(1500);
    ASSERT_EQ(f1.size(), 14u);
    EXPECT_EQ(f1.front(), 200);
    EXPECT_EQ(f1.back(), 1500);

    const std::vector<int> f2 = f2TickFrequencies(3500);
    ASSERT_EQ(f2.size(), 32u);
    EXPECT_EQ(f2.front(), 400);
    EXPECT_EQ(f2.back(), 3500);
    EXPECT_EQ(std::count_if(f2.begin(), f2.end(), isLabelledF2Tick), 7);
}

TEST(Ticks, EdgeBounds)
{
    EXPECT_TRUE(f1TickFrequencies(199).empty());
    EXPECT_EQ(f1TickFrequencies(200).size(), 1u);
    EXPECT_EQ(f1TickFrequencies(1599).back(), 1500);
    EXPECT_TRUE(f1TickFrequencies(-5).empty());

    EXPECT_TRUE(f2TickFrequencies(399).empty());
    const std::vector<int> f2 = f2TickFrequencies(3499);
    EXPECT_EQ(f2.back(), 3400);
    int lastLabel = 0;
    for (int hz : f2)
        if (isLabelledF2Tick(hz))
            lastLabel = hz;
    EXPECT_EQ(lastLabel, 3000);
    // The F1-F3 chart's default bound.
    const std::vector<int> f3 = f2TickFrequencies(3000);
    EXPECT_EQ(f3.size(), 27u);
    EXPECT_EQ(std::count_if(f3.begin(), f3.end(), isLabelledF2Tick), 6);
}

} // namespace
