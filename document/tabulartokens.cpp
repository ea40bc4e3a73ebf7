#include "document/tabulartokens.h"

#include "document/labeltext.h"
#include "document/tabularbuilder.h"
#include "document/vowelorder.h"

#include <algorithm>
#include <unordered_map>

#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr std::array<int, 3> kShownFormants = {1, 2, 3};

std::string_view bytesView(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

} // namespace

std::optional<int> TokenHertz(double hertz)
{
    if (!std::isfinite(hertz) || hertz < 0 || hertz > kMaxFormant)
        return std::nullopt;
    return int(std::lround(hertz));
}

void FillTokensFromTable(const TabularTable &table, TokenTableModel &tokens)
{
    // Rows of one text share one decoded copy: a large table repeats a few vowels and
    // speakers millions of times. Texts are told apart by their bytes, and shown decoded as
    // UTF-8 or else Windows-1252, so "Zoë" and "Zoé" in either stay two speakers.
    struct Decoded
    {
        QByteArray bytes;
        QString text;
    };
    std::unordered_map<std::string_view, Decoded> decoded;
    const auto decode = [&decoded](std::string_view text) -> const Decoded & {
        auto found = decoded.find(text);
        if (found == decoded.end()) {
            QByteArray bytes(text.data(), qsizetype(text.size()));
            found = decoded.emplace(text, Decoded{bytes, LabelText(bytes)}).first;
        }
        return found->second;
    };
    tokens.beginBulkChange();
    tokens.clearRows();
    tokens.setSpeakerShown(table.speakerColumn() >= 0);
    tokens.reserveRows(table.rowCount());
    for (int i = 0; i < table.rowCount(); ++i) {
        TokenTableModel::Row row;
        for (std::size_t j = 0; j < kShownFormants.size(); ++j) {
            if (const auto hertz = TokenHertz(table.formant(i, kShownFormants[j])))
                row.numbers[j] = *hertz;
            else
                row.emptyNumbers |= TokenTableModel::emptyBit(int(j));
        }
        const Decoded &vowel = decode(table.vowel(i));
        row.symbolBytes = vowel.bytes;
        row.symbol = vowel.text;
        for (int k = 0; k < 2; ++k)
            row.higherFormants[std::size_t(k)] = TokenHertz(table.formant(i, 4 + k)).value_or(0);
        if (table.speakerColumn() >= 0)
            row.speaker = decode(table.speaker(i)).text;
        row.sourceRow = i;
        tokens.insertRowAt(i, row);
    }
    // The charts take each run of one Order number as a vowel group.
    AssignOrder(tokens);
    tokens.endBulkChange();
}

int CountEmptyTokenValues(const TabularTable &table)
{
    int empty = 0;
    for (int formant : kShownFormants) {
        for (double value : table.formantValues(formant))
            empty += TokenHertz(value) ? 0 : 1;
        if (table.formantColumn(formant) < 0)
            empty += table.rowCount();
    }
    return empty;
}

std::vector<int> TableRowOrder(const TokenTableModel &tokens)
{
    std::vector<int> order(std::size_t(tokens.count()));
    std::iota(order.begin(), order.end(), 0);
    const auto place = [&tokens](int r) {
        const int from = tokens.row(r).sourceRow;
        return from >= 0 ? from : std::numeric_limits<int>::max();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&place](int a, int b) { return place(a) < place(b); });
    return order;
}

std::optional<TabularTable> TableFromTokens(const TabularTable &source,
                                            const TokenTableModel &tokens)
{
    const int columns = source.columnCount();
    // The builder refuses more cells than a few per byte of text, its guard against a
    // damaged file; unused room of one byte per cell keeps a table of short cells clear
    // of it.
    TabularTable::Buffer room(std::size_t(tokens.count() + 1) * std::size_t(columns), ' ');
    TabularBuilder builder(std::move(room), std::size_t(tokens.count()));
    for (int column = 0; column < columns; ++column) {
        TabularTable::Cell cell = builder.storeCopy(source.header(column));
        cell.quoted = source.headerQuoted(column) ? 1 : 0;
        builder.addField(cell);
    }
    builder.endRow();
    std::array<int, TabularTable::kFormants> formantOf{};
    formantOf.fill(-1);
    for (int formant = 0; formant < TabularTable::kFormants; ++formant) {
        if (const int column = source.formantColumn(formant); column >= 0)
            formantOf[std::size_t(formant)] = column;
    }
    const bool commaSeparated = source.format().separator == ',';
    const auto isFormant = [&formantOf](int column) {
        return std::find(formantOf.begin(), formantOf.end(), column) != formantOf.end();
    };
    for (int r : TableRowOrder(tokens)) {
        const TokenTableModel::Row &row = tokens.row(r);
        const int from = row.sourceRow < source.rowCount() ? row.sourceRow : -1;
        for (int column = 0; column < columns; ++column) {
            std::string_view text = from >= 0 ? source.cell(from, column) : std::string_view{};
            const bool quoted = from >= 0 && source.cellQuoted(from, column);
            QByteArray replaced;
            bool replace = false;
            if (column == source.vowelColumn()) {
                replace = from < 0 || bytesView(row.symbolBytes) != text;
                replaced = row.symbolBytes;
            }
            for (std::size_t j = 0; j < kShownFormants.size(); ++j) {
                if (column != formantOf[std::size_t(kShownFormants[j])])
                    continue;
                // A value the user left as read keeps the file's own text (decimals, NA).
                const bool empty = row.emptyNumbers & TokenTableModel::emptyBit(int(j));
                const std::optional<int> now =
                    empty ? std::nullopt : std::optional<int>(row.numbers[j]);
                replace = from < 0 || now != TokenHertz(source.formant(from, kShownFormants[j]));
                replaced = now ? QByteArray::number(*now) : QByteArray();
            }
            for (int k = 0; k < 2 && from < 0; ++k) {
                if (column == formantOf[std::size_t(4 + k)] && row.higherFormants[std::size_t(k)]) {
                    replace = true;
                    replaced = QByteArray::number(row.higherFormants[std::size_t(k)]);
                }
            }
            // Compared as text, so that a speaker read in another encoding keeps its bytes
            // unless it was typed over.
            if (column == source.speakerColumn() &&
                (from < 0 ||
                 row.speaker != LabelText(QByteArray(text.data(), qsizetype(text.size()))))) {
                replace = true;
                replaced = row.speaker.toUtf8();
            }
            // A decimal comma kept from a file that allowed one would read back as no number
            // once the comma separates the fields.
            if (!replace && commaSeparated && isFormant(column) &&
                text.find(',') != std::string_view::npos) {
                replace = true;
                replaced = QByteArray(text.data(), qsizetype(text.size())).replace(',', '.');
            }
            TabularTable::Cell cell = builder.storeCopy(replace ? bytesView(replaced) : text);
            cell.quoted = quoted ? 1 : 0;
            builder.addField(cell);
        }
        builder.endRow();
    }
    builder.setFormat(source.format());
    builder.setDecimalComma(source.format().separator != ',');
    // The roles stay on the columns they were read from, whatever their names.
    TabularReadOptions options;
    for (int role = 0; role < kTabularRoleCount; ++role) {
        if (const int column = source.roleColumn(TabularRole(role)); column >= 0)
            options.columns[std::size_t(role)] = QString::fromUtf8(source.header(column));
    }
    TabularReadResult result = builder.finish(options);
    if (!result.ok())
        return std::nullopt;
    return std::move(result.table);
}

TabularTable EmptyTokenTable(char separator, bool higherFormants)
{
    QByteArray header = "F1,F2,F3,";
    if (higherFormants)
        header += "F4,F5,";
    header += "vowel\n";
    header.replace(',', separator);
    TabularTable table = ParseTabularText(header).table;
    TabularFormat format = table.format();
    format.separator = separator;
    table.setFormat(format);
    return table;
}

QStringList OtherTableColumns(const TabularTable &table)
{
    QStringList others;
    for (int column = 0; column < table.columnCount(); ++column) {
        bool used = column == table.vowelColumn() || column == table.speakerColumn();
        for (int formant = 1; formant <= 5; ++formant)
            used = used || column == table.formantColumn(formant);
        if (!used)
            others << QString::fromUtf8(table.header(column));
    }
    return others;
}

QStringList FormantFileLosses(const TabularTable &source, const TokenTableModel &tokens)
{
    QStringList losses;
    if (source.speakerColumn() >= 0)
        losses << QStringLiteral("the speakers");
    const QStringList others = OtherTableColumns(source);
    if (!others.isEmpty())
        losses << QStringLiteral("the other columns (%1)").arg(others.join(QStringLiteral(", ")));
    bool fractional = false;
    for (int r = 0; r < tokens.count() && !fractional; ++r) {
        const int from = tokens.row(r).sourceRow;
        for (int formant = 1; formant <= 5 && from >= 0 && from < source.rowCount(); ++formant) {
            const double hertz = source.formant(from, formant);
            fractional = fractional || (std::isfinite(hertz) && hertz != std::round(hertz));
        }
    }
    if (fractional)
        losses << QStringLiteral("fractions of a hertz");
    return losses;
}
