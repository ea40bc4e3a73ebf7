#include "app/mainframe.h"

#include "app/artwork.h"
#include "app/commandtable.h"
#include "app/contexthelpmode.h"
#include "app/helpwindow.h"
#include "app/lockkeys.h"
#include "app/tessavoxresources.h"
#include "framework/commandids.h"
#include "framework/stringtable.h"
#include "framework/view.h"

#include <QStatusBar>
#include <QToolBar>

CMainFrame::CMainFrame(QWidget *parent) : MdiMainWindow(parent)
{
    setWindowTitle(LoadString(IDR_MAINFRAME));
    setWindowIcon(Artwork::applicationIcon());

    m_contextHelp = new ContextHelpMode(this);
    connect(m_contextHelp, &ContextHelpMode::activeChanged, this, [this](bool active) {
        setMessageText(LoadString(active ? IDS_HELP_MODE_MESSAGE : IDS_IDLE_MESSAGE));
    });
    connect(m_contextHelp, &ContextHelpMode::topicChosen, this,
            [this](const QString &topic) { helpWindow()->showTopic(topic); });

    addCommand(ID_HELP_FINDER, [this] { OnHelpFinder(); });
    addCommand(ID_DEFAULT_HELP, [this] { OnHelpFinder(); });
    addCommand(ID_HELP, [this] { OnHelp(); });
    addCommand(ID_CONTEXT_HELP, [this] { OnContextHelp(); });
}

bool CMainFrame::buildMenusAndBars()
{
    setCommands(CommandTable::commands());
    buildMenus(TessavoxResources::mainFrameMenu(), TessavoxResources::documentMenu());
    if (!buildToolBar(TessavoxResources::toolbarButtons(), Artwork::toolbarImages()))
        return false;
    buildStatusBar(LoadString(IDS_IDLE_MESSAGE),
                   {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock});
    if (!statusBar())
        return false;
    refreshCommandStates();
    return true;
}

HelpWindow *CMainFrame::helpWindow()
{
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(this);
    return m_helpWindow;
}

void CMainFrame::OnHelpFinder()
{
    helpWindow()->showTopic(QString());
}

void CMainFrame::OnHelp()
{
    const View *view = activeView();
    helpWindow()->showTopic(
        view ? HelpWindow::topicForView(QString::fromLatin1(view->metaObject()->className()))
             : QString());
}

void CMainFrame::OnContextHelp()
{
    m_contextHelp->start();
}

std::optional<bool> CMainFrame::queryLockKey(Qt::Key key) const
{
    return systemLockKeyState(key);
}
