// Group statistics and ellipses: figures of small groups worked by hand, each ellipse
// kind's radius, and the groups that must get no spread or no ellipse instead of a NaN.

#include "analysis/groupstatistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

StatisticsResult oneGroup(const std::vector<double> &x, const std::vector<double> &y,
                          EllipseKind kind)
{
    const std::vector<int> group(x.size(), 0);
    return groupStatistics(group, 1, x, y, kind, {QStringLiteral("i")});
}

TEST(GroupStatistics, TiltedGroupWorkedByHandAndAxisAlignedOnesAlongTheLargerVariance)
{
    // Sxx = Syy = 10/3, Sxy = 2: eigenvalues 16/3 and 4/3 at 45 degrees, det 64/9.
    const StatisticsResult result = oneGroup({12, 8, 11, 9}, {102, 98, 99, 101}, EllipseKind::Sd1);
    ASSERT_EQ(result.groups.size(), 1u);
    const GroupStatistics &g = result.groups[0];
    EXPECT_EQ(g.n, 4);
    EXPECT_DOUBLE_EQ(*g.meanX, 10.0);
    EXPECT_DOUBLE_EQ(*g.meanY, 100.0);
    EXPECT_DOUBLE_EQ(*g.sdX, std::sqrt(10.0 / 3.0));
    EXPECT_DOUBLE_EQ(*g.sdY, std::sqrt(10.0 / 3.0));
    EXPECT_DOUBLE_EQ(*g.covXY, 2.0);
    ASSERT_TRUE(g.ellipse);
    EXPECT_DOUBLE_EQ(g.ellipse->semiMajor, std::sqrt(16.0 / 3.0));
    EXPECT_DOUBLE_EQ(g.ellipse->semiMinor, std::sqrt(4.0 / 3.0));
    EXPECT_DOUBLE_EQ(g.ellipse->angleDeg, 45.0);
    EXPECT_DOUBLE_EQ(g.ellipse->area, kPi * 8.0 / 3.0);
    // Mahalanobis distances^2: 1.5 for the long-axis pair, 1.5 for the short-axis pair.
    EXPECT_EQ(*g.inside, 0);
    EXPECT_EQ(*oneGroup({12, 8, 11, 9}, {102, 98, 99, 101}, EllipseKind::Sd2).groups[0].inside, 4);

    // Sxy = 0: along +x when x varies more, at 90 degrees (not -90) when y does.
    const auto wide = oneGroup({-2, 2, 0, 0}, {0, 0, -1, 1}, EllipseKind::Sd1);
    EXPECT_DOUBLE_EQ(wide.groups[0].ellipse->angleDeg, 0.0);
    const auto tall = oneGroup({-1, 1, 0, 0}, {0, 0, -2, 2}, EllipseKind::Sd1);
    EXPECT_DOUBLE_EQ(tall.groups[0].ellipse->angleDeg, 90.0);
    EXPECT_DOUBLE_EQ(ellipseShape(1.0, 4.0, -0.0, 1.0)->angleDeg, 90.0);
}

TEST(GroupStatistics, RadiusOfEachKindAndTheFQuantileBehindIt)
{
    // Groups of 4: F(0.95; 2, 2) = 19 and F(0.95; 2, 3) = 9.55 from the printed F tables.
    EXPECT_DOUBLE_EQ(*ellipseRadius(EllipseKind::Sd2Population, 4), 2.0 * std::sqrt(0.75));
    EXPECT_DOUBLE_EQ(*ellipseRadius(EllipseKind::Sd1, 4), 1.0);
    EXPECT_DOUBLE_EQ(*ellipseRadius(EllipseKind::Sd2, 4), 2.0);
    EXPECT_NEAR(*ellipseRadius(EllipseKind::Coverage95, 4), 2.4477468306808161, 1e-15);
    EXPECT_NEAR(*ellipseRadius(EllipseKind::Data95, 4), 4.370833901195779, 1e-12);
    EXPECT_NEAR(*ellipseRadius(EllipseKind::Mean95, 4), std::sqrt(2.0 * 3.0 / 8.0 * 19.0), 1e-12);
    for (const EllipseKindInfo &info : ellipseKinds())
        EXPECT_FALSE(ellipseRadius(info.kind, 2)) << info.name;
    // The printed F table gives 4.10 for F(0.95; 2, 10); for large d, F tends to
    // chi-square(2)/2 = -ln 0.05.
    EXPECT_NEAR(fQuantile2(0.95, 10.0), 4.1028210151304005, 1e-12);
    EXPECT_NEAR(fQuantile2(0.95, 1e8), -std::log(0.05), 1e-6);
}

TEST(GroupStatistics, SmallGroupsGetMeansOnlyAndFlatOnesNoEllipse)
{
    const std::vector<int> group{0, 1, 1, 0, 2};
    const std::vector<double> x{1, 2, 4, 3, 5};
    const std::vector<double> y{10, 20, 40, 30, 50};
    const StatisticsResult result =
        groupStatistics(group, 3, x, y, EllipseKind::Sd2Population,
                        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    ASSERT_EQ(result.groups.size(), 3u);
    EXPECT_EQ(result.groups[0].n, 2);
    EXPECT_DOUBLE_EQ(*result.groups[0].meanX, 2.0);
    EXPECT_DOUBLE_EQ(*result.groups[1].meanY, 30.0);
    EXPECT_EQ(result.groups[2].n, 1);
    for (const GroupStatistics &g : result.groups) {
        EXPECT_FALSE(g.sdX);
        EXPECT_FALSE(g.ellipse);
        EXPECT_FALSE(g.inside);
    }
    ASSERT_EQ(result.messages.size(), 3);
    EXPECT_TRUE(result.messages[2].contains(QStringLiteral("\"c\"")));

    // Points on a line have spread but no area, and no ellipse.
    const StatisticsResult line = oneGroup({1, 2, 3}, {2, 4, 6}, EllipseKind::Sd2);
    EXPECT_DOUBLE_EQ(*line.groups[0].sdX, 1.0);
    EXPECT_DOUBLE_EQ(*line.groups[0].covXY, 2.0);
    EXPECT_FALSE(line.groups[0].ellipse);
    EXPECT_FALSE(line.groups[0].inside);
    EXPECT_EQ(line.messages.size(), 1);
    const StatisticsResult same = oneGroup({5, 5, 5}, {7, 7, 7}, EllipseKind::Sd2);
    EXPECT_DOUBLE_EQ(*same.groups[0].sdX, 0.0);
    EXPECT_FALSE(same.groups[0].ellipse);
}

TEST(GroupStatistics, MissingValuesAreSkippedAndCounted)
{
    const double nan = std::nan("");
    const std::vector<int> group{0, 0, 0, 0, -1};
    const std::vector<double> x{1, nan, 3, 5, 100};
    const std::vector<double> y{1, 2, nan, 4, 100};
    const StatisticsResult result =
        groupStatistics(group, 1, x, y, EllipseKind::Sd2, {QStringLiteral("a")});
    EXPECT_EQ(result.skipped, 2u);
    EXPECT_EQ(result.groups[0].n, 2);
    EXPECT_DOUBLE_EQ(*result.groups[0].meanX, 3.0);
}

TEST(GroupStatistics, FarFromZeroKeepsItsDigits)
{
    // Variance 1 on top of 1e9: a one-pass sum of squares would lose it entirely.
    const StatisticsResult result =
        oneGroup({1e9 - 1, 1e9, 1e9 + 1}, {1e9 + 1, 1e9, 1e9 + 2}, EllipseKind::Sd1);
    EXPECT_DOUBLE_EQ(*result.groups[0].sdX, 1.0);
    EXPECT_DOUBLE_EQ(*result.groups[0].sdY, 1.0);
    EXPECT_DOUBLE_EQ(*result.groups[0].covXY, 0.5);
}

} // namespace
