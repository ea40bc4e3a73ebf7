#pragma once

#include <span>
#include <vector>

struct soxr;

// Sampling-rate conversion from one rate to another through libsoxr at its high quality:
// the formant analysis reads speech sampled at twice its ceiling. Owns one converter, made
// once and reset for each signal, since designing its filter costs more than converting a
// vowel. Not for use from two threads at once.
class Resampler
{
public:
    Resampler(double inRate, double outRate);
    ~Resampler();
    Resampler(Resampler &&other) noexcept;
    Resampler &operator=(Resampler &&other) noexcept;
    Resampler(const Resampler &) = delete;
    Resampler &operator=(const Resampler &) = delete;

    double outRate() const { return m_outRate; }

    // `input` as it would be sampled at the output rate, covering the same time span (its
    // length is the input's times outRate / inRate, rounded). Equal rates copy. A failure
    // gives silence rather than a half-converted signal.
    std::vector<float> process(std::span<const float> input);

private:
    double m_inRate;
    double m_outRate;
    soxr *m_soxr = nullptr; // owned
};
