#include "framework/modaldialogs.h"

#include <QDialog>

namespace {

ModalDialogs::Runner &currentRunner()
{
    static ModalDialogs::Runner runner;
    return runner;
}

} // namespace

int ModalDialogs::exec(QDialog &dialog)
{
    if (const Runner &runner = currentRunner())
        return runner(dialog);
    // Virtual: some dialogs apply their choices in their own exec() (Page Setup does).
    return dialog.exec();
}

ModalDialogs::Runner ModalDialogs::setRunner(Runner runner)
{
    Runner previous = currentRunner();
    currentRunner() = std::move(runner);
    return previous;
}
