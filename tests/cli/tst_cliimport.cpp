#include "CliRun.h"
#include "TestApp.h"
#include "TestMain.h"
#include "base/SheetFile.h"
#include "data/sqlite/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using lendora::DatabaseFile;
using lendora::testkit::TestApp;

namespace {

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kGoodBooks = "书籍编号,书籍名称,类别代码\r\nB1,红楼梦,I\r\nB2,三国演义,K\r\n";

// The rows as the desk's .xlsx export writes them.
QByteArray workbook(const QList<QStringList> &rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("books.xlsx");
    const auto sheet = lendora::SheetFile::toFile(path, lendora::SheetFile::Format::Xlsx);
    for (const QStringList &row : rows)
        sheet->addRow(row);
    return sheet->finish() ? readAll(path) : QByteArray();
}

}  // namespace

class CliImportTest : public QObject {
    Q_OBJECT

private slots:
    void statuses_data();
    void statuses();
    void busyLibrary();
    void besideARunningDesk();
    void withoutADesk();
};

void CliImportTest::statuses_data()
{
    QTest::addColumn<QStringList>("arguments");  // FILE stands for the file below
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("booksAfter");
    QTest::addColumn<QString>("says");  // on stdout for 0, on stderr otherwise
    QTest::newRow("done") << QStringList{"import", "books", "FILE"} << kGoodBooks << 0 << 3
                          << "导入完毕,共添加 2 本图书。";
    // Read as a workbook by its content, whatever the file is called.
    QTest::newRow("a workbook") << QStringList{"import", "books", "FILE"}
                                << workbook({{"书籍编号", "书籍名称", "类别代码"},
                                             {"B1", "红楼梦", "I"},
                                             {"B2", "三国演义", "K"}})
                                << 0 << 3 << "导入完毕,共添加 2 本图书。";
    QTest::newRow("readers") << QStringList{"import", "readers", "FILE"}
                             << QByteArray("读者编号,读者姓名\r\n002,李雷\r\n") << 0 << 1
                             << "共添加 1 位读者";
    QTest::newRow("dry run writes nothing") << QStringList{"import", "books", "FILE", "--dry-run"}
                                            << kGoodBooks << 0 << 1 << "检查完毕,可以导入 2 行";
    QTest::newRow("number held already")
        << QStringList{"import", "books", "FILE"}
        << QByteArray("书籍编号,类别代码\r\nB1,I\r\nB0,I\r\nB2,W\r\n") << 1 << 1
        << "lendora-cli: 第 3 行 书籍编号: 数据库中已有编号“B0”\nlendora-cli: 第 4 行 类别代码";
    QTest::newRow("skipped when asked")
        << QStringList{"import", "books", "FILE", "--skip-existing"}
        << QByteArray("书籍编号,类别代码\r\nB1,I\r\nB0,I\r\n") << 0 << 2 << "已跳过";
    QTest::newRow("refused on a dry run too")
        << QStringList{"import", "books", "FILE", "--dry-run"}
        << QByteArray("书籍编号,类别代码\r\nB1,\"I\r\n") << 1 << 1 << "第 2 行的引号没有闭合";
    QTest::newRow("no such file") << QStringList{"import", "books", "/nonexistent/x.csv"}
                                  << QByteArray() << 1 << 1 << "无法读取文件";
    QTest::newRow("binary file") << QStringList{"import", "books", "FILE"}
                                 << QByteArray("\x7f"
                                               "ELF\x02\x01\x01\x00",
                                               8)
                                 << 1 << 1 << "不是文本文件";
    QTest::newRow("what to import")
        << QStringList{"import", "things", "FILE"} << kGoodBooks << 2 << 1 << "books";
    QTest::newRow("no file named")
        << QStringList{"import", "books"} << kGoodBooks << 2 << 1 << "缺少要导入的文件名";
    QTest::newRow("unknown option")
        << QStringList{"import", "books", "FILE", "--force"} << kGoodBooks << 2 << 1 << "--force";
}

void CliImportTest::statuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, file);
    QFETCH(int, status);
    QFETCH(int, booksAfter);
    QFETCH(QString, says);
    TestApp t;
    t.exec("insert into bookInfo (书籍编号, 类别代码) values ('B0', 'I')");
    const QString path = writeFile(t.appDir() + "/in.csv", file);
    arguments.replaceInStrings(QRegularExpression("^FILE$"), path);
    const Result result = cli(t.appDir(), arguments);
    QCOMPARE(result.status, status);
    const QString text = status == 0 ? QString::fromUtf8(result.out) : result.err;
    QVERIFY2(text.contains(says), qPrintable(text));
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), booksAfter);
}

void CliImportTest::busyLibrary()
{
    TestApp t;
    const QString path = writeFile(t.appDir() + "/in.csv", kGoodBooks);
    {
        // No library at all: nothing is created.
        QTemporaryDir empty;
        const Result none = cli(empty.path(), {"import", "books", path});
        QCOMPARE(none.status, 3);
        QVERIFY(!QFile::exists(DatabaseFile::pathIn(empty.path())));
    }
    // Another writer holds the library longer than the tool waits.
    QSqlQuery writer(t.db());
    QVERIFY(writer.exec("begin immediate"));
    const Result busy = cli(t.appDir(), {"import", "books", path});
    QVERIFY(writer.exec("rollback"));
    QCOMPARE(busy.status, 3);
    QVERIFY2(!busy.err.isEmpty(), "a busy library is said on stderr");
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 0);
}

// The desk's start-up marker records the file as the desk last changed it; the import beside
// it neither rewrites the marker nor checkpoints, so the file stays as the marker says.
void CliImportTest::besideARunningDesk()
{
    TestApp t;
    t.login();
    const QString library = DatabaseFile::pathIn(t.appDir());
    const QString marker = DatabaseFile::markerPath(library);
    const QByteArray markerBefore = readAll(marker);
    QVERIFY(!markerBefore.isEmpty());
    const auto fileBefore = DatabaseFile::identityOf(library);
    QVERIFY(fileBefore);

    const QString path = writeFile(t.appDir() + "/in.csv", kGoodBooks);
    const Result result = cli(t.appDir(), {"import", "books", path});
    QCOMPARE(result.status, 0);
    QCOMPARE(readAll(marker), markerBefore);
    QCOMPARE(DatabaseFile::identityOf(library), fileBefore);
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 2);
    QVERIFY(!t.ended());
}

void CliImportTest::withoutADesk()
{
    TestApp t;
    t.db();
    const QString library = DatabaseFile::pathIn(t.appDir());
    const QString path = writeFile(t.appDir() + "/in.csv", kGoodBooks);
    const Result result = cli(t.appDir(), {"import", "books", path});
    QCOMPARE(result.status, 0);
    // Opened and closed as the desk does: no marker left, so the next start is a clean one.
    QVERIFY(!QFile::exists(DatabaseFile::markerPath(library)));
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 2);
    // And the desk starts as usual afterwards.
    QVERIFY(t.start());
    QVERIFY(!t.ended());
}

LENDORA_TEST_CLASS(CliImportTest)
#include "tst_cliimport.moc"
