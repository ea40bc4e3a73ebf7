// Printing the table: page breaks worked out ahead, and the pages a print job produces.

#include "tablefixture.h"
#include "tableprinter.h"

#include "printinfo.h"
#include "testfiles.h"

#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

int pdfPages(const QString &path)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(TestFiles::read(path)).count(page));
}

int printToPdf(TableFixture &t, const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    PrintInfo info;
    info.printer = &printer;
    t.view->OnPrint(painter, info);
    painter.end();
    return pdfPages(path);
}

TEST(TablePageLayout, FillsTheFirstPageThenWholePagesAndNeverStalls)
{
    // 1000 high: 100 of titles, 50 of footer, 20 of headings, rows of 10.
    auto layout = TablePageLayout::compute(1000, 100, 20, 10, 50, 200, true);
    EXPECT_EQ(layout.rowsOnFirstPage, 83);
    EXPECT_EQ(layout.rowsPerPage, 83);
    EXPECT_EQ(layout.pageCount, 3);
    layout = TablePageLayout::compute(1000, 100, 20, 10, 50, 83, false);
    EXPECT_EQ(layout.rowsPerPage, 85);
    EXPECT_EQ(layout.pageCount, 1);
    EXPECT_EQ(TablePageLayout::compute(1000, 100, 20, 10, 50, 0, true).pageCount, 1);
    layout = TablePageLayout::compute(50, 100, 20, 10, 50, 3, true); // no room at all
    EXPECT_EQ(layout.rowsPerPage, 1);
    EXPECT_EQ(layout.pageCount, 3);
}

TEST(TablePrint, AnEmptyTablePrintsOnePageWithItsTitles)
{
    TestFiles files;
    TableFixture t;
    t.doc->setTitle(QStringLiteral("Untitled1"));
    EXPECT_EQ(printToPdf(t, files.path("empty.pdf")), 1);
}

TEST(TablePrint, ALongTableRunsOverAsManyPagesAsItsRowsNeed)
{
    TestFiles files;
    std::vector<Token> tokens(400, Token{300, 2000, 2800, "i"});
    TableFixture t(tokens);
    const int pages = printToPdf(t, files.path("long.pdf"));
    EXPECT_GT(pages, 1);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(files.path("capped.pdf"));
    QPainter painter(&printer);
    EXPECT_EQ(t.grid().PrintTable(painter, "T", "S", true, false, false, 1), 1);
    EXPECT_EQ(t.grid().PrintTable(painter, "T", "S", false, true, true, 0), pages);
}

} // namespace
