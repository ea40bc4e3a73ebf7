// File > Export Chart... and the shared chart writer: sizes, resolution, vector text,
// and failures that leave the previous file alone.

#include "faketable.h"
#include "framework/commandids.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"
#include "framework/modaldialogs.h"
#include "plot/chartexport.h"
#include "plot/plotviewf1f2.h"
#include "testfiles.h"

#include <QDialog>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

std::vector<FakeRow> vowels()
{
    std::vector<FakeRow> rows = wideGroup("a", "a", 1);
    for (const FakeRow &r : wideGroup("i", "i", 2))
        rows.push_back({r.f1 + 50, r.f2 + 300, r.f3, r.symbol, r.order});
    return rows;
}

} // namespace

TEST(ChartExport, WritesPngAtItsResolutionAndVectorsWithTextAsText)
{
    TestFiles files;
    FakeDocument data(vowels());
    data.doc->m_analysis.colorBy = AnalysisOptions::ColorBy::Vowel;
    data.doc->m_analysis.fit = true;

    ChartExportSettings png{files.path("c.png"), ChartFileFormat::Png, {1600, 1200}, 192, "t"};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F2, png).isError());
    const QImage image(png.path);
    EXPECT_EQ(image.size(), QSize(1600, 1200));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 192, 0.5);
    // Drawn finer, not larger: the same chart as at 800 x 600, every mark twice the pixels.
    ChartExportSettings screen{files.path("s.png"), ChartFileFormat::Png, {800, 600}, 0, "t"};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F2, screen).isError());
    const QImage small = QImage(screen.path).convertToFormat(QImage::Format_RGB32);
    const QImage halved = image.scaled(800, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB32);
    int far = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            far += qGray(small.pixel(x, y)) - qGray(halved.pixel(x, y)) > 128;
    EXPECT_LT(far, 800 * 600 / 100);

    ChartExportSettings svg{files.path("c.svg"), ChartFileFormat::Svg, {640, 480}, 0, "t"};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F2, svg).isError());
    const QByteArray text = TestFiles::read(svg.path);
    EXPECT_TRUE(text.contains("<text")) << "labels are text";
    EXPECT_FALSE(text.contains("<image"));
    ChartExportSettings pdf{files.path("c.pdf"), ChartFileFormat::Pdf, {640, 480}, 0, "t"};
    ASSERT_FALSE(WriteChartFile(*data.doc, ChartKind::F1F3, pdf).isError());
    EXPECT_TRUE(TestFiles::read(pdf.path).startsWith("%PDF-"));
    EXPECT_FALSE(TestFiles::read(pdf.path).contains("/Subtype /Image"));

    // A failed write reports why and leaves what was there.
    const QByteArray before = TestFiles::read(png.path);
    ChartExportSettings bad = png;
    bad.path = files.path("no/dir/c.png");
    EXPECT_TRUE(WriteChartFile(*data.doc, ChartKind::F1F2, bad).isError());
    bad.size = {0, 10};
    bad.path = png.path;
    EXPECT_TRUE(WriteChartFile(*data.doc, ChartKind::F1F2, bad).isError());
    EXPECT_EQ(TestFiles::read(png.path), before);
}

TEST(ChartExport, TheChartWindowsCommandAsksForTheFileThenTheSize)
{
    TestFiles files;
    FakeDocument data(vowels());
    CPlotViewF1F2 view;
    data.doc->addView(&view);
    view.resize(700, 500);
    MessageCapture capture;
    {
        ScopedFileDialogAnswer answer(files.path("chart.png"));
        ScopedModalRunner sized([](QDialog &dialog) {
            dialog.findChild<QSpinBox *>("IDC_EXPORT_WIDTH")->setValue(1400);
            dialog.findChild<QSpinBox *>("IDC_EXPORT_HEIGHT")->setValue(1000);
            dialog.findChild<QSpinBox *>("IDC_EXPORT_DPI")->setValue(192);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(view.execute(ID_FILE_EXPORT_CHART));
        ASSERT_EQ(answer.requests().size(), 1);
        EXPECT_TRUE(answer.requests()[0].patterns.contains("*.pdf"));
    }
    EXPECT_EQ(QImage(files.path("chart.png")).size(), QSize(1400, 1000));
    {
        // The size proposed is the window's; Cancel writes nothing; a bitmap is refused.
        ScopedFileDialogAnswer answer(files.path("chart.svg"));
        ScopedModalRunner cancel([](QDialog &dialog) {
            EXPECT_EQ(dialog.findChild<QSpinBox *>("IDC_EXPORT_WIDTH")->value(), 700);
            EXPECT_FALSE(dialog.findChild<QSpinBox *>("IDC_EXPORT_DPI")->isEnabled());
            return int(QDialog::Rejected);
        });
        view.execute(ID_FILE_EXPORT_CHART);
        answer.setPath(files.path("chart.bmp"));
        view.execute(ID_FILE_EXPORT_CHART);
    }
    EXPECT_FALSE(QFile::exists(files.path("chart.svg")));
    EXPECT_FALSE(QFile::exists(files.path("chart.bmp")));
    EXPECT_EQ(capture.messages().size(), 1);
    data.doc->removeView(&view);
}
