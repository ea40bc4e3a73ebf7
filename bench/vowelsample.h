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

// A corpus as a TSV table with the header "speaker vowel F1 F2 F3": `speakers` speakers
// (men and women in turn, each with a vocal-tract scale of their own) share the tokens in
// equal blocks and say the twelve vowels in turn. Whole hertz, LF line ends; about 22 bytes
// a token. The same seed gives the same bytes on every machine.
QByteArray SpeakerTableText(int tokens, int speakers, std::uint32_t seed = 1952);

// The statistics benchmark's corpus, written to `path`: `tokens` tokens from tokens / 500
// speakers in the same columns. Each speaker has a vocal-tract factor of their own and
// draws ten vowels (ASCII labels) with unequal frequencies, so the per-speaker
// normalisation has real work to do. A fixed seed: the same file on every machine, about
// 22 bytes a token. Tab-separated, or comma-separated for a CSV.
bool WriteVowelCorpus(const QString &path, int tokens, char separator = '\t');
