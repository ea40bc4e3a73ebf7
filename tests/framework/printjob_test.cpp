// Print jobs: the pages a view asks for reach its OnPrint on a high-resolution page, both
// when printing and in the preview.

#include "fakes.h"
#include "modaldialogs.h"
#include "printjob.h"
#include "testfiles.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

// Answers the print dialog with a PDF file and the given page range (0 = all pages).
ModalDialogs::Runner printToPdf(const QString &path, int from = 0, int to = 0)
{
    return [=](QDialog &dialog) {
        auto *print = qobject_cast<QPrintDialog *>(&dialog);
        if (!print)
            return int(QDialog::Rejected);
        QPrinter *printer = print->printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        if (from > 0) {
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(from, to);
        } else {
            printer->setPrintRange(QPrinter::AllPages);
        }
        return int(QDialog::Accepted);
    };
}

TEST(PrintJob, PrintsEveryPageOnTheWholePrintableArea)
{
    SettingsSandbox sandbox;
    TestFiles files;
    const QString pdf = files.path(QStringLiteral("out.pdf"));
    FakeView view;
    view.pages = 3;
    ScopedModalRunner runner(printToPdf(pdf));

    ASSERT_TRUE(PrintJob::print(view));
    EXPECT_EQ(view.printedPages, QList<int>({1, 2, 3}));
    EXPECT_EQ(view.lastDrawRect.topLeft(), QPoint(0, 0));
    EXPECT_GT(view.lastDrawRect.width(), 3000); // printer resolution, not screen pixels
    EXPECT_FALSE(view.lastWasPreview);
    EXPECT_TRUE(TestFiles::read(pdf).startsWith("%PDF"));
}

TEST(PrintJob, PrintsOnlyTheChosenPagesAndNothingWhenCancelled)
{
    SettingsSandbox sandbox;
    TestFiles files;
    FakeView view;
    view.pages = 4;
    {
        ScopedModalRunner runner(printToPdf(files.path(QStringLiteral("p.pdf")), 2, 3));
        ASSERT_TRUE(PrintJob::print(view));
        EXPECT_EQ(view.printedPages, QList<int>({2, 3}));
    }
    view.printedPages.clear();
    ScopedModalRunner cancel([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(PrintJob::print(view));
    EXPECT_TRUE(view.printedPages.isEmpty());
}

TEST(PrintJob, PreviewPaintsThroughTheSameOnPrint)
{
    SettingsSandbox sandbox;
    FakeView view;
    view.pages = 2;
    ScopedModalRunner runner([](QDialog &dialog) {
        if (auto *widget = dialog.findChild<QPrintPreviewWidget *>())
            widget->updatePreview();
        return int(QDialog::Accepted);
    });
    PrintJob::preview(view);
    EXPECT_EQ(view.printedPages, QList<int>({1, 2}));
    EXPECT_TRUE(view.lastWasPreview);
}

TEST(PrintJob, PageSettingsCarryOverToTheNextJob)
{
    SettingsSandbox sandbox;
    QPrinter chosen(QPrinter::HighResolution);
    chosen.setPageSize(QPageSize(QPageSize::A5));
    chosen.setPageOrientation(QPageLayout::Landscape);
    PrintJob::saveSettings(chosen);

    QPrinter next(QPrinter::HighResolution);
    PrintJob::loadSettings(next);
    EXPECT_EQ(next.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(next.pageLayout().orientation(), QPageLayout::Landscape);
}

} // namespace
