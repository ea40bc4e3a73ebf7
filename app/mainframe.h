#pragma once

#include "framework/mdimainwindow.h"

class ContextHelpMode;
class HelpWindow;

// The program's main window: the MDI area with the menus, toolbar, keys and status bar of
// the program, and the help commands.
class CMainFrame : public MdiMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *parent = nullptr);

    // Builds menus, keys, toolbar and status bar; false when a bar could not be made.
    bool buildMenusAndBars();

    HelpWindow *helpWindow();
    ContextHelpMode *contextHelp() const { return m_contextHelp; }

    // command handlers
    void OnHelpFinder();
    void OnHelp();
    void OnContextHelp();

protected:
    // reimplemented from MdiMainWindow
    std::optional<bool> queryLockKey(Qt::Key key) const override;

private:
    HelpWindow *m_helpWindow = nullptr;       // owned through the widget tree, made on use
    ContextHelpMode *m_contextHelp = nullptr; // owned through the object tree
};
