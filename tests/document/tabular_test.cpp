// Tables read from CSV and TSV files: fields, roles, missing values, refusals, and writing a
// table back in the layout it came in; Formant files as the same kind of table.

#include "document/tabularreader.h"
#include "document/tabularwriter.h"
#include "document/tokenfile.h"

#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace {

using LineEnd = TabularFormat::LineEnd;

TabularReadResult parse(const std::string &text, const TabularReadOptions &options = {})
{
    return ParseTabularText(QByteArray::fromStdString(text), options);
}

std::string cellOf(const TabularTable &table, int row, int column)
{
    return std::string(table.cell(row, column));
}

// Writes the table and reads the bytes again: the same table must come back.
QByteArray expectRoundTrip(const TabularTable &table)
{
    const QByteArray written = FormatTabularText(table);
    const TabularReadResult again = ParseTabularText(written);
    EXPECT_TRUE(again.ok()) << again.message.toStdString();
    EXPECT_TRUE(again.table.sameContent(table)) << written.toStdString();
    EXPECT_EQ(again.table.format(), table.format());
    return written;
}

// A committed fixture read as a table, and its bytes.
std::pair<TabularTable, QByteArray> readFixture(const char *name)
{
    const QString path = TestFiles::fixture(QStringLiteral("tabular/") + QLatin1String(name));
    const TokenFile read = LoadTokenFile(path);
    EXPECT_TRUE(read.ok()) << name << ": " << read.report().toStdString();
    return {read.table, TestFiles::read(path)};
}

// Files already in the writer's form come back byte for byte, quoting style and all.
TEST(TabularReader, QuotedFieldsKeepSeparatorsLineBreaksQuotesAndTheirQuotingStyle)
{
    // A comment column with commas and quotes, a vowel spanning two lines, a quoted speaker.
    const auto [table, bytes] = readFixture("quoted_fields.csv");
    ASSERT_EQ(std::pair(table.rowCount(), table.columnCount()), std::pair(3, 5));
    EXPECT_EQ(cellOf(table, 0, 4), "said \"see\", twice");
    EXPECT_EQ(table.vowel(1), "a\nb");
    EXPECT_EQ(table.speaker(2), "s,2");
    EXPECT_EQ(cellOf(table, 2, 4), "");
    EXPECT_EQ(table.formant(2, 2), 800.0);
    EXPECT_EQ(expectRoundTrip(table), bytes);

    // Names and texts quoted, numbers bare.
    const auto [textOnly, textOnlyBytes] = readFixture("quoted_text_only.csv");
    EXPECT_FALSE(textOnly.format().quoteAll);
    EXPECT_EQ(textOnly.header(0), "");
    EXPECT_EQ(expectRoundTrip(textOnly), textOnlyBytes);

    // Every field quoted: a column added later is quoted too.
    TabularTable all = parse("\"vowel\",\"F1\",\"F2\"\n\"i\",\"300\",\"2300\"\n").table;
    ASSERT_TRUE(all.format().quoteAll);
    EXPECT_EQ(all.formant(0, 1), 300.0);
    all.setCell(0, all.appendColumn("F1_z"), "0.5");
    EXPECT_EQ(FormatTabularText(all),
              "\"vowel\",\"F1\",\"F2\",\"F1_z\"\n\"i\",\"300\",\"2300\",\"0.5\"\n");
}

TEST(TabularReader, SemicolonFileTakesDecimalCommasAndKeepsItsByteOrderMark)
{
    // Separator, mark and CR LF line ends are kept: the bytes come back as they were.
    const auto [table, bytes] = readFixture("semicolon_decimal_comma_bom.csv");
    // The mark is no part of the first name, so the speaker column is found.
    EXPECT_EQ(table.header(0), "talker");
    EXPECT_EQ(table.speaker(1), "m01");
    EXPECT_EQ(table.vowel(0), "i");
    EXPECT_DOUBLE_EQ(table.formant(0, 1), 312.5);
    EXPECT_DOUBLE_EQ(table.formant(1, 2), 1220.5);
    EXPECT_TRUE(std::isnan(table.formant(1, 3)));
    EXPECT_EQ(table.missingCount(3), 1);
    EXPECT_EQ(cellOf(table, 1, 5), "x;y");
    EXPECT_EQ(expectRoundTrip(table), bytes);
    // A mark after blank lines is no part of the first name either.
    EXPECT_EQ(parse("\r\n\xEF\xBB\xBFvowel,F1,F2\n").table.header(0), "vowel");

    // A tab file takes decimal commas too; in a comma file such a value is missing, not
    // 3125 or 312.
    const TabularReadResult tabs = parse("vowel\tF1\tF2\ni\t312,5\t2290\n");
    ASSERT_TRUE(tabs.ok());
    EXPECT_DOUBLE_EQ(tabs.table.formant(0, 1), 312.5);
    const TabularReadResult commas = parse("vowel,F1,F2\ni,\"312,5\",2290\n");
    ASSERT_TRUE(commas.ok());
    EXPECT_TRUE(std::isnan(commas.table.formant(0, 1)));
    EXPECT_TRUE(std::isnan(ParseTabularNumber("1.234,5", true)));
}

TEST(TabularReader, MissingValuesAreCountedPerFormantAndTheirTokensKept)
{
    const TabularTable table = readFixture("missing_values_blank_lines.tsv").first;
    ASSERT_EQ(table.rowCount(), 4);      // the blank lines are no tokens
    EXPECT_EQ(table.missingCount(1), 3); // NA, --undefined--, a word
    EXPECT_EQ(table.missingCount(2), 0);
    EXPECT_EQ(table.missingCount(3), 1);           // empty
    EXPECT_EQ(table.missingCount(4), 0);           // no F4 column
    EXPECT_DOUBLE_EQ(table.formant(3, 3), 2950.0); // spaces around a number
    EXPECT_EQ(table.speaker(3), "B");
    EXPECT_EQ(table.formantValues(1).size(), 4u);
    EXPECT_TRUE(table.formantValues(4).empty());
}

TEST(TabularReader, NumbersAreTheNearestDoublesAndAnythingElseIsMissing)
{
    // Plain decimals take a shortcut; it must give exactly what the general parser gives.
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + int(random() % 15);
        std::string text =
            std::to_string(random() % 1000000000ull * 1000000ull + random() % 1000000ull)
                .substr(0, std::size_t(digits));
        const std::size_t point = random() % (text.size() + 2);
        if (point < text.size())
            text.insert(text.begin() + std::ptrdiff_t(point), '.');
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(ParseTabularNumber(text, false), expected) << text;
        std::replace(text.begin(), text.end(), '.', ',');
        EXPECT_EQ(ParseTabularNumber(text, true), expected) << text;
    }
    EXPECT_EQ(ParseTabularNumber("9007199254740993", false), 9007199254740992.0);
    EXPECT_DOUBLE_EQ(ParseTabularNumber("+1e3", false), 1000.0);
    for (const char *text : {"", "NA", "--undefined--", "x1", "12abc", "nan", "inf", "0x10"})
        EXPECT_TRUE(std::isnan(ParseTabularNumber(text, false))) << text;
}

TEST(TabularReader, LineEndsBlankLinesAndRaggedRowsKeepEveryCellAndWriteBack)
{
    struct Case
    {
        std::string text;
        LineEnd lineEnd;
        bool finalLineEnd;
        bool canonical; // written back byte for byte
    };
    for (const Case &c : {
             Case{"vowel,F1,F2\ni,300,2300\na,700,1200\n", LineEnd::Lf, true, true},
             Case{"vowel,F1,F2\r\ni,300,2300\r\na,700,1200\r\n", LineEnd::CrLf, true, true},
             Case{"vowel,F1,F2\ri,300,2300\ra,700,1200\r", LineEnd::Cr, true, true},
             Case{"vowel\tF1\tF2\ni\t300\t2300\na\t700\t1200", LineEnd::Lf, false, true},
             Case{"\n\nvowel;F1;F2\r\n\r\ni;300;2300\n\na;700;1200\r\n\r\n", LineEnd::CrLf, true,
                  false},
             Case{"vowel,F1,F2\n\"i\",300,2300\na,700,\"12\"00\n", LineEnd::Lf, true, false},
         }) {
        SCOPED_TRACE(c.text);
        const TabularReadResult read = parse(c.text);
        ASSERT_TRUE(read.ok()) << read.message.toStdString();
        const TabularTable &table = read.table;
        ASSERT_EQ(table.rowCount(), 2);
        EXPECT_EQ(table.vowel(0), "i");
        EXPECT_EQ(table.vowel(1), "a");
        EXPECT_EQ(table.formant(1, 2), 1200.0);
        EXPECT_EQ(table.format().lineEnd, c.lineEnd);
        EXPECT_EQ(table.format().finalLineEnd, c.finalLineEnd);
        const QByteArray written = expectRoundTrip(table);
        if (c.canonical) {
            EXPECT_EQ(written.toStdString(), c.text);
        }
    }

    // Ragged rows lose no cell: two unnamed columns for the long row.
    const TabularTable ragged = parse("vowel,F1,F2\ni,300\na,700,1200,loud,x\nu,350,800,\n").table;
    ASSERT_EQ(ragged.columnCount(), 5);
    EXPECT_TRUE(std::isnan(ragged.formant(0, 2)));
    EXPECT_EQ(cellOf(ragged, 1, 4), "x");
    EXPECT_EQ(cellOf(ragged, 2, 3), "");
    expectRoundTrip(ragged);
}

// The separator is found in the header row, outside quotes. A quote after a comma in a
// semicolon file can hide a tab from that search; written back unquoted, the tab would then be
// taken for the separator and the file read back split at it. Found by the fuzzer.
TEST(TabularWriter, HeaderNamesHoldingOtherSeparatorsAreQuoted)
{
    const TabularTable table = parse("vowel;F1;F2;a,\"b;\tc\ni;300;2300;x;y\n").table;
    ASSERT_EQ(table.format().separator, ';');
    EXPECT_EQ(expectRoundTrip(table), "vowel;F1;F2;\"a,\"\"b\";\"\tc\"\ni;300;2300;x;y\n");
}

TEST(TabularReader, HeaderNamesFindTheirRolesOrTheChosenColumns)
{
    struct Case
    {
        std::string header;
        int vowel, speaker, f0, f1, f2, f3;
    };
    for (const Case &c : {
             Case{"Speaker,Vowel,F1,F2,F3", 1, 0, -1, 2, 3, 4},
             Case{"talker,label,f1,f2", 1, 0, -1, 2, 3, -1},
             // "vowel" comes before "label" in preference, wherever the columns stand.
             Case{"label,subject,F1_Hz,F2_Hz,vowel", 4, 1, -1, 2, 3, -1},
             Case{"phoneme,spk,F0,F1 (Hz),F2 (Hz),F3 (Hz)", 0, 1, 2, 3, 4, 5},
             Case{"IPA;participant;F1_hz;F2;F1", 0, 1, -1, 4, 3, -1},
             Case{"segment\tF1\tF2\tF3\tF4\tF5", 0, -1, -1, 1, 2, 3},
         }) {
        const TabularReadResult read = parse(c.header + "\n");
        ASSERT_TRUE(read.ok()) << c.header << ": " << read.message.toStdString();
        const TabularTable &table = read.table;
        EXPECT_EQ(std::tuple(table.vowelColumn(), table.speakerColumn(), table.formantColumn(0),
                             table.roleColumn(TabularRole::F1), table.formantColumn(2),
                             table.formantColumn(3)),
                  std::tuple(c.vowel, c.speaker, c.f0, c.f1, c.f2, c.f3))
            << c.header;
    }

    const std::string text = "speaker,vowel,word,group,F1,F2\ns1,i,bead,g1,300,2300\n";
    TabularReadOptions options;
    options.column(TabularRole::Vowel) = QStringLiteral("WORD");
    options.column(TabularRole::Speaker) = QStringLiteral("group");
    const TabularReadResult read = parse(text, options);
    ASSERT_TRUE(read.ok()) << read.message.toStdString();
    EXPECT_EQ(read.table.vowel(0), "bead");
    EXPECT_EQ(read.table.speaker(0), "g1");

    // A vowel column found only through the choice.
    options = {};
    options.column(TabularRole::Vowel) = QStringLiteral("word");
    EXPECT_TRUE(parse("word,F1,F2\nbead,300,2300\n", options).ok());

    options.column(TabularRole::Vowel) = QStringLiteral("token");
    const TabularReadResult unknown = parse(text, options);
    EXPECT_EQ(unknown.status, TabularReadResult::Status::UnknownColumn);
    EXPECT_TRUE(unknown.message.contains(QStringLiteral("\"token\"")));
    EXPECT_TRUE(unknown.message.contains(QStringLiteral("speaker, vowel, word, group, F1, F2")));
}

TEST(TabularReader, RefusesWithAMessageNamingTheHeader)
{
    const TabularReadResult noRoles = parse("talker;vowl;F1;F3\nm;i;300;2900\n");
    EXPECT_EQ(noRoles.status, TabularReadResult::Status::NoColumns);
    EXPECT_TRUE(noRoles.message.contains(QStringLiteral("F2, vowel")));
    EXPECT_TRUE(noRoles.message.contains(QStringLiteral("talker, vowl, F1, F3")));
    EXPECT_EQ(noRoles.table.rowCount(), 0);

    const TabularReadResult unclosed = parse("vowel,F1,F2\ni,300,2300\n\"a,700,1200\n");
    EXPECT_EQ(unclosed.status, TabularReadResult::Status::UnclosedQuote);
    EXPECT_TRUE(unclosed.message.contains(QStringLiteral("line 3")));

    // One damaged row as wide as ten thousand columns, below ten thousand rows: refused,
    // rather than padding every row out to a hundred million cells.
    std::string ragged = "vowel,F1,F2\n";
    for (int row = 0; row < 10000; ++row)
        ragged += "i,300,2300\n";
    ragged += std::string(10000, ',') + "\n";
    const TabularReadResult tooWide = parse(ragged);
    EXPECT_EQ(tooWide.status, TabularReadResult::Status::TooRagged);
    EXPECT_TRUE(tooWide.message.contains(QStringLiteral("line 10002")));

    EXPECT_EQ(parse("\xEF\xBB\xBF\r\n\n").status, TabularReadResult::Status::Empty);
    EXPECT_EQ(LoadTokenFile(QStringLiteral("/nonexistent/a.csv")).status,
              TokenFile::Status::OpenFailed);
}

TEST(TabularWriter, SavesAddedColumnsAndEditsSafely)
{
    TestFiles files;
    TabularTable table = parse("vowel\tF1\tF2\tnote\ni\t300\t2300\tfirst\na\t700\tNA\t\n").table;
    const int added = table.appendColumn("F1_lobanov");
    table.setCell(0, added, "-1");
    table.setCell(1, added, "1");
    table.setCell(1, 2, "1200");
    table.setCell(5, 0, "out of range");
    EXPECT_EQ(table.missingCount(2), 0);
    const QString path = files.path(QStringLiteral("out.tsv"));
    ASSERT_FALSE(WriteTabularFile(path, table).isError());
    EXPECT_EQ(TestFiles::read(path), "vowel\tF1\tF2\tnote\tF1_lobanov\ni\t300\t2300\tfirst\t-1\n"
                                     "a\t700\t1200\t\t1\n");
    EXPECT_TRUE(WriteTabularFile(files.path(QStringLiteral("missing/out.tsv")), table).isError());
}

TEST(TabularFormantFile, BecomesATableWithTheLabelAsVowel)
{
    // A heading line that looks like a table header, then tokens, one with F4.
    const std::string text = "F1 F2 F3 vowel\r\n300 2300 3000 \"i\"\r\n700 1200 \"a\"\r\n"
                             "350 800 2400 3300 \"u\"\r\n";
    const TabularReadResult read = TabularFromFormantText(text);
    ASSERT_TRUE(read.ok()) << read.message.toStdString();
    const TabularTable &table = read.table;
    ASSERT_EQ(std::pair(table.rowCount(), table.columnCount()), std::pair(3, 5));
    EXPECT_EQ(table.header(3), "F4");
    EXPECT_EQ(table.vowel(1), "a");
    EXPECT_EQ(table.speakerColumn(), -1);
    EXPECT_EQ(table.formant(2, 4), 3300.0);
    EXPECT_EQ(table.missingCount(3), 1); // the line without F3
    EXPECT_EQ(table.missingCount(4), 2);
    expectRoundTrip(table);
}

} // namespace
