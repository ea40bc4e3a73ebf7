// The one loader every command and the program open files with: which files are tables,
// how their bytes are decoded, which columns take which role, and which values are missing
// or refused.

#include "document/tabularroles.h"
#include "document/tabularwriter.h"
#include "document/tokenfile.h"

#include "testfiles.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TokenFile load(const QByteArray &bytes, const char *name = "tokens.txt",
               const TokenFileOptions &options = {})
{
    return LoadTokenText(bytes, QString::fromLatin1(name), options);
}

QString warnings(const TokenFile &file)
{
    return file.warnings.join(QLatin1Char('\n'));
}

// Tables saved as .txt by spreadsheets, R and phonetics programs were once read as Formant
// files: nothing, or numbers taken from the wrong places.
TEST(TokenFile, TheKindFollowsTheNameThenTheContent)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        TabularFileKind kind;
    };
    const Case cases[] = {
        {"a.txt", "vowel\tF1\tF2\ni\t300\t2300\n", TabularFileKind::Table},
        {"a.dat", "\r\n\xEF\xBB\xBFsep=,\r\nvowel,F1 (Hz),F2 (Hz)\r\ni,300,2300\r\n",
         TabularFileKind::Table},
        {"a.txt", "\"\"\t\"vowel\"\t\"F1\"\t\"F2\"\n\"1\"\t\"i\"\t300\t2300\n",
         TabularFileKind::Table},
        {"a.txt", "vowel,F1_50,F2_50\ni,300,2300\n", TabularFileKind::Table},
        // A heading above token lines is a Formant file's comment.
        {"a.txt", "F1\tF2\tF3\tvowel\n300\t2300\t2900\t\"i\"\n", TabularFileKind::Formant},
        {"a.txt", "F1 F2 F3 vowel\n300 2300 2900 i\n", TabularFileKind::Formant},
        {"a.txt", "300 2300 \"i\"\n", TabularFileKind::Formant},
        // The name wins over the content.
        {"a.CSV", "300 2300 \"i\"\n", TabularFileKind::Table},
    };
    for (const Case &c : cases)
        EXPECT_EQ(load(c.bytes, c.name).kind, c.kind) << c.bytes.toStdString();

    TokenFileOptions formant;
    formant.kind = TabularFileKind::Formant;
    EXPECT_EQ(load("vowel\tF1\tF2\ni\t300\t2300\n", "a.tsv", formant).kind,
              TabularFileKind::Formant);
}

TEST(TokenFile, Utf16TextIsDecodedAndWrittenBackAsItCame)
{
    const QString text = QStringLiteral("speaker\tvowel\tF1\tF2\r\nZoë\tɑ\t750\t1150\r\n");
    for (auto encoding : {QStringEncoder::Utf16LE, QStringEncoder::Utf16BE}) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        const QByteArray bytes = encoder(text);
        const TokenFile file = load(bytes, "unicode.txt");
        ASSERT_TRUE(file.ok()) << file.report().toStdString();
        EXPECT_EQ(file.table.speaker(0), "Zo\xC3\xAB");
        EXPECT_EQ(file.table.vowel(0), "\xC9\x91");
        EXPECT_EQ(file.table.formant(0, 1), 750.0);
        EXPECT_EQ(FormatTabularText(file.table), bytes);
    }
}

TEST(TokenFile, HeaderNamesFindTheirRolesAndPoints)
{
    struct Case
    {
        std::string header;
        int vowel, speaker, f1, f2;
    };
    for (const Case &c : {
             Case{"speaker_id,vowel,F1,F2", 1, 0, 2, 3},
             Case{"SpeakerID,Vowel,F1(Hz),F2 [Hz]", 1, 0, 2, 3},
             Case{"Talker Code,label,f1.hz,F2_Hz", 1, 0, 2, 3},
             Case{"name,vowel,F1,F2", 1, -1, 2, 3}, // "name" alone names nothing
             // The 50% point, or the point nearest the middle, stands for a formant.
             Case{"vowel,F1_20,F1_50,F1_80,F2_20,F2_80", 0, -1, 2, 4},
             Case{"vowel,F1@20%,F1@50%,F2.mid", 0, -1, 2, 3},
             // A plain column wins over points.
             Case{"vowel,F1_50,F1,F2", 0, -1, 2, 3},
         }) {
        const TokenFile file = load(QByteArray::fromStdString(c.header + "\n"), "t.csv");
        ASSERT_TRUE(file.ok()) << c.header << ": " << file.report().toStdString();
        const TabularTable &table = file.table;
        EXPECT_EQ(std::tuple(table.vowelColumn(), table.speakerColumn(), table.formantColumn(1),
                             table.formantColumn(2)),
                  std::tuple(c.vowel, c.speaker, c.f1, c.f2))
            << c.header;
    }
    EXPECT_FALSE(ParseTabularPoint("F12").has_value());
    EXPECT_FALSE(ParseTabularPoint("F1_Hz").has_value());
    const std::optional<TabularPointColumn> spaced = ParseTabularPoint(" F2 - 80 % ");
    ASSERT_TRUE(spaced.has_value());
    EXPECT_EQ(std::pair(spaced->formant, spaced->percent), std::pair(2, 80));

    // Every point column is there for trajectories, in header order.
    const TokenFile points = load("vowel,F1_20,F1_50,F1_80,F2\ni,310,300,0,2300\n", "p.csv");
    ASSERT_EQ(points.table.pointColumns().size(), 3u);
    const TabularPointColumn last = points.table.pointColumns()[2];
    EXPECT_EQ(std::pair(last.formant, last.percent), std::pair(1, 80));
    EXPECT_TRUE(std::isnan(points.table.pointValue(0, last)));
    EXPECT_EQ(points.table.pointValue(0, points.table.pointColumns()[0]), 310.0);

    // Named columns override the guess, for the formants too.
    TokenFileOptions chosen;
    chosen.columns.column(TabularRole::F1) = QStringLiteral("f1_late");
    chosen.columns.column(TabularRole::Speaker) = QStringLiteral("who");
    const TokenFile named = load("who,vowel,F1,f1_late,F2\nm,i,300,320,2300\n", "n.csv", chosen);
    ASSERT_TRUE(named.ok());
    EXPECT_EQ(named.table.formant(0, 1), 320.0);
    EXPECT_EQ(named.table.speaker(0), "m");
    chosen.columns.column(TabularRole::F2) = QStringLiteral("F2x");
    const TokenFile unknown = load("who,vowel,F1,f1_late,F2\nm,i,300,320,2300\n", "n.csv", chosen);
    EXPECT_EQ(unknown.status, TokenFile::Status::Refused);
    EXPECT_TRUE(unknown.message.contains("\"F2x\" given for F2"));
}

// Decimal commas were dropped cell by cell, "2.300" was read as 2.3 Hz, and a tracker's 0
// counted as 0 Hz in the statistics.
TEST(TokenFile, OneRuleForNumbersAndMissingValues)
{
    const TokenFile tabs =
        load("vowel\tF1\tF2\tF3\ni\t312,5\t2290.25\t0\na\tNA\t--undefined--\t12000\n"
             "u\t-5\t\tabc\n",
             "t.tsv");
    ASSERT_TRUE(tabs.ok()) << tabs.report().toStdString();
    EXPECT_EQ(tabs.table.formant(0, 1), 312.5);
    EXPECT_EQ(tabs.table.formant(0, 2), 2290.25);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(std::isnan(tabs.table.formant(row, 3))) << row;
    EXPECT_EQ(tabs.table.missingCount(1) + tabs.table.missingCount(2) + tabs.table.missingCount(3),
              7);
    EXPECT_TRUE(warnings(tabs).contains("7 values of F1, F2 or F3 are missing"));
    EXPECT_EQ(tabs.tokenCount, 3); // every token kept

    // Digits that may be grouped are refused with their row and column.
    for (const char *text : {"vowel;F1;F2\ni;300;2.300\n", "vowel;F1;F2\ni;300;1.234.567\n",
                             "vowel,F1,F2\ni,300,\"2,300.5\"\n", "vowel,F1,F2\ni,300,\"2,300\"\n",
                             "vowel\tF1\tF2\ni\t300,5\t2.300\n"}) {
        const TokenFile file = load(text, "g.csv");
        EXPECT_EQ(file.status, TokenFile::Status::Refused) << text;
        EXPECT_TRUE(file.message.contains("row 1 below the header, column \"F2\"")) << text;
    }
    // A point elsewhere in the file shows "2.300" is a decimal; a decimal comma elsewhere
    // shows "2,300" is one.
    EXPECT_EQ(load("vowel;F1;F2\ni;300.25;2.300\n", "d.csv").table.formant(0, 2), 2.3);
    EXPECT_EQ(load("vowel;F1;F2\ni;300,25;2,300\n", "d.csv").table.formant(0, 2), 2.3);
}

TEST(TokenFile, WarningsSayWhatTheUserShouldKnow)
{
    const TokenFile oneSpeaker = load("vowel,F1,F2\ni,300,2300\n", "t.csv");
    EXPECT_TRUE(warnings(oneSpeaker).contains("taken as one speaker"));
    EXPECT_TRUE(warnings(oneSpeaker).contains("speaker_id"));
    const TokenFile twice = load("speaker,vowel,F1,F2,f1\nm,i,300,2300,999\n", "t.csv");
    EXPECT_EQ(twice.table.formant(0, 1), 300.0);
    EXPECT_TRUE(warnings(twice).contains("more than one column named \"F1\""));
    // A Formant file has no speakers to look for.
    EXPECT_TRUE(load("300 2300 \"i\"\n").warnings.isEmpty());
    EXPECT_TRUE(load("speaker,vowel,F1,F2\nm,i,300,2300\n", "t.csv").warnings.isEmpty());
}

TEST(TokenFile, RowNamesBeforeTheNamedColumnsMoveTheNamesRight)
{
    // R writes a header without a field for its row names.
    const TokenFile r =
        load("\"vowel\" \"F1\" \"F2\"\n\"1\" \"i\" 300 2300\n\"2\" \"a\" 700 NA\n", "r.txt");
    ASSERT_TRUE(r.ok()) << r.report().toStdString();
    EXPECT_EQ(r.table.vowel(1), "a");
    EXPECT_EQ(r.table.formant(0, 2), 2300.0);
    EXPECT_TRUE(std::isnan(r.table.formant(1, 2)));
    // A trailing separator on the rows is no row name.
    const TokenFile trailing = load("vowel,F1,F2\ni,300,2300,\n", "t.csv");
    EXPECT_EQ(trailing.table.vowel(0), "i");
}

} // namespace
