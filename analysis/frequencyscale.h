#pragma once

#include <QString>

#include <optional>
#include <span>

// Hertz to the perceptual scales a vowel chart or a statistic can be drawn in. Pure
// functions; a frequency outside a scale's domain gives NaN, which callers treat as a
// missing value.
enum class FrequencyScale { Bark, BarkTraunmuller, BarkSchroeder, Erb, Mel, Hz };

struct FrequencyScaleInfo
{
    FrequencyScale scale;
    const char *name;    // as given on the command line, e.g. "bark-traunmuller"
    const char *unit;    // for axis captions, e.g. "Bark, Traunmüller"
    const char *formula; // for help texts
    const char *source;  // the publication to cite
};

// Every scale, the charts' Bark first.
std::span<const FrequencyScaleInfo> frequencyScales();
const FrequencyScaleInfo &frequencyScaleInfo(FrequencyScale scale);
std::optional<FrequencyScale> parseFrequencyScale(const QString &name);

// 13 atan(0.00076 f) + 3.5 atan((f / 7500)^2), evaluated in the same order as the charts
// so that an integer frequency lands on exactly the same value as on screen.
double HzToBarkZwicker(double hz);

double hzToScale(FrequencyScale scale, double hz);
