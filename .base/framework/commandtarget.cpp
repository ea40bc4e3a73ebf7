#include "framework/commandtarget.h"

bool CommandTarget::OnCmdMsg(int id)
{
    const auto it = m_commands.constFind(id);
    if (it == m_commands.constEnd())
        return false;
    // Copy first: the handler may close the window that owns this target.
    const std::function<void()> handler = it->handler;
    handler();
    return true;
}

bool CommandTarget::OnUpdateCmdUI(int id, CmdUI &ui) const
{
    const auto it = m_commands.constFind(id);
    if (it == m_commands.constEnd())
        return false;
    ui.enabled = true;
    if (it->update)
        it->update(ui);
    return true;
}

void CommandTarget::addCommand(int id, std::function<void()> handler,
                               std::function<void(CmdUI &)> update)
{
    m_commands.insert(id, Entry{std::move(handler), std::move(update)});
}
