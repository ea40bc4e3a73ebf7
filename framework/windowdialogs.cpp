#include "framework/windowdialogs.h"

#include "framework/filedialogs.h"
#include "framework/messages.h"

#include <QApplication>
#include <QFileDialog>

#include <QMessageBox>
#include <algorithm>

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

Messages::Sink messageBoxes()
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

QString runDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(nullptr, request.title);
    // The filter's name already says what it lists; the patterns may list more than it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList names{
        QStringLiteral("%1 (%2)").arg(request.filterName, request.patterns.join(QLatin1Char(' ')))};
    QStringList suffixes{request.defaultSuffix};
    for (const FileDialogRequest::Filter &filter : request.moreFilters) {
        names << QStringLiteral("%1 (%2)").arg(filter.name, filter.patterns.join(QLatin1Char(' ')));
        suffixes << filter.defaultSuffix;
    }
    dialog.setNameFilters(names);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // A typed name without extension takes the one of the file type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, names, suffixes](const QString &name) {
                         const auto at = names.indexOf(name);
                         if (at >= 0)
                             dialog.setDefaultSuffix(suffixes[at]);
                     });
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
    if (request.chosenFilter)
        *request.chosenFilter = std::max<int>(0, int(names.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().constFirst();
}

} // namespace

void useWindowDialogs()
{
    Messages::setSink(messageBoxes());
    FileDialogs::setWindowDialog(runDialog);
}
