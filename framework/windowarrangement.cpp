#include "framework/windowarrangement.h"

#include <algorithm>
#include <cmath>

namespace WindowArrangement {

QList<QRect> cascade(QSize room, const QList<QSize> &wanted, int step)
{
    QList<QRect> placed;
    if (room.isEmpty())
        return QList<QRect>(wanted.size(), QRect());
    step = std::max(step, 1);
    // Runs of this many keep every window at least half the room high and wide.
    const int perRun = std::max(1, std::min(room.height(), room.width()) / 2 / step + 1);
    // Columns of runs start this many steps apart before wrapping to the left edge.
    const int runStarts = std::max(1, room.width() / 2 / step + 1 - (perRun - 1));
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const int inRun = int(i % perRun);
        const int run = int(i / perRun) % runStarts;
        const int x = (inRun + run) * step;
        const int y = inRun * step;
        const int width = std::clamp(wanted[i].width(), 1, room.width() - x);
        const int height = std::clamp(wanted[i].height(), 1, room.height() - y);
        placed.append(QRect(x, y, width, height));
    }
    return placed;
}

QList<QRect> tile(QSize room, int count)
{
    QList<QRect> cells;
    if (count <= 0)
        return cells;
    const int columns = int(std::ceil(std::sqrt(double(count))));
    const int rows = (count + columns - 1) / columns;
    // Integer edges at i * length / parts, so the cells meet exactly and fill the room.
    const auto edge = [](int i, int length, int parts) { return int(qint64(i) * length / parts); };
    for (int row = 0; row < rows; ++row) {
        const int inRow = row + 1 < rows ? columns : count - row * columns;
        const int top = edge(row, room.height(), rows);
        const int bottom = edge(row + 1, room.height(), rows);
        for (int column = 0; column < inRow; ++column) {
            const int left = edge(column, room.width(), inRow);
            const int right = edge(column + 1, room.width(), inRow);
            cells.append(QRect(left, top, right - left, bottom - top));
        }
    }
    return cells;
}

} // namespace WindowArrangement
