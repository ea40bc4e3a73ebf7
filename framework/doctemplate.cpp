#include "framework/doctemplate.h"

#include "framework/document.h"
#include "framework/documentwindow.h"
#include "framework/stringtable.h"
#include "framework/view.h"

#include <QMdiArea>
#include <QPointer>

#include <algorithm>

namespace {

QPointer<QMdiArea> &area()
{
    static QPointer<QMdiArea> mdiArea;
    return mdiArea;
}

// The newline-separated fields of a template string: window title, document name, File
// New name, filter name, filter extension, shell type id, shell type name.
QString stringField(int resourceId, int field)
{
    return LoadString(resourceId).split(QLatin1Char('\n')).value(field);
}

// The area places a window at the size it has when added; a view's initial update may
// grow it past that place. Moves it wholly inside the area along each direction it fits
// in, else to the area's edge, so that its title bar and buttons stay in reach.
void keepInsideArea(QMdiSubWindow &window)
{
    const QMdiArea *mdi = window.mdiArea();
    if (!mdi)
        return;
    const QSize room = mdi->viewport()->size();
    const auto place = [](int at, int length, int roomLength) {
        return length > roomLength ? 0 : std::clamp(at, 0, roomLength - length);
    };
    window.move(place(window.x(), window.width(), room.width()),
                place(window.y(), window.height(), room.height()));
}

} // namespace

DocTemplate::DocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                         ViewFactory makeView)
    : m_resourceId(resourceId), m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)), m_makeView(std::move(makeView))
{}

QString DocTemplate::documentName() const
{
    return stringField(m_resourceId, 1);
}

QString DocTemplate::filterName() const
{
    return stringField(m_resourceId, 3);
}

QString DocTemplate::filterExtension() const
{
    return stringField(m_resourceId, 4);
}

Document *DocTemplate::OpenDocumentFile(const QString &path,
                                        const std::function<void(Document &)> &prepare)
{
    return openWith([this, &path, &prepare](Document &doc) {
        if (path.isEmpty()) {
            doc.setTitle(documentName() + QString::number(m_untitledCount + 1));
            if (!doc.OnNewDocument())
                return false;
            ++m_untitledCount;
            return true;
        }
        if (prepare)
            prepare(doc);
        if (!doc.OnOpenDocument(path))
            return false;
        doc.setPathName(path);
        return true;
    });
}

Document *DocTemplate::OpenFilledDocument(const QString &title,
                                          const std::function<bool(Document &)> &fill)
{
    return openWith([&title, &fill](Document &doc) {
        doc.setTitle(title);
        return fill && fill(doc);
    });
}

Document *DocTemplate::openWith(const std::function<bool(Document &)> &load)
{
    Document *doc = createDocument();
    if (!doc)
        return nullptr;
    doc->setDocTemplate(this);
    doc->setFileType({filterName(), filterExtension()});
    DocumentWindow *frame = newWindow(doc);
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (!load(*doc)) {
        delete frame; // takes its view with it
        delete doc;
        return nullptr;
    }
    doc->setAutoDelete(true);
    showWindow(frame);
    return doc;
}

DocumentWindow *DocTemplate::newWindow(Document *document)
{
    if (!document || !m_makeFrame || !m_makeView)
        return nullptr;
    DocumentWindow *frame = m_makeFrame();
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

void DocTemplate::showWindow(DocumentWindow *frame)
{
    if (!frame)
        return;
    if (View *view = frame->activeView())
        view->OnInitialUpdate();
    keepInsideArea(*frame);
    frame->showAndActivate();
}

void DocTemplate::setMdiArea(QMdiArea *mdiArea)
{
    area() = mdiArea;
}

QMdiArea *DocTemplate::mdiArea()
{
    return area();
}
