// Listening to tokens: the stretch of the recording a measured table names, found beside
// the table, played from the table (Space, Edit > Play Token) and from a chart
// (double-click), with the sound output replaced; every problem is a message.

#include "tablesession.h"

#include "document/tokenrecording.h"
#include "plot/barkscale.h"
#include "plot/plotgeometry.h"
#include "plot/plotview.h"
#include "table/tokenplayer.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Sorted by symbol the rows are a (row 0), i (row 1), u (row 2).
const QByteArray kMeasured = "speaker,vowel,F1,F2,F3,File,Start,End\n"
                             "s1,i,300,2300,2900,rec/s1.wav,\"1,200\",1.350\n"
                             "s1,a,700,1200,2500,gone.wav,0.05,0.2\n"
                             "s1,u,350,800,2300,rec/s1.wav,2.0,1.9\n";

// Stands in for the sound card: records what it was asked to play.
struct RecordedOutput
{
    std::vector<TokenRecording> played;
    QString answer; // what the output says back; empty = it plays
    RecordedOutput()
    {
        TokenPlayer::instance().setOutput([this](const TokenRecording &recording) {
            played.push_back(recording);
            return answer;
        });
    }
    ~RecordedOutput() { TokenPlayer::instance().setOutput({}); }
};

TEST(TokenRecording, FoundBesideTheTableWithContextAndEveryProblemNamed)
{
    TableSession s;
    QDir(s.files.path(QString())).mkpath("rec");
    s.files.write("rec/s1.wav", "RIFF");
    CTessavoxFormView *table = s.openCsv(kMeasured, "measured.csv");
    ASSERT_TRUE(table);
    const CTessavoxDoc &doc = *table->GetDocument();

    const TokenRecording i = findTokenRecording(doc, 1, 0.15);
    EXPECT_TRUE(i.playable()) << i.problem.toStdString();
    EXPECT_EQ(QFileInfo(i.path), QFileInfo(s.files.path("rec/s1.wav")));
    EXPECT_DOUBLE_EQ(i.start, 1.2); // a decimal comma is read too
    EXPECT_DOUBLE_EQ(i.from, 1.2 - 0.15);
    EXPECT_DOUBLE_EQ(i.to, 1.35 + 0.15);

    const TokenRecording a = findTokenRecording(doc, 0, 0.15);
    EXPECT_TRUE(a.found);
    EXPECT_DOUBLE_EQ(a.from, 0.0); // never before the start of the file
    EXPECT_TRUE(a.problem.startsWith("Cannot find the recording")) << a.problem.toStdString();

    const TokenRecording u = findTokenRecording(doc, 2, 0.15);
    EXPECT_FALSE(u.found);
    EXPECT_EQ(u.problem, "Row 3 has no usable Start and End times.");
    EXPECT_FALSE(findTokenRecording(doc, 3, 0.15).playable());

    CTessavoxFormView *formant = s.openTable(kVowels);
    ASSERT_TRUE(formant);
    EXPECT_TRUE(findTokenRecording(*formant->GetDocument(), 0, 0.15)
                    .problem.startsWith("The table has no File, Start and End columns"));
}

TEST(TokenPlayer, SpaceInTheTableAndADoubleClickInAChartPlayWithoutEditing)
{
    TableSession s;
    QDir(s.files.path(QString())).mkpath("rec");
    s.files.write("rec/s1.wav", "RIFF");
    CTessavoxFormView *table = s.openCsv(kMeasured, "measured.csv");
    ASSERT_TRUE(table);
    RecordedOutput output;
    CDatatbl5 &grid = table->grid();
    grid.setActiveRow(1);
    grid.setActiveColumn(TokenTableModel::Symbol);
    QTest::keyClick(&grid, Qt::Key_Space);
    ASSERT_EQ(output.played.size(), 1u);
    EXPECT_DOUBLE_EQ(output.played[0].start, 1.2);
    for (const QLineEdit *editor : grid.findChildren<QLineEdit *>())
        EXPECT_FALSE(editor->isVisible()) << "Space opened a cell editor";
    EXPECT_EQ(table->GetCellText(1, TokenTableModel::Symbol), "i");

    // A missing file, and an output that cannot play, are messages; nothing is played.
    TokenPlayer &player = TokenPlayer::instance();
    EXPECT_TRUE(player.playRow(*table->GetDocument(), 0, table).startsWith("Cannot find"));
    output.answer = "No sound output device: cannot play rec/s1.wav.";
    EXPECT_EQ(player.playRow(*table->GetDocument(), 1, table), output.answer);
    EXPECT_EQ(output.played.size(), 2u);
    output.answer.clear();
    EXPECT_TRUE(s.capture.events().isEmpty());

    // In the chart, a double-click on the "i" token, found from the chart's geometry.
    table->OnPlotF1F2();
    ASSERT_TRUE(table->m_pF1F2Frame);
    auto *chart = qobject_cast<PlotView *>(table->m_pF1F2Frame->activeView());
    ASSERT_TRUE(chart);
    chart->resize(800, 600);
    chart->grab();
    const PlotGeometry g = PlotGeometry::compute(PlotFrame{0, 0, 800, 600}, 1, 1);
    int x = 0, y = 0;
    g.mapBark(HzToBark(300), HzToBark(2300), x, y);
    QTest::mouseDClick(chart, Qt::LeftButton, {}, QPoint(x + 2, y + 5));
    ASSERT_EQ(output.played.size(), 3u);
    EXPECT_DOUBLE_EQ(output.played[2].end, 1.35);
}

} // namespace
