#pragma once

#include <QString>

#include <functional>

class DocumentWindow;
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
    using FrameFactory = std::function<DocumentWindow *()>;
    using ViewFactory = std::function<View *()>;

    DocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                ViewFactory makeView);
    virtual ~DocTemplate() = default;

    int resourceId() const { return m_resourceId; }
    Document *createDocument() const { return m_makeDocument ? m_makeDocument() : nullptr; }
    // Fields of the template's string (string table, resourceId).
    // New documents are titled by this name and a running number.
    QString documentName() const;
    // The file dialogs' filter name, and the extension (".txt") they add.
    QString filterName() const;
    QString filterExtension() const;

    // A new document in a new frame: empty (File New, titled by the document name and a
    // running number) when `path` is empty, else read from `path`. On failure neither the
    // document nor its frame remains and nullptr is returned; the document has told the
    // user why. `prepare`, when given, sees the new document before it reads its file
    // (to say how to read it).
    Document *OpenDocumentFile(const QString &path,
                               const std::function<void(Document &)> &prepare = {});
    // A new document filled by `fill` instead of from a file (e.g. measured from
    // recordings): titled `title`, with no path, shown as a file just opened is. When `fill`
    // returns false neither the document nor its frame remains and nullptr is returned.
    Document *OpenFilledDocument(const QString &title, const std::function<bool(Document &)> &fill);

    // A new frame holding a new view of `document`, not yet shown; nullptr on failure.
    DocumentWindow *newWindow(Document *document);
    // Runs the view's initial update, then shows and activates the frame.
    static void showWindow(DocumentWindow *frame);

    static void setMdiArea(QMdiArea *area);
    static QMdiArea *mdiArea();

private:
    Document *openWith(const std::function<bool(Document &)> &load);

    int m_resourceId;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    int m_untitledCount = 0;
};
