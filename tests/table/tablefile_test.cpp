// Table files (CSV, TSV) in the table window: what the window shows, Save in the file's own
// layout, and Save As between the table and Tessavox formats.

#include "tablesession.h"

#include "framework/filedialogs.h"
#include "plot/analysischart.h"

#include <QApplication>
#include <QClipboard>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// Quoted fields with separators, quotes and a line break inside, a fraction, an NA and a
// value past the range the cells hold; CR LF line ends.
const QByteArray kSpeakerCsv = "speaker,vowel,F1,F2,F3,\"note, free\"\r\n"
                               "m01,i,312.6,2300,2900,\"said \"\"twice\"\"\"\r\n"
                               "m01,a,700,1200,NA,plain\r\n"
                               "f02,i,350,2500,12000,\"two\r\nlines\"\r\n";

QStringList shownRow(const TokenTableModel &model, int row, Qt::Orientation of = Qt::Vertical)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << (of == Qt::Vertical ? model.cellText(row, column)
                                     : model.headerData(column, of).toString());
    return cells;
}

// Speakers' row colours in a chart coloured by speaker: one colour each, told apart.
std::map<QString, std::set<int>> speakerColours(CTessavoxDoc &doc)
{
    doc.m_analysis.colorBy = AnalysisOptions::ColorBy::Speaker;
    const AnalysisChart chart = buildAnalysisChart(doc, TokenTableModel::F2);
    std::map<QString, std::set<int>> colours;
    for (int row = 0; row < doc.tokens().count(); ++row)
        colours[doc.tokens().row(row).speaker].insert(chart.rowColour[std::size_t(row)]);
    std::set<int> all;
    for (const auto &[speaker, own] : colours) {
        EXPECT_EQ(own.size(), 1u) << speaker.toStdString();
        all.insert(own.begin(), own.end());
    }
    EXPECT_EQ(all.size(), colours.size());
    return colours;
}

// Clearing a Speaker cell once emptied the row's Order; the charts once took speakers by
// file row, so a sort gave rows another speaker's colour.
TEST(TableFile, CsvWithSpeakersShowsEditsAndSavesThemInItsOwnLayoutAndChartsFollowTheRows)
{
    TableSession s;
    CTessavoxFormView *table = s.openCsv(kSpeakerCsv, "speakers.csv");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    // NA and 12000 leave two cells empty, and the user is told.
    ASSERT_EQ(s.capture.messages().size(), 1);
    EXPECT_TRUE(s.capture.lastMessage().contains(QStringLiteral("2 values of F1, F2 or F3")));
    TokenTableModel &model = doc->tokens();
    EXPECT_EQ(shownRow(model, 0, Qt::Horizontal),
              (QStringList{"F1", "F2", "F3", "Symbol", "Order", "Speaker"}));
    // Sorted and numbered by symbol, fractions rounded; the file keeps its order (below).
    EXPECT_EQ(shownRow(model, 0), (QStringList{"700", "1200", "", "a", "1", "m01"}));
    EXPECT_EQ(shownRow(model, 1), (QStringList{"313", "2300", "2900", "i", "2", "m01"}));
    table->grid().selectionModel()->select(model.index(2, TokenTableModel::Speaker),
                                           QItemSelectionModel::ClearAndSelect);
    table->grid().clearSelectedCells();
    EXPECT_EQ(shownRow(model, 2), (QStringList{"350", "2500", "", "i", "2", ""}));
    ASSERT_TRUE(type(table, 2, TokenTableModel::Speaker, QStringLiteral("f02")));

    // Typed cells and speakers, of read rows and added ones alike, go to the file's columns.
    ASSERT_TRUE(type(table, 0, TokenTableModel::F2, 1250));
    ASSERT_TRUE(doc->isModified());
    TokenTableModel::Row added;
    added.numbers = {400, 2000, 2600, 0};
    added.symbol = QStringLiteral("e");
    model.insertRowAt(3, added);
    // m01 keeps two rows, so a row coloured as another would part them.
    ASSERT_TRUE(type(table, 3, TokenTableModel::Speaker, QStringLiteral("m01")));
    ASSERT_TRUE(type(table, 0, TokenTableModel::Speaker, QStringLiteral("f03")));
    ASSERT_TRUE(doc->save());
    QByteArray expected = kSpeakerCsv;
    expected.replace("m01,a,700,1200,NA", "f03,a,700,1250,NA");
    EXPECT_EQ(TestFiles::read(doc->pathName()), expected + "m01,e,400,2000,2600,\r\n");
    EXPECT_EQ(buildAnalysisChart(*doc, TokenTableModel::F2).speakerNames,
              (QStringList{"f03", "m01", "f02"}));
    EXPECT_EQ(speakerColours(*doc).size(), 3u);
    model.sortByColumn(TokenTableModel::F1);
    EXPECT_EQ(speakerColours(*doc).size(), 3u);
}

// Copy, Cut and Paste once stopped at the Order column, so a copied token came back
// without its speaker and a cleared row kept one.
TEST(TableFile, CopyCutAndPasteCarryTheSpeakerColumn)
{
    TableSession s;
    CTessavoxFormView *table = s.openCsv("speaker,vowel,F1,F2,F3\n"
                                         "m01,i,300,2300,2900\n"
                                         "f02,a,700,1200,2500\n");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    TokenTableModel &model = doc->tokens();
    ASSERT_EQ(shownRow(model, 0), (QStringList{"700", "1200", "2500", "a", "1", "f02"}));

    table->grid().setRowSelected(0, true);
    table->execute(ID_EDIT_COPY);
    EXPECT_EQ(QApplication::clipboard()->text(), "700\t1200\t2500\ta\t1\tf02\n");
    table->grid().setRowSelected(2 - 1, true);
    table->execute(ID_EDIT_PASTE);
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(shownRow(model, 1), (QStringList{"700", "1200", "2500", "a", "1", "f02"}));

    // A block from a spreadsheet reaches the Speaker column too.
    table->m_nCopyFirstRow = -1;
    QApplication::clipboard()->setText("i\t2\tm03\n");
    table->grid().setActiveRow(2);
    table->grid().setActiveColumn(TokenTableModel::Symbol);
    table->execute(ID_EDIT_PASTE);
    EXPECT_EQ(shownRow(model, 2), (QStringList{"300", "2300", "2900", "i", "2", "m03"}));

    table->grid().selectBlock(1, 0, 1, TokenTableModel::Speaker, true);
    table->execute(ID_EDIT_CUT);
    EXPECT_EQ(shownRow(model, 1), (QStringList{"", "", "", "", "", ""}));
    EXPECT_TRUE(s.capture.messages().isEmpty()) << s.capture.lastMessage().toStdString();
}

// A name typed or pasted into a Windows-1252 file was written as UTF-8, so the saved file
// mixed two encodings and a spreadsheet showed the new "Zo\u00e9" as another speaker.
TEST(TableFile, TextTypedIntoAWindows1252FileIsSavedInItsEncoding)
{
    TableSession s;
    CTessavoxFormView *table = s.openCsv("speaker,vowel,F1,F2\n"
                                         "Zo\xE9,i,300,2300\n"
                                         "Zo\xEB,\xE6,700,1800\n",
                                         "latin.csv");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_EQ(doc->tokens().row(1).speaker, QStringLiteral("Zo\u00eb"));
    ASSERT_TRUE(type(table, 0, TokenTableModel::Speaker, QStringLiteral("Zo\u00e9 \u20ac")));
    ASSERT_TRUE(type(table, 0, TokenTableModel::Symbol, QStringLiteral("\u00e6")));
    ASSERT_TRUE(type(table, 1, TokenTableModel::Speaker, QStringLiteral("\u0259")));
    ASSERT_TRUE(doc->save());
    // The euro sign has a byte of its own; the schwa has none and stays UTF-8.
    EXPECT_EQ(TestFiles::read(doc->pathName()), QByteArray("speaker,vowel,F1,F2\n"
                                                           "Zo\xE9 \x80,\xE6,300,2300\n"
                                                           "\xC9\x99,\xE6,700,1800\n"));

    // A UTF-8 file stays UTF-8.
    CTessavoxFormView *utf8 = s.openCsv("speaker,vowel,F1,F2\nZo\xC3\xAB,i,300,2300\n", "utf8.csv");
    ASSERT_TRUE(utf8);
    ASSERT_TRUE(type(utf8, 0, TokenTableModel::Speaker, QStringLiteral("Zo\u00e9")));
    ASSERT_TRUE(utf8->GetDocument()->save());
    EXPECT_EQ(TestFiles::read(utf8->GetDocument()->pathName()),
              QByteArray("speaker,vowel,F1,F2\nZo\xC3\xA9,i,300,2300\n"));
}

TEST(TableFile, TsvWithoutSpeakersShowsFiveColumnsAndSavesByteForByte)
{
    TableSession s;
    const QByteArray tsv = "\xEF\xBB\xBFvowel\tF1\tF2\tF3\tduration\n"
                           "u\t350\t800\t2300\t0.12\n"
                           "e\t450\t2000\t2600\t0.09";
    CTessavoxFormView *table = s.openCsv(tsv, "plain.tsv");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    ASSERT_EQ(s.capture.messages().size(), 1);
    EXPECT_TRUE(s.capture.lastMessage().contains(QStringLiteral("taken as one speaker")));
    EXPECT_EQ(doc->tokens().columnCount(), int(TokenTableModel::ColumnCount));
    const QString copy = s.files.path("copy.tsv");
    ASSERT_TRUE(doc->saveAs(copy));
    EXPECT_EQ(TestFiles::read(copy), tsv);
    // A row added in the window is written with empty other cells.
    TokenTableModel::Row added;
    added.numbers = {300, 2300, 2900, 0};
    added.symbol = QStringLiteral("i");
    doc->tokens().insertRowAt(2, added);
    ASSERT_TRUE(doc->save());
    EXPECT_EQ(TestFiles::read(copy), tsv + "\ni\t300\t2300\t2900\t"); // no final line end before
}

TEST(TableFile, SaveAsOffersBothFormatsAndWarnsBeforeATableLosesItsSpeakers)
{
    TableSession s;
    CTessavoxFormView *table = s.openCsv(kSpeakerCsv, "speakers.csv");
    ASSERT_TRUE(table);
    CTessavoxDoc *doc = table->GetDocument();
    s.capture.clear();
    const QString formant = s.files.path("tokens-out.txt");
    {
        ScopedFileDialogAnswer answer(formant);
        // Cancelled at the warning: nothing is written, the document keeps its file.
        s.capture.setAnswer(Messages::Answer::Cancel);
        EXPECT_FALSE(doc->saveAs(QString()));
        ASSERT_EQ(answer.requests().size(), 1);
        const FileDialogRequest &request = answer.requests().front();
        EXPECT_EQ(request.patterns, (QStringList{"*.csv", "*.tsv"}));
        ASSERT_EQ(request.moreFilters.size(), 1);
        EXPECT_EQ(request.moreFilters.front().patterns, (QStringList{"*.txt"}));
    }
    ASSERT_EQ(s.capture.messages().size(), 1);
    for (const char *loss : {"speakers", "note, free", "fractions"})
        EXPECT_TRUE(s.capture.lastMessage().contains(QLatin1String(loss))) << loss;
    EXPECT_FALSE(QFile::exists(formant));
    EXPECT_TRUE(doc->pathName().endsWith("speakers.csv"));

    s.capture.setAnswer(Messages::Answer::Yes);
    ASSERT_TRUE(doc->saveAs(formant));
    EXPECT_EQ(fileRows(formant),
              (std::vector<Row>{{700, 1200, 0, "a"}, {313, 2300, 2900, "i"}, {350, 2500, 0, "i"}}));
    // Still a table: Save As proposes one beside the file it was saved to.
    ScopedFileDialogAnswer cancel(QString{});
    EXPECT_FALSE(doc->saveAs(QString()));
    ASSERT_EQ(cancel.requests().size(), 1);
    EXPECT_EQ(cancel.requests().front().initialPath, s.files.path("tokens-out.csv"));
}

TEST(TableFile, AFormantDocumentSavedAsATableReadsBackAsTheSameRows)
{
    TableSession s;
    CTessavoxFormView *table = s.openTable(kVowels);
    CTessavoxDoc *doc = table->GetDocument();
    EXPECT_EQ(doc->tokens().columnCount(), int(TokenTableModel::ColumnCount));
    {
        ScopedFileDialogAnswer answer(QString{});
        doc->saveAs(QString());
        ASSERT_EQ(answer.requests().size(), 1);
        EXPECT_EQ(answer.requests().front().moreFilters.front().patterns,
                  (QStringList{"*.csv", "*.tsv"}));
    }
    const QString path = s.files.path("tokens.tsv");
    ASSERT_TRUE(doc->saveAs(path));
    EXPECT_TRUE(s.capture.messages().isEmpty()); // nothing to lose, nothing asked
    EXPECT_TRUE(TestFiles::read(path).startsWith("F1\tF2\tF3\tvowel\n"));
    TableSession again;
    CTessavoxFormView *reread = again.openCsv(TestFiles::read(path), "tokens.tsv");
    ASSERT_TRUE(reread);
    EXPECT_EQ(tableRows(reread), tableRows(table));
}

// A table saved as .txt is read as a table by its content, and the table type chosen in
// the Open dialog reads any file as one, for that open only. Such a file was once read as a
// Formant file and File Save then turned it into an empty one.
TEST(TableFile, TablesOfAnyNameAreReadAsTables)
{
    TestFiles files;
    MessageCapture capture;
    const QString path = files.write("tokens.txt", "speaker,vowel,F1,F2\nA,i,300,2300\n");
    CTessavoxDoc table;
    ASSERT_TRUE(table.OnOpenDocument(path));
    EXPECT_TRUE(table.isTableDocument());
    EXPECT_EQ(table.m_nTokenCount, 1);
    // Saved to its own file, it stays a table; a Tessavox file would lose the speaker.
    table.setPathName(path, false);
    table.attachTable(&table);
    ASSERT_TRUE(table.OnSaveDocument(path));
    EXPECT_EQ(TestFiles::read(path), "speaker,vowel,F1,F2\nA,i,300,2300\n");
    capture.setAnswer(Messages::Answer::No);
    EXPECT_FALSE(table.OnSaveDocument(files.path("other.txt")));
    EXPECT_TRUE(capture.lastMessage().contains("the speakers"));
    EXPECT_FALSE(QFile::exists(files.path("other.txt")));

    const QString formant = files.write("lines.txt", "300 2300 \"i\"\n");
    CTessavoxDoc chosen;
    chosen.setOpenOptions({TabularFileKind::Table, {}});
    EXPECT_FALSE(chosen.OnOpenDocument(formant));
    EXPECT_TRUE(capture.lastMessage().contains("not a table of formants"));
    ASSERT_TRUE(chosen.OnOpenDocument(formant));
    EXPECT_FALSE(chosen.isTableDocument());
    EXPECT_EQ(chosen.m_nTokenCount, 1);
}

// A table of more than a million cells once saved only its first rows.
TEST(TableFile, AWideTableOfShortCellsIsSavedWhole)
{
    TableSession s;
    QByteArray csv = "vowel,F1,F2" + QByteArray(100, ',') + "\n";
    for (int i = 0; i < 10000; ++i)
        csv += "a," + QByteArray::number(300 + i % 500) + ",1500" + QByteArray(100, ',') + "\n";
    CTessavoxFormView *table = s.openCsv(csv, "wide.csv");
    ASSERT_TRUE(table);
    const QString copy = s.files.path("copy.csv");
    ASSERT_TRUE(table->GetDocument()->saveAs(copy));
    EXPECT_EQ(TestFiles::read(copy), csv);
}

} // namespace
