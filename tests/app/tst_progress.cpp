#include "FakeProgress.h"
#include "TestMain.h"
#include "app/ProgressWindow.h"
#include "base/JobControl.h"

#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QWidget>
#include <QtTest>
#include <atomic>
#include <memory>

using namespace lendora;
using lendora::testkit::FakeProgress;

namespace {

// Work of `steps` steps, each reported; stops at the first step it finds itself cancelled.
// `steps` of -1: reports once, then waits for a cancel.
Progress::Work counting(int steps, std::shared_ptr<std::atomic_int> done)
{
    return [steps, done](JobControl &job) {
        if (steps < 0) {
            job.report(QStringLiteral("waiting"), 0, 0);
            while (!job.cancelled())
                QThread::yieldCurrentThread();
            return false;
        }
        for (int i = 0; i < steps; ++i) {
            if (job.cancelled())
                return false;
            job.report(QStringLiteral("step"), i, steps);
            ++*done;
        }
        // As work that commits at its end: never once cancelled.
        return !job.cancelled();
    };
}

}  // namespace

// The progress seam: the test kit's, which the window tests lean on, and the real one.
class ProgressTest : public QObject {
    Q_OBJECT

private slots:
    void runsToItsEndAtOnce_data();
    void runsToItsEndAtOnce();
    void cancelAtAnyReport_data();
    void cancelAtAnyReport();
    void closingTheWindowCancels();
    void deletingTheWindowWaits();
    void realWindowCancels();
};

void ProgressTest::runsToItsEndAtOnce_data()
{
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<int>("outcome");
    QTest::newRow("finished") << true << int(Progress::Outcome::Finished);
    QTest::newRow("failed") << false << int(Progress::Outcome::Failed);
}

void ProgressTest::runsToItsEndAtOnce()
{
    QFETCH(bool, succeeds);
    QFETCH(int, outcome);
    FakeProgress progress;
    QWidget window;
    std::optional<Progress::Outcome> heard;
    Qt::HANDLE worker = nullptr;
    progress.run(
        &window, QStringLiteral("job"),
        [succeeds, &worker](JobControl &job) {
            worker = QThread::currentThreadId();
            job.report(QStringLiteral("one"), 1, 2);
            job.report(QStringLiteral("two"), 2, 2);
            return succeeds;
        },
        [&heard](Progress::Outcome ended) { heard = ended; });
    // Ended before run() returned, on a worker of its own.
    QCOMPARE(int(heard.value_or(Progress::Outcome(-1))), outcome);
    QVERIFY(worker != nullptr && worker != QThread::currentThreadId());
    const QList<FakeProgress::Job> jobs = progress.jobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs.first().title, QStringLiteral("job"));
    QCOMPARE(jobs.first().reports.size(), 2);
    QCOMPARE(jobs.first().reports.last().what, QStringLiteral("two"));
}

void ProgressTest::cancelAtAnyReport_data()
{
    QTest::addColumn<int>("steps");  // steps let go before the cancel
    QTest::newRow("at the first report") << 0;
    QTest::newRow("in the middle") << 3;
    QTest::newRow("at the last report") << 9;
}

void ProgressTest::cancelAtAnyReport()
{
    QFETCH(int, steps);
    FakeProgress progress;
    QWidget window;
    const auto done = std::make_shared<std::atomic_int>(0);
    std::optional<Progress::Outcome> heard;
    progress.holdNextJob();
    progress.run(&window, QStringLiteral("job"), counting(10, done),
                 [&heard](Progress::Outcome ended) { heard = ended; });
    for (int i = 0; i < steps; ++i) {
        QVERIFY(progress.waitForReport());
        QCOMPARE(progress.held().done, qint64(i));
        progress.step();
    }
    QVERIFY(progress.waitForReport());
    QVERIFY(!heard);
    progress.cancel();
    QVERIFY(progress.waitForEnd());
    QCOMPARE(int(*heard), int(Progress::Outcome::Cancelled));
    // The step it stood at ran; none after it.
    QCOMPARE(done->load(), steps + 1);
}

void ProgressTest::closingTheWindowCancels()
{
    FakeProgress progress;
    QWidget window;
    window.show();
    const auto done = std::make_shared<std::atomic_int>(0);
    std::optional<Progress::Outcome> heard;
    progress.holdNextJob();
    progress.run(&window, QStringLiteral("job"), counting(-1, done),
                 [&heard](Progress::Outcome ended) { heard = ended; });
    QVERIFY(progress.waitForReport());
    progress.step();
    window.close();
    QVERIFY(progress.waitForEnd());
    QCOMPARE(int(*heard), int(Progress::Outcome::Cancelled));
}

void ProgressTest::deletingTheWindowWaits()
{
    FakeProgress progress;
    auto *window = new QWidget;
    const auto done = std::make_shared<std::atomic_int>(0);
    bool heard = false;
    progress.holdNextJob();
    progress.run(window, QStringLiteral("job"), counting(-1, done),
                 [&heard](Progress::Outcome) { heard = true; });
    QVERIFY(progress.waitForReport());
    // The worker is cancelled and waited for; the gone window hears nothing.
    delete window;
    QVERIFY(!progress.waitForEnd());
    QVERIFY(!heard);
}

void ProgressTest::realWindowCancels()
{
    ProgressWindow progress;
    QWidget window;
    window.show();
    const auto done = std::make_shared<std::atomic_int>(0);
    std::optional<Progress::Outcome> heard;
    progress.run(&window, QStringLiteral("生成图书条码"), counting(-1, done),
                 [&heard](Progress::Outcome ended) { heard = ended; });
    QPointer<QWidget> shown;
    QTRY_VERIFY((shown = window.findChild<QWidget *>(QStringLiteral("FrmProgress")))
                && shown->isVisible());
    QCOMPARE(shown->windowTitle(), QStringLiteral("生成图书条码"));
    auto *cancel = shown->findChild<QPushButton *>(QStringLiteral("cmdCancel"));
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), QStringLiteral("取消"));
    cancel->click();
    QTRY_VERIFY(heard.has_value());
    QCOMPARE(int(*heard), int(Progress::Outcome::Cancelled));
    QTRY_VERIFY(shown.isNull());
}

LENDORA_TEST_CLASS(ProgressTest)
#include "tst_progress.moc"
