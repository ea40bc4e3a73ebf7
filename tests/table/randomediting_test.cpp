// Thousands of random edits from a fixed seed through the windows' own commands, in several
// table windows over one document's table with the real chart windows, hostile pastes, Undo
// and Redo among them, with the document's promises checked after every step: whatever the
// table shows, and the F4 and F5 its rows carry, a save gives back; Undo and Redo give back
// every earlier state whole; the document is modified exactly when a change to the file lies
// between its state and the saved one.

#include "tablesession.h"

#include "document/labeltext.h"
#include "plot/plotview.h"
#include "table/rowheader.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPointer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

namespace {

// Past this many rows, removing gets likelier, so every step stays quick.
constexpr int kManyRows = 200;

const QStringList kSymbols = {"i", "a", "u", "e", "o", "ɛ", "ɔː", "i ", "A", "", "y", "ø"};
// Symbols no file can hold: typing or pasting them is refused.
const QStringList kHostileSymbols = {"a\"b", "x\ny", "\r", "\"", "e\r\n"};
// Fields as spreadsheets put them on the clipboard that would hold a line break or a double
// quote once read: quoted with a line break inside, or a bare quote.
const QStringList kHostileFields = {"\"two\nlines\"", "\"cr\rhere\"", "a\"b", "\"say \"\"hi\"\"\""};

// The start file: Windows-1252 labels ("\xE9" is é, "\x80" the euro sign, neither UTF-8)
// beside UTF-8 ones, and F4 and F5 on some lines.
const QByteArray kStartFile = "F1 F2 F3 F4 F5 vowel\r\n"
                              "300\t2300\t2900\t3500\t4100\t\"i\"\t\r\n"
                              "700\t1200\t2500\t\"a\"\t\r\n"
                              "450\t1900\t2600\t3300\t4000\t\"\xE9\"\t\r\n"
                              "440\t1950\t2650\t\"\xE9\"\t\r\n"
                              "460\t1850\t2550\t\"\xC3\xA9\"\t\r\n"
                              "350\t800\t2300\t3100\t4200\t\"\x80u\"\t\r\n"
                              "320\t2200\t2800\t\"i\"\t\r\n";

// One row as a file holds it: F1 to F5, the symbol's bytes and the text they show as.
using FileRow = std::tuple<int, int, int, int, int, QByteArray, QString>;

std::vector<FileRow> documentRows(const CTessavoxDoc &doc)
{
    const TokenTableModel &tokens = doc.tokens();
    std::vector<FileRow> rows;
    for (int row = 0; row < tokens.count(); ++row) {
        const std::array<int, 2> higher = tokens.GetHigherFormants(row);
        rows.emplace_back(tokens.GetCellInt(row, 0), tokens.GetCellInt(row, 1),
                          tokens.GetCellInt(row, 2), higher[0], higher[1],
                          tokens.GetSymbolBytes(row), tokens.GetCellText(row, 3));
    }
    return rows;
}

// What Undo and Redo must give back: the rows, every cell as shown (an empty cell is not 0),
// which rows are excluded, and the label choices.
struct DocState
{
    std::vector<FileRow> rows;
    std::vector<QString> cells;
    std::vector<bool> excluded;
    std::array<int, FormantLimits::kOrderLabels> labels{};
    std::array<QString, FormantLimits::kOrderLabels> labelTexts;
    bool operator==(const DocState &) const = default;
};

DocState stateOf(const CTessavoxDoc &doc)
{
    DocState state{documentRows(doc), {}, {}, doc.m_nOrderLabel, doc.m_strOrderLabel};
    for (int row = 0; row < doc.tokens().count(); ++row) {
        for (int column = 0; column < TokenTableModel::ColumnCount; ++column)
            state.cells.push_back(doc.tokens().cellText(row, column));
        state.excluded.push_back(doc.tokens().row(row).excluded);
    }
    return state;
}

// The history the document must keep, kept the plain way: every state whole.
class ExpectedHistory
{
public:
    void reset(DocState state)
    {
        m_states = {std::move(state)};
        m_changesFile.clear();
        m_at = 0;
        m_saved = 0;
    }
    // After a step that is neither Undo nor Redo: a new state when the document changed.
    void afterStep(DocState state, bool changesFile)
    {
        if (state == m_states[m_at])
            return;
        if (m_saved && *m_saved > m_at)
            m_saved.reset();
        m_states.resize(m_at + 1);
        m_changesFile.resize(m_at);
        m_states.push_back(std::move(state));
        m_changesFile.push_back(changesFile);
        ++m_at;
        if (m_changesFile.size() > EditHistory::kMaxSteps) {
            m_states.erase(m_states.begin());
            m_changesFile.erase(m_changesFile.begin());
            --m_at;
            m_saved = m_saved && *m_saved > 0 ? std::optional(*m_saved - 1) : std::nullopt;
        }
    }
    bool canUndo() const { return m_at > 0; }
    bool canRedo() const { return m_at + 1 < m_states.size(); }
    const DocState &undone() { return m_states[--m_at]; }
    const DocState &redone() { return m_states[++m_at]; }
    void saved() { m_saved = m_at; }
    bool modified() const
    {
        if (!m_saved)
            return true;
        const auto [from, to] = std::minmax(*m_saved, m_at);
        return std::find(m_changesFile.begin() + std::ptrdiff_t(from),
                         m_changesFile.begin() + std::ptrdiff_t(to),
                         true) != m_changesFile.begin() + std::ptrdiff_t(to);
    }

private:
    std::vector<DocState> m_states;
    std::vector<bool> m_changesFile; // per step between two states
    std::size_t m_at = 0;
    std::optional<std::size_t> m_saved = 0;
};

// The file read back, in file order; none when it does not open.
std::vector<FileRow> readBack(const QString &path)
{
    std::vector<FileRow> rows;
    for (const FormantRecord &r : fileRecords(path)) {
        const QByteArray label(r.label.data(), r.labelLength);
        rows.emplace_back(r.formants[0], r.formants[1], r.formants[2], r.formants[3], r.formants[4],
                          label, LabelText(label));
    }
    return rows;
}

class RandomEditing
{
public:
    void run(int steps)
    {
        ASSERT_TRUE(m_doc) << "the start file did not open";
        QApplication::clipboard()->clear(); // as in a process of its own, whatever ran before
        m_expected.reset(stateOf(*m_doc));
        for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
            m_session.capture.clear();
            m_expectedEvents.clear();
            const int pick = below(rows() > kManyRows ? 131 : 111);
            const auto &[upTo, name, action] =
                *std::find_if(m_steps.begin(), m_steps.end(),
                              [pick](const auto &s) { return pick < std::get<0>(s); });
            SCOPED_TRACE(::testing::Message() << "step " << step << ", " << name);
            action();
            ASSERT_TRUE(m_doc) << "the document is gone";
            const std::string_view what = name;
            if (what != "undo" && what != "redo")
                m_expected.afterStep(stateOf(*m_doc), what != "sort" && what != "assign order" &&
                                                          what != "label choice");
            // Every edit must leave the open charts able to draw the table.
            for (PlotView *chart : windows<PlotView>(m_doc))
                chart->grab();
            const std::vector<CTessavoxFormView *> tables = windows<CTessavoxFormView>(m_doc);
            ASSERT_FALSE(tables.empty());
            EXPECT_TRUE(m_doc->hasTable());
            for (const CTessavoxFormView *table : tables) {
                ASSERT_EQ(table->grid().rowCount(), rows());
                ASSERT_EQ(table->grid().model(), &m_doc->tokens());
            }
            EXPECT_EQ(m_doc->isModified(), m_expected.modified());
            EXPECT_EQ(m_doc->canUndo(), m_expected.canUndo());
            EXPECT_EQ(m_doc->canRedo(), m_expected.canRedo());
            EXPECT_TRUE(m_doc->m_bDataLoaded);
            EXPECT_EQ(m_session.capture.events(), m_expectedEvents);
        }
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
        const int kind = below(5);
        if (kind == 0) {
            grid.setRowSelected(a, chance(70));
        } else if (kind == 1) {
            grid.selectRange(a, b, true);
        } else if (kind == 2) {
            emit grid.rowSelectEvent(); // a click on a cell lets the marked rows go
        } else if (kind == 3) {
            grid.selectRange(0, rows() - 1, false);
        } else {
            // A click on the row header, with Shift or Ctrl now and then, maybe dragged on.
            static constexpr Qt::KeyboardModifiers kKeys[] = {Qt::NoModifier, Qt::ShiftModifier,
                                                              Qt::ControlModifier, Qt::NoModifier};
            emit header->rowPressed(a, kKeys[below(4)]);
            if (chance(30))
                emit header->rowDragged(b);
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
        if (column == TokenTableModel::Symbol) {
            value = chance(10)   ? kHostileSymbols[below(int(kHostileSymbols.size()))]
                    : chance(85) ? symbol()
                                 : table->grid().value(row, column).toString();
        } else if (!chance(10)) {
            static constexpr int kSpan[] = {900, 2500, 2500, 0};
            const int kind = below(20);
            value = kind == 0                          ? below(100)
                    : kind == 1                        ? below(1000000000)
                    : kind == 2                        ? table->grid().value(row, column).toInt()
                    : column == TokenTableModel::Order ? below(9)
                                                       : 200 + below(kSpan[column]);
        }
        const QVariant before = table->grid().value(row, column);
        const QString refusal =
            column == TokenTableModel::Symbol ? TokenTableModel::symbolRefusal(value.toString())
            : value.isValid() ? TokenTableModel::numberRefusal(column, value.toInt())
                              : QString();
        type(table, row, column, value);
        if (!refusal.isEmpty() && value != before) {
            // Refused with the reason, and the cell kept.
            m_expectedEvents = {refusal};
            EXPECT_EQ(table->grid().value(row, column), before);
        }
    }

    void command(int id)
    {
        CTessavoxFormView *table = anyTable();
        const int rowsBefore = rows();
        const int marked = table->grid().nextSelected(-1);
        table->execute(id);
        if (id == ID_EDIT_ADD_ROW) {
            // A new row is a token still to be measured: no formant reads as 0 Hz.
            const int added = marked < 0 ? rows() - 1 : marked;
            for (int column : {0, 1, 2, 3})
                EXPECT_TRUE(m_doc->tokens().IsCellEmpty(added, column)) << "column " << column;
            EXPECT_EQ(m_doc->tokens().GetCellInt(added, TokenTableModel::Order), 0);
        }
        if (id == ID_EDIT_REMOVE_ROW && rowsBefore == 0)
            m_expectedEvents = {MessageCapture::beepEvent, LoadString(IDS_ERR_REMOVE_ROW)};
        if (id == ID_EDIT_SORT || id == ID_EDIT_ASSIGN_ORDER)
            checkSorted(table, id == ID_EDIT_ASSIGN_ORDER);
    }

    // Exclude or Include acts on the rows the user picked, now and then after Select Outliers
    // picked them; greyed, it does nothing.
    void excludeOrInclude(bool excluding)
    {
        CTessavoxFormView *table = anyTable();
        if (chance(25))
            table->execute(ID_EDIT_SELECT_OUTLIERS);
        const int id = excluding ? ID_EDIT_EXCLUDE_ROWS : ID_EDIT_INCLUDE_ROWS;
        CommandState ui;
        table->updateState(id, ui);
        const DocState before = stateOf(*m_doc);
        table->execute(id);
        const DocState after = stateOf(*m_doc);
        EXPECT_EQ(ui.enabled, after.excluded != before.excluded);
        EXPECT_EQ(after.rows, before.rows);
        for (int row = 0; row < rows(); ++row) {
            const QVariant grey =
                m_doc->tokens().data(m_doc->tokens().index(row, 0), Qt::ForegroundRole);
            EXPECT_EQ(grey.isValid(), m_doc->tokens().row(row).excluded) << row;
        }
    }

    // Now and then every row goes, and the table is empty until rows come back.
    void removeRows()
    {
        const bool every = chance(40);
        if (every)
            anyTable()->grid().selectRange(0, rows() - 1, true);
        command(ID_EDIT_REMOVE_ROW);
        EXPECT_TRUE(!every || rows() == 0);
    }

    void paste()
    {
        if (chance(30))
            QApplication::clipboard()->setText(foreignText());
        CTessavoxFormView *table = anyTable();
        const std::vector<Row> before = tableRows(table);
        table->execute(ID_EDIT_PASTE);
        if (m_session.capture.events().isEmpty())
            return;
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
                const int kind = below(10);
                fields << (kind == 0   ? QString()
                           : kind == 1 ? symbol()
                           : kind == 2 ? QString(chance(50) ? "-350" : "1.5")
                           : kind == 3 ? QString::number(10001 + below(50000))
                           : kind == 4 ? kHostileFields[below(int(kHostileFields.size()))]
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
        m_doc->chooseOrderLabel(below(100), below(6) - 1, symbol());
        m_doc->UpdateAllViews(nullptr);
    }

    // Undo or Redo, from the document's windows or the document; each gives back the
    // state it stands for whole, or is greyed and does nothing.
    void undoOrRedo(int id)
    {
        const bool undo = id == ID_EDIT_UNDO;
        CommandState ui;
        m_doc->updateState(id, ui);
        EXPECT_EQ(ui.enabled, undo ? m_expected.canUndo() : m_expected.canRedo());
        const DocState before = stateOf(*m_doc);
        ASSERT_TRUE(m_doc->execute(id));
        if (!ui.enabled) {
            EXPECT_TRUE(stateOf(*m_doc) == before) << "a greyed command changed the table";
            return;
        }
        const DocState &expected = undo ? m_expected.undone() : m_expected.redone();
        EXPECT_TRUE(stateOf(*m_doc) == expected) << "the table is not as it was";
    }

    void openChart()
    {
        CTessavoxFormView *table = anyTable();
        const int id = chance(50) ? ID_PLOT_F1F2 : ID_PLOT_F1F3;
        const bool hasOrder = table->HasOrder();
        table->execute(id);
        if (!hasOrder) {
            m_expectedEvents = {LoadString(IDS_ERR_NO_ORDER)};
            return;
        }
        DocumentWindow *frame = id == ID_PLOT_F1F2 ? table->m_pF1F2Frame : table->m_pF1F3Frame;
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
        DocumentWindow::frameOf(table)->resize(420, 360);
    }

    // Closes one of the document's V windows when there are more than `keep`.
    template <typename V> void closeWindow(std::size_t keep)
    {
        const std::vector<V *> views = windows<V>(m_doc);
        if (views.size() <= keep)
            return;
        DocumentWindow::frameOf(views[std::size_t(below(int(views.size())))])->close();
        settle();
    }

    // A Formant file cannot hold which rows are excluded: saving one asks first.
    QStringList exclusionQuestion() const
    {
        const int excluded = m_doc->tokens().excludedCount();
        if (excluded == 0)
            return {};
        return {QStringLiteral("A Tessavox file cannot hold the marks of the %1 excluded row(s) "
                               "of this table; they will not be in the saved file. Save anyway?")
                    .arg(excluded)};
    }

    // A row with an empty formant cell is refused (the file has no empty cell) and the
    // file stays; mostly the user types the missing values first.
    void save()
    {
        if (chance(70))
            fillEmptyFormants();
        const std::vector<FileRow> expected = documentRows(*m_doc);
        const QByteArray fileBefore = TestFiles::read(m_session.path);
        const bool modifiedBefore = m_doc->isModified();
        if (hasEmptyFormant()) {
            ASSERT_TRUE(m_doc->execute(ID_FILE_SAVE));
            m_expectedEvents = m_session.capture.events();
            ASSERT_EQ(m_expectedEvents.size(), 1);
            EXPECT_TRUE(m_expectedEvents[0].contains(QStringLiteral("cannot hold an empty cell")))
                << m_expectedEvents[0].toStdString();
            EXPECT_EQ(TestFiles::read(m_session.path), fileBefore);
            EXPECT_EQ(m_doc->isModified(), modifiedBefore);
            return;
        }
        // A Tessavox file without tokens would not open again: refused, the file kept.
        if (expected.empty()) {
            ASSERT_TRUE(m_doc->execute(ID_FILE_SAVE));
            m_expectedEvents = m_session.capture.events();
            ASSERT_EQ(m_expectedEvents.size(), 1);
            EXPECT_TRUE(m_expectedEvents.front().contains("no tokens to write"));
            EXPECT_EQ(TestFiles::read(m_session.path), fileBefore);
            return;
        }
        m_expectedEvents = exclusionQuestion();
        m_session.capture.setAnswer(Messages::Answer::Yes);
        ASSERT_TRUE(m_doc->execute(ID_FILE_SAVE));
        m_session.capture.setAnswer(Messages::Answer::No);
        m_expected.saved();
        checkFile(expected);
    }

    // An empty F1 or F2, or an empty F3 before F4 and F5: what no Formant line can hold.
    bool hasEmptyFormant() const
    {
        const TokenTableModel &tokens = m_doc->tokens();
        for (int row = 0; row < rows(); ++row) {
            const bool higher = tokens.GetHigherFormants(row) != std::array<int, 2>{};
            if (tokens.IsCellEmpty(row, 0) || tokens.IsCellEmpty(row, 1) ||
                (higher && tokens.IsCellEmpty(row, 2)))
                return true;
        }
        return false;
    }

    // Each typed value is a step of the history of its own.
    void fillEmptyFormants()
    {
        CTessavoxFormView *table = anyTable();
        for (int row = 0; row < rows(); ++row) {
            for (int column : {0, 1, 2}) {
                if (!m_doc->tokens().IsCellEmpty(row, column))
                    continue;
                type(table, row, column, 200 + below(2500));
                m_expected.afterStep(stateOf(*m_doc), true);
            }
        }
    }

    // The user closes the document and opens the file again; a modified one is saved.
    void closeDocument()
    {
        const std::vector<FileRow> expected = documentRows(*m_doc);
        // A table that cannot be saved as it stands (an empty formant cell, or no rows at
        // all) is let go unsaved.
        const bool keep = !hasEmptyFormant() && !expected.empty();
        const QStringList question = keep ? exclusionQuestion() : QStringList{};
        const QByteArray fileBefore = TestFiles::read(m_session.path);
        m_session.capture.setAnswer(keep ? Messages::Answer::Yes : Messages::Answer::No);
        m_doc->execute(ID_FILE_CLOSE);
        m_session.capture.setAnswer(Messages::Answer::No);
        settle();
        ASSERT_FALSE(m_doc) << "the document outlived its windows";
        if (m_expected.modified()) {
            m_expectedEvents =
                QStringList{QStringLiteral("Save changes to tokens.txt?")} + question;
            if (keep)
                checkFile(expected);
            else
                EXPECT_EQ(TestFiles::read(m_session.path), fileBefore);
        }
        m_doc = m_session.open();
        ASSERT_TRUE(m_doc);
        m_expected.reset(stateOf(*m_doc));
    }

    // Every visible cell but Order, which no file holds, and F4 and F5 come back.
    void checkFile(const std::vector<FileRow> &expected) const
    {
        EXPECT_TRUE(readBack(m_session.path) == expected) << "the file reads back otherwise";
    }

    // Symbols in the order of their bytes (a label as read, or UTF-8); numbered, one number
    // per distinct symbol counting up from 1, so labels of other bytes never share one.
    static void checkSorted(const CTessavoxFormView *table, bool numbered)
    {
        const std::vector<FileRow> rows = documentRows(*table->GetDocument());
        for (std::size_t i = 1; i < rows.size(); ++i)
            EXPECT_LE(std::get<5>(rows[i - 1]), std::get<5>(rows[i])) << i;
        for (int row = 0; numbered && row < int(rows.size()); ++row) {
            const bool same = row > 0 && std::get<5>(rows[std::size_t(row)]) ==
                                             std::get<5>(rows[std::size_t(row - 1)]);
            const int above = row > 0 ? table->GetCellInt(row - 1, 4) : 0;
            EXPECT_EQ(table->GetCellInt(row, 4), same ? above : above + 1) << "row " << row;
        }
    }

    TableSession m_session;
    std::mt19937 m_random{20240611};
    QPointer<CTessavoxDoc> m_doc = openStartFile();

    CTessavoxDoc *openStartFile()
    {
        m_session.files.write("tokens.txt", kStartFile);
        return m_session.open();
    }
    ExpectedHistory m_expected;
    QStringList m_expectedEvents;
    // Each step is picked below its bound out of 111, marking rows and typing most often;
    // past kManyRows rows the picks run to 131, so removing rows gets likelier.
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
        {87, "remove rows", [this] { removeRows(); }},
        {92, "undo", [this] { undoOrRedo(ID_EDIT_UNDO); }},
        {94, "redo", [this] { undoOrRedo(ID_EDIT_REDO); }},
        {97, "exclude", [this] { excludeOrInclude(true); }},
        {99, "include", [this] { excludeOrInclude(false); }},
        {131, "remove row", [this] { command(ID_EDIT_REMOVE_ROW); }},
    };
};

TEST(RandomEditing, ThousandsOfStepsKeepTheTableTheDocumentAndTheFileInStep)
{
    RandomEditing().run(10000);
}

} // namespace
