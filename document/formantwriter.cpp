#include "document/formantwriter.h"

#include "document/cellsource.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr int kSymbolColumn = 3;

// The reader takes only runs of three or more digits as formants, so a value below 100
// written plainly ("0", "50") would shift the line's formants or drop the token when the
// file is read back. Leading zeros keep every such value.
void appendFormant(QByteArray &text, int value)
{
    if (value >= 0 && value < 100) {
        const char digits[3] = {'0', char('0' + value / 10), char('0' + value % 10)};
        text.append(digits, 3);
    } else {
        std::array<char, 16> digits{};
        const char *end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        text.append(digits.data(), end - digits.data());
    }
}

} // namespace

QByteArray FormatFormantText(const CellSource &table, int rowCount)
{
    QByteArray text;
    // Three four-digit formants and a short label fill about 24 bytes a row.
    text.reserve(qsizetype(std::max(rowCount, 0)) * 28);
    for (int row = 0; row < rowCount; ++row) {
        const std::array<int, 2> higher = table.GetHigherFormants(row);
        const bool hasHigher = higher[0] != 0 || higher[1] != 0;
        for (int column = 0; column < kSymbolColumn; ++column) {
            // A line of two formants is the file's own way of saying there is no F3.
            if (column == kSymbolColumn - 1 && !hasHigher && table.IsCellEmpty(row, column))
                break;
            appendFormant(text, table.GetCellInt(row, column));
            text += '\t';
        }
        // A file of three formants is written as ever; F4 and F5 only where a row has them.
        if (hasHigher) {
            for (int value : higher) {
                appendFormant(text, value);
                text += '\t';
            }
        }
        text += '"';
        text += table.GetSymbolBytes(row);
        text += "\"\t\r\n";
    }
    return text;
}

int FindUnwritableSymbol(const CellSource &table, int rowCount)
{
    for (int row = 0; row < rowCount; ++row) {
        const QByteArray bytes = table.GetSymbolBytes(row);
        if (bytes.contains('\r') || bytes.contains('\n') || bytes.contains('"'))
            return row;
    }
    return -1;
}

FormantCell FindEmptyFormant(const CellSource &table, int rowCount)
{
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < kSymbolColumn; ++column) {
            const bool lineEndsBefore =
                column == kSymbolColumn - 1 && table.GetHigherFormants(row) == std::array<int, 2>{};
            if (table.IsCellEmpty(row, column) && !lineEndsBefore)
                return {row, column};
        }
    }
    return {};
}
