#include "TestMain.h"
#include "base/Csv.h"
#include "base/SheetFile.h"
#include "core/exchange/Import.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using namespace lendora;

namespace {

// A fresh library with one book (B0, category I) and one reader (001).
struct Library {
    QTemporaryDir dir;
    SharedDatabase database{QStringLiteral("import-test")};

    Library()
    {
        QString problem;
        QDir().mkpath(dir.filePath("mdb"));
        if (!database.open(DatabaseFile::pathIn(dir.path()), &problem))
            qFatal("%s", qPrintable(problem));
        QSqlQuery q(database.db());
        q.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values ('B0', '旧书', 'I')");
        q.exec("insert into readerInfo values ('001', '张伟', '男', '', '')");
    }
    // Every row of the table, key first, as text; NULL as "<null>".
    QList<QStringList> rows(const QString &table)
    {
        QList<QStringList> all;
        QSqlQuery q(database.db());
        q.exec("select * from " + table + " order by 1");
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            all << row;
        }
        return all;
    }
    // The row count through the title index, which only the triggers keep.
    int titleMatches(const QString &text)
    {
        QSqlQuery q(database.db());
        q.prepare("select count(*) from bookTitleTrigrams where bookTitleTrigrams match ?");
        q.addBindValue('"' + text + '"');
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
};

Import::Outcome importText(Library &library, Import::Kind kind, const QString &text,
                           bool skipExisting = false)
{
    Import::Options options;
    options.kind = kind;
    options.skipExisting = skipExisting;
    return Import(library.database).run(Csv::read(text.toUtf8()), options);
}

const QString kBookHeader = "书籍编号,书籍名称,类别代码,出版社,作者姓名,书籍价格,书籍页码,登记日期";

}  // namespace

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void rejects_data();
    void rejects();
    void dates_data();
    void dates();
    void skipExisting();
    void mappingChosenByTheCaller();
    void badFiles_data();
    void badFiles();
    void oneBadRowAtTheEndOfManyWritesNothing();
    void anotherFilesApostropheIsKept();
    void categoryCodeOfOneCharacter();
};

// What the desk exports comes back as it was: every text exactly, the text indexes kept.
void ImportTest::roundTrip_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<bool>("workbook");  // exported to .xlsx, not CSV
    const QString hostile = "=HYPERLINK(\"x\"), 'a'\r\n-1\t@b";
    const QList<QStringList> books = {
        {"B1", "红楼梦", "I", "人民文学", "曹雪芹", "59.7", "1606", "2026-12-08"},
        {"B2", hostile, "K", "+86 出版", "'", "-3", "@", ""},
        {"'B3", "\r\nline", "I", "", "\t", "", "", "2000-02-29"},
        {"B4", "'单引号", "I", "'+", "''", "'-1", "''@", ""},
        {"00123", " 前后空格 ", "I", "_x0041_", "a_b", "1e5", "0012", ""},
    };
    // Written several hundred rows to a statement: two full ones and a row over.
    QList<QStringList> many;
    for (int i = 0; i < 401; ++i)
        many << QStringList{
            QStringLiteral("M%1").arg(i), i == 400 ? "红楼梦" : "书", "I", "", "", "", "", ""};
    const QList<QStringList> readers = {
        {"002", "=1+1", "女", "+8613", hostile},
        {"'3", "欧阳明", "", "", ""},
        {"-4", "", "男", "@", "\r"},
    };
    for (const bool workbook : {false, true}) {
        const char *format = workbook ? ".xlsx" : "CSV";
        QTest::addRow("books, %s", format) << int(Import::Kind::Books) << books << workbook;
        QTest::addRow("books, many, %s", format) << int(Import::Kind::Books) << many << workbook;
        QTest::addRow("readers, %s", format) << int(Import::Kind::Readers) << readers << workbook;
    }
}

void ImportTest::roundTrip()
{
    QFETCH(int, kind);
    QFETCH(QList<QStringList>, rows);
    QFETCH(bool, workbook);
    Library library;
    const auto k = Import::Kind(kind);
    const QString table = k == Import::Kind::Books ? "bookInfo" : "readerInfo";
    const QList<QStringList> before = library.rows(table);
    // Exported as the desk exports, then read back as the import reads any file.
    const QString path = library.dir.filePath(workbook ? "export.xlsx" : "export.csv");
    const auto sheet =
        SheetFile::toFile(path, workbook ? SheetFile::Format::Xlsx : SheetFile::Format::CsvUtf8);
    sheet->addRow(Import::fields(k));
    for (const QStringList &row : rows)
        sheet->addRow(row);
    QVERIFY2(sheet->finish(), qPrintable(sheet->error()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Csv::Table read = Import::readFile(file.readAll());
    QCOMPARE(read.workbook, workbook);
    Import::Options options;
    options.kind = k;
    const Import::Outcome outcome = Import(library.database).run(read, options);
    QVERIFY2(!outcome.refused(), qPrintable(outcome.message(k)));
    QCOMPARE(outcome.added, rows.size());
    QList<QStringList> expected = before;
    for (QStringList row : rows) {
        if (k == Import::Kind::Books) {
            if (row.last().isEmpty())
                row.last() = "<null>";
            row << "0";  // never on loan
        }
        expected << row;
    }
    std::sort(expected.begin(), expected.end());
    QCOMPARE(library.rows(table), expected);
    if (k == Import::Kind::Books)
        QCOMPARE(library.titleMatches("红楼梦"), 1);
}

void ImportTest::rejects_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    // "line column" of each refused line, in order; column empty for the whole line.
    QTest::addColumn<QStringList>("refused");
    const int books = int(Import::Kind::Books);
    const int readers = int(Import::Kind::Readers);
    const QString h = kBookHeader + "\r\n";
    QTest::newRow("missing number") << books << h + ",无编号,I\r\n" << QStringList{"2 书籍编号"};
    QTest::newRow("number twice in the file") << books << h + "B1,a,I\r\nB2,b,I\r\nB1,c,I\r\n"
                                              << QStringList{"4 书籍编号"};
    QTest::newRow("number the library holds") << books << h + "B1,a,I\r\nB0,b,I\r\n"
                                              << QStringList{"3 书籍编号"};
    QTest::newRow("number differs only by blanks is another number")
        << books << h + "B0 ,a,I\r\nB0,b,I\r\n"
        << QStringList{"3 书籍编号"};
    QTest::newRow("no such category") << books << h + "B1,a,W\r\nB2,b,i\r\n"
                                      << QStringList{"2 类别代码", "3 类别代码"};
    QTest::newRow("no category") << books << h + "B1,a,\r\n" << QStringList{"2 类别代码"};
    QTest::newRow("not a date")
        << books
        << h
               + "B1,a,I,,,,,2026-13-01\r\nB2,a,I,,,,,2026/2/30\r\nB3,a,I,,,,,12/08/2026\r\n"
                 "B4,a,I,,,,,2026-1-5\r\nB5,a,I,,,,,昨天\r\n"
        << QStringList{"2 登记日期", "3 登记日期", "4 登记日期", "5 登记日期", "6 登记日期"};
    QTest::newRow("several faults of one line")
        << books << h + ",a,W,,,,,x\r\n"
        << QStringList{"2 书籍编号", "2 类别代码", "2 登记日期"};
    QTest::newRow("cells past the header") << books << "书籍编号,类别代码\r\nB1,I,x\r\nB2,I,,\r\n"
                                           << QStringList{"2 "};
    QTest::newRow("imported books are never on loan: 是否借出 ignored")
        << books << "书籍编号,类别代码,是否借出\r\nB1,I,1\r\n"
        << QStringList{};
    const QString r = "读者编号,读者姓名,读者性别,联系电话,所在部门\r\n";
    QTest::newRow("reader number over 3 bytes") << readers << r + "1234,a\r\n甲,b\r\n"
                                                << QStringList{"2 读者编号"};
    QTest::newRow("reader name over 8 bytes")
        << readers << r + "002,欧阳小明明\r\n003,欧阳小明\r\n004,abcdefghi\r\n"
        << QStringList{"2 读者姓名", "4 读者姓名"};
    QTest::newRow("sex and phone") << readers << r + "002,a,男女,1234567890123\r\n"
                                   << QStringList{"2 读者性别", "2 联系电话"};
    QTest::newRow("reader the library holds") << readers << r + "001,a\r\n"
                                              << QStringList{"2 读者编号"};
    QTest::newRow("a department has no limit")
        << readers << r + "002,a,,," + QString(200, QChar(0x7cfb)) + "\r\n"
        << QStringList{};
}

void ImportTest::rejects()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(QStringList, refused);
    Library library;
    const auto k = Import::Kind(kind);
    const QString table = k == Import::Kind::Books ? "bookInfo" : "readerInfo";
    const QList<QStringList> before = library.rows(table);
    const Import::Outcome outcome = importText(library, k, file);
    QStringList got;
    for (const Import::Reject &reject : outcome.rejects)
        got << QString::number(reject.line) + " " + reject.column;
    QCOMPARE(got, refused);
    if (refused.isEmpty()) {
        QVERIFY(outcome.written);
        QCOMPARE(library.rows(table).size(), before.size() + 1);
        return;
    }
    // All or nothing: the good lines are not written either, and the clerk reads why.
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.added, 0);
    QCOMPARE(library.rows(table), before);
    const QString message = outcome.message(k);
    QVERIFY(message.startsWith("没有导入任何数据。"));
    QVERIFY2(message.contains(outcome.rejects.first().text()), qPrintable(message));
}

void ImportTest::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ISO") << "2026-12-08"
                         << "2026-12-08";
    QTest::newRow("slashes") << "2026/1/5"
                             << "2026-01-05";
    QTest::newRow("slashes, two digits") << "2026/12/08"
                                         << "2026-12-08";
    QTest::newRow("dots") << "2026.3.9"
                          << "2026-03-09";
    QTest::newRow("Chinese") << "2026年12月8日"
                             << "2026-12-08";
    QTest::newRow("leap day") << "2024年2月29日"
                              << "2024-02-29";
    QTest::newRow("none") << ""
                          << "<null>";
}

void ImportTest::dates()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    Library library;
    const Import::Outcome outcome =
        importText(library, Import::Kind::Books, kBookHeader + "\r\nB1,a,I,,,,," + text + "\r\n");
    QVERIFY2(outcome.written, qPrintable(outcome.message(Import::Kind::Books)));
    QCOMPARE(library.rows("bookInfo").last().at(7), stored);
}

void ImportTest::skipExisting()
{
    Library library;
    const QString file = kBookHeader + "\r\nB0,新书名,K\r\nB1,a,I\r\n";
    const Import::Outcome outcome = importText(library, Import::Kind::Books, file, true);
    QVERIFY(outcome.written);
    QCOMPARE(outcome.added, 1);
    QCOMPARE(outcome.skipped, 1);
    // The book held already keeps its own row.
    QCOMPARE(library.rows("bookInfo").first().at(1), QString("旧书"));
    QCOMPARE(outcome.message(Import::Kind::Books),
             QString("导入完毕,共添加 1 本图书。\n另有 1 行的编号数据库中已有,已跳过。"));
    // A number twice in the file is refused all the same.
    const Import::Outcome twice =
        importText(library, Import::Kind::Books, kBookHeader + "\r\nB7,a,I\r\nB7,a,I\r\n", true);
    QCOMPARE(twice.rejects.size(), 1);
    QCOMPARE(library.rows("bookInfo").size(), 2);
}

void ImportTest::mappingChosenByTheCaller()
{
    Library library;
    // Headings of another program: nothing maps by name, so the number column is missing.
    const Csv::Table table = Csv::read("名称,编号,类\r\n三国演义,B9,I\r\n");
    Import::Options options;
    QVERIFY(Import(library.database).check(table, options).problem.contains("书籍编号"));
    options.mapping = {1, 0, 2, -1, -1, -1, -1, -1};
    const Import::Outcome outcome = Import(library.database).run(table, options);
    QVERIFY(outcome.written);
    QCOMPARE(library.rows("bookInfo").last().mid(0, 4), QStringList({"B9", "三国演义", "I", ""}));
}

void ImportTest::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("no known encoding")
        << QByteArray("书籍编号,类别代码\r\nB1,I\r\n\xff\xfe,I\r\n") << "编码无法识别";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16)
                            << "不是文本文件";
    QTest::newRow("empty") << QByteArray() << "文件是空的";
    QTest::newRow("header only") << QByteArray("书籍编号,类别代码\r\n") << "没有数据";
    QTest::newRow("10 MB on one line") << QByteArray(10 * 1024 * 1024, 'x') << "没有“书籍编号”列";
    QTest::newRow("unclosed quote")
        << QByteArray("书籍编号,类别代码\r\nB1,I\r\n\"B2,I\r\nB3,I\r\n") << "第 3 行的引号没有闭合";
    // A zip archive is read as a workbook, whatever the file is called.
    QTest::newRow("a damaged workbook")
        << QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) << "无法读取这个 .xlsx 工作簿";
}

void ImportTest::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    Library library;
    const QList<QStringList> before = library.rows("bookInfo");
    Import::Options options;
    const Import::Outcome outcome = Import(library.database).run(Import::readFile(bytes), options);
    QVERIFY(outcome.refused());
    const QString message = outcome.message(Import::Kind::Books);
    QVERIFY2(message.contains(says), qPrintable(message));
    QCOMPARE(library.rows("bookInfo"), before);
}

void ImportTest::oneBadRowAtTheEndOfManyWritesNothing()
{
    Library library;
    QList<QStringList> rows;
    for (int i = 1; i <= 100000; ++i)
        rows << QStringList{QString("N%1").arg(i), QString("书名%1").arg(i), "I"};
    rows << QStringList{"N100001", "坏行", "W"};
    Import::Options options;
    const Import::Outcome outcome =
        Import(library.database)
            .run(Csv::read(Csv::write({"书籍编号", "书籍名称", "类别代码"}, rows)), options);
    QCOMPARE(outcome.rejects.size(), 1);
    QCOMPARE(outcome.rejects.first().line, 100002);
    QVERIFY(outcome.message(Import::Kind::Books).contains("第 100002 行 类别代码"));
    QCOMPARE(library.rows("bookInfo").size(), 1);
    QCOMPARE(library.titleMatches("书名1"), 0);
}

// A file the desk did not write keeps its own leading apostrophes; only the export's guard is
// taken off.
void ImportTest::anotherFilesApostropheIsKept()
{
    Library library;
    const Import::Outcome outcome = importText(
        library, Import::Kind::Books, "书籍编号,书籍名称,类别代码,出版社\r\nB1,'单引号,I,'=x\r\n");
    QVERIFY2(outcome.written, qPrintable(outcome.message(Import::Kind::Books)));
    QCOMPARE(library.rows("bookInfo").last().mid(0, 4), QStringList({"B1", "'单引号", "I", "=x"}));
}

// The book windows file a book under the first character of a category: a longer code of the
// library is refused by the import too, naming it, and nothing is written.
void ImportTest::categoryCodeOfOneCharacter()
{
    Library library;
    QSqlQuery q(library.database.db());
    QVERIFY(q.exec("insert into bookType values ('TP', '自动化技术', 30)"));
    const QList<QStringList> before = library.rows("bookInfo");
    const Import::Outcome outcome = importText(
        library, Import::Kind::Books, "书籍编号,书籍名称,类别代码\r\nB1,a,T\r\nB2,b,TP\r\n");
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.rejects.size(), 1);
    QCOMPARE(outcome.rejects.first().line, 3);
    QCOMPARE(outcome.rejects.first().column, QString("类别代码"));
    QCOMPARE(outcome.rejects.first().reason,
             QString("类别代码“TP”不是一个字符,图书只能归入一个字符的类别"));
    QCOMPARE(library.rows("bookInfo"), before);
}

LENDORA_TEST_CLASS(ImportTest)
#include "tst_import.moc"
