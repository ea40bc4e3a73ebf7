#pragma once

#include "analysis/groupstatistics.h"
#include "analysis/vowelspace.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <vector>

class CTessavoxDoc;

// What a chart drawn with analysis options shows, in scale units (x = the horizontal
// formant, y = F1, in the chosen scale or normalisation): every token's point and
// colour, and each group's mean, label and ellipse outline. Computed from the document's
// rows at every paint by the analysis module; plain data, no painter.
struct AnalysisChartGroup
{
    int order = 0;
    QString firstLabel;
    bool sameLabel = true;
    int colour = -1; // palette index, -1 = black
    int facet = 0;   // panel index, 0 without facets
    int count = 0;
    bool hasMean = false;
    QPointF mean;
    std::vector<QPointF> outline; // empty: no ellipse
};

struct AnalysisChart
{
    std::vector<double> x, y;   // per row; NaN where missing or refused
    std::vector<int> rowColour; // per row: palette index, -1 = black
    std::vector<int> rowFacet;  // per row: panel index
    std::vector<AnalysisChartGroup> groups;
    // The values colour stands for, by palette index, when it does not follow the vowel:
    // what a legend lists. Empty otherwise.
    QStringList legend;
    // The panels' titles, one per value of the facet column; empty without facets.
    QStringList facets;
    // Each row's path through its measuring points, when trajectories are asked for and
    // the table has point columns: per row the points in order (NaN where missing), and
    // per group the mean path.
    std::vector<std::vector<QPointF>> rowPath;
    std::vector<std::vector<QPointF>> groupPath;
    QString xCaption, yCaption;
    bool normalised = false; // values are normalised, not frequencies in a scale
    QString scale;           // the scale's name when not normalised
    QStringList messages;    // speakers refused, options not understood
    // The groups' statistics as the stats command computes them, with the groups' names
    // (the label, and the colouring value after "/" where groups are split by it).
    StatisticsResult statistics;
    QStringList groupNames;
    // Each speaker's vowel-space area over the vowel means; empty without speakers.
    VowelSpaceResult vowelSpace;
    QStringList speakerNames;
};

// Groups are the table's runs of one order, as on every chart, and each panel's part of
// them. Colouring by speaker or a column splits a vowel further by that value when each
// part has at least 3 tokens; otherwise the vowel keeps one black summary over all its
// tokens. Groups of fewer than 3 tokens get no mean.
AnalysisChart buildAnalysisChart(const CTessavoxDoc &doc, int horizontalColumn);

// The caption of an axis: "F2" for the classic chart, else e.g. "F2 (Bark)" or
// "F2 (Lobanov z)".
QString analysisAxisCaption(const QString &formant, const QString &scale,
                            const QString &normalization);

// The unit values are in: the normalisation's ("Lobanov z") or the scale's ("Bark").
QString analysisUnit(const QString &scale, const QString &normalization);
