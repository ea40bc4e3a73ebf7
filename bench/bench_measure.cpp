// tessavox-batch measure as a whole process, start-up included, on about a minute of
// synthetic speech: 140 vowels (35 each from a man, a woman, a child and a breathy voice, at
// 44.1 kHz in four recordings with their TextGrids) measured at 20, 50 and 80%; beside
// Praat's usual analysis doing the same job (Burg LPC at one fixed ceiling per recording,
// measure_peer.praat), skipped where praat is missing. The time is the children's, so only
// the clock on the wall counts.
// - automatic ceiling (the default; ten analyses per token)
// - fixed ceiling, 5,000 Hz for the man and 5,500 Hz for the others, as Praat is given

#include "childprocess.h"
#include "vowelsynth.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

namespace {

struct Corpus
{
    std::vector<QByteArray> recordings;
    std::vector<double> ceilings; // the fixed ceiling of each recording
    QByteArray praatList;         // "path ceiling" lines for measure_peer.praat
    QString dir;
};

// Made once into the build tree, then reused.
const Corpus &corpus()
{
    static const Corpus made = [] {
        Corpus c;
        c.dir = QStringLiteral(TESSAVOX_CORPUS_DIR "/measure");
        QDir().mkpath(c.dir);
        std::uint32_t seed = 40;
        for (const SynthVoice &voice : StandardVoices()) {
            const std::vector<SynthVowel> kinds = StandardVowels(voice, true);
            std::vector<SynthVowel> vowels;
            for (std::size_t i = 0; vowels.size() < 35; ++i)
                vowels.push_back(kinds[i % kinds.size()]);
            const QString wav =
                c.dir + QStringLiteral("/%1.wav").arg(QString::fromStdString(voice.name));
            const QString grid =
                c.dir + QStringLiteral("/%1.TextGrid").arg(QString::fromStdString(voice.name));
            if (!QFileInfo::exists(wav) || !QFileInfo::exists(grid)) {
                const SynthRecording recording =
                    SynthesizeRecording(voice, vowels, 44100, seed, 0.2);
                if (!WriteWav(wav.toStdString(), recording.samples, recording.rate) ||
                    !WriteText(grid.toStdString(), TextGridText(recording)))
                    return Corpus{};
            }
            ++seed;
            const double ceiling = voice.name == "male" ? 5000 : 5500;
            c.recordings.push_back(QFile::encodeName(wav));
            c.ceilings.push_back(ceiling);
            c.praatList += QFile::encodeName(wav) + ' ' + QByteArray::number(ceiling) + '\n';
        }
        QFile list(c.dir + QStringLiteral("/praat-list.txt"));
        if (!list.open(QIODevice::WriteOnly) || list.write(c.praatList) != c.praatList.size())
            return Corpus{};
        return c;
    }();
    return made;
}

bool corpusReady(benchmark::State &state)
{
    if (!corpus().recordings.empty())
        return true;
    state.SkipWithError("the recordings could not be written");
    return false;
}

void BM_MeasureAutomatic(benchmark::State &state)
{
    if (!corpusReady(state))
        return;
    std::vector<QByteArray> argv{TESSAVOX_BATCH, "measure"};
    argv.insert(argv.end(), corpus().recordings.begin(), corpus().recordings.end());
    argv.insert(argv.end(), {"--points", "20,50,80", "-o",
                             QFile::encodeName(corpus().dir + QStringLiteral("/auto.tsv"))});
    if (RunChildEachIteration(state, argv, "tessavox-batch measure failed"))
        state.SetItemsProcessed(state.iterations() * 140);
}

// Each recording at its own fixed ceiling, one process per ceiling as a script would run it.
void BM_MeasureFixed(benchmark::State &state)
{
    if (!corpusReady(state))
        return;
    const Corpus &c = corpus();
    for (auto _ : state) {
        for (double ceiling : {5000.0, 5500.0}) {
            std::vector<QByteArray> argv{TESSAVOX_BATCH, "measure"};
            for (std::size_t i = 0; i < c.recordings.size(); ++i) {
                if (c.ceilings[i] == ceiling)
                    argv.push_back(c.recordings[i]);
            }
            argv.insert(argv.end(),
                        {"--ceiling", QByteArray::number(ceiling), "--points", "20,50,80", "-o",
                         QFile::encodeName(c.dir + QStringLiteral("/fixed.tsv"))});
            if (!RunChild(argv)) {
                state.SkipWithError("tessavox-batch measure --ceiling failed");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 140);
}

void BM_MeasurePeerPraat(benchmark::State &state)
{
    if (QStandardPaths::findExecutable(QStringLiteral("praat")).isEmpty()) {
        state.SkipWithError("praat is not installed (Debian: praat)");
        return;
    }
    if (!corpusReady(state))
        return;
    const Corpus &c = corpus();
    if (RunChildEachIteration(state,
                              {"praat", "--run", TESSAVOX_BENCH_DIR "/measure_peer.praat",
                               QFile::encodeName(c.dir + QStringLiteral("/praat-list.txt")),
                               QFile::encodeName(c.dir + QStringLiteral("/praat.tsv")), "20 50 80"},
                              "praat measure_peer.praat failed"))
        state.SetItemsProcessed(state.iterations() * 140);
}

} // namespace

BENCHMARK(BM_MeasureAutomatic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeasureFixed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeasurePeerPraat)->Unit(benchmark::kMillisecond)->UseRealTime();
