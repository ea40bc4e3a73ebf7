#pragma once

#include "commandtarget.h"

#include <QWidget>

class Document;

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

private:
    friend class Document;
    Document *m_document = nullptr; // not owned
};
