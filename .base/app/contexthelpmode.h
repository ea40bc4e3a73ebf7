#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Shift+F1: while the mode is on, the next click picks what the user wants to read about
// (a toolbar button, a menu item, a window) instead of acting on it. Escape leaves the mode.
class ContextHelpMode : public QObject
{
    Q_OBJECT

public:
    explicit ContextHelpMode(QObject *parent = nullptr);
    ~ContextHelpMode() override;

    void start();
    void cancel();
    bool isActive() const { return m_active; }

    // The guide's topic for a click on `widget` at `globalPos`; empty for the start.
    static QString topicAt(QWidget *widget, const QPoint &globalPos);

signals:
    void activeChanged(bool active);
    void topicChosen(const QString &topic);

protected:
    // reimplemented from QObject
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finish();

    bool m_active = false;
};
