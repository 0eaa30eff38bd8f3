#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lendora {

class JobControl;

// Long work (label sheets, exports, imports, statistics, backups): it runs on a worker thread
// while the clerk sees what it is doing and how far it has got, and may cancel it. Closing
// the window the work is for cancels it too.
class Progress {
public:
    enum class Outcome {
        Finished,   // the work did all it was to do
        Cancelled,  // the clerk cancelled it, or closed its window; it left nothing half-made
        Failed,     // it stopped on a problem of its own, which it keeps for `ended` to tell
    };
    // The work, on the worker: true when it did all it was to do. It reports through `job`,
    // looks at job.cancelled() between steps, and never waits for the GUI thread. It holds
    // copies of what it needs, never the window's members; work that reads the library does
    // so through a connection of its own.
    using Work = std::function<bool(JobControl &job)>;
    using Ended = std::function<void(Outcome outcome)>;

    virtual ~Progress() = default;
    // Starts `work` for the window `owner`. `ended` runs on the GUI thread when the work is
    // over, unless the owner was deleted first (the work is then cancelled and waited for).
    // It may run before run() returns.
    virtual void run(QWidget *owner, const QString &title, Work work, Ended ended) = 0;
};

}  // namespace lendora
