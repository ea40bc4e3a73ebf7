// Accuracy of tessavox-batch measure's analysis on synthetic vowels of known formants:
// men, women, children and a breathy voice, monophthongs and glides, at 16 and 44.1 kHz.
// Prints a Markdown table of median absolute errors at the 50% point for the automatic
// ceiling, the same analysis at the usual fixed ceiling (5,000 Hz for men, 5,500 Hz for the
// others), and Praat's Burg analysis at that fixed ceiling when praat is on PATH.
// Usage: measureaccuracy [REPETITIONS]   (default 3 recordings per voice and rate)

#include "measure/measurementjob.h"
#include "vowelsynth.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct Recording
{
    QString path;
    std::string voice;
    double rate;
    double fixedCeiling;
    SynthRecording synth;
};

// Per token, F1-F3 at 50% as measured; NaN when not found.
using Values = std::vector<std::array<double, 3>>;

double median(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

Values measureOurs(const std::vector<Recording> &recordings, bool automatic)
{
    Values values;
    for (const Recording &recording : recordings) {
        MeasurementSettings settings;
        settings.audioFiles << recording.path;
        if (!automatic)
            settings.ceiling = recording.fixedCeiling;
        const MeasurementResult result = MeasurementJob(settings).run();
        for (const MeasuredToken &token : result.tokens)
            values.push_back(token.frequencies[0]);
    }
    return values;
}

Values measurePraat(const std::vector<Recording> &recordings, const QString &dir)
{
    const QString praat = QStandardPaths::findExecutable(QStringLiteral("praat"));
    if (praat.isEmpty())
        return {};
    QFile list(dir + "/list.txt");
    if (!list.open(QIODevice::WriteOnly))
        return {};
    for (const Recording &recording : recordings)
        list.write(
            QStringLiteral("%1 %2\n").arg(recording.path).arg(recording.fixedCeiling).toUtf8());
    list.close();
    const QString out = dir + "/praat.tsv";
    QProcess process;
    process.start(praat, {"--run", QStringLiteral(TESSAVOX_BENCH_DIR "/measure_peer.praat"),
                          list.fileName(), out, "50"});
    process.waitForFinished(-1);
    QFile result(out);
    if (process.exitCode() != 0 || !result.open(QIODevice::ReadOnly))
        return {};
    Values values;
    for (const QByteArray &line : result.readAll().split('\n')) {
        const QList<QByteArray> cells = line.split('\t');
        if (cells.size() < 5)
            continue;
        std::array<double, 3> v;
        for (int f = 0; f < 3; ++f) {
            bool ok = false;
            v[std::size_t(f)] = cells[2 + f].toDouble(&ok);
            if (!ok)
                v[std::size_t(f)] = NAN;
        }
        values.push_back(v);
    }
    return values;
}

struct Errors
{
    std::array<std::vector<double>, 3> absolute; // per formant, in Hz
    int childF3Within10 = 0;
    int childTokens = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    QTextStream out(stdout);

    std::vector<Recording> recordings;
    std::uint32_t seed = 1;
    for (const SynthVoice &base : StandardVoices()) {
        for (double rate : {16000.0, 44100.0}) {
            for (int rep = 0; rep < repetitions; ++rep) {
                // Each repetition shifts the voice's pitch and the vowels' formants a little.
                SynthVoice voice = base;
                const double pitch = 1 + 0.08 * (rep - 1);
                voice.f0Start *= pitch;
                voice.f0End *= pitch;
                std::vector<SynthVowel> vowels = StandardVowels(voice, true);
                const double shift = 1 + 0.03 * ((rep + 1) % 3 - 1);
                for (SynthVowel &v : vowels) {
                    for (std::size_t f = 0; f < 3; ++f) {
                        v.start[f] *= shift;
                        v.end[f] *= shift;
                    }
                }
                Recording recording;
                recording.voice = base.name;
                recording.rate = rate;
                recording.fixedCeiling = base.name == "male" ? 5000 : 5500;
                recording.synth = SynthesizeRecording(voice, vowels, rate, seed++);
                recording.path = dir.filePath(QStringLiteral("%1-%2-%3.wav")
                                                  .arg(QString::fromStdString(base.name))
                                                  .arg(rate)
                                                  .arg(rep));
                WriteWav(recording.path.toStdString(), recording.synth.samples, rate);
                QString grid = recording.path;
                grid.replace(".wav", ".TextGrid");
                WriteText(grid.toStdString(), TextGridText(recording.synth));
                recordings.push_back(std::move(recording));
            }
        }
    }

    const std::vector<std::pair<QString, Values>> methods = {
        {"Tessavox, automatic ceiling", measureOurs(recordings, true)},
        {"Tessavox, fixed ceiling", measureOurs(recordings, false)},
        {"Praat Burg, fixed ceiling", measurePraat(recordings, dir.path())},
    };

    // errors[method][voice]
    std::vector<std::map<std::string, Errors>> errors(methods.size());
    for (std::size_t m = 0; m < methods.size(); ++m) {
        const Values &values = methods[m].second;
        std::size_t at = 0;
        for (const Recording &recording : recordings) {
            for (const SynthRecording::Token &token : recording.synth.tokens) {
                if (at >= values.size())
                    break;
                const std::array<double, 3> &v = values[at++];
                for (const std::string &voice : {recording.voice, std::string("all")}) {
                    Errors &e = errors[m][voice];
                    for (int f = 0; f < 3; ++f) {
                        const double truth = token.vowel.truth(f, 50);
                        const double value = v[std::size_t(f)];
                        // A formant not found counts as the largest possible error.
                        e.absolute[std::size_t(f)].push_back(
                            std::isfinite(value) ? std::abs(value - truth) : 1e9);
                    }
                    if (recording.voice == "child") {
                        const double truth = token.vowel.truth(2, 50);
                        ++e.childTokens;
                        e.childF3Within10 +=
                            std::isfinite(v[2]) && std::abs(v[2] - truth) <= 0.1 * truth;
                    }
                }
            }
        }
    }

    out << "Median absolute error at the 50% point, Hz (F1 / F2 / F3); "
        << recordings.size() * recordings.front().synth.tokens.size() << " tokens, " << repetitions
        << " recording(s) per voice and rate.\n\n| voice |";
    for (const auto &method : methods)
        out << ' ' << method.first << " |";
    out << "\n| --- |";
    for (std::size_t m = 0; m < methods.size(); ++m)
        out << " --- |";
    out << '\n';
    for (const char *voice : {"male", "female", "child", "breathy", "all"}) {
        out << "| " << voice << " |";
        for (std::size_t m = 0; m < methods.size(); ++m) {
            if (methods[m].second.empty()) {
                out << " (not run) |";
                continue;
            }
            const Errors &e = errors[m][voice];
            out << ' ';
            for (int f = 0; f < 3; ++f)
                out << QString::number(median(e.absolute[std::size_t(f)]), 'f', 0)
                    << (f < 2 ? " / " : "");
            out << " |";
        }
        out << '\n';
    }
    out << "| child F3 within 10% |";
    for (std::size_t m = 0; m < methods.size(); ++m) {
        const Errors &e = errors[m]["child"];
        if (methods[m].second.empty() || e.childTokens == 0)
            out << " |";
        else
            out << ' ' << QString::number(100.0 * e.childF3Within10 / e.childTokens, 'f', 0)
                << "% |";
    }
    out << '\n';
    return 0;
}
