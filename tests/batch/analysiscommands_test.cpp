// normalize, stats and area as a user runs them: the exact columns and rows, standard
// output or a file, messages on standard error and the exit status.

#include "batchrun.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace {

// Speaker A: u then i then a, i with a quoted note holding the separator. Speaker B: one
// vowel only, all at the same F1. In hertz the figures are easy to check by hand.
const QByteArray kTable = "speaker,vowel,F1,F2,note\nA,u,330,900,x\nA,i,300,2300,\"a, b\"\n"
                          "A,i,320,2200,\nA,i,310,2400,\nA,a,700,1300,\nB,i,400,2500,\n"
                          "B,i,400,2600,\nB,i,400,NA,\n";

class AnalysisCommands : public ::testing::Test
{
protected:
    TestFiles files;
    QString table = files.write("tokens.csv", kTable);
};

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST_F(AnalysisCommands, StatsRowsInOrderOfFirstAppearance)
{
    const BatchRun result = runBatch({"stats", table, "--scale", "hz", "--ellipse", "sd1"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList rows = lines(result.out);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], "group\tn\tmean_x\tmean_y\tsd_x\tsd_y\tcov_xy\tsemi_major\tsemi_minor\t"
                       "angle_deg\tarea\tinside");
    EXPECT_EQ(rows[1], "u\t1\t900\t330\t\t\t\t\t\t\t\t");
    // i: A's three and B's two with F2; x = 2300, 2200, 2400, 2500, 2600.
    const QStringList i = rows[2].split('\t');
    ASSERT_EQ(i.size(), 12);
    EXPECT_EQ(i.mid(0, 4), (QStringList{"i", "5", "2400", "346"}));
    EXPECT_DOUBLE_EQ(i[4].toDouble(), std::sqrt(25000.0));
    EXPECT_FALSE(i[11].isEmpty());
    EXPECT_TRUE(rows[3].startsWith("a\t1\t1300\t700\t"));
    // The NA is skipped and said so; the small groups are named.
    EXPECT_TRUE(result.err.contains("1 token(s) skipped")) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("group \"u\""));
    EXPECT_FALSE(result.out.contains("nan", Qt::CaseInsensitive));
}

TEST_F(AnalysisCommands, StatsGroupsByJoinedColumnsAndNormalises)
{
    const BatchRun result =
        runBatch({"stats", table, "--group", "speaker,vowel", "--normalize", "lobanov"});
    EXPECT_EQ(result.exitCode, 0);
    QStringList groups;
    for (const QString &row : lines(result.out).mid(1))
        groups << row.section('\t', 0, 0);
    EXPECT_EQ(groups, (QStringList{"A/u", "A/i", "A/a", "B/i"}));
    // B's F1 never varies: named, and its tokens are left out rather than printed as NaN.
    EXPECT_TRUE(result.err.contains("speaker \"B\" not normalised")) << result.err.toStdString();
    EXPECT_TRUE(lines(result.out).last().startsWith("B/i\t0\t"));
    EXPECT_FALSE(result.out.contains("nan", Qt::CaseInsensitive));
}

// A label holding a tab or a line break split its row: quoted now as the table writer
// quotes cells, its quotes doubled.
TEST_F(AnalysisCommands, LabelsWithTabsLineBreaksAndQuotesAreQuoted)
{
    QByteArray csv = "speaker,vowel,F1,F2\n";
    for (const char *label : {"tab\there", "two\nlines", "say \"\"i\"\""})
        for (int k = 0; k < 3; ++k)
            csv += QStringLiteral("\"%1\",\"%1\",%2,%3\n")
                       .arg(QString::fromUtf8(label))
                       .arg(300 + 10 * k)
                       .arg(2000 + 100 * k * k)
                       .toUtf8();
    const QString path = files.write("labels.csv", csv);
    const QString quoted[] = {"\"tab\there\"\t", "\"two\nlines\"\t", "\"say \"\"i\"\"\"\t"};
    const BatchRun stats = runBatch({"stats", path});
    ASSERT_EQ(stats.exitCode, 0) << stats.err.toStdString();
    const BatchRun area = runBatch({"area", path});
    ASSERT_EQ(area.exitCode, 0) << area.err.toStdString();
    for (const QString &start : quoted) {
        EXPECT_TRUE(stats.out.contains("\n" + start + "3\t")) << stats.out.toStdString();
        EXPECT_TRUE(area.out.contains("\n" + start + "1\t")) << area.out.toStdString();
    }
}

TEST_F(AnalysisCommands, NormalizeAddsOneColumnPerFormant)
{
    const QString out = files.path("normalised.tsv");
    const BatchRun result = runBatch({"normalize", table, "--method", "gerstman", "-o", out});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    const QStringList rows = lines(QString::fromUtf8(TestFiles::read(out)));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0], "speaker\tvowel\tF1\tF2\tnote\tF1_gerstman\tF2_gerstman");
    // A's vowel means: F1 330, 310, 700; F2 900, 2300, 1300. The note keeps its quotes.
    // A token below the lowest vowel mean goes below 0.
    EXPECT_EQ(rows[1], "A\tu\t330\t900\tx\t51.23076923076923\t0");
    EXPECT_EQ(rows[2], "A\ti\t300\t2300\t\"a, b\"\t-25.615384615384617\t999");
    EXPECT_EQ(rows[5].section('\t', 5), "999\t285.42857142857144");
    // B has one vowel: refused, its cells empty.
    EXPECT_EQ(rows[6], "B\ti\t400\t2500\t\t\t");
    EXPECT_TRUE(result.err.contains("speaker \"B\" not normalised"));
    EXPECT_TRUE(result.err.contains("1 token(s) without F2 skipped"));
}

TEST_F(AnalysisCommands, AreaPerSpeakerWithPolygonAndChosenColumns)
{
    const QString square = files.write(
        "square.tsv", "talker\tsymbol\tF1\tF2\nS\ti\t300\t2000\nS\ta\t700\t2000\n"
                      "S\tu\t300\t1000\nS\to\t700\t1000\nS\te\t500\t1500\nT\ti\t300\t2000\n");
    BatchRun result = runBatch({"area", square, "--scale", "hz", "--polygon", "i,a,o,u"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "speaker\tn_vowels\thull_area\tpolygon_area\nS\t5\t400000\t400000\n"
                          "T\t1\t\t\n");
    EXPECT_TRUE(result.err.contains("speaker \"T\""));

    // "label" would be taken as the vowel and nothing as the speaker without the choices.
    const QString path = files.write("choices.csv", "who,label,word,F1,F2\n"
                                                    "m1,x,i,300,2000\nm1,x,a,700,1200\n"
                                                    "m1,x,u,300,900\nm2,x,i,350,2400\n");
    result = runBatch({"area", path, "--speaker", "who", "--vowel", "word", "--scale", "hz"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(lines(result.out).mid(1), (QStringList{"m1\t3\t220000\t", "m2\t1\t\t"}));
    EXPECT_EQ(runBatch({"area", path, "--speaker", "nobody"}).exitCode, 1);
}

// A Formant file is read with its labels as the vowels; --format table reads any name as a
// table, and --format formant as a Formant file. (Semicolons and decimal commas: TabularReader.)
TEST_F(AnalysisCommands, FormantFilesAndTheChosenFormatWork)
{
    const QString formant =
        files.write("tokens.txt", "F1 F2 F3 vowel\n300 2300 2900 \"i\"\n320 2200 2800 \"i\"\n"
                                  "310 2400 2700 \"i\"\n");
    BatchRun result = runBatch({"stats", formant, "--scale", "hz"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(lines(result.out).value(1).startsWith("i\t3\t2300\t310\t100\t10\t-500\t"));
    const QString dat = files.write("tokens.dat", "Vowel,F1,F2\ni,300,2300\ni,302,2200\n");
    result = runBatch({"stats", dat, "--format", "table", "--scale", "hz"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(lines(result.out).value(1).startsWith("i\t2\t2250\t301\t"));
    // --format formant reads any name as a Formant file, for the charts too.
    const QString named = files.write("tokens.csv", TestFiles::read(formant));
    result = runBatch({"stats", named, "--format", "formant", "--scale", "hz"});
    EXPECT_TRUE(lines(result.out).value(1).startsWith("i\t3\t2300\t310\t"));
    result = runBatch(
        {"chart", named, "--format", "formant", "--plot", "f1f2", "-o", files.path("tokens.png")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
}

TEST_F(AnalysisCommands, FailuresAndUsageErrorsExitDifferently)
{
    const QString missing = files.path("missing.csv");
    BatchRun result = runBatch({"stats", missing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.isEmpty());
    result = runBatch({"stats", files.write("none.csv", "a,b\n1,2\n")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(runBatch({"stats", table, "--group", "dialect"}).exitCode, 1);
    result = runBatch({"area", files.write("header.csv", "speaker,vowel,F1,F2\n")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("no tokens"));

    for (const QStringList &args :
         {QStringList{"stats", table, "--scale", "hz", "--normalize", "lobanov"},
          QStringList{"stats", table, "--ellipse", "sd3"},
          QStringList{"stats", table, "--formants", "F1,F2"}, QStringList{"normalize", table},
          QStringList{"normalize", table, "--method", "lobanov", "--formants", "F1,F9"},
          QStringList{"normalize", table, "--method", "watt-fabricius", "--formants", "F1,F3"},
          QStringList{"area", table, "--polygon", "i,a"}, QStringList{"area"}})
        EXPECT_EQ(runBatch(args).exitCode, 2) << args.join(' ').toStdString();
    // No speaker at all can be normalised: nothing is written and the run fails.
    result = runBatch(
        {"normalize", files.write("one.csv", "vowel,F1,F2\ni,300,2000\n"), "--method", "lobanov"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
}

} // namespace
