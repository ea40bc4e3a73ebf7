#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where Cascade and Tile put the MDI area's windows, as plain geometry: every rectangle lies
// wholly inside `room` (the area's visible part, origin at 0, 0), however many windows there
// are, so no title bar or button ends up out of reach.
namespace WindowArrangement {

// Each window one `step` below and right of the one before, at the size it asks for, cut
// to what fits. When the steps would push the windows past half the room, the run starts
// again at the top, one step further right, and wraps back to the left edge as well.
QList<QRect> cascade(QSize room, const QList<QSize> &wanted, int step);

// The room split into a grid of near-square cells, as many columns as rows or one more,
// filled row by row; the last row's windows share its whole width. The cells cover the room
// exactly and never overlap.
QList<QRect> tile(QSize room, int count);

} // namespace WindowArrangement
