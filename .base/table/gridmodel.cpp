#include "table/gridmodel.h"

#include <QApplication>
#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QPalette>

#include <algorithm>
#include <numeric>

namespace {

const std::array<QString, GridModel::ColumnCount> kHeadings = {
    QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F3"), QStringLiteral("Symbol"),
    QStringLiteral("Order")};

// Rows whose selection flag is set stand out from the cell selection, which uses the
// full highlight colour.
QColor selectedRowColor()
{
    QColor color = QApplication::palette().color(QPalette::Highlight);
    color.setAlpha(70);
    return color;
}

} // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return value(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (isNumberColumn(index.column()))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (row(index.row()).selected)
            return selectedRowColor();
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
            return kHeadings[static_cast<std::size_t>(section)];
        return {};
    }
    if (section < 0 || section >= count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return section + 1;
    case Qt::BackgroundRole:
        if (row(section).selected)
            return selectedRowColor();
        return {};
    case Qt::FontRole:
        if (row(section).selected) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int r = index.row();
    const int column = index.column();
    if (column == Symbol) {
        const QString text = value.toString();
        if (text == symbol(r))
            return true;
        setSymbol(r, text);
    } else if (!value.isValid() || value.toString().isEmpty()) {
        if (isEmpty(r, column))
            return true;
        setEmpty(r, column);
    } else {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok)
            return false;
        if (!isEmpty(r, column) && number(r, column) == n)
            return true;
        setNumber(r, column, n);
    }
    emit cellEdited(r, column);
    return true;
}

bool GridModel::isEmpty(int row, int column) const
{
    if (column == Symbol)
        return symbol(row).isEmpty();
    return (this->row(row).emptyNumbers & emptyBit(column)) != 0;
}

QVariant GridModel::value(int row, int column) const
{
    if (column == Symbol) {
        const QString &text = symbol(row);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    if (isEmpty(row, column))
        return {};
    return number(row, column);
}

void GridModel::insertRowsAt(int index, int count, const Row &row)
{
    if (count <= 0)
        return;
    if (m_bulkDepth > 0) {
        m_rows.insert(m_rows.begin() + index, static_cast<std::size_t>(count), row);
        return;
    }
    beginInsertRows({}, index, index + count - 1);
    m_rows.insert(m_rows.begin() + index, static_cast<std::size_t>(count), row);
    endInsertRows();
}

void GridModel::removeRowsAt(int first, int count)
{
    if (count <= 0)
        return;
    if (m_bulkDepth > 0) {
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + first + count);
        return;
    }
    beginRemoveRows({}, first, first + count - 1);
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + first + count);
    endRemoveRows();
}

void GridModel::reserveRows(int count)
{
    m_rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
}

void GridModel::clearRows()
{
    if (m_bulkDepth > 0) {
        m_rows.clear();
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void GridModel::setNumber(int row, int column, int value)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    r.numbers[static_cast<std::size_t>(slot(column))] = value;
    r.emptyNumbers &= std::uint8_t(~emptyBit(column));
    emitCellChanged(row, column);
}

void GridModel::setEmpty(int row, int column)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (column == Symbol) {
        r.symbol.clear();
    } else {
        r.numbers[static_cast<std::size_t>(slot(column))] = 0;
        r.emptyNumbers |= emptyBit(column);
    }
    emitCellChanged(row, column);
}

void GridModel::setSymbol(int row, const QString &symbol)
{
    m_rows[static_cast<std::size_t>(row)].symbol = symbol;
    emitCellChanged(row, Symbol);
}

void GridModel::setRowSelected(int row, bool selected)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (r.selected == selected)
        return;
    r.selected = selected;
    if (m_bulkDepth > 0)
        return;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::BackgroundRole});
    emit headerDataChanged(Qt::Vertical, row, row);
}

void GridModel::sortByColumn(int column)
{
    const std::size_t n = m_rows.size();
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (column == Symbol) {
        const std::vector<int> ranks = symbolRanks();
        std::stable_sort(order.begin(), order.end(), [&ranks](int a, int b) {
            return ranks[static_cast<std::size_t>(a)] < ranks[static_cast<std::size_t>(b)];
        });
    } else {
        auto key = [this, column](int r) {
            return std::pair(isEmpty(r, column) ? 0 : 1, number(r, column));
        };
        std::stable_sort(order.begin(), order.end(),
                         [&key](int a, int b) { return key(a) < key(b); });
    }
    if (std::is_sorted(order.begin(), order.end()))
        return;
    if (m_bulkDepth > 0) {
        permuteRows(order);
        return;
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(n);
    for (std::size_t i = 0; i < n; ++i)
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    permuteRows(order);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModel::permuteRows(const std::vector<int> &order)
{
    // Row order[i] goes to i. Following each cycle moves every row once, in place: a
    // second table of rows would cost as much memory again.
    std::vector<bool> placed(m_rows.size());
    for (std::size_t start = 0; start < m_rows.size(); ++start) {
        if (placed[start])
            continue;
        Row held = std::move(m_rows[start]);
        std::size_t i = start;
        for (;;) {
            placed[i] = true;
            const auto from = static_cast<std::size_t>(order[i]);
            if (from == start) {
                m_rows[i] = std::move(held);
                break;
            }
            m_rows[i] = std::move(m_rows[from]);
            i = from;
        }
    }
}

std::vector<int> GridModel::symbolRanks() const
{
    // A table holds thousands of tokens but only a handful of distinct symbols: encode and
    // order those once, then sort the rows on small integers.
    QHash<QString, int> distinctOf;
    std::vector<int> distinct(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (i > 0 && m_rows[i].symbol == m_rows[i - 1].symbol) {
            distinct[i] = distinct[i - 1];
            continue;
        }
        auto it = distinctOf.constFind(m_rows[i].symbol);
        if (it == distinctOf.cend())
            it = distinctOf.insert(m_rows[i].symbol, int(distinctOf.size()));
        distinct[i] = *it;
    }
    std::vector<std::pair<QByteArray, int>> keys; // UTF-8 bytes, distinct symbol
    keys.reserve(std::size_t(distinctOf.size()));
    for (auto it = distinctOf.cbegin(); it != distinctOf.cend(); ++it)
        keys.emplace_back(it.key().toUtf8(), it.value());
    std::sort(keys.begin(), keys.end());
    // Symbols whose bytes are equal (text that UTF-8 cannot hold, replaced) share a rank,
    // so they keep their relative order as equal keys do.
    std::vector<int> rankOf(keys.size());
    int rank = 0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (k > 0 && keys[k].first != keys[k - 1].first)
            ++rank;
        rankOf[static_cast<std::size_t>(keys[k].second)] = rank;
    }
    for (int &value : distinct)
        value = rankOf[static_cast<std::size_t>(value)];
    return distinct;
}

void GridModel::beginBulkChange()
{
    if (m_bulkDepth++ == 0)
        beginResetModel();
}

void GridModel::endBulkChange()
{
    if (m_bulkDepth > 0 && --m_bulkDepth == 0)
        endResetModel();
}

void GridModel::emitCellChanged(int row, int column)
{
    if (m_bulkDepth > 0)
        return;
    // One list for every change: a fill of thousands of cells allocates none.
    static const QList<int> roles{Qt::DisplayRole, Qt::EditRole};
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, roles);
}
