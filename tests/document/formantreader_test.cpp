// The Formant file reader: how lines become records, and its limits.

#include "document/formantreader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

std::string labelOf(const FormantRecord &record)
{
    return record.label.substr(0, std::size_t(record.labelLength));
}

std::vector<FormantRecord> parse(const std::string &text, FormantReadResult *result = nullptr)
{
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult r = ParseFormantText(text, records);
    if (result)
        *result = r;
    records.resize(std::size_t(r.tokenCount));
    return records;
}

// Each line alone in a file: its F1.. (the rest must be 0) and label; no formants = no token.
TEST(ReaderLines, EachKindOfLineGivesItsFormantsAndLabel)
{
    struct Case
    {
        std::string line;
        std::vector<int> formants;
        std::string label;
    };
    for (const Case &c : {
             Case{"500\t1500\t2500\t\"i\"\t", {500, 1500, 2500}, "i"},
             Case{"310 2020 2960 3500 4200 \"i:\"", {310, 2020, 2960, 3500, 4200}, "i:"},
             Case{"1 100 200 300 400 500 600 700 \"a\"", {100, 200, 300, 400, 500}, "a"},
             Case{"500 1500 2500 a", {500, 1500, 2500}, "a"},
             Case{"500 1500 2500 /a/", {500, 1500, 2500}, "/"},
             Case{"500  1500  2500  \"a\"", {500, 1500}, "a"},
             Case{"500 1500 2500", {500, 1500}, ""},
             Case{"500.5 1500.2 2500 \"e\"", {500, 1500}, "e"},
             Case{"500.555 1500 \"e\"", {500, 555, 1500}, "e"},
             Case{"500,1500,2500,\"o\"", {500, 1500, 2500}, "o"},
             Case{"80 500 1500 \"u\"", {500, 1500}, "u"},
             Case{"500 1500\"a\"", {500, 1500}, ""},
             Case{"\"a\" 500 1500 2500 ", {500, 1500, 2500}, ""},
             Case{"500 1500 \"a", {500, 1500}, ""},
             Case{"F1 F2 F3 vowel", {}, ""},
             Case{"500 1500 2500 \xC9\x99\xCB\x90", {500, 1500, 2500}, "\xC9\x99"},
             Case{"500 1500 \"\xC9\x94\xCB\x90\"", {500, 1500}, "\xC9\x94\xCB\x90"},
         }) {
        SCOPED_TRACE(c.line);
        const auto records = parse(c.line + "\r\n");
        ASSERT_EQ(records.size(), c.formants.empty() ? 0u : 1u);
        if (c.formants.empty())
            continue;
        std::array<std::int32_t, 5> expected{};
        std::copy(c.formants.begin(), c.formants.end(), expected.begin());
        EXPECT_EQ(records[0].formants, expected);
        EXPECT_EQ(labelOf(records[0]), c.label);
    }
}

TEST(ReaderLines, LineEndsOfEveryKindAndAnUnendedLastLineGiveTheSameRecords)
{
    const std::string crlf = "heading\r\n500 1500 2500 \"a\"\r\n\r\n300 2200 2900 \"i\"\r\n";
    std::string lf = crlf, cr = crlf;
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    const auto expected = parse(crlf);
    ASSERT_EQ(expected.size(), 2u);
    for (const std::string &text :
         {lf, cr, "\n\n\r\r" + lf + "\n\n", lf.substr(0, lf.size() - 1)}) {
        const auto records = parse(text);
        ASSERT_EQ(records.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(records[i].formants, expected[i].formants);
            EXPECT_EQ(labelOf(records[i]), labelOf(expected[i]));
        }
    }
    // The lone F1 of a one-number line must not leak into the next record.
    EXPECT_EQ(parse("777 \"x\"\n500 1500 \"a\"\n").at(0).formants[0], 500);
}

TEST(ReaderLimits, LinesAreReadToTheirThousandthByteAndLabelsCutAtACharacter)
{
    // The label's closing quote sits past byte 1,000, so only the formants survive.
    auto records = parse("500 1500 2500 " + std::string(990, ' ') + "\"late\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 0);
    EXPECT_EQ(records[0].formants[2], 2500);

    // F2 straddles byte 1,000, so it is an unended run and the line is no token line.
    records = parse("500 " + std::string(994, ',') + "1500 \"a\"\n600 1600 \"b\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(labelOf(records[0]), "b");

    records = parse("500 1500 \"" + std::string(300, 'x') + "\"\n");
    EXPECT_EQ(records.at(0).labelLength, 255);

    // 127 two-byte characters fill 254 bytes; the 128th would split at byte 255.
    std::string twoByte;
    for (int i = 0; i < 140; ++i)
        twoByte += "\xC9\x99";
    records = parse("500 1500 \"" + twoByte + "\"\n");
    EXPECT_EQ(labelOf(records.at(0)), twoByte.substr(0, 254));
}

TEST(ReaderLimits, Accepts9998TokenLinesAndRefuses9999LeavingNothing)
{
    std::string text = "F1 F2 label\n";
    for (int i = 0; i < FormantLimits::kTokenLines; ++i)
        text += std::to_string(300 + i % 500) + "\t1500\t2500\t\"a\"\t\r\n\r\n7\n";
    FormantReadResult result;
    parse(text, &result);
    EXPECT_EQ(result.status, FormantReadResult::Status::Ok);
    EXPECT_EQ(result.tokenCount, 9998);

    std::vector<FormantRecord> all(FormantLimits::kRecords);
    result = ParseFormantText(text + "400 1400 \"b\"\n", all);
    EXPECT_EQ(result.status, FormantReadResult::Status::TooLong);
    for (const FormantRecord &record : all)
        ASSERT_EQ(record.formants[0], 0) << "a refused file leaves nothing behind";
}

} // namespace
