#include "app/shellopenchannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kOption = QStringLiteral("--shell-open");
// Far more than any list of paths; a peer that sends more is not one of ours.
constexpr qint64 kMaxRequestBytes = 1 << 20;
// Keeps the socket's path well inside the system's limit.
constexpr qsizetype kMaxSessionLength = 48;

// The display the program's windows go to, as part of a socket name: the Wayland display
// when there is one, else the X display without its screen number (":0.1" is on ":0").
// Empty without either. Characters a file name could stumble over become '_'.
QString graphicalSession()
{
    QString session;
    if (const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY"); !wayland.isEmpty()) {
        session = QStringLiteral("wl-") + wayland;
    } else if (QString x11 = qEnvironmentVariable("DISPLAY"); !x11.isEmpty()) {
        static const QRegularExpression screen(QStringLiteral("(:\\d+)\\.\\d+$"));
        x11.replace(screen, QStringLiteral("\\1"));
        session = QStringLiteral("x11-") + x11;
    }
    for (QChar &c : session) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') &&
            c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return session.right(kMaxSessionLength);
}

} // namespace

ShellOpenChannel::ShellOpenChannel(QObject *parent) : QObject(parent) {}

QString ShellOpenChannel::defaultServerName()
{
#ifdef Q_OS_UNIX
    QString name = QStringLiteral("tessavox-shell-open-%1").arg(getuid());
#else
    QString name = QStringLiteral("tessavox-shell-open-%1").arg(qEnvironmentVariable("USERNAME"));
#endif
    const QString session = graphicalSession();
    if (!session.isEmpty())
        name += QLatin1Char('-') + session;
    return name;
}

QStringList ShellOpenChannel::shellOpenPaths(const QStringList &arguments, bool *requested)
{
    const qsizetype at = arguments.indexOf(kOption, 1);
    if (requested)
        *requested = at > 0;
    QStringList paths;
    if (at <= 0)
        return paths;
    for (qsizetype i = at + 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).isEmpty())
            paths.append(QFileInfo(arguments.at(i)).absoluteFilePath());
    }
    return paths;
}

bool ShellOpenChannel::send(const QString &serverName, const QStringList &paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(paths.join(QLatin1Char('\n')).toUtf8());
    socket.write("\n");
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool ShellOpenChannel::listen(const QString &serverName)
{
    // Listening with access options replaces an existing socket without a word, so ask
    // first whether an instance answers there.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(500))
        return false;
    // Whatever is left is a socket of an instance that ended without removing it.
    QLocalServer::removeServer(serverName);

    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &ShellOpenChannel::onNewConnection);
    return m_server->listen(serverName);
}

QString ShellOpenChannel::serverName() const
{
    return m_server ? m_server->serverName() : QString();
}

void ShellOpenChannel::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray &request = m_requests[socket];
            request += socket->readAll();
            if (request.size() > kMaxRequestBytes) {
                m_requests.remove(socket);
                socket->abort();
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            const QByteArray request = m_requests.take(socket) + socket->readAll();
            socket->deleteLater();
            QStringList paths;
            for (const QByteArray &line : request.split('\n')) {
                const QString path = QString::fromUtf8(line);
                if (QDir::isAbsolutePath(path))
                    paths.append(path);
            }
            if (!paths.isEmpty())
                emit openRequested(paths);
        });
    }
}
