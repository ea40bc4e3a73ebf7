#include "framework/filedialogs.h"

#include <QFileDialog>

namespace {

FileDialogs::Answerer &currentAnswerer()
{
    static FileDialogs::Answerer answerer;
    return answerer;
}

QString runDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(nullptr, request.title);
    // The filter's name already says what it lists; the patterns may list more than it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(
        QStringLiteral("%1 (%2)").arg(request.filterName, request.patterns.join(QLatin1Char(' '))));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString FileDialogs::ask(const FileDialogRequest &request)
{
    if (const Answerer &answerer = currentAnswerer())
        return answerer(request);
    return runDialog(request);
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
