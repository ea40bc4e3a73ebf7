#include "app/tablechildframe.h"

#include <QMdiArea>

CChildFrame::CChildFrame(QWidget *parent) : DocumentWindow(parent) {}

void CChildFrame::showAndActivate()
{
    showNormal();
    if (QMdiArea *area = mdiArea())
        area->setActiveSubWindow(this);
    // Activation carries a maximized state over from the previous window; undo that.
    if (isMaximized())
        showNormal();
}
