#include "TestApp.h"
#include "TestMain.h"
#include "app/AppDirectory.h"
#include "app/MainWindow.h"
#include "app/Version.h"
#include "base/KeyValueFile.h"
#include "data/sqlite/DatabaseFile.h"
#include "widgets/Texts.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void mainWindowAfterStart();
    void mainWindowKeepsItsSize();
    void secondCopyIsRefused();
    void staleLockDoesNotBlock();
    void closingMainWindowEndsEverything();
    void exitCommandEndsAtOnce();
    void windowAskedForDuringItsLoadIsMadeOnce();
    void installedCopyUsesUserDirectory();
};

void ShellTest::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("this release") << 1 << 1 << 128 << "1.01 Build:0128";
    QTest::newRow("minor 12") << 1 << 12 << 128 << "1.12 Build:0128";
    QTest::newRow("revision 7") << 1 << 1 << 7 << "1.01 Build:0007";
    QTest::newRow("wider than pictures") << 10 << 123 << 45678 << "10.123 Build:45678";
    QTest::newRow("zeros") << 0 << 0 << 0 << "0.00 Build:0000";
}

void ShellTest::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(GetVersionText(major, minor, revision), text);
}

void ShellTest::mainWindowAfterStart()
{
    TestApp t(QDate(2026, 3, 15));
    t.login();
    QWidget *main = t.window("Frmmain");
    QVERIFY(main);
    QCOMPARE(main->windowTitle(), QString::fromUtf8("岚枢图书管理系统 Ver1.01 Build:0128"));
    auto *tabs = t.control<QTabWidget>("Frmmain", "SSTab1");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QString::fromUtf8("正常借书"));
    QCOMPARE(tabs->tabText(1), QString::fromUtf8("续借图书"));
    QCOMPARE(tabs->tabText(2), QString::fromUtf8("还  书"));
    QCOMPARE(t.control<QDateEdit>("Frmmain", "dtpLendDate")->date(), QDate(2026, 3, 15));
    QCOMPARE(t.control<QDateEdit>("Frmmain", "dtpLendDateChange")->date(), QDate(2026, 3, 15));
    QVERIFY(QFileInfo::exists(DatabaseFile::pathIn(t.appDir())));
    QVERIFY(t.prompter().shown().isEmpty());
}

void ShellTest::mainWindowKeepsItsSize()
{
    TestApp t;
    t.login();
    QWidget *main = t.window("Frmmain");
    QVERIFY(main);
    const QSize outer(681, 480);
    QCOMPARE(main->frameGeometry().size(), outer);
    main->resize(900, 700);
    QCOMPARE(main->frameGeometry().size(), outer);
    main->resize(200, 100);
    QCOMPARE(main->frameGeometry().size(), outer);
    main->showMinimized();
    main->showNormal();
    QCOMPARE(main->frameGeometry().size(), outer);
    QVERIFY(!(main->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(main->windowFlags() & Qt::WindowMinimizeButtonHint);
}

void ShellTest::secondCopyIsRefused()
{
    TestApp first;
    first.login();
    QVERIFY(first.window("Frmmain"));

    testkit::ScriptedPrompter prompter;
    testkit::FakeLauncher launcher;
    Environment env{first.appDir(), &prompter, &launcher, [] { return QDate(2026, 12, 7); }};
    {
        Application second(env);
        QVERIFY(!second.start());
        QCOMPARE(second.ending(), Application::Ending::SecondCopy);
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown().first().prompt.text, QString::fromUtf8("本程式已运行!"));
        QCOMPARE(prompter.shown().first().prompt.title, appTitle());
        QCOMPARE(prompter.shown().first().prompt.buttons, Buttons::Ok);
        QVERIFY(second.topLevelWindows().isEmpty());
    }
    // The first copy is untouched: still running, database still open.
    QVERIFY(!first.ended());
    QVERIFY(first.window("Frmmain"));
    QVERIFY(first.app().database().isOpen());
    QVERIFY(first.prompter().shown().isEmpty());
}

void ShellTest::staleLockDoesNotBlock()
{
    TestApp t;
    // A lock left by a copy that was killed: a process id that does not run.
    QFile lock(QDir(t.appDir()).filePath("lendora.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write("2147483646\nlendora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    QVERIFY(t.start());
    QVERIFY(t.prompter().shown().isEmpty());
}

void ShellTest::closingMainWindowEndsEverything()
{
    TestApp t;
    t.login();
    QWidget *main = t.window("Frmmain");
    QVERIFY(main);
    // A secondary window stands in for any open window.
    t.app().windows().add("FrmExtra", [] {
        auto *w = new QWidget;
        w->setObjectName("FrmExtra");
        return w;
    });
    QVERIFY(t.app().windows().show("FrmExtra"));
    QVERIFY(t.window("FrmExtra"));
    QVERIFY(main->close());
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::MainWindowClosed);
    QVERIFY(!t.app().database().isOpen());
    QVERIFY(!t.window("Frmmain"));
    QVERIFY(!t.window("FrmExtra"));
    QVERIFY(!QFileInfo::exists(DatabaseFile::markerPath(DatabaseFile::pathIn(t.appDir()))));
}

void ShellTest::exitCommandEndsAtOnce()
{
    TestApp t;
    t.login();
    t.trigger("meuExit");
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::ExitCommand);
    QVERIFY(!t.window("Frmmain"));
}

void ShellTest::windowAskedForDuringItsLoadIsMadeOnce()
{
    TestApp t;
    t.login();
    int made = 0;
    t.app().windows().add("FrmTwice", [&] {
        ++made;
        // The load lets pending events run, and a second click was waiting among them.
        t.app().windows().show("FrmTwice");
        auto *w = new QWidget;
        w->setObjectName("FrmTwice");
        return w;
    });
    QWidget *window = t.app().windows().show("FrmTwice");
    QVERIFY(window);
    QCOMPARE(made, 1);
    QCOMPARE(t.app().windows().find("FrmTwice"), window);
    QCOMPARE(t.app().windows().openWindows().count(window), 1);
}

void ShellTest::installedCopyUsesUserDirectory()
{
    QTemporaryDir shipped, user;
    QDir().mkpath(shipped.filePath("style"));
    for (const QString &f : AppDirectory::shippedFiles()) {
        QFile file(shipped.filePath(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(f.toUtf8());
    }
    const QString userDir = user.filePath("lendora");
    // A directory nobody can create files in, root included.
    QCOMPARE(AppDirectory::resolve("/proc/self", userDir), userDir);
    QCOMPARE(AppDirectory::resolve(shipped.path(), userDir), shipped.path());

    AppDirectory::seed(shipped.path(), userDir);
    for (const QString &f : AppDirectory::shippedFiles()) {
        QFile file(QDir(userDir).filePath(f));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(f));
        QCOMPARE(file.readAll(), f.toUtf8());
    }
    // A file the user already has is never replaced.
    SetKeyValue(QDir(userDir).filePath("readme.txt"), "mine", "1");
    AppDirectory::seed(shipped.path(), userDir);
    QCOMPARE(GetKeyValue(QDir(userDir).filePath("readme.txt"), "mine"), QStringLiteral("1"));
}

LENDORA_TEST_CLASS(ShellTest)
#include "tst_shell.moc"
