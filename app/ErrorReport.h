#pragma once
// The one place where an error that stops a command is shown: a message box with its text, after
// which the program goes on. Handlers run their work through Guarded(); the application's notify()
// catches whatever escapes anyway.
#include "app/Errors.h"

#include <QApplication>
#include <exception>
#include <utility>

class Prompts;

// The prompts the report uses (the main window's). Without them it writes to stderr.
void SetErrorPrompts(Prompts* prompts);
void ReportError(const QString& text);
void ReportCurrentException();

template <typename F>
void Guarded(F&& work)
{
    try {
        std::forward<F>(work)();
    } catch (...) {
        ReportCurrentException();
    }
}

// A slot for connect(): runs `work` through Guarded.
template <typename F>
auto GuardedSlot(F work)
{
    return [work] { Guarded(work); };
}

class ZApplication : public QApplication {
public:
    ZApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Busy state of a command: the control disabled and the hourglass shown until the guard ends,
// also when the command fails on the way.
class BusyGuard {
public:
    explicit BusyGuard(QWidget* control = nullptr);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    // Ends the busy state early (the control enabled again, the cursor restored).
    void release();

private:
    QWidget* m_control;
    bool m_active = true;
};
