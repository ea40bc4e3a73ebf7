#pragma once

#include "document/largeblockallocator.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

// A table of tokens read from a CSV or TSV file (or built from a Formant file): the header
// names, every cell's text, the columns that hold the vowel, the speaker and F0 to F5, and
// the layout the file had so that it can be written back the same way. Owns one byte
// buffer holding the file's text; cells are offsets into it, never copies of their own.

// The layout of the file a table came from; the writer reproduces it.
struct TabularFormat
{
    enum class LineEnd { Lf, CrLf, Cr };

    char separator = '\t'; // '\t', ';' or ','
    LineEnd lineEnd = LineEnd::Lf;
    bool byteOrderMark = false; // the file began with a UTF-8 byte-order mark
    bool finalLineEnd = true;   // the last row was followed by a line end
    // Every field of the file was quoted: cells added later are quoted too. Otherwise a
    // cell is quoted when it was quoted in the file or when its text needs it.
    bool quoteAll = false;
    // The file began with a spreadsheet's "sep=X" line, written back before the header.
    bool separatorLine = false;
    // The bytes on disk: spreadsheets save "Unicode text" as UTF-16 with a byte-order
    // mark. The table itself always holds UTF-8 (or the file's own 8-bit bytes).
    enum class Encoding { Utf8, Utf16Le, Utf16Be };
    Encoding encoding = Encoding::Utf8;

    bool operator==(const TabularFormat &) const = default;
};

// The columns a table can hold a role for.
enum class TabularRole { Vowel, Speaker, F0, F1, F2, F3, F4, F5 };
inline constexpr int kTabularRoleCount = 8;

// A formant measured at one point of the token, e.g. "F1_20" or "F2@50%": the points of
// F1 and F2 make the token's trajectory.
struct TabularPointColumn
{
    int formant = 1; // 0 = F0 ... 5 = F5
    int percent = 50;
    int column = -1;
};

// How a cell's number was written, for telling a decimal mark from a grouping separator.
enum class NumberMark {
    Plain,       // no mark, or no number
    Point,       // a point that can only be decimal: "2300.25", "312.5" in a comma file
    Comma,       // a comma that can only be decimal: "312,5"
    DotTriple,   // "2.300": a decimal point, or a point grouping thousands
    CommaTriple, // "2,300" where a decimal comma is accepted: either again
    Grouped,     // "2,300.5", "1.234.567", "2,300" in a comma file: grouped digits
};
class TabularTable
{
public:
    static constexpr int kFormants = 6; // F0 to F5

    TabularTable() = default;

    // sizes
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_columns.size()); }

    // text; an index out of range gives empty text, never a fault
    std::string_view header(int column) const;
    // The cell's text without its quotes, doubled quotes made single; a row shorter than
    // the header reads as empty cells.
    std::string_view cell(int row, int column) const;
    // The first column whose header is `name` (ASCII case-insensitive, surrounding spaces
    // ignored), or -1.
    int findColumn(std::string_view name) const;

    // numbers
    // The cell as a number, NaN when it is missing: empty, NA, --undefined--, not a number
    // or not finite. Surrounding spaces are ignored; where the comma is not the separator a
    // decimal comma is accepted too. A formant column's cells follow formant().
    double number(int row, int column) const;

    // roles
    // The column holding `role`, or -1.
    int roleColumn(TabularRole role) const;
    int vowelColumn() const { return roleColumn(TabularRole::Vowel); }
    int speakerColumn() const { return roleColumn(TabularRole::Speaker); }
    // Column of formant `formant` (0 = F0 ... 5 = F5), or -1.
    int formantColumn(int formant) const;
    // The row's vowel and speaker text; empty without such a column (one speaker).
    std::string_view vowel(int row) const;
    std::string_view speaker(int row) const;
    // Formant `formant` (0 to 5) of the row in hertz, NaN when missing or not in the table.
    // One rule for every reader: a value that is not a number, or not within
    // 0 < f <= kMaxFormant, is missing.
    double formant(int row, int formant) const;
    // All rows' values of formant `formant` (0 to 5), NaN where missing; empty when the
    // table has no such column. Parsed once when the table is read.
    std::span<const double> formantValues(int formant) const;
    // How many rows have formant `formant` (0 to 5) missing; 0 without such a column.
    int missingCount(int formant) const;
    // The columns of formants measured at several points, in header order. Where a formant
    // has no plain column, its 50% point (or the one nearest the middle) is its column.
    const std::vector<TabularPointColumn> &pointColumns() const { return m_points; }
    // The value of a point column, by the same rule as formant().
    double pointValue(int row, const TabularPointColumn &point) const;

    // layout
    const TabularFormat &format() const { return m_format; }
    void setFormat(const TabularFormat &format) { m_format = format; }

    // editing (for writers of derived tables, e.g. added normalised columns)
    // Appends a column of empty cells named `header`; returns its index.
    int appendColumn(std::string_view header);
    // Replaces the text of a cell; a formant column's number follows. Ignored out of range.
    // Both throw std::length_error once the table would pass 4 GB of text.
    void setCell(int row, int column, std::string_view text);

    // Bytes of text the table holds: the file's, and the cells' copies.
    std::size_t textBytes() const { return m_buffer.size(); }

    // Same header, cells and roles (the layout may differ).
    bool sameContent(const TabularTable &other) const;

    // Whether the field was quoted in the file, so that a writer can keep its quotes.
    bool headerQuoted(int column) const;
    bool cellQuoted(int row, int column) const;

    // Storage, for the reader: the text, and per cell an offset and a length into it.
    using Buffer = std::vector<char, LargeBlockAllocator<char>>;
    struct Cell
    {
        std::uint32_t offset = 0;
        std::uint32_t length : 31 = 0;
        std::uint32_t quoted : 1 = 0; // the field was quoted in the file
    };

private:
    friend class TabularBuilder;

    std::string_view textOf(Cell cell) const;
    const Cell *cellAt(int row, int column) const;
    Cell storeText(std::string_view text); // appends to the buffer
    // Where a file's decimal mark shows, and the cells whose mark might group digits.
    struct NumberMarks
    {
        bool point = false;
        bool comma = false;
        struct Doubt
        {
            int row, column;
            NumberMark mark;
        };
        std::vector<Doubt> doubts; // in row order per column
    };
    void parseFormantColumn(int formant, NumberMarks &marks);

    using Cells = std::vector<Cell, LargeBlockAllocator<Cell>>;
    using Values = std::vector<double, LargeBlockAllocator<double>>;

    Buffer m_buffer; // the file's bytes, then unescaped and edited cell texts
    std::vector<Cell> m_header;
    std::vector<Cells> m_columns; // per column, one cell per row
    int m_rowCount = 0;
    std::array<int, 2> m_textRoles{-1, -1}; // vowel, speaker
    std::array<int, kFormants> m_formantColumns{-1, -1, -1, -1, -1, -1};
    std::array<Values, kFormants> m_formantValues;
    std::array<int, kFormants> m_missing{};
    TabularFormat m_format;
    std::vector<TabularPointColumn> m_points;
    // Numbers may have a decimal comma: set by the reader from the file's separator, and
    // kept when the layout changes for writing.
    bool m_decimalComma = false;
};

// A cell's text as a number, NaN when it is missing (see TabularTable::number).
double ParseTabularNumber(std::string_view text, bool decimalComma);

// A number as a formant in hertz: NaN unless 0 < hertz <= kMaxFormant.
double FormantHertz(double hertz);

// ParseTabularNumber's value and the mark it was written with.
std::pair<double, NumberMark> ClassifyTabularNumber(std::string_view text, bool decimalComma);
