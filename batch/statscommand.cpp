// tessavox-batch stats FILE: per group the token count, means, SDs, covariance and the
// ellipse's axes, angle, area and the tokens inside it, in a scale or a normalisation.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"
#include "batch/commandline.h"

#include "analysis/frequencyscale.h"
#include "analysis/groupstatistics.h"
#include "analysis/largepages.h"
#include "analysis/normalization.h"
#include "analysis/statisticstable.h"

namespace {

const QString kUsage = QStringLiteral(
    "stats FILE [--format formant|table] [--speaker COL] [--vowel COL] [--f1 COL] [--f2 COL] [--f3 "
    "COL] [--group COL[,COL...]] "
    "[--plot f1f2|f1f3] [--scale S | --normalize M [--formants F1,F2[,F3]]] [--ellipse KIND] "
    "[-o OUT]");

QString helpText()
{
    QString text = QStringLiteral("S (default bark):");
    for (const FrequencyScaleInfo &info : frequencyScales()) {
        text += QStringLiteral("\n        %1: %2")
                    .arg(QLatin1String(info.name), QLatin1String(info.formula));
        if (*info.source)
            text += QStringLiteral(" (%1)").arg(QString::fromUtf8(info.source));
    }
    text += QStringLiteral("\n      M: see normalize\n      KIND (default sd2-population), the "
                           "ellipse (p-m)' S^-1 (p-m) = r^2 with S the sample covariance:");
    for (const EllipseKindInfo &info : ellipseKinds())
        text += QStringLiteral("\n        %1: r = %2, %3")
                    .arg(QLatin1String(info.name), QLatin1String(info.radius),
                         QLatin1String(info.meaning));
    text += QStringLiteral("\n        F(p; 2, d) = d/2 ((1 - p)^(-2/d) - 1); semi-axes r "
                           "sqrt(eigenvalues), area pi r^2 sqrt(det S)");
    return text;
}

struct Plane
{
    std::vector<double> x, y;
    std::size_t refused = 0; // speakers whose tokens have no normalised values
};

int runStats(const QStringList &args)
{
    const QString command = QStringLiteral("stats");
    QString input, output, groups = QStringLiteral("vowel");
    TokenFileOptions open;
    std::optional<ChartKind> chartKind;
    std::optional<FrequencyScale> chosenScale;
    std::optional<NormalizationMethod> method;
    std::optional<EllipseKind> chosenKind;
    std::optional<std::vector<Formant>> formants;
    CommandLine line;
    line.input(input)
        .output(output)
        .reading(open)
        .text("--group", groups)
        .value<ChartKind>("--plot", chartKind, parseChartKind)
        .value<FrequencyScale>("--scale", chosenScale, parseFrequencyScale)
        .value<NormalizationMethod>("--normalize", method, parseNormalizationMethod)
        .value<std::vector<Formant>>("--formants", formants, parseFormantList)
        .value<EllipseKind>("--ellipse", chosenKind, parseEllipseKind);
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    const bool normalizing = method.has_value();
    if (normalizing && chosenScale)
        return batchUsageError(kUsage,
                               QStringLiteral("--scale and --normalize exclude each other"));
    if (formants && !normalizing)
        return batchUsageError(kUsage, QStringLiteral("--formants goes with --normalize"));
    const QString plot =
        chartKind == ChartKind::F1F3 ? QStringLiteral("f1f3") : QStringLiteral("f1f2");
    const Formant horizontal = chartKind == ChartKind::F1F3 ? Formant::F3 : Formant::F2;
    const FrequencyScale scale = chosenScale.value_or(FrequencyScale::Bark);
    const EllipseKind kind = chosenKind.value_or(EllipseKind::Sd2Population);
    if (formants &&
        (std::find(formants->begin(), formants->end(), Formant::F1) == formants->end() ||
         std::find(formants->begin(), formants->end(), horizontal) == formants->end())) {
        reportAnalysis(command, QStringLiteral("--formants must hold F1 and %1 for the %2 plane")
                                    .arg(formantName(horizontal), plot));
        return 2;
    }

    // Methods other than nearey2 treat each formant alone: only the plane's are needed.
    const bool shared = normalizing && (*method == NormalizationMethod::Nearey2 ||
                                        *method == NormalizationMethod::Nearey2Balanced);
    std::vector<Formant> wanted = formants.value_or(std::vector<Formant>{Formant::F1, horizontal});
    if (shared && !formants)
        wanted = {Formant::F1, Formant::F2, Formant::F3};

    const std::unique_ptr<BatchInput> file = BatchInput::openTokens(command, input, open);
    if (!file)
        return 1;
    const TokenColumns tokens = file->tokenColumns(wanted);
    for (Formant f : {Formant::F1, horizontal}) {
        if (!tokens.hasFormant(f)) {
            reportAnalysis(command,
                           QStringLiteral("the file has no %1 column").arg(formantName(f)));
            return 1;
        }
    }

    Plane plane;
    if (normalizing) {
        // nearey2 without --formants takes its default set: G depends on it.
        const std::vector<Formant> used =
            shared && !formants ? defaultNormalizationFormants(*method, tokens) : wanted;
        NormalizationResult result = normalize(tokens, *method, used);
        if (!result.valid()) {
            reportAnalysis(command, result.messages.join(QLatin1Char(' ')));
            return 2;
        }
        for (const QString &message : result.messages)
            reportAnalysis(command, message);
        if (shared) {
            QStringList names;
            for (Formant f : result.formants)
                names << formantName(f);
            reportAnalysis(command, QStringLiteral("%1 over %2")
                                        .arg(QLatin1String(normalizationMethodInfo(*method).name),
                                             names.join(QLatin1Char(','))));
        }
        plane.x = std::move(result.values[std::size_t(horizontal)]);
        plane.y = std::move(result.values[std::size_t(Formant::F1)]);
        for (bool refused : result.refused)
            plane.refused += refused ? 1 : 0;
    } else {
        fillOnLargePages(plane.x, tokens.size(), 0.0);
        fillOnLargePages(plane.y, tokens.size(), 0.0);
        const std::span<const double> x = tokens.values(horizontal);
        const std::span<const double> y = tokens.values(Formant::F1);
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            plane.x[i] = hzToScale(scale, x[i]);
            plane.y[i] = hzToScale(scale, y[i]);
        }
    }

    QStringList groupNames;
    QString unknown;
    const QStringList groupColumns = groups.split(QLatin1Char(','));
    const auto group = file->groupRows(groupColumns, groupNames, unknown);
    if (!group) {
        reportAnalysis(command, QStringLiteral("no column \"%1\" to group by").arg(unknown));
        return 1;
    }
    const StatisticsResult stats =
        groupStatistics(tokens.withoutExcluded(*group), int(groupNames.size()), plane.x, plane.y,
                        kind, groupNames);

    const QByteArray out = formatStatisticsTable(stats, groupNames);
    for (const QString &message : stats.messages)
        reportAnalysis(command, message);
    if (stats.skipped > 0)
        reportAnalysis(command,
                       QStringLiteral("%1 token(s) skipped: %2 or F1 missing%3")
                           .arg(stats.skipped)
                           .arg(formantName(horizontal),
                                plane.refused > 0 ? QStringLiteral(" or the speaker not normalised")
                                                  : QString()));
    return writeAnalysisOutput(output, out, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("stats"), kUsage,
     QStringLiteral("per group (default: the vowel): n, means, sample SDs and covariance, and "
                    "the ellipse's semi-axes, angle from +x, area and tokens inside, as TSV"),
     runStats, false, helpText()}};

} // namespace
