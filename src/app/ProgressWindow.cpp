#include "app/ProgressWindow.h"

#include "gui/widgets/WorkerJob.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace lendora {

namespace {
// Work that ends sooner never shows the window at all.
constexpr int kShowAfterMs = 250;
constexpr int kRefreshMs = 100;

class ProgressDialog : public QDialog {
public:
    ProgressDialog(QWidget *owner, const QString &title, WorkerJob *job)
        : QDialog(owner), m_job(job)
    {
        setObjectName(QStringLiteral("FrmProgress"));
        setWindowTitle(title);
        setWindowModality(Qt::WindowModal);
        auto *layout = new QVBoxLayout(this);
        m_what = new QLabel(this);
        m_what->setObjectName(QStringLiteral("lblProgress"));
        m_what->setMinimumWidth(320);
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("prgProgress"));
        m_cancel = new QPushButton(ProgressWindow::tr("取消"), this);
        m_cancel->setObjectName(QStringLiteral("cmdCancel"));
        m_cancel->setAutoDefault(false);
        layout->addWidget(m_what);
        layout->addWidget(m_bar);
        layout->addWidget(m_cancel, 0, Qt::AlignRight);
        connect(m_cancel, &QPushButton::clicked, this, &ProgressDialog::cancel);
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &ProgressDialog::refresh);
        timer->start(kRefreshMs);
        refresh();
    }

    void cancel()
    {
        if (m_job)
            m_job->control().cancel();
        m_cancel->setEnabled(false);
        m_what->setText(ProgressWindow::tr("正在取消..."));
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        // Closed by the clerk while the work runs: it is cancelled; the window goes with it.
        if (m_job) {
            cancel();
            event->ignore();
            return;
        }
        QDialog::closeEvent(event);
    }
    void reject() override { cancel(); }

private:
    void refresh()
    {
        if (!m_job || m_job->control().cancelled())
            return;
        const JobControl::State state = m_job->control().state();
        m_what->setText(state.what);
        if (state.total <= 0) {
            m_bar->setRange(0, 0);  // how long is not known yet
            return;
        }
        // A bar of thousandths: counts beyond an int still move it.
        m_bar->setRange(0, 1000);
        m_bar->setValue(int(1000 * std::min(state.done, state.total) / state.total));
    }

    QPointer<WorkerJob> m_job;
    QLabel *m_what;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
};
}  // namespace

void ProgressWindow::run(QWidget *owner, const QString &title, Work work, Ended ended)
{
    auto *job = new WorkerJob(owner, std::move(work));
    QPointer<ProgressDialog> dialog = new ProgressDialog(owner, title, job);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(kShowAfterMs, dialog, [dialog] {
        if (dialog)
            dialog->show();
    });
    QObject::connect(job, &WorkerJob::ended, owner,
                     [dialog, ended = std::move(ended)](Outcome outcome) {
                         if (dialog)
                             dialog->deleteLater();
                         if (ended)
                             ended(outcome);
                     });
    job->start();
}

}  // namespace lendora
