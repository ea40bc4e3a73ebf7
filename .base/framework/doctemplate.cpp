#include "framework/doctemplate.h"

#include "framework/childframe.h"
#include "framework/document.h"
#include "framework/stringtable.h"
#include "framework/view.h"

#include <QMdiArea>
#include <QPointer>

namespace {

QPointer<QMdiArea> &area()
{
    static QPointer<QMdiArea> mdiArea;
    return mdiArea;
}

} // namespace

DocTemplate::DocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                         ViewFactory makeView)
    : m_resourceId(resourceId), m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)), m_makeView(std::move(makeView))
{}

QString DocTemplate::GetDocString(DocStringIndex index) const
{
    return LoadString(m_resourceId).split(QLatin1Char('\n')).value(int(index));
}

Document *DocTemplate::OpenDocumentFile(const QString &path, bool makeVisible)
{
    Document *doc = createDocument();
    if (!doc)
        return nullptr;
    doc->setDocTemplate(this);
    ChildFrame *frame = CreateNewFrame(doc);
    if (!frame) {
        delete doc;
        return nullptr;
    }
    bool ok = false;
    if (path.isEmpty()) {
        doc->setTitle(GetDocString(docName) + QString::number(m_untitledCount + 1));
        ok = doc->OnNewDocument();
        if (ok)
            ++m_untitledCount;
    } else {
        ok = doc->OnOpenDocument(path);
        if (ok)
            doc->setPathName(path);
    }
    if (!ok) {
        delete frame; // takes its view with it
        delete doc;
        return nullptr;
    }
    doc->setAutoDelete(true);
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

ChildFrame *DocTemplate::CreateNewFrame(Document *document, ChildFrame *)
{
    if (!document || !m_makeFrame || !m_makeView)
        return nullptr;
    ChildFrame *frame = m_makeFrame();
    if (!frame)
        return nullptr;
    View *view = m_makeView();
    if (!view) {
        delete frame;
        return nullptr;
    }
    document->addView(view);
    frame->setView(view);
    // Now that the view has its frame, the document's other windows renumber themselves.
    emit document->viewsChanged();
    if (QMdiArea *mdi = area()) {
        mdi->addSubWindow(frame);
        // A view with no size of its own gets the usual place of a new document window:
        // three quarters of the area, cascaded below the windows before it.
        if (!view->sizeHint().isValid()) {
            const QSize area = mdi->viewport()->size();
            const QSize size = area * 3 / 4;
            constexpr int kStep = 24;
            const int steps = int(mdi->subWindowList().size()) - 1;
            const int room =
                qMax(0, qMin(area.width() - size.width(), area.height() - size.height()) / kStep);
            const int offset = room > 0 ? (steps % (room + 1)) * kStep : 0;
            frame->resize(size);
            frame->move(offset, offset);
        }
    }
    return frame;
}

void DocTemplate::InitialUpdateFrame(ChildFrame *frame, Document *document, bool makeVisible)
{
    if (!frame)
        return;
    if (View *view = frame->activeView(); view && view->document() == document)
        view->OnInitialUpdate();
    if (makeVisible)
        frame->ActivateFrame();
}

void DocTemplate::setMdiArea(QMdiArea *mdiArea)
{
    area() = mdiArea;
}

QMdiArea *DocTemplate::mdiArea()
{
    return area();
}
