// The table window on a document: the fill, the accessors, the Edit commands with their
// selections and the modified flag, vowel numbers, the Plot commands and printing.

#include "childframe.h"
#include "commandids.h"
#include "doctemplate.h"
#include "griderror.h"
#include "messages.h"
#include "plottemplates.h"
#include "plotwindows.h"
#include "printinfo.h"
#include "stringtable.h"
#include "tableprinter.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"
#include "testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using Ints = std::vector<int>;

struct Token
{
    int f1, f2, f3;
    QByteArray label;
};

// A document holding `tokens` and a table window filled from it, as opening a file leaves
// them. The window goes before the document.
struct TableFixture
{
    std::unique_ptr<CTessavoxDoc> doc = std::make_unique<CTessavoxDoc>();
    std::unique_ptr<CTessavoxFormView> view = std::make_unique<CTessavoxFormView>();

    explicit TableFixture(const std::vector<Token> &tokens = {})
    {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            FormantRecord &record = doc->m_records[i];
            record.formants = {tokens[i].f1, tokens[i].f2, tokens[i].f3, 0, 0};
            record.label.assign(tokens[i].label.constData(), std::size_t(tokens[i].label.size()));
            record.labelLength = int(tokens[i].label.size());
        }
        doc->m_nTokenCount = int(tokens.size());
        doc->m_bDataLoaded = !tokens.empty();
        doc->addView(view.get());
        view->OnInitialUpdate();
    }
    ~TableFixture() { view.reset(); }

    CDatatbl5 &grid() { return view->grid(); }
    QStringList symbols() const
    {
        QStringList result;
        for (int row = 0; row < view->grid().rowCount(); ++row)
            result.append(view->GetCellText(row, 3));
        return result;
    }
    Ints column(int c) const
    {
        Ints result;
        for (int row = 0; row < view->grid().rowCount(); ++row)
            result.push_back(view->GetCellInt(row, c));
        return result;
    }
};

// Tokens 100+i, 1000+i, 2000+i with symbols "a", "b", ... numbered 1, 2, ...
std::vector<Token> numberedTokens(int count)
{
    std::vector<Token> tokens;
    for (int i = 0; i < count; ++i)
        tokens.push_back({100 + i, 1000 + i, 2000 + i, QByteArray(1, char('a' + i))});
    return tokens;
}

bool enabled(const CommandTarget &target, int id)
{
    CmdUI ui;
    return target.OnUpdateCmdUI(id, ui) && ui.enabled;
}

TEST(TableFill, SortsStablyNumbersTheVowelsAndShowsOutOfRangeFormantsAsZero)
{
    TableFixture t({{310, 2020, 2960, "i"},
                    {710, 1100, 2540, "a"},
                    {320, 2100, 0, "i"},
                    {10001, -5, 10000, "ɛː"},
                    {300, 870, 2240, ""}});
    EXPECT_EQ(t.symbols(), (QStringList{"", "a", "i", "i", QStringLiteral("ɛː")}));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 3, 3, 4})); // the empty symbol is a group of its own
    EXPECT_EQ(t.column(0), (Ints{300, 710, 310, 320, 0}));
    EXPECT_EQ(t.column(1), (Ints{870, 1100, 2020, 2100, 0}));
    EXPECT_EQ(t.column(2), (Ints{2240, 2540, 2960, 0, 10000}));
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    EXPECT_EQ(t.grid().verticalHeader()->count(), 5);
    EXPECT_FALSE(t.doc->isModified());

    QSignalSpy changes(&t.grid().cells(), &GridModel::dataChanged);
    t.view->SetCellInt(3, GridModel::F2, 1500);
    EXPECT_EQ(changes.count(), 1); // the fill's bulk change is over
    t.view->show();
    t.view->resize(500, 300);
    EXPECT_EQ(t.grid().size(), QSize(475, 275));
}

TEST(TableCells, AccessorsClampAndReadEmptyOutsideTheRowsAndTypingAChangeMarksTheDocument)
{
    TableFixture t({{310, 2020, 2960, "i"}});
    QAbstractItemModel *model = t.grid().model();
    model->setData(model->index(0, 0), 310); // the value it already has
    EXPECT_FALSE(t.doc->isModified());
    model->setData(model->index(0, 0), 150);
    EXPECT_TRUE(t.doc->isModified());
    EXPECT_EQ(t.view->GetCellInt(-1, 0), 0);
    EXPECT_EQ(t.view->GetCellInt(0, -1), 0);
    EXPECT_THROW(t.view->GetCellInt(1, 0), GridError);
    EXPECT_EQ(t.view->GetCellText(1, 3), QString());
    EXPECT_EQ(t.view->GetCellText(-1, 3), QString());
    t.view->SetCellInt(0, 0, -1);
    EXPECT_EQ(t.view->GetCellInt(0, 0), 0);
    t.view->SetCellInt(0, 1, 10001);
    EXPECT_EQ(t.view->GetCellInt(0, 1), 0);
    t.view->SetCellInt(0, 2, 10000);
    EXPECT_EQ(t.view->GetCellInt(0, 2), 10000);
    t.view->SetCellText(0, 3, QStringLiteral("eɪx"), 2);
    EXPECT_EQ(t.view->GetCellText(0, 3), QStringLiteral("eɪ"));
    t.view->SetCellText(0, 3, QStringLiteral("o"), -1);
    EXPECT_EQ(t.view->GetCellText(0, 3), QStringLiteral("eɪ"));
    t.view->SetCellText(0, 3, QStringLiteral("o"), 0);
    EXPECT_EQ(t.view->GetCellText(0, 3), QString());
}

TEST(TableCopyPaste, CopiesTheSpanOfMarkedRowsPastesIntoNewRowsAndCutEmptiesCells)
{
    TableFixture t(numberedTokens(12));
    t.grid().setRowSelected(2, true);
    t.grid().setRowSelected(5, true);
    t.view->OnEditCopy();
    EXPECT_EQ(std::pair(t.view->m_nCopyFirstRow, t.view->m_nCopyLastRow), std::pair(2, 5));
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("102\t1002\t2002\tc\t3"));
    EXPECT_EQ(lines[3], QStringLiteral("105\t1005\t2005\tf\t6"));
    EXPECT_FALSE(t.doc->isModified());

    t.grid().setRowSelected(9, true);
    t.view->OnEditPaste();
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102, 103, 104, 105, 106, 107, 108, 102, 103, 104, 105,
                                 109, 110, 111}));
    EXPECT_EQ(t.doc->m_nTokenCount, 16);
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    EXPECT_TRUE(t.doc->isModified());

    // The recorded block stays: with no row marked the active row is the target.
    t.grid().setActiveRow(0);
    t.view->OnEditPaste();
    EXPECT_EQ(t.doc->m_nTokenCount, 20);
    EXPECT_EQ(t.view->GetCellInt(4, 0), 100);
    EXPECT_EQ(t.view->GetCellText(1, 3), QStringLiteral("d"));

    t.doc->setModifiedFlag(false);
    t.grid().selectBlock(1, 0, 1, 4, true);
    t.view->OnEditCut();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("103\t1003\t2003\td\t4\n"));
    EXPECT_EQ(t.doc->m_nTokenCount, 20);
    EXPECT_EQ(t.view->GetCellText(1, 3), QString());
    EXPECT_EQ(t.view->GetCellInt(1, 0), 0);
    EXPECT_EQ(t.view->m_nCopyFirstRow, 2);
    EXPECT_TRUE(t.doc->isModified());
}

TEST(TableCopyPaste, WithoutMarkedRowsPasteOverwritesAndARefusedPasteLeavesNoRowsBehind)
{
    TableFixture t(numberedTokens(3));
    t.grid().selectBlock(0, 0, 0, 1, true);
    t.view->OnEditCopy();
    EXPECT_EQ(std::pair(t.view->m_nCopyFirstRow, t.view->m_nCopyLastRow), std::pair(-1, -1));
    t.grid().setActiveRow(2);
    t.view->OnEditPaste();
    EXPECT_EQ(t.column(0), (Ints{100, 101, 100}));
    EXPECT_EQ(t.column(1), (Ints{1000, 1001, 1000}));
    EXPECT_EQ(t.column(2), (Ints{2000, 2001, 2002}));
    t.doc->setModifiedFlag(false);

    t.grid().setRowSelected(0, true);
    t.view->OnEditCopy();
    QApplication::clipboard()->setText(QStringLiteral("abc\t1\n"));
    t.grid().setActiveRow(1);
    EXPECT_THROW(t.view->OnEditPaste(), GridError);
    EXPECT_EQ(t.grid().rowCount(), 3);
    EXPECT_EQ(t.doc->m_nTokenCount, 3);
    EXPECT_EQ(t.column(0), (Ints{100, 101, 100}));

    // From the menu the refusal is a message. A minus sign is refused like any other
    // non-digit: the file could not keep it.
    MessageCapture capture;
    QApplication::clipboard()->setText(QStringLiteral("-300\t1500\n"));
    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_PASTE));
    EXPECT_EQ(capture.messages(), QStringList({"Cannot paste \"-300\" into the F1 column: it "
                                               "takes whole numbers only."}));
    EXPECT_EQ(t.column(0), (Ints{100, 101, 100}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableRows, AddGoesBeforeTheFirstMarkedRowAndRemoveTakesEveryMarkedRow)
{
    MessageCapture capture;
    TableFixture t(numberedTokens(6));
    t.grid().setRowSelected(3, true);
    t.grid().setRowSelected(5, true);
    t.view->OnEditAddRow();
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102, 0, 103, 104, 105}));
    EXPECT_EQ(t.view->GetCellText(3, 3), QString());
    EXPECT_EQ(t.doc->m_nTokenCount, 7);
    EXPECT_TRUE(t.doc->isModified());

    emit t.grid().rowSelectEvent(); // a click on a cell lets the marked rows go
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    t.grid().setRowSelected(1, true);
    t.grid().setRowSelected(3, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.column(0), (Ints{100, 102, 103, 104, 105}));

    t.grid().selectRange(0, 4, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.doc->m_nTokenCount, 0);
    EXPECT_TRUE(capture.events().isEmpty());
    t.doc->setModifiedFlag(false);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(capture.events(),
              (QStringList{MessageCapture::beepEvent, QStringLiteral("Cannot remove row.")}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableOrder, SortMovesAnEditedRowAndAssignOrderNumbersDistinctSymbolsExactly)
{
    TableFixture t({{1, 0, 0, "a"}, {2, 0, 0, "A"}, {3, 0, 0, "a "}, {4, 0, 0, "b"}});
    EXPECT_EQ(t.symbols(), (QStringList{"A", "a", "a ", "b"}));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 3, 4}));
    t.view->SetCellText(0, 3, QStringLiteral("b"), 1);
    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_SORT));
    EXPECT_EQ(t.symbols(), (QStringList{"a", "a ", "b", "b"}));
    EXPECT_EQ(t.column(0), (Ints{1, 3, 2, 4}));
    EXPECT_EQ(t.column(4), (Ints{2, 3, 1, 4})); // numbered only on request
    EXPECT_FALSE(t.grid().isSortActive());
    ASSERT_TRUE(t.view->OnCmdMsg(ID_EDIT_ASSIGN_ORDER));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 3, 3}));
    EXPECT_FALSE(t.doc->isModified());

    for (int row = 0; row < 4; ++row)
        t.view->SetCellInt(row, 4, 0);
    EXPECT_FALSE(t.view->HasOrder());
    t.view->SetCellInt(3, 4, 7);
    EXPECT_TRUE(t.view->HasOrder());
}

TEST(TableOrder, AGridThatCannotServeTheRowCountReportsAndKeepsWhatItReached)
{
    MessageCapture capture;
    TableFixture t({{1, 0, 0, "b"}, {2, 0, 0, "a"}});
    t.doc->m_nTokenCount = 3; // another table window added a row
    t.view->SetCellInt(0, 4, 0);
    t.view->SetCellInt(1, 4, 0);
    t.view->AssignOrder();
    EXPECT_EQ(capture.messages(), QStringList{"Error in assigning orders to the table"});
    EXPECT_EQ(t.column(4), (Ints{1, 2}));
    EXPECT_TRUE(t.grid().isSortActive());
    capture.clear();
    EXPECT_TRUE(t.view->HasOrder());
    EXPECT_EQ(capture.messages(), QStringList{"Error in checking orders to the table"});
}

// The real chart windows, registered while it lives.
struct Charts
{
    Charts() { RegisterPlotWindows(); }
    ~Charts()
    {
        PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
        PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
    }
};

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const std::vector<Token> kTwoVowels = {{310, 2020, 2960, "i"}, {710, 1100, 2540, "a"}};

TEST(PlotCommands, OpenOneWindowPerChartBringItBackAndRefuseATableWithoutNumbers)
{
    const Charts charts;
    MessageCapture capture;
    TableFixture t(kTwoVowels);
    ASSERT_TRUE(t.view->OnCmdMsg(ID_PLOT_F1F2));
    QPointer<ChildFrame> first = t.view->m_pF1F2Frame;
    ASSERT_TRUE(first && first->isVisible());
    EXPECT_EQ(first->activeView()->document(), t.doc.get());
    t.view->OnPlotF1F2();
    EXPECT_EQ(t.view->m_pF1F2Frame, first);
    t.view->OnPlotF1F3(); // the other chart has a window of its own
    ASSERT_TRUE(t.view->m_pF1F3Frame);
    EXPECT_NE(t.view->m_pF1F3Frame, first);
    first->close();
    settle();
    EXPECT_FALSE(first);
    t.view->OnPlotF1F2();
    EXPECT_TRUE(t.view->m_pF1F2Frame);
    EXPECT_TRUE(capture.events().isEmpty());

    for (int row = 0; row < 2; ++row)
        t.view->SetCellInt(row, 4, 0);
    t.view->OnPlotF1F3(); // even while its window is open
    EXPECT_EQ(capture.messages(), QStringList{LoadString(IDS_ERR_NO_ORDER)});
}

TEST(PlotCommands, AreGreyedWithoutDataAndReportWhatTheyCannotDo)
{
    MessageCapture capture;
    TableFixture empty;
    for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3, ID_PLOT_F1F2PRIME, ID_EDIT_REMOVE_ROW})
        EXPECT_FALSE(enabled(*empty.view, id)) << id;
    ASSERT_TRUE(empty.view->OnCmdMsg(ID_EDIT_ADD_ROW));
    for (int id : {ID_PLOT_F1F2, ID_PLOT_F1F3, ID_PLOT_F1F2PRIME})
        EXPECT_TRUE(enabled(*empty.view, id)) << id;
    ASSERT_TRUE(empty.view->OnCmdMsg(ID_PLOT_F1F2PRIME));
    EXPECT_EQ(capture.messages(), QStringList{"This function is not implemented yet"});

    capture.clear();
    TableFixture t(kTwoVowels); // no chart windows registered
    t.view->OnPlotF1F2();
    EXPECT_EQ(capture.events(), (QStringList{MessageCapture::beepEvent,
                                             QStringLiteral("Could not create the plot view.")}));
    EXPECT_FALSE(t.view->m_pF1F2Frame);
}

TEST(TablePrint, PagesFillTheFirstPageThenWholePagesAndAnEmptyTablePrintsOne)
{
    // 1000 high: 100 of titles, 50 of footer, 20 of headings, rows of 10.
    auto layout = TablePageLayout::compute(1000, 100, 20, 10, 50, 200, true);
    EXPECT_EQ(std::tuple(layout.rowsOnFirstPage, layout.rowsPerPage, layout.pageCount),
              std::tuple(83, 83, 3));
    layout = TablePageLayout::compute(1000, 100, 20, 10, 50, 83, false);
    EXPECT_EQ(std::pair(layout.rowsPerPage, layout.pageCount), std::pair(85, 1));
    layout = TablePageLayout::compute(50, 100, 20, 10, 50, 3, true); // no room: never stall
    EXPECT_EQ(std::pair(layout.rowsPerPage, layout.pageCount), std::pair(1, 3));

    TestFiles files;
    auto pages = [&](TableFixture &t, int maxPages = 0) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(files.path("table.pdf"));
        QPainter painter(&printer);
        PrintInfo info;
        info.printer = &printer;
        if (maxPages > 0)
            return int(t.grid().PrintTable(painter, "T", "S", true, false, false, maxPages));
        t.view->OnPrint(painter, info);
        painter.end();
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        return int(QString::fromLatin1(TestFiles::read(files.path("table.pdf"))).count(page));
    };
    TableFixture empty;
    empty.doc->setTitle(QStringLiteral("Untitled1"));
    EXPECT_EQ(pages(empty), 1);
    TableFixture t(std::vector<Token>(400, Token{300, 2000, 2800, "i"}));
    EXPECT_GT(pages(t), 1);
    EXPECT_EQ(pages(t, 1), 1);
}

} // namespace
