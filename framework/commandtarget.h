#pragma once

#include <QHash>

#include <functional>

// The state an update handler sets for one command's menu item and toolbar button.
struct CommandState
{
    bool enabled = true;
    bool checked = false;

    void setEnabled(bool enable = true) { enabled = enable; }
    void setChecked(bool check = true) { checked = check; }
};

// Anything that can handle commands: views, documents, frames, the main window, the
// application. The router asks each target of the route in turn; the first that handles
// a command runs it, and a command that nobody handles is greyed.
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    // Runs `id` when this target handles it; returns whether it did.
    virtual bool execute(int id);
    // Fills `ui` when this target handles `id`; returns whether it does.
    virtual bool updateState(int id, CommandState &ui) const;

    bool handlesCommand(int id) const { return m_commands.contains(id); }

protected:
    // Binds a command to its handler and, optionally, to its update handler. Without one
    // the command is enabled whenever this target is in the route.
    void addCommand(int id, std::function<void()> handler,
                    std::function<void(CommandState &)> update = {});

private:
    struct Entry
    {
        std::function<void()> handler;
        std::function<void(CommandState &)> update;
    };
    QHash<int, Entry> m_commands;
};
