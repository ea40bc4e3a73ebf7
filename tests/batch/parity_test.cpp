// The same files opened by the program (its document, its rows as the table window fills
// them, the statistics its Statistics window shows) and by the batch commands: the same
// tokens, the same vowel numbering, the same groups and the same statistics. The program and
// the batch tool once read tables three ways, with three rules for a missing formant.

#include "batchrun.h"
#include "testfiles.h"

#include "analysis/statisticstable.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"
#include "framework/messages.h"
#include "plot/analysischart.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

// Whole hertz, since the program's cells hold whole hertz: each file has a missing value,
// an empty cell or a 0, and vowels out of order.
const char *const kFiles[][2] = {
    {"speakers.csv", "speaker,vowel,F1,F2,F3\nb,i,300,2300,2900\na,u,350,800,0\nb,a,700,1200,\n"
                     "a,i,320,2250,2950\nb,u,340,NA,2300\na,a,720,1250,2500\nb,i,310,2350,2850\n"
                     "a,u,330,850,2350\na,i,290,2200,3000\nb,a,690,1300,2450\n"},
    {"latin.txt", "talker\tlabel\tF1\tF2\nZo\xEB\t\xE9\t400\t2100\nZo\xE9\t\xE9\t420\t2000\n"
                  "Zo\xEB\ta\t700\t1200\nZo\xE9\ta\t650\t1150\nZo\xEB\t\xE9\t410\t2050\n"
                  "Zo\xE9\ta\t0\t1100\nZo\xEB\ta\t710\t1250\nZo\xE9\t\xE9\t430\t2150\n"},
    {"formant.txt", "F1 F2 F3 vowel\n300 2300 2900 \"i\"\n700 1200 \"a\"\n320 2200 2800 \"i\"\n"
                    "690 1250 2500 \"a\"\n000 900 2400 \"u\"\n310 2250 2850 \"i\"\n"
                    "710 1300 2450 \"a\"\n"},
};

// The program's side: File Open, then the rows as the first table window fills them.
struct ProgramDocument
{
    CTessavoxDoc doc;
    QObject table; // stands for the table window

    explicit ProgramDocument(const QString &path)
    {
        MessageCapture capture;
        if (doc.OnOpenDocument(path))
            doc.attachTable(&table);
    }

    QString tableText() const
    {
        const TokenTableModel &tokens = doc.tokens();
        QString text;
        for (int row = 0; row < tokens.count(); ++row) {
            for (int column = 0; column < tokens.columnCount(); ++column)
                text += tokens.cellText(row, column) +
                        (column + 1 < tokens.columnCount() ? '\t' : '\n');
        }
        return text;
    }

    // The Statistics window's rows, keyed by group: its groups come in table order.
    QSet<QString> statistics(const QString &normalization)
    {
        doc.m_analysis.normalization = normalization;
        const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
        const QStringList lines =
            QString::fromUtf8(formatStatisticsTable(chart.statistics, chart.groupNames))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return QSet<QString>(lines.begin(), lines.end());
    }
};

QSet<QString> batchStatistics(const QString &path, const QStringList &options)
{
    const BatchRun run = runBatch(QStringList{"stats", path} + options);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return QSet<QString>(lines.begin(), lines.end());
}

TEST(Parity, TheProgramAndTheBatchToolReadEveryFileAlike)
{
    TestFiles files;
    for (const auto &[name, text] : kFiles) {
        SCOPED_TRACE(name);
        const QString path = files.write(QString::fromLatin1(name), text);
        ProgramDocument program(path);
        ASSERT_GT(program.doc.tokens().count(), 0);

        // Tokens and their numbering: the table command prints the window's rows, and the
        // chart command draws the same rows (it once left some out and numbered again).
        const BatchRun table = runBatch({"table", path});
        EXPECT_EQ(table.out, program.tableText());
        EXPECT_EQ(runBatch({"chart", path, "--plot", "f1f2", "-o", files.path("c.png")}).exitCode,
                  0);

        // Groups and statistics, in a scale and normalised per speaker.
        EXPECT_EQ(program.statistics(QString()), batchStatistics(path, {}));
        EXPECT_EQ(program.statistics(QStringLiteral("lobanov")),
                  batchStatistics(path, {"--normalize", "lobanov"}));
    }
}

} // namespace
