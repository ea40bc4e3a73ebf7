#include "app/contexthelpmode.h"

#include "app/helpwindow.h"
#include "framework/view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>

ContextHelpMode::ContextHelpMode(QObject *parent) : QObject(parent) {}

ContextHelpMode::~ContextHelpMode()
{
    if (m_active)
        finish();
}

void ContextHelpMode::start()
{
    if (m_active)
        return;
    m_active = true;
    QGuiApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
    emit activeChanged(true);
}

void ContextHelpMode::cancel()
{
    if (m_active)
        finish();
}

void ContextHelpMode::finish()
{
    m_active = false;
    qApp->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
    emit activeChanged(false);
}

QString ContextHelpMode::topicAt(QWidget *widget, const QPoint &globalPos)
{
    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        const QAction *action = menu->actionAt(menu->mapFromGlobal(globalPos));
        return action ? HelpWindow::topicForCommand(action->data().toInt()) : QString();
    }
    if (auto *button = qobject_cast<QToolButton *>(widget)) {
        const QAction *action = button->defaultAction();
        return action ? HelpWindow::topicForCommand(action->data().toInt()) : QString();
    }
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (qobject_cast<View *>(w))
            return HelpWindow::topicForView(QString::fromLatin1(w->metaObject()->className()));
    }
    return {};
}

bool ContextHelpMode::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            break;
        // The menu bar opens its menus, so that their items can be picked.
        if (qobject_cast<QMenuBar *>(widget))
            return false;
        const QString topic =
            topicAt(widget, static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        finish();
        emit topicChosen(topic);
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return qobject_cast<QMenuBar *>(watched) == nullptr && qobject_cast<QWidget *>(watched);
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            finish();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
