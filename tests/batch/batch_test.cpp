// tessavox-batch as a user runs it: output, files, messages and exit status (0 done,
// 1 failed with the message on standard error, 2 a usage error).

#include "batch/batchinput.h"
#include "batchrun.h"
#include "plot/barkscale.h"
#include "plot/chartexport.h"
#include "plot/plotgeometry.h"
#include "testfiles.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// Three "i" tokens, one group whose disc stands at their mean in an 800 x 600 F1-F2
// chart, and three "u" tokens.
const QByteArray kTokens = "F1 F2 F3 vowel\n300 2300 2900 \"i\"\n320 2200 2800 \"i\"\n"
                           "310 2400 2700 \"i\"\n330 900 2300 \"u\"\n350 800 2400 \"u\"\n"
                           "310 850 2350 \"u\"\n";

class Batch : public ::testing::Test
{
protected:
    // `command` on the token file with the chart's plot type, writing `out` in the folder.
    BatchRun chart(const char *command, const char *plot, const QString &out,
                   const QStringList &options = {})
    {
        return runBatch(QStringList{command, input, "--plot", plot} + options +
                        QStringList{"-o", files.path(out)});
    }
    QImage image(const QString &name) const
    {
        return QImage(files.path(name)).convertToFormat(QImage::Format_RGB32);
    }

    TestFiles files;
    QString input = files.write("tokens.txt", kTokens);
};

int blackInRow(const QImage &image, int y)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, y) == qRgb(0, 0, 0);
    return count;
}

TEST_F(Batch, RecordsPrintsEachRecordInFileOrderOrTheReadersMessage)
{
    // How lines become records is the reader's (ReaderLines); here, how records are printed.
    const QString path = files.write("mixed.txt", "F1\tF2\tF3\tvowel\r"
                                                  "310,2020,2960,3500,4200,\"i:\"\r"
                                                  "700 1100 \"\xC9\x91\"");
    BatchRun result = runBatch({"records", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QString::fromUtf8("310\t2020\t2960\t3500\t4200\ti:\n"
                                            "700\t1100\t0\t0\t0\t\xC9\x91\n"));
    EXPECT_TRUE(result.err.isEmpty());

    result = runBatch({"records", files.write("empty.txt", {})});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.endsWith("empty.txt: The file has zero length.\nIt cannot be read\n"))
        << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    result = runBatch({"records", files.path("none.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("none.txt"));

    // A table has no token lines: refused by name, not "printed" as nothing.
    result = runBatch({"records", files.write("t.tsv", "speaker\tvowel\tF1\tF2\n"
                                                       "m1\ti\t300\t2300\n")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains("t.tsv is a table")) << result.err.toStdString();
}

TEST_F(Batch, HelpNamesEachCommandAndEachFormulaWithItsSource)
{
    const BatchRun result = runBatch({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char *text :
         {"records FILE", "table FILE", "Zwicker & Terhardt 1980", "Traunm\u00fcller 1990",
          "Lobanov 1971", "Watt & Fabricius 2002", "Gerstman 1968", "coverage95"})
        EXPECT_TRUE(result.out.contains(QString::fromUtf8(text))) << text;
}

TEST_F(Batch, UsageErrorsExitWith2AndWriteNothing)
{
    const BatchRun unknown = runBatch({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("unknown command"));
    EXPECT_EQ(chart("chart", "f2f3", "c.png").exitCode, 2);
    EXPECT_EQ(chart("chart", "f1f2", "c.png", {"--f2max", "10001"}).exitCode, 2);
    const BatchRun jpg = chart("chart", "f1f2", "c.jpg");
    EXPECT_EQ(jpg.exitCode, 2);
    EXPECT_TRUE(jpg.err.contains(".png, .bmp, .svg or .pdf")) << jpg.err.toStdString();
    EXPECT_EQ(chart("chart", "f1f2", "chart").exitCode, 2);
    for (const char *density : {"0", "x", "3,4,5", "41", "nan"})
        EXPECT_EQ(chart("bitmap", "f1f2", "c.bmp", {"--dpmm", density}).exitCode, 2) << density;
    EXPECT_EQ(chart("print", "f1f2", "c.pdf", {"--page", "a3"}).exitCode, 2);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files).size(), 1);
}

TEST_F(Batch, ChartDrawsTheWindowPictureWithItsOptionsInEveryRasterFormat)
{
    ASSERT_EQ(chart("chart", "f1f2", "c.png").exitCode, 0);
    ASSERT_EQ(chart("chart", "f1f2", "c.BMP").exitCode, 0);
    const QImage png = image("c.png");
    ASSERT_EQ(png.size(), QSize(800, 600));
    // The "i" group's disc at the mean of its tokens in Bark, and the 200 Hz tick.
    const PlotGeometry g = PlotGeometry::compute({0, 0, 800, 600}, 1, 1);
    int x = 0, y = 0;
    g.mapBark((HzToBark(300) + HzToBark(320) + HzToBark(310)) / 3,
              (HzToBark(2300) + HzToBark(2200) + HzToBark(2400)) / 3, x, y);
    const QPoint disc(x, y);
    const QPoint tick(g.xAxis + 5, g.yOfF1(200));
    EXPECT_EQ(png.pixel(disc), qRgb(0, 0, 0));
    EXPECT_EQ(png.pixel(tick), qRgb(0, 0, 0));
    EXPECT_EQ(png.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image("c.BMP"), png);

    const QStringList options = {"--no-ellipse", "--f1max", "199", "--size", "640x480"};
    ASSERT_EQ(chart("chart", "f1f2", "small.png", options).exitCode, 0);
    const QImage small = image("small.png");
    ASSERT_EQ(small.size(), QSize(640, 480));
    // The chart hangs from the right edge: everything moves left by 160.
    EXPECT_NE(small.pixel(disc - QPoint(160, 0)), qRgb(0, 0, 0));
    EXPECT_NE(small.pixel(tick - QPoint(160, 0)), qRgb(0, 0, 0));
}

// The tool sets its fonts up on a thread of its own, its own way: the pictures must not
// differ by a pixel from the program's.
TEST_F(Batch, ChartsOfTheToolAreThoseOfTheProgram)
{
    const std::unique_ptr<BatchInput> opened = BatchInput::open("chart", input, {});
    ASSERT_TRUE(opened);
    for (const auto &[plot, kind] :
         {std::pair{"f1f2", ChartKind::F1F2}, {"f1f3", ChartKind::F1F3}}) {
        ASSERT_EQ(chart("chart", plot, "tool.png").exitCode, 0);
        ChartExportSettings settings;
        settings.path = files.path("program.png");
        ASSERT_FALSE(WriteChartFile(opened->doc(), kind, settings).isError());
        EXPECT_EQ(image("tool.png"), image("program.png")) << plot;
    }
}

TEST_F(Batch, VectorFormatsKeepTextAsText)
{
    ASSERT_EQ(chart("chart", "f1f3", "c.svg", {"--size", "640x480"}).exitCode, 0);
    const QString svg = QString::fromUtf8(TestFiles::read(files.path("c.svg")));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\"")) << svg.left(400).toStdString();
    EXPECT_FALSE(svg.contains("<image")) << "an embedded raster";
    // Fonts by the names of installed families, which other programs can find.
    EXPECT_FALSE(svg.contains("font-family=\"DisplayFont\""));
    QStringList texts;
    for (const auto &m : QRegularExpression("<text[^>]*>\\s*([^<]*?)\\s*</text>").globalMatch(svg))
        texts << m.captured(1);
    // Six token labels and two bold group labels, the axis caption of F3 and a tick label.
    EXPECT_EQ(texts.count("i"), 4) << texts.join(',').toStdString();
    EXPECT_EQ(texts.count("u"), 4);
    EXPECT_TRUE(texts.contains("F3") && texts.contains("1500"));

    ASSERT_EQ(chart("chart", "f1f2", "c.pdf").exitCode, 0);
    const QByteArray pdf = TestFiles::read(files.path("c.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(QRegularExpression("/MediaBox \\[0 0 800(\\.0+)? 600(\\.0+)?\\]")
                    .match(QString::fromLatin1(pdf))
                    .hasMatch());
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.contains("/FontFile") || pdf.contains("/BaseFont"));
}

TEST_F(Batch, BitmapAndPrintDrawAtTheGivenDensityAndPaperSize)
{
    // 3.2 pixels per millimetre: the 560 x 720 picture of a 1024 x 768, 320 x 240 mm screen,
    // in 24 bits.
    ASSERT_EQ(chart("bitmap", "f1f3", "c.bmp", {"--dpmm", "3.2"}).exitCode, 0);
    EXPECT_EQ(TestFiles::read(files.path("c.bmp")).size(), 1209654);
    QImage bitmap = image("c.bmp");
    // F3 ticks: 27 from 400 to 3000 Hz, standing on the axis 50 pixels below the top.
    EXPECT_EQ(blackInRow(bitmap, 48), 27);
    ASSERT_EQ(chart("bitmap", "f1f2", "c.bmp", {"--dpmm", "3.2,4", "--no-ellipse"}).exitCode, 0);
    bitmap = image("c.bmp");
    EXPECT_EQ(bitmap.height(), 900);
    EXPECT_EQ(blackInRow(bitmap, 48), 32); // F2 ticks: 400 to 3500 Hz

    ASSERT_EQ(chart("print", "f1f3", "c.pdf", {"--page", "letter"}).exitCode, 0);
    const QByteArray pdf = TestFiles::read(files.path("c.pdf"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 612.000000 792.000000]"));
    ASSERT_EQ(chart("print", "f1f2", "c.pdf").exitCode, 0);
    EXPECT_TRUE(TestFiles::read(files.path("c.pdf")).contains("/MediaBox [0 0 595.000000 842"));
}

TEST_F(Batch, FailuresExitWith1AndLeaveNoPartialFile)
{
    BatchRun result = chart("chart", "f1f2", "c.png", {"--label", "1=x"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("order 1")) << result.err.toStdString();
    for (const char *name : {"no/dir/c.png", "no/dir/c.svg", "no/dir/c.pdf", "no/dir/c.bmp"}) {
        result = chart("chart", "f1f2", name);
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_TRUE(result.err.contains("cannot write")) << result.err.toStdString();
    }
    result = chart("bitmap", "f1f2", "no/dir/c.bmp");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("Error in saving the bitmap file"))
        << result.err.toStdString();
    EXPECT_EQ(chart("print", "f1f2", "no/dir/c.pdf").exitCode, 1);
    EXPECT_FALSE(QFile::exists(files.path("no")));

    // A print that fails keeps the previous file.
    ASSERT_EQ(chart("print", "f1f2", "c.pdf").exitCode, 0);
    const QByteArray previous = TestFiles::read(files.path("c.pdf"));
    EXPECT_EQ(
        runBatch({"print", files.path("none.txt"), "--plot", "f1f2", "-o", files.path("c.pdf")})
            .exitCode,
        1);
    EXPECT_EQ(TestFiles::read(files.path("c.pdf")), previous);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// The table as its window fills it, a Windows-1252 label shown as such and a table's speakers
// in a last column; -o saves it with File > Save's writer, a table in its own layout, and
// refuses to put a table into a Tessavox file that would lose its speakers.
TEST_F(Batch, TablePrintsTheFilledTableAndSavesItAsFileSaveDoes)
{
    const QString path = files.write(
        "latin.txt", "F1 F2 F3 vowel\r\n450 1900 2600 \"\xE9\"\r\n300 2300 2900 \"i\"\r\n");
    BatchRun result = runBatch({"table", path, "-o", files.path("out.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QString::fromUtf8("300\t2300\t2900\ti\t1\n450\t1900\t2600\t\xC3\xA9\t2\n"));
    EXPECT_EQ(TestFiles::read(files.path("out.txt")),
              "300\t2300\t2900\t\"i\"\t\r\n450\t1900\t2600\t\"\xE9\"\t\r\n");

    const QByteArray csv = "talker;vowel;F1;F2;F3;\"note; free\"\r\n"
                           "m01;u;350,5;800;2300;\"x\"\"y\"\r\n"
                           "m01;a;700;1200;;plain\r\n";
    const QString table = files.write("s.csv", csv);
    result = runBatch({"table", table, "-o", files.path("out.csv")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("700\t1200\t\ta\t1\tm01\n351\t800\t2300\tu\t2\tm01\n"));
    EXPECT_TRUE(result.err.contains("s.csv: 1 value of F1, F2 or F3 is missing"))
        << result.err.toStdString();
    EXPECT_EQ(TestFiles::read(files.path("out.csv")), csv);

    result = runBatch({"table", table, "-o", files.path("lost.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("speakers")) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(files.path("lost.txt")));
    result = runBatch({"table", path, "-o", files.path("no/dir/out.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("Cannot save the file")) << result.err.toStdString();
    EXPECT_EQ(runBatch({"table"}).exitCode, 2);
    EXPECT_EQ(runBatch({"table", path, "--plot", "f1f2"}).exitCode, 2);
}

// The table's pages on the paper asked for (the default paper: the chart print above).
TEST_F(Batch, PrintTablePutsEveryRowOnNumberedPagesOfTheGivenPaper)
{
    QByteArray many = "F1 F2 F3\n";
    for (int i = 0; i < 120; ++i)
        many += QByteArray::number(300 + i) + " 2000 2800 \"a\"\n";
    const QStringList print = {
        "print", files.write("many.txt", many), "--plot", "table", "-o", files.path("t.pdf")};
    ASSERT_EQ(runBatch(print + QStringList{"--page", "letter"}).exitCode, 0);
    const QByteArray letter = TestFiles::read(files.path("t.pdf"));
    EXPECT_TRUE(letter.contains("/MediaBox [0 0 612.000000 792.000000]"));
    EXPECT_GE(letter.count("/Type /Page\n"), 2); // 120 rows do not fit on one page
    EXPECT_EQ(runBatch(print + QStringList{"--label", "1=a"}).exitCode, 2);
}

// A run that outlasts its time fails the test instead of passing for an exit code: no
// program starts within a millisecond.
TEST(BatchRunner, ARunPastItsTimeFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(runBatch({"--help"}, 1), "ran past 1 ms");
    EXPECT_EQ(runBatch({"--help"}).exitCode, 0);
}

} // namespace
