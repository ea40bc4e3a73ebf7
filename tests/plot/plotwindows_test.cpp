// The chart windows opened from a real table window: one per kind and table, titles,
// reuse, and choosing a label for a mixed group from the chart.

#include "commandids.h"
#include "modaldialogs.h"
#include "plottemplates.h"
#include "plotviewf1f2.h"
#include "plotviewf1f2frame.h"
#include "plotviewf1f3frame.h"
#include "plotwindows.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"
#include "testfiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// vowels.txt opened as the program opens it, with its table view, and the chart windows
// registered. Charts close with the table, before the document goes.
struct OpenDocument
{
    TestFiles files;
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<CTessavoxFormView> table = std::make_unique<CTessavoxFormView>();

    explicit OpenDocument(const QByteArray &contents)
    {
        RegisterPlotWindows();
        const QString path = files.write("vowels.txt", contents);
        EXPECT_TRUE(doc->OnOpenDocument(path));
        doc->setPathName(path);
        doc->addView(table.get());
        table->OnInitialUpdate();
    }
    ~OpenDocument()
    {
        table.reset();
        settle();
        PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
        PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
    }
};

const QByteArray kVowels = "F1 F2 F3 vowel\n"
                           "300 2300 2900 \"i\"\n"
                           "320 2200 2800 \"i\"\n"
                           "310 2400 2700 \"i\"\n"
                           "700 1200 2500 \"a\"\n";

TEST(PlotWindows, OneWindowPerKindWithItsTitleAndANewOneAfterClosing)
{
    OpenDocument open(kVowels);
    open.table->OnPlotF1F2();
    QPointer<ChildFrame> f1f2 = open.table->m_pF1F2Frame;
    ASSERT_TRUE(f1f2);
    EXPECT_NE(dynamic_cast<CPlotViewF1F2Frame *>(f1f2.data()), nullptr);
    EXPECT_NE(dynamic_cast<CPlotViewF1F2 *>(f1f2->activeView()), nullptr);
    EXPECT_EQ(f1f2->windowTitle(), "vowels.txt::F1 vs F2 ");

    open.table->OnPlotF1F2();
    EXPECT_EQ(open.table->m_pF1F2Frame, f1f2);

    open.table->OnPlotF1F3();
    ASSERT_TRUE(open.table->m_pF1F3Frame);
    EXPECT_NE(dynamic_cast<CPlotViewF1F3Frame *>(open.table->m_pF1F3Frame.data()), nullptr);
    EXPECT_EQ(open.table->m_pF1F3Frame->windowTitle(), "vowels.txt::F1 vs F3 ");

    f1f2->close();
    settle();
    EXPECT_FALSE(f1f2);
    EXPECT_FALSE(open.table->m_pF1F2Frame);
    open.table->OnPlotF1F2();
    EXPECT_TRUE(open.table->m_pF1F2Frame);
}

// A mixed group made by editing a symbol: its red "?" is clicked, a label chosen, and the
// document keeps the choice.
TEST(PlotWindows, LabelChosenFromTheChartEndToEnd)
{
    OpenDocument open(kVowels);
    open.table->OnPlotF1F2();
    auto *chart = dynamic_cast<CPlotViewF1F2 *>(open.table->m_pF1F2Frame->activeView());
    ASSERT_NE(chart, nullptr);

    // After sorting, "a" is row 0 and the three "i" rows follow with one order number.
    const int order = open.table->GetCellInt(1, 4);
    ASSERT_EQ(open.table->GetCellInt(3, 4), order);
    open.table->SetCellText(2, 3, "e", 1);

    chart->resize(800, 600);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart->OnDraw(painter);
    }
    EXPECT_EQ(image.pixel(375, 100), qRgb(0, 0, 0));

    QStringList offered;
    ScopedModalRunner pick([&](QDialog &dialog) {
        auto *combo = dialog.findChild<QComboBox *>();
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        combo->setCurrentIndex(1);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(385, 110));
    EXPECT_EQ(offered, QStringList({"i", "e", "i"}));
    EXPECT_EQ(open.doc->m_nOrderLabel[std::size_t(order)], 1);
    EXPECT_EQ(open.doc->m_strOrderLabel[std::size_t(order)], "e");
    // The chosen label replaces the red "?" at the next paint.
    QImage after(800, 600, QImage::Format_RGB32);
    after.fill(Qt::white);
    {
        QPainter painter(&after);
        chart->OnDraw(painter);
    }
    const auto red = [](const QImage &image) {
        int count = 0;
        for (int y = 100; y < 140; ++y)
            for (int x = 375; x < 415; ++x)
                count += image.pixel(x, y) == qRgb(255, 0, 0);
        return count;
    };
    EXPECT_GT(red(image), 0);
    EXPECT_GT(red(after), 0);
    EXPECT_NE(red(after), red(image));
}

} // namespace
