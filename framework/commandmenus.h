#pragma once

#include "framework/commandtables.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QObject>

#include <span>

class QAction;
class QMainWindow;
class QMdiArea;
class QMenu;
class QToolBar;

// The program's commands as Qt actions, and the menus and toolbar built from its tables:
// one action per command, which menus, toolbar and keys share; the menu bar switched
// between the menus for no document and for a document; the recent files and the open
// windows listed in their menus. The actions and menus belong to the main window it serves.
class CommandMenus : public QObject
{
    Q_OBJECT

public:
    CommandMenus(QMainWindow &window, QMdiArea &area);

    // The commands' rows, before any menu or toolbar names them; the table must outlive
    // this object. Commands with keys get their actions at once, so that the keys work.
    void setCommands(std::span<const Command> commands);
    // The action of a command, made on first use from its row.
    QAction *commandAction(int id);
    // `mainMenu` shows while no document window is active, `documentMenu` while one is.
    void buildMenus(std::span<const MenuItem> mainMenu, std::span<const MenuItem> documentMenu);
    // Buttons take their images from `images` by index. Returns nullptr on failure.
    QToolBar *buildToolBar(std::span<const ToolbarButton> buttons, const QList<QIcon> &images);

    // The menus of the menu bar now showing.
    QList<QMenu *> currentMenus() const;
    // Puts the document menus on the menu bar while a document window is active.
    void showMenusFor(bool documentActive);
    // Every action's enabled and checked state from the command router, and the recent
    // files' entries from the application's list.
    void refreshStates();

signals:
    // A menu is about to show: its commands' states are wanted now.
    void menuAboutToShow();

private:
    QMenu *buildMenu(const char *caption, std::span<const MenuItem> items);
    void addRecentFileEntries(QMenu *menu);
    void updateRecentFileEntries();
    void updateWindowList(QMenu *menu);

    QMainWindow &m_window;
    QMdiArea &m_area;
    QHash<int, const Command *> m_commands; // rows of the table given to setCommands()
    QHash<int, QAction *> m_actions;
    QList<QMenu *> m_mainMenus;
    QList<QMenu *> m_documentMenus;
    bool m_showingDocumentMenus = false;
    QAction *m_recentPlaceholder = nullptr;
    QList<QAction *> m_recentEntries;
    QList<QAction *> m_windowListEntries;
};
