// A measurement run over recordings written for the test: the table it makes, and the
// damaged inputs it must name and skip while measuring the rest.

#include "measure/measurementjob.h"
#include "measure/measurementtable.h"
#include "measure/resampler.h"

#include "document/tabularreader.h"
#include "vowelsynth.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TierSpec
{
    const char *name;
    bool intervals;
    std::vector<std::tuple<double, double, QString>> items; // a point has end == start
};

// A short-format TextGrid holding exactly the given tiers, items in the order given.
QByteArray shortTextGrid(double end, const std::vector<TierSpec> &tiers)
{
    QString text =
        QStringLiteral("File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n%1\n"
                       "<exists>\n%2\n")
            .arg(end)
            .arg(tiers.size());
    const auto quoted = [](QString s) { return '"' + s.replace('"', "\"\"") + '"'; };
    for (const TierSpec &tier : tiers) {
        text += QStringLiteral("\"%1\"\n\"%2\"\n0\n%3\n%4\n")
                    .arg(tier.intervals ? "IntervalTier" : "TextTier", tier.name)
                    .arg(end)
                    .arg(tier.items.size());
        for (const auto &[start, stop, label] : tier.items) {
            text += QString::number(start, 'g', 12) + '\n';
            if (tier.intervals)
                text += QString::number(stop, 'g', 12) + '\n';
            text += quoted(label) + '\n';
        }
    }
    return text.toUtf8();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class MeasurementJobTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // A recording of `voice` with its TextGrid beside it; returns the audio's path.
    QString record(const QString &name, const char *voice, double rate, std::size_t vowels = 4)
    {
        const SynthVoice v = VoiceNamed(voice);
        std::vector<SynthVowel> list = StandardVowels(v, true);
        list.resize(std::min(vowels, list.size()));
        m_recordings[name] = SynthesizeRecording(v, list, rate, 11);
        const QString path = m_dir.filePath(name + ".wav");
        EXPECT_TRUE(WriteWav(path.toStdString(), m_recordings[name].samples, rate));
        EXPECT_TRUE(WriteText(m_dir.filePath(name + ".TextGrid").toStdString(),
                              TextGridText(m_recordings[name])));
        return path;
    }

    MeasurementResult run(MeasurementSettings settings)
    {
        settings.threads = 2;
        return MeasurementJob(settings).run();
    }

    QTemporaryDir m_dir;
    std::map<QString, SynthRecording> m_recordings;
};

TEST_F(MeasurementJobTest, TableOfTwoRecordingsReadsBackAsTokens)
{
    // Files keep the order given whichever finishes first; the word tier becomes a column;
    // the trajectory points get their own columns; the 50% values are the truth's.
    MeasurementSettings settings;
    settings.audioFiles << record("man", "male", 44100) << record("woman", "female", 16000);
    settings.points = {80, 20};
    const MeasurementResult result = run(settings);
    ASSERT_TRUE(result.complete()) << result.messages.join('\n').toStdString();
    ASSERT_EQ(result.tokens.size(), 8u);
    EXPECT_EQ(result.points, (std::vector<double>{20, 50, 80}));
    EXPECT_EQ(result.contextTiers, QStringList{"word"});
    EXPECT_EQ(result.tokens[0].file, settings.audioFiles[0]);
    EXPECT_EQ(result.tokens[4].file, settings.audioFiles[1]);
    EXPECT_EQ(result.tokens[4].speaker, QStringLiteral("woman"));

    const TabularReadResult table = ParseTabularText(FormatMeasurementTable(result));
    ASSERT_TRUE(table.ok()) << table.message.toStdString();
    const QStringList header = MeasurementTableHeader(result);
    EXPECT_EQ(header.join(' '), QStringLiteral("File Speaker Vowel Start End Duration word F1 F2 "
                                               "F3 B1 B2 B3 Ceiling F1_20 F2_20 F3_20 F1_80 F2_80 "
                                               "F3_80"));
    EXPECT_EQ(table.table.rowCount(), 8);
    EXPECT_EQ(table.table.vowel(1), "I");
    EXPECT_EQ(table.table.speaker(0), "man");
    EXPECT_EQ(table.table.cell(2, 6), "w3");
    for (int row = 0; row < 8; ++row) {
        const SynthRecording &recording = m_recordings[row < 4 ? "man" : "woman"];
        const SynthRecording::Token &truth = recording.tokens[std::size_t(row % 4)];
        EXPECT_NEAR(table.table.number(row, 3), truth.start, 1e-6);
        for (int f = 0; f < 3; ++f)
            EXPECT_NEAR(table.table.formant(row, f + 1), truth.vowel.truth(f, 50),
                        0.1 * truth.vowel.truth(f, 50))
                << "row " << row << " F" << f + 1;
    }
}

TEST_F(MeasurementJobTest, DamagedInputsAreNamedAndSkippedWhileTheRestIsMeasured)
{
    const QString good = record("good", "male", 16000);
    // Cut off mid-way: the intervals past the cut lie beyond what remains.
    const QString truncated = record("truncated", "male", 16000);
    QFile cut(truncated);
    ASSERT_TRUE(cut.resize(cut.size() * 6 / 10));
    // A header and no samples.
    const QString empty = m_dir.filePath("empty.wav");
    ASSERT_TRUE(WriteWav(empty.toStdString(), {}, 16000));
    writeFile(m_dir.filePath("empty.TextGrid"), shortTextGrid(1, {{"vowel", true, {{0, 1, "a"}}}}));
    // Intervals overlapping, and listed out of order.
    const QString overlap = record("overlap", "male", 16000);
    writeFile(m_dir.filePath("overlap.textgrid"), // any case of the extension
              shortTextGrid(1, {{"vowel", true, {{0, 0.5, "a"}, {0.4, 1, "i"}}}}));
    QFile::remove(m_dir.filePath("overlap.TextGrid"));
    const QString unsorted = record("unsorted", "male", 16000);
    writeFile(m_dir.filePath("unsorted.TextGrid"),
              shortTextGrid(1, {{"vowel", true, {{0.5, 1, "a"}, {0, 0.5, "i"}}}}));
    // No TextGrid at all; audio that is not audio.
    const QString lonely = m_dir.filePath("lonely.wav");
    ASSERT_TRUE(WriteWav(lonely.toStdString(), std::vector<float>(1600, 0.1f), 16000));
    const QString notAudio = m_dir.filePath("text.wav");
    writeFile(notAudio, "RIFF but not really");
    writeFile(m_dir.filePath("text.TextGrid"), shortTextGrid(1, {{"vowel", true, {{0, 1, "a"}}}}));

    MeasurementSettings settings;
    settings.audioFiles << truncated << empty << overlap << good << unsorted << lonely << notAudio;
    const MeasurementResult result = run(settings);
    EXPECT_EQ(result.skippedFiles, 6);
    EXPECT_FALSE(result.complete());
    ASSERT_EQ(result.tokens.size(), 4u);
    EXPECT_EQ(result.tokens[0].file, good);
    const QString messages = result.messages.join('\n');
    const auto said = [&messages](const QString &file, const char *words) {
        for (const QString &line : messages.split('\n')) {
            if (line.startsWith(file) && line.contains(QLatin1String(words)))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(said(m_dir.filePath("truncated.TextGrid"), "beyond the recording"))
        << messages.toStdString();
    EXPECT_TRUE(said(empty, "no samples")) << messages.toStdString();
    EXPECT_TRUE(said(m_dir.filePath("overlap.textgrid"), "line 16: in tier \"vowel\""))
        << messages.toStdString();
    EXPECT_TRUE(said(m_dir.filePath("unsorted.TextGrid"), "out of order"))
        << messages.toStdString();
    EXPECT_TRUE(said(lonely, "no TextGrid")) << messages.toStdString();
    EXPECT_TRUE(said(notAudio, "cannot be read as audio")) << messages.toStdString();
}

TEST_F(MeasurementJobTest, TierChoiceAndItsFaults)
{
    const QString audio = record("rec", "female", 16000, 2);
    const SynthRecording &recording = m_recordings["rec"];
    const auto token = [&recording](std::size_t i, const QString &label) {
        return std::tuple{recording.tokens[i].start, recording.tokens[i].end, label};
    };
    // The speaker tier names the speaker and is no context column; the token tier is found
    // by name whatever its place; the points tier is neither.
    writeFile(m_dir.filePath("rec.TextGrid"),
              shortTextGrid(recording.duration(),
                            {{"bells", false, {{0.3, 0.3, "ding"}}},
                             {"Speaker", true, {{0, recording.duration(), "S7"}}},
                             {"Phones", true, {token(0, " say \"hi\" "), token(1, "é")}},
                             {"word", true, {token(0, "w"), token(1, "")}}}));
    MeasurementSettings settings;
    settings.audioFiles << audio;
    MeasurementResult result = run(settings);
    ASSERT_TRUE(result.complete()) << result.messages.join('\n').toStdString();
    EXPECT_TRUE(result.messages.first().endsWith("measuring tier \"Phones\""));
    EXPECT_EQ(result.contextTiers, QStringList{"word"});
    ASSERT_EQ(result.tokens.size(), 2u);
    EXPECT_EQ(result.tokens[0].speaker, QStringLiteral("S7"));
    // Labels with quotes and beyond ASCII come back from the table as they were, trimmed.
    const TabularReadResult table = ParseTabularText(FormatMeasurementTable(result, ','));
    ASSERT_TRUE(table.ok());
    EXPECT_EQ(table.table.vowel(0), "say \"hi\"");
    EXPECT_EQ(table.table.vowel(1), "é");

    settings.speaker = QStringLiteral("given");
    settings.match = QStringLiteral("^é$");
    result = run(settings);
    ASSERT_EQ(result.tokens.size(), 1u);
    EXPECT_EQ(result.tokens[0].speaker, QStringLiteral("given"));

    settings.match = QStringLiteral("^x$");
    result = run(settings);
    EXPECT_EQ(result.skippedFiles, 1);
    EXPECT_TRUE(result.messages.join(' ').contains("no label in tier \"Phones\" matches ^x$"));

    settings.match.clear();
    settings.tier = QStringLiteral("bells");
    result = run(settings);
    EXPECT_EQ(result.skippedFiles, 1);
    EXPECT_TRUE(result.messages.join(' ').contains("line 8: tier \"bells\" holds points"))
        << result.messages.join(' ').toStdString();

    settings.tier = QStringLiteral("nothing");
    result = run(settings);
    EXPECT_EQ(result.skippedFiles, 1);
    EXPECT_TRUE(result.messages.join(' ').contains("no tier \"nothing\""));
}

TEST_F(MeasurementJobTest, ChannelsAndLowSamplingRates)
{
    // Speech on the second channel only; the first is silent.
    record("stereo", "male", 16000, 2);
    const SynthRecording &speech = m_recordings["stereo"];
    std::vector<float> interleaved;
    for (float sample : speech.samples)
        interleaved.insert(interleaved.end(), {0.0f, sample});
    const QString stereo = m_dir.filePath("stereo.wav");
    ASSERT_TRUE(WriteWav(stereo.toStdString(), interleaved, 16000, 2));
    MeasurementSettings settings;
    settings.audioFiles << stereo;
    settings.channel = 1;
    MeasurementResult result = run(settings);
    ASSERT_TRUE(result.complete()) << result.messages.join('\n').toStdString();
    EXPECT_NEAR(result.tokens[0].frequencies[0][1], speech.tokens[0].vowel.truth(1, 50), 150);
    settings.channel = 0;
    result = run(settings);
    EXPECT_EQ(result.missingValues, 6); // silence has no formants: empty cells, never 0
    // The file is named, and its silent channel with the way to another.
    EXPECT_TRUE(result.messages.contains(
        stereo + ": 6 value(s) of F1-F3 not found; their cells are empty: channel 1 of its 2 is "
                 "silent; measure another (--channel N in the batch tool)"))
        << result.messages.join('\n').toStdString();
    settings.channel = 2;
    result = run(settings);
    EXPECT_EQ(result.skippedFiles, 1);
    EXPECT_TRUE(result.messages.join(' ').contains("has 2 channel(s); there is no channel 3"));

    // At 8 kHz no ceiling can pass 4 kHz: the analysis says so and uses 4 kHz.
    settings = {};
    // Recorded wide-band and brought down to 8 kHz, as a telephone line or a downsampled
    // archive does: nothing but the filter's edge above 3.9 kHz.
    const QString telephone = record("telephone", "male", 16000);
    ASSERT_TRUE(WriteWav(telephone.toStdString(),
                         Resampler(16000, 8000).process(m_recordings["telephone"].samples), 8000));
    settings.audioFiles << telephone;
    result = run(settings);
    ASSERT_EQ(result.tokens.size(), 4u);
    EXPECT_EQ(result.tokens[0].ceiling, 4000);
    EXPECT_TRUE(
        result.messages.join(' ').contains("sampled at 8000 Hz, so no ceiling above 4000 Hz, "
                                           "and 4 formants below it"));
    // Fewer formants fit below 4 kHz: no spare resonance is taken for F2.
    for (std::size_t t = 0; t < 4; ++t) {
        const SynthVowel &vowel = m_recordings["telephone"].tokens[t].vowel;
        for (int f = 0; f < 3; ++f)
            EXPECT_NEAR(result.tokens[t].frequencies[0][std::size_t(f)], vowel.truth(f, 50),
                        0.1 * vowel.truth(f, 50))
                << vowel.label << " F" << f + 1;
    }
}

TEST_F(MeasurementJobTest, ShortIntervalIsMeasuredFromTheSignalAroundIt)
{
    // 8 ms, less than one window: the frames around its middle stand for it.
    const QString audio = record("rec", "male", 16000, 1);
    const SynthRecording::Token &token = m_recordings["rec"].tokens[0];
    const double middle = 0.5 * (token.start + token.end);
    writeFile(m_dir.filePath("rec.TextGrid"),
              shortTextGrid(m_recordings["rec"].duration(),
                            {{"vowel", true, {{middle - 0.004, middle + 0.004, "i"}}}}));
    MeasurementSettings settings;
    settings.audioFiles << audio;
    settings.ceiling = 5000;
    const MeasurementResult result = run(settings);
    ASSERT_EQ(result.tokens.size(), 1u);
    EXPECT_EQ(result.tokens[0].ceiling, 5000);
    EXPECT_NEAR(result.tokens[0].frequencies[0][1], token.vowel.truth(1, 50), 100);
}

TEST_F(MeasurementJobTest, CancelLeavesNoTokens)
{
    MeasurementSettings settings;
    settings.audioFiles << record("a", "male", 16000) << record("b", "male", 16000);
    settings.threads = 1;
    std::atomic<bool> cancel{false};
    int calls = 0;
    const MeasurementResult result = MeasurementJob(settings).run(
        [&](const MeasurementJob::Progress &progress) {
            ++calls;
            EXPECT_EQ(progress.files, 2);
            if (progress.tokensDone == 2)
                cancel = true;
        },
        &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.tokens.empty());
    EXPECT_FALSE(result.complete());
    EXPECT_LE(calls, 4); // stopped at the next token, never reaching the second file
}

} // namespace
