#include "document.h"

#include "messages.h"
#include "view.h"

#include <QFileInfo>

Document::Document(QObject *parent) : QObject(parent) {}

Document::~Document()
{
    for (View *view : std::as_const(m_views))
        view->m_document = nullptr;
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
        return DoFileSave();
    case Messages::Answer::No:
        return true;
    case Messages::Answer::Cancel:
        return false;
    }
    return false;
}

bool Document::DoFileSave()
{
    if (m_pathName.isEmpty())
        return false;
    return OnSaveDocument(m_pathName);
}

void Document::setPathName(const QString &path)
{
    m_pathName = QFileInfo(path).absoluteFilePath();
    setTitle(QFileInfo(path).fileName());
}

void Document::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    m_title = title;
    emit titleChanged(m_title);
}

void Document::setModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

void Document::addView(View *view)
{
    if (!view || m_views.contains(view))
        return;
    m_views.append(view);
    view->m_document = this;
    emit viewsChanged();
}

void Document::removeView(View *view)
{
    if (m_views.removeOne(view)) {
        view->m_document = nullptr;
        emit viewsChanged();
        if (m_autoDelete && m_views.isEmpty())
            deleteLater();
    }
}

void Document::UpdateAllViews(View *sender, int hint)
{
    const QList<View *> views = m_views;
    for (View *view : views) {
        if (view != sender)
            view->OnUpdate(sender, hint);
    }
}
