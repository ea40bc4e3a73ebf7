// tessavox-batch outliers FILE: the table with each token's squared Mahalanobis distance
// from its vowel's mean, and whether that makes it an outlier.

#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "batch/commandline.h"
#include "batch/groupedspace.h"

#include "analysis/statisticstable.h"
#include "analysis/voweloutliers.h"
#include "document/tabularwriter.h"

namespace {

const QString kUsage = QStringLiteral("outliers FILE %1 %2 [--level P] [-o OUT]")
                           .arg(readingUsage(), groupedSpaceUsage());

QString helpText()
{
    return QStringLiteral(
        "per group (--by, default the speaker) and vowel, on the formants in use (p of them,\n"
        "      default F1,F2): d2 = (x - m)' S^-1 (x - m), m the mean and S the sample\n"
        "      covariance; outlier when d2 > the chi-square quantile with p degrees of freedom\n"
        "      at P (default 0.95; -2 ln(1 - P) for p = 2); a vowel with fewer than p + 2\n"
        "      tokens or a singular S gets no distance (both cells empty)");
}

int runOutliers(const QStringList &args)
{
    const QString command = QStringLiteral("outliers");
    GroupedSpaceArguments arguments;
    std::optional<double> chosenLevel;
    CommandLine line;
    declareGroupedSpace(line, arguments);
    line.value<double>("--level", chosenLevel, [](const QString &text) -> std::optional<double> {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !(value > 0.0 && value < 1.0))
            return std::nullopt;
        return value;
    });
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    const double level = chosenLevel.value_or(0.95);
    int status = 0;
    auto grouped = openGroupedSpace(arguments, command, kUsage, status);
    if (!grouped)
        return status;
    const OutlierResult result =
        vowelOutliers(grouped->group, grouped->groupNames, grouped->tokens.vowel,
                      grouped->tokens.vowelNames, grouped->space.columns(), level);
    for (const QString &message : result.messages)
        reportAnalysis(command, message);
    if (result.tooFewTokens > 0)
        reportAnalysis(
            command, QStringLiteral("%L1 of %L2 vowels of a group have too few tokens: group by a "
                                    "column of fewer, larger groups (--by COL; --by vowel takes "
                                    "each vowel's tokens of every speaker together)")
                         .arg(result.tooFewTokens)
                         .arg(result.cellCount));
    if (result.skipped > 0)
        reportAnalysis(
            command, QStringLiteral("%1 token(s) skipped: a formant missing").arg(result.skipped));

    TabularTable table = grouped->file->tableCopy();
    const int distance = table.appendColumn("mahalanobis_d2");
    const int flag = table.appendColumn("outlier");
    QByteArray text;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!result.hasDistance(std::size_t(row)))
            continue;
        text.clear();
        appendNumber(text, result.d2[std::size_t(row)]);
        table.setCell(row, distance, std::string_view(text.constData(), text.size()));
        table.setCell(row, flag, result.isOutlier(std::size_t(row)) ? "1" : "0");
    }
    return writeTableOutput(arguments.output, table, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("outliers"), kUsage,
     QStringLiteral("the table as TSV with each token's squared Mahalanobis distance from its "
                    "vowel's mean (mahalanobis_d2) and outlier (1 or 0) added"),
     runOutliers, false, helpText()}};

} // namespace
