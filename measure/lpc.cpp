#include "measure/lpc.h"

#include <Eigen/Eigenvalues>

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<double> BurgCoefficients(std::span<const double> x, int order)
{
    const std::size_t n = x.size();
    if (order < 1 || n < std::size_t(order) + 1)
        return {};
    double energy = 0;
    for (double v : x)
        energy += v * v;
    if (!(energy > 0) || !std::isfinite(energy))
        return {};
    // At stage m, forward[j] is the forward error at sample j + m and backward[j] the backward
    // error at sample j + m - 1, for j below n - m: both shrink by one each stage, and the
    // update runs forward in place, which lets the compiler vectorise it.
    std::vector<double> forward(x.begin() + 1, x.end());
    std::vector<double> backward(x.begin(), x.end() - 1);
    std::vector<double> a(std::size_t(order) + 1, 0.0);
    std::vector<double> previous(a.size());
    a[0] = 1;
    for (int m = 1; m <= order; ++m) {
        const std::size_t length = n - std::size_t(m);
        double numerator = 0;
        double denominator = 0;
        for (std::size_t j = 0; j < length; ++j) {
            numerator += forward[j] * backward[j];
            denominator += forward[j] * forward[j] + backward[j] * backward[j];
        }
        if (!(denominator > 0))
            break; // the frame is exhausted: the lower-order predictor stands
        const double k = -2 * numerator / denominator;
        // Levinson step: a_m[i] = a_{m-1}[i] + k a_{m-1}[m-i].
        std::copy(a.begin(), a.end(), previous.begin());
        for (int i = 1; i <= m; ++i)
            a[std::size_t(i)] = previous[std::size_t(i)] + k * previous[std::size_t(m - i)];
        // f_m[i] = f_{m-1}[i] + k b_{m-1}[i-1], b_m[i] = b_{m-1}[i-1] + k f_{m-1}[i].
        for (std::size_t j = 0; j + 1 < length; ++j) {
            backward[j] += k * forward[j];
            forward[j] = forward[j + 1] + k * backward[j + 1];
        }
    }
    return a;
}

namespace {

// The companion matrix's eigenvalues. A matrix type with a fixed upper bound lives on the
// stack: LPC orders are small, and a frame's roots are found thousands of times a second.
template <typename Matrix>
std::vector<std::complex<double>> companionEigenvalues(std::span<const double> a, int degree)
{
    Matrix companion = Matrix::Zero(degree, degree);
    for (int j = 0; j < degree; ++j)
        companion(0, j) = -a[std::size_t(j) + 1] / a[0];
    for (int i = 1; i < degree; ++i)
        companion(i, i - 1) = 1;
    Eigen::EigenSolver<Matrix> solver(companion, false);
    if (solver.info() != Eigen::Success)
        return {};
    std::vector<std::complex<double>> roots;
    roots.reserve(std::size_t(degree));
    for (int i = 0; i < degree; ++i)
        roots.push_back(solver.eigenvalues()[i]);
    return roots;
}

constexpr int kSmallDegree = 24;

} // namespace

std::vector<std::complex<double>> PolynomialRoots(std::span<const double> a)
{
    // Trailing zero coefficients are roots at the origin: no resonance, and they would make
    // the companion matrix singular for nothing.
    std::size_t p = a.size();
    while (p > 1 && a[p - 1] == 0)
        --p;
    const int degree = int(p) - 1;
    if (degree < 1 || a[0] == 0)
        return {};
    if (degree <= kSmallDegree)
        return companionEigenvalues<
            Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, kSmallDegree, kSmallDegree>>(
            a, degree);
    return companionEigenvalues<Eigen::MatrixXd>(a, degree);
}

std::vector<Resonance> PredictorResonances(std::span<const double> a, double rate)
{
    std::vector<Resonance> resonances;
    for (std::complex<double> root : PolynomialRoots(a)) {
        if (!(root.imag() > 0) || !std::isfinite(root.real()) || !std::isfinite(root.imag()))
            continue;
        double radius = std::abs(root);
        if (!(radius > 0))
            continue;
        if (radius > 1)
            radius = 1 / radius;
        const double frequency = std::arg(root) * rate / (2 * std::numbers::pi);
        const double bandwidth = -std::log(radius) * rate / std::numbers::pi;
        resonances.push_back({frequency, bandwidth});
    }
    std::sort(resonances.begin(), resonances.end(),
              [](const Resonance &x, const Resonance &y) { return x.frequency < y.frequency; });
    return resonances;
}
