#pragma once

#include "document/tabularreader.h"
#include "document/tabulartable.h"

#include <QByteArray>

#include <cstddef>
#include <string_view>

// Assembles a TabularTable field by field for the readers, then finds the columns'
// roles and parses the formants. Owns the table until finish() hands it over.
class TabularBuilder
{
public:
    using Cell = TabularTable::Cell;

    // `bytes` become the table's buffer; fields are cells into it. `rowEstimate` reserves
    // room so that the columns are not copied while they grow.
    TabularBuilder(const QByteArray &bytes, std::size_t rowEstimate);

    // A cell holding a copy of `text` (for fields that had to be unescaped).
    Cell storeCopy(std::string_view text);
    // The next field of the current row; the first row is the header.
    void addField(Cell cell);
    // Ends the current row; missing fields at its end are empty cells.
    void endRow();

    void setFormat(const TabularFormat &format) { m_table.m_format = format; }
    void setDecimalComma(bool accepted) { m_table.m_decimalComma = accepted; }

    // Finds the roles (the options first, then the header's names), parses the formant
    // columns and hands over the table, or refuses with a message naming the header.
    TabularReadResult finish(const TabularReadOptions &options);

private:
    void addColumn(Cell header);
    QString headerList() const;
    bool assignRoles(const TabularReadOptions &options, TabularReadResult &result);

    TabularTable m_table;
    QByteArray m_copies;    // unescaped texts, appended to the buffer at the end
    std::size_t m_base = 0; // the offset at which m_copies will start
    std::size_t m_rowEstimate = 0;
    std::size_t m_field = 0; // index of the next field in the current row
    bool m_inHeader = true;
};
