#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The one place that shows a modal message box or beeps. Everything that talks to the
// user goes through here, so tests (and the batch tool) can take the messages instead.
class Messages
{
public:
    enum class Answer { Yes, No, Cancel };

    // What a sink does with a message. Until the program installs its message boxes
    // (see windowdialogs.h), messages go to standard error and questions are cancelled.
    struct Sink
    {
        std::function<void(const QString &text)> message;
        std::function<void()> beep;
        std::function<Answer(const QString &text)> question;
    };

    // Modal box with the application title and an OK button.
    static void show(const QString &text);
    // The platform's default beep.
    static void beep();
    // Yes / No / Cancel box, as for "save changes?".
    static Answer askYesNoCancel(const QString &text);

    // Replaces the sink; returns the previous one so it can be put back.
    static Sink setSink(Sink sink);
};

// Records every message and beep while it lives; questions get a fixed answer.
// Meant for tests and the batch tool.
class MessageCapture
{
public:
    explicit MessageCapture(Messages::Answer answer = Messages::Answer::No);
    ~MessageCapture();
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;

    // In order of arrival; a beep is recorded as the entry "<beep>".
    QStringList events() const { return m_events; }
    QStringList messages() const;
    QString lastMessage() const;
    int beeps() const;
    void clear() { m_events.clear(); }
    void setAnswer(Messages::Answer answer) { m_answer = answer; }

    static inline const QString beepEvent = QStringLiteral("<beep>");

private:
    QStringList m_events;
    Messages::Answer m_answer;
    Messages::Sink m_previous;
};
