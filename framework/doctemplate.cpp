#include "doctemplate.h"

#include "childframe.h"
#include "document.h"
#include "view.h"

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
    if (QMdiArea *mdi = area())
        mdi->addSubWindow(frame);
    return frame;
}

void DocTemplate::InitialUpdateFrame(ChildFrame *frame, Document *document, bool makeVisible)
{
    if (!frame)
        return;
    if (View *view = frame->activeView(); view && view->document() == document)
        view->OnInitialUpdate();
    if (makeVisible) {
        frame->show();
        if (QMdiArea *mdi = area())
            mdi->setActiveSubWindow(frame);
    }
}

void DocTemplate::setMdiArea(QMdiArea *mdiArea)
{
    area() = mdiArea;
}

QMdiArea *DocTemplate::mdiArea()
{
    return area();
}
