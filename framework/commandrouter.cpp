#include "framework/commandrouter.h"

#include "framework/messages.h"

#include <exception>

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
        bool handled = false;
        // A failure that a handler did not report itself must not escape into the event
        // loop, which would end the program: the user sees it and the work stays open.
        try {
            handled = target->execute(id);
        } catch (const std::exception &error) {
            handled = true;
            Messages::show(QString::fromLocal8Bit(error.what()));
        } catch (...) {
            handled = true;
            Messages::show(QStringLiteral("The command could not be completed."));
        }
        if (handled) {
            requestUpdate();
            return true;
        }
    }
    return false;
}

CommandState CommandRouter::state(int id) const
{
    CommandState ui;
    for (const CommandTarget *target : route()) {
        if (target->updateState(id, ui))
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
