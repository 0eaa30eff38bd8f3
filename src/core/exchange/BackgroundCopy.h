#pragma once

#include "data/Copies.h"

#include <QObject>
#include <QString>

class QThread;

namespace lendora {

// Copies the library on a thread of its own, so the desk keeps lending meanwhile; says when
// it is done, on the thread that started it.
class BackgroundCopy : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~BackgroundCopy() override;  // waits for a copy under way

    // False when a copy is under way already.
    bool start(Copies::Copier copy, const QString &target);
    bool isRunning() const { return m_thread != nullptr; }

signals:
    void finished(bool ok, const QString &target, const QString &error);

private:
    QThread *m_thread = nullptr;
    bool m_ok = false;
    QString m_target;
    QString m_error;
};

}  // namespace lendora
