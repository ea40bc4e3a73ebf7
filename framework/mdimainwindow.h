#pragma once

#include "framework/commandtables.h"
#include "framework/commandtarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

#include <optional>
#include <span>

class DocumentWindow;
class Document;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class View;

// The main window of a multiple-document program: an MDI area of child frames, menus,
// toolbar and accelerators built from tables, and the status bar with its prompt and lock
// indicators. It feeds the command router with the route of the moment (active view, its
// document, its frame, this window, the application) and keeps every command's enabled
// state up to date. It handles the window and bar commands itself.
class MdiMainWindow : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    explicit MdiMainWindow(QWidget *parent = nullptr);
    ~MdiMainWindow() override;

    QMdiArea *mdiArea() const { return m_mdiArea; }
    // The active document window, or nullptr when there is none.
    DocumentWindow *activeFrame() const;
    View *activeView() const;
    Document *activeDocument() const;

    // building, from tables
    // The program's commands, before any menu or toolbar names them; the table must outlive
    // this window. Commands with keys get their actions at once, so that the keys work.
    void setCommands(std::span<const Command> commands);
    // `mainMenu` shows while no document window is active, `documentMenu` while one is.
    void buildMenus(std::span<const MenuItem> mainMenu, std::span<const MenuItem> documentMenu);
    // Buttons take their images from `images` by index. Returns nullptr on failure.
    QToolBar *buildToolBar(std::span<const ToolbarButton> buttons, const QList<QIcon> &images);
    // The message pane with its idle text, then one pane per lock key.
    void buildStatusBar(const QString &idleText, const QList<Qt::Key> &lockKeys);

    // The action of a command, made on first use from its row; menus, toolbar and keys
    // share it.
    QAction *commandAction(int id);
    QToolBar *toolBar() const { return m_toolBar; }
    // The message pane's resting text ("For Help, press F1", or the help-mode prompt).
    void setMessageText(const QString &text);
    QString messageText() const;
    // The menus of the menu bar now showing.
    QList<QMenu *> currentMenus() const;

    // Sets every command's enabled and checked state from the route, and the menu bar,
    // title and lock indicators with them.
    void refreshCommandStates();
    // "Tessavox" alone, or followed by " - " and the active document's title.
    virtual void OnUpdateFrameTitle(bool addToTitle);

    // command handlers
    void OnWindowNew();
    void OnWindowArrange();
    void OnWindowTile();

protected:
    // Whether a lock key is on, when the platform can tell; nullopt means unknown.
    virtual std::optional<bool> queryLockKey(Qt::Key key) const;

    // reimplemented from QObject / QWidget
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QMenu *buildMenu(const char *caption, std::span<const MenuItem> items);
    void addRecentFileEntries(QMenu *menu);
    void updateMenuBar();
    void updateRecentFileEntries();
    void updateWindowList(QMenu *menu);
    void updateLockIndicators();
    void onSubWindowActivated(QMdiSubWindow *window);
    void onActiveTitleChanged();

    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_messagePane = nullptr;
    QHash<int, const Command *> m_commands; // rows of the table given to setCommands()
    QHash<int, QAction *> m_actions;
    QList<QMenu *> m_mainMenus;
    QList<QMenu *> m_documentMenus;
    bool m_showingDocumentMenus = false;
    QAction *m_recentPlaceholder = nullptr;
    QList<QAction *> m_recentEntries;
    QList<QAction *> m_windowListEntries;
    QList<QPair<Qt::Key, QLabel *>> m_lockPanes;
    QHash<int, bool> m_trackedLocks; // toggled by key presses where the platform cannot say
    QList<QMetaObject::Connection> m_documentConnections; // to the active document
};
