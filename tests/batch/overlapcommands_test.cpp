// overlap and outliers as a user runs them: the exact header, a row per group and pair,
// empty figures with their reasons on standard error, and the table written back with
// the distances added.

#include "batchrun.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cmath>

namespace {

// Speaker A: a at the corners of a 2 Hz square, e the same square 4 Hz higher in F1 (the
// worked case of the analysis tests: Pillai 0.8), and one token of o. Speaker B: a only.
const QByteArray kTable = "speaker\tvowel\tF1\tF2\tword\n"
                          "A\ta\t100\t100\tw1\nA\ta\t102\t100\tw2\nA\ta\t100\t102\tw3\n"
                          "A\ta\t102\t102\tw4\nA\te\t104\t100\tw5\nA\te\t106\t100\tw6\n"
                          "A\te\t104\t102\tw7\nA\te\t106\t102\tw8\nA\to\t300\t900\tw9\n"
                          "B\ta\t200\t300\tw10\nB\ta\t210\t300\tw11\nB\ta\tNA\t300\tw12\n";

class OverlapCommands : public ::testing::Test
{
protected:
    TestFiles files;
    QString table = files.write("tokens.tsv", kTable);
};

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST_F(OverlapCommands, OverlapOfEveryPairPerSpeaker)
{
    const BatchRun result = runBatch({"overlap", table, "--scale", "hz"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList rows = lines(result.out);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], "group\tvowel1\tvowel2\tn1\tn2\tpillai\tf\tdf1\tdf2\tp\teuclidean\t"
                       "mahalanobis\tbhattacharyya\tbc");
    const QStringList ae = rows[1].split('\t');
    ASSERT_EQ(ae.size(), 14);
    EXPECT_EQ(ae.mid(0, 5), (QStringList{"A", "a", "e", "4", "4"}));
    EXPECT_NEAR(ae[5].toDouble(), 0.8, 1e-12);
    EXPECT_NEAR(ae[6].toDouble(), 10.0, 1e-10);
    EXPECT_EQ(ae.mid(7, 2), (QStringList{"2", "5"}));
    EXPECT_NEAR(ae[9].toDouble(), std::pow(5.0, -2.5), 1e-12);
    EXPECT_EQ(ae[10], "4");
    EXPECT_NEAR(ae[13].toDouble(), std::exp(-1.5), 1e-12);
    // One token of o: no covariance of its own for Bhattacharyya, and standard error says why.
    EXPECT_TRUE(rows[2].startsWith("A\ta\to\t4\t1\t0.99")) << rows[2].toStdString();
    EXPECT_TRUE(rows[2].endsWith("\t\t"));
    EXPECT_TRUE(rows[3].startsWith("A\te\to\t"));
    EXPECT_TRUE(result.err.contains("bhattacharyya needs at least 3 tokens of each vowel: 2 vowel "
                                    "pairs, as group \"A\", \"a\" and \"o\" (4 and 1 tokens); "))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("2 of 3 vowel pairs have too few tokens for some figures: "
                                    "group by a column of fewer, larger groups (--by COL"));
    EXPECT_FALSE(result.out.contains("nan", Qt::CaseInsensitive));
}

TEST_F(OverlapCommands, NamedPairsGroupsAndFailures)
{
    // A named pair is reported in every group, B's with no e; the NA is counted.
    BatchRun result = runBatch({"overlap", table, "--pairs", "e:a"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList rows = lines(result.out);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[1].startsWith("A\te\ta\t4\t4\t0.8"));
    EXPECT_EQ(rows[2], "B\te\ta\t0\t2\t\t\t\t\t\t\t\t\t");
    EXPECT_TRUE(result.err.contains("1 token(s) skipped: a formant missing\n"));
    // Normalised: Lobanov z does not change Pillai; B's F2 never varies, so B is refused.
    result = runBatch({"overlap", table, "--pairs", "e:a", "--normalize", "lobanov"});
    rows = lines(result.out);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_NEAR(rows[1].section('\t', 5, 5).toDouble(), 0.8, 1e-12);
    EXPECT_TRUE(rows[2].startsWith("B\te\ta\t0\t0\t"));
    EXPECT_TRUE(result.err.contains("speaker \"B\" not normalised")) << result.err.toStdString();

    // --by a column all rows share: A's and B's tokens in one group.
    const QString grouped = files.write(
        "grouped.tsv",
        QString::fromUtf8(kTable).replace(QRegularExpression("\tw\\d+"), "\tnorth").toUtf8());
    result = runBatch({"overlap", grouped, "--by", "word", "--pairs", "a:e"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    rows = lines(result.out);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith("north\ta\te\t6\t4\t"));
    EXPECT_EQ(runBatch({"overlap", table, "--by", "region"}).exitCode, 1);

    result = runBatch({"overlap", table, "--pairs", "a:y"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("no vowel \"y\"")) << result.err.toStdString();
    EXPECT_EQ(runBatch({"overlap", table, "--formants", "F1,F3"}).exitCode, 1);
    for (const QStringList &args :
         {QStringList{"overlap", table, "--formants", "F1,F8"},
          QStringList{"overlap", table, "--scale", "hz", "--normalize", "lobanov"},
          QStringList{"overlap", table, "--normalize", "z"},
          QStringList{"outliers", table, "--level", "1"},
          QStringList{"outliers", table, "--level", "x"}, QStringList{"outliers"}})
        EXPECT_EQ(runBatch(args).exitCode, 2) << args.join(' ').toStdString();
}

TEST_F(OverlapCommands, OutliersWritesTheTableWithTheDistances)
{
    const QString out = files.path("outliers.tsv");
    const BatchRun result =
        runBatch({"outliers", table, "--scale", "hz", "--level", "0.5", "-o", out});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList rows = lines(QString::fromUtf8(TestFiles::read(out)));
    ASSERT_EQ(rows.size(), 13);
    EXPECT_EQ(rows[0], "speaker\tvowel\tF1\tF2\tword\tmahalanobis_d2\toutlier");
    // S = 4/3 I for a square's corners: each lies at d2 = 2/(4/3) = 1.5 > -2 ln 0.5.
    for (int row : {1, 5}) {
        const QStringList fields = rows[row].split('\t');
        ASSERT_EQ(fields.size(), 7);
        EXPECT_NEAR(fields[5].toDouble(), 1.5, 1e-12);
        EXPECT_EQ(fields[6], "1");
    }
    EXPECT_TRUE(rows[1].startsWith("A\ta\t100\t100\tw1\t"));
    // o has one token, B's a two: no distance, both cells empty; standard error says why.
    EXPECT_EQ(rows[9], "A\to\t300\t900\tw9\t\t");
    EXPECT_EQ(rows[12], "B\ta\tNA\t300\tw12\t\t");
    EXPECT_TRUE(result.err.contains("fewer than 4 tokens, too few for a distance: 2 vowels, as "
                                    "group \"A\", vowel \"o\" (1 token); group \"B\", vowel "
                                    "\"a\" (2 tokens)\n"))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("2 of 4 vowels of a group have too few tokens: group by a "
                                    "column of fewer, larger groups (--by COL; --by vowel"));
}

} // namespace

namespace {

// The far token of A's a is set aside: every command leaves it out and says so, and the
// commands that write the table back keep its row with empty figures.
TEST_F(OverlapCommands, EveryCommandLeavesOutExcludedRows)
{
    QByteArray text = "speaker\tvowel\tF1\tF2\tword\texclude\n";
    for (const QByteArray &line : QByteArray(kTable).split('\n').mid(1, 12))
        text += line + (line.endsWith("w1") ? "\t1\n" : "\t\n");
    text += "A\ta\t900\t3000\tfar\tyes\n";
    const QString marked = files.write("marked.tsv", text);
    const QString said = "2 excluded row(s) left out (the exclude column)";

    BatchRun result = runBatch({"stats", marked, "--scale", "hz", "--group", "speaker,vowel"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(said)) << result.err.toStdString();
    EXPECT_TRUE(lines(result.out).value(1).startsWith("A/a\t3\t")) << result.out.toStdString();

    result = runBatch({"normalize", marked, "--method", "lobanov", "--formants", "F1"});
    EXPECT_TRUE(result.err.contains(said));
    EXPECT_TRUE(lines(result.out).value(1).endsWith("\t1\t")) << result.out.toStdString();
    EXPECT_TRUE(lines(result.out).last().endsWith("\tyes\t"));
    // The kept rows' values are those of a file without the excluded rows.
    QByteArray without = "speaker\tvowel\tF1\tF2\tword\n";
    for (const QByteArray &line : QByteArray(kTable).split('\n').mid(2, 11))
        without += line + '\n';
    const BatchRun reference = runBatch({"normalize", files.write("without.tsv", without),
                                         "--method", "lobanov", "--formants", "F1"});
    const QStringList kept = lines(result.out).mid(2, 11);
    const QStringList expected = lines(reference.out).mid(1);
    ASSERT_EQ(kept.size(), expected.size());
    for (qsizetype i = 0; i < kept.size(); ++i)
        EXPECT_EQ(kept[i].section('\t', -1), expected[i].section('\t', -1)) << i;
    // Only B's NA is missing; the excluded rows are not counted as such.
    EXPECT_TRUE(result.err.contains("1 token(s) without F1 skipped")) << result.err.toStdString();

    result = runBatch({"area", marked, "--scale", "hz"});
    EXPECT_TRUE(result.err.contains(said));

    result = runBatch({"overlap", marked, "--scale", "hz", "--pairs", "a:e"});
    EXPECT_TRUE(result.err.contains(said));
    EXPECT_TRUE(lines(result.out).value(1).startsWith("A\ta\te\t3\t4\t"));

    result = runBatch({"outliers", marked, "--scale", "hz"});
    EXPECT_TRUE(result.err.contains(said));
    const QStringList rows = lines(result.out);
    ASSERT_EQ(rows.size(), 14);
    EXPECT_TRUE(rows[1].endsWith("\t1\t\t")) << rows[1].toStdString();
    EXPECT_TRUE(rows[13].endsWith("\tyes\t\t"));

    result = runBatch({"chart", marked, "--plot", "f1f2", "-o", files.path("marked.svg")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(said)) << result.err.toStdString();
}

} // namespace
