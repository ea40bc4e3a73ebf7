#pragma once

#include <array>
#include <cstdint>
#include <string>

// One token line of a Formant file as it was read.
struct FormantRecord
{
    // The label's bytes (UTF-8), followed by the closing double quote when the label was
    // quoted. Held inline for the usual short labels: the document's 10,000 records then
    // take half a megabyte instead of close to three, which a large file fills in full.
    std::string label;
    // How many leading bytes of `label` form the label; 0 = no label.
    std::int32_t labelLength = 0;
    // F1 to F5 in hertz; 0 where the line had fewer formants.
    std::array<std::int32_t, 5> formants{};
};

namespace FormantLimits {
inline constexpr int kRecords = 10000;    // records a document holds
inline constexpr int kTokenLines = 9998;  // token lines a file may have
inline constexpr int kLineLength = 1000;  // bytes of a line that are read
inline constexpr int kLabelBytes = 255;   // bytes of a label that are kept
inline constexpr int kFormants = 5;       // formants kept per line
inline constexpr int kOrderLabels = 1000; // per-vowel label slots
} // namespace FormantLimits

// The highest formant, in hertz, that a token holds: a cell takes 0 to this, the charts'
// ranges end here, and a table's value above it is missing like one of 0 or less.
inline constexpr int kMaxFormant = 10000;
