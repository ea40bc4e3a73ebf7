#pragma once

#include <span>
#include <vector>

// Sampling-rate conversion through libsoxr at its high quality: the formant analysis reads
// speech sampled at twice its ceiling. Pure function, no state.

// `input` sampled at `inRate` as it would be sampled at `outRate`; the output covers the same
// time span (its length is the input's times outRate / inRate, rounded). Equal rates copy.
std::vector<float> Resample(std::span<const float> input, double inRate, double outRate);
