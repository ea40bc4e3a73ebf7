#include "analysis/frequencyscale.h"

#include "analysis/namedchoice.h"

#include <array>
#include <cmath>

namespace {

constexpr std::array<FrequencyScaleInfo, 6> kScales{{
    {FrequencyScale::Bark, "bark", "Bark", "13 atan(0.00076 f) + 3.5 atan((f/7500)^2)",
     "Zwicker & Terhardt 1980"},
    {FrequencyScale::BarkTraunmuller, "bark-traunmuller", "Bark, Traunmüller",
     "z = 26.81 f/(1960 + f) - 0.53; z < 2: z + 0.15 (2 - z); z > 20.1: z + 0.22 (z - 20.1)",
     "Traunmüller 1990"},
    {FrequencyScale::BarkSchroeder, "bark-schroeder", "Bark, Schroeder", "7 asinh(f/650)",
     "Schroeder, Atal & Hall 1979"},
    {FrequencyScale::Erb, "erb", "ERB", "21.4 log10(1 + 0.00437 f)", "Glasberg & Moore 1990"},
    {FrequencyScale::Mel, "mel", "mel", "2595 log10(1 + f/700)", "O'Shaughnessy 1987"},
    {FrequencyScale::Hz, "hz", "Hz", "f", ""},
}};

double traunmuller(double f)
{
    const double z = 26.81 * f / (1960.0 + f) - 0.53;
    if (z < 2.0)
        return z + 0.15 * (2.0 - z);
    if (z > 20.1)
        return z + 0.22 * (z - 20.1);
    return z;
}

// log10 of a non-positive number is -inf or NaN: both are a missing value here.
double finiteOrNaN(double value)
{
    return std::isfinite(value) ? value : std::nan("");
}

} // namespace

std::span<const FrequencyScaleInfo> frequencyScales()
{
    return kScales;
}

const FrequencyScaleInfo &frequencyScaleInfo(FrequencyScale scale)
{
    return NamedChoiceInfo<FrequencyScaleInfo>(kScales, &FrequencyScaleInfo::scale, scale);
}

std::optional<FrequencyScale> parseFrequencyScale(const QString &name)
{
    return ParseNamedChoice<FrequencyScaleInfo>(kScales, &FrequencyScaleInfo::scale, name);
}

double HzToBarkZwicker(double hz)
{
    const double k = hz * 0.001;
    const double q = k * 0.13333333333333333;
    return 13.0 * std::atan(0.76 * k) + 3.5 * std::atan(q * q);
}

double hzToScale(FrequencyScale scale, double hz)
{
    if (!std::isfinite(hz))
        return std::nan("");
    switch (scale) {
    case FrequencyScale::Bark:
        return HzToBarkZwicker(hz);
    case FrequencyScale::BarkTraunmuller:
        // The formula has a pole at -1960 Hz; no formant lies there.
        return finiteOrNaN(traunmuller(hz));
    case FrequencyScale::BarkSchroeder:
        return 7.0 * std::asinh(hz / 650.0);
    case FrequencyScale::Erb:
        return finiteOrNaN(21.4 * std::log10(1.0 + 0.00437 * hz));
    case FrequencyScale::Mel:
        return finiteOrNaN(2595.0 * std::log10(1.0 + hz / 700.0));
    case FrequencyScale::Hz:
        return hz;
    }
    return hz;
}
