#include "framework/commandmenus.h"

#include "framework/application.h"
#include "framework/commandids.h"
#include "framework/commandrouter.h"
#include "framework/documentwindow.h"
#include "framework/recentfilelist.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

namespace {

constexpr int kWindowListSize = 9;
constexpr int kRecentFileCount = 4;

} // namespace

CommandMenus::CommandMenus(QMainWindow &window, QMdiArea &area)
    : QObject(&window), m_window(window), m_area(area)
{}

QAction *CommandMenus::commandAction(int id)
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
    m_window.addAction(action); // its keys work whichever menu shows
    m_actions.insert(id, action);
    return action;
}

void CommandMenus::setCommands(std::span<const Command> commands)
{
    for (const Command &command : commands) {
        m_commands.insert(command.id, &command);
        if (command.keys.front())
            commandAction(command.id);
    }
}

QMenu *CommandMenus::buildMenu(const char *caption, std::span<const MenuItem> items)
{
    auto *menu = new QMenu(QString::fromUtf8(caption), &m_window);
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
    connect(menu, &QMenu::aboutToShow, this, &CommandMenus::menuAboutToShow);
    return menu;
}

void CommandMenus::addRecentFileEntries(QMenu *menu)
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

void CommandMenus::buildMenus(std::span<const MenuItem> mainMenu,
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
    // Whichever menus are wanted first, the menu bar is filled then.
    m_showingDocumentMenus = true;
    showMenusFor(false);
}

QToolBar *CommandMenus::buildToolBar(std::span<const ToolbarButton> buttons,
                                     const QList<QIcon> &images)
{
    auto *toolBar = new QToolBar(QStringLiteral("Toolbar"), &m_window);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(16, 15));
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    // Our own Toolbar command shows and hides it; the bar's context menu would bypass it.
    toolBar->toggleViewAction()->setVisible(false);
    for (const ToolbarButton &button : buttons) {
        if (button.id == 0) {
            toolBar->addSeparator();
            continue;
        }
        QAction *action = commandAction(button.id);
        action->setIcon(images.value(button.image));
        toolBar->addAction(action);
    }
    m_window.addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

QList<QMenu *> CommandMenus::currentMenus() const
{
    return m_showingDocumentMenus ? m_documentMenus : m_mainMenus;
}

void CommandMenus::updateRecentFileEntries()
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

void CommandMenus::updateWindowList(QMenu *menu)
{
    qDeleteAll(m_windowListEntries);
    m_windowListEntries.clear();
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        auto *frame = qobject_cast<DocumentWindow *>(window);
        if (!frame || !frame->isClosing())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    m_windowListEntries.append(menu->addSeparator());
    QMdiSubWindow *current = m_area.currentSubWindow();
    for (int i = 0; i < windows.size() && i < kWindowListSize; ++i) {
        QMdiSubWindow *window = windows.at(i);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
        entry->setCheckable(true);
        entry->setChecked(window == current);
        connect(entry, &QAction::triggered, &m_area, [this, target = QPointer(window)] {
            if (target)
                m_area.setActiveSubWindow(target);
        });
        m_windowListEntries.append(entry);
    }
}

void CommandMenus::showMenusFor(bool documentActive)
{
    if (documentActive == m_showingDocumentMenus)
        return;
    m_showingDocumentMenus = documentActive;
    m_window.menuBar()->clear();
    for (QMenu *menu : currentMenus())
        m_window.menuBar()->addMenu(menu);
}

void CommandMenus::refreshStates()
{
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
}
