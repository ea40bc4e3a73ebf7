// Read, fill a table, save, read again: the second read must give the table's F1, F2, F3
// and labels back, in the same order.

#include "document/cellsource.h"
#include "document/formantreader.h"
#include "document/formantwriter.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr int kLargestCellValue = 10000;

// The table as filling it from the records leaves it: F1 to F3 as integers (values too
// large for a cell become 0) and the label decoded as UTF-8.
class RecordTable : public CellSource
{
public:
    explicit RecordTable(std::span<const FormantRecord> records) : m_records(records) {}

    int GetCellInt(int row, int column) const override
    {
        const int value = m_records[std::size_t(row)].formants[std::size_t(column)];
        return value > kLargestCellValue ? 0 : value;
    }
    QString GetCellText(int row, int) const override
    {
        const FormantRecord &record = m_records[std::size_t(row)];
        return QString::fromUtf8(record.label.data(), record.labelLength);
    }
    // A record fills every number cell (a formant the line lacked as 0): none is empty.
    bool IsCellEmpty(int row, int column) const override
    {
        return column >= 3 && GetCellText(row, column).isEmpty();
    }

private:
    std::span<const FormantRecord> m_records;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static std::vector<FormantRecord> first(FormantLimits::kRecords);
    static std::vector<FormantRecord> second(FormantLimits::kRecords);

    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const FormantReadResult read = ParseFormantText(text, first);
    if (read.status != FormantReadResult::Status::Ok)
        return 0;
    const int rows = read.tokenCount;
    const RecordTable table(std::span(first).first(std::size_t(rows)));

    const QByteArray saved = FormatFormantText(table, rows);
    const FormantReadResult reread =
        ParseFormantText(std::string_view(saved.constData(), std::size_t(saved.size())), second);
    require(reread.status == FormantReadResult::Status::Ok);

    // Every row comes back: values below 100 are saved with leading zeros.
    require(reread.tokenCount == rows);
    for (int row = 0; row < rows; ++row) {
        const FormantRecord &back = second[std::size_t(row)];
        for (int column = 0; column < 3; ++column)
            require(back.formants[std::size_t(column)] == table.GetCellInt(row, column));
        require(back.formants[3] == 0 && back.formants[4] == 0);

        const QString label = table.GetCellText(row, 3);
        const QString labelBack = QString::fromUtf8(back.label.data(), back.labelLength);
        if (label.toUtf8().size() <= FormantLimits::kLabelBytes)
            require(labelBack == label);
        else // bytes that were no UTF-8 come back as longer replacement characters
            require(label.startsWith(labelBack));
    }

    std::fill(first.begin(), first.begin() + rows, FormantRecord{});
    std::fill(second.begin(), second.begin() + reread.tokenCount, FormantRecord{});
    return 0;
}
