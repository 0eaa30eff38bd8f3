#include "core/exchange/BackgroundCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace lendora {

BackgroundCopy::~BackgroundCopy()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool BackgroundCopy::start(Copies::Copier copy, const QString &target,
                           std::function<void()> afterCopy)
{
    if (m_thread)
        return false;
    m_target = target;
    m_error.clear();
    m_ok = false;
    const QString folder = QFileInfo(target).absolutePath();
    const QString noFolder = tr("无法创建文件夹 %1").arg(QDir::toNativeSeparators(folder));
    m_thread = QThread::create([this, copy, target, folder, noFolder, afterCopy] {
        if (!QDir().mkpath(folder)) {
            m_error = noFolder;
            return;
        }
        m_ok = copy(target, &m_error);
        if (m_ok && afterCopy)
            afterCopy();
    });
    connect(m_thread, &QThread::finished, this, [this] {
        m_thread->deleteLater();
        m_thread = nullptr;
        emit finished(m_ok, m_target, m_error);
    });
    m_thread->start(QThread::LowPriority);
    return true;
}

}  // namespace lendora
