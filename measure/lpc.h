#pragma once

#include <complex>
#include <span>
#include <vector>

// Linear prediction by Burg's method and the formants of the predictor: the numerical core
// of the measurement, pure functions over sample spans, no state.

// The predictor of order `order` for `x`: a[0] = 1, a[1..order], so that
// x[n] + a[1] x[n-1] + ... + a[order] x[n-order] is the prediction error. Burg's recursion
// chooses each reflection coefficient to minimise the sum of the forward and backward
// errors' power, which keeps the filter stable whatever the frame. Empty when the frame is
// shorter than the order plus one or silent.
std::vector<double> BurgCoefficients(std::span<const double> x, int order);

// The roots of 1 + a[1] z^-1 + ... + a[p] z^-p, i.e. of z^p + a[1] z^(p-1) + ... + a[p], as
// the eigenvalues of its companion matrix.
std::vector<std::complex<double>> PolynomialRoots(std::span<const double> a);

struct Resonance
{
    double frequency = 0; // Hz
    double bandwidth = 0; // Hz
};

// The resonances of the predictor polynomial `a` at sampling rate `rate`: one per root in the
// upper half-plane, from its angle and radius, ascending by frequency. Roots outside the unit
// circle are reflected inside first (same frequency, the bandwidth of a stable pole); real
// roots carry no resonance.
std::vector<Resonance> PredictorResonances(std::span<const double> a, double rate);
