// The Bark scale, the chart geometry and the tick lists, checked with the worked numbers.

#include "barkscale.h"
#include "plotgeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

TEST(BarkScale, ReferenceValuesAndExtremes)
{
    const std::pair<int, double> reference[] = {
        {200, 1.963479},   {400, 3.846548},  {500, 4.736467},  {1000, 8.510532},
        {1500, 11.199359}, {1750, 12.22958}, {3500, 16.496129}};
    for (auto [hz, bark] : reference)
        EXPECT_NEAR(HzToBark(hz), bark, 0.5e-6) << hz;
    EXPECT_EQ(HzToBark(0), 0.0);
    EXPECT_LT(HzToBark(INT32_MAX), 26.0);
    EXPECT_GT(HzToBark(INT32_MIN), -26.0);
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
    EXPECT_EQ(std::pair(g.xOfF2(400), g.yOfF1(200)), std::pair(699, 50));
    EXPECT_EQ(std::pair(g.xOfF2(1500), g.yOfF1(500)), std::pair(464, 183));
    EXPECT_EQ(std::pair(g.xOfF2(3500), g.yOfF1(1500)), std::pair(295, 493));
}

TEST(PlotGeometry, TruncatesTowardZeroAndRefusesNonFiniteValues)
{
    // A frame far up the page puts 200 Hz just above row 0: -0.x must become 0, not -1.
    const PlotGeometry g = PlotGeometry::compute({0, -50, 800, 600}, 1, 1);
    int x = 7;
    int y = 7;
    ASSERT_TRUE(g.mapBark(HzToBark(200) - 0.01, HzToBark(400), x, y));
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(g.mapBark(std::nan(""), 1.0, x, y));
    EXPECT_FALSE(g.mapBark(1.0, INFINITY, x, y));
}

int labelled(const std::vector<int> &ticks)
{
    return int(std::count_if(ticks.begin(), ticks.end(), isLabelledF2Tick));
}

TEST(Ticks, DefaultAndEdgeBounds)
{
    EXPECT_EQ(f1TickFrequencies(1500), (std::vector<int>{200, 300, 400, 500, 600, 700, 800, 900,
                                                         1000, 1100, 1200, 1300, 1400, 1500}));
    EXPECT_TRUE(f1TickFrequencies(199).empty());
    EXPECT_EQ(f1TickFrequencies(1599).back(), 1500);

    const std::vector<int> f2 = f2TickFrequencies(3500);
    EXPECT_EQ(f2.size(), 32u);
    EXPECT_EQ(labelled(f2), 7);
    EXPECT_TRUE(f2TickFrequencies(399).empty());
    EXPECT_EQ(f2TickFrequencies(3499).back(), 3400);
    EXPECT_EQ(labelled(f2TickFrequencies(3499)), 6); // last label 3000
    EXPECT_EQ(f2TickFrequencies(3000).size(), 27u);  // the F3 default
}

} // namespace
