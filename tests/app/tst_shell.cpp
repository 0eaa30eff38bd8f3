#include "TestApp.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "base/Version.h"
#include "data/Schema.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/widgets/Texts.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSqlQuery>
#include <QTabWidget>
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
    void clockBehindTheLoans_data();
    void clockBehindTheLoans();
    void dateIndexesComeWithTheUpgrade();
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

void ShellTest::clockBehindTheLoans_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("lent");      // the newest loan's lending date; empty: no loans
    QTest::addColumn<QString>("returned");  // its return date; empty: still out
    QTest::addColumn<QString>("newest");    // the date the warning names; empty: no warning

    const QDate day(2026, 12, 7);
    QTest::newRow("lent after today") << day << "2026-12-20" << QString() << "2026-12-20";
    QTest::newRow("only the return after today") << day << "2026-11-01"
                                                 << "2026-12-10"
                                                 << "2026-12-10";
    QTest::newRow("a year behind, the later of both named") << QDate(2025, 12, 7) << "2026-11-01"
                                                            << "2026-12-01"
                                                            << "2026-12-01";
    QTest::newRow("returned today") << day << "2026-11-01"
                                    << "2026-12-07" << QString();
    QTest::newRow("clock ahead") << QDate(2027, 1, 1) << "2026-12-20" << QString() << QString();
    QTest::newRow("no loans") << day << QString() << QString() << QString();
}

void ShellTest::clockBehindTheLoans()
{
    QFETCH(QDate, today);
    QFETCH(QString, lent);
    QFETCH(QString, returned);
    QFETCH(QString, newest);
    TestApp t(today);
    if (!lent.isEmpty()) {
        const QString loan = "insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期)"
                             " values ('001', ?, ?, ?)";
        t.exec(loan, {"B1", "2026-01-05", "2026-02-01"});
        t.exec(loan, {"B2", lent, returned.isEmpty() ? QVariant() : QVariant(returned)});
        t.exec(loan, {"B3", QVariant(), QVariant()});  // an old row without dates
    }
    QVERIFY(t.start());
    const QStringList expected =
        newest.isEmpty()
            ? QStringList()
            : QStringList{QString::fromUtf8("电脑的日期(%1)早于数据库中最近的借还日期(%2)。\n"
                                            "请检查并改正电脑的日期,否则借还日期和罚款会出错。")
                              .arg(today.toString("yyyy-MM-dd"), newest)};
    QCOMPARE(t.prompter().texts(), expected);
    if (!expected.isEmpty())
        QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    // A warning only: the desk runs on.
    QVERIFY(t.window("FrmLogon"));
    t.login();
    QVERIFY(t.window("Frmmain"));
    QVERIFY(!t.ended());
}

void ShellTest::dateIndexesComeWithTheUpgrade()
{
    // A library of version 3, with loans.
    TestApp t;
    t.exec("DROP INDEX lentInfo_lend_date");
    t.exec("DROP INDEX lentInfo_return_date");
    t.exec("DROP INDEX lentInfo_open_by_date");
    t.exec("DELETE FROM sqlite_stat1 WHERE idx LIKE '%_date'");
    t.exec("PRAGMA user_version=3");
    t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期)"
           " values ('001', 'B1', '2026-12-01', '2026-12-09')");
    QVERIFY(t.start());
    QCOMPARE(t.prompter().texts().size(), 1);  // the clock, found through the new indexes
    QCOMPARE(t.scalar("PRAGMA user_version").toInt(), Schema::kVersion);
    QCOMPARE(t.scalar("select count(*) from sqlite_stat1 where idx like '%_date'").toInt(), 3);
    // The newest dates are read off the ends of the indexes, not from every loan.
    const QList<QPair<QString, QString>> indexes = {{"借书日期", "lentInfo_lend_date"},
                                                    {"还书日期", "lentInfo_return_date"}};
    for (const auto &[column, index] : indexes) {
        QSqlQuery plan(t.app().database().db());  // the program's own connection
        QVERIFY(plan.exec("EXPLAIN QUERY PLAN select max(" + column + ") from lentInfo"));
        QStringList steps;
        while (plan.next())
            steps << plan.value(3).toString();
        QVERIFY2(steps.join(' ').contains("COVERING INDEX " + index), qPrintable(steps.join(' ')));
    }
}

LENDORA_TEST_CLASS(ShellTest)
#include "tst_shell.moc"
