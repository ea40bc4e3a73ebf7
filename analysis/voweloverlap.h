#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// How far apart, and how much overlapped, two vowels are within a group of tokens (a
// speaker, usually), in the formants in use: the MANOVA Pillai trace with its F test,
// the Euclidean and Mahalanobis distances of the means, and the Bhattacharyya distance
// and coefficient of the two normal densities. A figure that cannot be computed stays
// empty, with the reason in the messages; none comes from a singular matrix.

struct VowelPair
{
    int first = 0; // vowel indices
    int second = 0;
    bool operator==(const VowelPair &) const = default;
};

struct PairOverlap
{
    int group = 0;
    VowelPair vowels;
    int n1 = 0, n2 = 0; // tokens of each vowel with every formant in use
    std::optional<double> pillai, f, df1, df2, p;
    std::optional<double> euclidean, mahalanobis;
    std::optional<double> bhattacharyya, bc;
};

struct OverlapResult
{
    std::vector<PairOverlap> rows; // per group in index order, the pairs in their order
    std::size_t skipped = 0;       // tokens left out: a formant missing or not finite
    QStringList messages;          // figures left empty, and why: a line per reason
    std::size_t tooFewTokens = 0;  // rows with a figure left empty for want of tokens
};

// `values[k][i]` is formant k of token i (p = values.size() of them); `group[i]` is token
// i's group in 0..groupNames.size()-1, or -1 to leave the token out; `vowel[i]` indexes
// vowelNames. With `pairs` empty every two vowels a group has are compared, in the order
// of the vowels' indices; named pairs are compared in every group, in the order given.
OverlapResult vowelOverlap(std::span<const int> group, const QStringList &groupNames,
                           std::span<const int> vowel, const QStringList &vowelNames,
                           std::span<const std::span<const double>> values,
                           std::span<const VowelPair> pairs);

// "V1:V2,V3:V4" as pairs of `vowelNames`; nullopt with `error` set when a pair is not two
// names joined by ':' or a name is not a vowel of the file.
std::optional<std::vector<VowelPair>>
parseVowelPairs(const QString &text, const QStringList &vowelNames, QString &error);

// group vowel1 vowel2 n1 n2 pillai f df1 df2 p euclidean mahalanobis bhattacharyya bc
QStringList overlapColumns();

// The header and a row per pair, fields joined by `separator` ('\t' or ','), each line
// ending in "\n"; empty figures are empty fields.
QByteArray formatOverlapTable(const OverlapResult &result, const QStringList &groupNames,
                              const QStringList &vowelNames, char separator = '\t');
