#pragma once

#include "framework/commandtarget.h"
#include "framework/document.h"

#include <QPointer>
#include <QWidget>

class QPainter;
struct PrintInfo;

// Base of every view: a widget showing one document. The document keeps a list of its
// views; a view leaves that list when it is destroyed.
class View : public QWidget, public CommandTarget
{
    Q_OBJECT

public:
    explicit View(QWidget *parent = nullptr);
    ~View() override;

    Document *document() const { return m_document; }

    // reimplemented by views
    // Called once, after the document is open and the view is in its frame.
    virtual void OnInitialUpdate();
    // Called by Document::UpdateAllViews; the default repaints.
    virtual void OnUpdate(View *sender, int hint);
    // False for views that only show a document (charts): the document closes, asking to
    // save first, when its last view that keeps it open goes.
    virtual bool keepsDocumentOpen() const { return true; }

    // printing: the framework's print job calls these in this order
    // Returns false to cancel the job.
    virtual bool OnPreparePrinting(PrintInfo &info);
    virtual void OnBeginPrinting(QPainter &painter, PrintInfo &info);
    // Prints page info.currentPage.
    virtual void OnPrint(QPainter &painter, PrintInfo &info);
    virtual void OnEndPrinting(QPainter &painter, PrintInfo &info);

    // The framework's print and print-preview commands; views bind ID_FILE_PRINT and
    // ID_FILE_PRINT_PREVIEW to these when they print.
    void OnFilePrint();
    void OnFilePrintPreview();

private:
    friend class Document;
    QPointer<Document> m_document; // not owned
};
