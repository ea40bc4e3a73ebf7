// Vowel overlap and outliers: figures of small groups worked by hand, one data set checked
// against R, and the groups whose figures must stay empty rather than come from a
// singular matrix.

#include "analysis/voweloutliers.h"
#include "analysis/voweloverlap.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Tokens of several vowels in one group, p formants each.
struct Tokens
{
    std::vector<int> group;
    std::vector<int> vowel;
    std::vector<std::vector<double>> values;

    void add(int v, std::vector<double> point)
    {
        group.push_back(0);
        vowel.push_back(v);
        values.resize(point.size());
        for (std::size_t k = 0; k < point.size(); ++k)
            values[k].push_back(point[k]);
    }
    std::vector<std::span<const double>> columns() const { return {values.begin(), values.end()}; }
    OverlapResult overlap(std::vector<VowelPair> pairs = {}) const
    {
        return vowelOverlap(group, {"A"}, vowel, {"a", "b", "c", "d"}, columns(), pairs);
    }
    OutlierResult outliers(double level) const
    {
        return vowelOutliers(group, {"A"}, vowel, {"a", "b", "c", "d"}, columns(), level);
    }
};

// a: the corners of a 2 x 2 square; b: the same square moved 4 along x.
Tokens twoSquares()
{
    Tokens t;
    for (double x : {0.0, 4.0})
        for (const auto &[dx, dy] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}})
            t.add(x == 0.0 ? 0 : 1, {x + dx, double(dy)});
    return t;
}

TEST(VowelOverlap, TwoSquaresWorkedByHand)
{
    // E = diag(8, 8), d = (-4, 0), H = 16/8 d d' = diag(32, 0): Pillai = 32/40.
    const OverlapResult result = twoSquares().overlap();
    ASSERT_EQ(result.rows.size(), 1u);
    const PairOverlap &row = result.rows[0];
    EXPECT_EQ(row.vowels, (VowelPair{0, 1}));
    EXPECT_EQ(row.n1, 4);
    EXPECT_EQ(row.n2, 4);
    EXPECT_NEAR(*row.pillai, 0.8, 1e-14);
    EXPECT_NEAR(*row.f, 10.0, 1e-12); // 0.8/0.2 * (8 - 2 - 1)/2
    EXPECT_EQ(*row.df1, 2.0);
    EXPECT_EQ(*row.df2, 5.0);
    // With 2 numerator degrees of freedom the tail is (1 + 2F/df2)^(-df2/2) = 5^-2.5.
    EXPECT_NEAR(*row.p, std::pow(5.0, -2.5), 1e-14);
    EXPECT_DOUBLE_EQ(*row.euclidean, 4.0);
    // Sp = E/6 = 4/3 I: d' Sp^-1 d = 12. S1 = S2 = S = 4/3 I: DB = 12/8, no log term.
    EXPECT_NEAR(*row.mahalanobis, std::sqrt(12.0), 1e-13);
    EXPECT_NEAR(*row.bhattacharyya, 1.5, 1e-13);
    EXPECT_NEAR(*row.bc, std::exp(-1.5), 1e-13);
    EXPECT_TRUE(result.messages.isEmpty());
}

TEST(VowelOverlap, AgreesWithRsManova)
{
    // R 4.2.2 (options(digits = 17)) on these tokens: summary(manova(cbind(F1, F2, F3) ~
    // vowel))$stats and the same for cbind(F1, F2); the distances from colMeans(), cov(),
    // det() and mahalanobis(); the outliers' d2 from mahalanobis(i, colMeans(i), cov(i)).
    Tokens t;
    const double iF1[] = {300, 320, 310, 290, 305, 315};
    const double iF2[] = {2300, 2250, 2400, 2350, 2200, 2280};
    const double eF1[] = {420, 450, 400, 430, 445};
    const double eF2[] = {2000, 2100, 2050, 1950, 2080};
    const double iF3[] = {2900, 3000, 2950, 3100, 2980, 3050};
    const double eF3[] = {2700, 2650, 2800, 2750, 2600};
    for (int k = 0; k < 6; ++k)
        t.add(0, {iF1[k], iF2[k], iF3[k]});
    for (int k = 0; k < 5; ++k)
        t.add(1, {eF1[k], eF2[k], eF3[k]});
    const OverlapResult three = t.overlap();
    ASSERT_EQ(three.rows.size(), 1u);
    EXPECT_NEAR(*three.rows[0].pillai, 0.96105012676143897, 1e-13);
    EXPECT_NEAR(*three.rows[0].f, 57.572723845391813, 1e-9);
    EXPECT_EQ(*three.rows[0].df2, 7.0);
    EXPECT_NEAR(*three.rows[0].p, 2.6736862294623854e-05, 1e-15);

    t.values.pop_back(); // F1 and F2 only
    const PairOverlap two = t.overlap().rows[0];
    EXPECT_NEAR(*two.pillai, 0.96104129850378528, 1e-13);
    EXPECT_NEAR(*two.f, 98.672826515756569, 1e-9);
    EXPECT_EQ(*two.df1, 2.0);
    EXPECT_EQ(*two.df2, 8.0);
    EXPECT_NEAR(*two.p, 2.3036574102296297e-06, 1e-16);
    EXPECT_NEAR(*two.euclidean, 287.94540377570792, 1e-10);
    EXPECT_NEAR(*two.mahalanobis, 9.0224764824022028, 1e-12);
    EXPECT_NEAR(*two.bhattacharyya, 10.202437579788183, 1e-11);
    EXPECT_NEAR(*two.bc, 3.7079823406120931e-05, 1e-15);

    // R's mahalanobis(a, colMeans(a), cov(a)) for i; at level 0.5 the threshold is
    // -2 ln 0.5 = 1.386, so tokens 2 to 5 lie beyond it.
    const OutlierResult outliers = t.outliers(0.5);
    const double rD2[] = {0.40269151138716519, 1.61076604554864899, 2.72567287784679513,
                          2.46790890269151753, 2.19772256728778004, 0.59523809523809246};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_NEAR(outliers.d2[k], rD2[k], 1e-12) << k;
        EXPECT_EQ(outliers.isOutlier(k), k >= 1 && k <= 4) << k;
    }
    EXPECT_NEAR(chiSquareQuantile(0.95, 3), 7.8147279032511792, 1e-12); // R: qchisq(0.95, 3)
}

TEST(VowelOverlap, FiguresThatCannotBeComputedStayEmptyWithAReason)
{
    Tokens t = twoSquares();
    // c: three tokens on one line; d: two tokens on the same line further on.
    for (double v : {0.0, 1.0, 2.0})
        t.add(2, {v, v});
    for (double v : {5.0, 6.0})
        t.add(3, {v, v});
    t.add(0, {NAN, 1.0}); // skipped, not a token of a

    const OverlapResult result = t.overlap({{0, 2}, {2, 3}, {0, 3}, {1, 1}});
    EXPECT_EQ(result.skipped, 1u);
    ASSERT_EQ(result.rows.size(), 4u);
    // a against c: E has a's spread, so the MANOVA stands, but c's own covariance is singular.
    EXPECT_TRUE(result.rows[0].pillai && result.rows[0].mahalanobis);
    EXPECT_FALSE(result.rows[0].bhattacharyya || result.rows[0].bc);
    // c against d: every token on one line, E singular; the means' distance stands.
    const PairOverlap &line = result.rows[1];
    EXPECT_FALSE(line.pillai || line.f || line.p || line.mahalanobis || line.bhattacharyya);
    EXPECT_NEAR(*line.euclidean, std::sqrt(2.0) * 4.5, 1e-12);
    // a against d: d has 2 tokens, fewer than p + 1.
    EXPECT_TRUE(result.rows[2].pillai);
    EXPECT_FALSE(result.rows[2].bhattacharyya);
    // A vowel against itself separates nothing: Pillai 0, p 1.
    EXPECT_NEAR(*result.rows[3].pillai, 0.0, 1e-15);
    EXPECT_NEAR(*result.rows[3].p, 1.0, 1e-15);
    // One line per reason: the two pairs short of tokens for bhattacharyya share one.
    EXPECT_EQ(result.messages.size(), 3) << result.messages.join('\n').toStdString();
    EXPECT_TRUE(result.messages.join('\n').contains("singular"));
    EXPECT_EQ(result.messages.filter("needs at least 3 tokens of each vowel: 2 vowel pairs").size(),
              1);
    EXPECT_EQ(result.tooFewTokens, 2u);

    // Every figure a vowel with no tokens in the group would need is empty.
    const PairOverlap missing = vowelOverlap(t.group, {"A", "B"}, t.vowel, {"a", "b", "c", "d"},
                                             t.columns(), std::vector<VowelPair>{{0, 1}})
                                    .rows[1];
    EXPECT_EQ(missing.group, 1);
    EXPECT_EQ(missing.n1, 0);
    EXPECT_FALSE(missing.euclidean || missing.pillai);

    QString error;
    EXPECT_FALSE(parseVowelPairs("a:b,a", {"a", "b"}, error));
    EXPECT_FALSE(parseVowelPairs("a:x", {"a", "b"}, error));
    EXPECT_TRUE(error.contains("\"x\""));
    EXPECT_EQ(*parseVowelPairs("b:a", {"a", "b"}, error), (std::vector<VowelPair>{{1, 0}}));
}

TEST(VowelOutliers, SquareWithItsCentreAndTheGroupsTooSmallOrFlat)
{
    // Mean (1, 1), S = I: the corners lie at d2 = 2, the centre at 0.
    Tokens t;
    for (const auto &[x, y] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 1}})
        t.add(0, {double(x), double(y)});
    for (double v : {0.0, 1.0, 2.0, 3.0}) // b: on one line
        t.add(1, {v, 2 * v});
    for (double v : {0.0, 1.0, 5.0}) // c: fewer than p + 2
        t.add(2, {v, -v * v});
    t.group.push_back(-1); // left out
    t.vowel.push_back(0);
    t.values[0].push_back(100.0);
    t.values[1].push_back(100.0);

    const OutlierResult strict = t.outliers(0.95);
    EXPECT_NEAR(strict.threshold, -2.0 * std::log(0.05), 1e-12);
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(strict.d2[k], 2.0, 1e-12);
    EXPECT_NEAR(strict.d2[4], 0.0, 1e-12);
    EXPECT_EQ(strict.outlierCount(), 0u);
    // At 0.5 the threshold is 1.386: the corners go.
    EXPECT_EQ(t.outliers(0.5).outlierCount(), 4u);
    for (std::size_t k = 5; k < t.vowel.size(); ++k)
        EXPECT_FALSE(strict.hasDistance(k)) << k;
    ASSERT_EQ(strict.messages.size(), 2);
    EXPECT_TRUE(strict.messages[0].contains("singular"));
    EXPECT_TRUE(strict.messages[1].contains("vowel \"c\" (3 tokens)"));
    EXPECT_EQ(strict.tooFewTokens, 1u);
}

// A file of many speakers with two tokens a vowel gave a line per speaker and vowel (or
// pair); each reason is now told once, with a count and a few of the vowels.
TEST(VowelOutliers, ManyGroupsShortOfTokensGiveOneLinePerReason)
{
    std::vector<int> group, vowel;
    std::vector<double> f1, f2;
    QStringList groupNames;
    for (int g = 0; g < 50; ++g) {
        groupNames << QStringLiteral("s%1").arg(g);
        for (int v = 0; v < 3; ++v)
            for (int k = 0; k < 2; ++k) {
                group.push_back(g);
                vowel.push_back(v);
                f1.push_back(3.0 + v + 0.1 * k);
                f2.push_back(10.0 - v + 0.3 * (v - 1) * k);
            }
    }
    const std::vector<std::span<const double>> values{f1, f2};
    const OutlierResult outliers =
        vowelOutliers(group, groupNames, vowel, {"i", "e", "a"}, values, 0.95);
    ASSERT_EQ(outliers.messages.size(), 1) << outliers.messages.join('\n').toStdString();
    EXPECT_TRUE(outliers.messages[0].startsWith("fewer than 4 tokens, too few for a distance: "
                                                "150 vowels, as group \"s0\", vowel \"i\" (2 "
                                                "tokens);"))
        << outliers.messages[0].toStdString();
    EXPECT_TRUE(outliers.messages[0].endsWith(" and 147 more"));
    EXPECT_EQ(outliers.tooFewTokens, 150u);
    EXPECT_EQ(outliers.cellCount, 150u);

    const OverlapResult overlap =
        vowelOverlap(group, groupNames, vowel, {"i", "e", "a"}, values, {});
    ASSERT_EQ(overlap.rows.size(), 150u);
    ASSERT_EQ(overlap.messages.size(), 1) << overlap.messages.join('\n').toStdString();
    EXPECT_TRUE(overlap.messages[0].contains("150 vowel pairs, as group \"s0\", \"i\" and \"e\""));
    EXPECT_EQ(overlap.tooFewTokens, 150u);
}

} // namespace
