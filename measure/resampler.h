#pragma once

#include <QString>

#include <span>
#include <vector>

struct soxr;
class SoxrLibrary;

// Sampling-rate conversion from one rate to another through libsoxr at its high quality:
// the formant analysis reads speech sampled at twice its ceiling. Owns one converter, made
// once and reset for each signal, since designing its filter costs more than converting a
// vowel. Not for use from two threads at once.
class Resampler
{
public:
    // Loads libsoxr the first time the rates differ.
    Resampler(double inRate, double outRate);
    // The same through `library` rather than the process's own; it must outlive the converter.
    Resampler(double inRate, double outRate, const SoxrLibrary &library);
    ~Resampler();
    Resampler(Resampler &&other) noexcept;
    Resampler &operator=(Resampler &&other) noexcept;
    Resampler(const Resampler &) = delete;
    Resampler &operator=(const Resampler &) = delete;

    double outRate() const { return m_outRate; }
    // Why this converter cannot convert (no libsoxr, or rates it refuses); empty when it can
    // or need not.
    const QString &error() const { return m_error; }

    // `input` as it would be sampled at the output rate, covering the same time span (its
    // length is the input's times outRate / inRate, rounded). Equal rates copy. A failure
    // gives silence rather than a half-converted signal.
    std::vector<float> process(std::span<const float> input);

private:
    bool converts() const { return m_inRate > 0 && m_outRate > 0 && m_inRate != m_outRate; }
    void start(const SoxrLibrary &library);

    double m_inRate;
    double m_outRate;
    const SoxrLibrary *m_library = nullptr; // not owned; set with m_soxr
    soxr *m_soxr = nullptr;                 // owned
    QString m_error;
};
