#include "commandrouter.h"

CommandRouter &CommandRouter::instance()
{
    static CommandRouter router;
    return router;
}

QList<CommandTarget *> CommandRouter::route() const
{
    QList<CommandTarget *> targets = m_route ? m_route() : QList<CommandTarget *>();
    targets.removeAll(nullptr);
    return targets;
}

bool CommandRouter::execute(int id)
{
    if (!state(id).enabled)
        return false;
    for (CommandTarget *target : route()) {
        if (target->OnCmdMsg(id)) {
            emit commandExecuted(id);
            requestUpdate();
            return true;
        }
    }
    return false;
}

CmdUI CommandRouter::state(int id) const
{
    CmdUI ui;
    for (const CommandTarget *target : route()) {
        if (target->OnUpdateCmdUI(id, ui))
            return ui;
    }
    ui.enabled = false;
    return ui;
}

void CommandRouter::requestUpdate()
{
    CommandRouter &router = instance();
    if (router.m_updatePending)
        return;
    router.m_updatePending = true;
    QMetaObject::invokeMethod(
        &router,
        [&router] {
            router.m_updatePending = false;
            emit router.updateRequested();
        },
        Qt::QueuedConnection);
}
