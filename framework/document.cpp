#include "framework/document.h"

#include "framework/commandids.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"

#include <QFileInfo>

Document::Document(QObject *parent) : QObject(parent)
{
    addCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    addCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    addCommand(ID_FILE_CLOSE, [this] { OnFileClose(); });
}

Document::~Document() = default;

Document::WindowHooks &Document::windowHooks()
{
    static WindowHooks hooks;
    return hooks;
}

bool Document::OnNewDocument()
{
    setModifiedFlag(false);
    return true;
}

bool Document::OnOpenDocument(const QString &)
{
    return false;
}

bool Document::OnSaveDocument(const QString &)
{
    return false;
}

bool Document::SaveModified()
{
    if (!isModified())
        return true;
    const QString name = m_title.isEmpty() ? QStringLiteral("Untitled") : m_title;
    switch (Messages::askYesNoCancel(QStringLiteral("Save changes to %1?").arg(name))) {
    case Messages::Answer::Yes:
        return save();
    case Messages::Answer::No:
        return true;
    case Messages::Answer::Cancel:
        return false;
    }
    return false;
}

bool Document::save()
{
    const QFileInfo info(m_pathName);
    // A read-only file cannot take the changes: ask for another name instead.
    if (m_pathName.isEmpty() || (info.exists() && !info.isWritable()))
        return saveAs(QString());
    return saveAs(m_pathName);
}

bool Document::saveAs(const QString &path)
{
    QString target = path;
    if (target.isEmpty()) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.title = QStringLiteral("Save As");
        if (m_fileType) {
            request.filterName = m_fileType->filterName;
            const QString ext = m_fileType->extension;
            request.patterns = {QLatin1Char('*') + ext};
            request.defaultSuffix = ext.startsWith(QLatin1Char('.')) ? ext.mid(1) : ext;
        } else {
            request.filterName = QStringLiteral("All Files");
            request.patterns = {QStringLiteral("*")};
        }
        if (!m_pathName.isEmpty()) {
            request.initialPath = m_pathName;
        } else {
            request.initialPath = m_title;
            if (!request.defaultSuffix.isEmpty() && QFileInfo(m_title).suffix().isEmpty())
                request.initialPath += QLatin1Char('.') + request.defaultSuffix;
        }
        prepareSaveRequest(request);
        target = FileDialogs::ask(request);
        if (target.isEmpty())
            return false; // cancelled
    }
    if (!OnSaveDocument(target))
        return false; // the document reported why; it stays modified
    setPathName(target);
    setModifiedFlag(false);
    return true;
}

void Document::OnCloseDocument()
{
    if (windowHooks().closeWindows)
        windowHooks().closeWindows(*this);
}

void Document::OnFileSave()
{
    save();
}

void Document::OnFileSaveAs()
{
    saveAs(QString());
}

void Document::OnFileClose()
{
    if (SaveModified())
        OnCloseDocument();
}

void Document::setPathName(const QString &path, bool addToRecentFiles)
{
    m_pathName = QFileInfo(path).absoluteFilePath();
    setTitle(QFileInfo(path).fileName());
    if (addToRecentFiles && windowHooks().rememberFile)
        windowHooks().rememberFile(m_pathName);
}

void Document::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    emit titleChanged(m_title);
}

void Document::updateViews()
{
    if (windowHooks().updateViews)
        windowHooks().updateViews(*this);
}

void Document::setModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}
