#include "plot/chartframe.h"

#include "framework/document.h"

ChartFrame::ChartFrame(const QString &titleSuffix, QWidget *parent)
    : DocumentWindow(parent), m_titleSuffix(titleSuffix)
{}

ChartFrame::~ChartFrame()
{
    // The view leaves its document while the base classes are torn down; the document
    // must not call back into this half-destroyed frame for a new title then.
    if (Document *doc = activeDocument())
        disconnect(doc, nullptr, this, nullptr);
}

void ChartFrame::updateTitle()
{
    if (Document *doc = activeDocument())
        setWindowTitle(doc->title() + m_titleSuffix);
}
