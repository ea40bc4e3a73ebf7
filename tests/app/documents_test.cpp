// Documents through the running program: opening (dialog, twice, failing, dropped, recent
// list), File New, New Window, and closing or exiting with unsaved changes.

#include "apptest.h"
#include "childframe.h"
#include "commandids.h"
#include "commandrouter.h"
#include "document.h"
#include "filedialogs.h"
#include "messages.h"
#include "recentfilelist.h"

#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

TEST_F(AppTest, FileOpenAsksWithItsOwnDialogAndOpensTheChoice)
{
    const QString path = formantFile(QStringLiteral("vowels.dat"));
    ScopedFileDialogAnswer answer(path);
    ASSERT_TRUE(CommandRouter::instance().execute(ID_FILE_OPEN));
    ASSERT_EQ(answer.requests().size(), 1);
    const FileDialogRequest &request = answer.requests().first();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.title, QStringLiteral("Open Tessavox file"));
    EXPECT_EQ(request.patterns, QStringList({"*.txt", "*"})); // every file is listed
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    ASSERT_EQ(app->documents().size(), 1);
    EXPECT_EQ(app->documents().first()->title(), QStringLiteral("vowels.dat"));

    answer.setPath(QString());
    CommandRouter::instance().execute(ID_FILE_OPEN);
    EXPECT_EQ(app->documents().size(), 1);
}

TEST_F(AppTest, OpeningAnOpenFileAgainActivatesItsWindow)
{
    const QString path = formantFile(QStringLiteral("vowels.txt"));
    Document *first = app->OpenDocumentFile(path);
    app->OpenDocumentFile(formantFile(QStringLiteral("other.txt")));
    const QString roundabout = QFileInfo(path).absolutePath() + QStringLiteral("/./vowels.txt");
    EXPECT_EQ(app->OpenDocumentFile(roundabout), first);
    EXPECT_EQ(app->documents().size(), 2);
    EXPECT_EQ(frame->activeDocument(), first);
}

TEST_F(AppTest, FailedOpenReportsAndLeavesNoWindow)
{
    MessageCapture capture;
    EXPECT_EQ(app->OpenDocumentFile(files.write(QStringLiteral("empty.txt"), QByteArray())),
              nullptr);
    EXPECT_EQ(capture.lastMessage(),
              QStringLiteral("The file has zero length.\nIt cannot be read"));
    flushDeletes();
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(app->documents().isEmpty());
    EXPECT_EQ(frame->currentMenus().size(), 3); // still the main menu
    EXPECT_TRUE(app->recentFiles()->isEmpty());
}

TEST_F(AppTest, EachDroppedFileOpensAsADocumentOfItsOwn)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(formantFile(QStringLiteral("a.txt"))),
                  QUrl::fromLocalFile(formantFile(QStringLiteral("b.txt")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);

    QStringList titles;
    for (Document *doc : app->documents())
        titles << doc->title();
    EXPECT_EQ(titles, QStringList({"a.txt", "b.txt"}));
}

TEST_F(AppTest, RecentFilesAreKeptListedAndReopened)
{
    const QString a = formantFile(QStringLiteral("a.txt"));
    const QString b = formantFile(QStringLiteral("b.txt"));
    app->OpenDocumentFile(a);
    app->OpenDocumentFile(b);
    EXPECT_EQ(QSettings().value(QStringLiteral("Recent File List/File1")).toString(),
              QFileInfo(b).canonicalFilePath());

    frame->refreshCommandStates();
    EXPECT_TRUE(frame->commandAction(ID_FILE_MRU_FILE2)->isVisible());
    EXPECT_EQ(frame->commandAction(ID_FILE_MRU_FILE2)->text(),
              QStringLiteral("&2 ") + QDir::toNativeSeparators(QFileInfo(a).canonicalFilePath()));
    EXPECT_FALSE(frame->commandAction(ID_FILE_MRU_FILE3)->isVisible());

    app->CloseAllDocuments();
    flushDeletes();
    ASSERT_TRUE(CommandRouter::instance().execute(ID_FILE_MRU_FILE2));
    ASSERT_EQ(app->documents().size(), 1);
    EXPECT_EQ(app->documents().first()->title(), QStringLiteral("a.txt"));

    // An entry that no longer opens leaves the list.
    QFile::remove(b);
    MessageCapture capture;
    frame->refreshCommandStates();
    CommandRouter::instance().execute(ID_FILE_MRU_FILE2);
    EXPECT_EQ(app->recentFiles()->paths(), QStringList({QFileInfo(a).canonicalFilePath()}));
}

TEST_F(AppTest, NewDocumentsAndNewWindowsAreNumberedAndShownNormal)
{
    CommandRouter::instance().execute(ID_FILE_NEW);
    ASSERT_EQ(app->documents().size(), 1);
    frame->activeFrame()->showMaximized();
    CommandRouter::instance().execute(ID_FILE_NEW);
    ASSERT_EQ(app->documents().size(), 2);
    EXPECT_EQ(app->documents().at(0)->title(), QStringLiteral("Tessavox1"));
    EXPECT_EQ(app->documents().at(1)->title(), QStringLiteral("Tessavox2"));
    EXPECT_FALSE(frame->activeFrame()->isMaximized());

    Document *doc = app->OpenDocumentFile(formantFile(QStringLiteral("vowels.txt")));
    CommandRouter::instance().execute(ID_WINDOW_NEW);
    ASSERT_EQ(doc->frames().size(), 2);
    EXPECT_EQ(doc->frames().at(0)->windowTitle(), QStringLiteral("vowels.txt:1"));
    EXPECT_EQ(doc->frames().at(1)->windowTitle(), QStringLiteral("vowels.txt:2"));
    EXPECT_EQ(frame->activeFrame(), doc->frames().at(1));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tessavox - vowels.txt"));
}

TEST_F(AppTest, ClosingAModifiedDocumentAsksAndCancelKeepsIt)
{
    MessageCapture capture(Messages::Answer::Cancel);
    Document *doc = app->OpenDocumentFile(formantFile(QStringLiteral("vowels.txt")));
    doc->setModifiedFlag();
    CommandRouter::instance().execute(ID_FILE_CLOSE);
    EXPECT_EQ(capture.messages(), QStringList({"Save changes to vowels.txt?"}));
    EXPECT_EQ(app->documents().size(), 1);

    capture.setAnswer(Messages::Answer::No);
    frame->refreshCommandStates();
    CommandRouter::instance().execute(ID_FILE_CLOSE);
    EXPECT_TRUE(app->documents().isEmpty());
    flushDeletes();
    frame->refreshCommandStates();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tessavox"));
}

TEST_F(AppTest, ExitAsksForEveryModifiedDocumentAndCancelStops)
{
    MessageCapture capture(Messages::Answer::Cancel);
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        app->OpenDocumentFile(formantFile(QString::fromLatin1(name)));
    app->documents().at(0)->setModifiedFlag();
    app->documents().at(2)->setModifiedFlag();

    CommandRouter::instance().execute(ID_APP_EXIT);
    EXPECT_EQ(capture.messages(), QStringList({"Save changes to a.txt?"}));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app->documents().size(), 3);

    capture.clear();
    capture.setAnswer(Messages::Answer::No);
    CommandRouter::instance().execute(ID_APP_EXIT);
    EXPECT_EQ(capture.messages(),
              QStringList({"Save changes to a.txt?", "Save changes to c.txt?"}));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(app->documents().isEmpty());
}

} // namespace
