// tessavox-batch as a user runs it: output, messages and exit status.

#include "testfiles.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct BatchRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

BatchRun runBatch(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TESSAVOX_BATCH), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(BatchRecords, PrintsEachRecordInFileOrder)
{
    TestFiles files;
    const QString path = files.write("mixed.txt", "F1\tF2\tF3\tvowel\r"
                                                  "310,2020,2960,3500,4200,\"i:\"\r"
                                                  "500 1500 2500 /a/\n"
                                                  "600\t1200\t2400\t\"\xC9\x94\"\t\r\n"
                                                  "700 1100 \"\xC9\x91\"");
    const BatchRun run = runBatch({"records", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QString::fromUtf8("310\t2020\t2960\t3500\t4200\ti:\n"
                                         "500\t1500\t2500\t0\t0\t/\n"
                                         "600\t1200\t2400\t0\t0\t\xC9\x94\n"
                                         "700\t1100\t0\t0\t0\t\xC9\x91\n"));
    EXPECT_TRUE(run.err.isEmpty());
}

TEST(BatchRecords, ReaderFailureGoesToStandardErrorWithStatus1)
{
    TestFiles files;
    const BatchRun empty = runBatch({"records", files.write("empty.txt", {})});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "The file has zero length.\nIt cannot be read\n");
    EXPECT_TRUE(empty.out.isEmpty());

    const BatchRun missing = runBatch({"records", files.path("none.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.txt"));
}

TEST(BatchHelp, ListsCommandsAndRejectsUnknownOnes)
{
    const BatchRun help = runBatch({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("records FILE"));

    const BatchRun unknown = runBatch({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("unknown command"));
}

} // namespace
