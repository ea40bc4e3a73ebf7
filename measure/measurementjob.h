#pragma once

#include "measure/measurementsettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <vector>

struct AudioSignal;

// One measured interval: where it is, its labels and its formants.
struct MeasuredToken
{
    QString file; // the recording as given
    QString speaker;
    QString vowel; // the trimmed label
    double start = 0;
    double end = 0;
    QStringList context; // one label per MeasurementResult::contextTiers
    double ceiling = 0;
    // Per point of the settings, F1-F3; NaN where not found.
    std::vector<std::array<double, 3>> frequencies;
    std::array<double, 3> bandwidths{}; // B1-B3 at 50%
};

struct MeasurementResult
{
    std::vector<double> points; // the percentages measured, ascending, 50 among them
    QStringList contextTiers;   // the other interval tiers, in order of first appearance
    std::vector<MeasuredToken> tokens;
    // For the user, in file order: each failure names its file (and line); notes say which
    // tier was measured and how many values were not found.
    QStringList messages;
    int skippedFiles = 0;
    int missingValues = 0; // F1-F3 cells left empty
    bool cancelled = false;

    // Whether every file asked for was measured.
    bool complete() const { return skippedFiles == 0 && !cancelled; }
};

// Measures the labelled intervals of a list of recordings (MeasurementSettings says how)
// into a token table. Files are independent and run in parallel, one per core; within a
// file the tokens go in the tier's order, and the result lists files in the order given,
// whatever order they finished in. A file that cannot be measured is named in the messages
// and skipped; the others go on. Never shows anything.
class MeasurementJob
{
public:
    struct Progress
    {
        int filesDone = 0;
        int files = 0;
        int tokensDone = 0; // over all files so far
    };
    // Called from the worker threads, one call at a time, after each token and each file.
    using ProgressCallback = std::function<void(const Progress &)>;

    explicit MeasurementJob(MeasurementSettings settings);

    // Runs to the end, or until `cancel` becomes true (then the result says cancelled and
    // holds no tokens).
    MeasurementResult run(const ProgressCallback &progress = {},
                          const std::atomic<bool> *cancel = nullptr) const;

    // The TextGrid that belongs to `audioPath`: same folder and base name, the extension
    // .TextGrid in any case; empty when there is none.
    static QString textGridBeside(const QString &audioPath);

private:
    struct FileOutcome;
    void measureFile(int index, FileOutcome &outcome, const std::function<void()> &tokenDone,
                     const std::atomic<bool> *cancel) const;
    // Names the file whose values were not found, and a silent channel as the likely cause.
    void reportMissing(const QString &audioPath, const AudioSignal &signal,
                       FileOutcome &outcome) const;

    MeasurementSettings m_settings;
};
