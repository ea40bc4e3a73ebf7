#include "batch/batchinput.h"

#include "analysis/largepages.h"
#include "batch/batchcommand.h"
#include "document/labeltext.h"
#include "document/tabulartokens.h"
#include "document/tessavoxdoc.h"
#include "document/tokentablemodel.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <exception>
#include <functional>
#include <thread>

namespace {

// Texts that differ in bytes but read the same (one name written in UTF-8 on one row and in
// Windows-1252 on another) are one: `names` loses the later copies and `rows` follow.
void mergeSameNames(std::vector<int> &rows, QStringList &names)
{
    QHash<QString, int> first;
    std::vector<int> target(std::size_t(names.size()));
    QStringList kept;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto found = first.constFind(names[i]);
        if (found != first.constEnd()) {
            target[std::size_t(i)] = *found;
            continue;
        }
        target[std::size_t(i)] = int(kept.size());
        first.insert(names[i], int(kept.size()));
        kept << names[i];
    }
    if (kept.size() == names.size())
        return;
    for (int &row : rows)
        row = target[std::size_t(row)];
    names = kept;
}

} // namespace

BatchInput::BatchInput() : m_doc(std::make_unique<CTessavoxDoc>()) {}

BatchInput::~BatchInput() = default;

std::unique_ptr<BatchInput> BatchInput::open(const QString &command, const QString &path,
                                             const TokenFileOptions &options)
{
    std::unique_ptr<BatchInput> input(new BatchInput);
    // No one edits here: the rows need no copy for Undo.
    input->m_doc->setHistoryKept(false);
    const TokenFile file = input->m_doc->open(path, options);
    const QString prefix = QStringLiteral("tessavox-batch %1: %2: ").arg(command, path);
    if (!file.ok()) {
        batchErr() << prefix << file.report() << Qt::endl;
        return nullptr;
    }
    for (const QString &warning : file.warnings)
        batchErr() << prefix << warning << Qt::endl;
    input->m_doc->setPathName(path, false);
    return input;
}

std::unique_ptr<BatchInput> BatchInput::openTokens(const QString &command, const QString &path,
                                                   const TokenFileOptions &options)
{
    std::unique_ptr<BatchInput> input = open(command, path, options);
    if (input && input->table().rowCount() == 0) {
        batchErr() << "tessavox-batch " << command << ": " << path << ": the file has no tokens"
                   << Qt::endl;
        return nullptr;
    }
    if (input) {
        const std::vector<bool> excluded = ExcludedRows(input->table());
        if (const auto count = std::count(excluded.begin(), excluded.end(), true); count > 0)
            batchErr() << "tessavox-batch " << command << ": " << count
                       << " excluded row(s) left out (the exclude column)" << Qt::endl;
    }
    return input;
}

CTessavoxDoc &BatchInput::doc()
{
    if (!m_filled) {
        m_filled = true;
        m_doc->attachTable(&m_tableWindow);
    }
    return *m_doc;
}

const TabularTable &BatchInput::table() const
{
    return m_doc->tokenTable();
}

TabularTable BatchInput::tableCopy() const
{
    return m_doc->tokenTable();
}

TokenColumns BatchInput::tokenColumns(const std::vector<Formant> &formants) const
{
    const TabularTable &table = this->table();
    TokenColumns tokens;
    const auto rows = std::size_t(table.rowCount());
    fillOnLargePages(tokens.speaker, rows, 0);
    fillOnLargePages(tokens.vowel, rows, 0);
    const bool hasSpeaker = table.speakerColumn() >= 0;
    TextIndex speakers;
    TextIndex vowels;
    // Speakers and vowels are indexed side by side, each in row order.
    // A failure on the worker (out of memory) is handed back, never left to end the process.
    std::exception_ptr speakerFailure;
    std::thread speakerWorker([&] {
        if (!hasSpeaker)
            return;
        try {
            for (std::size_t row = 0; row < rows; ++row)
                tokens.speaker[row] = speakers.indexOf(table.speaker(int(row)));
        } catch (...) {
            speakerFailure = std::current_exception();
        }
    });
    try {
        for (std::size_t row = 0; row < rows; ++row)
            tokens.vowel[row] = vowels.indexOf(table.vowel(int(row)));
    } catch (...) {
        speakerWorker.join();
        throw;
    }
    speakerWorker.join();
    if (speakerFailure)
        std::rethrow_exception(speakerFailure);
    tokens.speakerNames =
        hasSpeaker ? speakers.names() : QStringList{QFileInfo(m_doc->pathName()).fileName()};
    tokens.vowelNames = vowels.names();
    mergeSameNames(tokens.speaker, tokens.speakerNames);
    mergeSameNames(tokens.vowel, tokens.vowelNames);
    // The table's values are used where they lie: a corpus is not copied.
    for (int f = 0; f < kFormantCount; ++f) {
        const bool wanted = formants.empty() || std::find(formants.begin(), formants.end(),
                                                          Formant(f)) != formants.end();
        if (wanted)
            tokens.views[std::size_t(f)] = table.formantValues(f);
    }
    tokens.excluded = ExcludedRows(table);
    return tokens;
}

std::optional<std::vector<int>> BatchInput::groupRows(const QStringList &columns,
                                                      QStringList &names, QString &unknown) const
{
    const TabularTable &table = this->table();
    std::vector<int> indices;
    for (const QString &name : columns) {
        const QByteArray utf8 = name.toUtf8();
        int column = table.findColumn(std::string_view(utf8.constData(), utf8.size()));
        if (column < 0 && name.compare(QLatin1String("vowel"), Qt::CaseInsensitive) == 0)
            column = table.vowelColumn();
        if (column < 0 && name.compare(QLatin1String("speaker"), Qt::CaseInsensitive) == 0)
            column = table.speakerColumn();
        if (column < 0) {
            unknown = name;
            return std::nullopt;
        }
        indices.push_back(column);
    }
    const auto rows = std::size_t(table.rowCount());
    std::vector<int> groups;
    fillOnLargePages(groups, rows, 0);
    std::vector<TextIndex> texts(indices.size());
    QHash<QList<int>, int> ids;
    QList<int> key(qsizetype(indices.size()));
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t c = 0; c < indices.size(); ++c)
            key[qsizetype(c)] = texts[c].indexOf(table.cell(int(row), indices[c]));
        const auto found = ids.constFind(key);
        if (found != ids.constEnd()) {
            groups[row] = *found;
            continue;
        }
        groups[row] = int(ids.size());
        ids.insert(key, groups[row]);
        QStringList joined;
        for (std::size_t c = 0; c < indices.size(); ++c) {
            const std::string_view text = texts[c].texts()[std::size_t(key[qsizetype(c)])];
            joined << LabelText(QByteArray(text.data(), qsizetype(text.size())));
        }
        names << joined.join(QLatin1Char('/'));
    }
    mergeSameNames(groups, names);
    return groups;
}

bool BatchInput::chooseLabel(int order, const QString &text)
{
    const TokenTableModel &tokens = doc().tokens();
    int position = 0;
    for (int row = 0; row < m_doc->m_nTokenCount; ++row) {
        if (tokens.GetCellInt(row, TokenTableModel::Order) != order)
            continue;
        if (tokens.GetCellText(row, TokenTableModel::Symbol) == text) {
            m_doc->m_nOrderLabel[std::size_t(order)] = position;
            m_doc->m_strOrderLabel[std::size_t(order)] = text;
            return true;
        }
        ++position;
    }
    return false;
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
        names << LabelText(QByteArray(text.data(), qsizetype(text.size())));
    return names;
}
