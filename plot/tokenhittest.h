#pragma once

#include <QPoint>
#include <QRect>

#include <span>
#include <vector>

// Where one drawing put a token: its table row and the box of its mark (the label's line
// box, or the small circle of a token without a label), in the drawing's device units.
struct TokenMark
{
    int row = -1;
    QRect box;
};

// Which tokens of a drawn chart lie under a point or inside a rectangle: the chart
// window's clicks, drags and tooltips. Plain geometry over the marks the renderer
// recorded; it keeps no copy of them.
namespace TokenHitTest {

// The row of the token whose box, grown by `slack` on every side, holds `point`; of
// several, the one whose box centre lies nearest (the later-drawn one, on top, on a
// tie). -1 when none does.
int rowAt(std::span<const TokenMark> marks, QPoint point, int slack = 2);

// The rows of the tokens whose box centre lies inside `area`, each once, ascending.
std::vector<int> rowsIn(std::span<const TokenMark> marks, const QRect &area);

} // namespace TokenHitTest
