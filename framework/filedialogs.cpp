#include "framework/filedialogs.h"

namespace {

FileDialogs::Answerer &currentAnswerer()
{
    static FileDialogs::Answerer answerer;
    return answerer;
}

FileDialogs::Answerer &windowDialog()
{
    static FileDialogs::Answerer dialog;
    return dialog;
}

} // namespace

QString FileDialogs::ask(const FileDialogRequest &request)
{
    if (const Answerer &answerer = currentAnswerer())
        return answerer(request);
    if (const Answerer &dialog = windowDialog())
        return dialog(request);
    return {}; // no window to ask in: cancelled
}

void FileDialogs::setWindowDialog(Answerer dialog)
{
    windowDialog() = std::move(dialog);
}

FileDialogs::Answerer FileDialogs::setAnswerer(Answerer answerer)
{
    Answerer previous = currentAnswerer();
    currentAnswerer() = std::move(answerer);
    return previous;
}

ScopedFileDialogAnswer::ScopedFileDialogAnswer(QString path) : m_path(std::move(path))
{
    m_previous = FileDialogs::setAnswerer([this](const FileDialogRequest &request) {
        m_requests.append(request);
        return m_path;
    });
}

ScopedFileDialogAnswer::~ScopedFileDialogAnswer()
{
    FileDialogs::setAnswerer(m_previous);
}
