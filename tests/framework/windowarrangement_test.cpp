// Cascade and Tile as geometry: inside the room for any count and room, Tile exact.

#include "framework/windowarrangement.h"

#include <gtest/gtest.h>

namespace {

const QList<QSize> kRooms = {{1024, 640}, {640, 1024}, {300, 120}, {40, 30}};

TEST(WindowArrangement, CascadeStaysInsideAndStepsDownAndRightWithinARun)
{
    for (const QSize room : kRooms) {
        for (int count = 1; count <= 40; ++count) {
            const QList<QSize> wanted(count, QSize(700, 500));
            const QList<QRect> places = WindowArrangement::cascade(room, wanted, 22);
            ASSERT_EQ(places.size(), count);
            for (int i = 0; i < count; ++i) {
                EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(places[i]))
                    << room.width() << "x" << room.height() << " " << count << " " << i;
                EXPECT_FALSE(places[i].isEmpty());
            }
        }
    }
    // Windows that fit keep their size; a run steps one title bar at a time.
    const QList<QRect> places =
        WindowArrangement::cascade({1024, 640}, {{400, 300}, {380, 200}, {420, 240}}, 22);
    EXPECT_EQ(places[0], QRect(0, 0, 400, 300));
    EXPECT_EQ(places[1], QRect(22, 22, 380, 200));
    EXPECT_EQ(places[2], QRect(44, 44, 420, 240));
}

TEST(WindowArrangement, TileCoversTheRoomExactlyWithoutOverlap)
{
    for (const QSize room : kRooms) {
        for (int count = 1; count <= 40; ++count) {
            const QList<QRect> cells = WindowArrangement::tile(room, count);
            ASSERT_EQ(cells.size(), count);
            qint64 covered = 0;
            for (int i = 0; i < count; ++i) {
                EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(cells[i])) << count << " " << i;
                covered += qint64(cells[i].width()) * cells[i].height();
                for (int j = i + 1; j < count; ++j)
                    EXPECT_FALSE(cells[i].intersects(cells[j])) << count << " " << i << " " << j;
            }
            EXPECT_EQ(covered, qint64(room.width()) * room.height()) << count;
        }
    }
    EXPECT_TRUE(WindowArrangement::tile({800, 600}, 0).isEmpty());
}

} // namespace
