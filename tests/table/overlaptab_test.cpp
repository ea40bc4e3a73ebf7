// The Statistics window's Overlap tab: every pair or the pairs picked, per speaker, the
// figures of the batch command; Copy and Save take the tab shown; exclusions count at once.

#include "tablesession.h"

#include "framework/filedialogs.h"
#include "plot/overlappanel.h"
#include "plot/statisticsview.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

QString cell(const OverlapPanel &panel, int row, int column)
{
    const QTableWidgetItem *item = panel.table().item(row, column);
    return item ? item->text() : QString();
}

// Speaker s1: a at the corners of a 2 Hz square and e the same 4 Hz higher (Pillai 0.8 in
// hertz), one o; speaker s2: a and e, three tokens each.
QByteArray speakersCsv()
{
    QByteArray csv = "speaker,vowel,F1,F2\n";
    for (const char *row :
         {"s1,a,100,100", "s1,a,102,100", "s1,a,100,102", "s1,a,102,102", "s1,e,104,100",
          "s1,e,106,100", "s1,e,104,102", "s1,e,106,102", "s1,o,300,900", "s2,a,200,300",
          "s2,a,210,310", "s2,a,205,290", "s2,e,400,300", "s2,e,410,320", "s2,e,390,305"})
        csv += QByteArray(row) + '\n';
    return csv;
}

TEST(OverlapTab, PairsPerSpeakerCopiedSavedAndFollowingExclusions)
{
    TableSession session;
    CTessavoxFormView *table = session.openCsv(speakersCsv());
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    doc->m_analysis.scale = QStringLiteral("hz");
    ASSERT_TRUE(table->execute(ID_PLOT_STATISTICS));
    ASSERT_EQ(windows<StatisticsView>(doc).size(), 1u);
    StatisticsView &view = *windows<StatisticsView>(doc).front();
    OverlapPanel &panel = view.overlap();

    // Every pair of each speaker, vowels in the order of the sorted rows (a, e, o).
    ASSERT_EQ(panel.table().rowCount(), 4);
    EXPECT_EQ(QStringList({cell(panel, 0, 0), cell(panel, 0, 1), cell(panel, 0, 2),
                           cell(panel, 0, 3), cell(panel, 0, 4)}),
              QStringList({"s1", "a", "e", "4", "4"}));
    EXPECT_NEAR(cell(panel, 0, 5).toDouble(), 0.8, 1e-12);
    EXPECT_EQ(cell(panel, 3, 0), "s2");
    EXPECT_TRUE(panel.notes().contains("bhattacharyya needs at least 3 tokens"))
        << panel.notes().toStdString();

    // A pair picked in the lists: compared in each speaker only.
    panel.findChild<QComboBox *>("IDC_VOWEL1")->setCurrentText("e");
    panel.findChild<QComboBox *>("IDC_VOWEL2")->setCurrentText("a");
    panel.addChosenPair();
    ASSERT_EQ(panel.table().rowCount(), 2);
    EXPECT_EQ(QStringList({cell(panel, 1, 0), cell(panel, 1, 1), cell(panel, 1, 2)}),
              QStringList({"s2", "e", "a"}));

    view.showTab(1);
    view.OnEditCopy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("group\tvowel1\tvowel2\tn1\tn2\tpillai\t"))
        << copied.toStdString();
    EXPECT_EQ(copied.count('\n'), 3);
    {
        ScopedFileDialogAnswer answer(session.files.path("overlap.csv"));
        view.OnFileSaveStatistics();
    }
    const QByteArray csv = TestFiles::read(session.files.path("overlap.csv"));
    EXPECT_TRUE(csv.startsWith("group,vowel1,vowel2,n1,n2,pillai,")) << csv.toStdString();

    // An excluded token of s1's a leaves the figures at once.
    table->grid().setRowSelected(0, true);
    ASSERT_TRUE(table->execute(ID_EDIT_EXCLUDE_ROWS));
    EXPECT_EQ(cell(panel, 0, 4), "3");
    view.showTab(0);
    view.OnEditCopy();
    EXPECT_TRUE(QApplication::clipboard()->text().contains("\ngroup\tn\tmean F2"));
}

} // namespace

namespace {

// Many speakers with too few tokens for any figure made a note per pair and speaker; each
// reason is now one note, and the window still fits a laptop's screen.
TEST(OverlapTab, ManySpeakersShortOfTokensGiveANotePerReason)
{
    QByteArray csv = "speaker,vowel,F1,F2\n";
    for (int s = 0; s < 40; ++s)
        for (const char *vowel : {"a", "e", "i", "o", "u"})
            for (int t = 0; t < 2; ++t)
                csv += QStringLiteral("s%1,%2,%3,%4\n")
                           .arg(s)
                           .arg(vowel)
                           .arg(300 + 10 * s + t)
                           .arg(1500 - 10 * s + 3 * t)
                           .toUtf8();
    TableSession session;
    CTessavoxFormView *table = session.openCsv(csv);
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_TRUE(table->execute(ID_PLOT_STATISTICS));
    StatisticsView &view = *windows<StatisticsView>(doc).front();
    const QString notes = view.overlap().notes();
    EXPECT_LT(notes.count(QLatin1Char('\n')), 5) << notes.toStdString();
    EXPECT_TRUE(notes.contains("400 vowel pairs")) << notes.toStdString();
    EXPECT_LT(view.minimumSizeHint().height(), 400);
}

} // namespace
