// The Formant file reader: how lines become records, and its limits.

#include "document/formantreader.h"

#include <gtest/gtest.h>

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

struct LineCase
{
    const char *name;
    std::string line;
    std::vector<int> formants; // F1.. (the rest must be 0); empty = not a token line
    std::string label;
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReaderLine : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(ReaderLine, GivesFormantsAndLabel)
{
    const LineCase &c = GetParam();
    const auto records = parse(c.line + "\r\n");
    ASSERT_EQ(records.size(), c.formants.empty() ? 0u : 1u);
    if (c.formants.empty())
        return;
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(records[0].formants[i], i < c.formants.size() ? c.formants[i] : 0) << i + 1;
    EXPECT_EQ(labelOf(records[0]), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReaderLine,
    ::testing::Values(
        LineCase{"tabs", "500\t1500\t2500\t\"i\"\t", {500, 1500, 2500}, "i"},
        LineCase{"five", "310 2020 2960 3500 4200 \"i:\"", {310, 2020, 2960, 3500, 4200}, "i:"},
        LineCase{
            "sixthSkipped", "1 100 200 300 400 500 600 700 \"a\"", {100, 200, 300, 400, 500}, "a"},
        LineCase{"bareLetter", "500 1500 2500 a", {500, 1500, 2500}, "a"},
        LineCase{"slashes", "500 1500 2500 /a/", {500, 1500, 2500}, "/"},
        LineCase{"doubleBlanks", "500  1500  2500  \"a\"", {500, 1500}, "a"},
        LineCase{"lastNumberUnended", "500 1500 2500", {500, 1500}, ""},
        LineCase{"decimals", "500.5 1500.2 2500 \"e\"", {500, 1500}, "e"},
        LineCase{"longFraction", "500.555 1500 \"e\"", {500, 555, 1500}, "e"},
        LineCase{"commas", "500,1500,2500,\"o\"", {500, 1500, 2500}, "o"},
        LineCase{"shortNumberFirst", "80 500 1500 \"u\"", {500, 1500}, "u"},
        LineCase{"quoteRightAfterNumber", "500 1500\"a\"", {500, 1500}, ""},
        LineCase{"labelFirst", "\"a\" 500 1500 2500 ", {500, 1500, 2500}, ""},
        LineCase{"unclosedQuote", "500 1500 \"a", {500, 1500}, ""},
        LineCase{"heading", "F1 F2 F3 vowel", {}, ""},
        LineCase{"unquotedUtf8", "500 1500 2500 \xC9\x99\xCB\x90", {500, 1500, 2500}, "\xC9\x99"},
        LineCase{"quotedIpa", "500 1500 \"\xC9\x94\xCB\x90\"", {500, 1500}, "\xC9\x94\xCB\x90"}),
    [](const auto &info) { return std::string(info.param.name); });

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
