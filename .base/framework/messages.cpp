#include "framework/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace {

QString applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Tessavox") : name;
}

QWidget *dialogParent()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) ? QApplication::activeWindow()
                                                                      : nullptr;
}

Messages::Sink defaultSink()
{
    Messages::Sink sink;
    sink.message = [](const QString &text) {
        QMessageBox::warning(dialogParent(), applicationTitle(), text, QMessageBox::Ok);
    };
    sink.beep = [] { QApplication::beep(); };
    sink.question = [](const QString &text) {
        const auto button = QMessageBox::question(
            dialogParent(), applicationTitle(), text,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (button == QMessageBox::Yes)
            return Messages::Answer::Yes;
        if (button == QMessageBox::No)
            return Messages::Answer::No;
        return Messages::Answer::Cancel;
    };
    return sink;
}

Messages::Sink &currentSink()
{
    static Messages::Sink sink = defaultSink();
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
