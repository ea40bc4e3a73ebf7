#include "document/tessavoxdoc.h"

#include "document/formantreader.h"
#include "document/formantwriter.h"
#include "document/labeltext.h"
#include "document/vowelorder.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "framework/waitcursor.h"

#include <algorithm>

namespace {

// Formants outside this range are taken as 0, as a cell entry would be.
constexpr int kMaxFormant = 10000;

} // namespace

CTessavoxDoc::CTessavoxDoc(QObject *parent) : Document(parent)
{
    m_nOrderLabel.fill(-1);
    // A typed value that cannot go into its cell is refused with the reason, once for all
    // windows.
    connect(&m_tokens, &TokenTableModel::entryRefused, this,
            [](const QString &why) { Messages::show(why); });
    // Every edit of the rows, from any window, is the document's.
    connect(&m_tokens, &TokenTableModel::changed, this, [this] {
        m_nTokenCount = m_tokens.count();
        m_bDataLoaded = true;
        setModifiedFlag(true);
    });
}

void CTessavoxDoc::attachTable(QObject *table)
{
    m_tables.removeAll(nullptr);
    if (!m_tables.contains(table))
        m_tables.append(table);
    if (!m_tokensFilled) {
        m_tokensFilled = true;
        fillTokensFromRecords();
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
    // Thousands of rows reach the views as one change, numbers and all; filling is not an
    // edit.
    m_tokens.beginBulkChange();
    m_tokens.clearRows();
    const int count = std::clamp(m_nTokenCount, 0, static_cast<int>(m_records.size()));
    m_tokens.reserveRows(count);
    for (int i = 0; i < count; ++i) {
        const FormantRecord &record = m_records[static_cast<std::size_t>(i)];
        TokenTableModel::Row row;
        for (int j = 0; j < 3; ++j) {
            const int value = record.formants[static_cast<std::size_t>(j)];
            row.numbers[static_cast<std::size_t>(j)] = value < 0 || value > kMaxFormant ? 0 : value;
        }
        row.emptyNumbers = TokenTableModel::emptyBit(TokenTableModel::Order);
        const int bytes = std::clamp(record.labelLength, 0, int(record.label.size()));
        // The label's own bytes are kept, and written back unless the symbol is edited.
        row.symbolBytes = QByteArray(record.label.data(), bytes);
        row.symbol = LabelText(row.symbolBytes);
        row.higherFormants = {record.formants[3], record.formants[4]};
        m_tokens.insertRowAt(i, row);
    }
    AssignOrder(m_tokens);
    m_tokens.endBulkChange();
    m_nTokenCount = m_tokens.count();
}

bool CTessavoxDoc::OnOpenDocument(const QString &path)
{
    FormantReadResult result;
    {
        WaitCursor wait;
        result = ReadFormantFile(path, m_records);
    }
    switch (result.status) {
    case FormantReadResult::Status::Ok:
        m_nTokenCount = result.tokenCount;
        m_bDataLoaded = true;
        return true;
    case FormantReadResult::Status::ZeroLength:
        Messages::beep();
        Messages::show(LoadString(IDS_ERR_ZERO_LENGTH));
        return false;
    case FormantReadResult::Status::TooLong:
        Messages::beep();
        Messages::show(LoadString(IDS_ERR_TOO_LONG));
        return false;
    case FormantReadResult::Status::OpenFailed:
    case FormantReadResult::Status::ReadFailed:
        Messages::show(openFailureReport(result.error));
        return false;
    }
    return false;
}

bool CTessavoxDoc::OnSaveDocument(const QString &path)
{
    FileError error{FileError::Kind::WriteFailed, path, {}};
    {
        WaitCursor wait;
        if (!hasTable()) {
            error.detail = QStringLiteral("no table window is open");
        } else if (const int row = FindUnwritableSymbol(m_tokens, m_tokens.count()); row >= 0) {
            // Such a symbol would read back as other tokens or cut short: the file already
            // on disk stays as it is.
            error.detail = QStringLiteral("the symbol in row %1 holds a line break or a double "
                                          "quote, which the file cannot hold")
                               .arg(row + 1);
        } else {
            error = WriteFileSafely(path, FormatFormantText(m_tokens, m_tokens.count()));
        }
    }
    if (error.isError()) {
        Messages::show(saveFailureReport(error));
        return false;
    }
    setModifiedFlag(false);
    return true;
}
