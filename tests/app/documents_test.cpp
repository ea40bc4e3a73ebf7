// Documents through the running program: opening (dialog, twice, failing, dropped, recent
// list, from the shell), File New, New Window, closing or exiting with unsaved changes, and
// the Window menu's arrangements with a table and both of its charts open.

#include "app/shellopenchannel.h"
#include "apptest.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/documentwindow.h"
#include "framework/filedialogs.h"
#include "framework/messages.h"
#include "framework/recentfilelist.h"

#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScopeGuard>
#include <QTest>
#include <QUrl>

namespace {

TEST_F(AppTest, FileOpenAsksWithItsOwnDialogAndAFileOpenTwiceIsActivated)
{
    const QString path = formantFile(QStringLiteral("vowels.dat"));
    ScopedFileDialogAnswer answer(path);
    execute(ID_FILE_OPEN);
    ASSERT_EQ(answer.requests().size(), 1);
    const FileDialogRequest &request = answer.requests().first();
    EXPECT_EQ(request.patterns, QStringList({"*.txt", "*"})); // every file is listed
    EXPECT_EQ(std::pair(request.title, request.defaultSuffix),
              std::pair(QStringLiteral("Open Tessavox file"), QStringLiteral("txt")));
    ASSERT_EQ(app->documents().size(), 1);
    Document *first = app->documents().first();
    EXPECT_EQ(first->title(), QStringLiteral("vowels.dat"));

    answer.setPath(QString());
    execute(ID_FILE_OPEN);
    app->OpenDocumentFile(formantFile(QStringLiteral("other.txt")));
    EXPECT_EQ(app->OpenDocumentFile(QFileInfo(path).absolutePath() + "/./vowels.dat"), first);
    EXPECT_EQ(app->documents().size(), 2);
    EXPECT_EQ(frame->activeDocument(), first);
}

TEST_F(AppTest, FailedOpenReportsAndLeavesNoWindow)
{
    MessageCapture capture;
    EXPECT_EQ(app->OpenDocumentFile(files.write("empty.txt", {})), nullptr);
    EXPECT_EQ(capture.lastMessage(), "The file has zero length.\nIt cannot be read");
    flushDeletes();
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(app->documents().isEmpty());
    EXPECT_EQ(frame->currentMenus().size(), 3); // still the main menu
    EXPECT_TRUE(app->recentFiles()->isEmpty());
}

TEST_F(AppTest, EachDroppedFileOpensAsADocumentOfItsOwn)
{
    QMimeData mime;
    mime.setUrls(
        {QUrl::fromLocalFile(formantFile("a.txt")), QUrl::fromLocalFile(formantFile("b.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    ASSERT_EQ(app->documents().size(), 2);
    EXPECT_EQ(app->documents().at(1)->title(), "b.txt");
}

TEST_F(AppTest, RecentFilesAreListedReopenedAndDroppedWhenGone)
{
    const QString a = formantFile("a.txt");
    const QString b = formantFile("b.txt");
    app->OpenDocumentFile(a);
    app->OpenDocumentFile(b);
    frame->refreshCommandStates();
    EXPECT_TRUE(frame->commandAction(ID_FILE_MRU_FILE2)->isVisible());
    EXPECT_EQ(frame->commandAction(ID_FILE_MRU_FILE2)->text(),
              "&2 " + QDir::toNativeSeparators(QFileInfo(a).canonicalFilePath()));
    EXPECT_FALSE(frame->commandAction(ID_FILE_MRU_FILE3)->isVisible());

    app->closeAllDocuments();
    flushDeletes();
    execute(ID_FILE_MRU_FILE2);
    ASSERT_EQ(app->documents().size(), 1);
    EXPECT_EQ(app->documents().first()->title(), "a.txt");

    QFile::remove(b);
    MessageCapture capture;
    frame->refreshCommandStates();
    execute(ID_FILE_MRU_FILE2);
    EXPECT_EQ(app->recentFiles()->paths(), QStringList({QFileInfo(a).canonicalFilePath()}));
}

TEST_F(AppTest, NewDocumentsAndNewWindowsAreNumberedAndShownNormal)
{
    execute(ID_FILE_NEW);
    frame->activeFrame()->showMaximized();
    execute(ID_FILE_NEW);
    ASSERT_EQ(app->documents().size(), 2);
    EXPECT_EQ(app->documents().at(0)->title(), "Tessavox1");
    EXPECT_EQ(app->documents().at(1)->title(), "Tessavox2");
    EXPECT_FALSE(frame->activeFrame()->isMaximized());

    Document *doc = app->OpenDocumentFile(formantFile("vowels.txt"));
    execute(ID_WINDOW_NEW);
    ASSERT_EQ(doc->frames().size(), 2);
    EXPECT_EQ(doc->frames().at(0)->windowTitle(), "vowels.txt:1");
    EXPECT_EQ(doc->frames().at(1)->windowTitle(), "vowels.txt:2");
    EXPECT_EQ(frame->activeFrame(), doc->frames().at(1));
}

TEST_F(AppTest, CloseAndExitAskForEveryModifiedDocumentAndCancelStops)
{
    MessageCapture capture(Messages::Answer::Cancel);
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        app->OpenDocumentFile(formantFile(QString::fromLatin1(name)));
    for (int i : {0, 2, 3})
        app->documents().at(i)->setModifiedFlag();

    execute(ID_FILE_CLOSE); // the active document, d.txt
    EXPECT_EQ(capture.messages(), QStringList({"Save changes to d.txt?"}));
    capture.setAnswer(Messages::Answer::No);
    frame->refreshCommandStates();
    execute(ID_FILE_CLOSE);
    EXPECT_EQ(app->documents().size(), 3);

    capture.clear();
    capture.setAnswer(Messages::Answer::Cancel);
    execute(ID_APP_EXIT);
    EXPECT_EQ(capture.messages(), QStringList({"Save changes to a.txt?"}));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app->documents().size(), 3);

    capture.clear();
    capture.setAnswer(Messages::Answer::No);
    execute(ID_APP_EXIT);
    EXPECT_EQ(capture.messages(),
              QStringList({"Save changes to a.txt?", "Save changes to c.txt?"}));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(app->documents().isEmpty());
    flushDeletes();
    frame->refreshCommandStates();
    EXPECT_EQ(frame->windowTitle(), "Tessavox");
}

TEST_F(AppTest, ShellOpenRequestsReachTheRunningInstanceWhoseChannelIsNeverTakenOver)
{
    bool requested = true;
    EXPECT_TRUE(ShellOpenChannel::shellOpenPaths({"tessavox", "v.txt"}, &requested).isEmpty());
    EXPECT_FALSE(requested);
    EXPECT_EQ(ShellOpenChannel::shellOpenPaths({"tessavox", "--shell-open", "v.txt", "/d/b.txt"},
                                               &requested),
              QStringList({QDir::current().absoluteFilePath("v.txt"), "/d/b.txt"}));
    EXPECT_TRUE(requested);

    const QString a = formantFile("a.txt");
    ASSERT_TRUE(
        ShellOpenChannel::send(app->shellChannel()->serverName(), {a, formantFile("b.txt")}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return app->documents().size() == 2; }, 15000));
    EXPECT_EQ(app->documents().at(1)->title(), "b.txt");
    ShellOpenChannel second;
    EXPECT_FALSE(second.listen(app->shellChannel()->serverName()));
    EXPECT_FALSE(ShellOpenChannel::send("tessavox-test-nobody-listens", {a}, 200));
}

// A shell open request reaches the user's instance on the display it was made on; an
// instance on another display neither receives it nor blocks one from starting there.
TEST(ShellOpenChannel, EachDisplayHasAnInstanceOfItsOwn)
{
    const auto restore = [](const char *name) {
        return qScopeGuard([name, set = qEnvironmentVariableIsSet(name), value = qgetenv(name)] {
            set ? qputenv(name, value) : qunsetenv(name);
        });
    };
    const auto keepDisplay = restore("DISPLAY");
    const auto keepWayland = restore("WAYLAND_DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":4711");
    const QString first = ShellOpenChannel::defaultServerName();
    qputenv("DISPLAY", ":4711.1");
    EXPECT_EQ(ShellOpenChannel::defaultServerName(), first) << "another screen, same display";
    qputenv("DISPLAY", ":4712");
    const QString second = ShellOpenChannel::defaultServerName();
    EXPECT_NE(second, first);
    qputenv("WAYLAND_DISPLAY", "/run/user/4711/wayland-9");
    const QString wayland = ShellOpenChannel::defaultServerName();
    EXPECT_NE(wayland, second);
    EXPECT_FALSE(wayland.contains('/')) << wayland.toStdString();

    ShellOpenChannel onFirst;
    ShellOpenChannel onSecond;
    ASSERT_TRUE(onFirst.listen(first));
    ASSERT_TRUE(onSecond.listen(second));
    QStringList reachedFirst;
    QStringList reachedSecond;
    QObject::connect(&onFirst, &ShellOpenChannel::openRequested,
                     [&](const QStringList &paths) { reachedFirst << paths; });
    QObject::connect(&onSecond, &ShellOpenChannel::openRequested,
                     [&](const QStringList &paths) { reachedSecond << paths; });
    ASSERT_TRUE(ShellOpenChannel::send(first, {"/data/vowels.txt"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reachedFirst.isEmpty(); }, 15000));
    QTest::qWait(50);
    EXPECT_EQ(reachedFirst, QStringList({"/data/vowels.txt"}));
    EXPECT_TRUE(reachedSecond.isEmpty());
}

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

// Cascade once ran the front window below the area and Tile with four windows put two of
// them below it; with any number of windows, each lies wholly inside the area, Tile without
// overlap.
TEST_F(WindowsTest, CascadeAndTileKeepFourAndElevenWindowsInsideTheArea)
{
    for (int count : {4, 11}) {
        SCOPED_TRACE(count);
        area()->closeAllSubWindows();
        QCoreApplication::processEvents();
        while (area()->subWindowList().size() + 3 < count)
            ASSERT_TRUE(execute(ID_FILE_NEW));
        openTableAndCharts();
        const QList<QMdiSubWindow *> windows = area()->subWindowList();
        ASSERT_EQ(windows.size(), count);
        windows.first()->showMaximized();
        for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ}) {
            ASSERT_TRUE(execute(id));
            QCoreApplication::processEvents();
            for (int i = 0; i < count; ++i) {
                EXPECT_TRUE(room().contains(windows[i]->geometry()))
                    << id << " window " << i << " at " << windows[i]->x() << "," << windows[i]->y()
                    << " " << windows[i]->width() << "x" << windows[i]->height();
                for (int j = i + 1; id == ID_WINDOW_TILE_HORZ && j < count; ++j)
                    EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry()))
                        << i << " " << j;
            }
        }
    }
}

} // namespace

namespace {

// A measured table with its facet chart, its Statistics window and more: Tile and Cascade keep
// each one wholly inside the area, and Tile leaves none overlapping another.
TEST_F(WindowsTest, TileAndCascadeKeepEveryWindowInsideTheArea)
{
    QByteArray text = "Speaker\tSex\tVowel\tF1\tF2\n";
    for (int s = 0; s < 6; ++s)
        for (const char *vowel : {"i", "a", "u"})
            for (int k = 0; k < 4; ++k)
                text += QByteArray::number(s) + (s % 2 ? "\tf\t" : "\tm\t") + vowel + '\t' +
                        QByteArray::number(300 + 40 * k + 90 * s) + '\t' +
                        QByteArray::number(900 + 300 * k + 50 * s) + '\n';
    auto *doc = qobject_cast<CTessavoxDoc *>(app->OpenDocumentFile(files.write("t.tsv", text)));
    ASSERT_TRUE(doc);
    doc->m_analysis.facetColumn = QStringLiteral("Sex");
    QMdiSubWindow *table = area()->activeSubWindow();
    for (int id : {ID_PLOT_F1F2, ID_PLOT_STATISTICS, ID_PLOT_F1F3}) {
        area()->setActiveSubWindow(table);
        ASSERT_TRUE(execute(id)) << id;
    }
    QCoreApplication::processEvents();
    const auto describe = [](const QRect &r) {
        return QStringLiteral("%1,%2 %3x%4")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .toStdString();
    };
    const auto inside = [&](const char *step) {
        for (const QMdiSubWindow *window : area()->subWindowList())
            EXPECT_TRUE(room().contains(window->geometry()))
                << step << ' ' << window->windowTitle().toStdString() << ' '
                << describe(window->geometry()) << " in " << describe(room());
    };
    for (int count : {4, 11}) {
        for (int k = 0; k < count && area()->subWindowList().size() < count; ++k) {
            area()->setActiveSubWindow(table);
            ASSERT_TRUE(execute(ID_WINDOW_NEW));
        }
        ASSERT_EQ(area()->subWindowList().size(), count);
        ASSERT_TRUE(execute(ID_WINDOW_TILE_HORZ));
        QCoreApplication::processEvents();
        inside("tile");
        const QList<QMdiSubWindow *> windows = area()->subWindowList();
        for (int i = 0; i < windows.size(); ++i)
            for (int j = i + 1; j < windows.size(); ++j) {
                EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry()))
                    << i << ' ' << j;
            }
        ASSERT_TRUE(execute(ID_WINDOW_CASCADE));
        QCoreApplication::processEvents();
        inside("cascade");
        for (const QMdiSubWindow *window : area()->subWindowList()) {
            const QWidget *view = window->widget();
            if (view->sizeHint().isValid()) {
                EXPECT_GE(view->height(), std::min(view->sizeHint().height(), room().height() / 2))
                    << window->windowTitle().toStdString();
            }
        }
    }
}

} // namespace
