// tessavox-batch chart -o OUT: the extension picks the format, every format shows the same
// picture, and the vector formats keep text as text.

#include "testfiles.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>

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

// Three tokens each of "i" and "u": two groups with bold labels, and token labels.
const QByteArray kTwoVowels = "F1 F2 F3 vowel\n"
                              "300 2300 2900 \"i\"\n"
                              "320 2200 2800 \"i\"\n"
                              "310 2400 2700 \"i\"\n"
                              "330 900 2300 \"u\"\n"
                              "350 800 2400 \"u\"\n"
                              "310 850 2350 \"u\"\n";

// The page contents of a PDF are deflated; each stream is inflated for searching.
QByteArray inflatedStreams(const QByteArray &pdf)
{
    QByteArray all;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        at += 7;
        const qsizetype end = pdf.indexOf("endstream", at);
        if (end < 0)
            break;
        QByteArray zipped = pdf.mid(at, end - at);
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(64 * 1024 * 1024), sized.data());
        const QByteArray plain = qUncompress(sized + zipped);
        all += plain.isEmpty() ? zipped : plain;
        at = end;
    }
    return all;
}

TEST(BatchChartFormats, RasterFormatsShowTheSamePicture)
{
    TestFiles files;
    const QString input = files.write("two.txt", kTwoVowels);
    ASSERT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path("c.png")}), 0);
    ASSERT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path("c.BMP")}), 0);

    const QByteArray bmp = TestFiles::read(files.path("c.BMP"));
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 2), quint32(bmp.size()));
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 18), 800);
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 22), 600);
    EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 24);

    const QImage png(files.path("c.png"));
    const QImage fromBmp(files.path("c.BMP"));
    ASSERT_EQ(png.size(), QSize(800, 600));
    EXPECT_EQ(fromBmp.convertToFormat(QImage::Format_RGB32),
              png.convertToFormat(QImage::Format_RGB32));
}

TEST(BatchChartFormats, SvgIsAVectorDrawingWithTextAsText)
{
    TestFiles files;
    const QString input = files.write("two.txt", kTwoVowels);
    const QString out = files.path("chart.svg");
    ASSERT_EQ(runChart({input, "--plot", "f1f3", "--size", "640x480", "-o", out}), 0);
    const QString svg = QString::fromUtf8(TestFiles::read(out));

    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\"")) << svg.left(400).toStdString();
    EXPECT_FALSE(svg.contains("<image")) << "an embedded raster";
    // Fonts by the names of installed families, which other programs can find.
    EXPECT_FALSE(svg.contains("font-family=\"DisplayFont\""));
    static const QRegularExpression text(QStringLiteral("<text[^>]*>\\s*([^<]*?)\\s*</text>"));
    QStringList texts;
    for (const QRegularExpressionMatch &m : text.globalMatch(svg))
        texts << m.captured(1);
    // Six token labels and two bold group labels, and the axis caption of F3.
    EXPECT_EQ(texts.count("i"), 4) << texts.join(',').toStdString();
    EXPECT_EQ(texts.count("u"), 4) << texts.join(',').toStdString();
    EXPECT_TRUE(texts.contains("F3"));
    EXPECT_TRUE(texts.contains("1500")); // an F1 tick label
}

TEST(BatchChartFormats, PdfIsAVectorPageOfTheChartsSize)
{
    TestFiles files;
    const QString input = files.write("two.txt", kTwoVowels);
    const QString out = files.path("chart.pdf");
    ASSERT_EQ(runChart({input, "--plot", "f1f2", "-o", out}), 0);
    const QByteArray pdf = TestFiles::read(out);

    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    static const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox \\[0 0 800(\\.0+)? 600(\\.0+)?\\]"));
    EXPECT_TRUE(mediaBox.match(QString::fromLatin1(pdf)).hasMatch());
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.contains("/FontFile") || pdf.contains("/BaseFont"));
    const QByteArray content = inflatedStreams(pdf);
    // Text objects drawing glyphs, not glyph outlines filled as paths.
    EXPECT_GE(content.count("BT"), 8);
    EXPECT_TRUE(content.contains("Tj") || content.contains("TJ"));
}

TEST(BatchChartFormats, UnknownOrUnwritableOutputIsReported)
{
    TestFiles files;
    const QString input = files.write("two.txt", kTwoVowels);
    QString err;
    EXPECT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path("chart.jpg")}, &err), 2);
    EXPECT_TRUE(err.contains(".png, .bmp, .svg or .pdf")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(files.path("chart.jpg")));
    EXPECT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path("chart")}), 2);

    for (const char *name : {"no/dir/c.svg", "no/dir/c.pdf", "no/dir/c.bmp"}) {
        EXPECT_EQ(runChart({input, "--plot", "f1f2", "-o", files.path(name)}, &err), 1) << name;
        EXPECT_TRUE(err.contains("cannot write")) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(files.path("no")));
}

} // namespace
