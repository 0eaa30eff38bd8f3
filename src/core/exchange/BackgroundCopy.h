#pragma once

#include "data/Copies.h"

#include <QObject>
#include <QString>

#include <functional>

class QThread;

namespace lendora {

// Copies the library on a thread of its own, so the desk keeps lending meanwhile; says when
// it is done, on the thread that started it.
class BackgroundCopy : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~BackgroundCopy() override;  // waits for a copy under way

    // False when a copy is under way already. afterCopy runs on the copy's thread once the
    // copy is whole, so a program ending at once still finishes it.
    bool start(Copies::Copier copy, const QString &target, std::function<void()> afterCopy = {});
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
