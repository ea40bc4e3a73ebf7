#pragma once

#include "document/cellsource.h"
#include "document/formantrecord.h"
#include "document/largeblockallocator.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The document's token rows as an item model: five shown columns (F1, F2, F3, Symbol,
// Order), one row per token, a selection flag per row, and what each row carries that no
// column shows (F4 and F5 as read). Owned by the document; every table window shows it.
// It alone knows the columns' headings, widths and cell text. Rows live in one plain
// vector so that readers, the charts above all, reach a cell without any allocation.
// Index checks belong to the caller; this class trusts the indices it is given, except
// through the CellSource reads, which answer 0 or empty outside the table.
class TokenTableModel : public QAbstractTableModel, public CellSource
{
    Q_OBJECT

public:
    // Speaker follows the five standard columns, and is shown only for a table read with
    // a speaker column.
    enum Column { F1, F2, F3, Symbol, Order, ColumnCount, Speaker = ColumnCount };

    // The small members come first, so that a corpus's millions of rows pack tightly.
    struct Row
    {
        std::array<int, 4> numbers{};  // F1, F2, F3, Order
        std::uint8_t emptyNumbers = 0; // one bit per entry of `numbers`: the cell is empty
        bool selected = false;
        // Set aside by the user: kept, shown greyed and saved, but left out of the charts,
        // statistics and normalisation.
        bool excluded = false;
        // For a table file: the row of the file this row came from (-1 for a row added
        // here), whose other cells are written back with it.
        int sourceRow = -1;
        QString symbol;
        // The symbol as a file holds it: the label's own bytes as read, or the UTF-8 of a
        // symbol entered here. Filled in from `symbol` when a row is inserted without it.
        QByteArray symbolBytes;
        // F4 and F5 as the file gave them; 0 where it had none. Not shown.
        std::array<std::int32_t, 2> higherFormants{};
        // For a table file: the speaker's text.
        QString speaker;
    };

    explicit TokenTableModel(QObject *parent = nullptr);

    // columns
    static bool isNumberColumn(int column) { return column != Symbol && column != Speaker; }
    static QString heading(int column);
    // Width of the column on a 96-dpi screen, in pixels.
    static int columnWidth(int column);
    // Where a number column lives in Row::numbers, and its bit in Row::emptyNumbers.
    static int slot(int column) { return column < Symbol ? column : 3; }
    static std::uint8_t emptyBit(int column) { return std::uint8_t(1u << slot(column)); }

    // reimplemented from QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The path of values typed by the user; emits cellEdited when a cell changes.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // reimplemented from CellSource: 0 or empty for a cell outside the table
    int GetCellInt(int row, int column) const override;
    QString GetCellText(int row, int column) const override;
    bool IsCellEmpty(int row, int column) const override;
    QByteArray GetSymbolBytes(int row) const override;
    std::array<int, 2> GetHigherFormants(int row) const override;
    bool IsRowExcluded(int row) const override;

    // Highest frequency F1, F2 and F3 take, as a file's fill does.
    static constexpr int kMaxFormant = ::kMaxFormant;
    // Why a typed or pasted value cannot go into its cell; empty when it can. A symbol
    // must read back from a saved file; F1 to F3 lie within 0..kMaxFormant.
    static QString symbolRefusal(const QString &text);
    static QString numberRefusal(int column, int value);

    // Whether the Speaker column is shown (a table file with speakers).
    bool speakerShown() const { return m_speakerShown; }
    void setSpeakerShown(bool shown);

    // getters
    int count() const { return static_cast<int>(m_rows.size()); }
    const Row &row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }
    // A number cell; 0 when empty.
    int number(int row, int column) const
    {
        return this->row(row).numbers[static_cast<std::size_t>(slot(column))];
    }
    bool isEmpty(int row, int column) const;
    const QString &symbol(int row) const { return this->row(row).symbol; }
    // Whether two rows hold one symbol: the same bytes, the same text.
    bool sameSymbol(int a, int b) const;
    // A cell as the grid hands it out: int for numbers, QString for the symbol, invalid
    // when the cell is empty.
    QVariant value(int row, int column) const;
    // A cell as the table shows and prints it: digits, the symbol, or empty.
    QString cellText(int row, int column) const;

    // setters
    void insertRowAt(int index, const Row &row) { insertRowsAt(index, 1, row); }
    // Adds `row` after the last, taking it over: how a file's millions of rows are filled.
    void appendRow(Row &&row);
    // `count` copies of `row`, told to the views as one change.
    void insertRowsAt(int index, int count, const Row &row);
    void removeRowAt(int index) { removeRowsAt(index, 1); }
    void removeRowsAt(int first, int count);
    // Puts `rows`, unmarked, in place of `count` rows from `first`: how Undo and Redo
    // bring rows back.
    void replaceRows(int first, int count, const std::vector<Row> &rows);
    void clearRows();
    // Room for `count` rows, so that filling a large table does not move them as it grows.
    void reserveRows(int count);
    void setNumber(int row, int column, int value);
    void setEmpty(int row, int column);
    void setSymbol(int row, const QString &symbol);
    void setSpeaker(int row, const QString &speaker);
    void setRowSelected(int row, bool selected);
    // An edit, as a cell's is: the charts and statistics follow.
    void setRowExcluded(int row, bool excluded);
    int excludedCount() const;
    // Which row of the table file the row stands for; not an edit.
    void setSourceRow(int row, int sourceRow) { m_rows[std::size_t(row)].sourceRow = sourceRow; }

    // Stable ascending sort on one column. Symbols compare by their bytes (see Row); empty
    // number cells come before every number.
    void sortByColumn(int column);

    // Between the first begin and its matching end, changes go without a signal per row or
    // cell, and without `changed`; the views take the whole table afresh once, as after a
    // reset.
    void beginBulkChange();
    void endBulkChange();

    // While one lives, cells change as usual for the views, but `changed` stays silent:
    // for work that numbers or arranges the rows without editing them.
    class QuietChange
    {
    public:
        explicit QuietChange(TokenTableModel &model) : m_model(model) { ++m_model.m_quietDepth; }
        ~QuietChange() { --m_model.m_quietDepth; }
        QuietChange(const QuietChange &) = delete;
        QuietChange &operator=(const QuietChange &) = delete;

    private:
        TokenTableModel &m_model;
    };

signals:
    // A value typed into the grid changed the cell.
    void cellEdited(int row, int column);
    // A typed value was refused, for the reason given; the cell is unchanged.
    void entryRefused(const QString &why);
    // Rows or cell values changed outside a bulk or quiet change; not sent for row flags
    // or a sort.
    void changed();

private:
    // Moves row order[i] to i for every i; `order` is a permutation of the rows.
    void permuteRows(const std::vector<int> &order);
    // Per row, the place of its symbol in the ascending byte order of the distinct symbols.
    std::vector<int> symbolRanks() const;
    void emitCellChanged(int row, int column);
    void emitChanged();

    // On huge pages when large: a corpus of millions of rows would otherwise spend much of
    // its opening faulting in fresh 4 KB pages, and so would a full Formant file's megabyte
    // of rows, which one huge page holds.
    std::vector<Row, LargeBlockAllocator<Row, (std::size_t(512) << 10)>> m_rows;
    int m_bulkDepth = 0;  // open bulk changes; the views hear nothing while above 0
    int m_quietDepth = 0; // open quiet changes; `changed` is silent while above 0
    bool m_speakerShown = false;
};
