#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

namespace lendora {

class Application;

// Ends the application on SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C in a
// terminal) as the exit command does, so the library is closed and its in-use marker removed.
// The handler only writes the signal's number into a pipe; the event loop reads it and ends
// the application, so nothing unsafe runs inside the handler. A signal that arrives before the
// event loop runs waits in the pipe. A signal that was ignored when the program started (nohup)
// stays ignored. One at a time in a process; the destructor puts the earlier handlers back.
class SignalEnding : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

    explicit SignalEnding(Application &app);
    ~SignalEnding() override;
    SignalEnding(const SignalEnding &) = delete;
    SignalEnding &operator=(const SignalEnding &) = delete;

private:
    void readPipe();

    Application &m_app;
    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    std::array<struct sigaction, kSignals.size()> m_previous{};
    std::array<bool, kSignals.size()> m_installed{};
};

}  // namespace lendora
