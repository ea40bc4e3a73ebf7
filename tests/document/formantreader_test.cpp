// The Formant file reader: how lines become records, and its limits.

#include "formantreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase
{
    const char *name;
    std::string line;
    std::vector<int> formants; // expected F1.. (the rest must be 0); empty = not a token line
    std::string label;
};

void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string labelOf(const FormantRecord &record)
{
    return std::string(record.label.data(), std::size_t(record.labelLength));
}

class ReaderLine : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(ReaderLine, GivesFormantsAndLabel)
{
    const LineCase &c = GetParam();
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult result = ParseFormantText(c.line + "\r\n", records);
    ASSERT_EQ(result.status, FormantReadResult::Status::Ok);
    if (c.formants.empty()) {
        EXPECT_EQ(result.tokenCount, 0);
        return;
    }
    ASSERT_EQ(result.tokenCount, 1);
    for (std::size_t i = 0; i < 5; ++i) {
        const int expected = i < c.formants.size() ? c.formants[i] : 0;
        EXPECT_EQ(records[0].formants[i], expected) << "formant " << i + 1;
    }
    EXPECT_EQ(labelOf(records[0]), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    DocumentedExamples, ReaderLine,
    ::testing::Values(
        LineCase{"tabs", "500\t1500\t2500\t\"i\"\t", {500, 1500, 2500}, "i"},
        LineCase{
            "fiveFormants", "310 2020 2960 3500 4200 \"i:\"", {310, 2020, 2960, 3500, 4200}, "i:"},
        LineCase{"bareLetter", "500 1500 2500 a", {500, 1500, 2500}, "a"},
        LineCase{"slashes", "500 1500 2500 /a/", {500, 1500, 2500}, "/"},
        LineCase{"doubleBlanks", "500  1500  2500  \"a\"", {500, 1500}, "a"},
        LineCase{"lastNumberUnended", "500 1500 2500", {500, 1500}, ""},
        LineCase{"decimals", "500.5 1500.2 2500 \"e\"", {500, 1500}, "e"},
        LineCase{"commas", "500,1500,2500,\"o\"", {500, 1500, 2500}, "o"},
        LineCase{"shortNumberFirst", "80 500 1500 \"u\"", {500, 1500}, "u"},
        LineCase{"quoteRightAfterNumber", "500 1500\"a\"", {500, 1500}, ""},
        LineCase{"labelFirst", "\"a\" 500 1500 2500 ", {500, 1500, 2500}, ""},
        LineCase{"unclosedQuote", "500 1500 \"a", {500, 1500}, ""},
        LineCase{"heading", "F1 F2 F3 vowel", {}, ""}, LineCase{"oneNumber", "123 \"x\"", {}, ""},
        LineCase{"longFraction", "500.555 1500 \"e\"", {500, 555, 1500}, "e"},
        LineCase{"separatorsThenQuote", "500 1500 2500  3000 \"a\"", {500, 1500, 2500}, "a"},
        LineCase{"blankBeforeLetter", "500 1500 \t  x", {500, 1500}, "x"},
        LineCase{"nothingAfterLabelPoint", "500 1500   ", {500, 1500}, ""},
        LineCase{"leadingZeros", "0500 01500 \"a\"", {500, 1500}, "a"},
        // Decided limits of the record layout.
        LineCase{"sixthFormantSkipped",
                 "1 100 200 300 400 500 600 700 \"a\"",
                 {100, 200, 300, 400, 500},
                 "a"},
        LineCase{"saturates",
                 "99999999999999999999999999999999999999 1500 \"a\"",
                 {2147483647, 1500},
                 "a"},
        LineCase{"unquotedUtf8IsOneCharacter",
                 "500 1500 2500 \xC9\x99\xCB\x90",
                 {500, 1500, 2500},
                 "\xC9\x99"},
        LineCase{"quotedIpa", "500 1500 \"\xC9\x94\xCB\x90\"", {500, 1500}, "\xC9\x94\xCB\x90"},
        LineCase{"invalidUtf8Byte", "500 1500 \xFF\xFE", {500, 1500}, "\xFF"}),
    [](const auto &info) { return std::string(info.param.name); });

std::vector<FormantRecord> parse(const std::string &text, FormantReadResult *result = nullptr)
{
    std::vector<FormantRecord> records(FormantLimits::kRecords);
    const FormantReadResult r = ParseFormantText(text, records);
    if (result)
        *result = r;
    records.resize(std::size_t(r.tokenCount));
    return records;
}

bool sameRecords(const std::vector<FormantRecord> &a, const std::vector<FormantRecord> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].formants != b[i].formants || a[i].label != b[i].label ||
            a[i].labelLength != b[i].labelLength)
            return false;
    }
    return true;
}

TEST(ReaderLines, CrLfLfAndCrGiveTheSameRecords)
{
    const std::string crlf = "heading\r\n500 1500 2500 \"a\"\r\n\r\n300 2200 2900 \"i\"\r\n";
    std::string lf = crlf, cr = crlf;
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    const auto a = parse(crlf);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_TRUE(sameRecords(a, parse(lf)));
    EXPECT_TRUE(sameRecords(a, parse(cr)));
    EXPECT_TRUE(sameRecords(a, parse("\n\n\r\r" + lf + "\n\n")));
}

TEST(ReaderLines, QuotedLabelKeepsClosingQuoteAfterItsBytes)
{
    const auto records = parse("500 1500 \"ae\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 2);
    EXPECT_EQ(records[0].label[2], '"');
    EXPECT_EQ(records[0].label[3], '\0');
}

TEST(ReaderLines, LastLineWithoutLineEndIsRead)
{
    const auto records = parse("500 1500 \"a\"\n600 1600 \"b\"");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].formants[0], 600);
    EXPECT_EQ(labelOf(records[1]), "b");
}

TEST(ReaderLines, NonTokenLinesLeaveNoTrace)
{
    // The lone F1 of a one-number line must not leak into the next record.
    const auto records = parse("777 \"x\"\n500 1500 \"a\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].formants[0], 500);
}

TEST(ReaderLimits, LongLineIsReadToItsThousandthByte)
{
    // The label's closing quote sits past byte 1,000, so only the formants survive.
    std::string line = "500 1500 2500 " + std::string(990, ' ') + "\"late\"";
    auto records = parse(line + "\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 0);
    EXPECT_EQ(records[0].formants[2], 2500);

    // F2 straddles byte 1,000, so it is an unended run and the line is no token line.
    std::string straddling = "500 " + std::string(994, ',') + "1500 \"a\"";
    records = parse(straddling + "\n600 1600 \"b\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(labelOf(records[0]), "b");
}

TEST(ReaderLimits, LabelIsCutTo255BytesAtACharacterBoundary)
{
    std::string ascii(300, 'x');
    auto records = parse("500 1500 \"" + ascii + "\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 255);
    EXPECT_EQ(records[0].label[255], '"');

    // 127 two-byte characters fill 254 bytes; the 128th would split at byte 255.
    std::string twoByte;
    for (int i = 0; i < 140; ++i)
        twoByte += "\xC9\x99";
    records = parse("500 1500 \"" + twoByte + "\"\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].labelLength, 254);
    EXPECT_EQ(labelOf(records[0]), twoByte.substr(0, 254));
}

TEST(ReaderLimits, AcceptsExactly9998TokenLines)
{
    std::string text = "F1 F2 label\n";
    for (int i = 0; i < FormantLimits::kTokenLines; ++i)
        text += std::to_string(300 + i % 500) + "\t1500\t2500\t\"a\"\t\r\n\r\n7\n";
    FormantReadResult result;
    const auto records = parse(text, &result);
    EXPECT_EQ(result.status, FormantReadResult::Status::Ok);
    EXPECT_EQ(result.tokenCount, 9998);

    std::vector<FormantRecord> all(FormantLimits::kRecords);
    result = ParseFormantText(text + "400 1400 \"b\"\n", all);
    EXPECT_EQ(result.status, FormantReadResult::Status::TooLong);
    for (const FormantRecord &record : all)
        ASSERT_EQ(record.formants[0], 0) << "a refused file leaves nothing behind";
}

TEST(ReaderLimits, ArbitraryBytesStayWithinTheRecordLayout)
{
    std::string text;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        const char pool[] = "0123456789012345678 \t\",.\r\n\xC3\xA9\x80";
        text += pool[(state >> 16) % (sizeof pool - 1)];
    }
    FormantReadResult result;
    const auto records = parse(text, &result);
    for (const FormantRecord &record : records) {
        ASSERT_GE(record.labelLength, 0);
        ASSERT_LE(record.labelLength, FormantLimits::kLabelBytes);
        for (int f : record.formants)
            ASSERT_GE(f, 0);
    }
}

} // namespace
