#include "document/tabularbuilder.h"

#include <QStringList>

#include <array>

namespace {

// Header names per role, in order of preference: the first name the header holds wins.
constexpr std::array<std::string_view, 7> kVowelNames{"vowel", "label",   "symbol", "phoneme",
                                                      "phone", "segment", "ipa"};
constexpr std::array<std::string_view, 5> kSpeakerNames{"speaker", "talker", "subject",
                                                        "participant", "spk"};

// Longer headers are cut in messages, so that a wide table still gives a readable report.
constexpr int kListedColumns = 40;

QString nameOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <std::size_t N>
int firstColumnNamed(const TabularTable &table, const std::array<std::string_view, N> &names)
{
    for (std::string_view name : names) {
        if (const int column = table.findColumn(name); column >= 0)
            return column;
    }
    return -1;
}

// F0 to F5 with the units some programs add.
constexpr std::array<std::array<std::string_view, 3>, TabularTable::kFormants> kFormantNames{{
    {"f0", "f0_hz", "f0 (hz)"},
    {"f1", "f1_hz", "f1 (hz)"},
    {"f2", "f2_hz", "f2 (hz)"},
    {"f3", "f3_hz", "f3 (hz)"},
    {"f4", "f4_hz", "f4 (hz)"},
    {"f5", "f5_hz", "f5 (hz)"},
}};

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
    } else if (!m_tooRagged) {
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
    const auto chosen = [&](const QString &name, const char *role, int guess, int &column) {
        if (name.isEmpty()) {
            column = guess;
            return true;
        }
        column = table.findColumn(name.toStdString());
        if (column >= 0)
            return true;
        result.status = TabularReadResult::Status::UnknownColumn;
        result.message = QStringLiteral("The column \"%1\" given for the %2 is not in the "
                                        "header: %3.")
                             .arg(name, QLatin1String(role), headerList());
        return false;
    };
    if (!chosen(options.vowelColumn, "vowel", firstColumnNamed(table, kVowelNames),
                table.m_textRoles[0]) ||
        !chosen(options.speakerColumn, "speaker", firstColumnNamed(table, kSpeakerNames),
                table.m_textRoles[1]))
        return false;
    for (int formant = 0; formant < TabularTable::kFormants; ++formant)
        table.m_formantColumns[std::size_t(formant)] =
            firstColumnNamed(table, kFormantNames[std::size_t(formant)]);

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
    result.message = QStringLiteral("This is not a table of formants: it has no %1 column. "
                                    "The header found is: %2.")
                         .arg(missing.join(QStringLiteral(", ")), headerList());
    return false;
}

TabularReadResult TabularBuilder::finish(const TabularReadOptions &options)
{
    TabularReadResult result;
    if (m_inHeader && m_field > 0)
        endRow(); // a header without a line end
    // Before the roles: the header's names may be among the copies.
    m_table.m_buffer.insert(m_table.m_buffer.end(), m_copies.begin(), m_copies.end());
    m_copies = {};
    if (!assignRoles(options, result))
        return result;
    for (int formant = 0; formant < TabularTable::kFormants; ++formant)
        m_table.parseFormantColumn(formant);
    result.table = std::move(m_table);
    return result;
}
