#pragma once

#include "framework/commandtarget.h"

#include <QList>
#include <QObject>

#include <functional>

// Delivers commands along the route of the moment (active view, its document, its frame,
// the main window, the application) and works out each command's state along the same
// route. The main window supplies the route; whoever changes what a command may do asks
// for a refresh with requestUpdate().
class CommandRouter : public QObject
{
    Q_OBJECT

public:
    using Route = std::function<QList<CommandTarget *>()>;

    static CommandRouter &instance();

    void setRoute(Route route) { m_route = std::move(route); }
    QList<CommandTarget *> route() const;

    // Runs `id` at the first target of the route that handles it; returns whether one did.
    bool execute(int id);
    // The state of `id`: greyed when no target of the route handles it.
    CommandState state(int id) const;

    // Asks for the command states to be refreshed once control returns to the event loop;
    // any number of requests before then make one refresh.
    static void requestUpdate();

signals:
    void updateRequested();

private:
    CommandRouter() = default;

    Route m_route;
    bool m_updatePending = false;
};
