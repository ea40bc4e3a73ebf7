#pragma once

#include <Eigen/Core>

#include <cstddef>
#include <optional>
#include <span>

// Means and spread of sets of tokens in the formants in use (at most F0 to F5), and the
// one test that every figure inverting a covariance passes first. Plain values; the
// caller owns the token values.

using FormantVector = Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 6, 1>;
using FormantMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 6, 6>;

// n, the mean and the sums of squares and cross-products about it, Σ(x - m)(x - m)ᵀ.
// Two passes (the mean first), so the figures keep their precision however far the
// values lie from 0.
struct SampleMoments
{
    int n = 0;
    FormantVector mean;
    FormantMatrix sscp;
};

// `values[k][i]` is formant k of token i; `tokens` lists the tokens of the set, each with
// every formant finite.
SampleMoments sampleMoments(std::span<const std::size_t> tokens,
                            std::span<const std::span<const double>> values);

// The inverse and the natural log of the determinant of a covariance (or any symmetric
// matrix of sums of squares).
struct CovarianceInverse
{
    FormantMatrix inverse;
    double logDet = 0.0;
};

// nullopt when the matrix is singular within rounding: a formant that does not vary,
// tokens on one line (one plane for three formants), or a value that is not finite. The
// test is made on the correlations, so that it does not depend on the scale's unit.
std::optional<CovarianceInverse> invertCovariance(const FormantMatrix &matrix);
