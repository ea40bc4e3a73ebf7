// tessavox-batch outliers FILE: the table with each token's squared Mahalanobis distance
// from its vowel's mean, and whether that makes it an outlier.

#include "batch/analysisinput.h"
#include "batch/batchcommand.h"
#include "batch/groupedspace.h"

#include "analysis/voweloutliers.h"
#include "document/tabularwriter.h"

namespace {

const QString kUsage =
    QStringLiteral("outliers FILE [--format formant|table] [--speaker COL] [--vowel COL] "
                   "%1 [--level P] [-o OUT]")
        .arg(groupedSpaceUsage());

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
    const auto arguments =
        parseAnalysisArguments(args, groupedSpaceOptions() << QStringLiteral("--level"));
    if (!arguments)
        return batchUsageError(kUsage);
    bool levelOk = true;
    const double level = arguments->options.value(QStringLiteral("--level"), QStringLiteral("0.95"))
                             .toDouble(&levelOk);
    if (!levelOk || !(level > 0.0 && level < 1.0))
        return batchUsageError(kUsage);
    AnalysisInput input;
    int status = 0;
    const auto grouped = openGroupedSpace(input, *arguments, command, kUsage, status);
    if (!grouped)
        return status;
    const OutlierResult result =
        vowelOutliers(grouped->group, grouped->groupNames, input.tokens().vowel,
                      input.tokens().vowelNames, grouped->space.columns(), level);
    for (const QString &message : result.messages)
        reportAnalysis(command, message);
    if (result.skipped > 0)
        reportAnalysis(
            command, QStringLiteral("%1 token(s) skipped: a formant missing").arg(result.skipped));

    TabularTable &table = input.table();
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
    TabularFormat format = table.format();
    format.separator = '\t';
    table.setFormat(format);
    if (arguments->output.isEmpty())
        return writeAnalysisOutput({}, FormatTabularText(table), command) ? 0 : 1;
    if (const FileError error = WriteTabularFile(arguments->output, table); error.isError()) {
        reportAnalysis(command, saveFailureReport(error));
        return 1;
    }
    return 0;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("outliers"), kUsage,
     QStringLiteral("the table as TSV with each token's squared Mahalanobis distance from its "
                    "vowel's mean (mahalanobis_d2) and outlier (1 or 0) added"),
     runOutliers, false, helpText()}};

} // namespace
