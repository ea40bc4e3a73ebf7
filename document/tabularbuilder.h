#pragma once

#include "document/tabularreader.h"
#include "document/tabulartable.h"

#include <cstddef>
#include <string>
#include <string_view>

// Assembles a TabularTable field by field for the readers, then finds the columns'
// roles and parses the formants. Owns the table until finish() hands it over.
class TabularBuilder
{
public:
    using Cell = TabularTable::Cell;

    // `bytes` become the table's buffer; fields are cells into it. `rowEstimate` reserves
    // room so that the columns are not copied while they grow.
    TabularBuilder(TabularTable::Buffer &&bytes, std::size_t rowEstimate);

    // A cell holding a copy of `text` (for fields that had to be unescaped).
    Cell storeCopy(std::string_view text);
    // The next field of the current row; the first row is the header. Inline: it runs
    // for every field of a file.
    void addField(Cell cell)
    {
        if (m_inHeader || m_field >= m_table.m_columns.size())
            addFieldSlowly(cell);
        else
            m_table.m_columns[m_field].push_back(cell);
        ++m_field;
    }
    // Ends the current row; missing fields at its end are empty cells.
    void endRow();
    // Rows so much longer or shorter than the header that the table would hold far more
    // cells than the file has bytes: a damaged file, refused before it fills the memory.
    bool tooRagged() const { return m_tooRagged; }

    void setFormat(const TabularFormat &format) { m_table.m_format = format; }
    void setDecimalComma(bool accepted) { m_table.m_decimalComma = accepted; }

    // Finds the roles (the options first, then the header's names), parses the formant
    // columns and hands over the table, or refuses with a message naming the header.
    TabularReadResult finish(const TabularReadOptions &options);

private:
    void addFieldSlowly(Cell cell);
    void addColumn(Cell header);
    QString headerList() const;
    bool assignRoles(const TabularReadOptions &options, TabularReadResult &result);
    bool checkGroupedNumbers(const TabularTable::NumberMarks &marks,
                             TabularReadResult &result) const;

    TabularTable m_table;
    std::string m_copies;   // unescaped texts, appended to the buffer at the end
    std::size_t m_base = 0; // the offset at which m_copies will start
    std::size_t m_rowEstimate = 0;
    std::size_t m_cellLimit = 0;
    bool m_tooRagged = false;
    std::size_t m_field = 0; // index of the next field in the current row
    bool m_inHeader = true;
    std::size_t m_headerFields = 0;
    // The first row has one field more than the header: row names before the named
    // columns, as R's write.table puts them.
    bool m_rowNames = false;
};
