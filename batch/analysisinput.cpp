#include "batch/analysisinput.h"

#include "analysis/largepages.h"
#include "batch/batchcommand.h"
#include "batch/batchoptions.h"
#include "document/tabulartokens.h"
#include "framework/fileerror.h"
#include "framework/safefile.h"

#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <thread>

std::optional<AnalysisArguments> parseAnalysisArguments(const QStringList &args,
                                                        const QStringList &accepted)
{
    AnalysisArguments parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) && parsed.input.isEmpty()) {
            parsed.input = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString &value = args[++i];
        if (arg == QLatin1String("-o")) {
            parsed.output = value;
        } else if (const auto read = parseReadOption(arg, value, parsed.format, parsed.read)) {
            if (!*read)
                return std::nullopt;
        } else if (accepted.contains(arg) && !parsed.options.contains(arg)) {
            parsed.options.insert(arg, value);
        } else {
            return std::nullopt;
        }
    }
    if (parsed.input.isEmpty())
        return std::nullopt;
    return parsed;
}

std::optional<std::vector<Formant>> parseFormantList(const QString &text)
{
    std::vector<Formant> formants;
    for (const QString &name : text.split(QLatin1Char(','))) {
        const QString trimmed = name.trimmed();
        if (trimmed.size() != 2 || trimmed[0].toUpper() != QLatin1Char('F') ||
            trimmed[1] < QLatin1Char('0') || trimmed[1] > QLatin1Char('5'))
            return std::nullopt;
        formants.push_back(Formant(trimmed[1].unicode() - '0'));
    }
    return formants;
}

int TextIndex::indexOf(std::string_view text)
{
    if (m_lastIndex >= 0 && text == m_last)
        return m_lastIndex;
    if (m_slots.size() < 2 * m_texts.size() + 16) {
        m_slots.assign(4 * m_texts.size() + 64, -1);
        for (std::size_t i = 0; i < m_texts.size(); ++i) {
            std::size_t slot = std::hash<std::string_view>{}(m_texts[i]) % m_slots.size();
            while (m_slots[slot] >= 0)
                slot = (slot + 1) % m_slots.size();
            m_slots[slot] = int(i);
        }
    }
    std::size_t slot = std::hash<std::string_view>{}(text) % m_slots.size();
    while (m_slots[slot] >= 0 && m_texts[std::size_t(m_slots[slot])] != text)
        slot = (slot + 1) % m_slots.size();
    if (m_slots[slot] < 0) {
        m_slots[slot] = int(m_texts.size());
        m_texts.push_back(text);
    }
    m_last = text;
    m_lastIndex = m_slots[slot];
    return m_lastIndex;
}

QStringList TextIndex::names() const
{
    QStringList names;
    names.reserve(qsizetype(m_texts.size()));
    for (std::string_view text : m_texts)
        names << QString::fromUtf8(text.data(), qsizetype(text.size()));
    return names;
}

bool AnalysisInput::open(const AnalysisArguments &arguments, const QString &command,
                         const std::vector<Formant> &formants)
{
    const TabularFileKind kind = arguments.format.value_or(TabularFileKindForPath(arguments.input));
    TabularReadResult read;
    // A table is parsed straight from the mapped file: no copy of a corpus in memory.
    m_file.setFileName(arguments.input);
    uchar *mapped = nullptr;
    if (kind == TabularFileKind::Table && m_file.open(QIODevice::ReadOnly) && m_file.size() > 0)
        mapped = m_file.map(0, m_file.size());
    if (mapped) {
        read = ParseTabularText(
            QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), m_file.size()),
            arguments.read);
    } else {
        m_file.close();
        read = ReadTokenTable(arguments.input, kind, arguments.read);
    }
    if (!read.ok()) {
        reportAnalysis(command,
                       read.error.isError() ? openFailureReport(read.error) : read.message);
        return false;
    }
    m_table = std::move(read.table);
    if (m_table.rowCount() == 0) {
        reportAnalysis(command, QStringLiteral("the file has no tokens"));
        return false;
    }
    indexTokens(arguments.input, formants);
    m_tokens.excluded = ExcludedRows(m_table);
    if (const std::size_t excluded = m_tokens.excludedCount(); excluded > 0)
        reportAnalysis(
            command,
            QStringLiteral("%1 excluded row(s) left out (the exclude column)").arg(excluded));
    return true;
}

void AnalysisInput::indexTokens(const QString &path, const std::vector<Formant> &formants)
{
    const auto rows = std::size_t(m_table.rowCount());
    fillOnLargePages(m_tokens.speaker, rows, 0);
    fillOnLargePages(m_tokens.vowel, rows, 0);
    const bool hasSpeaker = m_table.speakerColumn() >= 0;
    TextIndex speakers;
    TextIndex vowels;
    // Speakers and vowels are indexed side by side, each in row order.
    std::thread speakerWorker([&] {
        if (!hasSpeaker)
            return;
        for (std::size_t row = 0; row < rows; ++row)
            m_tokens.speaker[row] = speakers.indexOf(m_table.speaker(int(row)));
    });
    for (std::size_t row = 0; row < rows; ++row)
        m_tokens.vowel[row] = vowels.indexOf(m_table.vowel(int(row)));
    speakerWorker.join();
    // Without a speaker column the whole file is one speaker, named after the file.
    m_tokens.speakerNames = hasSpeaker ? speakers.names() : QStringList{QFileInfo(path).fileName()};
    m_tokens.vowelNames = vowels.names();
    // The table's values are used where they lie: a corpus is not copied.
    for (int f = 0; f < kFormantCount; ++f) {
        const bool wanted = formants.empty() || std::find(formants.begin(), formants.end(),
                                                          Formant(f)) != formants.end();
        if (wanted)
            m_tokens.views[std::size_t(f)] = m_table.formantValues(f);
    }
}

int AnalysisInput::columnByName(const QString &name) const
{
    const QByteArray utf8 = name.toUtf8();
    const int column = m_table.findColumn(std::string_view(utf8.constData(), utf8.size()));
    if (column >= 0)
        return column;
    if (name.compare(QLatin1String("vowel"), Qt::CaseInsensitive) == 0)
        return m_table.vowelColumn();
    if (name.compare(QLatin1String("speaker"), Qt::CaseInsensitive) == 0)
        return m_table.speakerColumn();
    return -1;
}

std::optional<std::span<const int>> AnalysisInput::groupRows(const QStringList &columns,
                                                             QStringList &names, QString &unknown)
{
    std::vector<int> indices;
    for (const QString &name : columns) {
        const int column = columnByName(name);
        if (column < 0) {
            unknown = name;
            return std::nullopt;
        }
        indices.push_back(column);
    }
    if (indices.size() == 1 && indices[0] == m_table.vowelColumn()) {
        // The usual grouping is the vowel's, already indexed.
        names = m_tokens.vowelNames;
        return std::span<const int>(m_tokens.vowel);
    }
    const std::size_t rows = m_tokens.size();
    fillOnLargePages(m_groups, rows, 0);
    std::vector<TextIndex> texts(indices.size());
    QHash<QList<int>, int> ids;
    QList<int> key(qsizetype(indices.size()));
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t c = 0; c < indices.size(); ++c)
            key[qsizetype(c)] = texts[c].indexOf(m_table.cell(int(row), indices[c]));
        const auto found = ids.constFind(key);
        if (found != ids.constEnd()) {
            m_groups[row] = *found;
            continue;
        }
        m_groups[row] = int(ids.size());
        ids.insert(key, m_groups[row]);
        QStringList joined;
        for (std::size_t c = 0; c < indices.size(); ++c) {
            const std::string_view text = texts[c].texts()[std::size_t(key[qsizetype(c)])];
            joined << QString::fromUtf8(text.data(), qsizetype(text.size()));
        }
        names << joined.join(QLatin1Char('/'));
    }
    return std::span<const int>(m_groups);
}

bool writeAnalysisOutput(const QString &path, const QByteArray &bytes, const QString &command)
{
    if (path.isEmpty()) {
        const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) ==
                                 std::size_t(bytes.size()) &&
                             std::fflush(stdout) == 0;
        if (!written)
            reportAnalysis(command, QStringLiteral("cannot write to standard output"));
        return written;
    }
    if (const FileError error = WriteFileSafely(path, bytes); error.isError()) {
        reportAnalysis(command, saveFailureReport(error));
        return false;
    }
    return true;
}

void reportAnalysis(const QString &command, const QString &text)
{
    batchErr() << "tessavox-batch " << command << ": " << text << Qt::endl;
}
