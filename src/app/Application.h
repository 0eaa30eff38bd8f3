#pragma once

#include "app/Environment.h"
#include "app/SingleCopyLock.h"
#include "data/SharedDatabase.h"
#include "widgets/StyleEngine.h"
#include "widgets/WindowRegistry.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <memory>

namespace lendora {

class LoginWindow;
class MainWindow;
class Prompter;
class Launcher;

// Owns the start-up sequence, the single-copy guard, the database, the windows, and ending.
// Everything it holds is its own (connection names carry a per-instance suffix), so two
// applications can live in one process.
class Application : public QObject {
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
    };

    explicit Application(Environment env, QObject *parent = nullptr);
    ~Application() override;

    // Runs start-up up to the first shown window, the login window; false when the program
    // ended during it.
    bool start();
    // A successful login: the login window hides (it stays loaded), the main window shows,
    // and the tips window opens when the tips file asks for it at start-up.
    void loggedIn();
    // Ends at once: records how, closes the database, hides every window, leaves the event
    // loop. No window's close handler runs.
    void end(Ending how);
    // The main window's close: closes the database, then ends.
    void closeSequence();

    bool hasEnded() const { return m_ending != Ending::Running; }
    Ending ending() const { return m_ending; }

    const Environment &env() const { return m_env; }
    Prompter &prompter() const { return *m_env.prompter; }
    Launcher &launcher() const { return *m_env.launcher; }
    QDate today() const { return m_env.today(); }
    QString appDir() const { return m_env.appDir; }
    QString filePath(const QString &relative) const;  // a file below the application directory

    SharedDatabase &database() { return m_database; }
    QString databasePath() const;
    // Opens the shared database; on refusal shows the message and ends.
    bool openDatabase();

    MainWindow *mainWindow() const;
    LoginWindow *loginWindow() const;
    WindowRegistry &windows() { return m_windows; }
    StyleEngine &styles() { return m_styles; }
    // The style convention every secondary window follows as the first step of its load.
    void applyWindowStyle(QWidget *window);

    // A connection name of this application's own.
    QString connectionName(const QString &purpose) const;
    // Every top-level window of this application, shown or hidden.
    QList<QWidget *> topLevelWindows() const;

    // The reader window's view, set just before it is shown: 0 query, 1 add, 2 management.
    int ReaderFormMode = 0;

signals:
    void endedNow();

private:
    bool takeSingleCopyLock();
    void registerWindows();  // WindowList.cpp

    Environment m_env;
    int m_instance;
    Ending m_ending = Ending::Running;
    SingleCopyLock m_lock;
    SharedDatabase m_database;
    StyleEngine m_styles;
    WindowRegistry m_windows;
    std::unique_ptr<QWidget> m_init;  // FrmInit: the start-up window, never shown
    QPointer<MainWindow> m_main;
    QPointer<LoginWindow> m_login;
};

}  // namespace lendora
