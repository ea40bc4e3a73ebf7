#include "document/tessavoxdoc.h"

#include "document/formantreader.h"
#include "document/formantwriter.h"
#include "document/labeltext.h"
#include "document/tabularreader.h"
#include "document/tabulartokens.h"
#include "document/tabularwriter.h"
#include "document/vowelorder.h"
#include "framework/commandids.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "framework/waitcursor.h"

#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <utility>

#include <algorithm>
#include <new>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

QString suffixOf(TabularFileKind kind, const QString &path)
{
    if (kind == TabularFileKind::Formant)
        return QStringLiteral("txt");
    return path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive) ? QStringLiteral("tsv")
                                                                      : QStringLiteral("csv");
}

} // namespace

CTessavoxDoc::CTessavoxDoc(QObject *parent) : Document(parent)
{
    m_nOrderLabel.fill(-1);
    // A typed value that cannot go into its cell is refused with the reason, once for all
    // windows.
    connect(&m_tokens, &TokenTableModel::entryRefused, this,
            [](const QString &why) { Messages::show(why); });
    // Every edit of the rows, from any window, is the document's, and one step of its
    // history unless a command gathers it into its own.
    connect(&m_tokens, &TokenTableModel::changed, this, [this] {
        m_nTokenCount = m_tokens.count();
        m_bDataLoaded = true;
        if (m_openSteps == 0 && !m_restoring)
            recordRowChanges(true);
    });
    addCommand(
        ID_EDIT_UNDO, [this] { OnEditUndo(); },
        [this](CommandState &ui) { ui.setEnabled(canUndo()); });
    addCommand(
        ID_EDIT_REDO, [this] { OnEditRedo(); },
        [this](CommandState &ui) { ui.setEnabled(canRedo()); });
}

void CTessavoxDoc::setModifiedFlag(bool modified)
{
    if (modified)
        m_history.markUnsaved();
    else
        m_history.markSaved();
    Document::setModifiedFlag(modified);
}

void CTessavoxDoc::recordRowChanges(bool changesFile)
{
    if (!m_history.isStarted()) {
        if (changesFile)
            Document::setModifiedFlag(true);
        return;
    }
    try {
        m_history.recordRows(m_tokens, changesFile);
    } catch (const std::bad_alloc &) {
        // Without room for the step the history cannot be kept; the edit itself stands.
        m_history = EditHistory();
        Document::setModifiedFlag(true);
        return;
    }
    Document::setModifiedFlag(m_history.isModified());
}

CTessavoxDoc::EditStep::EditStep(CTessavoxDoc *doc, bool changesFile)
    : m_doc(doc), m_changesFile(changesFile)
{
    if (m_doc)
        ++m_doc->m_openSteps;
}

CTessavoxDoc::EditStep::~EditStep()
{
    if (m_doc && --m_doc->m_openSteps == 0)
        m_doc->recordRowChanges(m_changesFile);
}

int CTessavoxDoc::setRowsExcluded(std::span<const int> rows, bool excluded)
{
    const EditStep step(this);
    int changed = 0;
    for (int row : rows) {
        if (row < 0 || row >= m_tokens.count() || m_tokens.row(row).excluded == excluded)
            continue;
        m_tokens.setRowExcluded(row, excluded);
        ++changed;
    }
    return changed;
}

void CTessavoxDoc::OnEditUndo()
{
    moveThroughHistory(false);
}

void CTessavoxDoc::OnEditRedo()
{
    moveThroughHistory(true);
}

void CTessavoxDoc::moveThroughHistory(bool forward)
{
    std::optional<EditHistory::LabelChoice> choice;
    {
        const QScopedValueRollback restoring(m_restoring, true);
        choice = forward ? m_history.redo(m_tokens) : m_history.undo(m_tokens);
    }
    applyLabelChoice(choice);
    m_nTokenCount = m_tokens.count();
    Document::setModifiedFlag(m_history.isModified());
    updateViews();
}

void CTessavoxDoc::chooseOrderLabel(int order, int position, const QString &text)
{
    if (order < 0 || order >= int(m_nOrderLabel.size()))
        return;
    const EditHistory::LabelChoice before{order, m_nOrderLabel[std::size_t(order)],
                                          m_strOrderLabel[std::size_t(order)]};
    const EditHistory::LabelChoice after{order, position, text};
    applyLabelChoice(after);
    m_history.recordLabelChoice(before, after);
    // A new step ends the way to a saved state that Undo had left.
    Document::setModifiedFlag(m_history.isModified());
}

void CTessavoxDoc::applyLabelChoice(const std::optional<EditHistory::LabelChoice> &choice)
{
    if (!choice || choice->order < 0 || choice->order >= int(m_nOrderLabel.size()))
        return;
    m_nOrderLabel[std::size_t(choice->order)] = choice->position;
    m_strOrderLabel[std::size_t(choice->order)] = choice->text;
}

void CTessavoxDoc::attachTable(QObject *table)
{
    m_tables.removeAll(nullptr);
    if (!m_tables.contains(table))
        m_tables.append(table);
    if (!m_tokensFilled) {
        m_tokensFilled = true;
        if (m_table) {
            FillTokensFromTable(*m_table, m_tokens);
            m_nTokenCount = m_tokens.count();
        } else {
            fillTokensFromRecords();
        }
        if (m_historyKept)
            m_history.reset(m_tokens);
    }
}

void CTessavoxDoc::detachTable(QObject *table)
{
    m_tables.removeAll(table);
}

bool CTessavoxDoc::hasTable() const
{
    return std::any_of(m_tables.begin(), m_tables.end(),
                       [](const QPointer<QObject> &table) { return !table.isNull(); });
}

void CTessavoxDoc::fillTokensFromRecords()
{
    const int count = std::clamp(m_nTokenCount, 0, static_cast<int>(m_records.size()));
    const auto labelOf = [this](int i) {
        const FormantRecord &record = m_records[std::size_t(i)];
        const int bytes = std::clamp(record.labelLength, 0, int(record.label.size()));
        return std::string_view(record.label.data(), std::size_t(bytes));
    };
    // A file holds a few labels thousands of times: each is decoded once, and its rows
    // share the text. The rows go in already in the order AssignOrder sorts them into
    // (by the label's bytes, stably), so that no sort has to move them afterwards.
    struct Label
    {
        QByteArray bytes;
        QString text;
        int rows = 0;
    };
    // Labels are a byte or two: compared in place, as a library call would cost more.
    struct SameBytes
    {
        bool operator()(std::string_view a, std::string_view b) const
        {
            if (a.size() != b.size())
                return false;
            for (std::size_t k = 0; k < a.size(); ++k) {
                if (a[k] != b[k])
                    return false;
            }
            return true;
        }
    };
    std::unordered_map<std::string_view, int, std::hash<std::string_view>, SameBytes> labelIndex;
    std::vector<Label> labels;
    std::vector<int> labelOfRow(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string_view label = labelOf(i);
        auto found = labelIndex.find(label);
        if (found == labelIndex.end()) {
            // The label's own bytes are kept, and written back unless the symbol is edited.
            QByteArray bytes(label.data(), qsizetype(label.size()));
            QString text = LabelText(bytes);
            found = labelIndex.emplace(label, int(labels.size())).first;
            labels.push_back({std::move(bytes), std::move(text)});
        }
        labelOfRow[std::size_t(i)] = found->second;
        ++labels[std::size_t(found->second)].rows;
    }
    std::vector<int> byBytes(labels.size());
    std::iota(byBytes.begin(), byBytes.end(), 0);
    std::sort(byBytes.begin(), byBytes.end(), [&labels](int a, int b) {
        return labels[std::size_t(a)].bytes < labels[std::size_t(b)].bytes;
    });
    std::vector<int> start(labels.size());
    for (int k = 0, position = 0; k < int(byBytes.size()); ++k) {
        start[std::size_t(byBytes[std::size_t(k)])] = position;
        position += labels[std::size_t(byBytes[std::size_t(k)])].rows;
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[std::size_t(start[std::size_t(labelOfRow[std::size_t(i)])]++)] = i;

    // Thousands of rows reach the views as one change, numbers and all; filling is not an
    // edit.
    m_tokens.beginBulkChange();
    m_tokens.clearRows();
    m_tokens.reserveRows(count);
    for (const int i : order) {
        const FormantRecord &record = m_records[static_cast<std::size_t>(i)];
        const auto hertz = [&record](std::size_t j) {
            const int value = record.formants[j];
            return value < 0 || value > kMaxFormant ? 0 : value;
        };
        const Label &label = labels[std::size_t(labelOfRow[std::size_t(i)])];
        m_tokens.appendRow({.numbers = {hertz(0), hertz(1), hertz(2), 0},
                            .emptyNumbers = TokenTableModel::emptyBit(TokenTableModel::Order),
                            .symbol = label.text,
                            .symbolBytes = label.bytes,
                            .higherFormants = {record.formants[3], record.formants[4]},
                            .speaker = {}});
    }
    AssignOrder(m_tokens);
    m_tokens.endBulkChange();
    m_nTokenCount = m_tokens.count();
}

TokenFile CTessavoxDoc::open(const QString &path, const TokenFileOptions &options)
{
    // A fresh document's records are empty and take the lines in place; one that holds a
    // file keeps its records until another file has been read.
    std::vector<FormantRecord> other;
    if (m_bDataLoaded)
        other.resize(FormantLimits::kRecords);
    std::vector<FormantRecord> &records = m_bDataLoaded ? other : m_records;
    TokenFile file;
    {
        WaitCursor wait;
        file = LoadTokenFileInto(path, options, records);
    }
    if (!file.ok())
        return file;
    m_bDataLoaded = true;
    m_nTokenCount = file.tokenCount;
    if (file.kind == TabularFileKind::Table) {
        m_table = std::move(file.table);
        m_fileIsTable = true;
        file.table = TabularTable();
    } else {
        m_table.reset();
        m_fileIsTable = false;
        if (&records != &m_records)
            m_records = std::move(other);
        m_formantTokens.reset();
        m_formantTokenCount = file.tokenCount;
    }
    return file;
}

const TabularTable &CTessavoxDoc::tokenTable() const
{
    if (m_table)
        return *m_table;
    // Made when first asked for: the windows and the charts work from the rows, and only
    // the analysis of the file as read needs it.
    if (!m_formantTokens && m_formantTokenCount < 0)
        m_formantTokens = TabularTable();
    if (!m_formantTokens) {
        const auto lines = std::span<const FormantRecord>(m_records).first(
            std::size_t(std::min(m_formantTokenCount, int(m_records.size()))));
        m_formantTokens = TabularFromFormantRecords(lines).table;
    }
    return *m_formantTokens;
}

bool CTessavoxDoc::OnOpenDocument(const QString &path)
{
    const TokenFile file = open(path, std::exchange(m_openOptions, {}));
    switch (file.status) {
    case TokenFile::Status::Ok:
        if (!file.warnings.isEmpty())
            Messages::show(QFileInfo(path).fileName() + QStringLiteral(": ") +
                           file.warnings.join(QStringLiteral("\n\n")));
        return true;
    case TokenFile::Status::ZeroLength:
    case TokenFile::Status::TooLong:
        Messages::beep();
        Messages::show(file.message);
        return false;
    case TokenFile::Status::OpenFailed:
    case TokenFile::Status::ReadFailed:
    case TokenFile::Status::Refused:
        Messages::show(file.report());
        return false;
    }
    return false;
}

void CTessavoxDoc::prepareSaveRequest(FileDialogRequest &request) const
{
    FileDialogRequest::Filter formant{request.filterName, request.patterns, request.defaultSuffix};
    const QString tableSuffix = suffixOf(TabularFileKind::Table, m_table ? pathName() : QString());
    FileDialogRequest::Filter table{
        QStringLiteral("Tables"), {QStringLiteral("*.csv"), QStringLiteral("*.tsv")}, tableSuffix};
    const FileDialogRequest::Filter &first = m_table ? table : formant;
    request.filterName = first.name;
    request.patterns = first.patterns;
    request.defaultSuffix = first.defaultSuffix;
    request.moreFilters = {m_table ? formant : table};
    if (m_table && !request.initialPath.isEmpty() &&
        TabularFileKindForPath(request.initialPath) != TabularFileKind::Table)
        request.initialPath = QFileInfo(request.initialPath)
                                  .dir()
                                  .filePath(QFileInfo(request.initialPath).completeBaseName() +
                                            QLatin1Char('.') + tableSuffix);
}

bool CTessavoxDoc::confirmFormantSave()
{
    // A Formant document has no table of its own; it can lose only its exclusions.
    const QStringList losses =
        FormantFileLosses(m_table ? *m_table : EmptyTokenTable('\t', false), m_tokens);
    if (losses.isEmpty())
        return true;
    const QString text =
        QStringLiteral("A Tessavox file cannot hold %1 of this table; they will not be in the "
                       "saved file. Save anyway?")
            .arg(losses.join(QStringLiteral(", ")));
    return Messages::askYesNoCancel(text) == Messages::Answer::Yes;
}

FileError CTessavoxDoc::saveTable(const QString &path)
{
    bool higherFormants = false;
    for (int r = 0; r < m_tokens.count(); ++r)
        higherFormants = higherFormants || m_tokens.row(r).higherFormants != std::array<int, 2>{};
    const bool tsv = suffixOf(TabularFileKind::Table, path) == QStringLiteral("tsv");
    if (!m_table)
        m_table = EmptyTokenTable(tsv ? '\t' : ',', higherFormants);
    // A .csv or .tsv name says the separator (a semicolon table stays one as a .csv);
    // a table of any other name keeps its own.
    TabularFormat format = m_table->format();
    const bool named = TabularFileKindForPath(path) == TabularFileKind::Table;
    if (tsv)
        format.separator = '\t';
    else if (named && format.separator == '\t')
        format.separator = ',';
    FileError error;
    bool sameAsTable = false;
    try {
        error = WriteTableFromTokens(path, *m_table, format, m_tokens, sameAsTable);
    } catch (const std::bad_alloc &) {
        error = FileError{FileError::Kind::OutOfMemory, path, {}};
    }
    if (error.isError())
        return error;
    // From now on the rows stand for the rows of the file just written, in the history too.
    const std::vector<int> order = TableRowOrder(m_tokens);
    std::vector<int> newIndex(m_table ? std::size_t(m_table->rowCount()) : 0, -1);
    for (std::size_t fileRow = 0; fileRow < order.size(); ++fileRow) {
        const int before = m_tokens.row(order[fileRow]).sourceRow;
        if (before >= 0 && std::size_t(before) < newIndex.size())
            newIndex[std::size_t(before)] = int(fileRow);
        m_tokens.setSourceRow(order[fileRow], int(fileRow));
    }
    // Rows removed before the save would come back without the cells the file kept for
    // them: Undo stops at this save rather than lose them.
    if (m_history.isStarted() && !m_history.renumberSourceRows(newIndex, m_tokens))
        m_history.reset(m_tokens);
    m_fileIsTable = true;
    if (sameAsTable)
        return error; // the file holds the table as it stands
    // The file just written becomes the table, read back through the loader: the old one
    // goes first, so that a large table is never held twice.
    TokenFileOptions reread;
    reread.kind = TabularFileKind::Table;
    reread.columns = SameRoles(*m_table);
    m_table.reset();
    TokenFile written = LoadTokenFile(path, reread);
    if (!written.ok())
        return FileError{
            FileError::Kind::ReadFailed, path,
            QStringLiteral("the saved table could not be read back: %1").arg(written.report())};
    m_table = std::move(written.table);
    return error;
}

bool CTessavoxDoc::OnSaveDocument(const QString &path)
{
    const bool ownFile = QFileInfo(path).absoluteFilePath() == pathName();
    const bool asTable =
        TabularFileKindForPath(path) == TabularFileKind::Table || (ownFile && m_fileIsTable);
    if (hasTable() && !asTable) {
        // Written as 0 an empty formant would come back as a token at 0 Hz: the file on disk
        // stays as it is.
        if (const FormantCell empty = FindEmptyFormant(m_tokens, m_tokens.count());
            empty.row >= 0) {
            const FileError refusal{FileError::Kind::WriteFailed, path,
                                    QStringLiteral("row %1 has no %2, and a Tessavox file cannot "
                                                   "hold an empty cell; fill it in, remove the "
                                                   "row, or save as a table (.csv)")
                                        .arg(empty.row + 1)
                                        .arg(TokenTableModel::heading(empty.column))};
            Messages::show(saveFailureReport(refusal));
            return false;
        }
    }
    if (hasTable() && !asTable && (m_table || m_tokens.excludedCount() > 0)) {
        if (m_table && m_tokens.count() > FormantLimits::kTokenLines) {
            Messages::show(QStringLiteral("A Tessavox file holds at most %L1 rows; this table has "
                                          "%L2. Save it as a table instead.")
                               .arg(FormantLimits::kTokenLines)
                               .arg(m_tokens.count()));
            return false;
        }
        if (!confirmFormantSave())
            return false;
    }
    FileError error{FileError::Kind::WriteFailed, path, {}};
    {
        WaitCursor wait;
        if (!hasTable()) {
            error.detail = QStringLiteral("no table window is open");
        } else if (asTable) {
            error = saveTable(path);
        } else if (m_tokens.count() == 0) {
            // An empty Tessavox file cannot be opened again: the file on disk, perhaps a
            // table read some other way, is worth more than no tokens.
            error.detail = QStringLiteral("there are no tokens to write, and a Tessavox file "
                                          "without tokens could not be opened again");
        } else if (const int row = FindUnwritableSymbol(m_tokens, m_tokens.count()); row >= 0) {
            // Such a symbol would read back as other tokens or cut short: the file already
            // on disk stays as it is.
            error.detail = QStringLiteral("the symbol in row %1 holds a line break or a double "
                                          "quote, which the file cannot hold")
                               .arg(row + 1);
        } else {
            error = WriteFileSafely(path, FormatFormantText(m_tokens, m_tokens.count()));
            if (!error.isError())
                m_fileIsTable = false;
        }
    }
    if (error.isError()) {
        Messages::show(saveFailureReport(error));
        return false;
    }
    setModifiedFlag(false);
    return true;
}

void CTessavoxDoc::adoptTable(TabularTable table)
{
    m_table = std::move(table);
    m_fileIsTable = true;
    m_nTokenCount = m_table->rowCount();
    m_bDataLoaded = true;
}

int CTessavoxDoc::tableColumn(const QString &name) const
{
    return m_table ? m_table->findColumn(name.toStdString()) : -1;
}

QStringList CTessavoxDoc::otherTableColumns() const
{
    return m_table ? OtherTableColumns(*m_table) : QStringList();
}

QString CTessavoxDoc::tableText(int row, int column) const
{
    if (!m_table || row < 0 || row >= m_tokens.count() || column < 0)
        return {};
    const TokenTableModel::Row &token = m_tokens.row(row);
    if (column == m_table->speakerColumn())
        return token.speaker;
    if (column == m_table->vowelColumn())
        return token.symbol;
    if (token.sourceRow < 0)
        return {};
    const std::string_view text = m_table->cell(token.sourceRow, column);
    return LabelText(QByteArray(text.data(), qsizetype(text.size())));
}
