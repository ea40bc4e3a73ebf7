// Table files (CSV, TSV) in the table window: what the window shows, Save in the file's own
// layout, and Save As between the table and Tessavox formats.

#include "tablesession.h"

#include "framework/filedialogs.h"
#include "plot/analysischart.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Quoted fields with separators, quotes and a line break inside, a fraction, an NA and a
// value past the range the cells hold; CR LF line ends.
const QByteArray kSpeakerCsv = "speaker,vowel,F1,F2,F3,\"note, free\"\r\n"
                               "m01,i,312.6,2300,2900,\"said \"\"twice\"\"\"\r\n"
                               "m01,a,700,1200,NA,plain\r\n"
                               "f02,i,350,2500,12000,\"two\r\nlines\"\r\n";

QStringList shownRow(const TokenTableModel &model, int row)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.cellText(row, column);
    return cells;
}

QStringList headings(const TokenTableModel &model)
{
    QStringList names;
    for (int column = 0; column < model.columnCount(); ++column)
        names << model.headerData(column, Qt::Horizontal).toString();
    return names;
}

struct TableFileSession : TableSession
{
    CTessavoxDoc *openFile(const QString &name, const QByteArray &bytes)
    {
        return static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(files.write(name, bytes)));
    }
};

TEST(TableFile, CsvWithSpeakersShowsThemKeepsTheOtherCellsAndSavesEditsInItsOwnLayout)
{
    TableFileSession s;
    CTessavoxDoc *doc = s.openFile("speakers.csv", kSpeakerCsv);
    ASSERT_NE(doc, nullptr);
    // NA and 12000 leave two cells empty, and the user is told.
    ASSERT_EQ(s.capture.messages().size(), 1);
    EXPECT_TRUE(s.capture.lastMessage().startsWith(QStringLiteral("2 values")));
    const TokenTableModel &model = doc->tokens();
    EXPECT_EQ(headings(model), (QStringList{"F1", "F2", "F3", "Symbol", "Order", "Speaker"}));
    // Sorted and numbered by symbol, fractions rounded; the file keeps its order (below).
    EXPECT_EQ(shownRow(model, 0), (QStringList{"700", "1200", "", "a", "1", "m01"}));
    EXPECT_EQ(shownRow(model, 1), (QStringList{"313", "2300", "2900", "i", "2", "m01"}));
    EXPECT_EQ(shownRow(model, 2), (QStringList{"350", "2500", "", "i", "2", "f02"}));

    CTessavoxFormView *table = windows<CTessavoxFormView>(doc).front();
    // Clearing the Speaker cell leaves the row as it was (its Order above all).
    table->grid().selectionModel()->select(model.index(2, TokenTableModel::Speaker),
                                           QItemSelectionModel::ClearAndSelect);
    table->grid().clearSelectedCells();
    EXPECT_EQ(shownRow(model, 2), (QStringList{"350", "2500", "", "i", "2", "f02"}));
    ASSERT_TRUE(type(table, 0, TokenTableModel::F2, 1250));
    ASSERT_TRUE(doc->isModified());
    ASSERT_TRUE(doc->DoFileSave());
    QByteArray expected = kSpeakerCsv;
    expected.replace("700,1200,NA", "700,1250,NA");
    EXPECT_EQ(TestFiles::read(doc->pathName()), expected);

    // Reopened, the table is the same, edit and all.
    TableFileSession again;
    CTessavoxDoc *reread = again.openFile("again.csv", TestFiles::read(doc->pathName()));
    ASSERT_NE(reread, nullptr);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(shownRow(reread->tokens(), row), shownRow(model, row));
}

// The charts of a table opened in the program colour and normalise by the speakers in the
// rows themselves, so a speaker stays with its row however the table is sorted.
TEST(TableFile, ChartsTakeEachRowsSpeakerFromTheRowItself)
{
    TableFileSession s;
    CTessavoxDoc *doc = s.openFile("speakers.csv", kSpeakerCsv);
    ASSERT_NE(doc, nullptr);
    doc->m_analysis.colorBy = AnalysisOptions::ColorBy::Speaker;
    const TokenTableModel &model = doc->tokens();
    const auto colourOf = [&](const AnalysisChart &chart, const QString &speaker) {
        std::set<int> colours;
        for (int row = 0; row < model.count(); ++row) {
            if (model.row(row).speaker == speaker)
                colours.insert(chart.rowColour[std::size_t(row)]);
        }
        return colours;
    };
    const AnalysisChart before = buildAnalysisChart(*doc, TokenTableModel::F2);
    const std::set<int> m01 = colourOf(before, "m01");
    const std::set<int> f02 = colourOf(before, "f02");
    ASSERT_EQ(std::pair(m01.size(), f02.size()), std::pair(std::size_t(1), std::size_t(1)));
    EXPECT_NE(m01, f02);
    // Sorted by F1 the rows move; each keeps its speaker's colour.
    doc->tokens().sortByColumn(TokenTableModel::F1);
    const AnalysisChart after = buildAnalysisChart(*doc, TokenTableModel::F2);
    EXPECT_EQ(colourOf(after, "m01"), m01);
    EXPECT_EQ(colourOf(after, "f02"), f02);
}

// Speaker cells take typed text, so a row added to a table with speakers can have one; a
// typed speaker is saved in the file's speaker column, the other cells as read.
TEST(TableFile, TypedSpeakersAreSavedForReadAndAddedRowsAlike)
{
    TableFileSession s;
    CTessavoxDoc *doc = s.openFile("speakers.csv", kSpeakerCsv);
    ASSERT_NE(doc, nullptr);
    CTessavoxFormView *table = windows<CTessavoxFormView>(doc).front();
    TokenTableModel::Row added;
    added.numbers = {400, 2000, 2600, 0};
    added.symbol = QStringLiteral("e");
    doc->tokens().insertRowAt(3, added);
    ASSERT_TRUE(type(table, 3, TokenTableModel::Speaker, QStringLiteral("f03")));
    ASSERT_TRUE(type(table, 0, TokenTableModel::Speaker, QStringLiteral("m02")));
    EXPECT_EQ(shownRow(doc->tokens(), 0), (QStringList{"700", "1200", "", "a", "1", "m02"}));
    ASSERT_TRUE(doc->DoFileSave());
    QByteArray expected = kSpeakerCsv;
    expected.replace("m01,a,", "m02,a,");
    EXPECT_EQ(TestFiles::read(doc->pathName()), expected + "f03,e,400,2000,2600,\r\n");
    EXPECT_EQ(buildAnalysisChart(*doc, TokenTableModel::F2).speakerNames,
              (QStringList{"m02", "m01", "f02", "f03"}));
}

TEST(TableFile, TsvWithoutSpeakersShowsFiveColumnsAndSavesByteForByte)
{
    TableFileSession s;
    const QByteArray tsv = "\xEF\xBB\xBFvowel\tF1\tF2\tF3\tduration\n"
                           "u\t350\t800\t2300\t0.12\n"
                           "e\t450\t2000\t2600\t0.09";
    CTessavoxDoc *doc = s.openFile("plain.tsv", tsv);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(s.capture.messages().isEmpty());
    EXPECT_EQ(doc->tokens().columnCount(), int(TokenTableModel::ColumnCount));
    const QString copy = s.files.path("copy.tsv");
    ASSERT_TRUE(doc->DoSave(copy));
    EXPECT_EQ(TestFiles::read(copy), tsv);
    // A row added in the window is written with empty other cells.
    TokenTableModel::Row added;
    added.numbers = {300, 2300, 2900, 0};
    added.symbol = QStringLiteral("i");
    doc->tokens().insertRowAt(2, added);
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(TestFiles::read(copy),
              tsv + "\ni\t300\t2300\t2900\t"); // the file had no final line end
}

TEST(TableFile, SaveAsOffersBothFormatsAndWarnsBeforeATableLosesItsSpeakers)
{
    TableFileSession s;
    CTessavoxDoc *doc = s.openFile("speakers.csv", kSpeakerCsv);
    ASSERT_NE(doc, nullptr);
    s.capture.clear();
    const QString formant = s.files.path("tokens-out.txt");
    {
        ScopedFileDialogAnswer answer(formant);
        // Cancelled at the warning: nothing is written, the document keeps its file.
        s.capture.setAnswer(Messages::Answer::Cancel);
        EXPECT_FALSE(doc->DoSave(QString()));
        ASSERT_EQ(answer.requests().size(), 1);
        const FileDialogRequest &request = answer.requests().front();
        EXPECT_EQ(request.patterns, (QStringList{"*.csv", "*.tsv"}));
        ASSERT_EQ(request.moreFilters.size(), 1);
        EXPECT_EQ(request.moreFilters.front().patterns, (QStringList{"*.txt"}));
    }
    ASSERT_EQ(s.capture.messages().size(), 1);
    const QString warning = s.capture.lastMessage();
    for (const char *loss : {"speakers", "note, free", "fractions"})
        EXPECT_TRUE(warning.contains(QLatin1String(loss))) << warning.toStdString();
    EXPECT_FALSE(QFile::exists(formant));
    EXPECT_TRUE(doc->pathName().endsWith("speakers.csv"));

    s.capture.setAnswer(Messages::Answer::Yes);
    ASSERT_TRUE(doc->DoSave(formant));
    EXPECT_EQ(fileRows(formant),
              (std::vector<Row>{{700, 1200, 0, "a"}, {313, 2300, 2900, "i"}, {350, 2500, 0, "i"}}));
    // Still a table: Save As proposes one beside the file it was saved to.
    ScopedFileDialogAnswer cancel(QString{});
    EXPECT_FALSE(doc->DoSave(QString()));
    ASSERT_EQ(cancel.requests().size(), 1);
    EXPECT_EQ(cancel.requests().front().initialPath, s.files.path("tokens-out.csv"));
}

TEST(TableFile, AFormantDocumentSavedAsATableReadsBackAsTheSameRows)
{
    TableFileSession s;
    CTessavoxFormView *table = s.openTable(kVowels);
    CTessavoxDoc *doc = table->GetDocument();
    EXPECT_EQ(doc->tokens().columnCount(), int(TokenTableModel::ColumnCount));
    {
        ScopedFileDialogAnswer answer(QString{});
        doc->DoSave(QString());
        ASSERT_EQ(answer.requests().size(), 1);
        EXPECT_EQ(answer.requests().front().moreFilters.front().patterns,
                  (QStringList{"*.csv", "*.tsv"}));
    }
    const std::vector<Row> shown = tableRows(table);
    const QString path = s.files.path("tokens.tsv");
    ASSERT_TRUE(doc->DoSave(path));
    EXPECT_TRUE(s.capture.messages().isEmpty()); // nothing to lose, nothing asked
    EXPECT_TRUE(TestFiles::read(path).startsWith("F1\tF2\tF3\tvowel\n"));
    TableFileSession again;
    CTessavoxDoc *reread = again.openFile("tokens.tsv", TestFiles::read(path));
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(tableRows(windows<CTessavoxFormView>(reread).front()), shown);
}

} // namespace

namespace {

// The table type chosen in the Open dialog reads any file as a table, once; otherwise the
// name decides, whatever the content looks like.
TEST(TableFile, TheChosenTableTypeReadsAnyNameAsATableOnce)
{
    TestFiles files;
    const QString path = files.write("tokens.txt", "vowel,F1,F2\ni,300,2300\n");
    CTessavoxDoc::readNextAsTable(true);
    CTessavoxDoc table;
    ASSERT_TRUE(table.OnOpenDocument(path));
    EXPECT_TRUE(table.isTableDocument());
    EXPECT_EQ(table.m_nTokenCount, 1);
    // Saved to its own file, it stays a table; saved elsewhere, the name decides.
    table.setPathName(path, false);
    table.attachTable(&table);
    ASSERT_TRUE(table.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "vowel,F1,F2\ni,300,2300\n");
    const QString other = files.path("other.txt");
    ASSERT_TRUE(table.OnSaveDocument(other));
    EXPECT_EQ(TestFiles::read(other), "300\t2300\t000\t\"i\"\t\r\n");
    MessageCapture capture;
    CTessavoxDoc formant;
    formant.OnOpenDocument(path);
    EXPECT_FALSE(formant.isTableDocument());
}

} // namespace

namespace {

// A wide table of short cells is saved whole: a million cells and more, each row written.
TEST(TableFile, AWideTableOfShortCellsIsSavedWhole)
{
    TableFileSession s;
    QByteArray csv = "vowel,F1,F2" + QByteArray(100, ',') + "\n";
    for (int i = 0; i < 10000; ++i)
        csv += "a," + QByteArray::number(300 + i % 500) + ",1500" + QByteArray(100, ',') + "\n";
    CTessavoxDoc *doc = s.openFile("wide.csv", csv);
    ASSERT_NE(doc, nullptr);
    const QString copy = s.files.path("copy.csv");
    ASSERT_TRUE(doc->DoSave(copy));
    EXPECT_EQ(TestFiles::read(copy), csv);
}

} // namespace
