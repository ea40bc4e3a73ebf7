// tessavox-batch stats FILE: per group the token count, means, SDs, covariance and the
// ellipse's axes, angle, area and the tokens inside it, in a scale or a normalisation.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/batchoptions.h"

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
    const auto arguments =
        parseAnalysisArguments(args, {QStringLiteral("--group"), QStringLiteral("--plot"),
                                      QStringLiteral("--scale"), QStringLiteral("--normalize"),
                                      QStringLiteral("--formants"), QStringLiteral("--ellipse")});
    if (!arguments)
        return batchUsageError(kUsage);
    const auto &options = arguments->options;
    const QString plot = options.value(QStringLiteral("--plot"), QStringLiteral("f1f2"));
    if (plot != QLatin1String("f1f2") && plot != QLatin1String("f1f3"))
        return batchUsageError(kUsage);
    const Formant horizontal = plot == QLatin1String("f1f2") ? Formant::F2 : Formant::F3;
    const auto scale =
        parseFrequencyScale(options.value(QStringLiteral("--scale"), QStringLiteral("bark")));
    const bool normalizing = options.contains(QStringLiteral("--normalize"));
    const auto method = parseNormalizationMethod(options.value(QStringLiteral("--normalize")));
    const auto kind = parseEllipseKind(
        options.value(QStringLiteral("--ellipse"), QStringLiteral("sd2-population")));
    std::optional<std::vector<Formant>> formants;
    if (options.contains(QStringLiteral("--formants")))
        formants = parseFormantList(options.value(QStringLiteral("--formants")));
    if (!scale || !kind || (normalizing && !method) ||
        (normalizing && options.contains(QStringLiteral("--scale"))) ||
        (options.contains(QStringLiteral("--formants")) && (!normalizing || !formants)))
        return batchUsageError(kUsage);
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

    const std::unique_ptr<BatchInput> input =
        BatchInput::openTokens(command, arguments->input, arguments->open);
    if (!input)
        return 1;
    const TokenColumns tokens = input->tokenColumns(wanted);
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
                                        .arg(options.value(QStringLiteral("--normalize")),
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
            plane.x[i] = hzToScale(*scale, x[i]);
            plane.y[i] = hzToScale(*scale, y[i]);
        }
    }

    QStringList groupNames;
    QString unknown;
    const QStringList groupColumns =
        options.value(QStringLiteral("--group"), QStringLiteral("vowel")).split(QLatin1Char(','));
    const auto group = input->groupRows(groupColumns, groupNames, unknown);
    if (!group) {
        reportAnalysis(command, QStringLiteral("no column \"%1\" to group by").arg(unknown));
        return 1;
    }
    const StatisticsResult stats =
        groupStatistics(*group, int(groupNames.size()), plane.x, plane.y, *kind, groupNames);

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
    return writeAnalysisOutput(arguments->output, out, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("stats"), kUsage,
     QStringLiteral("per group (default: the vowel): n, means, sample SDs and covariance, and "
                    "the ellipse's semi-axes, angle from +x, area and tokens inside, as TSV"),
     runStats, false, helpText()}};

} // namespace
