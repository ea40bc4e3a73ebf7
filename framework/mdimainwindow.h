#pragma once

#include "framework/commandtables.h"
#include "framework/commandtarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>

#include <optional>
#include <span>

class CommandMenus;
class DocumentWindow;
class Document;
class LockIndicators;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class View;

// The main window of a multiple-document program: an MDI area of child frames, menus,
// toolbar and accelerators built from tables (CommandMenus), and the status bar with its
// prompt and lock indicators (LockIndicators). It feeds the command router with the route
// of the moment (active view, its document, its frame, this window, the application) and
// keeps every command's enabled state up to date. It handles the window and bar commands
// itself.
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
    virtual void updateTitle();

    // command handlers
    void OnWindowNew();
    void OnWindowArrange();
    // Both keep every window wholly inside the visible area, however many there are.
    void OnWindowCascade();
    void OnWindowTileHorz();

protected:
    // Whether a lock key is on, when the platform can tell; nullopt means unknown.
    virtual std::optional<bool> queryLockKey(Qt::Key key) const;

    // reimplemented from QWidget
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void updateMenuBar();
    void onSubWindowActivated(QMdiSubWindow *window);
    void onActiveTitleChanged();
    // The windows that Cascade and Tile place: shown, not minimized, not closing; a
    // maximized one is restored first.
    QList<QMdiSubWindow *> arrangedWindows() const;

    QMdiArea *m_mdiArea = nullptr;
    CommandMenus *m_menus = nullptr; // owned through the object tree
    QToolBar *m_toolBar = nullptr;
    QLabel *m_messagePane = nullptr;
    LockIndicators *m_lockIndicators = nullptr;           // owned through the object tree
    QList<QMetaObject::Connection> m_documentConnections; // to the active document
};
