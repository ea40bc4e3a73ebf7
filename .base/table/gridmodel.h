#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The cells of the data table: five columns (F1, F2, F3, Symbol, Order), one row per
// token, and a selection flag per row. Rows live in one plain vector so that readers, the
// charts above all, reach a cell without any allocation. Index checks belong to the
// caller (CDatatbl5); this class trusts the indices it is given.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { F1, F2, F3, Symbol, Order, ColumnCount };

    struct Row
    {
        std::array<int, 4> numbers{};  // F1, F2, F3, Order
        std::uint8_t emptyNumbers = 0; // one bit per entry of `numbers`: the cell is empty
        QString symbol;
        bool selected = false;
    };

    explicit GridModel(QObject *parent = nullptr);

    static bool isNumberColumn(int column) { return column != Symbol; }
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
    // A cell as the grid hands it out: int for numbers, QString for the symbol, invalid
    // when the cell is empty.
    QVariant value(int row, int column) const;

    // setters
    void insertRowAt(int index, const Row &row) { insertRowsAt(index, 1, row); }
    // `count` copies of `row`, told to the views as one change.
    void insertRowsAt(int index, int count, const Row &row);
    void removeRowAt(int index) { removeRowsAt(index, 1); }
    void removeRowsAt(int first, int count);
    void clearRows();
    // Room for `count` rows, so that filling a large table does not move them as it grows.
    void reserveRows(int count);
    void setNumber(int row, int column, int value);
    void setEmpty(int row, int column);
    void setSymbol(int row, const QString &symbol);
    void setRowSelected(int row, bool selected);

    // Stable ascending sort on one column. Symbols compare as UTF-8 byte strings; empty
    // number cells come before every number.
    void sortByColumn(int column);

    // Between the first begin and its matching end, changes go without a signal per row or
    // cell; the views take the whole table afresh once, as after a reset.
    void beginBulkChange();
    void endBulkChange();

signals:
    // A value typed into the grid changed the cell.
    void cellEdited(int row, int column);

private:
    // Moves row order[i] to i for every i; `order` is a permutation of the rows.
    void permuteRows(const std::vector<int> &order);
    // Per row, the place of its symbol in the ascending UTF-8 order of the distinct symbols.
    std::vector<int> symbolRanks() const;
    void emitCellChanged(int row, int column);

    std::vector<Row> m_rows;
    int m_bulkDepth = 0; // open bulk changes; the views hear nothing while above 0
};
