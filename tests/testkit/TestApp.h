#pragma once

#include "FakeFiles.h"
#include "FakeLauncher.h"
#include "FakePrinter.h"
#include "FakeProgress.h"
#include "ScriptedPrompter.h"
#include "app/Application.h"

#include <QDate>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

class QAbstractButton;

namespace lendora::testkit {

// One application in a fresh temporary application directory holding the shipped files,
// with scripted prompts, a fake desktop, fake file dialogs, printer and progress, and a settable
// "today".
class TestApp {
public:
    explicit TestApp(QDate today = QDate(2026, 12, 7));
    ~TestApp();
    TestApp(const TestApp &) = delete;
    TestApp &operator=(const TestApp &) = delete;

    QString appDir() const;
    ScriptedPrompter &prompter() { return m_prompter; }
    FakeLauncher &launcher() { return m_launcher; }
    FakeFiles &files() { return m_files; }
    FakePrinter &printer() { return m_printer; }
    FakeProgress &progress() { return m_progress; }
    Application &app() { return *m_app; }
    void setToday(QDate day) { m_today = day; }

    // Start-up up to the first shown window (the login window); false if it ended instead.
    bool start();
    // start() if needed, then types the account in force (the account file's, or the built-in
    // one) into the login window and clicks its OK button; the main window is then shown and
    // active. A tips window that opens after the login is left open behind it.
    void login();

    // A visible top-level window of this application, or nullptr.
    QWidget *window(const QString &objectName) const;
    // Any QObject inside the named top-level window (shown or hidden); nullptr and a recorded
    // test failure naming it when missing.
    template <class T>
    T *control(const QString &window, const QString &name) const
    {
        QObject *found = findObject(window, name);
        T *typed = qobject_cast<T *>(found);
        if (!typed)
            reportMissing(window, name, found != nullptr);
        return typed;
    }
    // Triggers a main-menu QAction by name.
    void trigger(const QString &menuAction);

    // The clerk's steps on a window's controls.
    void type(const QString &window, const QString &box, const QString &text);  // replaces
    void enter(const QString &window, const QString &box);  // presses Enter in the box
    void click(const QString &window, const QString &button);
    QString text(const QString &window, const QString &control) const;  // box, label or button

    // A separate connection to the program's database file; before start() it first creates a
    // missing file with the program's own creation code.
    QSqlDatabase db() const;
    // One value of the first row of a query on that connection (invalid when no row).
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;
    // Runs a statement on that connection, failing the test when it does not run.
    void exec(const QString &sql, const QVariantList &values = {}) const;

    bool ended() const;

    // With LENDORA_TEST_SERVER=postgresql://... (a maintenance database) the desk's library
    // is a database of its own on that server, made for this TestApp and dropped with it;
    // the address of that database, else empty (the file in appDir()).
    QString serverLibrary() const { return m_serverLibrary; }
    // Whether the tests run on a server: what only the file has (its pragmas, its log, its
    // marker) is then skipped.
    static bool onServer();
    // The engine of the library the desk is on, for a second desk of the test's own.
    std::unique_ptr<Backend> libraryBackend() const;

    // The library's check after an unclean end waits on its thread while held, so a test
    // sees the desk before the check has ended; released, it runs. Released when destroyed.
    void holdFileCheck();
    void releaseFileCheck();

private:
    QObject *findObject(const QString &window, const QString &name) const;
    QWidget *topLevel(const QString &objectName) const;
    static void reportMissing(const QString &window, const QString &name, bool wrongKind);

    QTemporaryDir m_dir;
    QDate m_today;
    ScriptedPrompter m_prompter;
    FakeLauncher m_launcher;
    FakeFiles m_files;
    FakePrinter m_printer;
    FakeProgress m_progress;
    std::unique_ptr<Application> m_app;
    QString m_dbName;
    QString m_serverLibrary;
    QString m_serverMaintenance;
    QString m_serverDatabase;
    bool m_started = false;
    struct CheckGate;
    std::shared_ptr<CheckGate> m_checkGate;
};

}  // namespace lendora::testkit
