#include "TestApp.h"
#include "TestMain.h"
#include "app/Application.h"
#include "base/DateText.h"
#include "base/NumberText.h"
#include "core/query/BookCriteria.h"
#include "data/Backups.h"
#include "data/GridModel.h"
#include "data/GridSource.h"
#include "data/LibraryCopy.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"
#include "data/postgres/ServerAddress.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"
#include "data/sqlite/SqliteMatch.h"
#include "data/sqlite/SqliteSchema.h"
#include "gui/widgets/Texts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh database of the program in `dir`, with its connection closed again.
QString makeDatabase(const QString &dir)
{
    const QString path = DatabaseFile::pathIn(dir);
    QString error;
    if (!DatabaseFile::create(path, &error))
        qWarning() << error;
    return path;
}

// Runs statements on a file through a plain connection (to build foreign or odd files).
void runOn(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("raw-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &sql : statements)
            QVERIFY2(q.exec(sql), qPrintable(sql));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A library as the first version of the program wrote it: the five tables, two indexes, the
// rules row, two categories, schema version 1.
QString makeVersionOne(const QString &dir)
{
    const QString path = DatabaseFile::pathIn(dir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    runOn(
        path,
        {
            "pragma journal_mode=wal",
            "CREATE TABLE bookInfo (书籍编号 TEXT NOT NULL UNIQUE, 书籍名称 TEXT, 类别代码 TEXT, "
            "出版社 TEXT,"
            " 作者姓名 TEXT, 书籍价格 TEXT, 书籍页码 TEXT,"
            " 登记日期 TEXT CHECK (登记日期 IS NULL OR date(登记日期, '+0 days') IS 登记日期),"
            " 是否借出 INTEGER NOT NULL DEFAULT 0 CHECK (是否借出 IN (0, 1))) STRICT",
            "CREATE TABLE bookType (类别代码 TEXT NOT NULL UNIQUE, 书籍类别 TEXT, 借出天数 "
            "INTEGER) STRICT",
            "CREATE TABLE readerInfo (读者编号 TEXT NOT NULL UNIQUE, 读者姓名 TEXT, 读者性别 TEXT,"
            " 联系电话 TEXT, 所在部门 TEXT) STRICT",
            "CREATE TABLE lentInfo (读者编号 TEXT, 书籍编号 TEXT,"
            " 借书日期 TEXT CHECK (借书日期 IS NULL OR date(借书日期, '+0 days') IS 借书日期),"
            " 还书日期 TEXT CHECK (还书日期 IS NULL OR date(还书日期, '+0 days') IS 还书日期),"
            " 超出天数 INTEGER, 罚款金额 REAL) STRICT",
            "CREATE TABLE basicSet (借出册数 INTEGER, 罚款 REAL) STRICT",
            "CREATE INDEX lentInfo_reader_open ON lentInfo (读者编号, 还书日期)",
            "CREATE INDEX lentInfo_book_open ON lentInfo (书籍编号, 还书日期)",
            "INSERT INTO basicSet VALUES (5, 0.1)",
            "INSERT INTO bookType VALUES ('I', '文学', 30), ('T', '工业技术', 30)",
            QStringLiteral("PRAGMA application_id=%1").arg(SqliteSchema::kApplicationId),
            "PRAGMA user_version=1",
        });
    return path;
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// The books a search finds on a connection, sorted.
QStringList booksFound(QSqlDatabase db, const BookCriteria &criteria)
{
    const BoundQuery query = criteria.query(SqliteBackend(QString()));
    QSqlQuery q(db);
    q.prepare(query.sql);
    for (int i = 0; i < query.values.size(); ++i)
        q.bindValue(i, query.values.at(i));
    QStringList found;
    if (!q.exec())
        return {q.lastError().text()};
    while (q.next())
        found << q.value(0).toString();
    found.sort();
    return found;
}

QVariant pragma(QSqlDatabase db, const QString &name)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("pragma ") + name) && q.next() ? q.value(0) : QVariant();
}

}  // namespace

class DataTest : public QObject {
    Q_OBJECT

private slots:
    void dateText_data();
    void dateText();
    void dateTextFindsItsRowAgain();
    void numberText_data();
    void numberText();
    void leadingValue_data();
    void leadingValue();
    void matching_data();
    void matching();
    void firstStartCreatesTheLibrary();
    void refusedFileIsLeftUnchanged_data();
    void refusedFileIsLeftUnchanged();
    void refusedFileStopsTheProgram();
    void quickCheckAfterUncleanEnd();
    void openWritesMarkerAndCloseRemovesIt();
    void changeBindsEmptyTextAsText();
    void gridSourceCountsEveryRow();
    void gridSourceBindsValues();
    void gridSourceRunsAgainWithNewValues();
    void gridReadsAnyRowInBlocks_data();
    void gridReadsAnyRowInBlocks();
    void gridHoldsNoSnapshot_data();
    void gridHoldsNoSnapshot();
    void gridReportsAFailedBlock();
    void logIsCutBackAfterACheckpoint();
    void upgradeFromVersionOneInPlace();
    void failedUpgradeLeavesVersionOne();
    void oneOpenLoanPerBook_data();
    void oneOpenLoanPerBook();
    void copyHoldsWhatTheLogHolds();
    void engineErrorsAreSorted_data();
    void engineErrorsAreSorted();
    void serverAddress_data();
    void serverAddress();
    void serverRefusesWhatIsNotItsLibrary_data();
    void serverRefusesWhatIsNotItsLibrary();
    void serverCopyHoldsEveryRow();
    void deskNamesALibraryOnAServer();
    void backupWindowCopiesTheLibraryInUse();
    void aDroppedConnectionIsMadeAgain();
};

void DataTest::dateText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("plain") << "2026-12-07" << QDate(2026, 12, 7);
    QTest::newRow("leap day") << "2024-02-29" << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "2026-02-29" << QDate();
    QTest::newRow("short month") << "2026-1-05" << QDate();
    QTest::newRow("slashes") << "2026/12/07" << QDate();
    QTest::newRow("trailing blank") << "2026-12-07 " << QDate();
    QTest::newRow("year zero") << "0000-01-01" << QDate();
    QTest::newRow("month 13") << "2026-13-01" << QDate();
    QTest::newRow("full-width digit") << QString::fromUtf8("２026-12-07") << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void DataTest::dateText()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(DateText::fromText(text), date);
    if (date.isValid())
        QCOMPARE(DateText::toText(date), text);
}

void DataTest::dateTextFindsItsRowAgain()
{
    TestApp t;
    const QDate lent(2026, 11, 1);
    t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期) values (?, ?, ?)",
           {"001", "B1", DateText::toSql(lent)});
    const QString shown =
        DateText::toText(DateText::fromSql(t.scalar("select 借书日期 from lentInfo")));
    QCOMPARE(shown, QStringLiteral("2026-11-01"));
    QCOMPARE(t.scalar("select count(*) from lentInfo where 借书日期=?", {shown}).toInt(), 1);
    // A value that is not a date is refused by the table itself.
    QSqlQuery bad(t.db());
    QVERIFY(!bad.exec("insert into lentInfo (借书日期) values ('2026-11-31')"));
    // A server's dates are dates: a short month is read as the date it names.
    QCOMPARE(bad.exec("insert into lentInfo (借书日期) values ('2026-1-05')"), TestApp::onServer());
}

void DataTest::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1 x 3") << 0.1 * 3 << "0.3";
    QTest::newRow("0.5 x 3") << 0.5 * 3 << "1.5";
    QTest::newRow("whole") << 5.0 << "5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("minus zero") << -0.0 << "0";
    QTest::newRow("negative") << -2.25 << "-2.25";
    QTest::newRow("a third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("large") << 123456789012.5 << "123456789012.5";
    QTest::newRow("no exponent") << 1e20 << "100000000000000000000";
    QTest::newRow("small") << 0.0001 << "0.0001";
}

void DataTest::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::fromDouble(value), text);
}

void DataTest::leadingValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits") << "2" << 2.0;
    QTest::newRow("letters after") << "2abc" << 2.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("leading blanks") << "  3" << 3.0;
    QTest::newRow("fraction") << "1.5" << 1.5;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("three digits") << "010" << 10.0;
    QTest::newRow("blank inside ends it") << "1 2" << 1.0;
}

void DataTest::leadingValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumberText::leadingValue(text), value);
}

void DataTest::matching_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("quote exact") << "O'Neil" << false << QStringList{"O'Neil"};
    QTest::newRow("quote partial") << "'" << true << QStringList{"O'Neil"};
    QTest::newRow("percent is literal") << "%" << true << QStringList{"50%off"};
    QTest::newRow("underscore is literal") << "_" << true << QStringList{"a_b"};
    QTest::newRow("backslash is literal") << "\\" << true << QStringList{"c:\\x"};
    QTest::newRow("trailing blank exact") << "Qt " << false << QStringList{"Qt "};
    QTest::newRow("no trailing blank") << "Qt" << false << QStringList{"Qt"};
    QTest::newRow("case matters exact") << "qt" << false << QStringList{};
    QTest::newRow("chinese partial")
        << QString::fromUtf8("大学") << true << QStringList{QString::fromUtf8("清华大学出版社")};
    QTest::newRow("three blanks") << "   " << false << QStringList{};
    // Three characters or more go through the text index; the rows are the same.
    QTest::newRow("percent is literal, indexed") << "50%" << true << QStringList{"50%off"};
    QTest::newRow("underscore is literal, indexed") << "a_b" << true << QStringList{"a_b"};
    QTest::newRow("quote, indexed") << "O'N" << true << QStringList{"O'Neil"};
    QTest::newRow("letters in either case, partial") << "QT " << true << QStringList{"Qt "};
    QTest::newRow("case matters exact, indexed") << "QT " << false << QStringList{};
    QTest::newRow("chinese exact, indexed") << QString::fromUtf8("清华大学出版社") << false
                                            << QStringList{QString::fromUtf8("清华大学出版社")};
    QTest::newRow("chinese partial, indexed") << QString::fromUtf8("大学出版") << true
                                              << QStringList{QString::fromUtf8("清华大学出版社")};
}

void DataTest::matching()
{
    QFETCH(QString, typed);
    QFETCH(bool, partial);
    QFETCH(QStringList, found);
    TestApp t;
    const QStringList titles = {"O'Neil", "50%off", "5000off",
                                "a_b",    "axb",    "c:\\x",
                                "Qt ",    "Qt",     QString::fromUtf8("清华大学出版社")};
    int n = 0;
    for (const QString &title : titles)
        t.exec("insert into bookInfo (书籍编号, 书籍名称) values (?, ?)",
               {QString::number(++n), title});
    const SqlCondition c = t.libraryBackend()->match("bookInfo.书籍名称", typed, partial);
    QString sql = "select bookInfo.书籍名称 from bookInfo";
    for (const QString &table : c.tables)
        sql += ", " + table;
    QSqlQuery q(t.db());
    QVERIFY(q.prepare(sql + " where " + c.sql + " order by bookInfo.rowid"));
    for (int i = 0; i < c.values.size(); ++i)
        q.bindValue(i, c.values.at(i));
    QVERIFY(q.exec());
    QStringList got;
    while (q.next())
        got << q.value(0).toString();
    QCOMPARE(got, found);
}

void DataTest::firstStartCreatesTheLibrary()
{
    QTemporaryDir dir;
    const QString path = DatabaseFile::pathIn(dir.path());
    QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath()));
    SharedDatabase shared("create-test");
    QString problem;
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(path + ".new"));

    QSqlDatabase db = shared.db();
    for (const Schema::Table &table : Schema::tables()) {
        const QSqlRecord record = db.record(table.name);
        QStringList columns;
        for (int i = 0; i < record.count(); ++i)
            columns << record.fieldName(i);
        QCOMPARE(columns, table.columns);
    }
    QSqlQuery q(db);
    QVERIFY(q.exec("select count(*), min(借出天数), max(借出天数) from bookType") && q.next());
    QCOMPARE(q.value(0).toInt(), 22);
    QCOMPARE(q.value(1).toInt(), 30);
    QCOMPARE(q.value(2).toInt(), 30);
    QVERIFY(
        q.exec(
            "select group_concat(类别代码, '') from (select 类别代码 from bookType order by rowid)")
        && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ABCDEFGHIJKNOPQRSTUVXZ"));
    QVERIFY(q.exec("select 书籍类别 from bookType where 类别代码='I'") && q.next());
    QCOMPARE(q.value(0).toString(), QString::fromUtf8("文学"));
    QVERIFY(q.exec("select count(*), max(借出册数), max(罚款) from basicSet") && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toInt(), 5);
    QCOMPARE(q.value(2).toDouble(), 0.1);
    QVERIFY(q.exec("pragma journal_mode") && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
    QVERIFY(q.exec("pragma index_list(lentInfo)"));
    int indexes = 0;
    while (q.next())
        ++indexes;
    // Open loans by reader, by book and by date, one open loan per book, the two dates, and the
    // two the statistics count from.
    QCOMPARE(indexes, 8);
    // The same number twice is refused by the table.
    QVERIFY(q.exec("insert into bookInfo (书籍编号) values ('B1')"));
    QVERIFY(!q.exec("insert into bookInfo (书籍编号) values ('B1')"));
    q.finish();
    db = QSqlDatabase();
    shared.close();

    // A second open keeps what is there.
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    QSqlQuery again(shared.db());
    QVERIFY(again.exec("select count(*) from bookInfo") && again.next());
    QCOMPARE(again.value(0).toInt(), 1);
}

void DataTest::refusedFileIsLeftUnchanged_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("text file") << "text" << QString::fromUtf8("不是数据库文件");
    QTest::newRow("empty file") << "empty" << QString::fromUtf8("不是数据库文件");
    QTest::newRow("truncated copy") << "truncated" << QString::fromUtf8("不完整");
    QTest::newRow("other tables") << "foreign" << QString::fromUtf8("不是本程序的数据库");
    QTest::newRow("our id, table missing")
        << "missing-table" << QString::fromUtf8("缺少数据表 readerInfo");
    QTest::newRow("newer version") << "newer" << QString::fromUtf8("更新版本");
    QTest::newRow("read-only") << "read-only" << QString::fromUtf8("只读");
}

void DataTest::refusedFileIsLeftUnchanged()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString path = DatabaseFile::pathIn(dir.path());
    if (kind == "text") {
        writeFile(path, "书籍编号,书籍名称\r\nB1,三国演义\r\n");
    } else if (kind == "empty") {
        writeFile(path, "");
    } else if (kind == "truncated") {
        const QString whole = makeDatabase(dir.path() + "/whole");
        runOn(whole, {"pragma journal_mode=delete"});
        const QByteArray bytes = readFile(whole);
        QVERIFY(bytes.size() > 8192);
        writeFile(path, bytes.left(bytes.size() - 4096));
    } else if (kind == "foreign") {
        QDir().mkpath(QFileInfo(path).absolutePath());
        runOn(path, {"create table customers (id integer, name text)",
                     "insert into customers values (1, 'x')"});
    } else if (kind == "missing-table") {
        makeDatabase(dir.path());
        runOn(path, {"drop table readerInfo", "pragma journal_mode=delete"});
    } else if (kind == "newer") {
        makeDatabase(dir.path());
        runOn(path, {QStringLiteral("pragma user_version=%1").arg(Schema::kVersion + 1),
                     "pragma journal_mode=delete"});
    } else if (kind == "read-only") {
        makeDatabase(dir.path());
        runOn(path, {"pragma journal_mode=delete"});
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    const QByteArray before = fileHash(path);
    QVERIFY(!before.isEmpty() || kind == "empty");

    SharedDatabase shared("refuse-test");
    QString problem;
    QVERIFY(!shared.open(path, &problem));
    QVERIFY2(problem.contains(says), qPrintable(problem));
    QVERIFY2(problem.contains(QDir::toNativeSeparators(path)), qPrintable(problem));
    QVERIFY(!shared.isOpen());
    QCOMPARE(fileHash(path), before);
    QCOMPARE(QFileInfo(path).size(), kind == "empty" ? 0 : QFileInfo(path).size());
    QVERIFY(!QFileInfo::exists(DatabaseFile::markerPath(path)));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void DataTest::refusedFileStopsTheProgram()
{
    if (TestApp::onServer())
        QSKIP("the file refused by its header");
    TestApp t;
    const QString path = DatabaseFile::pathIn(t.appDir());
    writeFile(path, "this is not a library\n");
    const QByteArray before = fileHash(path);
    QVERIFY(!t.start());
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::DatabaseRefused);
    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QVERIFY(t.prompter().texts().first().contains(QDir::toNativeSeparators(path)));
    QVERIFY(!t.window("Frmmain"));
    QCOMPARE(fileHash(path), before);

    // A folder where the file should be.
    TestApp folder;
    QDir().mkpath(DatabaseFile::pathIn(folder.appDir()));
    QVERIFY(!folder.start());
    QVERIFY(folder.prompter().texts().value(0).contains(QString::fromUtf8("文件夹")));
    QVERIFY(QFileInfo(DatabaseFile::pathIn(folder.appDir())).isDir());
}

void DataTest::quickCheckAfterUncleanEnd()
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir.path());
    // Enough rows for an index page that is not the first.
    QStringList fill = {"begin"};
    for (int i = 0; i < 2000; ++i)
        fill << QStringLiteral("insert into readerInfo values ('R%1', '读者%1', '男', '', '')")
                    .arg(i);
    fill << "commit";
    runOn(path, fill);
    // Damage a page in the middle (the tables' rows stay readable enough for the cheap checks).
    QByteArray bytes = readFile(path);
    const int pageSize = 4096;
    const int pages = bytes.size() / pageSize;
    QVERIFY(pages > 6);
    for (int i = 0; i < pageSize - 8; ++i)
        bytes[(pages - 2) * pageSize + 8 + i] = char(0x5A);
    writeFile(path, bytes);
    const QByteArray before = fileHash(path);

    SharedDatabase shared("quick-check");
    QString problem;
    // A clean last end: the cheap checks only, and they pass.
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    shared.close();
    QCOMPARE(fileHash(path), before);
    // The marker of a run that did not end: the full check runs and refuses the file.
    writeFile(DatabaseFile::markerPath(path), "");
    QVERIFY(!shared.open(path, &problem));
    QVERIFY2(problem.contains(QString::fromUtf8("完整性检查")), qPrintable(problem));
    QCOMPARE(fileHash(path), before);
}

void DataTest::openWritesMarkerAndCloseRemovesIt()
{
    if (TestApp::onServer())
        QSKIP("the file's in-use marker");
    TestApp t;
    QVERIFY(t.start());
    const QString marker = DatabaseFile::markerPath(DatabaseFile::pathIn(t.appDir()));
    QVERIFY(QFileInfo::exists(marker));
    t.app().end(Application::Ending::ExitCommand);
    QVERIFY(!QFileInfo::exists(marker));
}

void DataTest::changeBindsEmptyTextAsText()
{
    QTemporaryDir dir;
    SharedDatabase shared("change-test");
    QString problem;
    QVERIFY2(shared.open(DatabaseFile::pathIn(dir.path()), &problem), qPrintable(problem));
    // A box left empty gives a null QString, which Qt alone would store as NULL.
    QCOMPARE(shared.change("insert into readerInfo values (?,?,?,?,?)",
                           {"001", QString(), QString(""), QVariant(), "x"}),
             1);
    QSqlQuery q(shared.db());
    QVERIFY(q.exec("select 读者姓名 is null, 读者姓名, 读者性别 is null, 联系电话 is null "
                   "from readerInfo")
            && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QCOMPARE(q.value(1).toString(), QString(""));
    QCOMPARE(q.value(2).toInt(), 0);
    QCOMPARE(q.value(3).toInt(), 1);  // a value meant to be null stays null
    q.finish();
    DbError error;
    QCOMPARE(
        shared.change("insert into readerInfo values (?,?,?,?,?)", {"001", "", "", "", ""}, &error),
        -1);
    QCOMPARE(error.kind, DbError::UniqueViolation);
    QVERIFY(!error.text.isEmpty());
    QCOMPARE(shared.change("update readerInfo set 读者姓名=? where 读者编号=?", {"王芳", "009"}),
             0);
}

void DataTest::gridSourceCountsEveryRow()
{
    TestApp t;
    QSqlDatabase db = t.db();
    db.transaction();
    for (int i = 0; i < 700; ++i)
        t.exec("insert into readerInfo (读者编号) values (?)", {QString::number(i)});
    db.commit();
    SharedDatabase shared("grid-count");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    QVERIFY(source.run("select * from readerInfo"));
    QCOMPARE(source.rowCount(), 700);
    t.exec("delete from readerInfo where 读者编号 < '5'");
    QVERIFY(source.refresh());
    QCOMPARE(source.rowCount(), t.scalar("select count(*) from readerInfo").toInt());
    // The grid's connection only reads.
    QSqlQuery write(source.connection());
    QVERIFY(!write.exec("delete from readerInfo"));
}

void DataTest::gridSourceBindsValues()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001', ?)", {"O'Neil"});
    SharedDatabase shared("grid-bind");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    const SqlCondition c = SqliteMatch::exact("读者姓名", "O'Neil");
    QVERIFY(source.run("select 读者编号 from readerInfo where " + c.sql, c.values));
    QCOMPARE(source.rowCount(), 1);
    QCOMPARE(source.model()->data(source.model()->index(0, 0)).toString(), QStringLiteral("001"));
    // A date is shown as the file holds it, whichever engine hands it over.
    t.exec("insert into lentInfo (读者编号, 借书日期) values ('001', '2026-11-01')");
    QVERIFY(source.run("select 借书日期 from lentInfo"));
    QCOMPARE(source.model()->data(source.model()->index(0, 0)), QVariant("2026-11-01"));
    QVERIFY(!source.run("select nonsense from nowhere"));
    QVERIFY(!source.lastError().isEmpty());
    QCOMPARE(source.rowCount(), 0);
}

void DataTest::gridSourceRunsAgainWithNewValues()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001', '张伟'), ('002', '王芳'),"
           " ('003', '张伟')");
    SharedDatabase shared("grid-again");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    const auto shown = [&] {
        QStringList ids;
        for (int r = 0; r < source.rowCount(); ++r)
            ids << source.model()->data(source.model()->index(r, 0)).toString();
        return ids;
    };
    const QString byName = "select 读者编号 from readerInfo where 读者姓名=? order by 读者编号";
    QVERIFY(source.run(byName, {"张伟"}));
    QCOMPARE(shown(), (QStringList{"001", "003"}));
    QVERIFY(source.run(byName, {"王芳"}));
    QCOMPARE(shown(), QStringList{"002"});
    QVERIFY(source.run("select 读者姓名 from readerInfo where 读者编号=?", {"003"}));
    QCOMPARE(shown(), QStringList{"张伟"});
    QVERIFY(!source.run("select nothing from nowhere"));
    QVERIFY(source.run(byName, {"张伟"}));
    QCOMPARE(shown(), (QStringList{"001", "003"}));
    // A refresh sees what was written since, with the values of the last run.
    t.exec("update readerInfo set 读者姓名='张伟' where 读者编号='002'");
    QVERIFY(source.refresh());
    QCOMPARE(shown(), (QStringList{"001", "002", "003"}));
}

namespace {

// More rows than the grid holds at once, entered out of order.
constexpr int kSeeded = 5000;
const char *const kByNumber = "select 读者编号, 读者姓名 from readerInfo order by 读者编号";

QString readerNumber(int row)
{
    return QStringLiteral("R%1").arg(row, 5, 10, QLatin1Char('0'));
}

void seedReaders(TestApp &t)
{
    QSqlDatabase db = t.db();
    db.transaction();
    for (int i = 0; i < kSeeded; ++i) {
        const int row = (i * 7919) % kSeeded;  // a prime stride visits every row once
        t.exec("insert into readerInfo (读者编号, 读者姓名) values (?, ?)",
               {readerNumber(row), QStringLiteral("读者%1").arg(row)});
    }
    db.commit();
}

}  // namespace

void DataTest::gridReadsAnyRowInBlocks_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("descending");
    const int last = kSeeded - 1;
    QList<int> forward, backward, farApart;
    for (int row = 0; row < kSeeded; row += 97)
        forward << row;
    for (int row = last; row >= 0; row -= 131)
        backward << row;
    for (int i = 0; i < 60; ++i)
        farApart << (i * 2617) % kSeeded;
    const QList<std::pair<const char *, QList<int>>> scrolls = {
        {"to the end first", {last, last - 1, 0, 1, last}},
        {"middle and back", {2500, 0, 2499, last, 2500, 255, 256}},
        {"every block, forward", forward},
        {"every block, backward", backward},
        {"far apart", farApart},
        {"sweep, then the start again", forward + QList<int>{0, 1, 2}},
    };
    // Ordered by one key, blocks seek past the key before them; ordered otherwise, they are
    // counted from the start.
    for (const bool descending : {false, true}) {
        for (const auto &[name, rows] : scrolls)
            QTest::addRow("%s, %s", descending ? "descending" : "by key", name)
                << rows << descending;
    }
}

void DataTest::gridReadsAnyRowInBlocks()
{
    QFETCH(QList<int>, rows);
    QFETCH(bool, descending);
    TestApp t;
    seedReaders(t);
    SharedDatabase shared("grid-blocks");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    QVERIFY(source.run(kByNumber + QString(descending ? " desc" : "")));
    GridModel *model = source.model();
    // The reader number shown at a row of `total` rows whose lowest number is `first`.
    const auto shownAt = [descending](int row, int total, int first) {
        return row < total ? first + (descending ? total - 1 - row : row) : -1;
    };
    // The first rows at once; the whole result counted right after they are shown, before
    // any row past them is asked for.
    QCOMPARE(model->rowCount(), GridModel::kBlockRows);
    QTRY_COMPARE(model->rowCount(), kSeeded);
    QCOMPARE(model->heldRows(), GridModel::kBlockRows);
    for (int row : rows) {
        const int number = shownAt(row, kSeeded, 0);
        QCOMPARE(model->data(model->index(row, 0)).toString(), readerNumber(number));
        QCOMPARE(model->record(row).value("读者姓名").toString(),
                 QStringLiteral("读者%1").arg(number));
        QVERIFY(model->heldRows() <= GridModel::kBlockRows * GridModel::kBlocksHeld);
    }
    QVERIFY(source.lastError().isEmpty());
    // A refresh counts again and forgets what it held.
    t.exec("delete from readerInfo where 读者编号 < ?", {readerNumber(1000)});
    QVERIFY(source.refresh());
    // A caller that asks for the total gets it at once.
    QCOMPARE(source.rowCount(), kSeeded - 1000);
    QCOMPARE(model->heldRows(), GridModel::kBlockRows);
    for (int row : rows) {
        const int number = shownAt(row, kSeeded - 1000, 1000);
        QCOMPARE(model->data(model->index(row, 0)).toString(),
                 number < 0 ? QString() : readerNumber(number));
    }
}

void DataTest::gridHoldsNoSnapshot_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("first rows shown") << QList<int>{};
    QTest::newRow("scrolled half way") << QList<int>{kSeeded / 2};
    QTest::newRow("scrolled to the end and back") << QList<int>{kSeeded - 1, 300, 0};
}

void DataTest::gridHoldsNoSnapshot()
{
    QFETCH(QList<int>, rows);
    if (TestApp::onServer())
        QSKIP("the file's write-ahead log");
    TestApp t;
    seedReaders(t);
    SharedDatabase shared("grid-snapshot");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    QVERIFY(source.run(kByNumber));
    QCOMPARE(source.rowCount(), kSeeded);  // the count too holds nothing once done
    for (int row : rows)
        QVERIFY(source.model()->data(source.model()->index(row, 0)).isValid());
    // A grid left half-read must not keep the log from being checkpointed to its start.
    t.exec("update readerInfo set 读者姓名='王芳' where 读者编号=?", {readerNumber(7)});
    QSqlQuery checkpoint(t.db());
    QVERIFY(checkpoint.exec("pragma wal_checkpoint(TRUNCATE)") && checkpoint.next());
    QCOMPARE(checkpoint.value(0).toInt(), 0);  // not busy
    QCOMPARE(QFileInfo(DatabaseFile::pathIn(t.appDir()) + "-wal").size(), 0);
}

void DataTest::logIsCutBackAfterACheckpoint()
{
    if (TestApp::onServer())
        QSKIP("the file's write-ahead log");
    TestApp t;
    SharedDatabase shared("log-size");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    const QString log = DatabaseFile::pathIn(t.appDir()) + "-wal";
    // One write of about 5 MB: the commit finds the log large and checkpoints it.
    QCOMPARE(shared.change("with recursive n(i) as (select 1 union all select i + 1 from n"
                           " where i < 1200) insert into readerInfo (读者编号, 读者姓名)"
                           " select 'L' || i, hex(randomblob(2000)) from n",
                           {}),
             1200);
    QVERIFY(QFileInfo(log).size() > 4 * 1024 * 1024);
    // The next write starts the log afresh, cut back: the writes after it do not each
    // checkpoint a log that only looks large.
    QCOMPARE(shared.change("update readerInfo set 读者性别='女' where 读者编号='L1'", {}), 1);
    QVERIFY2(QFileInfo(log).size() < 1024 * 1024,
             qPrintable(QString::number(QFileInfo(log).size())));
}

void DataTest::gridReportsAFailedBlock()
{
    TestApp t;
    seedReaders(t);
    SharedDatabase shared("grid-failed");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    GridSource source(shared, "grid");
    QVERIFY(source.run(kByNumber));
    QCOMPARE(source.rowCount(), kSeeded);
    GridModel *model = source.model();
    source.connection().close();
    // The rows of a block that cannot be read show empty, and the source says why.
    QVERIFY(!model->data(model->index(kSeeded - 1, 0)).isValid());
    QVERIFY(!model->data(model->index(kSeeded - 2, 0)).isValid());
    QVERIFY(!source.lastError().isEmpty());
    QCOMPARE(model->data(model->index(1, 0)).toString(), readerNumber(1));
    // The next refresh opens the connection again and reads every row.
    QVERIFY(source.refresh());
    QVERIFY(source.lastError().isEmpty());
    QCOMPARE(source.rowCount(), kSeeded);
    QCOMPARE(model->data(model->index(kSeeded - 1, 0)).toString(), readerNumber(kSeeded - 1));
}

namespace {

// Each index with its columns, and each line of sqlite_stat1.
QStringList indexesAndStatistics(const QSqlDatabase &db)
{
    QStringList found;
    QSqlQuery q(db);
    q.exec("select m.name || ':' || group_concat(i.name, ',') from sqlite_master m,"
           " pragma_index_info(m.name) i where m.type = 'index' group by m.name order by m.name");
    while (q.next())
        found << q.value(0).toString();
    q.exec("select tbl || ' ' || idx || ' ' || stat from sqlite_stat1 order by tbl, idx");
    while (q.next())
        found << q.value(0).toString();
    return found;
}

}  // namespace

void DataTest::upgradeFromVersionOneInPlace()
{
    QTemporaryDir dir;
    const QString path = makeVersionOne(dir.path());
    QStringList fill = {"begin"};
    for (int i = 0; i < 300; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        const QString title =
            (i % 3 == 0 ? QString::fromUtf8("数据库原理第") : QString::fromUtf8("红楼梦")) + number;
        fill << QStringLiteral("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values"
                               " ('B%1', '%2', 'I')")
                    .arg(number, title);
    }
    fill << "insert into bookInfo (书籍编号, 书籍名称) values ('A1', '50%折扣')"
         << "commit";
    runOn(path, fill);
    const ino_t inode = inodeOf(path);
    QVERIFY(inode != 0);

    SharedDatabase shared("upgrade");
    QString problem;
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    QSqlDatabase db = shared.db();
    QCOMPARE(pragma(db, "user_version").toInt(), Schema::kVersion);
    // The indexes and the planner's picture of a library made new.
    SharedDatabase made("made");
    QVERIFY2(made.open(dir.filePath("made.mdb"), &problem), qPrintable(problem));
    QCOMPARE(indexesAndStatistics(db), indexesAndStatistics(made.db()));
    // The same file, its rows all there.
    QCOMPARE(inodeOf(path), inode);
    QVERIFY(!QFileInfo::exists(path + ".new"));
    QCOMPARE(pragma(db, "application_id").toInt(), SqliteSchema::kApplicationId);
    QSqlQuery q(db);
    QVERIFY(q.exec("select count(*) from bookInfo") && q.next());
    QCOMPARE(q.value(0).toInt(), 301);

    // The rows that were there are found through the text index, exactly.
    BookCriteria search;
    search.partial = true;
    search.title = QString::fromUtf8("据库原理第2");
    QVERIFY(!search.conditions(*shared.dialect()).first().tables.isEmpty());
    QCOMPARE(booksFound(db, search),
             (QStringList{"B201", "B204", "B207", "B210", "B213", "B216", "B219", "B222", "B225",
                          "B228", "B231", "B234", "B237", "B240", "B243", "B246", "B249", "B252",
                          "B255", "B258", "B261", "B264", "B267", "B270", "B273", "B276", "B279",
                          "B282", "B285", "B288", "B291", "B294", "B297"}));
    search.title = "0%折";
    QCOMPARE(booksFound(db, search), QStringList{"A1"});
    search.partial = false;
    search.title = QString::fromUtf8("红楼梦299");
    QCOMPARE(booksFound(db, search), QStringList{"B299"});
    // Books written afterwards are in the index too.
    QVERIFY(q.exec(
        QString::fromUtf8("update bookInfo set 书籍名称='新编红楼梦' where 书籍编号='B299'")));
    QCOMPARE(booksFound(db, search), QStringList());
    search.title = QString::fromUtf8("新编红楼梦");
    QCOMPARE(booksFound(db, search), QStringList{"B299"});
    QVERIFY(q.exec("select count(*) from sqlite_master") && q.next());
    const int objects = q.value(0).toInt();
    const int schema = pragma(db, "schema_version").toInt();
    q.finish();
    db = QSqlDatabase();
    shared.close();

    // A second open finds version 2 and changes nothing in the schema.
    QVERIFY2(shared.open(path, &problem), qPrintable(problem));
    db = shared.db();
    QCOMPARE(pragma(db, "schema_version").toInt(), schema);
    QSqlQuery again(db);
    QVERIFY(again.exec("select count(*) from sqlite_master") && again.next());
    QCOMPARE(again.value(0).toInt(), objects);
    QCOMPARE(booksFound(db, search), QStringList{"B299"});
}

void DataTest::failedUpgradeLeavesVersionOne()
{
    QTemporaryDir dir;
    const QString path = makeVersionOne(dir.path());
    // A table of someone else's in the way of the last text index: the first ones are made
    // before the step fails.
    runOn(path, {"insert into bookInfo (书籍编号, 书籍名称) values ('B1', '数据库原理')",
                 "create table bookNumberTrigrams (x)"});
    SharedDatabase shared("upgrade-fails");
    QString problem;
    QVERIFY(!shared.open(path, &problem));
    QVERIFY2(problem.contains(QDir::toNativeSeparators(path)), qPrintable(problem));
    QVERIFY(!shared.isOpen());

    const QString name = "after-refused-upgrade";
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QCOMPARE(pragma(db, "user_version").toInt(), 1);
        QSqlQuery q(db);
        QVERIFY(q.exec("select count(*) from sqlite_master where name like 'book%Trigrams%'"
                       " or type = 'trigger'")
                && q.next());
        QCOMPARE(q.value(0).toInt(), 1);  // only the table that was in the way
        QVERIFY(q.exec("select 书籍名称 from bookInfo") && q.next());
        QCOMPARE(q.value(0).toString(), QString::fromUtf8("数据库原理"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void DataTest::oneOpenLoanPerBook_data()
{
    QTest::addColumn<QStringList>("openLoans");  // book numbers, one open loan each
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("notice");
    QTest::newRow("every book lent once")
        << QStringList{"B1", "B2"} << Schema::kVersion << QString();
    QTest::newRow("two books lent twice")
        << QStringList{"B2", "B1", "B2", "B3", "B1"} << 2
        << QString::fromUtf8(
               "数据库中以下图书有多条未还的借阅记录:B1、B2\n"
               "请在还书页把这些图书逐条归还。在此之前,数据库暂不启用“一本书同时只能借出一次”"
               "的检查,程序照常运行。");
}

void DataTest::oneOpenLoanPerBook()
{
    QFETCH(QStringList, openLoans);
    QFETCH(int, version);
    QFETCH(QString, notice);
    if (TestApp::onServer())
        QSKIP("a file's upgrade");
    // A library at version 2, written before the rule: the same book may be out twice.
    TestApp t;
    t.exec("DROP INDEX lentInfo_one_open_loan");
    // Nor has it the character indexes of version 7.
    for (const QString index :
         {"bookTitleGrams", "bookPublisherGrams", "bookNumberGrams", "readerNameGrams"}) {
        for (const QString event : {"insert", "delete", "update"})
            t.exec("DROP TRIGGER " + index + "_" + event);
        t.exec("DROP TABLE " + index);
    }
    t.exec("DROP TABLE gramPositions");
    t.exec("PRAGMA user_version=2");
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001', '张伟')");
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 书籍价格, 出版社, 书籍页码)"
           " values ('B1', '围城', 'I', '1', '不详', '1'), ('B2', '边城', 'I', '1', '不详', '1'),"
           " ('B3', '家', 'I', '1', '不详', '1'), ('B4', '春', 'I', '1', '不详', '1')");
    for (const QString &book : openLoans) {
        t.exec(
            "insert into lentInfo (读者编号, 书籍编号, 借书日期) values ('001', ?, '2026-11-01')",
            {book});
        t.exec("update bookInfo set 是否借出=1 where 书籍编号=?", {book});
    }
    const QString rows = t.scalar("select group_concat(书籍编号) from lentInfo").toString();

    // The desk starts either way; the clerk is told which books keep the rule out.
    QVERIFY(t.start());
    QStringList shown = t.prompter().texts();
    QCOMPARE(shown, notice.isEmpty() ? QStringList() : QStringList{notice});
    t.login();
    QCOMPARE(pragma(t.db(), "user_version").toInt(), version);
    QCOMPARE(
        t.scalar("select count(*) from sqlite_master where name='lentInfo_one_open_loan'").toInt(),
        version >= 3 ? 1 : 0);
    QCOMPARE(t.scalar("select group_concat(书籍编号) from lentInfo").toString(), rows);

    // A short search works whether or not the upgrade went as far as the character index.
    BookCriteria search;
    search.partial = true;
    search.title = "城";
    const BoundQuery found = search.query(*t.app().database().dialect());
    QCOMPARE(
        t.scalar("select group_concat(书籍编号) from (" + found.sql + ")", found.values).toString(),
        QString("B1,B2"));

    // In force, the engine itself refuses a second open loan of a book.
    QSqlQuery second(t.db());
    QCOMPARE(second.exec("insert into lentInfo (读者编号, 书籍编号) values ('001', 'B1')"),
             version < 3);
}

void DataTest::copyHoldsWhatTheLogHolds()
{
    QTemporaryDir dir;
    SharedDatabase shared("copy-test");
    QString problem;
    QVERIFY2(shared.open(DatabaseFile::pathIn(dir.path()), &problem), qPrintable(problem));
    for (int i = 0; i < 50; ++i)
        QCOMPARE(
            shared.change("insert into readerInfo (读者编号) values (?)", {QString::number(i)}), 1);
    // Still in the write-ahead log: a plain copy of the file would not hold the readers.
    const QString copy = dir.filePath("copy.mdb");
    DbError error;
    QSqlDatabase db = shared.db();
    QVERIFY2(shared.copies()->copyTo(db, copy, &error), qPrintable(error.text));
    QVERIFY(DatabaseFile::checkFile(copy).isEmpty());
    {
        QSqlDatabase copied = QSqlDatabase::addDatabase("QSQLITE", "copied");
        copied.setDatabaseName(copy);
        QVERIFY(copied.open());
        QCOMPARE(pragma(copied, "user_version").toInt(), Schema::kVersion);
        QSqlQuery q(copied);
        QVERIFY(q.exec("select count(*) from readerInfo") && q.next());
        QCOMPARE(q.value(0).toInt(), 50);
        QVERIFY(q.exec("pragma integrity_check") && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    }
    QSqlDatabase::removeDatabase("copied");
    // An existing file is never overwritten.
    const QByteArray before = fileHash(copy);
    QVERIFY(!shared.copies()->copyTo(db, copy, &error));
    QCOMPARE(fileHash(copy), before);
}

void DataTest::engineErrorsAreSorted_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QTest::newRow("a key taken") << "insert into bookInfo (书籍编号) values ('B1')"
                                 << int(DbError::UniqueViolation);
    QTest::newRow("another writer") << "BEGIN IMMEDIATE" << int(DbError::Busy);
    QTest::newRow("a value the column refuses")
        << "insert into bookInfo (书籍编号, 是否借出) values ('B2', 7)" << int(DbError::Other);
    QTest::newRow("a mistake in the statement") << "selct 1" << int(DbError::Other);
}

void DataTest::engineErrorsAreSorted()
{
    QFETCH(QString, sql);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString path = makeDatabase(dir.path());
    runOn(path, {"insert into bookInfo (书籍编号) values ('B1')"});
    const QString writer = "holds-the-lock";
    const QString name = "sorted";
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", writer);
        holder.setDatabaseName(path);
        QVERIFY(holder.open());
        QSqlQuery hold(holder);
        if (kind == DbError::Busy)
            QVERIFY(hold.exec("BEGIN IMMEDIATE"));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("PRAGMA busy_timeout=0"));
        QVERIFY(!q.exec(sql));
        const DbError error = SqliteBackend(path).classify(q.lastError());
        QCOMPARE(int(error.kind), kind);
        QCOMPARE(error.text, q.lastError().text());
        q.finish();
        hold.finish();
    }
    QSqlDatabase::removeDatabase(name);
    QSqlDatabase::removeDatabase(writer);
}

void DataTest::serverAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");  // user, host, port, database; empty: refused
    QTest::newRow("host and port") << "postgresql://clerk@db.example:5433/library"
                                   << QStringList{"clerk", "db.example", "5433", "library"};
    QTest::newRow("socket folder") << "postgresql://lendora@%2Ftmp%2Fpg/postgres"
                                   << QStringList{"lendora", "/tmp/pg", "0", "postgres"};
    QTest::newRow("short scheme, no user")
        << "postgres://db/library" << QStringList{"", "db", "0", "library"};
    QTest::newRow("password") << "postgresql://clerk:secret@db/library" << QStringList();
    QTest::newRow("no database") << "postgresql://clerk@db/" << QStringList();
    QTest::newRow("port not a number") << "postgresql://db:x/library" << QStringList();
    QTest::newRow("a file") << "/home/clerk/mdb/Lendora.mdb" << QStringList();
}

void DataTest::serverAddress()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    QString problem;
    const std::optional<ServerAddress> address = ServerAddress::parse(text, &problem);
    if (parts.isEmpty()) {
        QVERIFY(!address);
        QVERIFY(problem.contains(text) || problem.contains("PGPASSWORD"));
        return;
    }
    QVERIFY2(address, qPrintable(problem));
    QCOMPARE((QStringList{address->user, address->host, QString::number(address->port),
                          address->database}),
             parts);
    // Written back, it reads the same.
    const std::optional<ServerAddress> again = ServerAddress::parse(address->url(), &problem);
    QVERIFY(again);
    QCOMPARE(again->url(), address->url());
    QCOMPARE(again->host, address->host);
}

void DataTest::serverRefusesWhatIsNotItsLibrary_data()
{
    QTest::addColumn<QString>("database");  // how the desk's database is left before it starts
    QTest::addColumn<QString>("told");
    QTest::newRow("another program's tables") << "other"
                                              << "中已有别的数据表";
    QTest::newRow("a newer program's library") << "newer"
                                               << "由更新版本的程序建立";
    QTest::newRow("a locale without Chinese trigrams") << "ascii"
                                                       << "ENCODING 'UTF8'";
}

void DataTest::serverRefusesWhatIsNotItsLibrary()
{
    QFETCH(QString, database);
    QFETCH(QString, told);
    if (!TestApp::onServer())
        QSKIP("a library on a server");
    TestApp t;
    const ServerAddress address = *ServerAddress::parse(t.serverLibrary(), nullptr);
    if (database == "ascii") {
        const ServerAddress maintenance =
            *ServerAddress::parse(qEnvironmentVariable("LENDORA_TEST_SERVER"), nullptr);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "maintenance");
            maintenance.applyTo(db);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("DROP DATABASE " + address.database + " WITH (FORCE)"));
            QVERIFY(q.exec("CREATE DATABASE " + address.database
                           + " ENCODING 'SQL_ASCII' LOCALE 'C' TEMPLATE template0"));
        }
        QSqlDatabase::removeDatabase("maintenance");
    }
    const auto tables = [&] {
        QStringList names;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "look");
            address.applyTo(db);
            QSqlQuery q(db);
            if (db.open()
                && q.exec("select table_name from information_schema.tables where"
                          " table_schema = current_schema() order by 1")) {
                while (q.next())
                    names << q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase("look");
        return names;
    };
    if (database == "other") {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "other");
        address.applyTo(db);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("create table other (x integer)"));
        db.close();
    } else if (database == "newer") {
        t.exec("update lendoraSchema set version = 99");
        t.db().close();
    }
    QSqlDatabase::removeDatabase("other");
    const QStringList before = tables();

    QVERIFY(!t.start());
    QCOMPARE(t.prompter().texts().size(), 1);
    QVERIFY2(t.prompter().texts().first().contains(told), qPrintable(t.prompter().texts().first()));
    QCOMPARE(tables(), before);
}

void DataTest::serverCopyHoldsEveryRow()
{
    if (!TestApp::onServer())
        QSKIP("a library on a server");
    TestApp t;
    t.exec("insert into readerInfo values ('001', '张伟', '男', '', '三年级')");
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期, 是否借出) values"
           " ('B1', '围城', 'I', '2026-01-31', 1), ('B2', 'Qt 编程', 'T', null, 0)");
    t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期, 超出天数, 罚款金额)"
           " values ('001', 'B1', '2026-11-01', null, null, null),"
           " ('001', 'B2', '2026-09-01', '2026-10-04', 3, ?)",
           {0.1 * 3});
    t.exec("delete from bookType where 类别代码 = 'Z'");

    SharedDatabase shared("server-copy");
    QString problem;
    QVERIFY2(shared.open(t.libraryBackend(), &problem), qPrintable(problem));
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.mdb");
    DbError error;
    QSqlDatabase db = shared.db();
    QVERIFY2(shared.copies()->copyTo(db, path, &error), qPrintable(error.text));
    QVERIFY(DatabaseFile::checkFile(path).isEmpty());
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "server-copy-file");
        copy.setDatabaseName(path);
        QVERIFY(copy.open());
        for (const Schema::Table &table : Schema::tables()) {
            LibraryCopy::Digest server;
            LibraryCopy::Digest file;
            QVERIFY(LibraryCopy::digest(db, *shared.dialect(), table.name, &server, &problem));
            QVERIFY(LibraryCopy::digest(copy, SqliteBackend(path), table.name, &file, &problem));
            QVERIFY2(server == file, qPrintable(table.name));
        }
        QSqlQuery fine(copy);
        QVERIFY(fine.exec("select 罚款金额 from lentInfo where 书籍编号 = 'B2'") && fine.next());
        QCOMPARE(fine.value(0).toDouble(), 0.1 * 3);  // every bit of it
    }
    QSqlDatabase::removeDatabase("server-copy-file");
}

void DataTest::deskNamesALibraryOnAServer()
{
    TestApp t;
    t.login();
    const QWidget *main = t.window("Frmmain");
    QVERIFY(main);
    const auto *label = main->findChild<QLabel *>("lblLibrary");
    QVERIFY(!main->windowTitle().contains("postgresql"));
    if (!TestApp::onServer()) {
        QVERIFY(!label);
        return;
    }
    QVERIFY(label);
    QCOMPARE(label->text(), QString::fromUtf8("图书馆:") + t.serverLibrary());
}

void DataTest::backupWindowCopiesTheLibraryInUse()
{
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('R1', '张伟')");
    t.login();
    t.trigger("mnuBackup");
    t.click("FrmBackup", "cmdBackupNow");
    QTRY_VERIFY_WITH_TIMEOUT(!t.prompter().texts().isEmpty(), 30000);
    const QStringList copies = Backups(t.appDir()).list();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(t.prompter().texts(),
             QStringList{"备份完成:" + QDir::toNativeSeparators(copies.at(0))});
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "window-copy");
        copy.setDatabaseName(copies.at(0));
        QSqlQuery q(copy);
        QVERIFY(copy.open() && q.exec("select 读者姓名 from readerInfo where 读者编号='R1'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString::fromUtf8("张伟"));
    }
    QSqlDatabase::removeDatabase("window-copy");
    if (!TestApp::onServer())
        return;
    // A server's library is not replaced from a desk: nothing is asked, nothing changes.
    t.prompter().clear();
    t.click("FrmBackup", "cmdRestore");
    QCOMPARE(
        t.prompter().texts(),
        QStringList{"服务器上的图书馆不能在柜台上恢复备份。\n请新建一个空数据库,再用 lendora-cli "
                    "migrate --to 地址 --from 备份文件 移入。"});
    QCOMPARE(t.scalar("select count(*) from readerInfo").toInt(), 1);
}

void DataTest::aDroppedConnectionIsMadeAgain()
{
    if (!TestApp::onServer())
        QSKIP("a server that drops its connections");
    TestApp t;
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001', '张伟')");
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 书籍价格, 书籍页码)"
           " values ('B1', '围城', 'I', '不详', '20', '300')");
    t.db().close();
    // What a restart of the server does to every connection of the desk's database.
    const QString database = ServerAddress::parse(t.serverLibrary(), nullptr)->database;
    const auto dropConnections = [&] {
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "admin");
        ServerAddress::parse(qEnvironmentVariable("LENDORA_TEST_SERVER"), nullptr)->applyTo(admin);
        QSqlQuery q(admin);
        const bool ok = admin.open()
                        && q.exec("select count(pg_terminate_backend(pid)) from pg_stat_activity"
                                  " where datname = '"
                                  + database + "'")
                        && q.next() && q.value(0).toInt() > 0;
        q = QSqlQuery();
        admin = QSqlDatabase();
        QSqlDatabase::removeDatabase("admin");
        return ok;
    };
    t.login();
    QVERIFY(dropConnections());
    // The clerk's next look-up finds the reader, without a word of what happened.
    t.type("Frmmain", "txtReaderID", "001");
    t.enter("Frmmain", "txtReaderID");
    QCOMPARE(t.text("Frmmain", "txtReaderName"), QString("张伟"));
    t.type("Frmmain", "txtBookID", "B1");
    t.enter("Frmmain", "txtBookID");
    QVERIFY(dropConnections());
    // And the next lend goes through on a new connection.
    t.prompter().clear();
    t.click("Frmmain", "cmdLendBook");
    QCOMPARE(t.prompter().texts(), QStringList{"借出完毕!"});
    QCOMPARE(t.scalar("select count(*) from lentInfo where 书籍编号 = 'B1'").toInt(), 1);
}

LENDORA_TEST_CLASS(DataTest)
#include "tst_data.moc"
