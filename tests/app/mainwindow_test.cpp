// The main window as the user first meets it: menus, accelerators, toolbar, status bar,
// greying and the user guide.

#include "app/commandtable.h"
#include "app/contexthelpmode.h"
#include "app/helpwindow.h"
#include "app/tessavoxresources.h"
#include "apptest.h"
#include "document/tessavoxdoc.h"
#include "framework/commandids.h"
#include "framework/documentwindow.h"
#include "framework/messages.h"

#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

namespace {

// One line per menu: "title: entry|entry", an entry being "caption<TAB>keys" or "-".
QStringList describe(const QList<QMenu *> &menus)
{
    QStringList lines;
    for (QMenu *menu : menus) {
        QStringList entries;
        for (QAction *action : menu->actions()) {
            if (!action->isVisible())
                continue;
            QStringList keys;
            for (const QKeySequence &key : action->shortcuts())
                keys << key.toString();
            entries << (action->isSeparator() ? QStringLiteral("-")
                        : keys.isEmpty()      ? action->text()
                                              : action->text() + '\t' + keys.join(','));
        }
        lines << menu->title() + ": " + entries.join('|');
    }
    return lines;
}

const QString kViewMenu = "&View: &Toolbar|&Status Bar";
const QString kHelpMenu = "&Help: &Help Topics|-|&About Tessavox...";

TEST_F(AppTest, MenusAndAcceleratorsFollowTheActiveWindow)
{
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(frame->windowTitle(), "Tessavox");
    EXPECT_EQ(frame->messageText(), "For Help, press F1");
    EXPECT_EQ(QSettings().organizationName(), "Local AppWizard-Generated Applications");
    EXPECT_EQ(describe(frame->currentMenus()),
              QStringList({"&File: &New\tCtrl+N|&Open...\tCtrl+O|&Measure Recordings...|-|P&rint "
                           "Setup...|-|Recent "
                           "File|-|E&xit",
                           kViewMenu, kHelpMenu}));
    EXPECT_FALSE(state(ID_FILE_MRU_FILE1).enabled);
    QStringList tools;
    for (QAction *action : frame->toolBar()->actions())
        tools << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
    EXPECT_EQ(tools, QStringList({"New", "Open", "Save", "|", "Cut", "Copy", "Paste", "|", "Print",
                                  "|", "About", "Help"}));
    EXPECT_EQ(frame->commandAction(ID_FILE_OPEN)->statusTip(), "Open an existing document");

    // The opened file takes the place of the greyed "Recent File".
    const QString path = formantFile("vowels.txt");
    app->OpenDocumentFile(path);
    frame->refreshCommandStates();
    EXPECT_EQ(
        describe(frame->currentMenus()),
        QStringList({"&File: &New\tCtrl+N|&Open...\tCtrl+O|&Measure Recordings...|&Close|&Save\t"
                     "Ctrl+S|Save "
                     "&As...|-|Save As Bitmap...|&Export Chart...|-|&View/Modify "
                     "|-|&Print...\tCtrl+P|Print "
                     "Pre&view|P&rint Setup...|-|&1 " +
                         QFileInfo(path).canonicalFilePath() + "|-|E&xit",
                     "&Edit: &Undo\tCtrl+Z,Alt+Backspace|&Redo\tCtrl+Y,Ctrl+Shift+Z|-|Cu&t\tCtrl+X,"
                     "Shift+Del|&Copy\t"
                     "Ctrl+C,Ctrl+Ins|&Paste\tCtrl+V,Shift+Ins|-|Add Row\tCtrl+I|Remove "
                     "Row\tCtrl+R|-|Sort|-|Assign Order|-|E&xclude Rows\tCtrl+E|I&nclude "
                     "Rows\tCtrl+Shift+E|Select &Outliers|&Play Token",
                     "&Plot: F1 vs F2|F1 vs F2'|F1 vs F3|&Statistics",
                     "&Options: Calculation/Display...|&Analysis...", kViewMenu + "|-|&Reset Zoom",
                     "&Window: &New Window|&Cascade|&Tile|&Arrange Icons", kHelpMenu}));
    EXPECT_EQ(frame->windowTitle(), "Tessavox - vowels.txt");
    EXPECT_EQ(frame->commandAction(ID_HELP)->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(frame->commandAction(ID_CONTEXT_HELP)->shortcut(), QKeySequence("Shift+F1"));
    EXPECT_EQ(frame->commandAction(ID_PREV_PANE)->shortcut(), QKeySequence("Shift+F6"));
}

// A chart window greys the table's own commands but goes on with the document's, Undo and
// Redo among them: they reach the table from there.
TEST_F(AppTest, GreyingFollowsTheKindOfTheActiveWindowAndUndoReachesTheTableFromItsCharts)
{
    EXPECT_FALSE(state(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(state(ID_WINDOW_NEW).enabled);

    auto *doc = qobject_cast<CTessavoxDoc *>(app->OpenDocumentFile(formantFile("vowels.txt")));
    ASSERT_TRUE(doc);
    for (int id : {ID_FILE_VIEW_MODIFY, ID_EDIT_UNDO, ID_FILE_PRINT_PREVIEW, ID_FILE_SAVE_BITMAP})
        EXPECT_FALSE(state(id).enabled) << id;
    for (int id : {ID_FILE_SAVE, ID_FILE_CLOSE, ID_FILE_PRINT, ID_EDIT_ADD_ROW, ID_PLOT_F1F2,
                   ID_OPTIONS_CALC_DISPLAY, ID_WINDOW_NEW})
        EXPECT_TRUE(state(id).enabled) << id;

    const int rows = doc->m_nTokenCount;
    ASSERT_TRUE(execute(ID_EDIT_ADD_ROW));
    MessageCapture capture;
    ASSERT_TRUE(execute(ID_PLOT_F1F2));
    ASSERT_TRUE(capture.events().isEmpty()) << capture.lastMessage().toStdString();
    ASSERT_EQ(doc->frames().size(), 2);
    for (int id : {ID_FILE_VIEW_MODIFY, ID_EDIT_REDO, ID_EDIT_ADD_ROW, ID_EDIT_CUT, ID_PLOT_F1F2,
                   ID_OPTIONS_CALC_DISPLAY})
        EXPECT_FALSE(state(id).enabled) << id;
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_WINDOW_NEW, ID_EDIT_UNDO})
        EXPECT_TRUE(state(id).enabled) << id;
    // The star marks what File Save has not written, and goes when Undo takes it back.
    EXPECT_EQ(frame->windowTitle(), "Tessavox - vowels.txt*");
    ASSERT_TRUE(execute(ID_EDIT_UNDO));
    EXPECT_EQ(doc->m_nTokenCount, rows);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(frame->windowTitle(), "Tessavox - vowels.txt");
    EXPECT_FALSE(state(ID_EDIT_UNDO).enabled);
    ASSERT_TRUE(execute(ID_EDIT_REDO));
    EXPECT_EQ(doc->m_nTokenCount, rows + 1);
    EXPECT_TRUE(doc->isModified());
}

// The toolbar and the keys follow windows opening and closing and the commands run, with
// no key press or click in between to prompt them.
TEST_F(AppTest, CommandStatesFollowWindowsAndCommandsWithoutAnyInput)
{
    const auto enabled = [this](int id) {
        QCoreApplication::processEvents();
        return frame->commandAction(id)->isEnabled();
    };
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    app->OnFileNew();
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    EXPECT_FALSE(enabled(ID_EDIT_REMOVE_ROW));
    ASSERT_TRUE(execute(ID_EDIT_ADD_ROW));
    EXPECT_TRUE(enabled(ID_EDIT_REMOVE_ROW));

    app->documents().first()->frames().first()->closeWithoutPrompt();
    flushDeletes();
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    EXPECT_FALSE(enabled(ID_FILE_SAVE));
    EXPECT_EQ(frame->windowTitle(), "Tessavox");
}

TEST_F(AppTest, HelpOpensTheGuideAtTheTopicOfWhatIsPointedAt)
{
    app->OpenDocumentFile(formantFile("vowels.txt"));
    execute(ID_HELP);
    EXPECT_TRUE(frame->helpWindow()->isVisible());
    EXPECT_EQ(frame->helpWindow()->currentTopic(), "table");
    const auto *browser = frame->helpWindow()->findChild<QTextBrowser *>();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->toPlainText().contains("The table and its commands"));

    execute(ID_CONTEXT_HELP);
    EXPECT_TRUE(frame->contextHelp()->isActive());
    EXPECT_EQ(frame->messageText(), "Select an object on which to get Help");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &escape);
    EXPECT_FALSE(frame->contextHelp()->isActive());
    EXPECT_EQ(frame->messageText(), "For Help, press F1");

    auto *print = qobject_cast<QToolButton *>(
        frame->toolBar()->widgetForAction(frame->commandAction(ID_FILE_PRINT)));
    ASSERT_TRUE(print);
    EXPECT_EQ(ContextHelpMode::topicAt(print, print->mapToGlobal(QPoint(2, 2))), "printing");
}

QStringList captures(const QString &html, const char *pattern)
{
    QStringList found;
    for (const QRegularExpressionMatch &m :
         QRegularExpression(QString::fromLatin1(pattern)).globalMatch(html))
        found << m.captured(1);
    return found;
}

// A menu item or toolbar button without a row would show no caption, prompt or keys; the
// guide explains each under a topic that exists, and its links and pictures resolve.
TEST(CommandTable, DescribesEveryMenuAndToolbarCommandOnceAndTheGuideExplainsEach)
{
    HelpWindow window; // registers the guide's resources
    QFile file(QStringLiteral(":/help/tessavox.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    const QStringList list = captures(html, "<a name=\"([^\"]+)\"");
    const QSet<QString> names(list.begin(), list.end());
    QList<int> ids;
    for (const Command &command : CommandTable::commands()) {
        EXPECT_FALSE(ids.contains(command.id)) << command.id;
        ids << command.id;
    }
    for (const auto &menu :
         {TessavoxResources::mainFrameMenu(), TessavoxResources::documentMenu()}) {
        for (const MenuItem &item : menu) {
            if (item.id == 0)
                continue;
            EXPECT_TRUE(ids.contains(item.id)) << item.menu << " " << item.id;
            const Command *command = CommandTable::find(item.id);
            // The recent files put their names in place of a caption.
            EXPECT_TRUE(item.id == ID_FILE_MRU_FILE1 || (command && command->caption)) << item.id;
            if (!command || !command->caption)
                continue;
            // "&About Tessavox..." as the guide writes it: "About Tessavox...".
            const QString caption = QString::fromUtf8(command->caption).remove('&').trimmed();
            EXPECT_TRUE(html.contains("<td>" + caption.toHtmlEscaped() + "</td>"))
                << caption.toStdString();
            EXPECT_TRUE(names.contains(HelpWindow::topicForCommand(item.id)))
                << caption.toStdString();
        }
    }
    for (const ToolbarButton &button : TessavoxResources::toolbarButtons())
        EXPECT_TRUE(button.id == 0 || ids.contains(button.id)) << button.id;
    for (const char *view : {"CTessavoxFormView", "CPlotViewF1F2", "CPlotViewF1F3"})
        EXPECT_TRUE(names.contains(HelpWindow::topicForView(QString::fromLatin1(view)))) << view;
    for (const QString &link : captures(html, "href=\"#([^\"]+)\""))
        EXPECT_TRUE(names.contains(link)) << link.toStdString();
    const QStringList pictures = captures(html, "<img src=\"([^\"]+)\"");
    EXPECT_FALSE(pictures.isEmpty());
    for (const QString &picture : pictures)
        EXPECT_FALSE(QImage(":/help/" + picture).isNull()) << picture.toStdString();
}

} // namespace
