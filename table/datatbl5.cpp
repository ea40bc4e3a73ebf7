#include "table/datatbl5.h"

#include "table/clipboardtext.h"
#include "table/gridcelldelegate.h"
#include "table/griderror.h"
#include "table/rowheader.h"
#include "table/tableprinter.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <optional>

namespace {

QString columnName(int column)
{
    return TokenTableModel::heading(column);
}

// Whole numbers without a sign, as typing allows, with surrounding blanks ignored; an
// empty field empties the cell. A negative frequency would not survive a save: the file
// has no minus sign.
bool parseNumber(const QString &field, QVariant &value)
{
    const QString text = field.trimmed();
    if (text.isEmpty()) {
        value = QVariant();
        return true;
    }
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok)
        value = n;
    return ok;
}

// A value for a number column: nullopt for an empty cell (invalid or empty text).
std::optional<int> numberFor(int column, const QVariant &value)
{
    if (!value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return std::nullopt;
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok)
        throw GridError(QStringLiteral("The %1 column takes whole numbers, not \"%2\".")
                            .arg(columnName(column), value.toString()));
    return n;
}

} // namespace

CDatatbl5::RowValues CDatatbl5::blankRow()
{
    return {QVariant(), QVariant(), QVariant(), QVariant(QString()), QVariant(0), QVariant()};
}

CDatatbl5::CDatatbl5(QWidget *parent) : QTableView(parent)
{
    m_sortKeys.fill(-1);
    auto *rowHeader = new RowHeader(this);
    setVerticalHeader(rowHeader);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    attachModel(&m_ownRows);

    connect(rowHeader, &RowHeader::rowPressed, this, &CDatatbl5::onRowPressed);
    connect(rowHeader, &RowHeader::rowDragged, this, &CDatatbl5::onRowDragged);
}

CDatatbl5::~CDatatbl5()
{
    // Let go of rows that outlive this grid while the view still stands.
    disconnect(m_modelEdits);
    disconnect(m_modelGone);
    setModel(nullptr);
}

CDatatbl5::BulkChange::BulkChange(const CDatatbl5 &grid) : m_model(grid.m_model)
{
    m_model->beginBulkChange();
}

CDatatbl5::BulkChange::~BulkChange()
{
    if (m_model)
        m_model->endBulkChange();
}

void CDatatbl5::showRows(TokenTableModel &rows)
{
    if (&rows != m_model)
        attachModel(&rows);
}

void CDatatbl5::attachModel(TokenTableModel *model)
{
    disconnect(m_modelEdits);
    disconnect(m_modelGone);
    setModel(model);
    m_model = model;
    m_rowAnchor = -1;
    // A new model resets the header's sections.
    for (int c = 0; c < (model ? model->columnCount() : 0); ++c)
        horizontalHeader()->resizeSection(c, TokenTableModel::columnWidth(c));
    m_modelEdits =
        connect(m_model, &TokenTableModel::cellEdited, this, [this](int row, int column) {
            emit cellEdited(row, column);
            if (m_sortActive && isSortKey(column))
                sortNow();
        });
    if (model != &m_ownRows)
        m_modelGone =
            connect(model, &QObject::destroyed, this, [this] { attachModel(&m_ownRows); });
}

int CDatatbl5::addRow(const RowValues &values)
{
    return insertRow(rowCount(), values);
}

int CDatatbl5::insertRow(int index, const RowValues &values)
{
    return insertRows(index, 1, values);
}

int CDatatbl5::insertRows(int index, int count, const RowValues &values)
{
    if (index < 0 || index > rowCount())
        throw GridError(QStringLiteral("Cannot insert a row at %1: the table has %2 rows.")
                            .arg(index)
                            .arg(rowCount()));
    m_model->insertRowsAt(index, std::max(count, 0), toRow(values));
    if (m_sortActive)
        sortNow();
    return index;
}

void CDatatbl5::removeRow(int index)
{
    checkRow(index);
    m_model->removeRowAt(index);
    if (m_rowAnchor >= rowCount())
        m_rowAnchor = -1;
}

void CDatatbl5::removeSelectedRows()
{
    // Runs of marked rows go from the bottom up, so that the rows still to go keep their
    // indices and each run costs the views one change.
    std::vector<std::pair<int, int>> runs; // first, count
    for (int row = nextSelected(-1); row >= 0; row = nextSelected(row)) {
        if (!runs.empty() && runs.back().first + runs.back().second == row)
            ++runs.back().second;
        else
            runs.emplace_back(row, 1);
    }
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        m_model->removeRowsAt(run->first, run->second);
    if (m_rowAnchor >= rowCount())
        m_rowAnchor = -1;
}

void CDatatbl5::clearRows()
{
    m_model->clearRows();
    m_rowAnchor = -1;
}

int CDatatbl5::nextSelected(int after) const
{
    for (int row = std::max(after + 1, 0); row < rowCount(); ++row) {
        if (m_model->row(row).selected)
            return row;
    }
    return -1;
}

void CDatatbl5::selectRange(int first, int last, bool select)
{
    if (last < first)
        return;
    checkRow(first);
    checkRow(last);
    for (int row = first; row <= last; ++row)
        m_model->setRowSelected(row, select);
}

bool CDatatbl5::isRowSelected(int row) const
{
    checkRow(row);
    return m_model->row(row).selected;
}

void CDatatbl5::setRowSelected(int row, bool selected)
{
    checkRow(row);
    m_model->setRowSelected(row, selected);
}

QVariant CDatatbl5::value(int row, int column) const
{
    checkRow(row);
    checkColumn(column);
    return m_model->value(row, column);
}

void CDatatbl5::setValue(int row, int column, const QVariant &value)
{
    checkRow(row);
    checkColumn(column);
    writeCell(row, column, value);
    if (m_sortActive && isSortKey(column))
        sortNow();
}

int CDatatbl5::cellInt(int row, int column) const
{
    checkRow(row);
    checkColumn(column);
    if (!TokenTableModel::isNumberColumn(column))
        return m_model->cellText(row, column).toInt();
    return m_model->number(row, column);
}

QString CDatatbl5::cellText(int row, int column) const
{
    checkRow(row);
    checkColumn(column);
    return m_model->cellText(row, column);
}

void CDatatbl5::selectBlock(int firstRow, int firstColumn, int lastRow, int lastColumn, bool select)
{
    if (firstRow < 0 || lastRow < 0)
        return;
    checkRow(firstRow);
    checkRow(lastRow);
    checkColumn(firstColumn);
    checkColumn(lastColumn);
    const QItemSelection block(
        m_model->index(std::min(firstRow, lastRow), std::min(firstColumn, lastColumn)),
        m_model->index(std::max(firstRow, lastRow), std::max(firstColumn, lastColumn)));
    selectionModel()->select(block, select ? QItemSelectionModel::ClearAndSelect
                                           : QItemSelectionModel::Deselect);
}

void CDatatbl5::setSortKeyColumn(int key, int column)
{
    if (key < 0 || key >= kColumnCount)
        throw GridError(QStringLiteral("There is no sort key %1.").arg(key));
    if (column != -1)
        checkColumn(column);
    m_sortKeys[static_cast<std::size_t>(key)] = column;
}

int CDatatbl5::sortKeyColumn(int key) const
{
    if (key < 0 || key >= kColumnCount)
        throw GridError(QStringLiteral("There is no sort key %1.").arg(key));
    return m_sortKeys[static_cast<std::size_t>(key)];
}

void CDatatbl5::setSortActive(bool active)
{
    m_sortActive = active;
    if (active)
        sortNow();
}

int CDatatbl5::activeRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

int CDatatbl5::activeColumn() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void CDatatbl5::setActiveRow(int row)
{
    checkRow(row);
    selectionModel()->setCurrentIndex(m_model->index(row, activeColumn()),
                                      QItemSelectionModel::NoUpdate);
}

void CDatatbl5::setActiveColumn(int column)
{
    checkColumn(column);
    // Without rows there is no cell to make current; the column applies to none.
    if (rowCount() == 0)
        return;
    selectionModel()->setCurrentIndex(m_model->index(activeRow(), column),
                                      QItemSelectionModel::NoUpdate);
}

void CDatatbl5::copySelectedCells()
{
    QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid())
            return;
        selection.select(current, current);
    }
    int top = rowCount(), left = columnCount(), bottom = -1, right = -1;
    for (const QItemSelectionRange &range : std::as_const(selection)) {
        top = std::min(top, range.top());
        left = std::min(left, range.left());
        bottom = std::max(bottom, range.bottom());
        right = std::max(right, range.right());
    }
    QList<QStringList> rows;
    rows.reserve(bottom - top + 1);
    for (int row = top; row <= bottom; ++row) {
        QStringList line;
        for (int column = left; column <= right; ++column) {
            line.append(selection.contains(m_model->index(row, column)) ? cellText(row, column)
                                                                        : QString());
        }
        rows.append(line);
    }
    QApplication::clipboard()->setText(ClipboardText::write(rows));
}

void CDatatbl5::clearSelectedCells()
{
    QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty() && currentIndex().isValid())
        selection.select(currentIndex(), currentIndex());
    bool keyChanged = false;
    for (const QItemSelectionRange &range : std::as_const(selection)) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column)
                m_model->setEmpty(row, column);
        }
        keyChanged = keyChanged || std::any_of(m_sortKeys.begin(), m_sortKeys.end(), [&](int k) {
                         return k >= range.left() && k <= range.right();
                     });
    }
    if (m_sortActive && keyChanged)
        sortNow();
}

void CDatatbl5::pasteAtActiveCell()
{
    const QList<QStringList> lines = ClipboardText::read(QApplication::clipboard()->text());
    if (lines.isEmpty())
        return;
    const int startRow = activeRow();
    const int startColumn = activeColumn();

    // Check every field before touching a cell, so a bad paste changes nothing.
    std::vector<RowValues> values(static_cast<std::size_t>(lines.size()));
    int width = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList &fields = lines[i];
        const int n = std::min<int>(int(fields.size()), columnCount() - startColumn);
        width = std::max(width, n);
        for (int j = 0; j < n; ++j) {
            const int column = startColumn + j;
            QVariant &value = values[static_cast<std::size_t>(i)][static_cast<std::size_t>(column)];
            const auto refuse = [&](const QString &why) {
                return GridError(QStringLiteral("Cannot paste \"%1\" into the %2 column: %3")
                                     .arg(fields[j], columnName(column), why));
            };
            if (column == TokenTableModel::Speaker) {
                value = fields[j]; // a table file quotes whatever a speaker's name holds
            } else if (!TokenTableModel::isNumberColumn(column)) {
                if (const QString why = TokenTableModel::symbolRefusal(fields[j]); !why.isEmpty())
                    throw refuse(why);
                value = fields[j];
            } else if (!parseNumber(fields[j], value)) {
                throw refuse(QStringLiteral("it takes whole numbers only."));
            } else if (const QString why = TokenTableModel::numberRefusal(column, value.toInt());
                       value.isValid() && !why.isEmpty()) {
                throw refuse(why);
            }
        }
    }
    if (width == 0)
        return;

    const int endRow = startRow + int(lines.size()) - 1;
    if (rowCount() <= endRow)
        m_model->insertRowsAt(rowCount(), endRow - rowCount() + 1, toRow(blankRow()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int n = std::min<int>(int(lines[i].size()), columnCount() - startColumn);
        for (int j = 0; j < n; ++j) {
            const int column = startColumn + j;
            writeCell(startRow + int(i), column,
                      values[static_cast<std::size_t>(i)][static_cast<std::size_t>(column)]);
        }
    }
    const QItemSelection pasted(m_model->index(startRow, startColumn),
                                m_model->index(endRow, startColumn + width - 1));
    selectionModel()->select(pasted, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(m_model->index(startRow, startColumn),
                                      QItemSelectionModel::NoUpdate);
    if (m_sortActive)
        sortNow();
}

short CDatatbl5::PrintTable(QPainter &painter, const QString &title, const QString &subtitle,
                            bool gridLines, bool repeatHeadings, bool pageNumbers, int maxPages)
{
    const TablePrinter::Options options{gridLines, repeatHeadings, pageNumbers, maxPages};
    return static_cast<short>(TablePrinter::print(painter, *m_model, title, subtitle, options));
}

void CDatatbl5::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit rowSelectEvent();
}

void CDatatbl5::keyPressEvent(QKeyEvent *event)
{
    // Cut, copy and paste are the window's Edit commands, which also keep the document in
    // step; the view's own cell copy must not take the keys first.
    if (event == QKeySequence::Copy || event == QKeySequence::Cut || event == QKeySequence::Paste) {
        event->ignore();
        return;
    }
    // Space plays the token rather than starting an edit: a symbol rarely starts with one.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        state() != QAbstractItemView::EditingState) {
        emit playRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CDatatbl5::onRowPressed(int row, Qt::KeyboardModifiers modifiers)
{
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool toggle = modifiers & Qt::ControlModifier;
    if (!toggle) {
        for (int r = nextSelected(-1); r >= 0; r = nextSelected(r))
            m_model->setRowSelected(r, false);
    }
    // Another window of the same rows may have removed the anchor's row.
    if (m_rowAnchor >= rowCount())
        m_rowAnchor = -1;
    if (extend && m_rowAnchor >= 0) {
        for (int r = std::min(m_rowAnchor, row); r <= std::max(m_rowAnchor, row); ++r)
            m_model->setRowSelected(r, true);
        return;
    }
    m_model->setRowSelected(row, toggle ? !m_model->row(row).selected : true);
    m_rowAnchor = row;
}

void CDatatbl5::onRowDragged(int row)
{
    if (m_rowAnchor < 0 || m_rowAnchor >= rowCount() || row < 0 || row >= rowCount())
        return;
    for (int r = std::min(m_rowAnchor, row); r <= std::max(m_rowAnchor, row); ++r)
        m_model->setRowSelected(r, true);
}

void CDatatbl5::checkRow(int row) const
{
    if (row < 0 || row >= rowCount())
        throw GridError(
            QStringLiteral("Row %1 is outside the table (%2 rows).").arg(row).arg(rowCount()));
}

void CDatatbl5::checkColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        throw GridError(QStringLiteral("There is no column %1.").arg(column));
}

TokenTableModel::Row CDatatbl5::toRow(const RowValues &values) const
{
    TokenTableModel::Row row;
    for (int column = 0; column < int(values.size()); ++column) {
        const QVariant &value = values[static_cast<std::size_t>(column)];
        if (column == TokenTableModel::Speaker) {
            row.speaker = value.toString();
        } else if (column == TokenTableModel::Symbol) {
            row.symbol = value.toString();
        } else if (const std::optional<int> n = numberFor(column, value)) {
            row.numbers[static_cast<std::size_t>(TokenTableModel::slot(column))] = *n;
        } else {
            row.emptyNumbers |= TokenTableModel::emptyBit(column);
        }
    }
    return row;
}

void CDatatbl5::writeCell(int row, int column, const QVariant &value)
{
    if (column == TokenTableModel::Speaker)
        m_model->setSpeaker(row, value.toString());
    else if (column == TokenTableModel::Symbol)
        m_model->setSymbol(row, value.toString());
    else if (const std::optional<int> n = numberFor(column, value))
        m_model->setNumber(row, column, *n);
    else
        m_model->setEmpty(row, column);
}

bool CDatatbl5::isSortKey(int column) const
{
    return std::find(m_sortKeys.begin(), m_sortKeys.end(), column) != m_sortKeys.end();
}

void CDatatbl5::sortNow()
{
    // Stable sorts from the least significant key up leave the primary key in charge.
    for (auto key = m_sortKeys.rbegin(); key != m_sortKeys.rend(); ++key) {
        if (*key >= 0)
            m_model->sortByColumn(*key);
    }
}
