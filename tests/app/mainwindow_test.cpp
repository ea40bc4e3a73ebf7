// The main window as the user first meets it: menus, toolbar, status bar, greying, help
// and the About box.

#include "aboutdlg.h"
#include "apptest.h"
#include "commandids.h"
#include "commandrouter.h"
#include "contexthelpmode.h"
#include "helpwindow.h"
#include "messages.h"
#include "modaldialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

namespace {

// One line per menu entry: "menu: caption<TAB>shortcut", "menu: -" for a separator.
QStringList describe(const QList<QMenu *> &menus)
{
    QStringList lines;
    for (QMenu *menu : menus) {
        for (QAction *action : menu->actions()) {
            if (!action->isVisible())
                continue;
            QString line = menu->title() + QStringLiteral(": ");
            if (action->isSeparator()) {
                line += QLatin1Char('-');
            } else {
                line += action->text();
                if (!action->shortcut().isEmpty())
                    line += QLatin1Char('\t') + action->shortcut().toString();
            }
            lines << line;
        }
    }
    return lines;
}

const QStringList kMainMenu = {
    "&File: &New\tCtrl+N",
    "&File: &Open...\tCtrl+O",
    "&File: -",
    "&File: P&rint Setup...",
    "&File: -",
    "&File: Recent File",
    "&File: -",
    "&File: E&xit",
    "&View: &Toolbar",
    "&View: &Status Bar",
    "&Help: &Help Topics",
    "&Help: -",
    "&Help: &About Tessavox...",
};

const QStringList kDocumentMenu = {
    "&File: &New\tCtrl+N",
    "&File: &Open...\tCtrl+O",
    "&File: &Close",
    "&File: &Save\tCtrl+S",
    "&File: Save &As...",
    "&File: -",
    "&File: Save As Bitmap...",
    "&File: -",
    "&File: &View/Modify ",
    "&File: -",
    "&File: &Print...\tCtrl+P",
    "&File: Print Pre&view",
    "&File: P&rint Setup...",
    "&File: -",
    "&File: Recent File",
    "&File: -",
    "&File: E&xit",
    "&Edit: &Undo\tCtrl+Z",
    "&Edit: -",
    "&Edit: Cu&t\tCtrl+X",
    "&Edit: &Copy\tCtrl+C",
    "&Edit: &Paste\tCtrl+V",
    "&Edit: -",
    "&Edit: Add Row\tCtrl+I",
    "&Edit: Remove Row\tCtrl+R",
    "&Edit: -",
    "&Edit: Sort",
    "&Edit: -",
    "&Edit: Assign Order",
    "&Plot: F1 vs F2",
    "&Plot: F1 vs F2'",
    "&Plot: F1 vs F3",
    "&Options: Calculation/Display...",
    "&View: &Toolbar",
    "&View: &Status Bar",
    "&Window: &New Window",
    "&Window: &Cascade",
    "&Window: &Tile",
    "&Window: &Arrange Icons",
    "&Help: &Help Topics",
    "&Help: -",
    "&Help: &About Tessavox...",
};

TEST_F(AppTest, StartsMaximizedAndEmptyUnderTheMainMenu)
{
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tessavox"));
    EXPECT_EQ(describe(frame->currentMenus()), kMainMenu);
    EXPECT_FALSE(state(ID_FILE_MRU_FILE1).enabled);
    EXPECT_EQ(frame->messageText(), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(QSettings().organizationName(),
              QStringLiteral("Local AppWizard-Generated Applications"));
}

TEST_F(AppTest, DocumentWindowBringsTheDocumentMenuAndTheTitle)
{
    const QString path = formantFile(QStringLiteral("vowels.txt"));
    app->OpenDocumentFile(path);
    frame->refreshCommandStates();
    // The opened file has taken the place of the greyed "Recent File".
    QStringList expected = kDocumentMenu;
    expected.replace(expected.indexOf(QStringLiteral("&File: Recent File")),
                     QStringLiteral("&File: &1 ") + QFileInfo(path).canonicalFilePath());
    EXPECT_EQ(describe(frame->currentMenus()), expected);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tessavox - vowels.txt"));
    // Every accelerator of the table, including the second keys of the edit commands.
    EXPECT_TRUE(
        frame->commandAction(ID_EDIT_UNDO)->shortcuts().contains(QKeySequence("Alt+Backspace")));
    EXPECT_TRUE(frame->commandAction(ID_EDIT_CUT)->shortcuts().contains(QKeySequence("Shift+Del")));
    EXPECT_TRUE(frame->commandAction(ID_EDIT_COPY)->shortcuts().contains(QKeySequence("Ctrl+Ins")));
    EXPECT_TRUE(
        frame->commandAction(ID_EDIT_PASTE)->shortcuts().contains(QKeySequence("Shift+Ins")));
    EXPECT_EQ(frame->commandAction(ID_HELP)->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(frame->commandAction(ID_CONTEXT_HELP)->shortcut(), QKeySequence("Shift+F1"));
    EXPECT_EQ(frame->commandAction(ID_PREV_PANE)->shortcut(), QKeySequence("Shift+F6"));
}

TEST_F(AppTest, ToolbarHasTheTwelveEntriesWithPromptsAndTooltips)
{
    QStringList entries;
    for (QAction *action : frame->toolBar()->actions())
        entries << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    EXPECT_EQ(entries, QStringList({"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "|",
                                    "Print", "|", "About", "Help"}));
    EXPECT_EQ(frame->toolBar()->iconSize(), QSize(16, 15));
    EXPECT_EQ(frame->commandAction(ID_FILE_OPEN)->statusTip(),
              QStringLiteral("Open an existing document"));
    EXPECT_EQ(frame->commandAction(ID_CONTEXT_HELP)->statusTip(),
              QStringLiteral("Display help for clicked on buttons, menus and windows"));
    // The program's own commands have no prompt.
    EXPECT_TRUE(frame->commandAction(ID_PLOT_F1F2)->statusTip().isEmpty());

    EXPECT_TRUE(state(ID_VIEW_TOOLBAR).checked);
    CommandRouter::instance().execute(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame->toolBar()->isHidden());
    EXPECT_FALSE(state(ID_VIEW_TOOLBAR).checked);
}

TEST_F(AppTest, GreyingFollowsTheKindOfTheActiveWindow)
{
    EXPECT_FALSE(state(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(state(ID_WINDOW_NEW).enabled);

    app->OpenDocumentFile(formantFile(QStringLiteral("vowels.txt")));
    for (int id : {ID_FILE_VIEW_MODIFY, ID_EDIT_UNDO, ID_FILE_PRINT_PREVIEW, ID_FILE_SAVE_BITMAP})
        EXPECT_FALSE(state(id).enabled) << id;
    for (int id : {ID_FILE_SAVE, ID_FILE_CLOSE, ID_FILE_PRINT, ID_EDIT_ADD_ROW, ID_PLOT_F1F2,
                   ID_OPTIONS_CALC_DISPLAY, ID_WINDOW_NEW})
        EXPECT_TRUE(state(id).enabled) << id;

    MessageCapture capture;
    ASSERT_TRUE(CommandRouter::instance().execute(ID_PLOT_F1F2));
    ASSERT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();
    ASSERT_EQ(windowCount(), 2);
    frame->refreshCommandStates();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tessavox - vowels.txt"));
    for (int id : {ID_FILE_VIEW_MODIFY, ID_EDIT_UNDO, ID_EDIT_ADD_ROW, ID_EDIT_CUT, ID_PLOT_F1F2,
                   ID_OPTIONS_CALC_DISPLAY})
        EXPECT_FALSE(state(id).enabled) << id;
    // The document's own commands go on in any of its windows.
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_WINDOW_NEW})
        EXPECT_TRUE(state(id).enabled) << id;
}

TEST_F(AppTest, HelpOpensTheGuideAtTheTopicOfWhatIsPointedAt)
{
    app->OpenDocumentFile(formantFile(QStringLiteral("vowels.txt")));
    CommandRouter::instance().execute(ID_HELP);
    EXPECT_TRUE(frame->helpWindow()->isVisible());
    EXPECT_EQ(frame->helpWindow()->currentTopic(), QStringLiteral("table"));
    const auto *browser = frame->helpWindow()->findChild<QTextBrowser *>();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("The table and its commands")));

    CommandRouter::instance().execute(ID_CONTEXT_HELP);
    EXPECT_TRUE(frame->contextHelp()->isActive());
    EXPECT_EQ(frame->messageText(), QStringLiteral("Select an object on which to get Help"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &escape);
    EXPECT_FALSE(frame->contextHelp()->isActive());
    EXPECT_EQ(frame->messageText(), QStringLiteral("For Help, press F1"));

    auto *print = qobject_cast<QToolButton *>(
        frame->toolBar()->widgetForAction(frame->commandAction(ID_FILE_PRINT)));
    ASSERT_TRUE(print);
    EXPECT_EQ(ContextHelpMode::topicAt(print, print->mapToGlobal(QPoint(2, 2))),
              QStringLiteral("printing"));
}

TEST_F(AppTest, AboutBoxShowsPictureVersionAndDates)
{
    QString caption;
    QStringList texts;
    QSize picture;
    ScopedModalRunner runner([&](QDialog &dialog) {
        caption = dialog.windowTitle();
        for (const QLabel *label : dialog.findChildren<QLabel *>()) {
            if (!label->pixmap().isNull())
                picture = label->pixmap().size();
            else
                texts << label->text();
        }
        return int(QDialog::Accepted);
    });
    CommandRouter::instance().execute(ID_APP_ABOUT);
    EXPECT_EQ(caption, QStringLiteral("About Tessavox"));
    EXPECT_EQ(picture, QSize(413, 235));
    EXPECT_TRUE(texts.contains(QStringLiteral("Tessavox Version 4.0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Release date : 10-10-2002")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Last revision: 1-17-2003")));
}

} // namespace
