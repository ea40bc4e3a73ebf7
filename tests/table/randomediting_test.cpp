// Thousands of random edits from a fixed seed, made through the table windows' own
// commands the way menus and keys make them, with the document's promises checked after
// every step: every table window has the document's row count, the modified flag follows
// the edits, charts paint, messages are the expected ones, and a saved file reads back as
// the table showed it.

#include "tablesession.h"

#include "rowheader.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPointer>

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr std::uint32_t kSeed = 20240611;
constexpr int kSteps = 10000;
// Past this many rows, removing gets likelier, so every step stays quick.
constexpr int kManyRows = 200;

const QStringList kSymbols = {"i",
                              "a",
                              "u",
                              "e",
                              "o",
                              QStringLiteral("ɛ"),
                              QStringLiteral("ɔː"),
                              "i ",
                              "A",
                              "",
                              "y",
                              QStringLiteral("ø")};

const QByteArray kStartFile = "F1 F2 F3 vowel\r\n"
                              "300\t2300\t2900\t\"i\"\t\r\n"
                              "700\t1200\t2500\t\"a\"\t\r\n"
                              "320\t2200\t2800\t\"i\"\t\r\n"
                              "310\t2400\t2700\t\"i\"\t\r\n"
                              "350\t800\t2300\t\"u\"\t\r\n"
                              "690\t1250\t2450\t\"a\"\t\r\n"
                              "720\t1150\t2550\t\"a\"\t\r\n";

struct Token
{
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    QString label;
    bool operator==(const Token &) const = default;
};

class RandomEditing
{
public:
    RandomEditing()
    {
        m_path = m_session.files.write("tokens.txt", kStartFile);
        m_doc = m_session.open(m_path);
    }

    ::testing::AssertionResult run(int steps)
    {
        if (!m_doc)
            return ::testing::AssertionFailure() << "the start file did not open";
        for (int step = 0; step < steps; ++step) {
            m_session.capture.clear();
            m_expectedEvents.clear();
            const char *name = randomStep();
            // Every edit must leave the open charts able to draw the table.
            if (m_doc)
                paintCharts();
            if (::testing::AssertionResult ok = invariants(); !ok)
                return ok << " (step " << step << ", " << name << ")";
        }
        return ::testing::AssertionSuccess();
    }

private:
    int below(int n) { return n <= 0 ? 0 : int(m_random() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
    int rows() const { return m_doc->m_nTokenCount; }

    CTessavoxFormView *anyTable()
    {
        const std::vector<CTessavoxFormView *> tables = TableSession::tableViews(m_doc);
        return tables[std::size_t(below(int(tables.size())))];
    }

    const char *randomStep()
    {
        // Weights: marking rows and typing are what users do most.
        const int pick = below(rows() > kManyRows ? 120 : 100);
        if (pick < 14)
            return markRows(), "mark rows";
        if (pick < 22)
            return selectCells(), "select cells";
        if (pick < 36)
            return type(), "type";
        if (pick < 42)
            return command(ID_EDIT_ADD_ROW), "add row";
        if (pick < 47)
            return command(ID_EDIT_COPY), "copy";
        if (pick < 51)
            return command(ID_EDIT_CUT), "cut";
        if (pick < 58)
            return paste(), "paste";
        if (pick < 61)
            return command(ID_EDIT_SORT), "sort";
        if (pick < 64)
            return command(ID_EDIT_ASSIGN_ORDER), "assign order";
        if (pick < 67)
            return changeOptions(), "options";
        if (pick < 70)
            return chooseLabel(), "label choice";
        if (pick < 75)
            return openChart(), "open chart";
        if (pick < 77)
            return closeChart(), "close chart";
        if (pick < 79)
            return newWindow(), "new window";
        if (pick < 81)
            return closeWindow(), "close window";
        if (pick < 85)
            return save(), "save";
        if (pick < 86)
            return closeDocument(), "close document";
        if (pick < 87 && chance(40))
            return removeEveryRow(), "remove every row";
        // The rest, and more of it while the table is large, so that it shrinks again.
        return command(ID_EDIT_REMOVE_ROW), "remove row";
    }

    void markRows()
    {
        CDatatbl5 &grid = anyTable()->grid();
        if (rows() == 0)
            return;
        const int a = below(rows());
        const int b = std::min(rows() - 1, a + below(8));
        auto *header = static_cast<RowHeader *>(grid.verticalHeader());
        switch (below(5)) {
        case 0:
            grid.setRowSelected(a, chance(70));
            break;
        case 4: {
            // Clicks and drags on the row header, with Shift and Ctrl now and then.
            static constexpr Qt::KeyboardModifiers kKeys[] = {Qt::NoModifier, Qt::ShiftModifier,
                                                              Qt::ControlModifier, Qt::NoModifier};
            emit header->rowPressed(a, kKeys[below(4)]);
            if (chance(30))
                emit header->rowDragged(b);
            break;
        }
        case 1:
            grid.selectRange(a, b, true);
            break;
        case 2:
            emit grid.rowSelectEvent(); // a click on a cell lets the marked rows go
            break;
        default:
            grid.selectRange(0, rows() - 1, false);
        }
    }

    // Marks every row and removes them: the table is empty until rows come back.
    void removeEveryRow()
    {
        CTessavoxFormView *table = anyTable();
        table->grid().selectRange(0, rows() - 1, true);
        command(ID_EDIT_REMOVE_ROW);
        EXPECT_EQ(rows(), 0);
    }

    void selectCells()
    {
        CDatatbl5 &grid = anyTable()->grid();
        if (rows() == 0 || chance(15)) {
            grid.clearSelection();
            return;
        }
        const int top = below(rows());
        const int left = below(5);
        grid.selectBlock(top, left, std::min(rows() - 1, top + below(6)), left + below(5 - left),
                         true);
        grid.setActiveRow(below(rows()));
        grid.setActiveColumn(below(5));
    }

    // A value typed into a cell, handed to the grid as its cell editor hands it.
    void type()
    {
        CTessavoxFormView *table = anyTable();
        if (rows() == 0)
            return;
        const int row = below(rows());
        const int column = below(5);
        QVariant value;
        if (column == GridModel::Symbol) {
            value = chance(85) ? kSymbols[below(int(kSymbols.size()))]
                               : table->grid().value(row, column).toString();
        } else if (!chance(10)) {
            static constexpr int kSpan[] = {900, 2500, 2500, 0};
            const int kind = below(20);
            value = kind == 0                    ? below(100)
                    : kind == 1                  ? below(1000000000)
                    : kind == 2                  ? table->grid().value(row, column).toInt()
                    : column == GridModel::Order ? below(9)
                                                 : 200 + below(kSpan[column]);
        }
        const QVariant before = table->grid().value(row, column);
        QAbstractItemModel *model = table->grid().model();
        model->setData(model->index(row, column), value);
        if (table->grid().value(row, column) != before)
            m_expectModified = true;
    }

    void command(int id)
    {
        CTessavoxFormView *table = anyTable();
        const int rowsBefore = rows();
        table->OnCmdMsg(id);
        switch (id) {
        case ID_EDIT_REMOVE_ROW:
            if (rowsBefore == 0)
                m_expectedEvents = {MessageCapture::beepEvent, LoadString(IDS_ERR_REMOVE_ROW)};
            else
                m_expectModified = true;
            break;
        case ID_EDIT_ADD_ROW:
        case ID_EDIT_CUT:
            m_expectModified = true;
            break;
        case ID_EDIT_SORT:
            checkSorted(table);
            break;
        case ID_EDIT_ASSIGN_ORDER:
            checkSorted(table);
            checkNumbered(table);
            break;
        }
    }

    void paste()
    {
        if (chance(30))
            QApplication::clipboard()->setText(foreignText());
        CTessavoxFormView *table = anyTable();
        const std::vector<Token> before = tokens(table);
        table->OnCmdMsg(ID_EDIT_PASTE);
        // A refused paste is reported and changes nothing.
        if (!m_session.capture.events().isEmpty()) {
            m_expectedEvents = m_session.capture.events();
            EXPECT_TRUE(m_expectedEvents.size() == 1 &&
                        m_expectedEvents[0].startsWith(QStringLiteral("Cannot paste")))
                << m_expectedEvents.join(", ").toStdString();
            EXPECT_TRUE(tokens(table) == before) << "a refused paste changed the table";
            return;
        }
        m_expectModified = true;
    }

    // Cells as another program puts them on the clipboard, now and then with one that
    // no number column takes.
    QString foreignText()
    {
        QStringList lines;
        for (int i = below(4) + 1; i > 0; --i) {
            QStringList fields;
            for (int j = below(6) + 1; j > 0; --j) {
                switch (below(8)) {
                case 0:
                    fields << QString();
                    break;
                case 1:
                    fields << kSymbols[below(int(kSymbols.size()))];
                    break;
                case 2:
                    fields << (chance(50) ? QStringLiteral("-350") : QStringLiteral("1.5"));
                    break;
                default:
                    fields << QString::number(below(4000));
                }
            }
            lines << fields.join(QLatin1Char('\t'));
        }
        return lines.join(QStringLiteral("\r\n"));
    }

    void changeOptions()
    {
        m_doc->m_nF1Max = chance(5) ? 0 : 200 + below(9801);
        m_doc->m_nF2Max = chance(5) ? 10000 : 500 + below(9501);
        m_doc->m_nF3Max = chance(5) ? 0 : 1000 + below(9001);
        m_doc->m_bDrawEllipse = chance(70);
        m_doc->UpdateAllViews(nullptr);
    }

    // As the Label Selector stores a choice for a vowel number.
    void chooseLabel()
    {
        const auto order = std::size_t(below(100));
        m_doc->m_nOrderLabel[order] = below(6) - 1;
        m_doc->m_strOrderLabel[order] = kSymbols[below(int(kSymbols.size()))];
        m_doc->UpdateAllViews(nullptr);
    }

    void openChart()
    {
        CTessavoxFormView *table = anyTable();
        const int id = chance(50) ? ID_PLOT_F1F2 : ID_PLOT_F1F3;
        const bool hasOrder = table->HasOrder();
        table->OnCmdMsg(id);
        if (!hasOrder) {
            m_expectedEvents = {LoadString(IDS_ERR_NO_ORDER)};
            return;
        }
        ChildFrame *frame = id == ID_PLOT_F1F2 ? table->m_pF1F2Frame : table->m_pF1F3Frame;
        EXPECT_TRUE(frame) << "no chart window";
        if (frame)
            frame->resize(360, 280); // a small window paints quickly
    }

    void closeChart()
    {
        const std::vector<PlotView *> charts = TableSession::charts(m_doc);
        if (charts.empty())
            return;
        ChildFrame::frameOf(charts[std::size_t(below(int(charts.size())))])->close();
        TableSession::settle();
    }

    void paintCharts()
    {
        for (PlotView *chart : TableSession::charts(m_doc))
            TableSession::paint(chart);
    }

    void newWindow()
    {
        if (TableSession::tableViews(m_doc).size() >= 3)
            return;
        CTessavoxFormView *table = TableSession::newWindow(m_doc);
        ASSERT_TRUE(table);
        ChildFrame::frameOf(table)->resize(420, 360);
    }

    void closeWindow()
    {
        const std::vector<CTessavoxFormView *> tables = TableSession::tableViews(m_doc);
        if (tables.size() < 2)
            return;
        ChildFrame::frameOf(tables[std::size_t(below(int(tables.size())))])->close();
        TableSession::settle();
    }

    void save()
    {
        const std::vector<Token> expected = fileTokens();
        const bool empty = rows() == 0;
        ASSERT_TRUE(m_doc->OnCmdMsg(ID_FILE_SAVE));
        m_expectModified = false;
        checkFile(expected, empty);
    }

    // The user closes the document and opens the file again; a modified one is saved.
    void closeDocument()
    {
        const std::vector<Token> expected = fileTokens();
        const bool empty = rows() == 0;
        m_session.capture.setAnswer(Messages::Answer::Yes);
        m_doc->OnCmdMsg(ID_FILE_CLOSE);
        m_session.capture.setAnswer(Messages::Answer::No);
        TableSession::settle();
        ASSERT_FALSE(m_doc) << "the document outlived its windows";
        if (m_expectModified) {
            m_expectedEvents = {QStringLiteral("Save changes to tokens.txt?")};
            checkFile(expected, empty);
        }
        // An empty file does not open; the user starts again from another.
        if (QFileInfo(m_path).size() == 0)
            m_session.files.write("tokens.txt", kStartFile);
        m_doc = m_session.open(m_path);
        ASSERT_TRUE(m_doc);
        m_expectModified = false;
    }

    // Rows in the table's order, read through the accessors the writer uses.
    static std::vector<Token> tokens(const CTessavoxFormView *table)
    {
        std::vector<Token> result;
        for (int row = 0; row < table->GetDocument()->m_nTokenCount; ++row)
            result.push_back({table->GetCellInt(row, 0), table->GetCellInt(row, 1),
                              table->GetCellInt(row, 2), table->GetCellText(row, 3)});
        return result;
    }

    std::vector<Token> fileTokens() const
    {
        return tokens(TableSession::tableViews(m_doc).front());
    }

    void checkFile(const std::vector<Token> &expected, bool emptyTable) const
    {
        if (emptyTable) {
            EXPECT_EQ(QFileInfo(m_path).size(), 0);
            return;
        }
        const std::unique_ptr<CTessavoxDoc> back = TableSession::readBack(m_path);
        ASSERT_TRUE(back);
        std::vector<Token> read;
        for (int i = 0; i < back->m_nTokenCount; ++i) {
            const FormantRecord &r = back->m_records[std::size_t(i)];
            read.push_back({r.formants[0], r.formants[1], r.formants[2],
                            QString::fromUtf8(r.label.data(), r.labelLength)});
        }
        EXPECT_TRUE(read == expected) << "the file reads back " << read.size() << " tokens, "
                                      << expected.size() << " expected";
    }

    static void checkSorted(const CTessavoxFormView *table)
    {
        const std::vector<Token> rows = tokens(table);
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_LE(rows[i - 1].label.toUtf8(), rows[i].label.toUtf8()) << "row " << i;
    }

    // One number per distinct symbol, counting up from 1 down the sorted table.
    static void checkNumbered(const CTessavoxFormView *table)
    {
        const int count = table->GetDocument()->m_nTokenCount;
        for (int row = 0; row < count; ++row) {
            const bool sameAsAbove =
                row > 0 && table->GetCellText(row, 3) == table->GetCellText(row - 1, 3);
            const int above = row > 0 ? table->GetCellInt(row - 1, 4) : 0;
            EXPECT_EQ(table->GetCellInt(row, 4), sameAsAbove ? above : above + 1) << "row " << row;
        }
    }

    ::testing::AssertionResult invariants() const
    {
        if (::testing::Test::HasFailure())
            return ::testing::AssertionFailure() << "a check inside the step failed";
        if (!m_doc)
            return ::testing::AssertionFailure() << "the document is gone";
        const std::vector<CTessavoxFormView *> tables = TableSession::tableViews(m_doc);
        if (tables.empty() || m_doc->tableView() != tables.front())
            return ::testing::AssertionFailure() << "the document reads no open table window";
        for (const CTessavoxFormView *table : tables) {
            if (table->grid().rowCount() != m_doc->m_nTokenCount ||
                !table->grid().sharesRowsWith(tables.front()->grid()))
                return ::testing::AssertionFailure()
                       << "a table window has " << table->grid().rowCount()
                       << " rows, the document counts " << m_doc->m_nTokenCount;
        }
        if (m_doc->isModified() != m_expectModified)
            return ::testing::AssertionFailure()
                   << "modified flag " << m_doc->isModified() << ", expected " << m_expectModified;
        if (!m_doc->m_bDataLoaded)
            return ::testing::AssertionFailure() << "the data-loaded flag went off";
        if (m_session.capture.events() != m_expectedEvents)
            return ::testing::AssertionFailure()
                   << "messages [" << m_session.capture.events().join(", ").toStdString()
                   << "], expected [" << m_expectedEvents.join(", ").toStdString() << "]";
        return ::testing::AssertionSuccess();
    }

    TableSession m_session;
    std::mt19937 m_random{kSeed};
    QString m_path;
    QPointer<CTessavoxDoc> m_doc;
    bool m_expectModified = false;
    QStringList m_expectedEvents;
};

TEST(RandomEditing, ThousandsOfStepsKeepTheTableTheDocumentAndTheFileInStep)
{
    RandomEditing editing;
    EXPECT_TRUE(editing.run(kSteps));
}

} // namespace
