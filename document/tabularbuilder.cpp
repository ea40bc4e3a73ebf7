#include "document/tabularbuilder.h"

#include "document/tabularroles.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include <array>

namespace {

// Longer headers are cut in messages, so that a wide table still gives a readable report.
constexpr int kListedColumns = 40;

QString nameOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The column whose name comes first in the role's list; the leftmost among equals.
int bestColumn(const TabularTable &table, TabularRole role)
{
    int best = -1;
    int bestRank = 0;
    for (int column = 0; column < table.columnCount(); ++column) {
        const std::optional<int> rank = TabularRoleRank(role, table.header(column));
        if (rank && (best < 0 || *rank < bestRank)) {
            best = column;
            bestRank = *rank;
        }
    }
    return best;
}

} // namespace

TabularBuilder::TabularBuilder(TabularTable::Buffer &&bytes, std::size_t rowEstimate)
    : m_base(bytes.size()), m_rowEstimate(rowEstimate),
      // A well-formed file has at most one cell per byte; short rows in a wide table may
      // add some more, never this many.
      m_cellLimit(4 * bytes.size() + (std::size_t(1) << 20))
{
    m_table.m_buffer = std::move(bytes);
}

TabularBuilder::Cell TabularBuilder::storeCopy(std::string_view text)
{
    const Cell copy{std::uint32_t(m_base + std::size_t(m_copies.size())),
                    std::uint32_t(text.size()), 0};
    m_copies.append(text);
    return copy;
}

void TabularBuilder::addColumn(Cell header)
{
    m_table.m_header.push_back(header);
    TabularTable::Cells &cells = m_table.m_columns.emplace_back();
    cells.reserve(std::max(m_rowEstimate, std::size_t(m_table.m_rowCount)));
    // A row longer than the header makes an unnamed column; the rows before it had
    // nothing there.
    cells.resize(std::size_t(m_table.m_rowCount));
}

void TabularBuilder::addFieldSlowly(Cell cell)
{
    const std::size_t rows = std::size_t(m_table.m_rowCount) + 1;
    if (m_tooRagged || rows * (m_table.m_columns.size() + 1) > m_cellLimit) {
        m_tooRagged = true;
        return;
    }
    if (m_inHeader) {
        addColumn(cell);
    } else {
        addColumn(Cell{});
        m_table.m_columns[m_field].push_back(cell);
    }
}

void TabularBuilder::endRow()
{
    if (m_inHeader) {
        m_inHeader = false;
        m_headerFields = m_field;
    } else if (!m_tooRagged) {
        // A trailing separator on the rows alone leaves an empty last field: no row names.
        if (m_table.m_rowCount == 0)
            m_rowNames = m_headerFields > 0 && m_field == m_headerFields + 1 &&
                         m_table.m_columns[m_headerFields].back().length > 0;
        const std::size_t columns = m_table.m_columns.size();
        if ((std::size_t(m_table.m_rowCount) + 1) * columns > m_cellLimit) {
            m_tooRagged = true;
        } else {
            for (std::size_t column = m_field; column < columns; ++column)
                m_table.m_columns[column].emplace_back();
            ++m_table.m_rowCount;
        }
    }
    m_field = 0;
}

QString TabularBuilder::headerList() const
{
    QStringList names;
    const int shown = std::min(m_table.columnCount(), kListedColumns);
    for (int column = 0; column < shown; ++column)
        names << nameOf(m_table.header(column));
    if (shown < m_table.columnCount())
        names << QStringLiteral("… (%1 columns)").arg(m_table.columnCount());
    return names.join(QStringLiteral(", "));
}

bool TabularBuilder::assignRoles(const TabularReadOptions &options, TabularReadResult &result)
{
    TabularTable &table = m_table;
    // Point columns first: a formant without a plain column takes its middle point.
    table.m_points.clear();
    for (int column = 0; column < table.columnCount(); ++column) {
        if (std::optional<TabularPointColumn> point = ParseTabularPoint(table.header(column))) {
            point->column = column;
            table.m_points.push_back(*point);
        }
    }
    for (int index = 0; index < kTabularRoleCount; ++index) {
        const auto role = TabularRole(index);
        const QString &named = options.column(role);
        int column = -1;
        if (!named.isEmpty()) {
            const QByteArray utf8 = named.toUtf8();
            column = table.findColumn(std::string_view(utf8.constData(), std::size_t(utf8.size())));
            if (column < 0) {
                result.status = TabularReadResult::Status::UnknownColumn;
                result.message =
                    QStringLiteral("The column \"%1\" given for %2 is not in the "
                                   "header: %3.")
                        .arg(named, QLatin1String(TabularRoleName(role)), headerList());
                return false;
            }
        } else {
            column = bestColumn(table, role);
        }
        if (role == TabularRole::Vowel || role == TabularRole::Speaker) {
            table.m_textRoles[role == TabularRole::Vowel ? 0 : 1] = column;
            continue;
        }
        const int formant = index - int(TabularRole::F0);
        if (column < 0) {
            int nearest = 1000;
            for (const TabularPointColumn &point : table.m_points) {
                if (point.formant == formant && std::abs(point.percent - 50) < nearest) {
                    nearest = std::abs(point.percent - 50);
                    column = point.column;
                }
            }
        }
        table.m_formantColumns[std::size_t(formant)] = column;
    }

    // Two columns of one name: the first is used, and the user should know.
    for (int index = 0; index < kTabularRoleCount; ++index) {
        const int used = table.roleColumn(TabularRole(index));
        if (used < 0 || !options.columns[std::size_t(index)].isEmpty())
            continue;
        const std::string key = TabularHeaderKey(table.header(used));
        for (int column = used + 1; column < table.columnCount(); ++column) {
            if (TabularHeaderKey(table.header(column)) == key) {
                result.warnings << QStringLiteral("The header has more than one column named "
                                                  "\"%1\"; the first is used.")
                                       .arg(nameOf(table.header(used)));
                break;
            }
        }
    }

    QStringList missing;
    if (table.m_formantColumns[1] < 0)
        missing << QStringLiteral("F1");
    if (table.m_formantColumns[2] < 0)
        missing << QStringLiteral("F2");
    if (table.m_textRoles[0] < 0)
        missing << QStringLiteral("vowel");
    if (missing.isEmpty())
        return true;
    result.status = TabularReadResult::Status::NoColumns;
    result.message =
        QStringLiteral("This is not a table of formants: it has no %1 column. The header found "
                       "is: %2. The columns looked for are F1 and F2 (also F1_Hz, \"F1 (Hz)\", "
                       "or points such as F1_50), and the vowel as vowel, label, symbol, "
                       "phoneme, phone, segment or ipa; --vowel, --f1 and --f2 name others.")
            .arg(missing.join(QStringLiteral(", ")), headerList());
    return false;
}

bool TabularBuilder::checkGroupedNumbers(const TabularTable::NumberMarks &marks,
                                         TabularReadResult &result) const
{
    for (const TabularTable::NumberMarks::Doubt &doubt : marks.doubts) {
        // "2.300" is 2.3 only where the file writes decimal points elsewhere and never a
        // decimal comma; "2,300" is 2.3 only the other way round. Otherwise the digits may
        // be grouped and the number is refused rather than guessed.
        const bool decimal = (doubt.mark == NumberMark::DotTriple && marks.point && !marks.comma) ||
                             (doubt.mark == NumberMark::CommaTriple && marks.comma && !marks.point);
        if (decimal)
            continue;
        const std::string_view text = m_table.cell(doubt.row, doubt.column);
        result.status = TabularReadResult::Status::GroupedNumber;
        result.message =
            QStringLiteral("The value \"%1\" in row %2 below the header, column \"%3\", may "
                           "have its digits grouped (a thousands separator), so it is not read "
                           "as any number. Save the table without digit grouping.")
                .arg(nameOf(text))
                .arg(doubt.row + 1)
                .arg(nameOf(m_table.header(doubt.column)));
        return false;
    }
    return true;
}

TabularReadResult TabularBuilder::finish(const TabularReadOptions &options)
{
    TabularReadResult result;
    if (m_inHeader && m_field > 0)
        endRow(); // a header without a line end
    // Before the roles: the header's names may be among the copies.
    m_table.m_buffer.insert(m_table.m_buffer.end(), m_copies.begin(), m_copies.end());
    m_copies = {};
    if (m_rowNames) {
        // The row names' column is the first, unnamed; the names belong one to the right.
        m_table.m_header.insert(m_table.m_header.begin(), Cell{});
        m_table.m_header.pop_back();
    }
    if (!assignRoles(options, result))
        return result;
    TabularTable::NumberMarks marks;
    for (int formant = 0; formant < TabularTable::kFormants; ++formant)
        m_table.parseFormantColumn(formant, marks);
    if (!checkGroupedNumbers(marks, result))
        return result;
    result.table = std::move(m_table);
    return result;
}
