// tessavox-batch measure as a user runs it on the shipped example recordings: the table it
// writes, the chart drawn from that table, and what a skipped file or a wrong command line
// does to the exit status and the output.

#include "batchrun.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const QString kExamples = QStringLiteral(TESSAVOX_EXAMPLES "/recordings/");

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(MeasureCommand, ExampleToTableToChart)
{
    TestFiles files;
    const QString table = files.path("vowels.tsv");
    const BatchRun measured = runBatch({"measure", kExamples + "man.wav", kExamples + "child.wav",
                                        "--points", "20,50,80", "-o", table});
    ASSERT_EQ(measured.exitCode, 0) << measured.err.toStdString();
    EXPECT_TRUE(measured.err.contains("man.wav: measuring tier \"vowel\""))
        << measured.err.toStdString();
    const QStringList rows = lines(QString::fromUtf8(TestFiles::read(table)));
    ASSERT_EQ(rows.size(), 1 + 2 * 17);
    EXPECT_EQ(rows[0], "File\tSpeaker\tVowel\tStart\tEnd\tDuration\tword\tF1\tF2\tF3\tB1\tB2\tB3\t"
                       "Ceiling\tF1_20\tF2_20\tF3_20\tF1_80\tF2_80\tF3_80");
    const QStringList first = rows[1].split('\t');
    ASSERT_EQ(first.size(), 20);
    EXPECT_EQ(first[0], kExamples + "man.wav");
    EXPECT_EQ(first[1], "man");
    EXPECT_EQ(first[2], "i");
    EXPECT_EQ(first[3], "0.120000");
    EXPECT_EQ(first[6], "w1");
    EXPECT_NEAR(first[8].toDouble(), 2322, 100); // the synthesised F2 of the man's i
    EXPECT_EQ(rows[18].split('\t')[1], "child");

    const QString chart = files.path("vowels.png");
    const BatchRun charted = runBatch({"chart", table, "--plot", "f1f2", "-o", chart});
    EXPECT_EQ(charted.exitCode, 0) << charted.err.toStdString();
    EXPECT_GT(QFile(chart).size(), 1000);

    // Standard output without -o, CSV when the name says so.
    const BatchRun out =
        runBatch({"measure", kExamples + "man.wav", "--ceiling", "5000", "--match", "^(i|u)$"});
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_EQ(lines(out.out).size(), 3);
    EXPECT_TRUE(lines(out.out).last().endsWith("\t5000.0"));
    const QString csv = files.path("vowels.csv");
    EXPECT_EQ(runBatch({"measure", kExamples + "man.wav", "-o", csv}).exitCode, 0);
    EXPECT_TRUE(TestFiles::read(csv).startsWith("File,Speaker,Vowel,"));
}

// A table written into another folder than the shell's once named its recordings as typed,
// relative to the shell, so Play Token looked for them beside the table and found nothing.
TEST(MeasureCommand, RelativeRecordingsAreNamedFromTheTablesFolder)
{
    TestFiles files;
    QDir(files.path(QString())).mkpath(QStringLiteral("audio"));
    QDir(files.path(QString())).mkpath(QStringLiteral("tables"));
    for (const QString &name : {QStringLiteral("man.wav"), QStringLiteral("man.TextGrid")})
        ASSERT_TRUE(QFile::copy(kExamples + name, files.path("audio/" + name)));
    const QString table = files.path("tables/m.tsv");
    ASSERT_EQ(
        runBatch({"measure", "audio/man.wav", "-o", table}, 120000, files.path(QString())).exitCode,
        0);
    const QStringList rows = lines(QString::fromUtf8(TestFiles::read(table)));
    ASSERT_GT(rows.size(), 1);
    const QString named = rows[1].section('\t', 0, 0);
    EXPECT_EQ(named, "../audio/man.wav");
    EXPECT_TRUE(QFileInfo::exists(files.path("tables/" + named)));

    // Beside the recordings, and on standard output, the name stays as typed.
    ASSERT_EQ(
        runBatch({"measure", "man.wav", "-o", "here.tsv"}, 120000, files.path("audio")).exitCode,
        0);
    EXPECT_TRUE(TestFiles::read(files.path("audio/here.tsv")).contains("\nman.wav\t"));
    const BatchRun out = runBatch({"measure", "audio/man.wav"}, 120000, files.path(QString()));
    EXPECT_EQ(lines(out.out).value(1).section('\t', 0, 0), "audio/man.wav");
}

TEST(MeasureCommand, SkippedFileIsNamedTheRestWrittenAndTheExitIsOne)
{
    TestFiles files;
    const QString missing = files.path("missing.wav");
    const QString table = files.path("out.tsv");
    const BatchRun result =
        runBatch({"measure", missing, kExamples + "man.wav", "--tier", "vowel", "-o", table});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(missing + ": no TextGrid")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("1 of 2 file(s) skipped"));
    EXPECT_EQ(lines(QString::fromUtf8(TestFiles::read(table))).size(), 1 + 17);
}

TEST(MeasureCommand, WrongCommandLinesAndUnwritableOutputLeaveNoFile)
{
    TestFiles files;
    const QString out = files.path("out.tsv");
    const QString wav = kExamples + "man.wav";
    for (const QStringList &args :
         {QStringList{"measure"}, QStringList{"measure", wav, "--ceiling", "300", "-o", out},
          QStringList{"measure", wav, "--ceiling-range", "7000:4500", "-o", out},
          QStringList{"measure", wav, "--points", "20,150", "-o", out},
          QStringList{"measure", wav, "--channel", "0", "-o", out},
          QStringList{"measure", wav, "--match", "(", "-o", out},
          QStringList{"measure", wav, wav, "--textgrid", kExamples + "man.TextGrid", "-o", out},
          QStringList{"measure", wav, "--frobnicate", "1", "-o", out}}) {
        const BatchRun result = runBatch(args);
        EXPECT_EQ(result.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("usage: tessavox-batch measure"));
    }
    EXPECT_FALSE(QFile::exists(out));
    const BatchRun unwritable = runBatch({"measure", wav, "-o", files.path("no/such/dir.tsv")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("cannot write"));
}

} // namespace
