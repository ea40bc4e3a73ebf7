#include "document/tabulartable.h"

#include "document/formantrecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

int formantIndex(TabularRole role)
{
    return int(role) - int(TabularRole::F0);
}

// Plain decimals ("512", "1234.5") of at most 15 digits: the digits make an exact integer
// and the power of ten is exact, so one division gives the correctly rounded value, the
// same as the general parser, at a fraction of its cost. Returns false for anything else.
bool parsePlainDecimal(std::string_view text, double &value)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (text.empty() || text.size() > 16)
        return false;
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = -1; // digits after the point, -1 before a point
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits = digits * 10 + std::uint64_t(c - '0');
            ++count;
            if (fraction >= 0)
                ++fraction;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            return false;
        }
    }
    if (count == 0 || count > 15)
        return false;
    value = double(digits) / kPowers[std::max(fraction, 0)];
    return true;
}

} // namespace

namespace {

// Digits grouped by `mark` in threes after a lead of one to three ("2.300", "1,234,567"),
// with an optional sign; how many groups follow the lead, 0 when the text is not so.
int groupsOf(std::string_view text, char mark)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    std::size_t lead = 0;
    while (lead < text.size() && text[lead] >= '0' && text[lead] <= '9')
        ++lead;
    if (lead < 1 || lead > 3)
        return 0;
    int groups = 0;
    for (std::size_t i = lead; i < text.size(); i += 4, ++groups) {
        if (text[i] != mark || i + 4 > text.size())
            return 0;
        for (std::size_t d = i + 1; d < i + 4; ++d) {
            if (text[d] < '0' || text[d] > '9')
                return 0;
        }
    }
    return groups;
}

bool onlyDigitsAndMarks(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-';
    });
}

double parseDecimal(std::string_view text)
{
    double value = kMissing;
    if (parsePlainDecimal(text, value))
        return value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // "nan" and "inf" parse, but they are no measurement.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return kMissing;
    return value;
}

} // namespace

std::pair<double, NumberMark> ClassifyTabularNumber(std::string_view text, bool decimalComma)
{
    text = trimmed(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    if (text.empty())
        return {kMissing, NumberMark::Plain};
    double value = kMissing;
    // The usual case first: a number is parsed for every formant cell of a large file.
    if (parsePlainDecimal(text, value)) {
        if (!decimalComma || text.find('.') == std::string_view::npos)
            return {value, NumberMark::Plain};
        return {value, groupsOf(text, '.') == 1 ? NumberMark::DotTriple : NumberMark::Point};
    }
    const auto dots = std::count(text.begin(), text.end(), '.');
    const auto commas = std::count(text.begin(), text.end(), ',');
    if (dots > 0 && commas > 0)
        return {kMissing, onlyDigitsAndMarks(text) ? NumberMark::Grouped : NumberMark::Plain};
    if (commas > 0) {
        const int groups = groupsOf(text, ',');
        if (!decimalComma || commas > 1)
            return {kMissing, groups > 0 ? NumberMark::Grouped : NumberMark::Plain};
        // Held on the stack, as above.
        char swapped[64];
        if (text.size() > sizeof swapped)
            return {kMissing, NumberMark::Plain};
        std::replace_copy(text.begin(), text.end(), swapped, ',', '.');
        value = parseDecimal(std::string_view(swapped, text.size()));
        if (std::isnan(value))
            return {value, NumberMark::Plain};
        return {value, groups == 1 ? NumberMark::CommaTriple : NumberMark::Comma};
    }
    if (dots > 1)
        return {kMissing, groupsOf(text, '.') > 0 ? NumberMark::Grouped : NumberMark::Plain};
    value = parseDecimal(text);
    if (std::isnan(value) || dots == 0)
        return {value, NumberMark::Plain};
    return {value,
            decimalComma && groupsOf(text, '.') == 1 ? NumberMark::DotTriple : NumberMark::Point};
}

double ParseTabularNumber(std::string_view text, bool decimalComma)
{
    return ClassifyTabularNumber(text, decimalComma).first;
}

double FormantHertz(double hertz)
{
    return hertz > 0 && hertz <= kMaxFormant ? hertz : kMissing;
}

std::string_view TabularTable::textOf(Cell cell) const
{
    return std::string_view(m_buffer.data() + cell.offset, cell.length);
}

const TabularTable::Cell *TabularTable::cellAt(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columnCount())
        return nullptr;
    return &m_columns[std::size_t(column)][std::size_t(row)];
}

std::string_view TabularTable::header(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    return textOf(m_header[std::size_t(column)]);
}

std::string_view TabularTable::cell(int row, int column) const
{
    const Cell *found = cellAt(row, column);
    return found ? textOf(*found) : std::string_view();
}

bool TabularTable::headerQuoted(int column) const
{
    return column >= 0 && column < columnCount() && m_header[std::size_t(column)].quoted;
}

bool TabularTable::cellQuoted(int row, int column) const
{
    const Cell *found = cellAt(row, column);
    return found && found->quoted;
}

int TabularTable::findColumn(std::string_view name) const
{
    name = trimmed(name);
    for (int column = 0; column < columnCount(); ++column) {
        if (equalsIgnoringCase(trimmed(header(column)), name))
            return column;
    }
    return -1;
}

double TabularTable::number(int row, int column) const
{
    if (column >= 0) {
        for (int index = 0; index < kFormants; ++index) {
            if (m_formantColumns[std::size_t(index)] == column)
                return formant(row, index);
        }
    }
    const Cell *found = cellAt(row, column);
    return found ? ParseTabularNumber(textOf(*found), m_decimalComma) : kMissing;
}

int TabularTable::roleColumn(TabularRole role) const
{
    if (role == TabularRole::Vowel)
        return m_textRoles[0];
    if (role == TabularRole::Speaker)
        return m_textRoles[1];
    return formantColumn(formantIndex(role));
}

int TabularTable::formantColumn(int formant) const
{
    return (formant >= 0 && formant < kFormants) ? m_formantColumns[std::size_t(formant)] : -1;
}

std::string_view TabularTable::vowel(int row) const
{
    return cell(row, m_textRoles[0]);
}

std::string_view TabularTable::speaker(int row) const
{
    return cell(row, m_textRoles[1]);
}

double TabularTable::formant(int row, int formant) const
{
    const std::span<const double> values = formantValues(formant);
    return (row >= 0 && std::size_t(row) < values.size()) ? values[std::size_t(row)] : kMissing;
}

std::span<const double> TabularTable::formantValues(int formant) const
{
    if (formantColumn(formant) < 0)
        return {};
    return m_formantValues[std::size_t(formant)];
}

double TabularTable::pointValue(int row, const TabularPointColumn &point) const
{
    const Cell *found = cellAt(row, point.column);
    return found ? FormantHertz(ParseTabularNumber(textOf(*found), m_decimalComma)) : kMissing;
}

int TabularTable::missingCount(int formant) const
{
    return formantColumn(formant) < 0 ? 0 : m_missing[std::size_t(formant)];
}

void TabularTable::parseFormantColumn(int formant, NumberMarks &marks)
{
    const std::size_t index = std::size_t(formant);
    Values &values = m_formantValues[index];
    const int column = m_formantColumns[index];
    values.clear();
    m_missing[index] = 0;
    if (column < 0)
        return;
    values.resize(std::size_t(m_rowCount));
    const Cells &cells = m_columns[std::size_t(column)];
    int missing = 0;
    for (std::size_t row = 0; row < values.size(); ++row) {
        const auto [number, mark] = ClassifyTabularNumber(textOf(cells[row]), m_decimalComma);
        const double value = FormantHertz(number);
        missing += std::isnan(value) ? 1 : 0;
        values[row] = value;
        if (mark == NumberMark::Plain)
            continue;
        marks.point = marks.point || mark == NumberMark::Point;
        marks.comma = marks.comma || mark == NumberMark::Comma;
        if (mark != NumberMark::Point && mark != NumberMark::Comma)
            marks.doubts.push_back({int(row), column, mark});
    }
    m_missing[index] = missing;
}

TabularTable::Cell TabularTable::storeText(std::string_view text)
{
    // Cells address the buffer with 32-bit offsets and 31-bit lengths.
    if (text.size() >= (std::size_t(1) << 31) ||
        std::uint64_t(m_buffer.size()) + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("tabular text too long");
    const Cell stored{std::uint32_t(m_buffer.size()), std::uint32_t(text.size()), 0};
    m_buffer.insert(m_buffer.end(), text.begin(), text.end());
    return stored;
}

int TabularTable::appendColumn(std::string_view header)
{
    m_header.push_back(storeText(header));
    m_columns.emplace_back(std::size_t(m_rowCount), Cell{});
    return columnCount() - 1;
}

void TabularTable::setCell(int row, int column, std::string_view text)
{
    if (!cellAt(row, column))
        return;
    m_columns[std::size_t(column)][std::size_t(row)] = storeText(text);
    for (std::size_t index = 0; index < m_formantColumns.size(); ++index) {
        if (m_formantColumns[index] != column)
            continue;
        double &value = m_formantValues[index][std::size_t(row)];
        const double parsed = FormantHertz(ParseTabularNumber(text, m_decimalComma));
        m_missing[index] += int(std::isnan(parsed)) - int(std::isnan(value));
        value = parsed;
    }
}

bool TabularTable::sameContent(const TabularTable &other) const
{
    if (m_rowCount != other.m_rowCount || columnCount() != other.columnCount() ||
        m_textRoles != other.m_textRoles || m_formantColumns != other.m_formantColumns)
        return false;
    for (int column = 0; column < columnCount(); ++column) {
        if (header(column) != other.header(column))
            return false;
        for (int row = 0; row < m_rowCount; ++row) {
            if (cell(row, column) != other.cell(row, column))
                return false;
        }
    }
    return true;
}
