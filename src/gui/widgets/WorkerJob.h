#pragma once

#include "base/JobControl.h"
#include "gui/widgets/Progress.h"

#include <QObject>
#include <atomic>

class QThread;
class QWidget;

namespace lendora {

// One piece of long work on a thread of its own, for the window that owns it: closing the
// window cancels the work, deleting the window cancels it and waits for the worker. Both
// progress seams, the real one and the test kit's, run work through it.
class WorkerJob : public QObject {
    Q_OBJECT
public:
    WorkerJob(QWidget *owner, Progress::Work work);
    ~WorkerJob() override;

    JobControl &control() { return m_control; }
    void start();
    bool isRunning() const;
    // Waits for the worker, then says how the work ended (at once, if it has not yet).
    void finish();

signals:
    // On the owner's thread, once; the job deletes itself afterwards.
    void ended(Progress::Outcome outcome);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deliver();

    JobControl m_control;
    Progress::Work m_work;
    QThread *m_thread = nullptr;
    std::atomic_bool m_done{false};
    bool m_delivered = false;
};

}  // namespace lendora
