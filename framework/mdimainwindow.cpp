#include "framework/mdimainwindow.h"

#include "framework/application.h"
#include "framework/commandids.h"
#include "framework/commandmenus.h"
#include "framework/commandrouter.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/documentwindow.h"
#include "framework/lockindicators.h"
#include "framework/messages.h"
#include "framework/recentfilelist.h"
#include "framework/stringtable.h"
#include "framework/view.h"
#include "framework/windowarrangement.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

MdiMainWindow::MdiMainWindow(QWidget *parent) : QMainWindow(parent)
{
    m_mdiArea = new QMdiArea(this);
    m_menus = new CommandMenus(*this, *m_mdiArea);
    connect(m_menus, &CommandMenus::menuAboutToShow, this, &MdiMainWindow::refreshCommandStates);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    DocTemplate::setMdiArea(m_mdiArea);
    setAcceptDrops(true);

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MdiMainWindow::onSubWindowActivated);
    CommandRouter &router = CommandRouter::instance();
    router.setRoute([this] {
        return QList<CommandTarget *>{activeView(), activeDocument(), activeFrame(), this,
                                      Application::instance()};
    });
    connect(&router, &CommandRouter::updateRequested, this, &MdiMainWindow::refreshCommandStates);

    addCommand(
        ID_VIEW_TOOLBAR, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); },
        [this](CommandState &ui) {
            ui.setEnabled(m_toolBar != nullptr);
            ui.setChecked(m_toolBar && m_toolBar->isVisible());
        });
    addCommand(
        ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
        [this](CommandState &ui) { ui.setChecked(statusBar()->isVisible()); });
    addCommand(
        ID_WINDOW_NEW, [this] { OnWindowNew(); },
        [this](CommandState &ui) {
            ui.setEnabled(activeDocument() && activeDocument()->docTemplate());
        });
    const auto anyWindow = [this](CommandState &ui) { ui.setEnabled(activeFrame() != nullptr); };
    addCommand(
        ID_WINDOW_CASCADE, [this] { OnWindowCascade(); }, anyWindow);
    addCommand(
        ID_WINDOW_TILE_HORZ, [this] { OnWindowTileHorz(); }, anyWindow);
    addCommand(
        ID_WINDOW_ARRANGE, [this] { OnWindowArrange(); }, anyWindow);

    // What the commands may do changes with the active window (above), its document's
    // modified flag and windows (onSubWindowActivated), the clipboard, and every command
    // run; each asks for one refresh.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CommandRouter::requestUpdate);
}

MdiMainWindow::~MdiMainWindow()
{
    // The indicators ask this window about the keys; they must not outlive it.
    delete m_lockIndicators;
    // The document windows go after this class is gone; their last signals must not reach it.
    m_mdiArea->disconnect(this);
    QGuiApplication::clipboard()->disconnect(this);
    for (QMdiSubWindow *window : m_mdiArea->subWindowList())
        window->disconnect(this);
    CommandRouter::instance().disconnect(this);
    CommandRouter::instance().setRoute({});
    if (DocTemplate::mdiArea() == m_mdiArea)
        DocTemplate::setMdiArea(nullptr);
}

DocumentWindow *MdiMainWindow::activeFrame() const
{
    auto *frame = qobject_cast<DocumentWindow *>(m_mdiArea->currentSubWindow());
    return frame && !frame->isClosing() ? frame : nullptr;
}

View *MdiMainWindow::activeView() const
{
    const DocumentWindow *frame = activeFrame();
    return frame ? frame->activeView() : nullptr;
}

Document *MdiMainWindow::activeDocument() const
{
    const DocumentWindow *frame = activeFrame();
    return frame ? frame->activeDocument() : nullptr;
}

void MdiMainWindow::setCommands(std::span<const Command> commands)
{
    m_menus->setCommands(commands);
}

QAction *MdiMainWindow::commandAction(int id)
{
    return m_menus->commandAction(id);
}

void MdiMainWindow::buildMenus(std::span<const MenuItem> mainMenu,
                               std::span<const MenuItem> documentMenu)
{
    m_menus->buildMenus(mainMenu, documentMenu);
    updateMenuBar();
}

QToolBar *MdiMainWindow::buildToolBar(std::span<const ToolbarButton> buttons,
                                      const QList<QIcon> &images)
{
    m_toolBar = m_menus->buildToolBar(buttons, images);
    return m_toolBar;
}

void MdiMainWindow::buildStatusBar(const QString &idleText, const QList<Qt::Key> &lockKeys)
{
    QStatusBar *bar = statusBar();
    m_messagePane = new QLabel(idleText, bar);
    bar->addWidget(m_messagePane, 1);
    m_lockIndicators = new LockIndicators(
        bar, lockKeys, [this](Qt::Key key) { return queryLockKey(key); }, this);
}

QList<QMenu *> MdiMainWindow::currentMenus() const
{
    return m_menus->currentMenus();
}

void MdiMainWindow::updateMenuBar()
{
    m_menus->showMenusFor(activeFrame() != nullptr);
}

void MdiMainWindow::refreshCommandStates()
{
    updateMenuBar();
    m_menus->refreshStates();
    if (m_lockIndicators)
        m_lockIndicators->refresh();
    updateTitle();
}

void MdiMainWindow::setMessageText(const QString &text)
{
    statusBar()->clearMessage();
    if (m_messagePane)
        m_messagePane->setText(text);
}

QString MdiMainWindow::messageText() const
{
    return m_messagePane ? m_messagePane->text() : QString();
}

void MdiMainWindow::updateTitle()
{
    const QString appTitle = LoadString(IDR_MAINFRAME);
    const Document *doc = activeDocument();
    // A maximized document window adds its own title in brackets, as Qt does for it.
    if (doc && !activeFrame()->isMaximized())
        setWindowTitle(
            QStringLiteral("%1 - %2%3")
                .arg(appTitle, doc->title(), doc->isModified() ? QStringLiteral("*") : QString()));
    else
        setWindowTitle(appTitle);
}

void MdiMainWindow::onSubWindowActivated(QMdiSubWindow *window)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_documentConnections))
        disconnect(connection);
    m_documentConnections.clear();
    if (Document *doc = activeDocument()) {
        m_documentConnections
            << connect(doc, &Document::modifiedChanged, this, &CommandRouter::requestUpdate)
            << connect(doc, &Document::modifiedChanged, this, &MdiMainWindow::onActiveTitleChanged)
            << connect(doc, &Document::viewsChanged, this, &CommandRouter::requestUpdate);
    }
    if (window) {
        connect(window, &QWidget::windowTitleChanged, this, &MdiMainWindow::onActiveTitleChanged,
                Qt::UniqueConnection);
        connect(window, &QMdiSubWindow::windowStateChanged, this,
                &MdiMainWindow::onActiveTitleChanged, Qt::UniqueConnection);
    }
    refreshCommandStates();
}

void MdiMainWindow::onActiveTitleChanged()
{
    updateTitle();
}

QList<QMdiSubWindow *> MdiMainWindow::arrangedWindows() const
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        const auto *frame = qobject_cast<DocumentWindow *>(window);
        if (window->isHidden() || window->isMinimized() || (frame && frame->isClosing()))
            continue;
        if (window->isMaximized())
            window->showNormal();
        windows.append(window);
    }
    return windows;
}

void MdiMainWindow::OnWindowCascade()
{
    const QList<QMdiSubWindow *> windows = arrangedWindows();
    if (windows.isEmpty())
        return;
    QList<QSize> wanted;
    for (const QMdiSubWindow *window : windows)
        wanted.append(window->sizeHint().expandedTo(window->minimumSizeHint()));
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first());
    const QList<QRect> places =
        WindowArrangement::cascade(m_mdiArea->viewport()->size(), wanted, std::max(step, 16));
    // The last window ends on top, the front of the stack.
    for (qsizetype i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(places[i]);
        windows[i]->raise();
    }
}

void MdiMainWindow::OnWindowTileHorz()
{
    const QList<QMdiSubWindow *> windows = arrangedWindows();
    const QList<QRect> cells =
        WindowArrangement::tile(m_mdiArea->viewport()->size(), int(windows.size()));
    for (qsizetype i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(cells[i]);
}

void MdiMainWindow::OnWindowNew()
{
    Document *doc = activeDocument();
    DocTemplate *docTemplate = doc ? doc->docTemplate() : nullptr;
    if (!docTemplate)
        return;
    DocumentWindow *newFrame = docTemplate->newWindow(doc);
    if (!newFrame) {
        Messages::show(QStringLiteral("Could not open another window for this document."));
        return;
    }
    DocTemplate::showWindow(newFrame);
}

void MdiMainWindow::OnWindowArrange()
{
    // Minimized windows line up along the bottom edge, left to right.
    int x = 0;
    const int bottom = m_mdiArea->viewport()->height();
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        window->move(x, bottom - window->height());
        x += window->width();
    }
}

std::optional<bool> MdiMainWindow::queryLockKey(Qt::Key) const
{
    return std::nullopt;
}

void MdiMainWindow::closeEvent(QCloseEvent *event)
{
    if (Application *app = Application::instance()) {
        if (!app->saveAllModified()) {
            event->ignore();
            return;
        }
        app->closeAllDocuments();
        app->saveSettings();
    }
    QMainWindow::closeEvent(event);
}

void MdiMainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MdiMainWindow::dropEvent(QDropEvent *event)
{
    Application *app = Application::instance();
    if (!app)
        return;
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            app->OpenDocumentFile(url.toLocalFile());
    }
}
