// Group moments, principal axes and the ellipse outline in Bark space.

#include "barkscale.h"
#include "groupmoments.h"
#include "plotgeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

GroupMoments inBark(std::initializer_list<std::pair<int, int>> hz)
{
    GroupMoments m;
    for (auto [f1, f2] : hz)
        m.add(HzToBark(f1), HzToBark(f2));
    return m;
}

GroupMoments raw(std::initializer_list<std::pair<double, double>> bark)
{
    GroupMoments m;
    for (auto [b1, b2] : bark)
        m.add(b1, b2);
    return m;
}

TEST(GroupMoments, ThreeTokenWorkedExample)
{
    const GroupMoments m = inBark({{300, 2300}, {320, 2200}, {310, 2400}});
    EXPECT_NEAR(m.m1(), 3.013824, 1e-6);
    EXPECT_NEAR(m.m2(), 13.988310, 1e-6);
    EXPECT_NEAR(m.S11(), 0.00588926, 1e-8);
    EXPECT_NEAR(m.S22(), 0.0494155, 1e-7);
    EXPECT_NEAR(m.S12(), -0.00874645, 1e-8);
    const EllipseAxes axes = ComputeEllipseAxes(m.S11(), m.S22(), m.S12());
    EXPECT_NEAR(axes.sigma1, 0.226069, 1e-6);
    EXPECT_NEAR(axes.sigma2, 0.064788, 1e-6);
    EXPECT_NEAR(axes.theta, -1.379728, 1e-6);

    EllipseOutline outline;
    ASSERT_TRUE(ComputeEllipseOutline(m, outline));
    ASSERT_EQ(outline.count, 200);
    const PlotGeometry g = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
    const int expected[][3] = {{0, 375, 106}, {50, 363, 100}, {100, 375, 94}, {150, 387, 100}};
    for (const auto &[k, ex, ey] : expected) {
        int x = 0;
        int y = 0;
        g.mapBark(outline.b1[std::size_t(k)], outline.b2[std::size_t(k)], x, y);
        EXPECT_EQ(std::pair(x, y), std::pair(ex, ey)) << "step " << k;
    }
}

// The tilt formula divides by the covariance; uncorrelated groups must still get the
// ellipse along their larger spread (step 0 points along F1, step 50 along F2).
TEST(GroupMoments, ZeroCovarianceFollowsTheLargerVariance)
{
    EllipseOutline outline;
    const GroupMoments alongF2 = raw({{1, 10}, {1, 12}, {2, 10}, {2, 12}});
    ASSERT_EQ(alongF2.S12(), 0.0);
    ASSERT_TRUE(ComputeEllipseOutline(alongF2, outline));
    EXPECT_NEAR(outline.b1[0] - alongF2.m1(), 1.0, 1e-9);
    EXPECT_NEAR(outline.b2[50] - alongF2.m2(), 2.0, 1e-9);

    const GroupMoments alongF1 = raw({{10, 1}, {12, 1}, {10, 2}, {12, 2}});
    ASSERT_TRUE(ComputeEllipseOutline(alongF1, outline));
    EXPECT_NEAR(outline.b1[0] - alongF1.m1(), 2.0, 1e-9);
    EXPECT_NEAR(outline.b2[50] - alongF1.m2(), 1.0, 1e-9);

    ASSERT_TRUE(ComputeEllipseOutline(raw({{0, 1}, {2, 1}, {1, 0}, {1, 2}}), outline));
    for (int k = 0; k < outline.count; ++k)
        EXPECT_NEAR(std::hypot(outline.b1[std::size_t(k)] - 1, outline.b2[std::size_t(k)] - 1),
                    2 * std::sqrt(0.5), 1e-9);
}

TEST(GroupMoments, DegenerateAndHugeGroups)
{
    EllipseOutline outline;
    // Identical tokens leave the variances 0 or a hair either side of it: no outline.
    EXPECT_FALSE(ComputeEllipseOutline(inBark({{317, 2213}, {317, 2213}, {317, 2213}}), outline));
    EXPECT_EQ(outline.count, 0);
    EXPECT_FALSE(ComputeEllipseOutline(inBark({{300, 2000}, {300, 2100}, {300, 2300}}), outline));

    GroupMoments huge;
    for (int i = 0; i < 25000; ++i)
        huge.add(HzToBark(300 + i % 50), HzToBark(2000 + i % 70));
    EXPECT_TRUE(ComputeEllipseOutline(huge, outline));
    EXPECT_EQ(outline.count, EllipseOutline::kSteps);
}

} // namespace
