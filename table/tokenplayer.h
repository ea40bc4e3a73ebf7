#pragma once

#include "document/tokenrecording.h"

#include <QObject>
#include <QPointer>

#include <functional>

class CTessavoxDoc;
class QAudioOutput;
class QMediaPlayer;
class QTimer;
class QWidget;

// Plays a token's stretch of its recording, with a little context either side, through Qt
// Multimedia, which plays on its own so the windows never wait. What happens (playing, no
// file, no audio device, a file that will not play) is a status-bar message. One player
// for the program, owning its media player, made on first use; tests put their own output
// in place of the sound.
class TokenPlayer : public QObject
{
    Q_OBJECT

public:
    // Seconds of the recording played before and after the token.
    static constexpr double kContext = 0.15;
    // Starts the sound of `recording`; why it cannot, or empty when it plays.
    using Output = std::function<QString(const TokenRecording &recording)>;

    static TokenPlayer &instance();

    // An empty output plays through Qt Multimedia.
    void setOutput(Output output) { m_output = std::move(output); }

    // Plays the token of `row`; the message shown in the status bar of `from`'s main
    // window, which is also returned.
    QString playRow(const CTessavoxDoc &doc, int row, QWidget *from);

private:
    TokenPlayer() = default;
    QString playThroughMultimedia(const TokenRecording &recording);
    void showStatus(const QString &text);

    // Starts the sound at the interval's start; a timer ends it at the interval's end, as
    // position reports may come too seldom for a token a tenth of a second long.
    void playFromStart();

    Output m_output;
    // Owned by the application object, so that they go before Qt Multimedia does.
    QPointer<QMediaPlayer> m_player;
    QPointer<QAudioOutput> m_audio;
    QTimer *m_stopTimer = nullptr; // owned through the object tree
    qint64 m_startAt = 0;          // ms
    qint64 m_stopAt = -1;          // ms; -1 = no interval playing
    QPointer<QWidget> m_statusFrom;
};
