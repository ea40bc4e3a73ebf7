#include "tessavoxdoc.h"

#include "cellsource.h"
#include "formantreader.h"
#include "messages.h"
#include "stringtable.h"
#include "view.h"
#include "waitcursor.h"

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

bool CTessavoxDoc::OnSaveDocument(const QString &)
{
    // Written by the Formant file writer once the table exists.
    return false;
}

CellSource *CTessavoxDoc::tableView() const
{
    for (View *view : views()) {
        if (auto *source = dynamic_cast<CellSource *>(view))
            return source;
    }
    return nullptr;
}
