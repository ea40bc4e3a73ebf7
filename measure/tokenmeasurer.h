#pragma once

#include "measure/audiofile.h"
#include "measure/formantframes.h"
#include "measure/resampler.h"

#include <array>
#include <span>
#include <vector>

// Measures F1-F3 of one labelled interval of a recording: analyses frames over the interval
// (and one step beyond each end) at each candidate ceiling, keeps the analysis whose tracks
// are the most regular, and reads the values at the requested points. Reads only the
// signal around the interval. Holds a reference to the recording, which must outlive it, and
// one resampler per ceiling; one thread at a time.
class TokenMeasurer
{
public:
    struct Settings
    {
        // Candidate ceilings in Hz, each at most half the recording's sampling rate; one
        // ceiling is a fixed analysis.
        std::vector<double> ceilings{5500};
        double frameStep = 0.005; // s
        FrameSettings frame;      // its ceiling is set per analysis
    };

    struct Result
    {
        double ceiling = 0; // the ceiling chosen
        // Per requested point, F1-F3 and B1-B3 in Hz; NaN where the formant was not found.
        std::vector<std::array<double, 3>> frequencies;
        std::vector<std::array<double, 3>> bandwidths;
    };

    TokenMeasurer(const AudioSignal &audio, Settings settings);

    // Why the recording cannot be measured at some ceiling (its resampling cannot be done);
    // empty when it can.
    QString error() const;

    // The interval from `start` to `end` (s) at `points`, each a percentage of the interval.
    // An interval shorter than a few frames is analysed from the signal around its middle.
    Result measure(double start, double end, std::span<const double> points);

private:
    const AudioSignal &m_audio; // not owned
    Settings m_settings;
    std::vector<Resampler> m_resamplers; // one per ceiling, to twice the ceiling
};
