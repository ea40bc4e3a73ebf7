// tessavox-batch normalize FILE --method M: the table with one normalised column added per
// formant, each speaker normalised on its own.

#include "batch/batchcommand.h"
#include "batch/batchinput.h"
#include "batch/commandline.h"

#include "analysis/normalization.h"
#include "analysis/statisticstable.h"
#include "document/tabularwriter.h"

namespace {

const QString kUsage =
    QStringLiteral("normalize FILE --method M [--format formant|table] [--speaker COL] [--vowel "
                   "COL] [--f1 COL] [--f2 COL] [--f3 COL] "
                   "[--formants F1,F2[,F3]] [-o OUT]");

QString helpText()
{
    QString text = QStringLiteral("M, per speaker (SD = sample SD, n - 1):");
    for (const NormalizationMethodInfo &info : normalizationMethods())
        text += QStringLiteral("\n        %1: %2 (%3)")
                    .arg(QLatin1String(info.name), QLatin1String(info.formula),
                         QLatin1String(info.source));
    text += QStringLiteral("\n      --formants: default F1,F2,F3 (F1,F2 for watt-fabricius)");
    return text;
}

int runNormalize(const QStringList &args)
{
    const QString command = QStringLiteral("normalize");
    QString input, output;
    TokenFileOptions open;
    std::optional<NormalizationMethod> method;
    std::optional<std::vector<Formant>> formants;
    CommandLine line;
    line.input(input)
        .output(output)
        .reading(open)
        .value<NormalizationMethod>("--method", method, parseNormalizationMethod)
        .value<std::vector<Formant>>("--formants", formants, parseFormantList);
    if (!line.parse(args))
        return batchUsageError(kUsage, line.error());
    if (!method)
        return batchUsageError(kUsage, QStringLiteral("--method is missing"));
    const QString methodName = QLatin1String(normalizationMethodInfo(*method).name);

    const std::unique_ptr<BatchInput> file = BatchInput::openTokens(command, input, open);
    if (!file)
        return 1;
    const TokenColumns tokens = file->tokenColumns();
    NormalizationResult result = normalize(
        tokens, *method, formants.value_or(defaultNormalizationFormants(*method, tokens)));
    if (!result.valid()) {
        reportAnalysis(command, result.messages.join(QLatin1Char(' ')));
        return 2;
    }
    for (const QString &message : result.messages)
        reportAnalysis(command, message);
    QStringList names;
    for (Formant f : result.formants) {
        names << formantName(f);
        if (result.skipped[std::size_t(f)] > 0)
            reportAnalysis(command, QStringLiteral("%1 token(s) without %2 skipped")
                                        .arg(result.skipped[std::size_t(f)])
                                        .arg(formantName(f)));
    }
    if (*method == NormalizationMethod::Nearey2 || *method == NormalizationMethod::Nearey2Balanced)
        reportAnalysis(command,
                       QStringLiteral("%1 over %2").arg(methodName, names.join(QLatin1Char(','))));
    if (std::find(result.refused.begin(), result.refused.end(), false) == result.refused.end()) {
        reportAnalysis(command, QStringLiteral("no speaker could be normalised"));
        return 1;
    }

    TabularTable table = file->tableCopy();
    QByteArray text;
    for (Formant f : result.formants) {
        const QByteArray header = (formantName(f) + QLatin1Char('_') +
                                   QLatin1String(normalizationMethodInfo(*method).name))
                                      .toUtf8();
        const int column = table.appendColumn(std::string_view(header.constData(), header.size()));
        const std::vector<double> &values = result.values[std::size_t(f)];
        for (int row = 0; row < table.rowCount(); ++row) {
            text.clear();
            appendNumber(text, values[std::size_t(row)]);
            table.setCell(row, column, std::string_view(text.constData(), text.size()));
        }
    }
    return writeTableOutput(output, table, command) ? 0 : 1;
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("normalize"), kUsage,
     QStringLiteral("the table as TSV with a column <formant>_<method> added per normalised "
                    "formant; speakers that cannot be normalised are named and left empty"),
     runNormalize, false, helpText()}};

} // namespace
