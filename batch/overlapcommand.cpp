// tessavox-batch overlap FILE: per group and vowel pair, the Pillai trace with its F test,
// the distances of the means and the Bhattacharyya distance of the two vowels.

#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "batch/commandline.h"
#include "batch/groupedspace.h"

#include "analysis/voweloverlap.h"

namespace {

const QString kUsage = QStringLiteral("overlap FILE %1 %2 [--pairs V1:V2,...|all] [-o OUT]")
                           .arg(readingUsage(), groupedSpaceUsage());

QString helpText()
{
    return QStringLiteral(
        "per group (--by, default the speaker) and vowel pair (default all), on the formants\n"
        "      in use (p of them, default F1,F2) in the scale S (default bark) or method M:\n"
        "        pillai: trace(H (H + E)^-1), H and E the between- and within-vowel SSCP\n"
        "          (Hay, Warren & Drager 2006); f = pillai/(1 - pillai) (n1 + n2 - p - 1)/p on\n"
        "          df1 = p and df2 = n1 + n2 - p - 1, p its upper-tail probability\n"
        "        euclidean: distance of the means; mahalanobis: sqrt(d' Sp^-1 d),\n"
        "          Sp = E/(n1 + n2 - 2)\n"
        "        bhattacharyya: d' S^-1 d/8 + ln(det S/sqrt(det S1 det S2))/2, S = (S1 + S2)/2\n"
        "          (Bhattacharyya 1943); bc = exp(-bhattacharyya)\n"
        "      a figure that cannot be computed is empty, and standard error says why");
}

int runOverlap(const QStringList &args)
{
    const QString command = QStringLiteral("overlap");
    GroupedSpaceArguments arguments;
    QString pairText;
    CommandLine line;
    declareGroupedSpace(line, arguments);
    line.text("--pairs", pairText);
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    int status = 0;
    const auto grouped = openGroupedSpace(arguments, command, kUsage, status);
    if (!grouped)
        return status;
    const QStringList &vowelNames = grouped->tokens.vowelNames;
    std::vector<VowelPair> pairs;
    if (!pairText.isEmpty() && pairText != QLatin1String("all")) {
        QString error;
        const auto named = parseVowelPairs(pairText, vowelNames, error);
        if (!named) {
            reportAnalysis(command, error);
            return 1;
        }
        pairs = *named;
    }
    const OverlapResult result =
        vowelOverlap(grouped->group, grouped->groupNames, grouped->tokens.vowel, vowelNames,
                     grouped->space.columns(), pairs);
    for (const QString &message : result.messages)
        reportAnalysis(command, message);
    if (result.tooFewTokens > 0)
        reportAnalysis(
            command, QStringLiteral("%L1 of %L2 vowel pairs have too few tokens for some figures: "
                                    "group by a column of fewer, larger groups (--by COL, such "
                                    "as a dialect or a sex column)")
                         .arg(result.tooFewTokens)
                         .arg(result.rows.size()));
    if (result.skipped > 0)
        reportAnalysis(
            command, QStringLiteral("%1 token(s) skipped: a formant missing").arg(result.skipped));
    const QByteArray out = formatOverlapTable(result, grouped->groupNames, vowelNames);
    return writeAnalysisOutput(arguments.output, out, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("overlap"), kUsage,
     QStringLiteral("per group and vowel pair: Pillai trace with its F test, Euclidean and "
                    "Mahalanobis distance, Bhattacharyya distance and coefficient, as TSV"),
     runOverlap, false, helpText()}};

} // namespace
