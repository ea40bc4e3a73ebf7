#include "batch/groupedspace.h"

#include "batch/batchcommand.h"
#include "batch/commandline.h"

void declareGroupedSpace(CommandLine &line, GroupedSpaceArguments &arguments)
{
    line.input(arguments.input)
        .output(arguments.output)
        .reading(arguments.open)
        .text("--by", arguments.by)
        .value<std::vector<Formant>>("--formants", arguments.formants, parseFormantList)
        .value<FrequencyScale>("--scale", arguments.scale, parseFrequencyScale)
        .value<NormalizationMethod>("--normalize", arguments.method, parseNormalizationMethod);
}

QString groupedSpaceUsage()
{
    return QStringLiteral("[--by COL] [--formants F1,F2[,F3]] [--scale S | --normalize M]");
}

std::optional<GroupedSpace> openGroupedSpace(const GroupedSpaceArguments &arguments,
                                             const QString &command, const QString &usage,
                                             int &status)
{
    status = 2;
    if (arguments.method && arguments.scale) {
        batchUsageError(usage, QStringLiteral("--scale and --normalize exclude each other"));
        return std::nullopt;
    }
    const std::vector<Formant> formants =
        arguments.formants.value_or(std::vector<Formant>{Formant::F1, Formant::F2});
    for (std::size_t a = 0; a < formants.size(); ++a) {
        for (std::size_t b = a + 1; b < formants.size(); ++b) {
            if (formants[a] == formants[b]) {
                reportAnalysis(
                    command,
                    QStringLiteral("--formants names %1 twice").arg(formantName(formants[a])));
                return std::nullopt;
            }
        }
    }

    status = 1;
    GroupedSpace grouped;
    grouped.file = BatchInput::openTokens(command, arguments.input, arguments.open);
    if (!grouped.file)
        return std::nullopt;
    grouped.tokens = grouped.file->tokenColumns(formants);
    const TokenColumns &tokens = grouped.tokens;
    grouped.space = makeFormantSpace(tokens, formants,
                                     arguments.scale.value_or(FrequencyScale::Bark),
                                     arguments.method);
    if (!grouped.space.valid()) {
        reportAnalysis(command, grouped.space.error);
        return std::nullopt;
    }
    for (const QString &message : grouped.space.messages)
        reportAnalysis(command, message);
    if (arguments.method && (*arguments.method == NormalizationMethod::Nearey2 ||
                             *arguments.method == NormalizationMethod::Nearey2Balanced)) {
        QStringList names;
        for (Formant f : formants)
            names << formantName(f);
        reportAnalysis(command,
                       QStringLiteral("%1 over %2")
                           .arg(QLatin1String(normalizationMethodInfo(*arguments.method).name),
                                names.join(QLatin1Char(','))));
    }

    if (!arguments.by.isEmpty()) {
        QString unknown;
        const auto rows =
            grouped.file->groupRows(arguments.by.split(u','), grouped.groupNames, unknown);
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
