#pragma once

#include <functional>

class ChildFrame;
class Document;
class QMdiArea;
class View;

// Makes frames and views for documents: the document's class, its frame class and its
// first view class, bound together. Frames are placed in the MDI area set with
// setMdiArea(); without one (tests, the batch tool) they are top-level windows.
class DocTemplate
{
public:
    using DocumentFactory = std::function<Document *()>;
    using FrameFactory = std::function<ChildFrame *()>;
    using ViewFactory = std::function<View *()>;

    DocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                ViewFactory makeView);
    virtual ~DocTemplate() = default;

    int resourceId() const { return m_resourceId; }
    Document *createDocument() const { return m_makeDocument ? m_makeDocument() : nullptr; }

    // A new frame holding a new view of `document`, not yet shown; nullptr on failure.
    ChildFrame *CreateNewFrame(Document *document, ChildFrame *other = nullptr);
    // Runs the view's initial update and, when asked, shows and activates the frame.
    void InitialUpdateFrame(ChildFrame *frame, Document *document, bool makeVisible = true);

    static void setMdiArea(QMdiArea *area);
    static QMdiArea *mdiArea();

private:
    int m_resourceId;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
};
