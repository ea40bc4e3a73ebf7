#include "framework/messages.h"

#include <QStringList>
#include <QTextStream>

namespace {

// Without windows (the batch tool, tests) a message goes to standard error and a question
// is answered Cancel, which never loses anything.
Messages::Sink withoutWindows()
{
    Messages::Sink sink;
    sink.message = [](const QString &text) { QTextStream(stderr) << text << Qt::endl; };
    sink.beep = [] {};
    sink.question = [](const QString &) { return Messages::Answer::Cancel; };
    return sink;
}

Messages::Sink &currentSink()
{
    static Messages::Sink sink = withoutWindows();
    return sink;
}

} // namespace

void Messages::show(const QString &text)
{
    currentSink().message(text);
}

void Messages::beep()
{
    currentSink().beep();
}

Messages::Answer Messages::askYesNoCancel(const QString &text)
{
    return currentSink().question(text);
}

Messages::Sink Messages::setSink(Sink sink)
{
    Sink previous = currentSink();
    currentSink() = std::move(sink);
    return previous;
}

MessageCapture::MessageCapture(Messages::Answer answer) : m_answer(answer)
{
    Messages::Sink sink;
    sink.message = [this](const QString &text) { m_events.append(text); };
    sink.beep = [this] { m_events.append(beepEvent); };
    sink.question = [this](const QString &text) {
        m_events.append(text);
        return m_answer;
    };
    m_previous = Messages::setSink(std::move(sink));
}

MessageCapture::~MessageCapture()
{
    Messages::setSink(m_previous);
}

QStringList MessageCapture::messages() const
{
    QStringList result;
    for (const QString &event : m_events) {
        if (event != beepEvent)
            result.append(event);
    }
    return result;
}

QString MessageCapture::lastMessage() const
{
    const QStringList all = messages();
    return all.isEmpty() ? QString() : all.last();
}

int MessageCapture::beeps() const
{
    return int(m_events.count(beepEvent));
}
