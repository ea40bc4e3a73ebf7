// tessavox-batch chart, bitmap and print with analysis options, on tables and Formant
// files alike.

#include "batchrun.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// Two speakers with the same three vowels at different frequencies, one row missing F2.
const QByteArray kTable = "speaker;vowel;F1;F2;F3;dialect\n"
                          "m1;i;280;2250;2900;north\nm1;i;300;2300;2950;north\n"
                          "m1;i;290;2200;2850;north\nm1;a;700;1200;2500;north\n"
                          "m1;a;720;1250;2550;north\nm1;a;690;1150;2450;north\n"
                          "m1;u;310;850;2300;north\nm1;u;330;900;2350;north\n"
                          "m1;u;300;800;2250;north\n"
                          "w1;i;350;2800;3300;south\nw1;i;370;2750;3350;south\n"
                          "w1;i;340;2850;3250;south\nw1;a;900;1500;2900;south\n"
                          "w1;a;930;1450;2950;south\nw1;a;880;1550;2850;south\n"
                          "w1;u;380;1000;2700;south\nw1;u;400;950;2750;south\n"
                          "w1;u;370;1050;2650;south\nw1;u;360;;2650;south\n";

int colouredPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::max({c.red(), c.green(), c.blue()}) -
                     std::min({c.red(), c.green(), c.blue()}) >
                 60;
        }
    return n;
}

} // namespace

TEST(BatchChart, TablesWithSpeakersDrawNormalisedColouredAndFitted)
{
    TestFiles files;
    const QString table = files.write("vowels.csv", kTable);
    const QString out = files.path("c.png");
    BatchRun r = runBatch({"chart", table, "--plot", "f1f2", "--normalize", "lobanov", "--color-by",
                           "speaker", "--fit", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("1 value of F1, F2 or F3 is missing")) << r.err.toStdString();
    const QImage coloured(out);
    EXPECT_GT(colouredPixels(coloured), 200);

    // Colour by any column, tokens hidden; an unknown column is an error that names it.
    r = runBatch({"chart", table, "--plot", "f1f3", "--color-by", "dialect", "--no-tokens",
                  "--ellipse", "coverage95", "--scale", "erb", "-o", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runBatch({"chart", table, "--plot", "f1f2", "--color-by", "region", "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("region")) << r.err.toStdString();

    // The same options on bitmap and print, and on a table read by --format.
    const QString tsv = files.write("vowels.txt", QByteArray(kTable).replace(';', '\t'));
    EXPECT_EQ(runBatch({"bitmap", tsv, "--format", "table", "--plot", "f1f2", "--color-by", "vowel",
                        "--fit", "-o", files.path("c.bmp")})
                  .exitCode,
              0);
    EXPECT_EQ(runBatch({"print", table, "--plot", "f1f2", "--normalize", "nearey1", "--color-by",
                        "vowel", "-o", files.path("c.pdf")})
                  .exitCode,
              0);
    EXPECT_TRUE(QFile::exists(files.path("c.bmp")) && QFile::exists(files.path("c.pdf")));
}

// Options for figures: panels per value, equal units, dots, and the PNG's resolution (the
// pixels as given, the resolution recorded); an unknown panel column names itself.
TEST(BatchChart, PanelsUnitsDotsAndResolution)
{
    TestFiles files;
    const QString table = files.write("vowels.csv", kTable);
    const QString out = files.path("p.png");
    BatchRun r = runBatch({"chart", table, "--plot", "f1f2", "--facet", "dialect", "--color-by",
                           "speaker", "--aspect", "equal", "--tokens", "dots", "--size",
                           "1800x1200", "--dpi", "300", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(1800, 1200));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 0.5);
    EXPECT_GT(colouredPixels(image), 200);
    r = runBatch({"chart", table, "--plot", "f1f2", "--facet", "region", "-o", out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("region")) << r.err.toStdString();
    for (const QStringList &bad : QList<QStringList>{
             {"--dpi", "1"}, {"--dpi", "5000"}, {"--aspect", "square"}, {"--tokens", "stars"}})
        EXPECT_EQ(
            runBatch(QStringList{"chart", table, "--plot", "f1f2"} + bad + QStringList{"-o", out})
                .exitCode,
            2)
            << bad.join(' ').toStdString();
}

TEST(BatchChart, BadAnalysisOptionsAreUsageErrorsAndWriteNothing)
{
    TestFiles files;
    const QString table = files.write("vowels.csv", kTable);
    const QString out = files.path("c.png");
    const QList<QStringList> bad = {{"--scale", "octaves"},
                                    {"--normalize", "zscore"},
                                    {"--ellipse", "sd3"},
                                    {"--format", "excel"},
                                    {"--scale", "mel", "--normalize", "lobanov"},
                                    {"--formants", "F1,F9"}};
    for (const QStringList &options : bad) {
        const BatchRun r = runBatch(QStringList{"chart", table, "--plot", "f1f2"} + options +
                                    QStringList{"-o", out});
        EXPECT_EQ(r.exitCode, 2) << options.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}
