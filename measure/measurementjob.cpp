#include "measure/measurementjob.h"

#include "measure/audiofile.h"
#include "measure/ceilingchoice.h"
#include "measure/textgrid.h"
#include "measure/tokenmeasurer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

namespace {

// Intervals may reach this far past the recording's end: annotation times are rounded.
constexpr double kEndTolerance = 0.001;

const char *const kTokenTierNames[] = {"vowel", "vowels", "phone", "phones", "segment", "segments"};

const TextGridTier *chooseTier(const TextGrid &grid, const QString &name, QString &error)
{
    if (!name.isEmpty()) {
        // The exact name first: a grid may hold "Vowel" and "vowel".
        const TextGridTier *tier = nullptr;
        for (const TextGridTier &candidate : grid.tiers) {
            if (candidate.name == name) {
                tier = &candidate;
                break;
            }
        }
        if (!tier)
            tier = grid.findTier(name);
        if (!tier) {
            QStringList names;
            for (const TextGridTier &candidate : grid.tiers)
                names << QLatin1Char('"') + candidate.name + QLatin1Char('"');
            error = QStringLiteral("has no tier \"%1\" (its tiers: %2)")
                        .arg(name, names.isEmpty() ? QStringLiteral("none")
                                                   : names.join(QStringLiteral(", ")));
            return nullptr;
        }
        if (!tier->intervals) {
            error = QStringLiteral("line %1: tier \"%2\" holds points, not intervals; "
                                   "measuring needs an interval tier")
                        .arg(tier->line)
                        .arg(tier->name);
            return nullptr;
        }
        return tier;
    }
    for (const TextGridTier &tier : grid.tiers) {
        if (!tier.intervals)
            continue;
        for (const char *known : kTokenTierNames) {
            if (tier.name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
                return &tier;
        }
    }
    for (const TextGridTier &tier : grid.tiers) {
        if (tier.intervals)
            return &tier;
    }
    error = QStringLiteral("has no interval tier");
    return nullptr;
}

// A tier's intervals must follow one another: overlapping or unordered intervals mean the
// annotation is damaged, and its tokens cannot be trusted.
QString orderFault(const TextGridTier &tier)
{
    for (std::size_t i = 1; i < tier.items.size(); ++i) {
        const TextGridItem &previous = tier.items[i - 1];
        const TextGridItem &item = tier.items[i];
        if (item.start < previous.end - 1e-9)
            return QStringLiteral("line %1: in tier \"%2\" an interval (%3 to %4 s) starts before "
                                  "the one before it ends (%5 s); the intervals overlap or are "
                                  "out of order")
                .arg(item.line)
                .arg(tier.name)
                .arg(item.start)
                .arg(item.end)
                .arg(previous.end);
    }
    return {};
}

bool isSpeakerTier(const TextGridTier &tier)
{
    return tier.name.trimmed().compare(QStringLiteral("speaker"), Qt::CaseInsensitive) == 0;
}

} // namespace

struct MeasurementJob::FileOutcome
{
    std::vector<MeasuredToken> tokens;
    QStringList contextTiers; // the context labels of `tokens` follow this order
    QStringList messages;
    QString tierNote; // the tier chosen, when the user named none
    bool skipped = false;
    int missing = 0; // F1-F3 values of `tokens` not found
};

MeasurementJob::MeasurementJob(MeasurementSettings settings) : m_settings(std::move(settings))
{
    std::vector<double> &points = m_settings.points;
    if (std::find(points.begin(), points.end(), 50.0) == points.end())
        points.push_back(50);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
}

QString MeasurementJob::textGridBeside(const QString &audioPath)
{
    const QFileInfo audio(audioPath);
    const QDir dir = audio.dir();
    const QString base = audio.completeBaseName() + QLatin1Char('.');
    // The usual spellings first: listing a folder of thousands of recordings for each of
    // them would cost more than measuring.
    for (const char *extension : {"TextGrid", "textgrid", "TEXTGRID", "Textgrid"}) {
        const QString path = dir.filePath(base + QLatin1String(extension));
        if (QFileInfo(path).isFile())
            return path;
    }
    for (const QString &name : dir.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        if (name.compare(base + QStringLiteral("TextGrid"), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return {};
}

void MeasurementJob::measureFile(int index, FileOutcome &outcome,
                                 const std::function<void()> &tokenDone,
                                 const std::atomic<bool> *cancel) const
{
    const QString audioPath = m_settings.audioFiles[index];
    const auto skip = [&outcome](const QString &file, const QString &why) {
        outcome.messages << file + QStringLiteral(": ") + why;
        outcome.skipped = true;
    };

    const QString gridPath =
        m_settings.textGrid.isEmpty() ? textGridBeside(audioPath) : m_settings.textGrid;
    if (gridPath.isEmpty())
        return skip(audioPath, QStringLiteral("no TextGrid of the same name beside it"));
    const TextGridReadResult grid = ReadTextGridFile(gridPath);
    if (!grid.ok())
        return skip(gridPath, grid.line > 0
                                  ? QStringLiteral("line %1: %2").arg(grid.line).arg(grid.error)
                                  : grid.error);
    QString tierError;
    const TextGridTier *tier = chooseTier(grid.grid, m_settings.tier, tierError);
    if (!tier)
        return skip(gridPath, tierError);
    if (m_settings.tier.isEmpty())
        outcome.tierNote = tier->name;
    if (const QString fault = orderFault(*tier); !fault.isEmpty())
        return skip(gridPath, fault);

    const QRegularExpression pattern(m_settings.match);
    std::vector<const TextGridItem *> items;
    for (const TextGridItem &item : tier->items) {
        const QString label = item.text.trimmed();
        if (!label.isEmpty() && (m_settings.match.isEmpty() || pattern.match(label).hasMatch()))
            items.push_back(&item);
    }
    if (items.empty())
        return skip(gridPath,
                    m_settings.match.isEmpty()
                        ? QStringLiteral("tier \"%1\" has no labelled interval").arg(tier->name)
                        : QStringLiteral("no label in tier \"%1\" matches %2")
                              .arg(tier->name, m_settings.match));

    const AudioReadResult audio = ReadAudioFile(audioPath, m_settings.channel);
    if (!audio.ok())
        return skip(audioPath, audio.error);
    const double duration = audio.signal.duration();
    for (const TextGridItem *item : items) {
        if (item->end > duration + kEndTolerance || item->start < -kEndTolerance)
            return skip(gridPath,
                        QStringLiteral("line %1: interval \"%2\" (%3 to %4 s) lies beyond the "
                                       "recording %5, which lasts %6 s")
                            .arg(item->line)
                            .arg(item->text.trimmed())
                            .arg(item->start)
                            .arg(item->end)
                            .arg(QFileInfo(audioPath).fileName())
                            .arg(duration));
    }

    TokenMeasurer::Settings analysis;
    const double nyquist = 0.5 * audio.signal.sampleRate;
    const std::vector<double> wanted =
        m_settings.ceiling
            ? std::vector<double>{*m_settings.ceiling}
            : CeilingSteps(m_settings.ceilingLow, m_settings.ceilingHigh, m_settings.ceilingSteps);
    analysis.ceilings.clear();
    for (double ceiling : wanted) {
        const double usable = std::min(ceiling, nyquist);
        if (std::find(analysis.ceilings.begin(), analysis.ceilings.end(), usable) ==
            analysis.ceilings.end())
            analysis.ceilings.push_back(usable);
    }
    // Sampled too slowly for every ceiling asked for, the recording holds fewer formants
    // below its half rate: as many resonances as before would take a spare one for a
    // formant (F2 of /i/ read at 800 Hz at 8 kHz), so their number shrinks in proportion.
    if (wanted.front() > nyquist)
        analysis.frame.formants =
            std::max(3, int(std::lround(analysis.frame.formants * nyquist / wanted.front())));
    TokenMeasurer measurer(audio.signal, analysis);
    if (const QString error = measurer.error(); !error.isEmpty())
        return skip(audioPath, error);
    if (wanted.back() > nyquist)
        outcome.messages
            << audioPath +
                   QStringLiteral(": sampled at %1 Hz, so no ceiling above %2 Hz")
                       .arg(audio.signal.sampleRate)
                       .arg(nyquist) +
                   (wanted.front() > nyquist
                        ? QStringLiteral(", and %1 formants below it").arg(analysis.frame.formants)
                        : QString());

    const TextGridTier *speakerTier = nullptr;
    for (const TextGridTier &other : grid.grid.tiers) {
        if (&other == tier || !other.intervals)
            continue;
        if (isSpeakerTier(other)) {
            if (!speakerTier)
                speakerTier = &other;
            continue;
        }
        outcome.contextTiers << other.name;
    }

    for (const TextGridItem *item : items) {
        if (cancel && cancel->load())
            return;
        MeasuredToken token;
        token.file = audioPath;
        token.vowel = item->text.trimmed();
        token.start = item->start;
        token.end = item->end;
        const double middle = 0.5 * (item->start + item->end);
        token.speaker = m_settings.speaker;
        if (token.speaker.isEmpty() && speakerTier)
            token.speaker = speakerTier->labelAt(middle).trimmed();
        if (token.speaker.isEmpty())
            token.speaker = QFileInfo(audioPath).completeBaseName();
        for (const TextGridTier &other : grid.grid.tiers) {
            if (&other != tier && other.intervals && &other != speakerTier && !isSpeakerTier(other))
                token.context << other.labelAt(middle).trimmed();
        }
        const TokenMeasurer::Result measured =
            measurer.measure(item->start, item->end, m_settings.points);
        token.ceiling = measured.ceiling;
        token.frequencies = measured.frequencies;
        const auto fifty = std::find(m_settings.points.begin(), m_settings.points.end(), 50.0);
        token.bandwidths = measured.bandwidths[std::size_t(fifty - m_settings.points.begin())];
        outcome.tokens.push_back(std::move(token));
        tokenDone();
    }
    reportMissing(audioPath, audio.signal, outcome);
}

void MeasurementJob::reportMissing(const QString &audioPath, const AudioSignal &signal,
                                   FileOutcome &outcome) const
{
    for (const MeasuredToken &token : outcome.tokens) {
        for (const auto &point : token.frequencies) {
            for (double hz : point)
                outcome.missing += !std::isfinite(hz);
        }
    }
    if (outcome.missing == 0)
        return;
    QString text = audioPath + QStringLiteral(": %1 value(s) of F1-F3 not found; their cells are "
                                              "empty")
                                   .arg(outcome.missing);
    // Below about -80 dB full scale nothing but dither is left: a stereo recording with
    // the voice on its other channel, usually.
    constexpr float kSilence = 1e-4f;
    const bool silent = std::ranges::all_of(
        signal.samples, [](float sample) { return std::abs(sample) < kSilence; });
    if (silent && signal.channels > 1)
        text += QStringLiteral(": channel %1 of its %2 is silent; measure another (--channel N "
                               "in the batch tool)")
                    .arg(m_settings.channel + 1)
                    .arg(signal.channels);
    else if (silent)
        text += QStringLiteral(": the recording is silent");
    outcome.messages << text;
}

MeasurementResult MeasurementJob::run(const ProgressCallback &progress,
                                      const std::atomic<bool> *cancel) const
{
    const int files = int(m_settings.audioFiles.size());
    std::vector<FileOutcome> outcomes(std::size_t(files > 0 ? files : 0));
    std::mutex progressMutex;
    Progress state{0, files, 0};
    std::atomic<int> nextFile{0};

    const auto report = [&](bool fileDone, bool tokenDone) {
        const std::lock_guard lock(progressMutex);
        state.filesDone += fileDone;
        state.tokensDone += tokenDone;
        if (progress)
            progress(state);
    };
    const auto work = [&] {
        for (;;) {
            const int index = nextFile.fetch_add(1);
            if (index >= files || (cancel && cancel->load()))
                return;
            FileOutcome &outcome = outcomes[std::size_t(index)];
            // A failure on a worker thread (a recording too large for memory) skips that
            // file with a message; left to escape it would end the whole process.
            try {
                measureFile(
                    index, outcome, [&] { report(false, true); }, cancel);
            } catch (const std::bad_alloc &) {
                outcome.messages << m_settings.audioFiles[index] +
                                        QStringLiteral(": not enough memory to measure it");
                outcome.skipped = true;
                outcome.tokens.clear();
            } catch (const std::exception &error) {
                outcome.messages << m_settings.audioFiles[index] + QStringLiteral(": ") +
                                        QString::fromLocal8Bit(error.what());
                outcome.skipped = true;
                outcome.tokens.clear();
            }
            report(true, false);
        }
    };
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int threads =
        std::clamp(m_settings.threads > 0 ? m_settings.threads : cores, 1, std::max(1, files));
    std::vector<std::jthread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    workers.clear(); // joins

    MeasurementResult result;
    result.points = m_settings.points;
    if (cancel && cancel->load()) {
        result.cancelled = true;
        return result;
    }
    QString previousTier;
    int filesMissing = 0;
    for (FileOutcome &outcome : outcomes) {
        for (const QString &name : outcome.contextTiers) {
            if (!result.contextTiers.contains(name))
                result.contextTiers << name;
        }
    }
    for (std::size_t f = 0; f < outcomes.size(); ++f) {
        FileOutcome &outcome = outcomes[f];
        // Which tier was measured, said once and again whenever it changes.
        if (!outcome.tierNote.isEmpty() && outcome.tierNote != previousTier) {
            result.messages << QStringLiteral("%1: measuring tier \"%2\"")
                                   .arg(m_settings.audioFiles[int(f)], outcome.tierNote);
            previousTier = outcome.tierNote;
        }
        result.messages << outcome.messages;
        result.skippedFiles += outcome.skipped;
        filesMissing += outcome.missing > 0;
        for (MeasuredToken &token : outcome.tokens) {
            // Context labels move to the columns of the whole table.
            QStringList context;
            for (const QString &name : result.contextTiers) {
                const auto at = outcome.contextTiers.indexOf(name);
                context << (at >= 0 ? token.context.value(at) : QString());
            }
            token.context = context;
            for (const auto &point : token.frequencies) {
                for (double hz : point)
                    result.missingValues += !std::isfinite(hz);
            }
            result.tokens.push_back(std::move(token));
        }
    }
    // Each file has said how many of its values were not found; the sum for many.
    if (filesMissing > 1)
        result.messages << QStringLiteral("%1 value(s) of F1-F3 not found in %2 recordings")
                               .arg(result.missingValues)
                               .arg(filesMissing);
    return result;
}
