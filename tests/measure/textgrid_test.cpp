// The TextGrid reader: both text formats, the encodings, and damaged files named by line.

#include "measure/textgrid.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

const char kLong[] = R"(File type = "ooTextFile"
Object class = "TextGrid"

xmin = 0 
xmax = 2.5 
tiers? <exists> 
size = 2 
item []: 
    item [1]:
        class = "IntervalTier" 
        name = "vowel" 
        xmin = 0 
        xmax = 2.5 
        intervals: size = 3 
        intervals [1]:
            xmin = 0 
            xmax = 1 
            text = "" 
        intervals [2]:
            xmin = 1 
            xmax = 1.5 
            text = "say ""é"" ✓" 
        intervals [3]:
            xmin = 1.5 
            xmax = 2.5 
            text = "" 
    item [2]:
        class = "TextTier" 
        name = "bell" 
        xmin = 0 
        xmax = 2.5 
        points: size = 1 
        points [1]:
            number = 1.25 
            mark = "ding" 
)";

const char kShort[] = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n2.5\n"
                      "<exists>\n2\n\"IntervalTier\"\n\"vowel\"\n0\n2.5\n3\n0\n1\n\"\"\n1\n1.5\n"
                      "\"say \"\"é\"\" ✓\"\n1.5\n2.5\n\"\"\n\"TextTier\"\n\"bell\"\n0\n2.5\n1\n"
                      "1.25\n\"ding\"\n";

void expectSample(const TextGridReadResult &result)
{
    ASSERT_TRUE(result.ok()) << result.error.toStdString() << " line " << result.line;
    const TextGrid &grid = result.grid;
    EXPECT_EQ(grid.end, 2.5);
    ASSERT_EQ(grid.tiers.size(), 2u);
    const TextGridTier &vowel = grid.tiers[0];
    EXPECT_EQ(vowel.name, QStringLiteral("vowel"));
    EXPECT_TRUE(vowel.intervals);
    ASSERT_EQ(vowel.items.size(), 3u);
    EXPECT_EQ(vowel.items[1].start, 1.0);
    EXPECT_EQ(vowel.items[1].end, 1.5);
    EXPECT_EQ(vowel.items[1].text, QStringLiteral("say \"é\" ✓"));
    EXPECT_EQ(vowel.labelAt(1.2), vowel.items[1].text);
    EXPECT_EQ(vowel.labelAt(2.5), QString()); // the last interval, which is empty
    const TextGridTier &bell = grid.tiers[1];
    EXPECT_FALSE(bell.intervals);
    ASSERT_EQ(bell.items.size(), 1u);
    EXPECT_EQ(bell.items[0].start, 1.25);
    EXPECT_EQ(bell.items[0].text, QStringLiteral("ding"));
    EXPECT_EQ(grid.findTier(QStringLiteral("BELL")), &bell);
}

TEST(TextGrid, LongAndShortFormatsReadAlike)
{
    expectSample(ParseTextGrid(QByteArray(kLong)));
    expectSample(ParseTextGrid(QByteArray(kShort)));
    // Windows line ends and a UTF-8 byte-order mark change nothing.
    QByteArray crlf = QByteArray("\xEF\xBB\xBF") + QByteArray(kLong);
    crlf.replace("\n", "\r\n");
    expectSample(ParseTextGrid(crlf));
}

TEST(TextGrid, Utf16WithByteOrderMarkInBothOrders)
{
    const QString text = QString::fromUtf8(kLong);
    QStringEncoder little(QStringEncoder::Utf16LE);
    QStringEncoder big(QStringEncoder::Utf16BE);
    expectSample(ParseTextGrid(QByteArray("\xFF\xFE") + QByteArray(little.encode(text))));
    expectSample(ParseTextGrid(QByteArray("\xFE\xFF") + QByteArray(big.encode(text))));
}

TEST(TextGrid, Latin1LabelsSurvive)
{
    QByteArray bytes(kShort);
    bytes.replace("\"ding\"", "\"caf\xE9\"");
    bytes.replace("say \"\"\xC3\xA9\"\" \xE2\x9C\x93", "x");
    const TextGridReadResult result = ParseTextGrid(bytes);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.grid.tiers[1].items[0].text, QStringLiteral("café"));
}

TEST(TextGrid, AbsentTiersAreAnEmptyGrid)
{
    const TextGridReadResult result =
        ParseTextGrid("File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n0\n1\n<absent>\n");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.grid.tiers.empty());
}

struct FaultCase
{
    const char *name;
    QByteArray bytes;
    int line;
    const char *words; // part of the message
};

// By name: gtest would otherwise print the case's bytes, padding and all.
void PrintTo(const FaultCase &c, std::ostream *out)
{
    *out << c.name;
}

class TextGridFault : public testing::TestWithParam<FaultCase>
{
};

TEST_P(TextGridFault, IsRefusedWithItsLine)
{
    const FaultCase &c = GetParam();
    const TextGridReadResult result = ParseTextGrid(c.bytes);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.line, c.line) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(QLatin1String(c.words))) << result.error.toStdString();
    EXPECT_TRUE(result.grid.tiers.empty());
}

QByteArray replaced(const char *text, const char *from, const char *to)
{
    return QByteArray(text).replace(from, to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextGridFault,
    testing::Values(
        FaultCase{"empty", "", 1, "ends where"},
        FaultCase{"notTextGrid", "File type = \"ooTextFile\"\nObject class = \"Sound\"\n", 2,
                  "not a TextGrid"},
        FaultCase{"binary", "File type = \"ooBinaryFile\"\n", 1, "binary"},
        FaultCase{"unclosedQuote",
                  replaced(kLong, "text = \"\" \n        intervals [2]",
                           "text = \" \n        intervals [2]"),
                  35, "not closed"},
        FaultCase{"truncated", QByteArray(kLong).left(QByteArray(kLong).indexOf("intervals [3]")),
                  14, "ends before"},
        FaultCase{"hugeCount", replaced(kShort, "\n3\n0\n1\n", "\n3000000000\n0\n1\n"), 12,
                  "ends before"},
        FaultCase{"backwards",
                  replaced(kLong, "xmax = 1.5 \n            text = \"say",
                           "xmax = 0.5 \n            text = \"say"),
                  20, "before it starts"},
        FaultCase{"notANumber", replaced(kShort, "\n1.25\n", "\n1.2.5\n"), 27, "not a number"},
        FaultCase{"badClass", replaced(kShort, "\"TextTier\"", "\"PointTier\""), 22,
                  "unknown tier class"},
        FaultCase{"fractionalCount", replaced(kShort, "<exists>\n2\n", "<exists>\n1.5\n"), 7,
                  "whole number"}),
    [](const testing::TestParamInfo<FaultCase> &param) { return std::string(param.param.name); });

} // namespace
