#include "table/tokenplayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

// How long a message about a token stays in the status bar.
constexpr int kStatusMilliseconds = 8000;

} // namespace

TokenPlayer &TokenPlayer::instance()
{
    static TokenPlayer player;
    return player;
}

QString TokenPlayer::playRow(const CTessavoxDoc &doc, int row, QWidget *from)
{
    m_statusFrom = from;
    const TokenRecording recording = findTokenRecording(doc, row, kContext);
    QString message = recording.problem;
    if (message.isEmpty()) {
        const QString why = m_output ? m_output(recording) : playThroughMultimedia(recording);
        message = !why.isEmpty() ? why
                                 : QStringLiteral("Playing %1 from %2 to %3 s")
                                       .arg(recording.fileName)
                                       .arg(recording.start, 0, 'f', 3)
                                       .arg(recording.end, 0, 'f', 3);
    }
    showStatus(message);
    return message;
}

QString TokenPlayer::playThroughMultimedia(const TokenRecording &recording)
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return QStringLiteral("No sound output device: cannot play %1.").arg(recording.fileName);
    if (!m_player) {
        m_player = new QMediaPlayer(QCoreApplication::instance());
        m_audio = new QAudioOutput(m_player);
        m_player->setAudioOutput(m_audio);
        m_stopTimer = new QTimer(this);
        m_stopTimer->setSingleShot(true);
        connect(m_stopTimer, &QTimer::timeout, this, [this] {
            m_stopAt = -1;
            if (m_player)
                m_player->stop();
        });
        // The position is set once the file is loaded; until then it would be ignored.
        connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::LoadedMedia && m_stopAt >= 0)
                        playFromStart();
                });
        connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 position) {
            if (m_stopAt >= 0 && position >= m_stopAt) {
                m_stopAt = -1;
                m_player->stop();
            }
        });
        connect(m_player, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString &text) {
                    m_stopAt = -1;
                    showStatus(QStringLiteral("Cannot play the recording: %1").arg(text));
                });
    }
    m_player->stop();
    m_startAt = qint64(std::llround(recording.from * 1000.0));
    m_stopAt = qint64(std::llround(recording.to * 1000.0));
    const QUrl source = QUrl::fromLocalFile(recording.path);
    if (m_player->source() == source && m_player->mediaStatus() != QMediaPlayer::NoMedia &&
        m_player->mediaStatus() != QMediaPlayer::InvalidMedia)
        playFromStart();
    else
        m_player->setSource(source);
    return {};
}

void TokenPlayer::playFromStart()
{
    m_player->setPosition(m_startAt);
    m_player->play();
    m_stopTimer->start(int(std::max<qint64>(m_stopAt - m_startAt, 1)));
}

void TokenPlayer::showStatus(const QString &text)
{
    auto *main = m_statusFrom ? qobject_cast<QMainWindow *>(m_statusFrom->window()) : nullptr;
    if (main)
        main->statusBar()->showMessage(text, kStatusMilliseconds);
}
