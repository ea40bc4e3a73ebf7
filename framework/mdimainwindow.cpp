#include "framework/mdimainwindow.h"

#include <cmath>

#include "framework/application.h"
#include "framework/commandids.h"
#include "framework/commandrouter.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/documentwindow.h"
#include "framework/messages.h"
#include "framework/recentfilelist.h"
#include "framework/stringtable.h"
#include "framework/view.h"

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
#include <QToolBar>

namespace {

constexpr int kWindowListSize = 9;
constexpr int kRecentFileCount = 4;

int indicatorString(Qt::Key key)
{
    switch (key) {
    case Qt::Key_CapsLock:
        return IDS_INDICATOR_CAPS;
    case Qt::Key_NumLock:
        return IDS_INDICATOR_NUM;
    case Qt::Key_ScrollLock:
        return IDS_INDICATOR_SCRL;
    default:
        return 0;
    }
}

} // namespace

MdiMainWindow::MdiMainWindow(QWidget *parent) : QMainWindow(parent)
{
    m_mdiArea = new QMdiArea(this);
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
        ID_WINDOW_CASCADE, [this] { m_mdiArea->cascadeSubWindows(); }, anyWindow);
    addCommand(
        ID_WINDOW_TILE_HORZ, [this] { OnWindowTile(); }, anyWindow);
    addCommand(
        ID_WINDOW_ARRANGE, [this] { OnWindowArrange(); }, anyWindow);

    // What the commands may do changes with the active window (above), its document's
    // modified flag and windows (onSubWindowActivated), the clipboard, and every command
    // run; each asks for one refresh.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &CommandRouter::requestUpdate);
    // Only the lock keys: the indicators must follow them whichever widget has the focus.
    qApp->installEventFilter(this);
}

MdiMainWindow::~MdiMainWindow()
{
    // The document windows go after this class is gone; their last signals must not reach it.
    qApp->removeEventFilter(this);
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

QAction *MdiMainWindow::commandAction(int id)
{
    if (QAction *action = m_actions.value(id))
        return action;
    auto *action = new QAction(this);
    action->setData(id);
    action->setIconVisibleInMenu(false);
    if (const Command *command = m_commands.value(id)) {
        action->setStatusTip(QString::fromUtf8(command->prompt));
        if (command->tooltip) {
            action->setToolTip(QString::fromUtf8(command->tooltip));
            action->setText(QString::fromUtf8(command->tooltip));
        }
        if (command->caption)
            action->setText(QString::fromUtf8(command->caption));
        QList<QKeySequence> keys;
        for (const char *key : command->keys) {
            if (key)
                keys.append(QKeySequence(QString::fromLatin1(key)));
        }
        action->setShortcuts(keys);
    }
    connect(action, &QAction::triggered, this, [id] { CommandRouter::instance().execute(id); });
    addAction(action); // its keys work whichever menu shows
    m_actions.insert(id, action);
    return action;
}

void MdiMainWindow::setCommands(std::span<const Command> commands)
{
    for (const Command &command : commands) {
        m_commands.insert(command.id, &command);
        if (command.keys.front())
            commandAction(command.id);
    }
}

QMenu *MdiMainWindow::buildMenu(const char *caption, std::span<const MenuItem> items)
{
    auto *menu = new QMenu(QString::fromUtf8(caption), this);
    for (const MenuItem &item : items) {
        if (qstrcmp(item.menu, caption) != 0)
            continue;
        if (item.id == 0)
            menu->addSeparator();
        else if (item.id == ID_FILE_MRU_FILE1)
            addRecentFileEntries(menu);
        else
            menu->addAction(commandAction(item.id));
    }
    connect(menu, &QMenu::aboutToShow, this, &MdiMainWindow::refreshCommandStates);
    return menu;
}

void MdiMainWindow::addRecentFileEntries(QMenu *menu)
{
    if (!m_recentPlaceholder) {
        m_recentPlaceholder = new QAction(QStringLiteral("Recent File"), this);
        m_recentPlaceholder->setData(int(ID_FILE_MRU_FILE1));
        m_recentPlaceholder->setEnabled(false);
        for (int i = 0; i < kRecentFileCount; ++i) {
            QAction *entry = commandAction(ID_FILE_MRU_FILE1 + i);
            entry->setVisible(false);
            m_recentEntries.append(entry);
        }
    }
    menu->addAction(m_recentPlaceholder);
    menu->addActions(m_recentEntries);
}

void MdiMainWindow::buildMenus(std::span<const MenuItem> mainMenu,
                               std::span<const MenuItem> documentMenu)
{
    const auto build = [this](std::span<const MenuItem> items) {
        QList<QMenu *> menus;
        QList<QByteArray> seen;
        for (const MenuItem &item : items) {
            if (seen.contains(item.menu))
                continue;
            seen.append(item.menu);
            menus.append(buildMenu(item.menu, items));
        }
        return menus;
    };
    m_mainMenus = build(mainMenu);
    m_documentMenus = build(documentMenu);
    for (QMenu *menu : std::as_const(m_documentMenus)) {
        if (menu->title() == QStringLiteral("&Window"))
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateWindowList(menu); });
    }
    m_showingDocumentMenus = !m_showingDocumentMenus; // forces the first update
    updateMenuBar();
}

QToolBar *MdiMainWindow::buildToolBar(std::span<const ToolbarButton> buttons,
                                      const QList<QIcon> &images)
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    // Our own Toolbar command shows and hides it; the bar's context menu would bypass it.
    m_toolBar->toggleViewAction()->setVisible(false);
    for (const ToolbarButton &button : buttons) {
        if (button.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction *action = commandAction(button.id);
        action->setIcon(images.value(button.image));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    return m_toolBar;
}

void MdiMainWindow::buildStatusBar(const QString &idleText, const QList<Qt::Key> &lockKeys)
{
    QStatusBar *bar = statusBar();
    m_messagePane = new QLabel(idleText, bar);
    bar->addWidget(m_messagePane, 1);
    for (Qt::Key key : lockKeys) {
        const QString text = LoadString(indicatorString(key));
        auto *pane = new QLabel(bar);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
        pane->setProperty("indicatorText", text);
        bar->addPermanentWidget(pane);
        m_lockPanes.append({key, pane});
    }
    updateLockIndicators();
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

QList<QMenu *> MdiMainWindow::currentMenus() const
{
    return m_showingDocumentMenus ? m_documentMenus : m_mainMenus;
}

void MdiMainWindow::updateMenuBar()
{
    const bool wantDocument = activeFrame() != nullptr;
    if (wantDocument == m_showingDocumentMenus)
        return;
    m_showingDocumentMenus = wantDocument;
    menuBar()->clear();
    for (QMenu *menu : currentMenus())
        menuBar()->addMenu(menu);
}

void MdiMainWindow::updateRecentFileEntries()
{
    const RecentFileList *recent =
        Application::instance() ? Application::instance()->recentFiles() : nullptr;
    const int count = recent ? qMin(recent->size(), int(m_recentEntries.size())) : 0;
    if (m_recentPlaceholder)
        m_recentPlaceholder->setVisible(count == 0);
    for (int i = 0; i < m_recentEntries.size(); ++i) {
        m_recentEntries[i]->setVisible(i < count);
        if (i < count)
            m_recentEntries[i]->setText(recent->menuText(i));
    }
}

void MdiMainWindow::updateWindowList(QMenu *menu)
{
    qDeleteAll(m_windowListEntries);
    m_windowListEntries.clear();
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        auto *frame = qobject_cast<DocumentWindow *>(window);
        if (!frame || !frame->isClosing())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    m_windowListEntries.append(menu->addSeparator());
    QMdiSubWindow *current = m_mdiArea->currentSubWindow();
    for (int i = 0; i < windows.size() && i < kWindowListSize; ++i) {
        QMdiSubWindow *window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(window == current);
        connect(entry, &QAction::triggered, m_mdiArea, [this, target = QPointer(window)] {
            if (target)
                m_mdiArea->setActiveSubWindow(target);
        });
        m_windowListEntries.append(entry);
    }
}

void MdiMainWindow::refreshCommandStates()
{
    updateMenuBar();
    CommandRouter &router = CommandRouter::instance();
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it) {
        const CommandState ui = router.state(it.key());
        QAction *action = it.value();
        action->setEnabled(ui.enabled);
        if (ui.checked && !action->isCheckable())
            action->setCheckable(true);
        if (action->isCheckable())
            action->setChecked(ui.checked);
    }
    updateRecentFileEntries();
    updateLockIndicators();
    OnUpdateFrameTitle(true);
}

void MdiMainWindow::OnUpdateFrameTitle(bool addToTitle)
{
    const QString appTitle = LoadString(IDR_MAINFRAME);
    const Document *doc = activeDocument();
    // A maximized document window adds its own title in brackets, as Qt does for it.
    if (addToTitle && doc && !activeFrame()->isMaximized())
        setWindowTitle(QStringLiteral("%1 - %2").arg(appTitle, doc->title()));
    else
        setWindowTitle(appTitle);
}

void MdiMainWindow::onSubWindowActivated(QMdiSubWindow *window)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_documentConnections))
        disconnect(connection);
    m_documentConnections.clear();
    if (Document *doc = activeDocument()) {
        m_documentConnections << connect(doc, &Document::modifiedChanged, this,
                                         &CommandRouter::requestUpdate)
                              << connect(doc, &Document::viewsChanged, this,
                                         &CommandRouter::requestUpdate);
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
    OnUpdateFrameTitle(true);
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

void MdiMainWindow::OnWindowTile()
{
    // A grid of as many columns as the square root of the count, rounded up; the last row's
    // windows share its whole width. Every tile lies inside the area: a window whose content
    // asks for more than its tile gets the tile, and its content scrolls.
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_mdiArea->subWindowList())
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    const int count = int(windows.size());
    if (count == 0)
        return;
    const int columns = int(std::ceil(std::sqrt(double(count))));
    const int rows = (count + columns - 1) / columns;
    const QSize room = m_mdiArea->viewport()->size();
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int column = i % columns;
        const QRect tile(
            QPoint(room.width() * column / inRow, room.height() * row / rows),
            QPoint(room.width() * (column + 1) / inRow - 1, room.height() * (row + 1) / rows - 1));
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        window->setMinimumSize(window->minimumSize().boundedTo(tile.size()));
        window->setGeometry(tile);
    }
}

std::optional<bool> MdiMainWindow::queryLockKey(Qt::Key) const
{
    return std::nullopt;
}

void MdiMainWindow::updateLockIndicators()
{
    for (const auto &[key, pane] : std::as_const(m_lockPanes)) {
        const bool on = queryLockKey(key).value_or(m_trackedLocks.value(key, false));
        pane->setText(on ? pane->property("indicatorText").toString() : QString());
    }
}

bool MdiMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_CapsLock && key->key() != Qt::Key_NumLock &&
        key->key() != Qt::Key_ScrollLock)
        return QMainWindow::eventFilter(watched, event);
    // One event reaches the filter once for each widget it passes on its way up.
    if (watched == QApplication::focusWidget()) {
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
            m_trackedLocks[key->key()] = !m_trackedLocks.value(key->key(), false);
        updateLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MdiMainWindow::closeEvent(QCloseEvent *event)
{
    if (Application *app = Application::instance()) {
        if (!app->SaveAllModified()) {
            event->ignore();
            return;
        }
        app->CloseAllDocuments();
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
