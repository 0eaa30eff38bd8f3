#include "base/JobControl.h"

namespace lendora {

void JobControl::report(const QString &what, qint64 done, qint64 total)
{
    State now{what, done, total};
    {
        QMutexLocker locker(&m_mutex);
        m_state = now;
    }
    if (m_watcher)
        m_watcher(now);
}

JobControl::State JobControl::state() const
{
    QMutexLocker locker(&m_mutex);
    return m_state;
}

}  // namespace lendora
