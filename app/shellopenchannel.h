#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The desktop's way to open files in the program: `tessavox --shell-open PATH...` hands the
// paths to the instance already running on the same display, over a local socket that only
// this user can reach; with none running, the new instance opens them itself. Plain file arguments
// open nothing.
class ShellOpenChannel : public QObject
{
    Q_OBJECT

public:
    explicit ShellOpenChannel(QObject *parent = nullptr);

    // One name per user and display, so that files open in the user's own windows on the
    // display the request came from; another display gets an instance of its own.
    static QString defaultServerName();
    // The paths after --shell-open, made absolute; `requested` tells whether the option
    // was given at all. Every other argument is ignored.
    static QStringList shellOpenPaths(const QStringList &arguments, bool *requested = nullptr);
    // Hands `paths` to the instance listening on `serverName`; false when none answers.
    static bool send(const QString &serverName, const QStringList &paths, int timeoutMs = 3000);

    // Starts answering requests; false when another instance already does.
    bool listen(const QString &serverName);
    QString serverName() const;

signals:
    void openRequested(const QStringList &paths);

private:
    void onNewConnection();

    QLocalServer *m_server = nullptr;
    QHash<QLocalSocket *, QByteArray> m_requests; // what each open connection sent so far
};
