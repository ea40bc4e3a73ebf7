#include "table/rowheader.h"

#include <QMouseEvent>

RowHeader::RowHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
}

void RowHeader::mousePressEvent(QMouseEvent *event)
{
    const int row = logicalIndexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || row < 0) {
        event->ignore();
        return;
    }
    m_dragRow = row;
    emit rowPressed(row, event->modifiers());
    event->accept();
}

void RowHeader::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragRow < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const int row = logicalIndexAt(event->position().toPoint());
    if (row >= 0 && row != m_dragRow) {
        m_dragRow = row;
        emit rowDragged(row);
    }
}

void RowHeader::mouseReleaseEvent(QMouseEvent *)
{
    m_dragRow = -1;
}

void RowHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}
