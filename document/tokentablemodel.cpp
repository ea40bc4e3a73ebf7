#include "document/tokentablemodel.h"

#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

#include <algorithm>
#include <numeric>

namespace {

const std::array<QString, TokenTableModel::ColumnCount + 1> kHeadings = {
    QStringLiteral("F1"),     QStringLiteral("F2"),    QStringLiteral("F3"),
    QStringLiteral("Symbol"), QStringLiteral("Order"), QStringLiteral("Speaker")};
constexpr std::array<int, TokenTableModel::ColumnCount + 1> kWidths = {60, 60, 60, 100, 40, 100};

// Rows whose selection flag is set stand out from the cell selection, which uses the
// full highlight colour.
QColor selectedRowColor()
{
    QColor color = QGuiApplication::palette().color(QPalette::Highlight);
    color.setAlpha(70);
    return color;
}

// Excluded rows stay readable but recede, as disabled text does.
QColor excludedRowColor()
{
    return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

// Whether two byte arrays are one shared copy, and so hold the same bytes.
bool sharedBytes(const QByteArray &a, const QByteArray &b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

TokenTableModel::TokenTableModel(QObject *parent) : QAbstractTableModel(parent) {}

QString TokenTableModel::heading(int column)
{
    return kHeadings[static_cast<std::size_t>(column)];
}

int TokenTableModel::columnWidth(int column)
{
    return kWidths[static_cast<std::size_t>(column)];
}

int TokenTableModel::GetCellInt(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= ColumnCount)
        return 0;
    if (column == Symbol)
        return symbol(row).toInt();
    return number(row, column);
}

QString TokenTableModel::symbolRefusal(const QString &text)
{
    // A Formant file holds one token per line and ends a label at its double quote.
    if (text.contains(u'\r') || text.contains(u'\n') || text.contains(u'"'))
        return QStringLiteral("A symbol cannot hold a line break or a double quote (\"): a "
                              "saved file would not read it back.");
    return {};
}

QString TokenTableModel::numberRefusal(int column, int value)
{
    if (column < Symbol && (value < 0 || value > kMaxFormant))
        return QStringLiteral("The %1 column takes frequencies from 0 to %2 Hz, not %3.")
            .arg(heading(column))
            .arg(kMaxFormant)
            .arg(value);
    return {};
}

bool TokenTableModel::sameSymbol(int a, int b) const
{
    const Row &x = row(a);
    const Row &y = row(b);
    // Rows filled from a file share one copy of each symbol: nothing to compare then.
    if (sharedBytes(x.symbolBytes, y.symbolBytes) && x.symbol.constData() == y.symbol.constData() &&
        x.symbol.size() == y.symbol.size())
        return true;
    return x.symbolBytes == y.symbolBytes && x.symbol == y.symbol;
}

QByteArray TokenTableModel::GetSymbolBytes(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return this->row(row).symbolBytes;
}

std::array<int, 2> TokenTableModel::GetHigherFormants(int row) const
{
    if (row < 0 || row >= count())
        return {};
    const auto &f = this->row(row).higherFormants;
    return {f[0], f[1]};
}

bool TokenTableModel::IsRowExcluded(int row) const
{
    return row >= 0 && row < count() && this->row(row).excluded;
}

QString TokenTableModel::GetCellText(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= columnCount())
        return {};
    return cellText(row, column);
}

QString TokenTableModel::cellText(int row, int column) const
{
    if (column == Symbol)
        return symbol(row);
    if (column == Speaker)
        return this->row(row).speaker;
    return isEmpty(row, column) ? QString() : QString::number(number(row, column));
}

int TokenTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int TokenTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount + (m_speakerShown ? 1 : 0);
}

void TokenTableModel::setSpeakerShown(bool shown)
{
    if (m_speakerShown == shown)
        return;
    beginResetModel();
    m_speakerShown = shown;
    endResetModel();
}

QVariant TokenTableModel::data(const QModelIndex &index, int role) const
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
    case Qt::ForegroundRole:
        if (row(index.row()).excluded)
            return excludedRowColor();
        return {};
    default:
        return {};
    }
}

QVariant TokenTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section >= 0 && section < columnCount())
            return heading(section);
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
    case Qt::ForegroundRole:
        if (row(section).excluded)
            return excludedRowColor();
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

Qt::ItemFlags TokenTableModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TokenTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int r = index.row();
    const int column = index.column();
    if (column == Speaker) {
        // A table file holds any text in a cell: quoting keeps separators and line breaks.
        const QString text = value.toString();
        if (text == row(r).speaker)
            return true;
        setSpeaker(r, text);
    } else if (column == Symbol) {
        const QString text = value.toString();
        if (text == symbol(r))
            return true;
        if (const QString why = symbolRefusal(text); !why.isEmpty()) {
            emit entryRefused(why);
            return false;
        }
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
        if (const QString why = numberRefusal(column, n); !why.isEmpty()) {
            emit entryRefused(why);
            return false;
        }
        if (!isEmpty(r, column) && number(r, column) == n)
            return true;
        setNumber(r, column, n);
    }
    emit cellEdited(r, column);
    return true;
}

bool TokenTableModel::IsCellEmpty(int row, int column) const
{
    if (row < 0 || row >= count() || column < 0 || column >= ColumnCount)
        return true;
    return isEmpty(row, column);
}

bool TokenTableModel::isEmpty(int row, int column) const
{
    if (column == Symbol)
        return symbol(row).isEmpty();
    if (column == Speaker)
        return this->row(row).speaker.isEmpty();
    return (this->row(row).emptyNumbers & emptyBit(column)) != 0;
}

QVariant TokenTableModel::value(int row, int column) const
{
    if (column == Symbol) {
        const QString &text = symbol(row);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    if (column == Speaker) {
        const QString &text = this->row(row).speaker;
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    if (isEmpty(row, column))
        return {};
    return number(row, column);
}

void TokenTableModel::insertRowsAt(int index, int count, const Row &given)
{
    if (count <= 0)
        return;
    Row row = given;
    if (row.symbolBytes.isEmpty() && !row.symbol.isEmpty())
        row.symbolBytes = row.symbol.toUtf8();
    if (m_bulkDepth > 0) {
        m_rows.insert(m_rows.begin() + index, static_cast<std::size_t>(count), row);
        return;
    }
    beginInsertRows({}, index, index + count - 1);
    m_rows.insert(m_rows.begin() + index, static_cast<std::size_t>(count), row);
    endInsertRows();
    emitChanged();
}

void TokenTableModel::appendRow(Row &&row)
{
    if (row.symbolBytes.isEmpty() && !row.symbol.isEmpty())
        row.symbolBytes = row.symbol.toUtf8();
    if (m_bulkDepth > 0) {
        m_rows.push_back(std::move(row));
        return;
    }
    const int index = count();
    beginInsertRows({}, index, index);
    m_rows.push_back(std::move(row));
    endInsertRows();
    emitChanged();
}

void TokenTableModel::removeRowsAt(int first, int count)
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
    emitChanged();
}

void TokenTableModel::replaceRows(int first, int count, const std::vector<Row> &rows)
{
    const auto at = m_rows.begin() + first;
    const auto kept = std::min<std::size_t>(std::size_t(count), rows.size());
    std::copy(rows.begin(), rows.begin() + std::ptrdiff_t(kept), at);
    for (std::size_t i = 0; i < kept; ++i)
        m_rows[std::size_t(first) + i].selected = false;
    if (kept > 0 && m_bulkDepth == 0)
        emit dataChanged(index(first, 0), index(first + int(kept) - 1, columnCount() - 1));
    const int rest = first + int(kept);
    if (std::size_t(count) > kept) {
        if (m_bulkDepth == 0)
            beginRemoveRows({}, rest, first + count - 1);
        m_rows.erase(at + std::ptrdiff_t(kept), at + count);
        if (m_bulkDepth == 0)
            endRemoveRows();
    } else if (rows.size() > kept) {
        if (m_bulkDepth == 0)
            beginInsertRows({}, rest, first + int(rows.size()) - 1);
        const auto inserted =
            m_rows.insert(m_rows.begin() + rest, rows.begin() + std::ptrdiff_t(kept), rows.end());
        for (auto row = inserted; row != inserted + std::ptrdiff_t(rows.size() - kept); ++row)
            row->selected = false;
        if (m_bulkDepth == 0)
            endInsertRows();
    }
    emitChanged();
}

void TokenTableModel::reserveRows(int count)
{
    m_rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
}

void TokenTableModel::clearRows()
{
    if (m_bulkDepth > 0) {
        m_rows.clear();
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
    emitChanged();
}

void TokenTableModel::setNumber(int row, int column, int value)
{
    if (column == Speaker)
        return; // text, set by setSpeaker
    Row &r = m_rows[static_cast<std::size_t>(row)];
    r.numbers[static_cast<std::size_t>(slot(column))] = value;
    r.emptyNumbers &= std::uint8_t(~emptyBit(column));
    emitCellChanged(row, column);
}

void TokenTableModel::setEmpty(int row, int column)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (column == Speaker) {
        r.speaker.clear();
    } else if (column == Symbol) {
        r.symbol.clear();
        r.symbolBytes.clear();
    } else {
        r.numbers[static_cast<std::size_t>(slot(column))] = 0;
        r.emptyNumbers |= emptyBit(column);
    }
    emitCellChanged(row, column);
}

void TokenTableModel::setSymbol(int row, const QString &symbol)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    r.symbol = symbol;
    r.symbolBytes = symbol.toUtf8();
    emitCellChanged(row, Symbol);
}

void TokenTableModel::setSpeaker(int row, const QString &speaker)
{
    m_rows[static_cast<std::size_t>(row)].speaker = speaker;
    emitCellChanged(row, Speaker);
}

void TokenTableModel::setRowSelected(int row, bool selected)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (r.selected == selected)
        return;
    r.selected = selected;
    if (m_bulkDepth > 0)
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
    emit headerDataChanged(Qt::Vertical, row, row);
}

void TokenTableModel::setRowExcluded(int row, bool excluded)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (r.excluded == excluded)
        return;
    r.excluded = excluded;
    if (m_bulkDepth > 0)
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::ForegroundRole});
    emit headerDataChanged(Qt::Vertical, row, row);
    emitChanged();
}

int TokenTableModel::excludedCount() const
{
    return int(
        std::count_if(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.excluded; }));
}

void TokenTableModel::sortByColumn(int column)
{
    const std::size_t n = m_rows.size();
    std::vector<int> ranks;
    if (column == Symbol) {
        ranks = symbolRanks();
        // Rows filled in symbol order, as a file's are, are left as they stand.
        if (std::is_sorted(ranks.begin(), ranks.end()))
            return;
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (column == Symbol) {
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

void TokenTableModel::permuteRows(const std::vector<int> &order)
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

std::vector<int> TokenTableModel::symbolRanks() const
{
    // A table holds thousands of tokens but only a handful of distinct symbols: encode and
    // order those once, then sort the rows on small integers.
    QHash<QByteArray, int> distinctOf;
    std::vector<int> distinct(m_rows.size());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const QByteArray &bytes = m_rows[i].symbolBytes;
        if (i > 0 &&
            (sharedBytes(bytes, m_rows[i - 1].symbolBytes) || bytes == m_rows[i - 1].symbolBytes)) {
            distinct[i] = distinct[i - 1];
            continue;
        }
        auto it = distinctOf.constFind(bytes);
        if (it == distinctOf.cend())
            it = distinctOf.insert(bytes, int(distinctOf.size()));
        distinct[i] = *it;
    }
    std::vector<std::pair<QByteArray, int>> keys; // bytes, distinct symbol
    keys.reserve(std::size_t(distinctOf.size()));
    for (auto it = distinctOf.cbegin(); it != distinctOf.cend(); ++it)
        keys.emplace_back(it.key(), it.value());
    std::sort(keys.begin(), keys.end());
    std::vector<int> rankOf(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k)
        rankOf[static_cast<std::size_t>(keys[k].second)] = int(k);
    for (int &value : distinct)
        value = rankOf[static_cast<std::size_t>(value)];
    return distinct;
}

void TokenTableModel::beginBulkChange()
{
    if (m_bulkDepth++ == 0)
        beginResetModel();
}

void TokenTableModel::endBulkChange()
{
    if (m_bulkDepth > 0 && --m_bulkDepth == 0)
        endResetModel();
}

void TokenTableModel::emitCellChanged(int row, int column)
{
    if (m_bulkDepth > 0)
        return;
    // One list for every change: a fill of thousands of cells allocates none.
    static const QList<int> roles{Qt::DisplayRole, Qt::EditRole};
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, roles);
    emitChanged();
}

void TokenTableModel::emitChanged()
{
    if (m_bulkDepth == 0 && m_quietDepth == 0)
        emit changed();
}
