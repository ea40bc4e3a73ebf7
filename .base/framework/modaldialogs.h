#pragma once

#include <functional>

class QDialog;

// Runs modal dialogs. Tests replace the runner so that they can fill in a dialog and
// accept or cancel it without a modal event loop.
class ModalDialogs
{
public:
    // Receives the dialog, ready to show; returns QDialog::Accepted or QDialog::Rejected.
    using Runner = std::function<int(QDialog &dialog)>;

    static int exec(QDialog &dialog);
    // Replaces the runner; returns the previous one. An empty runner restores exec().
    static Runner setRunner(Runner runner);
};

// Installs a runner for its lifetime, then puts the previous one back.
class ScopedModalRunner
{
public:
    explicit ScopedModalRunner(ModalDialogs::Runner runner)
        : m_previous(ModalDialogs::setRunner(std::move(runner)))
    {}
    ~ScopedModalRunner() { ModalDialogs::setRunner(m_previous); }
    ScopedModalRunner(const ScopedModalRunner &) = delete;
    ScopedModalRunner &operator=(const ScopedModalRunner &) = delete;

private:
    ModalDialogs::Runner m_previous;
};
