#pragma once

#include "framework/commandtarget.h"

#include <QMdiSubWindow>

class Document;
class View;

// An MDI child window that holds one view of a document. Its title follows the
// document's. Closing the last window that keeps a modified document open asks to save it
// first; the document's other windows then close with it.
class DocumentWindow : public QMdiSubWindow, public CommandTarget
{
    Q_OBJECT

public:
    explicit DocumentWindow(QWidget *parent = nullptr);
    ~DocumentWindow() override;

    View *activeView() const { return m_view; }
    Document *activeDocument() const;
    // Makes `view` the frame's content; the frame owns it from then on.
    void setView(View *view);

    // The frame that holds `view`, or nullptr.
    static DocumentWindow *frameOf(const View *view);

    // Sets the window text; the default is the document title, with ":n" appended when
    // the document has several windows, and "*" while it has unsaved changes.
    virtual void updateTitle();
    // Shows the frame and makes it the active window; a minimized frame is restored.
    virtual void showAndActivate();

    // Closes the frame without asking to save its document.
    void closeWithoutPrompt();
    // True from the moment the frame accepted its close until it is gone.
    bool isClosing() const { return m_closing; }

    // reimplemented from QWidget
    // Cascading sizes windows by this; a view without a size of its own (a chart) keeps
    // the size its window has instead of shrinking to the title bar.
    QSize sizeHint() const override;

protected:
    // reimplemented from QWidget
    void closeEvent(QCloseEvent *event) override;

private:
    bool isLastKeeperOf(const Document *doc) const;

    View *m_view = nullptr; // owned through the widget tree
    // To the document's signals; cut before the view goes, since its removal signals.
    QList<QMetaObject::Connection> m_documentConnections;
    bool m_closing = false;
    bool m_skipPrompt = false;
};
