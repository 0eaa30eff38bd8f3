#pragma once

#include <QMutex>
#include <QString>
#include <atomic>
#include <functional>

namespace lendora {

// What a long job and whoever waits for it share across threads: what the job is doing, how
// far it has got, and whether it is to stop. The job reports as it goes and looks at
// cancelled() between steps; a cancelled job stops soon and leaves nothing half-made behind.
class JobControl {
public:
    struct State {
        QString what;      // the step under way, as the clerk reads it
        qint64 done = 0;   // of total
        qint64 total = 0;  // 0: unknown
    };

    JobControl() = default;
    JobControl(const JobControl &) = delete;
    JobControl &operator=(const JobControl &) = delete;

    // The job's side. report() may block in the watcher a test installs.
    void report(const QString &what, qint64 done, qint64 total);
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

    // The waiting side: any thread.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    State state() const;

    // Called on the job's thread after every report, with the state just reported. Set before
    // the job starts.
    void setWatcher(std::function<void(const State &)> watcher) { m_watcher = std::move(watcher); }

private:
    mutable QMutex m_mutex;
    State m_state;
    std::atomic_bool m_cancelled{false};
    std::function<void(const State &)> m_watcher;
};

}  // namespace lendora
