// Vowel-space area: hull and polygon through vowel means per speaker, and the speakers
// that get no area with a message instead.

#include "analysis/vowelspace.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(VowelSpace, HullLeavesOutInnerAndCollinearPoints)
{
    EXPECT_DOUBLE_EQ(convexHullArea({{0, 0}, {4, 0}, {4, 3}, {0, 3}, {2, 1}, {2, 0}, {4, 3}}),
                     12.0);
    EXPECT_DOUBLE_EQ(convexHullArea({{0, 0}, {1, 1}, {2, 2}}), 0.0);
    // Clockwise or anticlockwise, the area is positive.
    const std::vector<PlanePoint> triangle{{0, 0}, {0, 2}, {3, 0}};
    EXPECT_DOUBLE_EQ(polygonArea(triangle), 3.0);
}

TEST(VowelSpace, PerSpeakerFromVowelMeansWithoutMissingValues)
{
    // Speaker A: i twice (means (0,0)), a at (4,0), u at (4,3), o at (0,3), e inside.
    // Speaker B: two vowels only.
    const std::vector<int> speaker{0, 0, 0, 0, 0, 0, 1, 1};
    const std::vector<int> vowel{0, 0, 1, 2, 3, 4, 0, 1};
    const std::vector<double> x{-1, 1, 4, 4, 0, 2, 0, 1};
    const std::vector<double> y{1, -1, 0, 3, 3, 1, 0, 1};
    const std::vector<int> polygon{0, 1, 2};
    const VowelSpaceResult result =
        vowelSpaceAreas(speaker, {QStringLiteral("A"), QStringLiteral("B")}, vowel,
                        {QStringLiteral("i"), QStringLiteral("a"), QStringLiteral("u"),
                         QStringLiteral("o"), QStringLiteral("e")},
                        x, y, polygon);
    ASSERT_EQ(result.speakers.size(), 2u);
    EXPECT_EQ(result.speakers[0].vowelCount, 5);
    EXPECT_DOUBLE_EQ(*result.speakers[0].hullArea, 12.0);
    EXPECT_DOUBLE_EQ(*result.speakers[0].polygonArea, 6.0);
    EXPECT_EQ(result.speakers[1].vowelCount, 2);
    EXPECT_FALSE(result.speakers[1].hullArea);
    EXPECT_FALSE(result.speakers[1].polygonArea);
    // B has too few vowels and no "u".
    ASSERT_EQ(result.messages.size(), 2);
    EXPECT_TRUE(result.messages[0].contains(QStringLiteral("\"B\"")));
    EXPECT_TRUE(result.messages[1].contains(QStringLiteral("\"u\"")));

    // A token missing a value is skipped and does not move its vowel's mean.
    const double nan = std::nan("");
    const std::vector<int> one{0, 0, 0, 0}, vowels{0, 0, 1, 2};
    const std::vector<double> gx{0, 50, 2, 0}, gy{0, nan, 0, 2};
    const VowelSpaceResult gaps = vowelSpaceAreas(
        one, {QStringLiteral("A")}, vowels,
        {QStringLiteral("i"), QStringLiteral("a"), QStringLiteral("u")}, gx, gy, {});
    EXPECT_EQ(gaps.skipped, 1u);
    EXPECT_DOUBLE_EQ(*gaps.speakers[0].hullArea, 2.0);
}

} // namespace
