#include "framework/view.h"

#include "framework/document.h"
#include "framework/printinfo.h"
#include "framework/printjob.h"

View::View(QWidget *parent) : QWidget(parent) {}

View::~View()
{
    if (m_document)
        m_document->removeView(this);
}

void View::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void View::OnUpdate(View *, int)
{
    update();
}

bool View::OnPreparePrinting(PrintInfo &)
{
    return true;
}

void View::OnBeginPrinting(QPainter &, PrintInfo &) {}

void View::OnPrint(QPainter &, PrintInfo &) {}

void View::OnEndPrinting(QPainter &, PrintInfo &) {}

void View::OnFilePrint()
{
    PrintJob::print(*this);
}

void View::OnFilePrintPreview()
{
    PrintJob::preview(*this);
}
