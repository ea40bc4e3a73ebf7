#include "framework/document.h"

#include "framework/documentwindow.h"
#include "framework/view.h"

#include <QPointer>

// The parts of Document that deal with its views and windows; they live with the windows,
// so a program without any (the batch tool) needs no widgets for its documents.

namespace {

void closeDocumentWindows(Document &doc)
{
    QList<QPointer<DocumentWindow>> keepers;
    QList<QPointer<DocumentWindow>> others;
    for (DocumentWindow *frame : doc.frames()) {
        const View *view = frame->activeView();
        (view && view->keepsDocumentOpen() ? keepers : others).append(frame);
    }
    // Windows that only show the document go first, so none outlives its table.
    for (const auto &frame : std::as_const(others)) {
        if (frame)
            frame->closeWithoutPrompt();
    }
    for (const auto &frame : std::as_const(keepers)) {
        if (frame)
            frame->closeWithoutPrompt();
    }
}

// Set before main() wherever windows are part of the program.
const bool g_closerSet = (Document::windowHooks().closeWindows = closeDocumentWindows, true);
const bool g_updaterSet = (
    Document::windowHooks().updateViews = [](Document &doc) { doc.UpdateAllViews(nullptr); }, true);

} // namespace

QList<DocumentWindow *> Document::frames() const
{
    QList<DocumentWindow *> result;
    for (View *view : m_views) {
        DocumentWindow *frame = DocumentWindow::frameOf(view);
        if (frame && !result.contains(frame))
            result.append(frame);
    }
    return result;
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
