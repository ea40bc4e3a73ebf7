// Group moments, principal axes and the ellipse outline in Bark space.

#include "barkscale.h"
#include "groupmoments.h"
#include "plotgeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

GroupMoments momentsOf(std::initializer_list<std::pair<int, int>> tokens)
{
    GroupMoments m;
    for (auto [f1, f2] : tokens)
        m.add(HzToBark(f1), HzToBark(f2));
    return m;
}

TEST(GroupMoments, ThreeTokenWorkedExample)
{
    const GroupMoments m = momentsOf({{300, 2300}, {320, 2200}, {310, 2400}});
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
        ASSERT_TRUE(g.mapBark(outline.b1[std::size_t(k)], outline.b2[std::size_t(k)], x, y));
        EXPECT_EQ(x, ex) << "step " << k;
        EXPECT_EQ(y, ey) << "step " << k;
    }
}

// Uncorrelated groups divide by a zero covariance in the tilt formula; the outline must
// still lie along the larger spread, with semi-axes of two standard deviations.
TEST(GroupMoments, ZeroCovarianceFollowsTheLargerVariance)
{
    GroupMoments alongF2;
    for (auto [b1, b2] : {std::pair{1.0, 10.0}, {1.0, 12.0}, {2.0, 10.0}, {2.0, 12.0}})
        alongF2.add(b1, b2);
    ASSERT_EQ(alongF2.S12(), 0.0);
    EllipseOutline outline;
    ASSERT_TRUE(ComputeEllipseOutline(alongF2, outline));
    ASSERT_EQ(outline.count, 200);
    // Step 0 points along F1 (minor, 2 x 0.5), step 50 along the horizontal (major, 2 x 1).
    EXPECT_NEAR(outline.b1[0] - alongF2.m1(), 1.0, 1e-9);
    EXPECT_NEAR(outline.b2[50] - alongF2.m2(), 2.0, 1e-9);

    GroupMoments alongF1;
    for (auto [b1, b2] : {std::pair{10.0, 1.0}, {12.0, 1.0}, {10.0, 2.0}, {12.0, 2.0}})
        alongF1.add(b1, b2);
    ASSERT_TRUE(ComputeEllipseOutline(alongF1, outline));
    EXPECT_NEAR(outline.b1[0] - alongF1.m1(), 2.0, 1e-9);
    EXPECT_NEAR(outline.b2[50] - alongF1.m2(), 1.0, 1e-9);

    GroupMoments circle;
    for (auto [b1, b2] : {std::pair{0.0, 1.0}, {2.0, 1.0}, {1.0, 0.0}, {1.0, 2.0}})
        circle.add(b1, b2);
    ASSERT_TRUE(ComputeEllipseOutline(circle, outline));
    for (int k = 0; k < outline.count; ++k) {
        const double d1 = outline.b1[std::size_t(k)] - 1.0;
        const double d2 = outline.b2[std::size_t(k)] - 1.0;
        EXPECT_NEAR(std::hypot(d1, d2), 2.0 * std::sqrt(0.5), 1e-9);
    }
}

TEST(GroupMoments, DegenerateGroupsGetNoOutline)
{
    EllipseOutline outline;
    // Identical tokens: variances come out 0 or a hair either side of it.
    EXPECT_FALSE(
        ComputeEllipseOutline(momentsOf({{317, 2213}, {317, 2213}, {317, 2213}}), outline));
    EXPECT_EQ(outline.count, 0);
    // One shared F1: no spread along F1.
    EXPECT_FALSE(
        ComputeEllipseOutline(momentsOf({{300, 2000}, {300, 2100}, {300, 2300}}), outline));
}

TEST(GroupMoments, CollinearTokensCollapseToTheCentre)
{
    // On one straight line in Bark space the minor variance is 0: every point that the
    // polar equation yields coincides with the mean.
    GroupMoments m;
    for (double t : {0.0, 1.0, 2.0})
        m.add(3.0 + t, 10.0 + 2.0 * t);
    EllipseOutline outline;
    if (ComputeEllipseOutline(m, outline)) {
        for (int k = 0; k < outline.count; ++k) {
            EXPECT_NEAR(outline.b1[std::size_t(k)], m.m1(), 1e-6);
            EXPECT_NEAR(outline.b2[std::size_t(k)], m.m2(), 1e-6);
        }
    }
}

TEST(GroupMoments, GroupsBeyondTenThousandTokensAreSafe)
{
    GroupMoments m;
    for (int i = 0; i < 25000; ++i)
        m.add(HzToBark(300 + i % 50), HzToBark(2000 + i % 70));
    EXPECT_EQ(m.count(), 25000);
    EllipseOutline outline;
    EXPECT_TRUE(ComputeEllipseOutline(m, outline));
    EXPECT_LE(outline.count, EllipseOutline::kSteps);
}

} // namespace
