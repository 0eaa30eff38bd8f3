#include "FakeProgress.h"

#include "gui/widgets/WorkerJob.h"

#include <QDeadlineTimer>
#include <QWidget>

namespace lendora::testkit {

namespace {
constexpr int kLongestWaitMs = 60000;
// How often a job standing at a report looks whether it was cancelled from elsewhere (its
// window deleted, say): it then goes on, to stop.
constexpr unsigned long kLookMs = 50;
}  // namespace

// Shared with the workers' watchers, which may outlive nothing but must never see a gone kit.
struct FakeProgress::Gate {
    mutable QMutex mutex;
    QWaitCondition changed;
    QList<Job> jobs;
    int heldIndex = -1;       // the job a test steps through
    bool standing = false;    // it stands at a report
    bool released = false;    // it may go on from that report
    bool runFree = false;     // it no longer stops at its reports
    int reached = 0;          // reports it has stood at
    int letGo = 0;            // of them, the ones a test let it go from
    JobControl::State where;  // the report it stands at
    bool ended = false;       // it has ended
};

FakeProgress::FakeProgress() : m_gate(std::make_shared<Gate>()) {}

FakeProgress::~FakeProgress()
{
    QMutexLocker locker(&m_gate->mutex);
    m_gate->runFree = true;
    m_gate->changed.wakeAll();
}

void FakeProgress::run(QWidget *owner, const QString &title, Work work, Ended ended)
{
    auto *job = new WorkerJob(owner, std::move(work));
    const bool held = std::exchange(m_holdNext, false);
    int index = 0;
    {
        QMutexLocker locker(&m_gate->mutex);
        index = int(m_gate->jobs.size());
        m_gate->jobs.append(Job{title, {}, std::nullopt});
        if (held) {
            m_gate->heldIndex = index;
            m_gate->standing = false;
            m_gate->released = false;
            m_gate->runFree = false;
            m_gate->ended = false;
            m_gate->reached = 0;
            m_gate->letGo = 0;
        }
    }
    const JobControl *control = &job->control();
    job->control().setWatcher(
        [gate = m_gate, index, held, control](const JobControl::State &state) {
            QMutexLocker locker(&gate->mutex);
            gate->jobs[index].reports.append(state);
            if (!held || gate->runFree || control->cancelled())
                return;
            gate->where = state;
            gate->standing = true;
            gate->released = false;
            ++gate->reached;
            gate->changed.wakeAll();
            while (!gate->released && !gate->runFree && !control->cancelled())
                gate->changed.wait(&gate->mutex, kLookMs);
            gate->standing = false;
        });
    QObject::connect(job, &WorkerJob::ended, owner,
                     [gate = m_gate, index, held, ended = std::move(ended)](Outcome outcome) {
                         {
                             QMutexLocker locker(&gate->mutex);
                             gate->jobs[index].outcome = outcome;
                             if (held)
                                 gate->ended = true;
                             gate->changed.wakeAll();
                         }
                         if (ended)
                             ended(outcome);
                     });
    job->start();
    if (held) {
        m_heldJob = job;
        return;
    }
    job->finish();
}

void FakeProgress::holdNextJob()
{
    m_holdNext = true;
}

bool FakeProgress::waitForReport()
{
    const QDeadlineTimer deadline(kLongestWaitMs);
    QMutexLocker locker(&m_gate->mutex);
    if (m_gate->heldIndex < 0)
        return false;
    // Standing at a report the test has not let it go from yet.
    const auto standsAnew = [this] { return m_gate->standing && m_gate->reached > m_gate->letGo; };
    while (!standsAnew() && !m_gate->ended && m_heldJob && !deadline.hasExpired()) {
        // A worker that has finished without standing again: its window hears how it ended.
        if (!m_heldJob->isRunning()) {
            locker.unlock();
            m_heldJob->finish();
            locker.relock();
            continue;
        }
        m_gate->changed.wait(&m_gate->mutex, kLookMs);
    }
    return standsAnew();
}

JobControl::State FakeProgress::held() const
{
    QMutexLocker locker(&m_gate->mutex);
    return m_gate->where;
}

void FakeProgress::step()
{
    QMutexLocker locker(&m_gate->mutex);
    m_gate->letGo = m_gate->reached;
    m_gate->released = true;
    m_gate->changed.wakeAll();
}

void FakeProgress::cancel()
{
    if (m_heldJob)
        m_heldJob->control().cancel();
    step();
}

bool FakeProgress::waitForEnd()
{
    {
        QMutexLocker locker(&m_gate->mutex);
        if (m_gate->heldIndex < 0)
            return false;
        m_gate->runFree = true;
        m_gate->changed.wakeAll();
    }
    if (m_heldJob)
        m_heldJob->finish();
    QMutexLocker locker(&m_gate->mutex);
    return m_gate->ended;
}

QList<FakeProgress::Job> FakeProgress::jobs() const
{
    QMutexLocker locker(&m_gate->mutex);
    return m_gate->jobs;
}

}  // namespace lendora::testkit
