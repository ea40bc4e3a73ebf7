#include "analysis/samplemoments.h"

#include <Eigen/Eigenvalues>

#include <cmath>

namespace {

// Below this smallest eigenvalue of the correlation matrix the tokens are taken to lie
// on a line or plane: exactly collinear points leave about 1e-16 after rounding.
constexpr double kSingularCorrelation = 1e-10;

} // namespace

SampleMoments sampleMoments(std::span<const std::size_t> tokens,
                            std::span<const std::span<const double>> values)
{
    const auto p = Eigen::Index(values.size());
    SampleMoments moments;
    moments.n = int(tokens.size());
    moments.mean = FormantVector::Zero(p);
    moments.sscp = FormantMatrix::Zero(p, p);
    if (tokens.empty())
        return moments;
    for (std::size_t i : tokens)
        for (Eigen::Index k = 0; k < p; ++k)
            moments.mean[k] += values[std::size_t(k)][i];
    moments.mean /= double(tokens.size());
    FormantVector d(p);
    for (std::size_t i : tokens) {
        for (Eigen::Index k = 0; k < p; ++k)
            d[k] = values[std::size_t(k)][i] - moments.mean[k];
        moments.sscp.noalias() += d * d.transpose();
    }
    return moments;
}

std::optional<CovarianceInverse> invertCovariance(const FormantMatrix &matrix)
{
    const Eigen::Index p = matrix.rows();
    if (p == 0 || matrix.cols() != p || !matrix.allFinite())
        return std::nullopt;
    FormantVector scale(p);
    for (Eigen::Index k = 0; k < p; ++k) {
        if (!(matrix(k, k) > 0.0))
            return std::nullopt;
        scale[k] = 1.0 / std::sqrt(matrix(k, k));
    }
    const FormantMatrix correlation = scale.asDiagonal() * matrix * scale.asDiagonal();
    const Eigen::SelfAdjointEigenSolver<FormantMatrix> solver(correlation);
    if (solver.info() != Eigen::Success)
        return std::nullopt;
    const FormantVector lambda = solver.eigenvalues();
    if (!(lambda.minCoeff() > kSingularCorrelation))
        return std::nullopt;
    CovarianceInverse result;
    const FormantMatrix &v = solver.eigenvectors();
    result.inverse = scale.asDiagonal() * v * lambda.cwiseInverse().asDiagonal() * v.transpose() *
                     scale.asDiagonal();
    result.logDet = lambda.array().log().sum() - 2.0 * scale.array().log().sum();
    if (!result.inverse.allFinite() || !std::isfinite(result.logDet))
        return std::nullopt;
    return result;
}
