#pragma once

#include <QHeaderView>

// The grid's row header. A click here sets the rows' own selection flags rather than the
// cell selection, so it reports presses and drags instead of selecting cells.
class RowHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit RowHeader(QWidget *parent = nullptr);

signals:
    void rowPressed(int row, Qt::KeyboardModifiers modifiers);
    // The mouse, still pressed, moved onto another row.
    void rowDragged(int row);

protected:
    // reimplemented from QHeaderView
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_dragRow = -1; // -1 while no button is down
};
