#include "CliRun.h"
#include "TestApp.h"
#include "data/postgres/ServerAddress.h"
#include "data/sqlite/DatabaseFile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using lendora::DatabaseFile;
using lendora::testkit::TestApp;

namespace {

// A library file in `appDir` holding `rows`, each statement run with its values.
bool makeLibrary(const QString &appDir, const QList<std::pair<QString, QVariantList>> &rows)
{
    const QString path = DatabaseFile::pathIn(appDir);
    QString error;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !DatabaseFile::create(path, &error))
        return false;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "migrate-source");
        db.setDatabaseName(path);
        ok = db.open();
        for (const auto &[sql, values] : rows) {
            QSqlQuery q(db);
            q.prepare(sql);
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values.at(i));
            if (!ok || !q.exec()) {
                qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
                ok = false;
            }
        }
    }
    QSqlDatabase::removeDatabase("migrate-source");
    return ok;
}

const QList<std::pair<QString, QVariantList>> kLibrary = {
    {"insert into readerInfo values ('001', '张伟', '男', '', '三年级'), ('002', 'O''Neil', "
     "null, null, null)",
     {}},
    {"insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期, 是否借出) values"
     " ('B1', '围城', 'I', '2026-01-31', 1), ('B2', 'Qt 编程', 'T', null, 0),"
     " ('B3', '删掉的书', 'I', null, 0), ('B4', '边城', 'I', '2025-12-01', 0)",
     {}},
    // A gap in the entry numbers, which the lists' order keeps.
    {"delete from bookInfo where 书籍编号 = 'B3'", {}},
    {"insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期, 超出天数, 罚款金额) values"
     " ('001', 'B2', '2026-09-01', '2026-10-04', 3, ?), ('001', 'B1', '2026-11-01', null, null, "
     "null)",
     {0.1 * 3}},
    {"update basicSet set 借出册数 = 3, 罚款 = 0.25", {}},
    // More readers than one statement writes.
    {"with recursive n(i) as (select 1 union all select i + 1 from n where i < 450)"
     " insert into readerInfo (读者编号, 读者姓名) select 'M' || i, '读者' from n",
     {}},
};

class MigrateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!TestApp::onServer())
            QSKIP("a server to move to: LENDORA_TEST_SERVER");
    }
    void movesEveryRowOnce_data();
    void movesEveryRowOnce();
    void commandsWorkOnTheServer();
    void refusesWhatTheServerCannotHold_data();
    void refusesWhatTheServerCannotHold();
};

void MigrateTest::movesEveryRowOnce_data()
{
    QTest::addColumn<bool>("fromBackup");
    QTest::newRow("the folder's file") << false;
    QTest::newRow("a backup given with --from") << true;
}

void MigrateTest::movesEveryRowOnce()
{
    QFETCH(bool, fromBackup);
    TestApp t;  // its database on the server is empty until the move
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    QVERIFY(makeLibrary(dir.path(), kLibrary));
    const QStringList from =
        fromBackup ? QStringList{"--from", DatabaseFile::pathIn(dir.path())} : QStringList();
    const Result moved = cli(fromBackup ? elsewhere.path() : dir.path(),
                             QStringList{"migrate", "--to", t.serverLibrary()} + from);
    QVERIFY2(moved.status == 0, qPrintable(moved.err));
    QVERIFY2(QString::fromUtf8(moved.out).contains("已移到 " + t.serverLibrary() + ": 480 行"),
             moved.out.constData());

    // The rows as the file held them: entry numbers, a missing date, a fine to the last bit.
    QCOMPARE(t.scalar("select string_agg(书籍编号 || ':' || rowid, ',' order by rowid)"
                      " from bookInfo")
                 .toString(),
             "B1:1,B2:2,B4:4");
    QVERIFY(t.scalar("select 登记日期 from bookInfo where 书籍编号 = 'B2'").isNull());
    QCOMPARE(t.scalar("select 罚款金额 from lentInfo where 书籍编号 = 'B2'").toDouble(), 0.1 * 3);
    QCOMPARE(t.scalar("select 借出册数 from basicSet").toInt(), 3);
    // The planner knows the moved rows before the first search.
    QCOMPARE(t.scalar("select count(distinct tablename) from pg_stats where tablename in"
                      " ('bookinfo', 'lentinfo', 'readerinfo')")
                 .toInt(),
             3);
    // New entries go on after the largest number.
    t.exec("insert into bookInfo (书籍编号) values ('B5')");
    QCOMPARE(t.scalar("select rowid from bookInfo where 书籍编号 = 'B5'").toInt(), 5);
    t.db().close();

    // A second move into the same database is refused and changes nothing.
    const Result again = cli(dir.path(), {"migrate", "--to", t.serverLibrary()});
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains("不是空的"), qPrintable(again.err));
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 4);
}

void MigrateTest::commandsWorkOnTheServer()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R1', '张伟')");
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 是否借出) values ('B1', '围城', "
           "'I', 1)");
    t.db().close();
    QTemporaryDir dir;
    const QStringList server = {"--database", t.serverLibrary()};

    // A lent flag without its loan is found on the server as in a file.
    Result checked = cli(dir.path(), server + QStringList{"check"});
    QCOMPARE(checked.status, 1);
    QVERIFY2(QString::fromUtf8(checked.out).contains("B1"), checked.out.constData());
    t.exec("update bookInfo set 是否借出 = 0");
    t.db().close();
    // The folder's setting.ini names the server when the command line does not.
    QFile settings(dir.filePath("setting.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("Database=" + t.serverLibrary().toUtf8() + "\n");
    settings.close();
    checked = cli(dir.path(), {"check"});
    QVERIFY2(checked.status == 0, qPrintable(checked.err));

    const QString copy = dir.filePath("copy.mdb");
    const Result backedUp = cli(dir.path(), {"backup", copy});
    QVERIFY2(backedUp.status == 0, qPrintable(backedUp.err));
    QVERIFY(!QFile::exists(copy + ".part"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "server-backup");
        db.setDatabaseName(copy);
        QSqlQuery q(db);
        QVERIFY(db.open() && q.exec("select 读者姓名 from readerInfo") && q.next());
        QCOMPARE(q.value(0).toString(), QString("张伟"));
    }
    QSqlDatabase::removeDatabase("server-backup");

    const Result exported = cli(dir.path(), {"export", "readers", "-"});
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    QVERIFY(QString::fromUtf8(exported.out).contains("R1,张伟"));
    const Result restored = cli(dir.path(), {"restore", copy});
    QCOMPARE(restored.status, 1);
    QVERIFY2(restored.err.contains("migrate --to"), qPrintable(restored.err));
}

void MigrateTest::refusesWhatTheServerCannotHold_data()
{
    QTest::addColumn<QString>("reader");  // the name of a reader added to the library
    QTest::addColumn<bool>("password");   // the address holds a password
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("told");
    QTest::newRow("a NUL in a text")
        << QString("张") + QChar(0) + QString("伟") << false << 1 << "readerInfo 453";
    QTest::newRow("a password in the address") << "张伟" << true << 2 << "PGPASSWORD";
}

void MigrateTest::refusesWhatTheServerCannotHold()
{
    QFETCH(QString, reader);
    QFETCH(bool, password);
    QFETCH(int, status);
    QFETCH(QString, told);
    TestApp t;
    QTemporaryDir dir;
    QList<std::pair<QString, QVariantList>> rows = kLibrary;
    rows.append({"insert into readerInfo (读者编号, 读者姓名) values ('003', ?)", {reader}});
    QVERIFY(makeLibrary(dir.path(), rows));
    QString target = t.serverLibrary();
    if (password)
        target.replace("lendora@", "lendora:secret@");
    const Result refused = cli(dir.path(), {"migrate", "--to", target});
    QCOMPARE(refused.status, status);
    QVERIFY2(refused.err.contains(told), qPrintable(refused.err));
    // Nothing reached the server: its database holds no table at all (read without the
    // test kit, which would set it up).
    int tables = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "migrate-target");
        lendora::ServerAddress::parse(t.serverLibrary(), nullptr)->applyTo(db);
        QSqlQuery q(db);
        if (db.open()
            && q.exec("select count(*) from information_schema.tables"
                      " where table_schema = current_schema()")
            && q.next())
            tables = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("migrate-target");
    QCOMPARE(tables, 0);
}

}  // namespace

QTEST_MAIN(MigrateTest)
#include "tst_migrate.moc"
