#pragma once

#include "document/tokentablemodel.h"

#include <QTableView>
#include <QVariant>

#include <QPointer>
#include <array>

#include <memory>

class QPainter;

// The data table's grid: five columns (F1, F2, F3, Symbol, Order), and Speaker for a table
// with speakers, a selection flag per
// row that the row header sets, kept apart from the block of selected cells, a sort on a
// key column, copy and paste of cell blocks through the clipboard as tab-separated text,
// and printing. Shows rows of its own until it is given a document's rows (showRows); the
// row flags belong to the rows, the cell selection, the active cell and the sort to each
// grid. A call naming a row or column outside the table, or a value of the wrong kind
// for its column, throws GridError and changes nothing.
class CDatatbl5 : public QTableView
{
    Q_OBJECT

public:
    static constexpr int kColumnCount = TokenTableModel::ColumnCount;
    // One value per column, Speaker last: int (or invalid, empty) for numbers, QString for
    // the symbol and the speaker.
    using RowValues = std::array<QVariant, TokenTableModel::ColumnCount + 1>;
    // F1, F2 and F3 empty, no symbol, no speaker, Order 0: a token still to be measured,
    // never one at 0 Hz.
    static RowValues blankRow();

    // The columns shown: the five token columns, and Speaker when the rows have speakers.
    int columnCount() const { return m_model->columnCount(); }

    explicit CDatatbl5(QWidget *parent = nullptr);
    ~CDatatbl5() override;

    // From now on this grid shows and edits `rows`, which must outlive it or be
    // destroyed first (the grid then shows rows of its own again).
    void showRows(TokenTableModel &rows);

    // rows
    int rowCount() const { return m_model->count(); }
    // Returns the index of the new row.
    int addRow(const RowValues &values);
    // `index` may be rowCount(), which appends. Later rows move down.
    int insertRow(int index, const RowValues &values);
    // `count` rows at once, as `count` calls of insertRow(index, values) would leave them.
    int insertRows(int index, int count, const RowValues &values);
    // Later rows move up.
    void removeRow(int index);
    // Every row whose flag is set, as removing them one by one would.
    void removeSelectedRows();
    void clearRows();
    // Room for `count` rows ahead of adding them one by one.
    void reserveRows(int count) { m_model->reserveRows(count); }
    // The first row above `after` whose flag is set, or -1.
    int nextSelected(int after) const;
    // Sets the flags of rows first..last; nothing happens when last < first.
    void selectRange(int first, int last, bool select);
    bool isRowSelected(int row) const;
    void setRowSelected(int row, bool selected);

    // cells
    // int for numbers, QString for the symbol, invalid for an empty cell.
    QVariant value(int row, int column) const;
    void setValue(int row, int column, const QVariant &value);
    // Allocation-free reads for the table's readers: 0 for an empty number cell.
    int cellInt(int row, int column) const;
    QString cellText(int row, int column) const;
    // Selects (or deselects) the block of cells. A block starting above the first row
    // leaves the selection as it is: copying with no rows marked copies the user's own
    // block.
    void selectBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, bool select);

    // sort
    // Key 0 is the primary key; a column of -1 leaves the key unused.
    void setSortKeyColumn(int key, int column);
    int sortKeyColumn(int key) const;
    // Switching on reorders the rows at once (stable, ascending), and keeps them in order
    // while it stays on; switching off leaves them where they are.
    void setSortActive(bool active);
    bool isSortActive() const { return m_sortActive; }

    // active cell: row and column 0 when there is none
    int activeRow() const;
    int activeColumn() const;
    void setActiveRow(int row);
    void setActiveColumn(int column);

    // clipboard
    void copySelectedCells();
    // Empties the selected cells; rows stay.
    void clearSelectedCells();
    // Writes the clipboard's cells from the active cell on, adding rows when the block
    // runs past the last one. Text that is not a whole number for a number column
    // throws before any cell changes.
    void pasteAtActiveCell();

    // Prints the table on the painter's device under the two titles; returns the number
    // of pages printed.
    short PrintTable(QPainter &painter, const QString &title, const QString &subtitle,
                     bool gridLines, bool repeatHeadings, bool pageNumbers, int maxPages);

    // The rows shown, for code that walks the whole table.
    const TokenTableModel &cells() const { return *m_model; }

    // While one lives, the grid's rows and cells change without a signal per row or cell;
    // the views take the whole table afresh when it ends. For filling thousands of rows.
    class BulkChange
    {
    public:
        explicit BulkChange(const CDatatbl5 &grid);
        ~BulkChange();
        BulkChange(const BulkChange &) = delete;
        BulkChange &operator=(const BulkChange &) = delete;

    private:
        QPointer<TokenTableModel> m_model; // the rows it began on, even if the grid moves on
    };

signals:
    // The user clicked a cell.
    void rowSelectEvent();
    // A value typed by the user changed a cell.
    void cellEdited(int row, int column);
    // Space outside a cell editor: the user asks to hear the current row's token.
    void playRequested();

protected:
    // reimplemented from QAbstractItemView
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onRowPressed(int row, Qt::KeyboardModifiers modifiers);
    void onRowDragged(int row);
    void attachModel(TokenTableModel *model);
    void checkRow(int row) const;
    void checkColumn(int column) const;
    TokenTableModel::Row toRow(const RowValues &values) const;
    void writeCell(int row, int column, const QVariant &value);
    bool isSortKey(int column) const;
    void sortNow();

    TokenTableModel m_ownRows;          // shown until the grid is given other rows
    TokenTableModel *m_model = nullptr; // the rows shown: m_ownRows or a document's
    QMetaObject::Connection m_modelEdits;
    QMetaObject::Connection m_modelGone;
    std::array<int, kColumnCount> m_sortKeys;
    bool m_sortActive = false;
    int m_rowAnchor = -1; // where a Shift-click on the row header extends from
};
