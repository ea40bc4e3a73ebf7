#include "plot/tokenhittest.h"

#include <algorithm>
#include <limits>

namespace TokenHitTest {

int rowAt(std::span<const TokenMark> marks, QPoint point, int slack)
{
    int best = -1;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const TokenMark &mark : marks) {
        if (!mark.box.adjusted(-slack, -slack, slack, slack).contains(point))
            continue;
        const QPoint d = mark.box.center() - point;
        const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = mark.row;
        }
    }
    return best;
}

std::vector<int> rowsIn(std::span<const TokenMark> marks, const QRect &area)
{
    std::vector<int> rows;
    const QRect normalized = area.normalized();
    for (const TokenMark &mark : marks) {
        if (normalized.contains(mark.box.center()))
            rows.push_back(mark.row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace TokenHitTest
