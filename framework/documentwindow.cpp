#include "framework/documentwindow.h"

#include "framework/document.h"
#include "framework/view.h"

#include <QCloseEvent>
#include <QMdiArea>

DocumentWindow::DocumentWindow(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

DocumentWindow::~DocumentWindow()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_documentConnections))
        disconnect(connection);
}

Document *DocumentWindow::activeDocument() const
{
    return m_view ? m_view->document() : nullptr;
}

void DocumentWindow::setView(View *view)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_documentConnections))
        disconnect(connection);
    m_documentConnections.clear();
    m_view = view;
    setWidget(view);
    if (Document *doc = activeDocument()) {
        m_documentConnections << connect(doc, &Document::titleChanged, this, [this] {
            updateTitle();
        }) << connect(doc, &Document::viewsChanged, this, [this] {
            updateTitle();
        }) << connect(doc, &Document::modifiedChanged, this, [this] { updateTitle(); });
    }
    updateTitle();
}

DocumentWindow *DocumentWindow::frameOf(const View *view)
{
    for (QWidget *w = view ? view->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto *frame = qobject_cast<DocumentWindow *>(w))
            return frame;
    }
    return nullptr;
}

void DocumentWindow::updateTitle()
{
    Document *doc = activeDocument();
    if (!doc)
        return;
    // Every window of the document counts, in the order of its views; a closing one no
    // longer does.
    QList<const DocumentWindow *> frames;
    for (View *view : doc->views()) {
        const DocumentWindow *frame = frameOf(view);
        if (frame && !frame->isClosing() && !frames.contains(frame))
            frames.append(frame);
    }
    // A star marks changes that File Save has not written yet.
    const QString mark = doc->isModified() ? QStringLiteral("*") : QString();
    if (frames.size() > 1 && frames.contains(this))
        setWindowTitle(
            QStringLiteral("%1:%2%3").arg(doc->title()).arg(frames.indexOf(this) + 1).arg(mark));
    else
        setWindowTitle(doc->title() + mark);
}

void DocumentWindow::showAndActivate()
{
    if (isMinimized())
        showNormal();
    else
        show();
    if (QMdiArea *area = mdiArea())
        area->setActiveSubWindow(this);
    else
        activateWindow();
}

QSize DocumentWindow::sizeHint() const
{
    if (m_view && !m_view->sizeHint().isValid() && testAttribute(Qt::WA_Resized) &&
        !isMinimized() && !isMaximized())
        return size();
    return QMdiSubWindow::sizeHint();
}

void DocumentWindow::closeWithoutPrompt()
{
    if (m_closing)
        return;
    m_skipPrompt = true;
    close();
    m_skipPrompt = false;
}

bool DocumentWindow::isLastKeeperOf(const Document *doc) const
{
    if (!m_view || !m_view->keepsDocumentOpen())
        return false;
    for (const View *view : doc->views()) {
        const DocumentWindow *frame = frameOf(view);
        if (view != m_view && view->keepsDocumentOpen() && frame && frame != this &&
            !frame->isClosing())
            return false;
    }
    return true;
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    Document *doc = activeDocument();
    const bool lastKeeper = doc && isLastKeeperOf(doc);
    if (lastKeeper && !m_skipPrompt && !doc->SaveModified()) {
        event->ignore();
        return;
    }
    m_closing = true;
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted()) {
        m_closing = false;
        return;
    }
    if (doc) {
        // The remaining windows only show the document; they close with it.
        if (lastKeeper)
            doc->OnCloseDocument();
        else
            emit doc->viewsChanged();
    }
}
