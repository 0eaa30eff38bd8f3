#include "Desk.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "core/circulation/LoanStore.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/circulation/CirculationDesk.h"

#include <QDateEdit>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSqlError>
#include <QThread>
#include <QtTest>

using namespace desk;
using lendora::DatabaseFile;
using lendora::LoanStore;
using lendora::SharedDatabase;

namespace {

const QString kEngineFailed = QStringLiteral("数据库操作失败,没有做任何改动。\n");

}  // namespace

class WritesTest : public QObject {
    Q_OBJECT

private slots:
    void failedWriteChangesNothing_data();
    void failedWriteChangesNothing();
    void storedChangesAreAnnounced_data();
    void storedChangesAreAnnounced();
    void lendWaitsForAnotherWriter();
    void twoDesksRaceForTheSameBooks();
};

void WritesTest::failedWriteChangesNothing_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QStringList>("trap");  // statements that make the write fail
    QTest::addColumn<QString>("cause");     // what the engine says

    // A trigger makes one statement fail; a deferred reference the trigger leaves dangling
    // makes the commit itself fail, with every statement of the write already run.
    const auto failing = [](const QString &when) {
        return QStringList{"CREATE TRIGGER trap " + when
                           + " BEGIN SELECT RAISE(ABORT, 'forced failure'); END"};
    };
    const auto failingCommit = [](const QString &when) {
        return QStringList{"CREATE TABLE trapTarget (id INTEGER PRIMARY KEY)",
                           "CREATE TABLE trapRef (id INTEGER REFERENCES trapTarget (id)"
                           " DEFERRABLE INITIALLY DEFERRED)",
                           "CREATE TRIGGER trap " + when
                               + " BEGIN INSERT INTO trapRef VALUES (1); END"};
    };
    QTest::newRow("lend, its second write")
        << "lend" << failing("BEFORE UPDATE ON bookInfo") << "forced failure";
    QTest::newRow("lend, the commit")
        << "lend" << failingCommit("AFTER INSERT ON lentInfo") << "FOREIGN KEY constraint failed";
    QTest::newRow("return, its second write")
        << "return" << failing("BEFORE UPDATE ON bookInfo") << "forced failure";
    QTest::newRow("return, the commit")
        << "return" << failingCommit("AFTER UPDATE ON lentInfo") << "FOREIGN KEY constraint failed";
    QTest::newRow("renewal, its write")
        << "renew" << failing("BEFORE UPDATE ON lentInfo") << "forced failure";
    QTest::newRow("renewal, the commit")
        << "renew" << failingCommit("AFTER UPDATE ON lentInfo") << "FOREIGN KEY constraint failed";
}

void WritesTest::failedWriteChangesNothing()
{
    QFETCH(QString, write);
    QFETCH(QStringList, trap);
    QFETCH(QString, cause);
    if (TestApp::onServer())
        QSKIP("the trap is a trigger of the file's engine");
    TestApp t;
    prepareWrite(t, write);
    // The desk's own connection checks deferred references, so the trap reaches its commit.
    QSqlQuery deskConnection(t.app().database().db());
    QVERIFY(deskConnection.exec("PRAGMA foreign_keys=ON"));
    for (const QString &sql : trap)
        t.exec(sql);
    const QString before = snapshot(t);
    QSignalSpy changed(&t.app().mainWindow()->desk(), &lendora::CirculationDesk::loansChanged);

    finishWrite(t, write);
    const QStringList shown = hints(t);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(kEngineFailed) && shown.first().contains(cause),
             qPrintable(shown.first()));
    QCOMPARE(snapshot(t), before);
    QCOMPARE(changed.count(), 0);
    // The engine is fine again once the trap is gone, and the same click then works.
    t.exec("DROP TRIGGER trap");
    finishWrite(t, write);
    QCOMPARE(changed.count(), 1);
    QVERIFY(snapshot(t) != before);
}

void WritesTest::storedChangesAreAnnounced_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<QString>("outOnLoan");  // a book lent elsewhere just before the click
    QTest::addColumn<int>("announced");
    QTest::newRow("lend") << "lend"
                          << "" << 1;
    QTest::newRow("lend refused, the book is out") << "lend"
                                                   << "B1003" << 0;
    QTest::newRow("return") << "return"
                            << "" << 1;
    QTest::newRow("renewal") << "renew"
                             << "" << 1;
}

void WritesTest::storedChangesAreAnnounced()
{
    QFETCH(QString, write);
    QFETCH(QString, outOnLoan);
    QFETCH(int, announced);
    TestApp t;
    prepareWrite(t, write);
    if (!outOnLoan.isEmpty())
        addLoan(t, "003", outOnLoan, "2026-12-06");
    QSignalSpy changed(&t.app().mainWindow()->desk(), &lendora::CirculationDesk::loansChanged);
    finishWrite(t, write);
    QCOMPARE(changed.count(), announced);
}

void WritesTest::lendWaitsForAnotherWriter()
{
    if (TestApp::onServer())
        QSKIP("the other writer holds the file's write lock");
    TestApp t;
    seedLibrary(t);
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1003");
    t.prompter().clear();

    // Another program writes for a moment while the clerk lends: the lend waits its turn
    // rather than failing on the lock or on what the other wrote meanwhile.
    const QString path = DatabaseFile::pathIn(t.appDir());
    QSemaphore holding;
    QString problem;
    QThread *writer = QThread::create([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other-writer");
            db.setDatabaseName(path);
            QSqlQuery q(db);
            const bool held = db.open() && q.exec("BEGIN IMMEDIATE")
                              && q.exec("insert into readerInfo (读者编号) values ('900')");
            holding.release();
            QThread::msleep(400);
            if (!held || !q.exec("COMMIT"))
                problem = q.lastError().text();
        }
        QSqlDatabase::removeDatabase("other-writer");
    });
    writer->start();
    holding.acquire();
    t.click(kMain, "cmdLendBook");
    QVERIFY(writer->wait(10000));
    delete writer;
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(hints(t), QStringList{"借出完毕!"});
    QCOMPARE(openLoans(t, "B1003"), 1);
    QCOMPARE(t.scalar("select count(*) from readerInfo where 读者编号='900'").toInt(), 1);
}

void WritesTest::twoDesksRaceForTheSameBooks()
{
    TestApp t;
    constexpr int kBooks = 60;
    QStringList books;
    for (int i = 0; i < kBooks; ++i) {
        books << QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'));
        addBook(t, books.last(), "争抢的书");
    }
    addReader(t, "001", "张伟");
    addReader(t, "002", "李娜");
    setRules(t, 1000, 0.1);
    t.db().close();

    // Two desks, each with its own connection, lend every book to their own reader at once.
    struct Desk {
        QString reader;
        QList<LoanStore::LendResult> results;
        QString problem;
    } desks[] = {{"001", {}, {}}, {"002", {}, {}}};
    QList<QThread *> threads;
    QSemaphore ready;
    QSemaphore go;
    for (Desk &desk : desks) {
        threads << QThread::create([&, d = &desk] {
            SharedDatabase database("race-" + d->reader);
            if (!database.open(t.libraryBackend(), &d->problem)) {
                ready.release();
                return;
            }
            LoanStore store(database);
            ready.release();
            go.acquire();
            for (const QString &book : books) {
                d->results << store.lend(d->reader, book, QDate(2026, 12, 7));
                if (d->results.last() == LoanStore::LendResult::Failed)
                    d->problem = store.lastError().text;
            }
        });
        threads.last()->start();
    }
    ready.acquire(2);
    go.release(2);
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(120000));
        delete thread;
    }
    QVERIFY2(desks[0].problem.isEmpty(), qPrintable(desks[0].problem));
    QVERIFY2(desks[1].problem.isEmpty(), qPrintable(desks[1].problem));

    // Each book went to exactly one desk; the other was told it is out.
    for (int i = 0; i < kBooks; ++i) {
        const QSet<LoanStore::LendResult> outcomes = {desks[0].results.value(i),
                                                      desks[1].results.value(i)};
        QCOMPARE(outcomes, (QSet<LoanStore::LendResult>{LoanStore::LendResult::Lent,
                                                        LoanStore::LendResult::BookOnLoan}));
        QCOMPARE(openLoans(t, books.at(i)), 1);
        QVERIFY(lentFlag(t, books.at(i)));
    }
    QCOMPARE(t.scalar("select count(*) from lentInfo").toInt(), kBooks);
}

LENDORA_TEST_CLASS(WritesTest)
#include "tst_writes.moc"
