// Burg's predictor and its resonances on signals whose poles are known exactly.

#include "measure/lpc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double kRate = 10000;

struct Pole
{
    double frequency;
    double bandwidth;
};

// The all-pole filter with these poles (and their conjugates), as 1 + a1 z^-1 + ...
std::vector<double> polynomialOf(const std::vector<Pole> &poles)
{
    std::vector<double> a{1};
    for (const Pole &pole : poles) {
        const double r = std::exp(-std::numbers::pi * pole.bandwidth / kRate);
        const double b1 = -2 * r * std::cos(2 * std::numbers::pi * pole.frequency / kRate);
        const double b2 = r * r;
        std::vector<double> next(a.size() + 2, 0.0);
        for (std::size_t i = 0; i < a.size(); ++i) {
            next[i] += a[i];
            next[i + 1] += b1 * a[i];
            next[i + 2] += b2 * a[i];
        }
        a = next;
    }
    return a;
}

// White noise through the all-pole filter: an autoregressive process of known poles.
std::vector<double> arProcess(const std::vector<double> &a, std::size_t length)
{
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    std::vector<double> x(length, 0.0);
    for (std::size_t n = 0; n < length; ++n) {
        double value = noise(random);
        for (std::size_t k = 1; k < a.size() && k <= n; ++k)
            value -= a[k] * x[n - k];
        x[n] = value;
    }
    return x;
}

TEST(Lpc, BurgRecoversThePolesOfAnAutoregressiveProcess)
{
    const std::vector<Pole> poles{{700, 60}, {1800, 90}, {3100, 150}};
    const std::vector<double> a = polynomialOf(poles);
    const std::vector<double> x = arProcess(a, 4000);
    const std::vector<double> estimate = BurgCoefficients(x, 6);
    ASSERT_EQ(estimate.size(), 7u);
    EXPECT_EQ(estimate[0], 1.0);
    for (std::size_t k = 1; k < a.size(); ++k)
        EXPECT_NEAR(estimate[k], a[k], 0.05) << "a" << k;
    const std::vector<Resonance> found = PredictorResonances(estimate, kRate);
    ASSERT_EQ(found.size(), poles.size());
    for (std::size_t i = 0; i < poles.size(); ++i) {
        EXPECT_NEAR(found[i].frequency, poles[i].frequency, 15) << "pole " << i;
        EXPECT_NEAR(found[i].bandwidth, poles[i].bandwidth, 40) << "pole " << i;
    }
}

TEST(Lpc, ExactPolynomialGivesExactResonancesInOrder)
{
    // Given out of order: the resonances come back ascending, frequencies and bandwidths
    // exact to rounding.
    const std::vector<Pole> poles{{2500, 200}, {500, 50}, {1500, 100}};
    const std::vector<Resonance> found = PredictorResonances(polynomialOf(poles), kRate);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_NEAR(found[0].frequency, 500, 1e-6);
    EXPECT_NEAR(found[0].bandwidth, 50, 1e-6);
    EXPECT_NEAR(found[1].frequency, 1500, 1e-6);
    EXPECT_NEAR(found[2].frequency, 2500, 1e-6);
    EXPECT_NEAR(found[2].bandwidth, 200, 1e-6);
}

TEST(Lpc, RootsOfKnownPolynomials)
{
    // z^3 - 6 z^2 + 11 z - 6 = (z - 1)(z - 2)(z - 3).
    std::vector<std::complex<double>> roots = PolynomialRoots(std::vector<double>{1, -6, 11, -6});
    ASSERT_EQ(roots.size(), 3u);
    std::sort(roots.begin(), roots.end(), [](auto x, auto y) { return x.real() < y.real(); });
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(roots[std::size_t(i)].real(), i + 1, 1e-9);
        EXPECT_NEAR(roots[std::size_t(i)].imag(), 0, 1e-9);
    }
    // Trailing zeros are roots at 0 and are dropped; a constant has no roots.
    EXPECT_EQ(PolynomialRoots(std::vector<double>{1, 0, 1, 0, 0}).size(), 2u);
    EXPECT_TRUE(PolynomialRoots(std::vector<double>{1}).empty());
    EXPECT_TRUE(PolynomialRoots(std::vector<double>{}).empty());
}

TEST(Lpc, PoleOutsideTheUnitCircleIsReflectedAndRealRootsCarryNone)
{
    // (z^2 - 2 r cos w z + r^2)(z - 0.5) with r = 1.25: the resonance keeps its frequency and
    // takes the bandwidth of radius 1/r; the real root gives no resonance.
    const double r = 1.25;
    const double w = 2 * std::numbers::pi * 1000 / kRate;
    const double c = -2 * r * std::cos(w);
    const std::vector<double> a{1, c - 0.5, r * r - 0.5 * c, -0.5 * r * r};
    const std::vector<Resonance> found = PredictorResonances(a, kRate);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(found[0].frequency, 1000, 1e-6);
    EXPECT_NEAR(found[0].bandwidth, std::log(r) * kRate / std::numbers::pi, 1e-6);
}

TEST(Lpc, FramesTooShortOrSilentGiveNoPredictor)
{
    EXPECT_TRUE(BurgCoefficients(std::vector<double>(10, 0.5), 10).empty());
    EXPECT_TRUE(BurgCoefficients(std::vector<double>(400, 0.0), 10).empty());
    EXPECT_TRUE(BurgCoefficients(std::vector<double>{}, 2).empty());
    // A constant frame is exhausted after the first stage: the rest stays 0, never NaN.
    const std::vector<double> a = BurgCoefficients(std::vector<double>(50, 1.0), 4);
    ASSERT_EQ(a.size(), 5u);
    for (double v : a)
        EXPECT_TRUE(std::isfinite(v));
}

} // namespace
