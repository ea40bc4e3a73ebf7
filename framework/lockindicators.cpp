#include "framework/lockindicators.h"

#include "framework/stringtable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

int indicatorString(Qt::Key key)
{
    switch (key) {
    case Qt::Key_CapsLock:
        return IDS_INDICATOR_CAPS;
    case Qt::Key_NumLock:
        return IDS_INDICATOR_NUM;
    case Qt::Key_ScrollLock:
        return IDS_INDICATOR_SCRL;
    default:
        return 0;
    }
}

} // namespace

LockIndicators::LockIndicators(QStatusBar *bar, const QList<Qt::Key> &keys, Query query,
                               QObject *parent)
    : QObject(parent), m_query(std::move(query))
{
    for (Qt::Key key : keys) {
        const QString text = LoadString(indicatorString(key));
        auto *pane = new QLabel(bar);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
        pane->setProperty("indicatorText", text);
        bar->addPermanentWidget(pane);
        m_panes.append({key, pane});
    }
    // Only the lock keys: the panes must follow them whichever widget has the focus.
    qApp->installEventFilter(this);
    refresh();
}

LockIndicators::~LockIndicators()
{
    qApp->removeEventFilter(this);
}

void LockIndicators::refresh()
{
    for (const auto &[key, pane] : std::as_const(m_panes)) {
        const std::optional<bool> known = m_query ? m_query(key) : std::nullopt;
        const bool on = known.value_or(m_tracked.value(key, false));
        pane->setText(on ? pane->property("indicatorText").toString() : QString());
    }
}

bool LockIndicators::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_CapsLock && key->key() != Qt::Key_NumLock &&
        key->key() != Qt::Key_ScrollLock)
        return QObject::eventFilter(watched, event);
    // One event reaches the filter once for each widget it passes on its way up.
    if (watched == QApplication::focusWidget()) {
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
            m_tracked[key->key()] = !m_tracked.value(key->key(), false);
        refresh();
    }
    return QObject::eventFilter(watched, event);
}
