// Documents opened as the program opens them, with several table windows (Window > New
// Window) over one table and the real chart windows. Thousands of random edits from a fixed
// seed, made through the windows' own commands, check after every step that every table
// window has the document's rows, the modified flag follows the edits, charts paint, the
// messages are the expected ones, and a saved file reads back as the table showed it.

#include "childframe.h"
#include "commandids.h"
#include "doctemplate.h"
#include "messages.h"
#include "plottemplates.h"
#include "plotviewf1f2.h"
#include "plotwindows.h"
#include "rowheader.h"
#include "stringtable.h"
#include "tessavoxdoc.h"
#include "tessavoxformview.h"
#include "testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <tuple>

namespace {

// Sorted, the three "a" rows come first, then the three "i" rows, then "u".
const QByteArray kVowelFile = "F1 F2 F3 vowel\r\n"
                              "300\t2300\t2900\t\"i\"\t\r\n"
                              "700\t1200\t2500\t\"a\"\t\r\n"
                              "320\t2200\t2800\t\"i\"\t\r\n"
                              "310\t2400\t2700\t\"i\"\t\r\n"
                              "350\t800\t2300\t\"u\"\t\r\n"
                              "690\t1250\t2450\t\"a\"\t\r\n"
                              "720\t1150\t2550\t\"a\"\t\r\n";

using Row = std::tuple<int, int, int, QString>;

// Deletes closed windows, the windows that closed with them, and a document whose last
// window went.
void settle()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The document's windows showing a V that are not on their way out, in window order.
template <typename V> std::vector<V *> windows(const CTessavoxDoc *doc)
{
    std::vector<V *> result;
    for (View *view : doc->views()) {
        const ChildFrame *frame = ChildFrame::frameOf(view);
        if (auto *v = qobject_cast<V *>(view); v && frame && !frame->isClosing())
            result.push_back(v);
    }
    return result;
}

// What the main window's New Window does for the active document.
CTessavoxFormView *newWindow(CTessavoxDoc *doc)
{
    ChildFrame *frame = doc->docTemplate()->CreateNewFrame(doc);
    if (!frame)
        return nullptr;
    doc->docTemplate()->InitialUpdateFrame(frame, doc);
    return qobject_cast<CTessavoxFormView *>(frame->activeView());
}

// As the cell editor hands a typed value to the grid.
bool type(CTessavoxFormView *table, int row, int column, const QVariant &value)
{
    QAbstractItemModel *model = table->grid().model();
    return model->setData(model->index(row, column), value);
}

// The table's rows as the writer reads them.
std::vector<Row> tableRows(const CTessavoxFormView *table)
{
    std::vector<Row> rows;
    for (int row = 0; row < table->GetDocument()->m_nTokenCount; ++row)
        rows.emplace_back(table->GetCellInt(row, 0), table->GetCellInt(row, 1),
                          table->GetCellInt(row, 2), table->GetCellText(row, 3));
    return rows;
}

// The file's tokens read into a fresh document; none when it does not open.
std::vector<Row> fileRows(const QString &path)
{
    CTessavoxDoc doc;
    std::vector<Row> rows;
    if (!doc.OnOpenDocument(path))
        return rows;
    for (int i = 0; i < doc.m_nTokenCount; ++i) {
        const FormantRecord &r = doc.m_records[std::size_t(i)];
        rows.emplace_back(r.formants[0], r.formants[1], r.formants[2],
                          QString::fromUtf8(r.label.data(), r.labelLength));
    }
    return rows;
}

// The real table view in an MDI area, the real chart windows, and every message captured.
struct TableSession
{
    TestFiles files;
    QString path = files.write("tokens.txt", kVowelFile);
    QMdiArea area;
    DocTemplate docTemplate{IDR_TESSAVOXTYPE, [] { return new CTessavoxDoc; },
                            [] { return new ChildFrame; }, [] { return new CTessavoxFormView; }};
    MessageCapture capture;

    TableSession()
    {
        RegisterPlotWindows();
        area.resize(1200, 900);
        area.show();
        DocTemplate::setMdiArea(&area);
    }
    ~TableSession()
    {
        area.closeAllSubWindows();
        settle();
        DocTemplate::setMdiArea(nullptr);
        PlotTemplates::registerFactory(ID_PLOT_F1F2, {});
        PlotTemplates::registerFactory(ID_PLOT_F1F3, {});
    }
    CTessavoxDoc *open() { return static_cast<CTessavoxDoc *>(docTemplate.OpenDocumentFile(path)); }
};

TEST(SharedTable, EditsInAnyWindowAreSavedAndOutliveTheWindowAndChartsTheyWereMadeIn)
{
    TableSession session;
    QPointer<CTessavoxDoc> doc = session.open();
    ASSERT_TRUE(doc);
    CTessavoxFormView *first = windows<CTessavoxFormView>(doc)[0];
    ASSERT_TRUE(type(first, 0, 0, 710));

    CTessavoxFormView *second = newWindow(doc);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->grid().sharesRowsWith(first->grid()));
    EXPECT_EQ(second->GetCellInt(0, 0), 710); // made before the window opened
    EXPECT_EQ(second->GetCellInt(6, 4), 3);
    ASSERT_TRUE(second->OnCmdMsg(ID_EDIT_ADD_ROW));
    EXPECT_EQ(first->grid().rowCount(), 8);
    type(second, 7, 0, 400);
    type(second, 7, 3, QStringLiteral("e"));
    EXPECT_EQ(first->GetCellText(7, 3), QStringLiteral("e"));
    ASSERT_TRUE(doc->OnCmdMsg(ID_FILE_SAVE));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(fileRows(session.path), tableRows(first));

    // An "e" typed into the "i" group, number 2, makes it a mixed group.
    type(second, 4, 3, QStringLiteral("e"));
    ASSERT_TRUE(second->OnCmdMsg(ID_PLOT_F1F2));
    ASSERT_TRUE(first->OnCmdMsg(ID_PLOT_F1F3));
    QPointer<ChildFrame> firstsChart = first->m_pF1F3Frame;
    ASSERT_TRUE(firstsChart);
    ChildFrame::frameOf(first)->close();
    settle();
    ASSERT_TRUE(doc);
    EXPECT_FALSE(firstsChart); // a table's charts close with it, the other's stay
    ASSERT_TRUE(second->m_pF1F2Frame);
    EXPECT_EQ(windows<CTessavoxFormView>(doc), std::vector{second});
    EXPECT_EQ(doc->tableView(), second);
    EXPECT_EQ(doc->m_nTokenCount, 8);
    auto *chart = dynamic_cast<CPlotViewF1F2 *>(second->m_pF1F2Frame->activeView());
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->labelHits()[2].isNull());
    chart->grab();
    EXPECT_FALSE(chart->labelHits()[2].isNull()) << "the mixed group is drawn";

    second->grid().setRowSelected(1, true);
    ASSERT_TRUE(second->OnCmdMsg(ID_EDIT_REMOVE_ROW));
    ASSERT_TRUE(doc->OnCmdMsg(ID_FILE_SAVE));
    EXPECT_EQ(fileRows(session.path).size(), 7u);
    EXPECT_EQ(fileRows(session.path), tableRows(second));
    EXPECT_EQ(session.capture.events(), QStringList());
}

TEST(SharedTable, EachGridKeepsItsOwnCellsSelectedAndItsRowAnchorSafe)
{
    auto first = std::make_unique<CDatatbl5>();
    for (int i = 0; i < 6; ++i)
        first->addRow({100 + i, 1000, 2000, QStringLiteral("a"), 1});
    CDatatbl5 second;
    second.addRow(CDatatbl5::blankRow());
    second.shareRowsWith(*first);
    EXPECT_EQ(second.rowCount(), 6);
    first->selectBlock(0, 0, 2, 4, true);
    EXPECT_TRUE(second.selectionModel()->selection().isEmpty());
    second.setRowSelected(4, true);
    EXPECT_TRUE(first->isRowSelected(4));

    // Row 5, the first grid's Shift anchor, goes in the second grid; a Shift-click in the
    // first grid then starts afresh instead of reaching past the table.
    auto marked = [&second] {
        std::vector<int> rows;
        for (int r = second.nextSelected(-1); r >= 0; r = second.nextSelected(r))
            rows.push_back(r);
        return rows;
    };
    auto *header = static_cast<RowHeader *>(first->verticalHeader());
    emit header->rowPressed(5, Qt::NoModifier);
    second.removeRow(5);
    second.removeRow(4);
    emit header->rowPressed(1, Qt::ShiftModifier);
    EXPECT_EQ(marked(), std::vector{1});
    emit header->rowDragged(3);
    EXPECT_EQ(marked(), (std::vector{1, 2, 3}));
    first.reset();
    EXPECT_EQ(second.rowCount(), 4);
    EXPECT_EQ(second.cellInt(3, 0), 103);
}

constexpr std::uint32_t kSeed = 20240611;
constexpr int kSteps = 10000;
// Past this many rows, removing gets likelier, so every step stays quick.
constexpr int kManyRows = 200;

const QStringList kSymbols = {"i", "a", "u", "e", "o", "ɛ", "ɔː", "i ", "A", "", "y", "ø"};

class RandomEditing
{
public:
    ::testing::AssertionResult run(int steps)
    {
        if (!m_doc)
            return ::testing::AssertionFailure() << "the start file did not open";
        for (int step = 0; step < steps; ++step) {
            m_session.capture.clear();
            m_expectedEvents.clear();
            const int pick = below(rows() > kManyRows ? 120 : 100);
            const auto &[upTo, name, action] =
                *std::find_if(m_steps.begin(), m_steps.end(),
                              [pick](const auto &s) { return pick < std::get<0>(s); });
            action();
            // Every edit must leave the open charts able to draw the table.
            for (PlotView *chart : m_doc ? windows<PlotView>(m_doc) : std::vector<PlotView *>())
                chart->grab();
            if (::testing::AssertionResult ok = invariants(); !ok)
                return ok << " (step " << step << ", " << name << ")";
        }
        return ::testing::AssertionSuccess();
    }

private:
    int below(int n) { return n <= 0 ? 0 : int(m_random() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
    QString symbol() { return kSymbols[below(int(kSymbols.size()))]; }
    int rows() const { return m_doc->m_nTokenCount; }
    CTessavoxFormView *anyTable()
    {
        const std::vector<CTessavoxFormView *> tables = windows<CTessavoxFormView>(m_doc);
        return tables[std::size_t(below(int(tables.size())))];
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

    void typeValue()
    {
        CTessavoxFormView *table = anyTable();
        if (rows() == 0)
            return;
        const int row = below(rows());
        const int column = below(5);
        QVariant value;
        if (column == GridModel::Symbol) {
            value = chance(85) ? symbol() : table->grid().value(row, column).toString();
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
        type(table, row, column, value);
        if (table->grid().value(row, column) != before)
            m_expectModified = true;
    }

    void command(int id)
    {
        CTessavoxFormView *table = anyTable();
        const int rowsBefore = rows();
        table->OnCmdMsg(id);
        if (id == ID_EDIT_REMOVE_ROW && rowsBefore == 0)
            m_expectedEvents = {MessageCapture::beepEvent, LoadString(IDS_ERR_REMOVE_ROW)};
        else if (id == ID_EDIT_REMOVE_ROW || id == ID_EDIT_ADD_ROW || id == ID_EDIT_CUT)
            m_expectModified = true;
        if (id == ID_EDIT_SORT || id == ID_EDIT_ASSIGN_ORDER)
            checkSorted(table, id == ID_EDIT_ASSIGN_ORDER);
    }

    // Marks every row and removes them: the table is empty until rows come back.
    void removeEveryRow()
    {
        anyTable()->grid().selectRange(0, rows() - 1, true);
        command(ID_EDIT_REMOVE_ROW);
        EXPECT_EQ(rows(), 0);
    }

    void paste()
    {
        if (chance(30))
            QApplication::clipboard()->setText(foreignText());
        CTessavoxFormView *table = anyTable();
        const std::vector<Row> before = tableRows(table);
        table->OnCmdMsg(ID_EDIT_PASTE);
        if (m_session.capture.events().isEmpty()) {
            m_expectModified = true;
            return;
        }
        // A refused paste is reported and changes nothing.
        m_expectedEvents = m_session.capture.events();
        EXPECT_TRUE(m_expectedEvents.size() == 1 &&
                    m_expectedEvents[0].startsWith(QStringLiteral("Cannot paste")))
            << m_expectedEvents.join(", ").toStdString();
        EXPECT_TRUE(tableRows(table) == before) << "a refused paste changed the table";
    }

    // Cells as another program puts them on the clipboard, now and then with one that no
    // number column takes.
    QString foreignText()
    {
        QStringList lines;
        for (int i = below(4) + 1; i > 0; --i) {
            QStringList fields;
            for (int j = below(6) + 1; j > 0; --j) {
                const int kind = below(8);
                fields << (kind == 0   ? QString()
                           : kind == 1 ? symbol()
                           : kind == 2 ? QString(chance(50) ? "-350" : "1.5")
                                       : QString::number(below(4000)));
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
        m_doc->m_strOrderLabel[order] = symbol();
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

    void newTableWindow()
    {
        if (windows<CTessavoxFormView>(m_doc).size() >= 3)
            return;
        CTessavoxFormView *table = newWindow(m_doc);
        ASSERT_TRUE(table);
        ChildFrame::frameOf(table)->resize(420, 360);
    }

    // Closes one of the document's V windows when there are more than `keep`.
    template <typename V> void closeWindow(std::size_t keep)
    {
        const std::vector<V *> views = windows<V>(m_doc);
        if (views.size() <= keep)
            return;
        ChildFrame::frameOf(views[std::size_t(below(int(views.size())))])->close();
        settle();
    }

    void save()
    {
        const std::vector<Row> expected = tableRows(windows<CTessavoxFormView>(m_doc).front());
        ASSERT_TRUE(m_doc->OnCmdMsg(ID_FILE_SAVE));
        m_expectModified = false;
        checkFile(expected);
    }

    // The user closes the document and opens the file again; a modified one is saved.
    void closeDocument()
    {
        const std::vector<Row> expected = tableRows(windows<CTessavoxFormView>(m_doc).front());
        m_session.capture.setAnswer(Messages::Answer::Yes);
        m_doc->OnCmdMsg(ID_FILE_CLOSE);
        m_session.capture.setAnswer(Messages::Answer::No);
        settle();
        ASSERT_FALSE(m_doc) << "the document outlived its windows";
        if (m_expectModified) {
            m_expectedEvents = {QStringLiteral("Save changes to tokens.txt?")};
            checkFile(expected);
        }
        // An empty file does not open; the user starts again from another.
        if (QFileInfo(m_session.path).size() == 0)
            m_session.files.write("tokens.txt", kVowelFile);
        m_doc = m_session.open();
        ASSERT_TRUE(m_doc);
        m_expectModified = false;
    }

    void checkFile(const std::vector<Row> &expected) const
    {
        if (expected.empty())
            EXPECT_EQ(QFileInfo(m_session.path).size(), 0);
        else
            EXPECT_TRUE(fileRows(m_session.path) == expected) << "the file reads back otherwise";
    }

    // Symbols in UTF-8 byte order; numbered, one number per distinct symbol counting up
    // from 1.
    static void checkSorted(const CTessavoxFormView *table, bool numbered)
    {
        const std::vector<Row> rows = tableRows(table);
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_LE(std::get<3>(rows[i - 1]).toUtf8(), std::get<3>(rows[i]).toUtf8()) << i;
        for (int row = 0; numbered && row < int(rows.size()); ++row) {
            const bool same = row > 0 && std::get<3>(rows[std::size_t(row)]) ==
                                             std::get<3>(rows[std::size_t(row - 1)]);
            const int above = row > 0 ? table->GetCellInt(row - 1, 4) : 0;
            EXPECT_EQ(table->GetCellInt(row, 4), same ? above : above + 1) << "row " << row;
        }
    }

    ::testing::AssertionResult invariants() const
    {
        auto failure = [] { return ::testing::AssertionFailure(); };
        if (::testing::Test::HasFailure())
            return failure() << "a check inside the step failed";
        if (!m_doc)
            return failure() << "the document is gone";
        const std::vector<CTessavoxFormView *> tables = windows<CTessavoxFormView>(m_doc);
        if (tables.empty() || m_doc->tableView() != tables.front())
            return failure() << "the document reads no open table window";
        for (const CTessavoxFormView *table : tables) {
            if (table->grid().rowCount() != rows() ||
                !table->grid().sharesRowsWith(tables.front()->grid()))
                return failure() << "a table window has " << table->grid().rowCount()
                                 << " rows, the document counts " << rows();
        }
        if (m_doc->isModified() != m_expectModified)
            return failure() << "modified flag " << m_doc->isModified() << ", expected "
                             << m_expectModified;
        if (!m_doc->m_bDataLoaded)
            return failure() << "the data-loaded flag went off";
        if (m_session.capture.events() != m_expectedEvents)
            return failure() << "messages [" << m_session.capture.events().join(", ").toStdString()
                             << "], expected [" << m_expectedEvents.join(", ").toStdString() << "]";
        return ::testing::AssertionSuccess();
    }

    TableSession m_session;
    std::mt19937 m_random{kSeed};
    QPointer<CTessavoxDoc> m_doc = m_session.open();
    bool m_expectModified = false;
    QStringList m_expectedEvents;
    // Each step is picked below its bound out of 100, marking rows and typing most often;
    // past kManyRows rows the picks run to 120, so removing rows gets likelier.
    const std::vector<std::tuple<int, const char *, std::function<void()>>> m_steps = {
        {14, "mark rows", [this] { markRows(); }},
        {22, "select cells", [this] { selectCells(); }},
        {36, "type", [this] { typeValue(); }},
        {42, "add row", [this] { command(ID_EDIT_ADD_ROW); }},
        {47, "copy", [this] { command(ID_EDIT_COPY); }},
        {51, "cut", [this] { command(ID_EDIT_CUT); }},
        {58, "paste", [this] { paste(); }},
        {61, "sort", [this] { command(ID_EDIT_SORT); }},
        {64, "assign order", [this] { command(ID_EDIT_ASSIGN_ORDER); }},
        {67, "options", [this] { changeOptions(); }},
        {70, "label choice", [this] { chooseLabel(); }},
        {75, "open chart", [this] { openChart(); }},
        {77, "close chart", [this] { closeWindow<PlotView>(0); }},
        {79, "new window", [this] { newTableWindow(); }},
        {81, "close window", [this] { closeWindow<CTessavoxFormView>(1); }},
        {85, "save", [this] { save(); }},
        {86, "close document", [this] { closeDocument(); }},
        {87, "remove rows",
         [this] { chance(40) ? removeEveryRow() : command(ID_EDIT_REMOVE_ROW); }},
        {120, "remove row", [this] { command(ID_EDIT_REMOVE_ROW); }},
    };
};

TEST(RandomEditing, ThousandsOfStepsKeepTheTableTheDocumentAndTheFileInStep)
{
    EXPECT_TRUE(RandomEditing().run(kSteps));
}

} // namespace
