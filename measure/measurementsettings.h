#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// What a measurement run is asked to do: the recordings, where their annotation is, which
// intervals are tokens, and how the formants are analysed. Shared by the batch command and
// File > Measure Recordings..., with the parsers for the values a user types.
struct MeasurementSettings
{
    QStringList audioFiles;
    // The TextGrid of the one recording; empty: each recording's TextGrid lies beside it.
    QString textGrid;
    // The tier whose labelled intervals are the tokens; empty: the first interval tier named
    // vowel(s), phone(s) or segment(s), else the first interval tier.
    QString tier;
    // Only intervals whose trimmed label matches this regular expression; empty: all.
    QString match;
    // The Speaker column's value; empty: a tier named speaker, else the file's base name.
    QString speaker;
    int channel = 0; // 0 = the first
    // A fixed ceiling in Hz; none: the automatic choice per token over the range below.
    std::optional<double> ceiling;
    double ceilingLow = 4500;
    double ceilingHigh = 7000;
    int ceilingSteps = 10;
    // Percentages of each interval; 50 is always measured (F1-F3, B1-B3).
    std::vector<double> points{50};
    // Worker threads; 0: one per core.
    int threads = 0;
};

// The defaults' limits: a ceiling outside them is not a vowel analysis.
constexpr double kLowestCeiling = 1000;
constexpr double kHighestCeiling = 20000;

// "20,50,80": each a percentage 0-100, ascending order not required; 50 is added when
// missing; duplicates dropped. Nullopt for anything else.
std::optional<std::vector<double>> ParseMeasurementPoints(const QString &text);
// "4500:7000": low <= high, both within the ceiling limits.
std::optional<std::pair<double, double>> ParseCeilingRange(const QString &text);
// "auto" (nullopt inside) or a number of hertz within the ceiling limits.
std::optional<std::optional<double>> ParseCeiling(const QString &text);
// How a point is named in column headers: "20", "12.5".
QString PointName(double point);
