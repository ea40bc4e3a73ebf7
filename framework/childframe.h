#pragma once

#include "commandtarget.h"

#include <QMdiSubWindow>

class Document;
class View;

// An MDI child window that holds one view of a document. Its title follows the
// document's; closing the last window of a modified document asks to save it first.
class ChildFrame : public QMdiSubWindow, public CommandTarget
{
    Q_OBJECT

public:
    explicit ChildFrame(QWidget *parent = nullptr);

    View *activeView() const { return m_view; }
    Document *activeDocument() const;
    // Makes `view` the frame's content; the frame owns it from then on.
    void setView(View *view);

    // Sets the window text; the default is the document title, with ":n" appended when
    // the document has several windows.
    virtual void OnUpdateFrameTitle(bool addToTitle);

protected:
    // reimplemented from QWidget
    void closeEvent(QCloseEvent *event) override;

private:
    View *m_view = nullptr; // owned through the widget tree
};
