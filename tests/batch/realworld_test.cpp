// Files as spreadsheets, R, a phonetics program and formant trackers write them, through the
// batch tool as a user runs it: each gives the right numbers, or a clear refusal (exit 1, a
// message naming the place, the file untouched). Each of them once gave wrong numbers with
// exit 0.

#include "batchrun.h"
#include "testfiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString fixture(const char *name)
{
    return TestFiles::fixture(QStringLiteral("realworld/") + QLatin1String(name));
}

// The statistics' group, n, mean_x and mean_y columns, one line per group.
QStringList means(const BatchRun &run)
{
    QStringList rows;
    for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1))
        rows << line.section(QLatin1Char('\t'), 0, 3);
    return rows;
}

BatchRun statsBySpeaker(const char *name)
{
    return runBatch({"stats", fixture(name), "--group", "speaker", "--scale", "hz"});
}

TEST(RealWorldFiles, EachGivesTheRightNumbers)
{
    struct Case
    {
        const char *file;
        QStringList expected; // group, n, mean F2, mean F1
        const char *warning;  // part of what standard error says, or ""
    };
    const Case cases[] = {
        // Windows-1252 names told apart by their accent; decimal commas; an empty F3.
        {"spreadsheet_de_sep_line.csv",
         {"Zoë\t3\t2250.1666666666665\t310.1666666666667", "Zoé\t3\t2550\t410"},
         "1 value of F1, F2 or F3 is missing"},
        // UTF-16 with speaker_id.
        {"spreadsheet_unicode_text.txt",
         {"f01\t3\t1416.6666666666667\t700", "f02\t1\t1250\t800"},
         ""},
        // Row names with no header field of their own; NA.
        {"r_write_table_tab.txt", {"m1\t2\t1560\t300", "w2\t1\t2800\t330"}, "1 value"},
        {"r_write_table_default.txt", {"s1\t2\t1750\t500", "s2\t1\t2400\t320"}, ""},
        // The tracker's 50% points stand for F1 and F2; its 0 elsewhere is no value.
        {"tracker_points.csv", {"m01\t3\t1450\t446.6666666666667"}, ""},
        {"tracker_points_named.tsv", {"m01\t2\t1750\t500"}, ""},
        {"measure_output.tsv", {"m01\t2\t1750.3\t501.8"}, ""},
        {"duplicate_header.csv", {"m01\t2\t1750\t500"}, "more than one column named \"F1\""},
    };
    for (const Case &c : cases) {
        const BatchRun run = statsBySpeaker(c.file);
        EXPECT_EQ(run.exitCode, 0) << c.file << ": " << run.err.toStdString();
        EXPECT_EQ(means(run), c.expected) << c.file;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.warning))) << c.file;
    }

    const BatchRun oneSpeaker = runBatch({"area", fixture("no_speaker.tsv")});
    EXPECT_TRUE(oneSpeaker.out.contains("no_speaker.tsv\t2\t")) << oneSpeaker.out.toStdString();
    EXPECT_TRUE(oneSpeaker.err.contains("taken as one speaker")) << oneSpeaker.err.toStdString();

    // Only --undefined-- is skipped: the point-decimal values are read as written.
    const BatchRun praat = runBatch(
        {"stats", fixture("praat_tab_separated.txt"), "--scale", "hz", "--group", "vowel"});
    EXPECT_EQ(means(praat), (QStringList{"i\t1\t2301.5\t290.12", "a\t1\t1199.5\t701.5"}));
    EXPECT_TRUE(praat.err.contains("1 token(s) skipped")) << praat.err.toStdString();
}

TEST(RealWorldFiles, DoubtfulFilesAreRefusedAndLeftUntouched)
{
    struct Case
    {
        const char *file;
        const char *message;
    };
    const Case cases[] = {
        {"spreadsheet_de_thousands.csv", "\"2.300\" in row 1 below the header, column \"F2\""},
        {"spreadsheet_en_grouped.csv", "\"2,300.5\" in row 1 below the header, column \"F2\""},
        {"no_vowel_column.txt", "no vowel column. The header found is: word, F1, F2"},
    };
    TestFiles files;
    for (const Case &c : cases) {
        const QByteArray bytes = TestFiles::read(fixture(c.file));
        const QString copy = files.write(QString::fromLatin1(c.file), bytes);
        for (const char *command : {"stats", "normalize", "area", "table"}) {
            QStringList args{command, copy};
            if (QByteArray(command) == "normalize")
                args << "--method"
                     << "lobanov";
            // Written back onto itself, a refused file must not change.
            args << "-o" << copy;
            const BatchRun run = runBatch(args);
            EXPECT_EQ(run.exitCode, 1) << c.file << ' ' << command;
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message)))
                << c.file << ' ' << command << ": " << run.err.toStdString();
            EXPECT_EQ(TestFiles::read(copy), bytes) << c.file << ' ' << command;
        }
    }
}

// A table saved onto itself keeps every byte: sep= line, Windows-1252, decimal commas,
// UTF-16. Saved as a Tessavox file it would lose the speakers: refused, nothing written.
TEST(RealWorldFiles, TablesAreWrittenBackAsTheyCame)
{
    TestFiles files;
    for (const char *name : {"spreadsheet_de_sep_line.csv", "spreadsheet_unicode_text.txt",
                             "r_write_table_default.txt", "tracker_points.csv"}) {
        const QByteArray bytes = TestFiles::read(fixture(name));
        const QString copy = files.write(QString::fromLatin1(name), bytes);
        const BatchRun run = runBatch({"table", copy, "-o", copy});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err.toStdString();
        const QByteArray written = TestFiles::read(copy);
        // R's header gains the row names' empty field; everything else is as read.
        if (QByteArray(name).startsWith("r_"))
            EXPECT_EQ(written, ' ' + bytes) << name;
        else
            EXPECT_EQ(written, bytes) << name;
    }
    const QString lost = files.path("lost.txt");
    const BatchRun run = runBatch({"table", fixture("spreadsheet_unicode_text.txt"), "-o", lost});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("the speakers")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(lost));
}

} // namespace
