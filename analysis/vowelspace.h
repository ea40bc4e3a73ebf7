#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The size of a speaker's vowel space: the area spanned by the speaker's vowel means in
// the chart's plane (x = F2, y = F1 in the chosen scale).

struct PlanePoint
{
    double x = 0.0;
    double y = 0.0;
};

// Area of the polygon through the points in order (shoelace), as a positive number;
// 0 for fewer than 3 points. A polygon that crosses itself counts its loops with signs.
double polygonArea(std::span<const PlanePoint> points);
// Area of the convex hull of the points; 0 for fewer than 3 points or all on one line.
double convexHullArea(std::vector<PlanePoint> points);

struct SpeakerVowelSpace
{
    int vowelCount = 0;                // vowels with a mean for both x and y
    std::optional<double> hullArea;    // none with fewer than 3 vowels
    std::optional<double> polygonArea; // none without a polygon or with a vowel missing
};

struct VowelSpaceResult
{
    std::vector<SpeakerVowelSpace> speakers; // indexed by speaker
    std::size_t skipped = 0;                 // tokens left out: x or y missing
    QStringList messages;                    // speakers without an area, and why
};

// `polygon` lists vowel indices in drawing order; empty for no polygon.
VowelSpaceResult vowelSpaceAreas(std::span<const int> speaker, const QStringList &speakerNames,
                                 std::span<const int> vowel, const QStringList &vowelNames,
                                 std::span<const double> x, std::span<const double> y,
                                 std::span<const int> polygon);
