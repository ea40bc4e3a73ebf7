// The batch tool's one command-line parser and the value parsers its commands share,
// called in-process: every command takes its options through them, so a fault here would
// be a fault of every command.

#include "analysis/frequencyscale.h"
#include "analysis/tokencolumns.h"
#include "batch/batchoptions.h"
#include "batch/commandline.h"

#include <gtest/gtest.h>

namespace {

struct Parsed
{
    QString input, output, column;
    TokenFileOptions open;
    std::optional<FrequencyScale> scale;
    bool fit = false;
    QStringList labels;
};

bool parseInto(Parsed &p, const QStringList &args, QString *error = nullptr)
{
    CommandLine line;
    line.input(p.input)
        .output(p.output)
        .reading(p.open)
        .value<FrequencyScale>("--scale", p.scale, parseFrequencyScale)
        .flag("--fit", p.fit)
        .text("--group", p.column)
        .repeated("--label", [&p](const QString &text) {
            p.labels << text;
            return !text.isEmpty();
        });
    const bool ok = line.parse(args);
    if (error)
        *error = line.error();
    return ok;
}

TEST(CommandLine, TypedValuesLandWhereTheCommandBoundThem)
{
    Parsed p;
    // A value is the next word, even one that starts with a dash.
    ASSERT_TRUE(parseInto(p, {"--fit", "--speaker", "speaker_id", "in.txt", "--f1", "F1.mid",
                              "--format", "table", "--scale", "MEL", "--group", "-x", "--label",
                              "1=a", "--label", "2=b", "-o", "out.tsv"}));
    EXPECT_EQ(p.input, "in.txt");
    EXPECT_EQ(p.output, "out.tsv");
    EXPECT_TRUE(p.fit);
    EXPECT_EQ(p.scale, FrequencyScale::Mel);
    EXPECT_EQ(p.column, "-x");
    EXPECT_EQ(p.labels, (QStringList{"1=a", "2=b"}));
    EXPECT_EQ(p.open.kind, TabularFileKind::Table);
    EXPECT_EQ(p.open.columns.column(TabularRole::Speaker), "speaker_id");
    EXPECT_EQ(p.open.columns.column(TabularRole::F1), "F1.mid");
    EXPECT_TRUE(p.open.columns.column(TabularRole::Vowel).isEmpty());
}

TEST(CommandLine, UsageErrorsSayWhich)
{
    const struct
    {
        QStringList args;
        const char *error;
    } cases[] = {
        {{"in.txt", "--sise", "9"}, "unknown option --sise"},
        {{"in.txt", "--scale", "hz", "--scale", "mel"}, "--scale given twice"},
        {{"in.txt", "--scale"}, "--scale needs a value"},
        {{"in.txt", "--scale", "octaves"}, "--scale does not take \"octaves\""},
        {{"in.txt", "--format", "excel"}, "--format does not take \"excel\""},
        {{"in.txt", "--vowel", ""}, "--vowel does not take \"\""},
        {{"in.txt", "other.txt"}, "one FILE only, not also \"other.txt\""},
        {{"--fit"}, "FILE is missing"},
    };
    for (const auto &c : cases) {
        Parsed p;
        QString error;
        EXPECT_FALSE(parseInto(p, c.args, &error)) << c.args.join(' ').toStdString();
        EXPECT_EQ(error, QString::fromLatin1(c.error)) << c.args.join(' ').toStdString();
    }
}

TEST(CommandLine, ChartArgumentsAreCheckedAsAWhole)
{
    const auto check = [](const QStringList &args, QString &why) {
        ChartArguments arguments;
        CommandLine line;
        declareChartArguments(line, arguments, ChartChoices::Taken);
        why.clear();
        return line.parse(args) && checkChartArguments(line, arguments, why);
    };
    QString why;
    EXPECT_TRUE(check({"a.csv", "--plot", "f1f3", "--normalize", "Lobanov", "--formants", "f1, F3",
                       "-o", "c.png"},
                      why));
    EXPECT_FALSE(check({"a.csv", "-o", "c.png"}, why));
    EXPECT_EQ(why, "--plot is missing");
    EXPECT_FALSE(check({"a.csv", "--plot", "f1f2"}, why)); // -o is required
    EXPECT_FALSE(check(
        {"a.csv", "--plot", "f1f2", "--scale", "mel", "--normalize", "lobanov", "-o", "c.png"},
        why));
    EXPECT_EQ(why, "--scale and --normalize exclude each other");
    EXPECT_FALSE(check({"a.csv", "--plot", "f1f2", "--formants", "F1,F4", "-o", "c.png"}, why));
    EXPECT_FALSE(check({"a.csv", "--plot", "table", "-o", "c.pdf"}, why));
}

TEST(ValueParsers, OneGrammarEach)
{
    EXPECT_EQ(parseFormantList(" f1,F2 ,F3"),
              (std::vector<Formant>{Formant::F1, Formant::F2, Formant::F3}));
    for (const char *bad : {"", "F1,", "F6", "F1;F2", "1,2", "F12"})
        EXPECT_FALSE(parseFormantList(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(parseLabelChoice("12=a=b"), std::pair(12, QStringLiteral("a=b")));
    for (const char *bad : {"a", "=x", "-1=x", "1000=x"})
        EXPECT_FALSE(parseLabelChoice(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(parseBoundedInt("10000", 0, kMaxFormant), 10000);
    EXPECT_FALSE(parseBoundedInt("10001", 0, kMaxFormant));
    EXPECT_FALSE(parseBoundedInt("1e3", 0, kMaxFormant));
    EXPECT_EQ(parseChartKind("f1f3"), ChartKind::F1F3);
    EXPECT_FALSE(parseChartKind("F1F2"));
}

} // namespace
