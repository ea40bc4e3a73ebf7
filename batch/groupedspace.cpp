#include "batch/groupedspace.h"

#include "batch/batchcommand.h"

QStringList groupedSpaceOptions()
{
    return {QStringLiteral("--by"), QStringLiteral("--formants"), QStringLiteral("--scale"),
            QStringLiteral("--normalize")};
}

QString groupedSpaceUsage()
{
    return QStringLiteral("[--by COL] [--formants F1,F2[,F3]] [--scale S | --normalize M]");
}

std::optional<GroupedSpace> openGroupedSpace(AnalysisInput &input,
                                             const AnalysisArguments &arguments,
                                             const QString &command, const QString &usage,
                                             int &status)
{
    const auto &options = arguments.options;
    status = 2;
    const auto formants =
        parseFormantList(options.value(QStringLiteral("--formants"), QStringLiteral("F1,F2")));
    const auto scale =
        parseFrequencyScale(options.value(QStringLiteral("--scale"), QStringLiteral("bark")));
    const bool normalizing = options.contains(QStringLiteral("--normalize"));
    const auto method = parseNormalizationMethod(options.value(QStringLiteral("--normalize")));
    if (!formants || !scale || (normalizing && !method) ||
        (normalizing && options.contains(QStringLiteral("--scale")))) {
        batchUsageError(usage);
        return std::nullopt;
    }
    for (std::size_t a = 0; a < formants->size(); ++a) {
        for (std::size_t b = a + 1; b < formants->size(); ++b) {
            if ((*formants)[a] == (*formants)[b]) {
                reportAnalysis(
                    command,
                    QStringLiteral("--formants names %1 twice").arg(formantName((*formants)[a])));
                return std::nullopt;
            }
        }
    }

    status = 1;
    if (!input.open(arguments, command, *formants))
        return std::nullopt;
    const TokenColumns &tokens = input.tokens();
    GroupedSpace grouped;
    grouped.space =
        makeFormantSpace(tokens, *formants, *scale, normalizing ? method : std::nullopt);
    if (!grouped.space.valid()) {
        reportAnalysis(command, grouped.space.error);
        return std::nullopt;
    }
    for (const QString &message : grouped.space.messages)
        reportAnalysis(command, message);
    if (normalizing && (*method == NormalizationMethod::Nearey2 ||
                        *method == NormalizationMethod::Nearey2Balanced)) {
        QStringList names;
        for (Formant f : *formants)
            names << formantName(f);
        reportAnalysis(command, QStringLiteral("%1 over %2")
                                    .arg(options.value(QStringLiteral("--normalize")),
                                         names.join(QLatin1Char(','))));
    }

    if (options.contains(QStringLiteral("--by"))) {
        QString unknown;
        const auto rows = input.groupRows(options.value(QStringLiteral("--by")).split(u','),
                                          grouped.groupNames, unknown);
        if (!rows) {
            reportAnalysis(command, QStringLiteral("no column \"%1\" to group by").arg(unknown));
            return std::nullopt;
        }
        grouped.group = tokens.withoutExcluded(*rows);
    } else {
        // The speakers; without a speaker column the whole file is one group.
        grouped.group = tokens.withoutExcluded(tokens.speaker);
        grouped.groupNames = tokens.speakerNames;
    }
    status = 0;
    return grouped;
}
