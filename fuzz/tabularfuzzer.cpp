// Any bytes through the loader that every command opens files with, under a table's name
// and under a name that leaves the kind to the content: it must not crash, overrun or hang;
// a table it accepts must be consistent, and writing it must give bytes that read back as
// the same table and write again unchanged.

#include "document/tabularwriter.h"
#include "document/tokenfile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(int line)
{
    std::fprintf(stderr, "requirement failed on line %d\n", line);
    std::abort();
}

// The failing line in the report, since the fuzz build's traces may lack it.
#define require(condition) ((condition) ? void() : fail(__LINE__))

void checkTable(const TabularTable &table)
{
    require(table.rowCount() >= 0 && table.columnCount() >= 2);
    for (int formant = 0; formant < TabularTable::kFormants; ++formant) {
        const auto values = table.formantValues(formant);
        if (table.formantColumn(formant) < 0) {
            require(values.empty() && table.missingCount(formant) == 0);
            continue;
        }
        require(values.size() == std::size_t(table.rowCount()));
        int missing = 0;
        for (int row = 0; row < table.rowCount(); ++row) {
            const double value = values[std::size_t(row)];
            missing += std::isnan(value) ? 1 : 0;
            require(std::isnan(value) || (value > 0 && value <= kMaxFormant));
            require(std::isnan(value) ==
                    std::isnan(table.number(row, table.formantColumn(formant))));
        }
        require(missing == table.missingCount(formant));
    }
    for (int column = -1; column <= table.columnCount(); ++column) {
        std::size_t bytes = table.header(column).size();
        for (int row = -1; row <= table.rowCount(); ++row)
            bytes += table.cell(row, column).size();
        require(bytes < (std::size_t(1) << 32));
    }
    require(table.cell(table.rowCount(), 0).empty() && std::isnan(table.formant(-1, 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString name = size % 2 ? QStringLiteral("fuzz.csv") : QStringLiteral("fuzz.txt");
    const TokenFile read = LoadTokenText(bytes, name);
    if (!read.ok()) {
        require(!read.report().isEmpty() && read.table.rowCount() == 0);
        return 0;
    }
    if (read.kind == TabularFileKind::Formant) {
        require(read.tokenCount <= FormantLimits::kTokenLines &&
                read.table.rowCount() == read.tokenCount);
        return 0;
    }
    checkTable(read.table);

    const QByteArray written = FormatTabularText(read.table);
    const TokenFile again = LoadTokenText(written, QStringLiteral("again.csv"));
    require(again.ok());
    require(again.table.sameContent(read.table));
    const TabularFormat &before = read.table.format(), &after = again.table.format();
    require(before.separator == after.separator && before.lineEnd == after.lineEnd &&
            before.byteOrderMark == after.byteOrderMark &&
            before.finalLineEnd == after.finalLineEnd && before.encoding == after.encoding &&
            before.separatorLine == after.separatorLine);
    require(FormatTabularText(again.table) == written);
    return 0;
}
