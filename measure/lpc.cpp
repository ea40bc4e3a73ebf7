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
    // f: forward errors, b: backward errors, both starting as the signal. At stage m only
    // f[m..n-1] and b[m-1..n-2] take part.
    std::vector<double> f(x.begin(), x.end());
    std::vector<double> b(x.begin(), x.end());
    std::vector<double> a(std::size_t(order) + 1, 0.0);
    std::vector<double> previous(a.size());
    a[0] = 1;
    double energy = 0;
    for (double v : x)
        energy += v * v;
    if (!(energy > 0) || !std::isfinite(energy))
        return {};
    for (int m = 1; m <= order; ++m) {
        double numerator = 0;
        double denominator = 0;
        for (std::size_t i = std::size_t(m); i < n; ++i) {
            numerator += f[i] * b[i - 1];
            denominator += f[i] * f[i] + b[i - 1] * b[i - 1];
        }
        if (!(denominator > 0))
            break; // the frame is exhausted: the lower-order predictor stands
        const double k = -2 * numerator / denominator;
        // Levinson step: a_m[i] = a_{m-1}[i] + k a_{m-1}[m-i].
        std::copy(a.begin(), a.end(), previous.begin());
        for (int i = 1; i <= m; ++i)
            a[std::size_t(i)] = previous[std::size_t(i)] + k * previous[std::size_t(m - i)];
        // Update the errors from the top down, so that b[i-1] is still the old value.
        for (std::size_t i = n - 1; i >= std::size_t(m); --i) {
            const double forward = f[i];
            f[i] = forward + k * b[i - 1];
            b[i] = b[i - 1] + k * forward;
        }
    }
    return a;
}

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
    Eigen::MatrixXd companion = Eigen::MatrixXd::Zero(degree, degree);
    for (int j = 0; j < degree; ++j)
        companion(0, j) = -a[std::size_t(j) + 1] / a[0];
    for (int i = 1; i < degree; ++i)
        companion(i, i - 1) = 1;
    Eigen::EigenSolver<Eigen::MatrixXd> solver(companion, false);
    if (solver.info() != Eigen::Success)
        return {};
    std::vector<std::complex<double>> roots;
    roots.reserve(std::size_t(degree));
    for (int i = 0; i < degree; ++i)
        roots.push_back(solver.eigenvalues()[i]);
    return roots;
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
