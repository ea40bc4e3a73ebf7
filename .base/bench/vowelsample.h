#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// Realistic vowel measurements for benchmarks and tests: twelve vowels of General American
// English, spoken by adult men and women in turn, spread normally around the published
// group means. The same seed gives the same tokens on every machine.
struct VowelToken
{
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    QString label;
};

std::vector<VowelToken> GenerateVowelTokens(int count, std::uint32_t seed = 1952);

// The tokens as a Formant file, exactly as the program saves a table of them.
QByteArray FormantFileOf(const std::vector<VowelToken> &tokens);
