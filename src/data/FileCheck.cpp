#include "data/FileCheck.h"

#include <QThread>

namespace lendora {

FileCheck::FileCheck(std::function<QString()> check, std::function<void()> stop,
                     std::function<void()> hold, QObject *parent)
    : QObject(parent), m_check(std::move(check)), m_stop(std::move(stop)), m_hold(std::move(hold))
{}

FileCheck::~FileCheck()
{
    if (m_thread) {
        // Ending the program does not wait for the whole file to be read.
        if (m_stop)
            m_stop();
        m_thread->wait();
        delete m_thread;
    }
}

void FileCheck::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] {
        if (m_hold)
            m_hold();
        m_result = m_check();
    });
    connect(m_thread, &QThread::finished, this, [this] {
        m_thread->deleteLater();
        m_thread = nullptr;
        m_found = m_result;
        m_state = m_found.isEmpty() ? State::Passed : State::Failed;
        emit ended(m_state == State::Passed, m_found);
    });
    m_thread->start();
}

}  // namespace lendora
