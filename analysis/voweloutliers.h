#pragma once

#include <QString>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Tokens that lie far from the rest of their vowel, in the formants in use: each token's
// squared Mahalanobis distance from its (group, vowel) mean under that vowel's sample
// covariance, against the chi-square quantile for the number of formants.

struct OutlierResult
{
    std::vector<double> d2;       // per token; NaN where the token has no distance
    double threshold = 0.0;       // an outlier has d2 above it
    std::size_t skipped = 0;      // tokens left out: a formant missing or not finite
    QStringList messages;         // vowels whose tokens got no distance, and why: a line per reason
    std::size_t cellCount = 0;    // (group, vowel) cells with tokens
    std::size_t tooFewTokens = 0; // of them, those with too few tokens for a distance

    // Whether token i has a distance, and whether it is an outlier.
    bool hasDistance(std::size_t i) const { return i < d2.size() && !std::isnan(d2[i]); }
    bool isOutlier(std::size_t i) const { return hasDistance(i) && d2[i] > threshold; }
    std::size_t outlierCount() const;
};

// The upper quantile of the chi-square distribution with `df` degrees of freedom at
// `level` (0 < level < 1); for df = 2 it is -2 ln(1 - level).
double chiSquareQuantile(double level, int df);

// `values[k][i]` is formant k of token i; `group[i]` is token i's group in
// 0..groupNames.size()-1, or -1 to leave the token out; `vowel[i]` indexes vowelNames.
// A (group, vowel) with fewer than p + 2 tokens, or with a singular covariance, gives its
// tokens no distance. `level` lies in (0, 1).
OutlierResult vowelOutliers(std::span<const int> group, const QStringList &groupNames,
                            std::span<const int> vowel, const QStringList &vowelNames,
                            std::span<const std::span<const double>> values, double level);
