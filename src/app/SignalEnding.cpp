#include "app/SignalEnding.h"

#include "app/Application.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lendora {

namespace {

volatile sig_atomic_t writeEnd = -1;

void onSignal(int number)
{
    // Only what is safe in a handler: write(2), with errno kept for the code interrupted. A
    // full pipe already holds a wake-up, so a byte lost there loses nothing.
    const int saved = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

}  // namespace

SignalEnding::SignalEnding(Application &app) : m_app(app)
{
    Q_ASSERT(writeEnd == -1);
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("no pipe for the signals: %s", std::strerror(errno));
        return;
    }
    writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalEnding::readPipe);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (::sigaction(kSignals[i], nullptr, &m_previous[i]) != 0
            || m_previous[i].sa_handler == SIG_IGN)
            continue;
        m_installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SignalEnding::~SignalEnding()
{
    for (size_t i = 0; i < kSignals.size(); ++i) {
        if (m_installed[i])
            ::sigaction(kSignals[i], &m_previous[i], nullptr);
    }
    if (m_pipe[0] < 0)
        return;
    writeEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SignalEnding::readPipe()
{
    char bytes[64];
    while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
    }
    m_app.end(Application::Ending::Signal);
}

}  // namespace lendora
