#include "TestApp.h"
#include "app/Texts.h"
#include "data/DatabaseFile.h"
#include "data/DateText.h"
#include "data/GridSource.h"
#include "data/NumberText.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"
#include "data/SqlMatch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

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
    void gridSourceCountsEveryRow();
    void gridSourceBindsValues();
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
    const QString shown = DateText::toText(DateText::fromSql(t.scalar("select 借书日期 from lentInfo")));
    QCOMPARE(shown, QStringLiteral("2026-11-01"));
    QCOMPARE(t.scalar("select count(*) from lentInfo where 借书日期=?", {shown}).toInt(), 1);
    // A value that is not a date is refused by the table itself.
    QSqlQuery bad(t.db());
    QVERIFY(!bad.exec("insert into lentInfo (借书日期) values ('2026-11-31')"));
    QVERIFY(!bad.exec("insert into lentInfo (借书日期) values ('2026-1-05')"));
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
    QTest::newRow("chinese partial") << QString::fromUtf8("大学") << true
                                     << QStringList{QString::fromUtf8("清华大学出版社")};
    QTest::newRow("three blanks") << "   " << false << QStringList{};
}

void DataTest::matching()
{
    QFETCH(QString, typed);
    QFETCH(bool, partial);
    QFETCH(QStringList, found);
    TestApp t;
    const QStringList titles = {"O'Neil", "50%off", "5000off", "a_b", "axb", "c:\\x",
                                "Qt ", "Qt", QString::fromUtf8("清华大学出版社")};
    int n = 0;
    for (const QString &title : titles)
        t.exec("insert into bookInfo (书籍编号, 书籍名称) values (?, ?)", {QString::number(++n), title});
    const SqlCondition c = SqlMatch::match("书籍名称", typed, partial);
    QSqlQuery q(t.db());
    QVERIFY(q.prepare("select 书籍名称 from bookInfo where " + c.sql + " order by rowid"));
    q.bindValue(0, c.value);
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
    QVERIFY(q.exec("select group_concat(类别代码, '') from (select 类别代码 from bookType order by rowid)") && q.next());
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
    QCOMPARE(indexes, 2);
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
    QTest::newRow("our id, table missing") << "missing-table" << QString::fromUtf8("缺少数据表 readerInfo");
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
        runOn(path, {"create table customers (id integer, name text)", "insert into customers values (1, 'x')"});
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
    TestApp t;
    const QString path = DatabaseFile::pathIn(t.appDir());
    writeFile(path, "this is not a library\n");
    const QByteArray before = fileHash(path);
    QVERIFY(!t.start());
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::DatabaseRefused);
    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(t.prompter().shown().first().prompt.title, kAppTitle);
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
        fill << QStringLiteral("insert into readerInfo values ('R%1', '读者%1', '男', '', '')").arg(i);
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
    TestApp t;
    QVERIFY(t.start());
    const QString marker = DatabaseFile::markerPath(DatabaseFile::pathIn(t.appDir()));
    QVERIFY(QFileInfo::exists(marker));
    t.app().end(Application::Ending::ExitCommand);
    QVERIFY(!QFileInfo::exists(marker));
}

void DataTest::gridSourceCountsEveryRow()
{
    TestApp t;
    QSqlDatabase db = t.db();
    db.transaction();
    for (int i = 0; i < 700; ++i)
        t.exec("insert into readerInfo (读者编号) values (?)", {QString::number(i)});
    db.commit();
    GridSource source(DatabaseFile::pathIn(t.appDir()), "grid-count");
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
    GridSource source(DatabaseFile::pathIn(t.appDir()), "grid-bind");
    const SqlCondition c = SqlMatch::exact("读者姓名", "O'Neil");
    QVERIFY(source.run("select 读者编号 from readerInfo where " + c.sql, {c.value}));
    QCOMPARE(source.rowCount(), 1);
    QCOMPARE(source.model()->data(source.model()->index(0, 0)).toString(), QStringLiteral("001"));
    QVERIFY(!source.run("select nonsense from nowhere"));
    QVERIFY(!source.lastError().isEmpty());
    QCOMPARE(source.rowCount(), 0);
}

QTEST_MAIN(DataTest)
#include "tst_data.moc"
