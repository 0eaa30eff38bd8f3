#pragma once

#include "app/Environment.h"
#include "base/SingleCopyLock.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/StyleEngine.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"

#include <QDate>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <memory>

namespace lendora {

class BackgroundCopy;

class FileChooser;
class LoginWindow;
class MainWindow;
class PrintSink;
class Progress;

// The composition root. Owns the start-up sequence, the single-copy guard, the database, the
// windows, and ending; the windows see it only as their WindowContext. Everything it holds is
// its own (connection names carry a per-instance suffix), so two applications can live in one
// process.
class Application : public QObject, public WindowContext {
    Q_OBJECT
public:
    enum class Ending {
        Running,
        SecondCopy,
        DatabaseRefused,
        LoginCancelled,
        TooManyAttempts,
        MainWindowClosed,
        ExitCommand,
        Signal,        // SIGTERM, SIGHUP or SIGINT: ends as the exit command does
        DatabaseLost,  // the library file was deleted or replaced while the desk ran
    };

    explicit Application(Environment env, QObject *parent = nullptr);
    ~Application() override;

    // Runs start-up up to the first shown window, the login window; false when the program
    // ended during it.
    bool start();
    // Ends at once: records how, closes the database, hides every window, leaves the event
    // loop. No window's close handler runs.
    void end(Ending how);

    bool hasEnded() const { return m_ending != Ending::Running; }
    Ending ending() const { return m_ending; }

    const Environment &env() const { return m_env; }
    QString appDir() const { return m_env.appDir; }
    QString databasePath() const;

    MainWindow *mainWindow() const;
    LoginWindow *loginWindow() const;
    StyleEngine &styles() { return m_styles; }
    // Every top-level window of this application, shown or hidden.
    QList<QWidget *> topLevelWindows() const;

    // WindowContext
    Prompter &prompter() const override { return *m_env.prompter; }
    Launcher &launcher() const override { return *m_env.launcher; }
    FileChooser &files() const override { return *m_env.files; }
    PrintSink &printer() const override { return *m_env.printer; }
    Progress &progress() const override { return *m_env.progress; }
    QDate today() const override { return m_env.today(); }
    SharedDatabase &database() override { return m_database; }
    WindowRegistry &windows() override { return m_windows; }
    QString filePath(const QString &relative) const override;
    void applyWindowStyle(QWidget *window) override;
    bool systemLook() const override;

signals:
    void endedNow();

private:
    bool takeSingleCopyLock();
    // Opens the shared database where LibraryLocation finds it; on refusal shows the
    // message and ends.
    bool openDatabase();
    // Warns when today is earlier than the newest lending or return date stored.
    void warnIfClockBehind();
    // Names, in one message, the categories whose code the book windows cannot give a book.
    void warnOfUnchoosableCategories();
    // A successful login: the login window hides (it stays loaded), the main window shows,
    // and the tips window opens when the tips file asks for it at start-up.
    void loggedIn();
    // The day's first login copies the library to backup/ on a thread of its own, keeping
    // the newest copies only; a copy that fails is told.
    void backUpDaily();
    // The library's check after an unclean end runs beside the desk: a write waits for it
    // under a note, and when it fails the clerk is told once and offered the newest backup.
    void watchFileCheck();
    void fileCheckEnded(bool passed, const QString &found);
    void registerWindows();  // WindowList.cpp
    void connectWindows();   // WindowList.cpp

    Environment m_env;
    // The real dialogs and printer, where the environment brings none.
    std::unique_ptr<FileChooser> m_realFiles;
    std::unique_ptr<PrintSink> m_realPrinter;
    std::unique_ptr<Progress> m_realProgress;
    int m_instance;
    Ending m_ending = Ending::Running;
    SingleCopyLock m_lock;
    SharedDatabase m_database;
    StyleEngine m_styles;
    WindowRegistry m_windows;
    std::unique_ptr<QWidget> m_init;  // FrmInit: the start-up window, never shown
    QPointer<MainWindow> m_main;
    QPointer<LoginWindow> m_login;
    BackgroundCopy *m_dailyCopy = nullptr;
    std::unique_ptr<QLabel> m_waitingNote;  // lblWaitingForCheck
    bool m_backUpWhenChecked = false;
};

}  // namespace lendora
