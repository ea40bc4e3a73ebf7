// tessavox-batch measure AUDIO...: formants of the labelled intervals of recordings, as a
// token table. The work is MeasurementJob's; this file reads the command line and reports.

#include "batch/batchcommand.h"

#include "framework/safefile.h"
#include "measure/measurementjob.h"
#include "measure/measurementtable.h"

#include <QRegularExpression>

#include <optional>

namespace {

const QString kUsage = QStringLiteral(
    "measure AUDIO... [--textgrid F] [--tier NAME] [--match RE] [--speaker NAME] [--channel N] "
    "[--ceiling HZ|auto] [--ceiling-range LO:HI] [--points P,...] [-o OUT]");

struct MeasureArguments
{
    MeasurementSettings settings;
    QString output;
};

std::optional<MeasureArguments> parseArgs(const QStringList &args, QString &problem)
{
    MeasureArguments parsed;
    MeasurementSettings &settings = parsed.settings;
    QStringList seen;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            settings.audioFiles << arg;
            continue;
        }
        if (i + 1 >= args.size() || seen.contains(arg))
            return std::nullopt;
        seen << arg;
        const QString value = args[++i];
        if (arg == QLatin1String("-o")) {
            parsed.output = value;
        } else if (arg == QLatin1String("--textgrid")) {
            settings.textGrid = value;
        } else if (arg == QLatin1String("--tier")) {
            settings.tier = value;
        } else if (arg == QLatin1String("--match")) {
            const QRegularExpression pattern(value);
            if (!pattern.isValid()) {
                problem = QStringLiteral("--match: %1 at offset %2")
                              .arg(pattern.errorString())
                              .arg(pattern.patternErrorOffset());
                return std::nullopt;
            }
            settings.match = value;
        } else if (arg == QLatin1String("--speaker")) {
            settings.speaker = value;
        } else if (arg == QLatin1String("--channel")) {
            bool ok = false;
            const int channel = value.toInt(&ok);
            if (!ok || channel < 1)
                return std::nullopt;
            settings.channel = channel - 1;
        } else if (arg == QLatin1String("--ceiling")) {
            const auto ceiling = ParseCeiling(value);
            if (!ceiling)
                return std::nullopt;
            settings.ceiling = *ceiling;
        } else if (arg == QLatin1String("--ceiling-range")) {
            const auto range = ParseCeilingRange(value);
            if (!range)
                return std::nullopt;
            settings.ceilingLow = range->first;
            settings.ceilingHigh = range->second;
        } else if (arg == QLatin1String("--points")) {
            const auto points = ParseMeasurementPoints(value);
            if (!points)
                return std::nullopt;
            settings.points = *points;
        } else {
            return std::nullopt;
        }
    }
    if (settings.audioFiles.isEmpty())
        return std::nullopt;
    if (!settings.textGrid.isEmpty() && settings.audioFiles.size() > 1) {
        problem = QStringLiteral("--textgrid names the TextGrid of one recording; with several, "
                                 "each TextGrid lies beside its recording");
        return std::nullopt;
    }
    return parsed;
}

int runMeasure(const QStringList &args)
{
    const QString command = QStringLiteral("measure");
    QString problem;
    const std::optional<MeasureArguments> arguments = parseArgs(args, problem);
    if (!arguments) {
        if (!problem.isEmpty())
            batchErr() << "tessavox-batch measure: " << problem << Qt::endl;
        return batchUsageError(kUsage);
    }
    const MeasurementResult result = MeasurementJob(arguments->settings).run();
    for (const QString &message : result.messages)
        batchErr() << "tessavox-batch measure: " << message << Qt::endl;

    const bool csv = arguments->output.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    const QByteArray table = FormatMeasurementTable(result, csv ? ',' : '\t');
    if (arguments->output.isEmpty()) {
        batchOut().flush();
        if (fwrite(table.constData(), 1, std::size_t(table.size()), stdout) !=
            std::size_t(table.size()))
            return 1;
        fflush(stdout);
    } else if (const FileError error = WriteFileSafely(arguments->output, table); error.isError()) {
        return batchWriteFailure(command, error);
    }
    if (result.skippedFiles > 0)
        batchErr() << "tessavox-batch measure: " << result.skippedFiles << " of "
                   << arguments->settings.audioFiles.size() << " file(s) skipped" << Qt::endl;
    return result.complete() ? 0 : 1;
}

QString helpText()
{
    return QStringLiteral(
        "Ceiling auto (the default): per token, of 10 ceilings log-spaced over\n"
        "      --ceiling-range (default 4500:7000 Hz), the one whose F1-F3 tracks are the\n"
        "      most regular: the least RMS residual of a quadratic fit of each track in log\n"
        "      frequency over the token (Weenink 2015; Barreda 2021), resonances wider than\n"
        "      600 Hz counting as missing; of the analyses within 1.5 times the least\n"
        "      residual, the lowest ceiling. LPC by Burg's method (Burg 1967; Childers 1978;\n"
        "      Markel & Gray 1976): 5 formants, 25 ms Gaussian window, pre-emphasis from\n"
        "      50 Hz, 5 ms steps, values linear between frames.");
}

const BatchCommandRegistrar registrar{
    {QStringLiteral("measure"), kUsage,
     QStringLiteral("measure F1-F3 of the labelled intervals of recordings (WAV, FLAC, AIFF, "
                    "Ogg) from their TextGrids, into a token table: TSV, or CSV when OUT ends "
                    "in .csv. Exits with 1 when any file was skipped"),
     runMeasure, false, helpText()}};

} // namespace
