#pragma once

#include "analysis/tokencolumns.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Speaker normalisation of formant frequencies: every parameter is computed per speaker
// over that speaker's tokens (or vowel means), so speakers with different vocal tracts
// can be compared on one chart.
enum class NormalizationMethod {
    Lobanov,
    LobanovBalanced,
    Nearey1,
    Nearey1Balanced,
    Nearey2,
    Nearey2Balanced,
    WattFabricius,
    WattFabriciusModified,
    Gerstman,
};

struct NormalizationMethodInfo
{
    NormalizationMethod method;
    const char *name;    // as given on the command line, e.g. "lobanov-balanced"
    const char *unit;    // for axis captions, e.g. "Lobanov z, balanced"
    const char *formula; // for help texts
    const char *source;  // the publication to cite
    bool usesVowelMeans; // needs at least two vowels per speaker
    bool logarithmic;    // needs frequencies above 0
    bool firstTwoOnly;   // works on F1 and F2 only
};

std::span<const NormalizationMethodInfo> normalizationMethods();
const NormalizationMethodInfo &normalizationMethodInfo(NormalizationMethod method);
std::optional<NormalizationMethod> parseNormalizationMethod(const QString &name);

// The formants a method uses when none are named: F1 and F2 for the methods that work on
// those only, else F1, F2 and F3 where the tokens have them.
std::vector<Formant> defaultNormalizationFormants(NormalizationMethod method,
                                                  const TokenColumns &tokens);

struct NormalizationResult
{
    // Empty when the request itself is invalid (a formant the tokens lack, a formant the
    // method cannot use); `messages` then says why and nothing else is filled.
    std::vector<Formant> formants;
    // Indexed by Formant, filled for the formants above: one value per token, NaN where
    // the token's value is missing or its speaker was refused. Never written as NaN:
    // writers leave such a cell empty.
    std::array<std::vector<double>, kFormantCount> values;
    // Per speaker: true when the speaker could not be normalised and has no values.
    std::vector<bool> refused;
    // One line per refused speaker, naming the speaker and the reason.
    QStringList messages;
    // Per formant: token values that were missing and so left out.
    std::array<std::size_t, kFormantCount> skipped{};
    bool valid() const { return !formants.empty(); }
};

NormalizationResult normalize(const TokenColumns &tokens, NormalizationMethod method,
                              std::vector<Formant> formants);
