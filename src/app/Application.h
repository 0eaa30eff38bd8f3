#pragma once

#include "app/Environment.h"
#include "app/WindowList.h"
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
class DailyBackup;
class FileCheckWatch;
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
    BackgroundCopy &libraryCopy() override { return *m_copy; }
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
    // A successful login: the login window hides (it stays loaded), the main window shows,
    // and the tips window opens when the tips file asks for it at start-up.
    void loggedIn();
    void watchFileCheck();
    void connectWindows();

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
    WindowList m_windowList{*this, m_windows};
    // The desk's one background copy of the library: the day's and the clerk's alike.
    BackgroundCopy *m_copy = nullptr;
    DailyBackup *m_dailyBackup = nullptr;
    std::unique_ptr<FileCheckWatch> m_fileCheck;
    std::unique_ptr<QWidget> m_init;  // FrmInit: the start-up window, never shown
    QPointer<MainWindow> m_main;
    QPointer<LoginWindow> m_login;
};

}  // namespace lendora
