#pragma once

#include "base/JobControl.h"
#include "gui/widgets/Progress.h"

#include <QList>
#include <QMutex>
#include <QPointer>
#include <QWaitCondition>
#include <memory>
#include <optional>

namespace lendora {
class WorkerJob;
}

namespace lendora::testkit {

// The test kit's progress seam. By default every job runs to its end on its worker before
// run() returns, and its window hears how it ended at once. A test that holds the next job
// steps through it report by report, and may cancel it at any report, without sleeping:
//
//     t.progress().holdNextJob();
//     t.click(...);                             // starts the job; run() returns at once
//     QVERIFY(t.progress().waitForReport());    // the job stands at its first report
//     t.progress().step();                      // ... on to the next
//     t.progress().cancel();                    // or cancel it where it stands
//     QVERIFY(t.progress().waitForEnd());       // it ends; the window has heard how
class FakeProgress : public Progress {
public:
    struct Job {
        QString title;
        QList<JobControl::State> reports;  // as the work made them, in order
        std::optional<Outcome> outcome;    // once the window has heard it
    };

    FakeProgress();
    ~FakeProgress() override;

    void run(QWidget *owner, const QString &title, Work work, Ended ended) override;

    // The next job to start stands still at each of its reports until step() or cancel().
    void holdNextJob();
    // Waits until the held job stands at a report (true; held() says which) or has ended.
    bool waitForReport();
    JobControl::State held() const;
    // Lets the held job go on to its next report.
    void step();
    // Cancels the held job where it stands and lets it go on, to stop.
    void cancel();
    // Lets the held job run to its end and waits until its window has heard how it ended;
    // false when there is no such job.
    bool waitForEnd();

    QList<Job> jobs() const;

private:
    struct Gate;
    std::shared_ptr<Gate> m_gate;
    QPointer<WorkerJob> m_heldJob;
    bool m_holdNext = false;
};

}  // namespace lendora::testkit
