// The Window menu's arrangements and where new document windows open, with a table and
// both of its charts open in the main window.

#include "apptest.h"
#include "framework/commandids.h"
#include "framework/documentwindow.h"
#include "framework/messages.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

class WindowsTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // A main window of the size of a small laptop screen, whatever the platform offers.
        frame->showNormal();
        frame->resize(1024, 700);
        QCoreApplication::processEvents();
    }
    QMdiArea *area() const { return frame->mdiArea(); }
    QRect room() const { return area()->viewport()->rect(); }
    // The table window of a new document and the two chart windows opened from it.
    QList<QMdiSubWindow *> openTableAndCharts()
    {
        MessageCapture capture;
        app->OpenDocumentFile(formantFile("vowels.txt"));
        QMdiSubWindow *table = area()->activeSubWindow();
        EXPECT_TRUE(execute(ID_PLOT_F1F2));
        area()->setActiveSubWindow(table);
        EXPECT_TRUE(execute(ID_PLOT_F1F3));
        EXPECT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();
        QCoreApplication::processEvents();
        return area()->subWindowList();
    }
};

TEST_F(WindowsTest, CascadeKeepsWindowsUsableTileFillsTheAreaArrangeLinesUpIcons)
{
    const QList<QMdiSubWindow *> windows = openTableAndCharts();
    ASSERT_EQ(windows.size(), 3);
    QList<QSize> sizes;
    for (QMdiSubWindow *window : windows)
        sizes << window->size();

    // Cascade: each window below and right of the one before, none shrunk to its title bar:
    // the charts keep their size, the table shows its whole form.
    ASSERT_TRUE(execute(ID_WINDOW_CASCADE));
    QCoreApplication::processEvents();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *window = windows[i];
        EXPECT_TRUE(room().contains(window->geometry())) << i;
        if (i > 0) {
            EXPECT_GT(window->x(), windows[i - 1]->x()) << i;
            EXPECT_GT(window->y(), windows[i - 1]->y()) << i;
        }
        const QWidget *view = window->widget();
        if (view->sizeHint().isValid()) {
            EXPECT_GE(view->width(), view->sizeHint().width()) << i;
            EXPECT_GE(view->height(), view->sizeHint().height()) << i;
        } else {
            EXPECT_EQ(window->size(), sizes[i]) << i;
        }
    }

    // Tile: the windows share the whole area without overlapping.
    ASSERT_TRUE(execute(ID_WINDOW_TILE_HORZ));
    QCoreApplication::processEvents();
    int covered = 0;
    for (int i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(room().contains(windows[i]->geometry())) << i;
        covered += windows[i]->width() * windows[i]->height();
        for (int j = i + 1; j < windows.size(); ++j)
            EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry())) << i << j;
    }
    EXPECT_EQ(covered, room().width() * room().height());

    // Arrange Icons: the minimized windows line up along the bottom, left to right.
    windows[1]->showMinimized();
    windows[2]->showMinimized();
    ASSERT_TRUE(execute(ID_WINDOW_ARRANGE));
    QCoreApplication::processEvents();
    EXPECT_EQ(windows[1]->geometry().bottomLeft(), QPoint(0, room().bottom()));
    EXPECT_EQ(windows[2]->geometry().bottomLeft(),
              QPoint(windows[1]->geometry().right() + 1, room().bottom()));
}

// Table windows grow to their form after the area placed them; every window still opens
// wholly inside the area, however many are open already.
TEST_F(WindowsTest, NewWindowsOpenWhollyInsideTheArea)
{
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(execute(ID_FILE_NEW));
    openTableAndCharts();
    ASSERT_EQ(area()->subWindowList().size(), 11);
    for (const QMdiSubWindow *window : area()->subWindowList())
        EXPECT_TRUE(room().contains(window->geometry())) << window->windowTitle().toStdString();
}

} // namespace
