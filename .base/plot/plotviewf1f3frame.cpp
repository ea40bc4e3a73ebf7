#include "plot/plotviewf1f3frame.h"

#include "framework/document.h"

CPlotViewF1F3Frame::CPlotViewF1F3Frame(QWidget *parent) : ChildFrame(parent) {}

CPlotViewF1F3Frame::~CPlotViewF1F3Frame()
{
    // The view leaves its document while the base classes are torn down; the document
    // must not call back into this half-destroyed frame for a new title then.
    if (Document *doc = activeDocument())
        disconnect(doc, nullptr, this, nullptr);
}

void CPlotViewF1F3Frame::OnUpdateFrameTitle(bool addToTitle)
{
    if (Document *doc = activeDocument(); addToTitle && doc)
        setWindowTitle(doc->title() + kTitleSuffix);
}
