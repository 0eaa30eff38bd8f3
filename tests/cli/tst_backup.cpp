#include "CliRun.h"
#include "TestApp.h"
#include "TestMain.h"
#include "app/Application.h"
#include "app/Environment.h"
#include "app/LoginWindow.h"
#include "base/AccountFile.h"
#include "core/circulation/LoanStore.h"
#include "core/exchange/BackgroundCopy.h"
#include "core/exchange/LibraryCheck.h"
#include "data/Backups.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"
#include "data/sqlite/SqliteBackup.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// 40 readers and 200 books, none lent.
void seed(TestApp &t)
{
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    for (int i = 0; i < 40; ++i)
        QVERIFY(q.exec(QStringLiteral("insert into readerInfo values ('R%1', '读者%1', '女', '',"
                                      " '')")
                           .arg(i)));
    for (int i = 0; i < 200; ++i)
        QVERIFY(q.exec(QStringLiteral("insert into bookInfo values ('B%1', '书%1', 'I', '社',"
                                      " '作者', '1', '1', '2026-01-01', 0)")
                           .arg(i)));
    QVERIFY(db.commit());
}

int booksIn(const QString &library)
{
    int count = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "books-of-copy");
        db.setDatabaseName(library);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec("select count(*) from bookInfo") && q.next())
                count = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("books-of-copy");
    return count;
}

QString readers(const QString &library)
{
    QStringList names;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "readers-of-copy");
        db.setDatabaseName(library);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery q(db);
            q.exec("select 读者编号 from readerInfo order by 读者编号");
            while (q.next())
                names << q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase("readers-of-copy");
    return names.join(',');
}

// What the check of a library finds, through a read-only connection as the CLI opens it.
QStringList problemsOf(const QString &library)
{
    SharedDatabase database("check-of-copy");
    DbError error;
    if (!database.openReadOnly(std::make_unique<SqliteBackend>(library), &error))
        return {"cannot open: " + error.text};
    LibraryCheck check(database);
    return check.problems().value_or(QStringList{"engine: " + check.lastError().text});
}

}  // namespace

class BackupTest : public QObject {
    Q_OBJECT

private slots:
    void copyWhileLending();
    void commands_data();
    void commands();
    void windowBacksUpAndRestores();
    void windowRefusesADamagedCopy();
    void windowRestoresNothingItCannotSetAside();
    void closingTheWindowLetsTheCopyFinish();
    void dailyCopyAtTheFirstLogin();
    void killedMidwayLeavesAWhole_data();
    void killedMidwayLeavesAWhole();
};

void BackupTest::copyWhileLending()
{
    TestApp t;
    seed(t);
    QVERIFY(t.start());
    const QString copy = QDir(t.appDir()).filePath("copies/during.mdb");
    BackgroundCopy background;
    QSignalSpy done(&background, &BackgroundCopy::finished);
    QVERIFY(background.start(t.libraryBackend()->copier(), copy));
    // The desk lends all the while; every lend goes through.
    LoanStore loans(t.app().database());
    int lent = 0;
    while (done.isEmpty() && lent < 200) {
        QCOMPARE(
            loans.lend(QString("R%1").arg(lent % 40), QString("B%1").arg(lent), QDate(2026, 12, 7)),
            LoanStore::LendResult::Lent);
        ++lent;
        QCoreApplication::processEvents();
    }
    QVERIFY(!done.isEmpty() || done.wait(60000));
    QVERIFY2(done.at(0).at(0).toBool(), qPrintable(done.at(0).at(2).toString()));
    QVERIFY(!QFile::exists(copy + ".part"));
    QCOMPARE(SqliteBackup::check(copy), QString());
    // A moment of the library: its flags and its loans agree.
    QCOMPARE(problemsOf(copy), QStringList());
}

void BackupTest::commands_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QStringList>("arguments");  // FILE: a file in a scratch folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("readersAfter");  // the library's readers afterwards

    const QString all = "R1,R2,R3";
    QTest::newRow("backup") << "" << QStringList{"backup", "FILE"} << 0 << all;
    QTest::newRow("backup, no file named") << "" << QStringList{"backup"} << 2 << all;
    QTest::newRow("backup, folder missing")
        << "" << QStringList{"backup", "FILE/no/such.mdb"} << 1 << all;
    QTest::newRow("backup, no library") << "no library" << QStringList{"backup", "FILE"} << 3 << "";
    QTest::newRow("restore") << "copy" << QStringList{"restore", "FILE"} << 0 << "R1,R2";
    QTest::newRow("restore while a desk runs")
        << "copy, desk running" << QStringList{"restore", "FILE"} << 3 << all;
    QTest::newRow("restore a damaged copy")
        << "damaged copy" << QStringList{"restore", "FILE"} << 1 << all;
    QTest::newRow("restore a text file")
        << "text file" << QStringList{"restore", "FILE"} << 1 << all;
    QTest::newRow("restore the library itself")
        << "the library" << QStringList{"restore", "FILE"} << 1 << all;
    QTest::newRow("restore, nowhere to set the library aside")
        << "copy, backup/ a file" << QStringList{"restore", "FILE"} << 1 << all;
    QTest::newRow("check") << "" << QStringList{"check"} << 0 << all;
    QTest::newRow("check, a flag without a loan")
        << "flag without loan" << QStringList{"check"} << 1 << all;
    QTest::newRow("check, a category code of two characters")
        << "long category code" << QStringList{"check"} << 1 << all;
}

void BackupTest::commands()
{
    QFETCH(QString, situation);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, readersAfter);
    TestApp t;
    const QString library = DatabaseFile::pathIn(t.appDir());
    const QString file = QDir(t.appDir()).filePath("scratch.mdb");
    if (situation != "no library") {
        for (const char *reader : {"R1", "R2"})
            t.exec("insert into readerInfo (读者编号, 读者姓名) values (?, ?)", {reader, reader});
    }
    if (situation.contains("copy")) {
        QString error;
        QVERIFY2(SqliteBackup::copy(library, file, &error), qPrintable(error));
    }
    if (situation != "no library")
        t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R3', 'R3')");
    else
        QFile::remove(library);
    if (situation == "damaged copy") {
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        damaged.seek(damaged.size() / 2);
        damaged.write(QByteArray(4096, '\x5a'));
    }
    if (situation == "text file")
        writeFile(file, "书籍编号,书籍名称\r\nB1,红楼梦\r\n");
    if (situation.contains("backup/ a file"))
        writeFile(QDir(t.appDir()).filePath("backup"), "not a folder");
    if (situation == "flag without loan")
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 是否借出) values ('B9', '书', 1)");
    if (situation == "long category code")
        t.exec("insert into bookType values ('TP', '自动化技术', 30)");
    if (situation.contains("desk running"))
        QVERIFY(t.start());
    const QByteArray fileBefore = readAll(file);
    for (QString &argument : arguments)
        argument.replace("FILE", situation == "the library" ? library : file);

    const Result result = cli(t.appDir(), arguments);
    QVERIFY2(result.status == status, qPrintable(QString::number(result.status) + result.err));
    if (status != 0)
        QVERIFY(!result.err.isEmpty() || !result.out.isEmpty());
    if (situation != "no library")
        QCOMPARE(readers(library), readersAfter);
    if (situation.contains("copy") || situation == "text file")
        QCOMPARE(readAll(file), fileBefore);  // a copy is only ever read
    if (arguments.value(0) == "backup" && status == 0) {
        QCOMPARE(SqliteBackup::check(file), QString());
        QCOMPARE(readers(file), "R1,R2,R3");
    }
    if (arguments.value(0) == "restore" && status == 0) {
        // What was there before is kept in backup/.
        const QStringList kept = Backups(t.appDir()).list();
        QCOMPARE(kept.size(), 1);
        QCOMPARE(readers(kept.at(0)), "R1,R2,R3");
    }
    if (situation == "flag without loan")
        QVERIFY2(result.out.contains("B9"), result.out.constData());
    if (situation == "long category code")
        QCOMPARE(QString::fromUtf8(result.out),
                 QString("类别“TP-自动化技术”的代码不是一个字符,图书窗口中不能选择它\n"));
}

void BackupTest::windowBacksUpAndRestores()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R1', '张伟')");
    t.login();
    t.trigger("mnuBackup");
    QVERIFY(t.window("FrmBackup"));
    t.click("FrmBackup", "cmdBackupNow");
    QTRY_VERIFY_WITH_TIMEOUT(!t.prompter().texts().isEmpty(), 30000);
    const QStringList copies = Backups(t.appDir()).list();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(t.prompter().texts(),
             QStringList{"备份完成:" + QDir::toNativeSeparators(copies.at(0))});
    QCOMPARE(t.control<QListWidget>("FrmBackup", "lstBackups")->count(), 1);
    t.prompter().clear();

    // Later work, then the way back: the copy's rows, what was there kept aside, the other
    // windows closed.
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R2', '李娜')");
    t.trigger("mnuLendora");
    QVERIFY(t.window("FrmLendora"));
    t.files().answerOpen(copies.at(0));
    t.prompter().answerConfirm(true);
    t.click("FrmBackup", "cmdRestore");
    const QStringList now = Backups(t.appDir()).list();
    QCOMPARE(now.size(), 2);
    const QString safety = now.at(0).contains("restore") ? now.at(0) : now.at(1);
    QCOMPARE(t.prompter().texts().value(1), "已从 " + QDir::toNativeSeparators(copies.at(0))
                                                + " 恢复。\n恢复前的数据保存在 "
                                                + QDir::toNativeSeparators(safety) + "。");
    QCOMPARE(t.scalar("select group_concat(读者编号) from readerInfo").toString(), "R1");
    QCOMPARE(readers(safety), "R1,R2");
    QVERIFY(!t.window("FrmLendora"));
    QVERIFY(t.window("FrmBackup"));
    // The desk goes on writing to the restored library.
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R3', '王芳')");
    QCOMPARE(t.scalar("select count(*) from readerInfo").toInt(), 2);
}

void BackupTest::windowRestoresNothingItCannotSetAside()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R1', '张伟')");
    const QString copy = QDir(t.appDir()).filePath("copy.mdb");
    QString error;
    QVERIFY(SqliteBackup::copy(DatabaseFile::pathIn(t.appDir()), copy, &error));
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R2', '李娜')");
    // Where backup/ would be there is a file: what the library holds cannot be set aside.
    writeFile(QDir(t.appDir()).filePath("backup"), "not a folder");
    t.login();
    t.trigger("mnuBackup");
    t.files().answerOpen(copy);
    t.prompter().answerConfirm(true);
    t.click("FrmBackup", "cmdRestore");
    QCOMPARE(t.prompter().texts().size(), 2);
    QVERIFY2(t.prompter().texts().at(1).startsWith("没能先备份当前数据,没有恢复。"),
             qPrintable(t.prompter().texts().at(1)));
    QCOMPARE(t.scalar("select group_concat(读者编号) from readerInfo").toString(), "R1,R2");
}

void BackupTest::windowRefusesADamagedCopy()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R1', '张伟')");
    const QString bad = QDir(t.appDir()).filePath("bad.mdb");
    QString error;
    QVERIFY(SqliteBackup::copy(DatabaseFile::pathIn(t.appDir()), bad, &error));
    {
        QFile damaged(bad);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        damaged.seek(damaged.size() / 2);
        damaged.write(QByteArray(4096, '\x5a'));
    }
    const QByteArray before = readAll(bad);
    t.login();
    t.trigger("mnuBackup");
    t.files().answerOpen(bad);
    t.click("FrmBackup", "cmdRestore");
    QCOMPARE(t.prompter().texts().size(), 1);
    QVERIFY2(t.prompter().texts().at(0).startsWith("不能用这个文件恢复,没有做任何改动。\n"),
             qPrintable(t.prompter().texts().at(0)));
    QCOMPARE(readAll(bad), before);
    QCOMPARE(Backups(t.appDir()).list().size(), 0);
    QCOMPARE(t.scalar("select count(*) from readerInfo").toInt(), 1);
}

void BackupTest::closingTheWindowLetsTheCopyFinish()
{
    TestApp t;
    seed(t);
    t.login();
    t.trigger("mnuBackup");
    t.click("FrmBackup", "cmdBackupNow");
    t.click("FrmBackup", "cmdClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_COMPARE_WITH_TIMEOUT(Backups(t.appDir()).list().size(), 1, 30000);
    QCOMPARE(SqliteBackup::check(Backups(t.appDir()).list().at(0)), QString());
    QVERIFY(t.prompter().texts().isEmpty());  // nobody left to tell
}

void BackupTest::dailyCopyAtTheFirstLogin()
{
    // The real program's environment, with the daily copy on: logins on two days, twice on
    // the first, keeping the newest two copies.
    TestApp seeded;
    seeded.db();
    const QString dir = seeded.appDir();
    writeFile(QDir(dir).filePath("setting.ini"), "BackupKeep=2\r\n");
    QDate today(2026, 12, 7);
    const auto logIn = [&]() -> bool {
        Environment env;
        env.appDir = dir;
        env.prompter = &seeded.prompter();
        env.launcher = &seeded.launcher();
        env.files = &seeded.files();
        env.printer = &seeded.printer();
        env.today = [&today] { return today; };
        env.dailyBackup = true;
        Application app(env);
        if (!app.start())
            return false;
        LoginWindow *login = app.loginWindow();
        const Account account =
            AccountFile::read(login->accountPath()).value_or(AccountFile::builtIn());
        login->findChild<QLineEdit *>("txtUserName")->setText(account.userName);
        login->findChild<QLineEdit *>("txtPassword")->setText(account.password);
        login->findChild<QAbstractButton *>("cmdOK")->click();
        // The copy runs on its own thread; quitting at once still leaves it whole and the
        // old copies pruned.
        app.end(Application::Ending::ExitCommand);
        return true;
    };
    const auto dates = [&] {
        QStringList names;
        for (const QString &path : Backups(dir).list())
            names << QFileInfo(path).fileName().mid(8, 8);
        return names;
    };
    QVERIFY(logIn());
    QCOMPARE(dates(), QStringList{"20261207"});
    QVERIFY(logIn());
    QCOMPARE(dates(), QStringList{"20261207"});
    today = today.addDays(1);
    QVERIFY(logIn());
    QCOMPARE(dates(), QStringList({"20261208", "20261207"}));
    today = today.addDays(1);
    QVERIFY(logIn());
    QCOMPARE(dates(), QStringList({"20261209", "20261208"}));
    QCOMPARE(SqliteBackup::check(Backups(dir).list().at(0)), QString());
    QVERIFY(seeded.prompter().texts().filter("自动备份").isEmpty());
}

void BackupTest::killedMidwayLeavesAWhole_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("backup") << "backup";
    QTest::newRow("restore") << "restore";
    QTest::newRow("import") << "import";
}

void BackupTest::killedMidwayLeavesAWhole()
{
    QFETCH(QString, command);
    // A library large enough that each command takes a while: 3,000 books.
    TestApp t;
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    for (int i = 0; i < 3000; ++i)
        QVERIFY(
            q.exec(QString("insert into bookInfo values ('K%1', '书名%1 红楼梦', 'I', '出版社%1',"
                           " '作者', '1', '1', '2026-01-01', 0)")
                       .arg(i)));
    QVERIFY(db.commit());
    const QString library = DatabaseFile::pathIn(t.appDir());
    const QString copy = QDir(t.appDir()).filePath("copy.mdb");
    const QString csv = QDir(t.appDir()).filePath("books.csv");
    QString error;
    if (command == "restore") {
        t.exec("delete from bookInfo where 书籍编号 >= 'K1'");
        QVERIFY(SqliteBackup::copy(library, copy, &error));
        t.exec("delete from bookInfo");
    }
    if (command == "import") {
        QByteArray rows = "书籍编号,书籍名称,类别代码\r\n";
        for (int i = 0; i < 3000; ++i)
            rows += QString("N%1,新书%1,I\r\n").arg(i).toUtf8();
        writeFile(csv, rows);
    }
    const QStringList arguments = command == "backup"    ? QStringList{"backup", copy}
                                  : command == "restore" ? QStringList{"restore", copy}
                                                         : QStringList{"import", "books", csv};
    const int before = booksIn(library);
    const int after = command == "restore" ? 1 : command == "import" ? 6000 : 3000;
    const QString library0 = QDir(t.appDir()).filePath("library0.mdb");
    QVERIFY(SqliteBackup::copy(library, library0, &error));

    // How long a whole run takes here; the kills fall inside it.
    qint64 whole = 0;
    {
        QProcess tool;
        prepareCli(tool, t.appDir(), arguments);
        QElapsedTimer timer;
        timer.start();
        tool.start();
        QVERIFY(tool.waitForFinished(60000));
        whole = timer.elapsed();
        QCOMPARE(tool.exitCode(), 0);
    }
    QRandomGenerator random(20261208);
    int cutShort = 0;  // rounds the kill ended before the command was done
    for (int round = 0; round < 12; ++round) {
        // Each round starts from the library as it was.
        QFile::remove(library + "-wal");
        QFile::remove(library + "-shm");
        QFile::remove(DatabaseFile::markerPath(library));
        QFile::remove(library);
        QVERIFY(QFile::copy(library0, library));
        if (command == "backup")
            QFile::remove(copy);
        QProcess tool;
        prepareCli(tool, t.appDir(), arguments);
        tool.start();
        QVERIFY(tool.waitForStarted());
        QThread::msleep(ulong(random.bounded(qint64(1), std::max<qint64>(2, whole + 20))));
        tool.kill();
        tool.waitForFinished();

        // The library is whole: as it was, or as the command leaves it.
        QCOMPARE(problemsOf(library), QStringList());
        // Through a connection of its own: the kit's still reads the file replaced above.
        const int count = booksIn(library);
        QVERIFY2(count == before || count == after,
                 qPrintable(QString("%1 books after round %2").arg(count).arg(round)));
        if (command == "backup" && QFile::exists(copy))
            QCOMPARE(SqliteBackup::check(copy), QString());
        cutShort += command == "backup" ? !QFile::exists(copy) : count == before;
        QVERIFY(!QFile::exists(copy + ".part") || !QFile::exists(copy)
                || SqliteBackup::check(copy).isEmpty());
    }
    QVERIFY(cutShort > 0);
}

LENDORA_TEST_CLASS(BackupTest)
#include "tst_backup.moc"
