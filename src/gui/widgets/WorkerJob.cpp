#include "gui/widgets/WorkerJob.h"

#include <QEvent>
#include <QThread>
#include <QWidget>

namespace lendora {

WorkerJob::WorkerJob(QWidget *owner, Progress::Work work) : QObject(owner), m_work(std::move(work))
{
    owner->installEventFilter(this);
}

WorkerJob::~WorkerJob()
{
    if (m_thread) {
        m_control.cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void WorkerJob::start()
{
    m_thread = QThread::create([this] { m_done = m_work(m_control); });
    connect(m_thread, &QThread::finished, this, &WorkerJob::deliver, Qt::QueuedConnection);
    m_thread->start();
}

bool WorkerJob::isRunning() const
{
    return m_thread && !m_thread->isFinished();
}

void WorkerJob::finish()
{
    if (m_thread)
        m_thread->wait();
    deliver();
}

void WorkerJob::deliver()
{
    if (m_delivered)
        return;
    m_delivered = true;
    const Progress::Outcome outcome =
        m_done ? Progress::Outcome::Finished
               : (m_control.cancelled() ? Progress::Outcome::Cancelled : Progress::Outcome::Failed);
    emit ended(outcome);
    deleteLater();
}

bool WorkerJob::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Close)
        m_control.cancel();
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
