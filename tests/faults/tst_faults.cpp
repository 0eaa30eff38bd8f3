// The desk under faults of the disk, the lock and the clock, driven through its windows. The
// process runs with the fault shim preloaded (see CMakeLists.txt): a test arms it to fail one
// write or sync of the library's log, then checks what the clerk was told against what the
// next start would find.
#include "Desk.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "data/GridSource.h"
#include "data/sqlite/DatabaseFile.h"

#include <QDateEdit>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <cerrno>
#include <dlfcn.h>

using namespace desk;
using lendora::DatabaseFile;

namespace {

enum Calls { Writes = 1, Syncs = 2 };

// The shim's switches, found in the process it was preloaded into.
struct Shim {
    void (*arm)(const char *suffix, int calls, int nth, int error, int sticky) = nullptr;
    int (*disarm)() = nullptr;

    static Shim find()
    {
        Shim shim;
        shim.arm = reinterpret_cast<decltype(shim.arm)>(dlsym(RTLD_DEFAULT, "lendora_fault_arm"));
        shim.disarm =
            reinterpret_cast<decltype(shim.disarm)>(dlsym(RTLD_DEFAULT, "lendora_fault_disarm"));
        return shim;
    }
};

const QString kLog = QStringLiteral("/Lendora.mdb-wal");
const QString kIoFailed = QStringLiteral("读写数据库文件时磁盘出错,没有做任何改动。\n");
const QString kDiskFull = QStringLiteral("磁盘空间不足,没有做任何改动。");
const QString kUnsure = QStringLiteral(
    "保存时出错(磁盘读写出错),无法确认这次改动是否已经保存。\n请重新查询该读者或书籍后再继续。");
const QString kBusy = QStringLiteral("数据库正忙,另一个程序正在写入。没有做任何改动,请稍后再试。");
const QString kReplaced = QStringLiteral(
    "数据库文件已被删除或替换,不再是程序打开的那个文件。\n没有做任何改动,程序将停止写入并退出。");

QString doneText(const QString &write)
{
    return write == "lend" ? "借出完毕!" : write == "return" ? "归还完毕!" : "续借完毕!";
}

// Counts 1 once the write is in the library.
QString witness(const QString &write)
{
    return write == "lend"
               ? "select count(*) from lentInfo where 书籍编号='B1003' and 还书日期 is null"
           : write == "return"
               ? "select count(*) from lentInfo where 书籍编号='B1001' and 还书日期 is not null"
               : "select count(*) from lentInfo where 书籍编号='B1002' and 借书日期='2026-12-07'";
}

// What the next start finds when the program is killed now: the file and its log as they are
// on disk, opened afresh (the log's index is rebuilt from the log).
struct Restart {
    QString integrity;
    int written = -1;
    int wrongFlags = -1;  // books whose lent flag disagrees with their open loans
    int halfRows = -1;    // loans with some but not all of the return columns set
};

Restart restartAfterKill(TestApp &t, const QString &write)
{
    QTemporaryDir copy;
    const QString from = DatabaseFile::pathIn(t.appDir());
    const QString to = copy.filePath("Lendora.mdb");
    // Copied by another process: closing a file this process has open as a library would
    // drop the library's locks.
    for (const QString &suffix : {QString(), QStringLiteral("-wal")}) {
        if (QFileInfo::exists(from + suffix))
            QProcess::execute("cp", {from + suffix, to + suffix});
    }
    Restart seen;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "restart");
        db.setDatabaseName(to);
        if (db.open()) {
            QSqlQuery q(db);
            const auto value = [&q](const QString &sql) {
                return q.exec(sql) && q.next() ? q.value(0) : QVariant();
            };
            seen.integrity = value("PRAGMA integrity_check").toString();
            seen.written = value(witness(write)).toInt();
            seen.wrongFlags = value("select count(*) from bookInfo b where b.是否借出 <> exists"
                                    " (select 1 from lentInfo l where l.书籍编号=b.书籍编号 and"
                                    " l.还书日期 is null)")
                                  .toInt();
            seen.halfRows = value("select count(*) from lentInfo where (还书日期 is null) +"
                                  " (超出天数 is null) + (罚款金额 is null) in (1, 2)")
                                .toInt();
        }
    }
    QSqlDatabase::removeDatabase("restart");
    return seen;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commitFailureIsReportedAsItIs_data();
    void commitFailureIsReportedAsItIs();
    void writesWaitForAnotherProgram_data();
    void writesWaitForAnotherProgram();
    void libraryReplacedWhileRunning_data();
    void libraryReplacedWhileRunning();
    void gridNeverCreatesTheFile();
    void datesBeforeTheLoanAreRefused_data();
    void datesBeforeTheLoanAreRefused();

private:
    Shim m_shim;
};

void FaultsTest::initTestCase()
{
    m_shim = Shim::find();
    QVERIFY2(m_shim.arm && m_shim.disarm, "run with LD_PRELOAD naming the fault shim");
}

void FaultsTest::commitFailureIsReportedAsItIs_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("file");  // the end of the failing file's path
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("keepsFailing");
    QTest::addColumn<QString>("told");  // what the message starts with
    for (const char *write : {"lend", "return", "renew"}) {
        // The log was written whole, only its sync failed: the next start could still find
        // the change, so it is settled before the clerk is told.
        QTest::addRow("%s, the sync of the log fails", write)
            << write << kLog << int(Syncs) << EIO << false << kIoFailed;
        QTest::addRow("%s, the disk is full", write)
            << write << kLog << int(Writes) << ENOSPC << false << kDiskFull;
    }
    // No file on the disk can be synced any more: nothing can settle the library.
    QTest::newRow("lend, the disk keeps failing")
        << "lend" << QString() << int(Syncs) << EIO << true << kUnsure;
}

void FaultsTest::commitFailureIsReportedAsItIs()
{
    QFETCH(QString, write);
    QFETCH(QString, file);
    QFETCH(int, calls);
    QFETCH(int, error);
    QFETCH(bool, keepsFailing);
    QFETCH(QString, told);
    TestApp t;
    prepareWrite(t, write);
    // The desk's log starts empty: its header is written and synced first, so the second
    // write is the first page of the change and the second sync the commit's.
    m_shim.arm(file.toUtf8().constData(), calls, 2, error, keepsFailing);
    finishWrite(t, write);
    const Restart restart = restartAfterKill(t, write);
    QVERIFY2(m_shim.disarm() > 0, "the fault never fired");

    const QStringList shown = hints(t);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(told), qPrintable(shown.first()));
    QCOMPARE(restart.integrity, QStringLiteral("ok"));
    QCOMPARE(restart.wrongFlags, 0);
    QCOMPARE(restart.halfRows, 0);
    if (!keepsFailing)
        QCOMPARE(restart.written, 0);  // told nothing changed, and nothing did

    // Once the disk is well again the same click works, on the connections opened anew.
    finishWrite(t, write);
    QCOMPARE(hints(t), QStringList{doneText(write)});
    QCOMPARE(restartAfterKill(t, write).written, 1);
}

void FaultsTest::writesWaitForAnotherProgram_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<QString>("told");
    QTest::newRow("lend waits") << "lend" << 1500 << doneText("lend");
    QTest::newRow("return waits") << "return" << 1500 << doneText("return");
    QTest::newRow("renewal waits") << "renew" << 1500 << doneText("renew");
    // Longer than the five seconds a write waits.
    QTest::newRow("lend, the lock outlasts the wait") << "lend" << 7000 << kBusy;
}

void FaultsTest::writesWaitForAnotherProgram()
{
    QFETCH(QString, write);
    QFETCH(int, holdMs);
    QFETCH(QString, told);
    TestApp t;
    prepareWrite(t, write);
    const QString before = snapshot(t);

    QProcess holder;
    holder.start(LENDORA_CRASHCHILD,
                 {"hold", DatabaseFile::pathIn(t.appDir()), QString::number(holdMs)});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("HELD"));
    finishWrite(t, write);
    QCOMPARE(hints(t), QStringList{told});
    QVERIFY(holder.waitForFinished(15000));
    QCOMPARE(holder.exitCode(), 0);
    if (told == kBusy)
        QCOMPARE(snapshot(t), before);
    else
        QCOMPARE(restartAfterKill(t, write).written, 1);
}

void FaultsTest::libraryReplacedWhileRunning_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("moved away") << "move";
    QTest::newRow("another library renamed over it") << "replace";
}

void FaultsTest::libraryReplacedWhileRunning()
{
    QFETCH(QString, how);
    TestApp t;
    prepareWrite(t, "lend");
    const QString path = DatabaseFile::pathIn(t.appDir());
    const QString other = path + ".other";
    QString error;
    QVERIFY2(DatabaseFile::create(other, &error), qPrintable(error));
    if (how == "delete")
        QVERIFY(QFile::remove(path));
    else if (how == "move")
        QVERIFY(QFile::rename(path, path + ".moved"));
    else
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData())
                == 0);

    finishWrite(t, "lend");
    QCOMPARE(hints(t), QStringList{kReplaced});
    QTRY_VERIFY(t.ended());
    QCOMPARE(t.app().ending(), lendora::Application::Ending::DatabaseLost);
    // No loan went into the file now at the path, nor into the one the desk had open.
    for (const QString &file : {path, path + ".moved"}) {
        if (!QFileInfo::exists(file))
            continue;
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "look");
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec("select count(*) from lentInfo where 书籍编号='B1003'") && q.next(),
                 qPrintable(q.lastError().text()));
        QCOMPARE(q.value(0).toInt(), 0);
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("look");
    }
    if (how == "delete")
        QVERIFY(!QFileInfo::exists(path));
}

void FaultsTest::gridNeverCreatesTheFile()
{
    TestApp t;
    t.login();
    const QString path = DatabaseFile::pathIn(t.appDir());
    QVERIFY(QFile::remove(path));
    lendora::GridSource grid(t.app().database(), "look");
    QVERIFY(!grid.run("select * from bookInfo", {}));
    QVERIFY(!QFileInfo::exists(path));
}

void FaultsTest::datesBeforeTheLoanAreRefused_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("told");
    // The computer's clock says 2026-12-07; the loan was made on 2027-03-01.
    QTest::newRow("return") << "return"
                            << "日期 2026-12-07 早于该书的借书日期 2027-03-01,没有做任何改动。\n"
                               "请检查电脑的日期是否正确。";
    QTest::newRow("renewal") << "renew"
                             << "日期 2026-12-07 早于该书的借书日期 2027-03-01,没有做任何改动。\n"
                                "请检查电脑的日期是否正确。";
}

void FaultsTest::datesBeforeTheLoanAreRefused()
{
    QFETCH(QString, write);
    QFETCH(QString, told);
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2027-03-01");
    t.login();
    t.prompter().clear();
    if (write == "return") {
        showTab(t, Return);
        scan(t, "txtReadIDReturn", "001");
        scan(t, "txtBookIDReturn", "B1001");
    } else {
        showTab(t, Renewal);
        scan(t, "txtReaderIDRenew", "001");
        t.control<QDateEdit>(kMain, "dtpLendDateChange")->setDate(QDate(2026, 12, 7));
    }
    hints(t);  // whatever the lookup said of the odd dates
    const QString before = snapshot(t);
    finishWrite(t, write);
    QCOMPARE(hints(t), QStringList{told});
    QCOMPARE(snapshot(t), before);
}

LENDORA_TEST_CLASS(FaultsTest)
LENDORA_TEST_MAIN()
#include "tst_faults.moc"
