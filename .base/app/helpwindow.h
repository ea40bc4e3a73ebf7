#pragma once

#include <QWidget>

class QTextBrowser;

// The user guide in a window of its own, opened at a topic.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the guide at `topic` (an anchor of the guide; empty for the start).
    void showTopic(const QString &topic);
    QString currentTopic() const;

    // The topic that explains a command.
    static QString topicForCommand(int id);
    // The topic that explains a window showing a view of the given class.
    static QString topicForView(const QString &className);

private:
    QTextBrowser *m_browser = nullptr;
};
