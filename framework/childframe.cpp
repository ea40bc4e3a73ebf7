#include "childframe.h"

#include "document.h"
#include "view.h"

#include <QCloseEvent>

ChildFrame::ChildFrame(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

Document *ChildFrame::activeDocument() const
{
    return m_view ? m_view->document() : nullptr;
}

void ChildFrame::setView(View *view)
{
    m_view = view;
    setWidget(view);
    if (Document *doc = activeDocument()) {
        connect(doc, &Document::titleChanged, this, [this] { OnUpdateFrameTitle(true); });
        connect(doc, &Document::viewsChanged, this, [this] { OnUpdateFrameTitle(true); });
    }
    OnUpdateFrameTitle(true);
}

void ChildFrame::OnUpdateFrameTitle(bool addToTitle)
{
    Document *doc = activeDocument();
    if (!addToTitle || !doc)
        return;
    // Number the document's windows of this kind when there is more than one.
    QList<ChildFrame *> siblings;
    for (View *view : doc->views()) {
        auto *frame = qobject_cast<ChildFrame *>(view->parentWidget());
        if (!frame)
            frame = qobject_cast<ChildFrame *>(view->window());
        if (frame && typeid(*frame) == typeid(*this) && !siblings.contains(frame))
            siblings.append(frame);
    }
    if (siblings.size() > 1)
        setWindowTitle(QStringLiteral("%1:%2").arg(doc->title()).arg(siblings.indexOf(this) + 1));
    else
        setWindowTitle(doc->title());
}

void ChildFrame::closeEvent(QCloseEvent *event)
{
    Document *doc = activeDocument();
    if (doc && doc->views().size() == 1 && !doc->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
