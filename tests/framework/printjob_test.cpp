// Print jobs: the pages a view asks for reach its OnPrint on a high-resolution page, when
// printing and in the preview, and the page settings carry over to the next job.

#include "fakes.h"
#include "framework/modaldialogs.h"
#include "framework/printjob.h"
#include "testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(PrintJob, PrintsAndPreviewsTheChosenPagesOnThePrintableArea)
{
    SettingsSandbox sandbox;
    TestFiles files;
    FakeView view;
    view.pages = 3;
    int from = 0; // page range start; 0 = all pages, -1 = cancel
    ScopedModalRunner runner([&](QDialog &dialog) {
        if (auto *preview = dialog.findChild<QPrintPreviewWidget *>())
            preview->updatePreview();
        else if (auto *print = qobject_cast<QPrintDialog *>(&dialog); print && from >= 0) {
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(files.path("out.pdf"));
            print->printer()->setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
            print->printer()->setFromTo(from, from ? 3 : 0);
        } else
            return int(QDialog::Rejected);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(PrintJob::print(view));
    EXPECT_EQ(view.printedPages, QList<int>({1, 2, 3}));
    EXPECT_EQ(view.lastDrawRect.topLeft(), QPoint(0, 0));
    EXPECT_GT(view.lastDrawRect.width(), 3000); // printer resolution, not screen pixels
    EXPECT_FALSE(view.lastWasPreview);
    EXPECT_TRUE(TestFiles::read(files.path("out.pdf")).startsWith("%PDF"));

    for (int start : {2, -1}) {
        from = start;
        view.printedPages.clear();
        EXPECT_EQ(PrintJob::print(view), start > 0);
        // Compared as a size: Qt's list comparison hands memcmp a null pointer when empty.
        if (start > 0)
            EXPECT_EQ(view.printedPages, QList<int>({2, 3}));
        else
            EXPECT_TRUE(view.printedPages.isEmpty());
    }
    PrintJob::preview(view);
    EXPECT_EQ(view.printedPages, QList<int>({1, 2, 3}));
    EXPECT_TRUE(view.lastWasPreview);
}

// Print Setup as the user meets it, in the dialog's own loop: Letter picked, then OK. The
// next job starts on Letter; so it does on any size and orientation saved with a job.
TEST(PrintJob, PageSettingsPickedInPrintSetupOrAJobCarryOverToTheNextJob)
{
    SettingsSandbox sandbox;
    QString picked;
    QTimer::singleShot(0, [&picked] {
        auto *dialog = qobject_cast<QPageSetupDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (QComboBox *combo : dialog->findChildren<QComboBox *>()) {
            const int letter = combo->findText(QPageSize(QPageSize::Letter).name());
            if (letter >= 0) {
                combo->setCurrentIndex(letter);
                picked = combo->currentText();
            }
        }
        dialog->accept();
    });
    ASSERT_TRUE(PrintJob::setup());
    ASSERT_FALSE(picked.isEmpty()) << "no page size list with Letter in the dialog";
    const auto next = [] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPageSize(QPageSize(QPageSize::A5));
        printer->setPageOrientation(QPageLayout::Portrait);
        PrintJob::loadSettings(*printer);
        return std::pair(printer->pageLayout().pageSize().id(),
                         printer->pageLayout().orientation());
    };
    EXPECT_EQ(next().first, QPageSize::Letter);

    // Letter and Legal come before A4 in Qt's list of sizes, A3 too; each is kept.
    QPrinter chosen(QPrinter::HighResolution);
    for (const QPageSize::PageSizeId id : {QPageSize::Legal, QPageSize::A3, QPageSize::A4}) {
        chosen.setPageSize(QPageSize(id));
        chosen.setPageOrientation(QPageLayout::Landscape);
        PrintJob::saveSettings(chosen);
        EXPECT_EQ(next(), std::pair(id, QPageLayout::Landscape))
            << QPageSize(id).name().toStdString();
    }
}

} // namespace
