// tessavox-batch measure AUDIO...: formants of the labelled intervals of recordings, as a
// token table. The work is MeasurementJob's; this file reads the command line and reports.

#include "batch/batchcommand.h"
#include "batch/commandline.h"

#include "framework/safefile.h"
#include "measure/measurementjob.h"
#include "measure/measurementtable.h"

#include <QDir>
#include <QFileInfo>
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

std::optional<int> parseChannel(const QString &text)
{
    const std::optional<int> channel = parseBoundedInt(text, 1, 1 << 16);
    return channel ? std::optional<int>(*channel - 1) : std::nullopt;
}

std::optional<MeasureArguments> parseArgs(const QStringList &args, QString &problem)
{
    MeasureArguments parsed;
    MeasurementSettings &settings = parsed.settings;
    std::optional<int> channel;
    std::optional<std::optional<double>> ceiling;
    std::optional<std::pair<double, double>> range;
    std::optional<std::vector<double>> points;
    CommandLine line;
    line.inputs(settings.audioFiles)
        .output(parsed.output)
        .text("--textgrid", settings.textGrid)
        .text("--tier", settings.tier)
        .repeated("--match",
                  [&settings, &problem](const QString &text) {
                      const QRegularExpression pattern(text);
                      if (!pattern.isValid()) {
                          problem = QStringLiteral("--match: %1 at offset %2")
                                        .arg(pattern.errorString())
                                        .arg(pattern.patternErrorOffset());
                          return false;
                      }
                      settings.match = text;
                      return true;
                  })
        .text("--speaker", settings.speaker)
        .value<int>("--channel", channel, parseChannel)
        .value<std::optional<double>>("--ceiling", ceiling, ParseCeiling)
        .value<std::pair<double, double>>("--ceiling-range", range, ParseCeilingRange)
        .value<std::vector<double>>("--points", points, ParseMeasurementPoints);
    if (!line.parse(args)) {
        if (problem.isEmpty())
            problem = line.error();
        return std::nullopt;
    }
    if (channel)
        settings.channel = *channel;
    if (ceiling)
        settings.ceiling = *ceiling;
    if (range) {
        settings.ceilingLow = range->first;
        settings.ceilingHigh = range->second;
    }
    if (points)
        settings.points = *points;
    if (!settings.textGrid.isEmpty() && settings.audioFiles.size() > 1) {
        problem = QStringLiteral("--textgrid names the TextGrid of one recording; with several, "
                                 "each TextGrid lies beside its recording");
        return std::nullopt;
    }
    return parsed;
}

// Play Token finds a recording relative to the table's folder, so a relative path given on
// the command line is written relative to the folder of OUT; an absolute path stays as is.
void relateFilesToTable(MeasurementResult &result, const QString &output)
{
    const QDir tableFolder = QFileInfo(output).absoluteDir();
    for (MeasuredToken &token : result.tokens)
        if (QFileInfo(token.file).isRelative())
            token.file = tableFolder.relativeFilePath(QFileInfo(token.file).absoluteFilePath());
}

int runMeasure(const QStringList &args)
{
    const QString command = QStringLiteral("measure");
    QString problem;
    const std::optional<MeasureArguments> arguments = parseArgs(args, problem);
    if (!arguments) {
        return batchUsageError(kUsage, problem);
    }
    MeasurementResult result = MeasurementJob(arguments->settings).run();
    if (!arguments->output.isEmpty())
        relateFilesToTable(result, arguments->output);
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
