#pragma once

#include <QString>

// How a document's charts and statistics treat its tokens: the scale or speaker
// normalisation they are drawn in, the ellipse drawn about each group, colours, whether
// tokens are shown and whether the chart fills its frame. The defaults draw the classic
// chart. Names are those of the analysis module ("bark", "lobanov", "sd2-population"), so
// that the document needs nothing above it.
struct AnalysisOptions
{
    enum class ColorBy { None, Vowel, Speaker, Column };

    QString scale = QStringLiteral("bark");
    QString normalization; // empty: none
    QString ellipse = QStringLiteral("sd2-population");
    ColorBy colorBy = ColorBy::None;
    QString colorColumn; // the column's header with ColorBy::Column
    bool showTokens = true;
    // How tokens are marked: their labels, or small translucent dots that let a cloud of
    // thousands show its density; Auto takes dots beyond a few thousand tokens.
    enum class TokenMarks { Auto, Labels, Dots };
    TokenMarks tokenMarks = TokenMarks::Auto;
    // One panel per value of this column ("speaker": the speaker), on shared scales.
    QString facetColumn;
    // Each vowel's mean path through its measuring points (F1_20, F1_50, ...), and each
    // token's own path.
    bool trajectories = false;
    bool tokenTrajectories = false;
    bool fit = false;
    // A fitted chart fills its frame both ways; this keeps one scale unit as long down as
    // across instead.
    bool equalAspect = false;

    // Formants a normalisation uses ("F1,F2,F3"); empty: the method's own choice.
    QString formants;

    // Above 0: the charts ring the tokens that are outliers of their speaker's vowel at this
    // level (0 < level < 1).
    double outlierLevel = 0.0;

    // Whether the chart is the classic one, drawn exactly as before these options.
    bool isClassic() const
    {
        return scale == QLatin1String("bark") && normalization.isEmpty() &&
               ellipse == QLatin1String("sd2-population") && colorBy == ColorBy::None &&
               showTokens && !fit && tokenMarks != TokenMarks::Dots && facetColumn.isEmpty() &&
               !trajectories && !(outlierLevel > 0.0);
    }
};
