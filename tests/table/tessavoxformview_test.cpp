// The table window on a document: the fill, the Edit commands with their selections and
// the modified flag, printing, and the Calculation/Display Options dialog.

#include "tablesession.h"

#include "framework/modaldialogs.h"
#include "framework/printinfo.h"
#include "table/calcdisplaydlg.h"
#include "table/griderror.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Ints = std::vector<int>;

// A session with one table window open on `rows`, or on a new document when there are none.
struct TableFixture : TableSession
{
    CTessavoxFormView *view;
    CTessavoxDoc *doc;

    explicit TableFixture(const std::vector<Row> &rows = {})
        : view(openTable(rows)), doc(view->GetDocument())
    {}
    CDatatbl5 &grid() { return view->grid(); }
    Ints column(int c) const
    {
        Ints values;
        for (int row = 0; row < view->grid().rowCount(); ++row)
            values.push_back(view->GetCellInt(row, c));
        return values;
    }
};

// Tokens 100+i, 1000+i, 2000+i with symbols "a", "b", ... numbered 1, 2, ...
std::vector<Row> numberedTokens(int count)
{
    std::vector<Row> tokens;
    for (int i = 0; i < count; ++i)
        tokens.emplace_back(100 + i, 1000 + i, 2000 + i, QString(QChar(u'a' + i)));
    return tokens;
}

TEST(TableFill, SortsStablyNumbersTheVowelsAndShowsOutOfRangeFormantsAsZero)
{
    TableFixture t({{310, 2020, 2960, "i"},
                    {710, 1100, 2540, "a"},
                    {320, 2100, 0, "i"},
                    {10001, 5, 10000, "ɛː"},
                    {300, 870, 2240, ""}});
    EXPECT_EQ(t.column(0), (Ints{300, 710, 310, 320, 0}));
    EXPECT_EQ(t.column(2), (Ints{2240, 2540, 2960, 0, 10000}));
    EXPECT_EQ(t.column(4), (Ints{1, 2, 3, 3, 4})); // the empty symbol is a group of its own
    EXPECT_EQ(t.view->GetCellText(4, 3), QStringLiteral("ɛː"));
}

TEST(TableCopyPaste, CopiesTheSpanOfMarkedRowsPastesIntoNewRowsAndCutEmptiesCells)
{
    TableFixture t(numberedTokens(12));
    t.grid().setRowSelected(2, true);
    t.grid().setRowSelected(5, true);
    t.view->OnEditCopy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("102\t1002\t2002\tc\t3\n") &&
                copied.endsWith("105\t1005\t2005\tf\t6\n"));
    EXPECT_EQ(t.grid().nextSelected(-1), -1);
    EXPECT_FALSE(t.doc->isModified());

    t.grid().setRowSelected(9, true);
    t.view->OnEditPaste();
    EXPECT_EQ(t.column(0), (Ints{100, 101, 102, 103, 104, 105, 106, 107, 108, 102, 103, 104, 105,
                                 109, 110, 111}));
    EXPECT_TRUE(t.doc->isModified());
    // The recorded block stays: with no row marked the active row is the target.
    t.grid().setActiveRow(0);
    t.view->OnEditPaste();
    EXPECT_EQ(t.doc->m_nTokenCount, 20);
    EXPECT_EQ(t.view->GetCellInt(4, 0), 100);

    t.doc->setModifiedFlag(false);
    t.grid().selectBlock(1, 0, 1, 4, true);
    t.view->OnEditCut();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("103\t1003\t2003\td\t4\n"));
    EXPECT_EQ(t.view->GetCellText(1, 3), QString());
    EXPECT_EQ(t.doc->m_nTokenCount, 20);
    EXPECT_TRUE(t.doc->isModified());
}

TEST(TableCopyPaste, WithoutMarkedRowsPasteOverwritesAndARefusedPasteLeavesNoRowsBehind)
{
    TableFixture t(numberedTokens(3));
    t.grid().selectBlock(0, 0, 0, 1, true);
    t.view->OnEditCopy(); // cells, not rows: a paste overwrites
    t.grid().setActiveRow(2);
    t.view->OnEditPaste();
    EXPECT_EQ(t.column(0), (Ints{100, 101, 100}));
    EXPECT_EQ(t.column(2), (Ints{2000, 2001, 2002}));

    t.doc->setModifiedFlag(false);
    t.grid().setRowSelected(0, true);
    t.view->OnEditCopy();
    QApplication::clipboard()->setText(QStringLiteral("abc\t1\n"));
    EXPECT_THROW(t.view->OnEditPaste(), GridError);
    EXPECT_EQ(t.grid().rowCount(), 3);
    EXPECT_EQ(t.doc->m_nTokenCount, 3);
    // From the menu the refusal is a message. A minus sign is refused like any other
    // non-digit: the file could not keep it.
    QApplication::clipboard()->setText(QStringLiteral("-300\t1500\n"));
    ASSERT_TRUE(t.view->execute(ID_EDIT_PASTE));
    EXPECT_EQ(t.capture.messages(), QStringList({"Cannot paste \"-300\" into the F1 column: it "
                                                 "takes whole numbers only."}));
    EXPECT_EQ(t.column(0), (Ints{100, 101, 100}));
    EXPECT_FALSE(t.doc->isModified());
}

TEST(TableRows, TypingMarksTheDocumentAndAddAndRemoveFollowTheMarkedRows)
{
    TableFixture t(numberedTokens(6));
    type(t.view, 1, 0, 150);
    EXPECT_TRUE(t.doc->isModified());

    t.grid().setRowSelected(3, true);
    t.grid().setRowSelected(5, true);
    t.view->OnEditAddRow();
    EXPECT_EQ(t.column(0), (Ints{100, 150, 102, 0, 103, 104, 105}));
    emit t.grid().rowSelectEvent(); // a click on a cell lets the marked rows go
    t.grid().setRowSelected(1, true);
    t.grid().setRowSelected(3, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.column(0), (Ints{100, 102, 103, 104, 105}));

    t.grid().selectRange(0, 4, true);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.doc->m_nTokenCount, 0);
    EXPECT_TRUE(t.capture.events().isEmpty());
    t.doc->setModifiedFlag(false);
    t.view->OnEditRemoveRow();
    EXPECT_EQ(t.capture.events(),
              (QStringList{MessageCapture::beepEvent, QStringLiteral("Cannot remove row.")}));
    EXPECT_FALSE(t.doc->isModified());
}

// Add Row once made a token at 0 Hz (written "000 000 000"); the Tessavox format has no empty
// cell, so such a row is refused there, the file kept, and saved as a table as empty cells.
// The window title marks what is not yet saved.
TEST(TableRows, AddedRowsAreEmptyCellsAndTheTitleMarksUnsavedChanges)
{
    TableFixture t(numberedTokens(2));
    DocumentWindow *frame = DocumentWindow::frameOf(t.view);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->windowTitle(), "tokens.txt");
    t.view->OnEditAddRow();
    EXPECT_EQ(frame->windowTitle(), "tokens.txt*");
    for (int column : {0, 1, 2, 3})
        EXPECT_TRUE(t.doc->tokens().IsCellEmpty(2, column)) << column;

    const QByteArray file = TestFiles::read(t.path);
    EXPECT_FALSE(t.doc->save());
    ASSERT_EQ(t.capture.messages().size(), 1);
    EXPECT_TRUE(t.capture.lastMessage().contains("row 3 has no F1"))
        << t.capture.lastMessage().toStdString();
    EXPECT_EQ(TestFiles::read(t.path), file);
    EXPECT_EQ(frame->windowTitle(), "tokens.txt*");

    const QString csv = t.files.path("tokens.csv");
    ASSERT_TRUE(t.doc->saveAs(csv));
    EXPECT_EQ(frame->windowTitle(), "tokens.csv");
    EXPECT_EQ(TestFiles::read(csv), "F1,F2,F3,vowel\n100,1000,2000,a\n101,1001,2001,b\n,,,\n");

    for (int column : {0, 1, 2})
        type(t.view, 2, column, 500 + column);
    EXPECT_EQ(frame->windowTitle(), "tokens.csv*");
    ASSERT_TRUE(t.doc->saveAs(t.path));
    EXPECT_EQ(fileRows(t.path).back(), (Row{500, 501, 502, ""}));
    EXPECT_EQ(frame->windowTitle(), "tokens.txt");
}

// Many rows over several pages are the batch print's test; the same printer serves both.
TEST(TablePrint, AnEmptyTablePrintsOnePage)
{
    TableFixture empty;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(empty.files.path("table.pdf"));
    QPainter painter(&printer);
    PrintInfo info;
    info.printer = &printer;
    empty.view->OnPrint(painter, info);
    painter.end();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(TestFiles::read(empty.files.path("table.pdf"))).count(page), 1);
}

template <typename T = QLineEdit> T *control(QDialog &dialog, const char *name)
{
    auto *found = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Presses OK as the user does; the dialog's result says whether it closed.
int press(QDialog &dialog)
{
    control<QPushButton>(dialog, "IDOK")->click();
    return dialog.result();
}

TEST(OptionsDialog, ChecksEachMaximumBeforeItsMinimumAndOkKeepsTheHiddenOptions)
{
    MessageCapture capture;
    CTessavoxDoc doc;
    // Options the dialog does not show must come through OK unchanged.
    doc.m_bAlwaysClear = false;
    doc.m_bLinear = true;
    doc.m_bBark = false;
    doc.m_nLineWeight = 2;

    // Each step: values typed, then the message and the field that gets the focus.
    using Typed = std::vector<std::pair<const char *, const char *>>;
    const QString upTo10000 = QStringLiteral("Please enter an integer between 0 and 10000.");
    const QString notInteger = QStringLiteral("Please enter an integer.");
    const std::vector<std::tuple<Typed, QString, const char *>> steps = {
        {{{"IDC_F1_MIN", ""}, {"IDC_F1_MAX", "10001"}}, upTo10000, "IDC_F1_MAX"},
        {{{"IDC_F1_MAX", "10000"}}, notInteger, "IDC_F1_MIN"},
        {{{"IDC_F1_MIN", "1001"}, {"IDC_F2_MIN", "1001"}},
         QStringLiteral("Please enter an integer between 0 and 1000."),
         "IDC_F2_MIN"},
        {{{"IDC_F2_MIN", "1000"}, {"IDC_F3_MIN", "99999999999"}, {"IDC_F3_MAX", "20000"}},
         upTo10000,
         "IDC_F3_MAX"},
        {{{"IDC_F3_MAX", "0"}}, notInteger, "IDC_F3_MIN"},
    };
    const ScopedModalRunner runner([&](QDialog &dialog) {
        dialog.show();
        for (const auto &[typed, message, focus] : steps) {
            for (const auto &[name, text] : typed)
                control(dialog, name)->setText(QString::fromLatin1(text));
            EXPECT_EQ(press(dialog), QDialog::Rejected);
            EXPECT_EQ(capture.lastMessage(), message);
            EXPECT_EQ(dialog.focusWidget(), control(dialog, focus));
        }
        // A minimum above its maximum is the user's to choose.
        control(dialog, "IDC_F3_MIN")->setText("4000");
        control<QCheckBox>(dialog, "IDC_DRAW_ELLIPSE")->setChecked(false);
        return press(dialog);
    });
    EXPECT_TRUE(CCalcDisplayDlg::editOptions(doc));
    EXPECT_EQ(capture.messages().size(), int(steps.size()));
    const CTessavoxDoc &d = doc;
    EXPECT_EQ(std::tuple(d.m_bAlwaysClear, d.m_nF1Max, d.m_nF1Min, d.m_nF2Max, d.m_nF2Min,
                         d.m_nF3Max, d.m_nF3Min, d.m_nLineWeight, d.m_bLinear, d.m_bBark,
                         d.m_bDrawEllipse),
              std::tuple(false, 10000, 1001, 3500, 1000, 0, 4000, 2, true, false, false));
    EXPECT_FALSE(doc.isModified());
}

} // namespace
