// How tessavox-batch starts and ends: only a command that draws needs the display platform,
// and whatever a command wrote is whole once the process has left.

#include "testfiles.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Finished runWithPlatform(const QString &platform, const QStringList &args)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSAVOX_BATCH), args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QByteArray tokens(int count)
{
    QByteArray text = "F1 F2 F3 vowel\n";
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(300 + i % 400) + ' ' + QByteArray::number(900 + i % 1500) +
                " 2500 \"" + (i % 2 ? "i" : "u") + "\"\n";
    return text;
}

} // namespace

// A platform that does not exist: any command that started the GUI application would fail
// to start at all, so scripts on machines without one keep --help, --version and the
// figures.
TEST(BatchProcess, CommandsThatDoNotDrawNeedNoDisplayPlatform)
{
    TestFiles files;
    const QString input = files.write(QStringLiteral("tokens.txt"), tokens(3));
    const QString none = QStringLiteral("no-such-platform");

    const Finished version = runWithPlatform(none, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("tessavox-batch ")) << version.out.toStdString();
    EXPECT_EQ(runWithPlatform(none, {"--help"}).exitCode, 0);
    const Finished unknown = runWithPlatform(none, {"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("unknown command")) << unknown.err.toStdString();
    const Finished stats = runWithPlatform(none, {"stats", input});
    EXPECT_EQ(stats.exitCode, 0) << stats.err.toStdString();
    EXPECT_EQ(stats.out.count('\n'), 3); // the header and the two vowels
}

// The process leaves without tearing its application down: the last line on standard
// output and the last byte of the picture must still be there.
TEST(BatchProcess, OutputAndFilesAreWholeWhenTheProcessHasLeft)
{
    TestFiles files;
    constexpr int kCount = 5000; // far more than any stream buffers
    const QString input = files.write(QStringLiteral("tokens.txt"), tokens(kCount));

    const Finished records = runWithPlatform(QStringLiteral("offscreen"), {"records", input});
    EXPECT_EQ(records.exitCode, 0);
    EXPECT_EQ(records.out.count('\n'), kCount);
    EXPECT_TRUE(records.out.endsWith("\ti\n")) << records.out.right(40).toStdString();

    const QString png = files.path(QStringLiteral("chart.png"));
    const Finished chart =
        runWithPlatform(QStringLiteral("offscreen"), {"chart", input, "--plot", "f1f2", "-o", png});
    EXPECT_EQ(chart.exitCode, 0) << chart.err.toStdString();
    EXPECT_TRUE(chart.err.isEmpty()) << chart.err.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(800, 600));
}
