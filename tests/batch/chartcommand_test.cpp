// tessavox-batch chart: the window's picture of a file, with the options a user gives.

#include "testfiles.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

int runChart(const QStringList &args, QString *err = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(TESSAVOX_BATCH), QStringList{"chart"} + args);
    process.waitForFinished(60000);
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

// Three "i" tokens: one group whose disc is centred at (375, 100) in an 800 x 600 chart.
const QByteArray kThreeTokens = "F1 F2 F3 vowel\n"
                                "300 2300 2900 \"i\"\n"
                                "320 2200 2800 \"i\"\n"
                                "310 2400 2700 \"i\"\n";

TEST(BatchChart, DrawsTheWindowPictureWithItsOptions)
{
    TestFiles files;
    const QString input = files.write("three.txt", kThreeTokens);
    const QString out = files.path("chart.png");

    ASSERT_EQ(runChart({input, "--plot", "f1f2", "-o", out}), 0);
    QImage image(out);
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.pixel(375, 100), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(363, 100), qRgb(0, 0, 0)); // outline, step 50
    EXPECT_EQ(image.pixel(705, 50), qRgb(0, 0, 0));  // 200 Hz tick
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));

    ASSERT_EQ(runChart({input, "--plot", "f1f2", "--no-ellipse", "--f1max", "199", "--size",
                        "640x480", "-o", out}),
              0);
    image.load(out);
    ASSERT_EQ(image.size(), QSize(640, 480));
    // The chart hangs from the right edge: everything moves left by 160.
    EXPECT_NE(image.pixel(375 - 160, 100), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(705 - 160, 50), qRgb(0, 0, 0));
}

TEST(BatchChart, RejectsBadArgumentsAndReportsFailures)
{
    TestFiles files;
    const QString input = files.write("three.txt", kThreeTokens);
    const QString out = files.path("chart.png");
    EXPECT_EQ(runChart({input, "--plot", "f2f3", "-o", out}), 2);
    EXPECT_EQ(runChart({input, "--plot", "f1f2", "--f2max", "10001", "-o", out}), 2);
    QString err;
    EXPECT_EQ(runChart({input, "--plot", "f1f2", "--label", "1=x", "-o", out}, &err), 1);
    EXPECT_TRUE(err.contains("order 1")) << err.toStdString();
    EXPECT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path("no/dir/c.png")}), 1);
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
