#include "document/tessavoxdoc.h"

#include "document/cellsource.h"
#include "document/formantreader.h"
#include "document/formantwriter.h"
#include "framework/messages.h"
#include "framework/stringtable.h"
#include "framework/view.h"
#include "framework/waitcursor.h"

#include <exception>

CTessavoxDoc::CTessavoxDoc(QObject *parent) : Document(parent)
{
    m_nOrderLabel.fill(-1);
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
        // The grid is the only live copy of the tokens; without it there is nothing to
        // write, and writing an empty file would destroy the tokens on disk.
        if (const CellSource *table = tableView()) {
            try {
                error = WriteFileSafely(path, FormatFormantText(*table, m_nTokenCount));
            } catch (const std::exception &failure) {
                error.detail = QString::fromUtf8(failure.what());
            }
        } else {
            error.detail = QStringLiteral("no table window is open");
        }
    }
    if (error.isError()) {
        Messages::show(saveFailureReport(error));
        return false;
    }
    setModifiedFlag(false);
    return true;
}

CellSource *CTessavoxDoc::tableView() const
{
    for (View *view : views()) {
        if (auto *source = dynamic_cast<CellSource *>(view))
            return source;
    }
    return nullptr;
}
