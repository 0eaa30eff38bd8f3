#pragma once

#include "base/DeskSettings.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>

namespace lendora {

class BackgroundCopy;
class Prompter;
class SharedDatabase;

// The day's copy of the library: made at the first login of a day, on the copy's own thread,
// keeping the newest copies only; a copy that fails is told. It goes through the desk's one
// BackgroundCopy, so it never runs beside a copy the clerk asked for.
class DailyBackup : public QObject {
    Q_OBJECT
public:
    struct Needs {
        SharedDatabase &database;
        BackgroundCopy &copy;
        Prompter &prompter;
        QString appDir;
        std::function<QDate()> today;
    };

    explicit DailyBackup(Needs needs, QObject *parent = nullptr);

    // A login: copies now, or, while the check after an unclean end runs, once it has passed.
    // A library found damaged is never copied over good backups.
    void loggedIn();
    void checkEnded(bool passed);

private:
    void copyNow();

    Needs m_needs;
    bool m_whenChecked = false;
    QString m_target;  // the copy under way, to tell its end from others'
};

}  // namespace lendora
