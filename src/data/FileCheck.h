#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QThread;

namespace lendora {

// Runs the library's whole check on a thread of its own, so the desk can be used meanwhile;
// says when it is done, on the thread that started it.
class FileCheck : public QObject {
    Q_OBJECT
public:
    enum class State { Running, Passed, Failed };

    // `check` runs on the thread: empty when the library passed, else what was found. `hold`,
    // when given, runs on the thread first (tests keep the check from ending with it).
    // `stop` makes a check under way end soon, from this thread.
    FileCheck(std::function<QString()> check, std::function<void()> stop,
              std::function<void()> hold, QObject *parent = nullptr);
    ~FileCheck() override;  // stops a check under way and waits for its thread

    void start();
    State state() const { return m_state; }
    // What was found when it failed.
    QString found() const { return m_found; }

signals:
    void ended(bool passed, const QString &found);

private:
    std::function<QString()> m_check;
    std::function<void()> m_stop;
    std::function<void()> m_hold;
    QThread *m_thread = nullptr;
    State m_state = State::Running;
    QString m_result;  // written by the thread, read after it finished
    QString m_found;
};

}  // namespace lendora
