#include "document/tabulartokens.h"

#include "document/labeltext.h"
#include "document/tabularbuilder.h"
#include "document/tabularwriter.h"
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
    // The rows go in already sorted by symbol bytes, as AssignOrder sorts them (stably): a
    // sort afterwards would move millions of rows about.
    const int count = table.rowCount();
    std::unordered_map<std::string_view, int> distinctOf;
    std::vector<std::string_view> distinct;
    std::vector<int> vowelOf(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto [found, added] = distinctOf.emplace(table.vowel(i), int(distinct.size()));
        if (added)
            distinct.push_back(found->first);
        vowelOf[std::size_t(i)] = found->second;
    }
    std::vector<int> byBytes(distinct.size());
    std::iota(byBytes.begin(), byBytes.end(), 0);
    std::sort(byBytes.begin(), byBytes.end(), [&distinct](int a, int b) {
        return distinct[std::size_t(a)] < distinct[std::size_t(b)];
    });
    std::vector<int> rank(distinct.size());
    for (std::size_t k = 0; k < byBytes.size(); ++k)
        rank[std::size_t(byBytes[k])] = int(k);
    // A stable counting sort on the ranks.
    std::vector<int> start(distinct.size() + 1, 0);
    for (int v : vowelOf)
        ++start[std::size_t(rank[std::size_t(v)]) + 1];
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[std::size_t(start[std::size_t(rank[std::size_t(vowelOf[std::size_t(i)])])]++)] = i;
    vowelOf = {};

    tokens.beginBulkChange();
    tokens.clearRows();
    tokens.setSpeakerShown(table.speakerColumn() >= 0);
    tokens.reserveRows(count);
    const int exclude = ExcludeColumn(table);
    const Decoded *lastVowel = nullptr;
    const Decoded *lastSpeaker = nullptr;
    std::string_view lastVowelText, lastSpeakerText;
    for (int i : order) {
        TokenTableModel::Row row;
        for (std::size_t j = 0; j < kShownFormants.size(); ++j) {
            if (const auto hertz = TokenHertz(table.formant(i, kShownFormants[j])))
                row.numbers[j] = *hertz;
            else
                row.emptyNumbers |= TokenTableModel::emptyBit(int(j));
        }
        // Rows of one vowel come in a run, and a speaker's rows mostly do: the last text
        // is tried before the look-up.
        const std::string_view vowelText = table.vowel(i);
        if (!lastVowel || vowelText != lastVowelText) {
            lastVowel = &decode(vowelText);
            lastVowelText = vowelText;
        }
        const Decoded &vowel = *lastVowel;
        row.symbolBytes = vowel.bytes;
        row.symbol = vowel.text;
        for (int k = 0; k < 2; ++k)
            row.higherFormants[std::size_t(k)] = TokenHertz(table.formant(i, 4 + k)).value_or(0);
        if (table.speakerColumn() >= 0) {
            const std::string_view speakerText = table.speaker(i);
            if (!lastSpeaker || speakerText != lastSpeakerText) {
                lastSpeaker = &decode(speakerText);
                lastSpeakerText = speakerText;
            }
            row.speaker = lastSpeaker->text;
        }
        row.sourceRow = i;
        row.excluded = exclude >= 0 && IsExcludeMark(table.cell(i, exclude));
        tokens.appendRow(std::move(row));
    }
    // The charts take each run of one Order number as a vowel group.
    AssignOrder(tokens);
    tokens.endBulkChange();
}

int ExcludeColumn(const TabularTable &table)
{
    return table.findColumn("exclude");
}

bool IsExcludeMark(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    const QByteArray lower = QByteArray(text.data(), qsizetype(text.size())).toLower();
    return !lower.isEmpty() && lower != "0" && lower != "false" && lower != "no";
}

std::vector<bool> ExcludedRows(const TabularTable &table)
{
    const int column = ExcludeColumn(table);
    if (column < 0)
        return {};
    std::vector<bool> excluded(std::size_t(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row)
        excluded[std::size_t(row)] = IsExcludeMark(table.cell(row, column));
    return excluded;
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
    // A stable counting sort on the file row: linear, since a corpus has millions of rows.
    const int count = tokens.count();
    int last = -1;
    for (int r = 0; r < count; ++r)
        last = std::max(last, tokens.row(r).sourceRow);
    std::vector<int> start(std::size_t(last) + 2, 0);
    for (int r = 0; r < count; ++r) {
        const int from = tokens.row(r).sourceRow;
        ++start[from >= 0 ? std::size_t(from) + 1 : 0];
    }
    // Rows added here (file row -1) go last, in the window's order.
    const int added = start[0];
    start[0] = 0;
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<int> order(static_cast<std::size_t>(count));
    int nextAdded = count - added;
    for (int r = 0; r < count; ++r) {
        const int from = tokens.row(r).sourceRow;
        if (from < 0)
            order[std::size_t(nextAdded++)] = r;
        else
            order[std::size_t(start[std::size_t(from)]++)] = r;
    }
    return order;
}

namespace {

// The token rows over the table they came from, as the writer reads them: each row's cells
// from its row of the table, with the values the rows hold where they differ. Nothing is
// copied but the few cells that changed.
class TokenRowCells final : public TabularCells
{
public:
    TokenRowCells(const TabularTable &source, const TabularFormat &format,
                  const TokenTableModel &tokens)
        : m_source(source), m_format(format), m_tokens(tokens), m_order(TableRowOrder(tokens)),
          m_commaSeparated(format.separator == ',')
    {
        m_formantOf.fill(-1);
        for (int formant = 0; formant < TabularTable::kFormants; ++formant)
            m_formantOf[std::size_t(formant)] = source.formantColumn(formant);
        // Marks go into the file's own exclude column, or a new last one when a row has one.
        m_excludeColumn = ExcludeColumn(source);
        m_addExclude = m_excludeColumn < 0 && tokens.excludedCount() > 0;
        m_windows1252 = holdsWindows1252(source);
        m_same =
            !m_addExclude && format == source.format() && int(m_order.size()) == source.rowCount();
        for (std::size_t r = 0; r < m_order.size() && m_same; ++r)
            m_same = tokens.row(m_order[r]).sourceRow == int(r);
    }

    // Whether every cell written so far is the source's own, row for row, in its layout.
    bool sameAsSource() const { return m_same; }

    int rowCount() const override { return int(m_order.size()); }
    int columnCount() const override { return m_source.columnCount() + (m_addExclude ? 1 : 0); }
    std::string_view header(int column) const override
    {
        return column < m_source.columnCount() ? m_source.header(column) : "exclude";
    }
    bool headerQuoted(int column) const override
    {
        return column < m_source.columnCount() && m_source.headerQuoted(column);
    }
    const TabularFormat &format() const override { return m_format; }

    std::size_t sizeHint() const override
    {
        // The file's bytes scaled to the rows now, with room for numbers typed into added rows.
        const std::size_t read = std::size_t(std::max(m_source.rowCount(), 1));
        return m_source.textBytes() / read * m_order.size() + m_order.size() * 8 + 1024;
    }

    std::string_view cell(int r, int column, bool &quoted) const override
    {
        const TokenTableModel::Row &row = m_tokens.row(m_order[std::size_t(r)]);
        if (column >= m_source.columnCount()) {
            quoted = false;
            return replaced(row.excluded ? "1" : "0");
        }
        const int from = sourceRow(r);
        quoted = from >= 0 && m_source.cellQuoted(from, column);
        const std::string_view text = from >= 0 ? m_source.cell(from, column) : std::string_view{};
        if (column == m_source.vowelColumn()) {
            if (from >= 0 && bytesView(row.symbolBytes) == text)
                return text;
            return m_windows1252 ? inFileEncoding(row.symbol, row.symbolBytes)
                                 : bytesView(row.symbolBytes);
        }
        if (column == m_source.speakerColumn()) {
            // Compared as text, so that a speaker read in another encoding keeps its bytes
            // unless it was typed over.
            if (from >= 0 && row.speaker == decoded(text))
                return text;
            const QByteArray utf8 = row.speaker.toUtf8();
            return m_windows1252 ? inFileEncoding(row.speaker, utf8) : replaced(QByteArray(utf8));
        }
        // A mark the user left as read keeps the file's own text ("yes", "x").
        if (column == m_excludeColumn && IsExcludeMark(text) != row.excluded)
            return replaced(row.excluded ? "1" : "0");
        for (std::size_t j = 0; j < kShownFormants.size(); ++j) {
            if (column != m_formantOf[std::size_t(kShownFormants[j])])
                continue;
            // A value the user left as read keeps the file's own text (decimals, NA).
            const bool empty = row.emptyNumbers & TokenTableModel::emptyBit(int(j));
            const std::optional<int> now =
                empty ? std::nullopt : std::optional<int>(row.numbers[j]);
            if (from < 0 || now != TokenHertz(m_source.formant(from, kShownFormants[j])))
                return replaced(now ? QByteArray::number(*now) : QByteArray());
            return pointDecimal(text);
        }
        for (int k = 0; k < 2 && from < 0; ++k) {
            if (column == m_formantOf[std::size_t(4 + k)] && row.higherFormants[std::size_t(k)])
                return replaced(QByteArray::number(row.higherFormants[std::size_t(k)]));
        }
        if (m_commaSeparated &&
            std::find(m_formantOf.begin(), m_formantOf.end(), column) != m_formantOf.end())
            return pointDecimal(text);
        return text;
    }

private:
    // Whether the file's names and labels are Windows-1252 rather than UTF-8.
    static bool holdsWindows1252(const TabularTable &source)
    {
        for (const int column : {source.vowelColumn(), source.speakerColumn()}) {
            if (column < 0)
                continue;
            for (int row = 0; row < source.rowCount(); ++row) {
                const std::string_view text = source.cell(row, column);
                if (!QByteArrayView(text.data(), qsizetype(text.size())).isValidUtf8())
                    return true;
            }
        }
        return false;
    }

    // Text typed or pasted into a Windows-1252 file is written in that encoding, so that the
    // file stays in one encoding for the programs that read it; text it cannot hold stays
    // UTF-8, which the reader still takes cell by cell.
    std::string_view inFileEncoding(const QString &text, const QByteArray &bytes) const
    {
        std::optional<QByteArray> encoded = EncodeWindows1252(text);
        if (!encoded || !bytes.isValidUtf8())
            return replaced(QByteArray(bytes));
        return replaced(std::move(*encoded));
    }

    int sourceRow(int r) const
    {
        const int from = m_tokens.row(m_order[std::size_t(r)]).sourceRow;
        return from < m_source.rowCount() ? from : -1;
    }

    // A decimal comma kept from a file that allowed one would read back as no number once
    // the comma separates the fields.
    std::string_view pointDecimal(std::string_view text) const
    {
        if (!m_commaSeparated || text.find(',') == std::string_view::npos)
            return text;
        QByteArray pointed(text.data(), qsizetype(text.size()));
        pointed.replace(',', '.');
        return replaced(std::move(pointed));
    }

    std::string_view replaced(QByteArray &&text) const
    {
        m_same = false;
        m_scratch = std::move(text);
        return bytesView(m_scratch);
    }

    // The speaker's text as the rows hold it; each distinct text decoded once.
    const QString &decoded(std::string_view text) const
    {
        auto found = m_decoded.find(text);
        if (found == m_decoded.end())
            found =
                m_decoded.emplace(text, LabelText(QByteArray(text.data(), qsizetype(text.size()))))
                    .first;
        return found->second;
    }

    const TabularTable &m_source;
    const TabularFormat m_format;
    const TokenTableModel &m_tokens;
    const std::vector<int> m_order;
    const bool m_commaSeparated;
    int m_excludeColumn = -1;
    bool m_addExclude = false; // rows are excluded and the file has no column for it
    bool m_windows1252 = false;
    std::array<int, TabularTable::kFormants> m_formantOf{};
    mutable QByteArray m_scratch; // a changed cell's text until the next cell
    mutable bool m_same = false;
    mutable std::unordered_map<std::string_view, QString> m_decoded;
};

} // namespace

FileError WriteTableFromTokens(const QString &path, const TabularTable &source,
                               const TabularFormat &format, const TokenTableModel &tokens,
                               bool &sameAsSource)
{
    const TokenRowCells cells(source, format, tokens);
    const FileError error = WriteTabularCells(path, cells);
    sameAsSource = !error.isError() && cells.sameAsSource();
    return error;
}

TabularReadOptions SameRoles(const TabularTable &table)
{
    TabularReadOptions options;
    for (int role = 0; role < kTabularRoleCount; ++role) {
        if (const int column = table.roleColumn(TabularRole(role)); column >= 0)
            options.columns[std::size_t(role)] = QString::fromUtf8(table.header(column));
    }
    return options;
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
        bool used = column == table.vowelColumn() || column == table.speakerColumn() ||
                    column == ExcludeColumn(table);
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
    if (const int excluded = tokens.excludedCount(); excluded > 0)
        losses << QStringLiteral("the marks of the %1 excluded row(s)").arg(excluded);
    return losses;
}
