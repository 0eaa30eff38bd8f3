#pragma once

#include <QLabel>
#include <QString>
#include <functional>
#include <memory>

namespace lendora {

class Prompter;
class SharedDatabase;

// The library's check after an unclean end runs beside the desk: a write waits for it under
// a note, and when it fails the clerk is told once and offered the newest backup.
class FileCheckWatch {
public:
    struct Needs {
        SharedDatabase &database;
        Prompter &prompter;
        QString appDir;
        // The check's end, before the clerk is told; false when the desk has ended.
        std::function<bool(bool passed)> ended;
        std::function<void()> showBackups;  // the clerk took the offer
    };

    // Watches the check of the library `database` opens next.
    explicit FileCheckWatch(Needs needs);
    ~FileCheckWatch();

private:
    void waiting(bool waits);
    void checkEnded(bool passed, const QString &found);

    Needs m_needs;
    std::unique_ptr<QLabel> m_note;  // lblWaitingForCheck
};

}  // namespace lendora
