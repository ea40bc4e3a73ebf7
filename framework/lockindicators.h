#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>

#include <functional>
#include <optional>

class QLabel;
class QStatusBar;

// The status bar's lock-key panes (CAP, NUM, SCRL): each shows its text while its key is
// on. Asks the platform where it can tell; elsewhere it follows the lock-key presses it sees
// anywhere in the program. The panes belong to the status bar.
class LockIndicators : public QObject
{
    Q_OBJECT

public:
    // Whether a lock key is on, when the platform can tell; nullopt means unknown.
    using Query = std::function<std::optional<bool>(Qt::Key)>;

    // Adds one pane per key to `bar`, after its other widgets.
    LockIndicators(QStatusBar *bar, const QList<Qt::Key> &keys, Query query,
                   QObject *parent = nullptr);
    ~LockIndicators() override;

    // Sets every pane from the keys' state now.
    void refresh();

protected:
    // reimplemented from QObject: sees lock-key presses whichever widget has the focus
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Query m_query;
    QList<QPair<Qt::Key, QLabel *>> m_panes; // owned by the status bar
    QHash<int, bool> m_tracked;              // toggled by key presses where the platform cannot say
};
