#pragma once

#include "analysis/frequencyscale.h"
#include "analysis/normalization.h"
#include "analysis/tokencolumns.h"

#include <QStringList>

#include <optional>
#include <span>
#include <vector>

// Each token's formants in use, in a frequency scale or after speaker normalisation: the
// coordinates that vowel overlap and outliers are measured in. Owns its values.
struct FormantSpace
{
    std::vector<Formant> formants;           // in use, in the order asked for
    std::vector<std::vector<double>> values; // per formant in use, one per token; NaN where
                                             // missing or the speaker was not normalised
    QStringList messages;                    // speakers not normalised, and why
    QString error; // set when the request cannot be met (a formant the tokens lack)

    bool valid() const { return error.isEmpty(); }
    // The values as views, one per formant in use.
    std::vector<std::span<const double>> columns() const;
};

// Without a method the hertz values go through `scale`; with one, the formants are
// normalised per speaker as a set (nearey2 takes its G over exactly these).
FormantSpace makeFormantSpace(const TokenColumns &tokens, const std::vector<Formant> &formants,
                              FrequencyScale scale, std::optional<NormalizationMethod> method);
