#include "AbsentServer.h"
#include "CliRun.h"
#include "PdfText.h"
#include "TestApp.h"
#include "TestMain.h"
#include "data/LibraryLocation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using lendora::testkit::AbsentServer;
using lendora::testkit::TestApp;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Three readers on 2026-12-06: 003 one book 36 days over, 002 two books, 004 a book of a
// category without a loan period (no figures), 001 a book not due yet.
void seed(TestApp &t)
{
    t.db();
    const struct {
        const char *id, *name, *dept;
    } readers[] = {{"001", "张伟", "中文系"},
                   {"002", "=HYPERLINK(\"x\")", "物理系"},
                   {"003", "王芳, \"小芳\"", "中文系"},
                   {"004", "赵强", "物理系"}};
    for (const auto &r : readers)
        t.exec("insert into readerInfo values (?,?,'女','138',?)", {r.id, r.name, r.dept});
    t.exec("update bookType set 借出天数=null where 类别代码='Z'");
    const struct {
        const char *book, *category, *reader, *lent;
    } loans[] = {{"B1", "I", "001", "2026-11-20"},
                 {"B2", "I", "002", "2026-10-26"},
                 {"B3", "I", "002", "2026-11-05"},
                 {"B4", "I", "003", "2026-10-01"},
                 {"B5", "Z", "004", "2026-12-01"}};
    for (const auto &l : loans) {
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 是否借出) values (?,?,?,1)",
               {l.book, QString("书") + l.book, l.category});
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期) values (?,?,?)",
               {l.reader, l.book, l.lent});
    }
}

// The window's columns, 说明 last.
const QStringList kCsvLines = {
    "读者编号,读者姓名,联系电话,所在部门,书籍编号,书籍名称,借书日期,应还日期,超出天数,应交罚款,"
    "说明",
    "003,\"王芳, \"\"小芳\"\"\",138,中文系,B4,书B4,2026-10-01,2026-10-31,36,3.6,",
    "002,\"'=HYPERLINK(\"\"x\"\")\",138,物理系,B2,书B2,2026-10-26,2026-11-25,11,1.1,",
    "002,\"'=HYPERLINK(\"\"x\"\")\",138,物理系,B3,书B3,2026-11-05,2026-12-05,1,0.1,",
    "004,赵强,138,物理系,B5,书B5,2026-12-01,,,,该书类别没有设定有效的借出天数",
    "",
};

// Rows whose key order differs from their insertion order and from number order, a guarded
// cell, a lent and an unlent book, and a fine that is not exact in binary.
void seedTables(TestApp &t)
{
    t.db();
    t.exec("insert into bookInfo values ('B2','史记','K','中华书局','司马迁','125','3322',"
           "'2026-03-05',1)");
    t.exec("insert into bookInfo values ('00123','=cmd','I',null,null,null,null,null,0)");
    t.exec("insert into bookInfo values ('B10','围城, 新版','I','','','39','','2026-04-18',0)");
    t.exec("insert into readerInfo values ('R2','李四','女','138','物理系')");
    t.exec("insert into readerInfo values ('R10','张三','男','-','中文系')");
    t.exec("delete from bookType");
    t.exec("insert into bookType values ('Z','综合性图书',30)");
    t.exec("insert into bookType values ('A','马列主义',null)");
    t.exec("insert into lentInfo values ('R2','B2','2026-11-05',null,null,null)");
    t.exec("insert into lentInfo values ('R10','B10','2026-10-01','2026-10-20',0,?)", {0.1 + 0.2});
    t.exec("insert into lentInfo values ('R2','00123','2026-11-05','2026-11-06',1,0.1)");
}

// The lines the tool wrote on stderr, without what Qt says of a session without a runtime
// folder (a scheduled job's, or root's here) as the tool starts.
QStringList ownLines(const QString &err)
{
    QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.startsWith("QStandardPaths: "); });
    return lines;
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void csv_data();
    void csv();
    void rowsGoneSince_data();
    void rowsGoneSince();
    void pdf();
    void refused_data();
    void refused();
    void exportTables_data();
    void exportTables();
    void exportEncodings_data();
    void exportEncodings();
    void language_data();
    void language();
    void aServerThatStaysAway_data();
    void aServerThatStaysAway();
    void exportWhileAnotherProgramWrites();
};

void CliTest::csv_data()
{
    QTest::addColumn<QStringList>("arguments");  // "FILE" stands for a file in the folder
    QTest::newRow("to a file") << QStringList{"overdue", "--as-of", "2026-12-06", "--csv", "FILE"};
    QTest::newRow("to stdout, asked") << QStringList{"overdue", "--as-of=2026-12-06", "--csv", "-"};
    QTest::newRow("to stdout, by default") << QStringList{"overdue", "--as-of", "2026-12-06"};
}

void CliTest::csv()
{
    QFETCH(QStringList, arguments);
    TestApp t;
    seed(t);
    const QString file = t.appDir() + "/逾期 清单.csv";
    arguments.replaceInStrings(QRegularExpression("^FILE$"), file);
    const Result result = cli(t.appDir(), arguments);
    QVERIFY2(result.status == 0, qPrintable(result.err));
    const QByteArray bytes = arguments.contains(file) ? readAll(file) : result.out;
    if (arguments.contains(file)) {
        QVERIFY(result.out.isEmpty());
        QVERIFY(!QFile::exists(file + ".part"));
    }
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!bytes.mid(3).replace("\r\n", "").contains('\n'));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)).split("\r\n"), kCsvLines);
}

void CliTest::rowsGoneSince_data()
{
    QTest::addColumn<QString>("deletion");   // run on the seeded library; "" nothing
    QTest::addColumn<QStringList>("lines");  // the CSV's rows after its headings
    const QString b4 =
        "003,\"王芳, \"\"小芳\"\"\",138,中文系,B4,书B4,2026-10-01,2026-10-31,36,3.6,";
    const QStringList b2b3{
        "002,\"'=HYPERLINK(\"\"x\"\")\",138,物理系,B2,书B2,2026-10-26,2026-11-25,11,1.1,",
        "002,\"'=HYPERLINK(\"\"x\"\")\",138,物理系,B3,书B3,2026-11-05,2026-12-05,1,0.1,"};
    const QString b5 = "004,赵强,138,物理系,B5,书B5,2026-12-01,,,,";
    QTest::newRow("all present") << ""
                                 << QStringList{b4} + b2b3
                                        + QStringList{b5 + "该书类别没有设定有效的借出天数"};
    // Its loan period went with it: listed with the unknown figures, after the others.
    QTest::newRow("book deleted")
        << "delete from bookInfo where 书籍编号='B4'"
        << b2b3
               + QStringList{
                   "003,\"王芳, \"\"小芳\"\"\",138,中文系,B4,,2026-10-01,,,,该书已从书库删除",
                   b5 + "该书类别没有设定有效的借出天数"};
    QTest::newRow("category deleted")
        << "delete from bookType where 类别代码='Z'"
        << QStringList{b4} + b2b3 + QStringList{b5 + "该书的类别已删除"};
    // The figures do not need the reader: still charged.
    QTest::newRow("reader deleted")
        << "delete from readerInfo where 读者编号='003'"
        << QStringList{"003,,,,B4,书B4,2026-10-01,2026-10-31,36,3.6,该读者已删除"} + b2b3
               + QStringList{b5 + "该书类别没有设定有效的借出天数"};
}

// The loans whose rows were deleted since are listed by lendora-cli exactly as the window
// exports them.
void CliTest::rowsGoneSince()
{
    QFETCH(QString, deletion);
    QFETCH(QStringList, lines);
    TestApp t(QDate(2026, 12, 6));
    seed(t);
    if (!deletion.isEmpty())
        t.exec(deletion);
    const Result result = cli(t.appDir(), {"overdue", "--as-of", "2026-12-06"});
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QCOMPARE(QString::fromUtf8(result.out.mid(3)).split("\r\n"),
             QStringList{kCsvLines.first()} + lines + QStringList{""});

    t.login();
    if (QWidget *tips = t.window("FrmHelp"))
        tips->close();
    t.trigger("mnuOverdue");
    const QString exported = t.appDir() + "/window.csv";
    t.files().answerSave(exported);
    t.click("FrmOverdue", "cmdExport");
    QCOMPARE(readAll(exported), result.out);
}

void CliTest::pdf()
{
    TestApp t;
    seed(t);
    QFile settings(t.appDir() + "/setting.ini");
    QVERIFY(settings.open(QIODevice::Append));
    settings.write("\r\nLibraryName=城东图书馆\r\n");
    settings.close();
    const QString pdf = t.appDir() + "/notices.pdf";
    const QString csv = t.appDir() + "/list.csv";
    const Result result =
        cli(t.appDir(), {"overdue", "--as-of", "2026-12-06", "--pdf", pdf, "--csv", csv});
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QCOMPARE(QString::fromUtf8(readAll(csv).mid(3)).split("\r\n"), kCsvLines);
    // Readers by number; 004's only loan has no figures, 001's is not due.
    const QStringList pages = lendora::testkit::pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    const QStringList expected[] = {{"读者编号:002", "B2", "B3", "罚款合计 1.2 元"},
                                    {"读者编号:003", "王芳, \"小芳\"", "B4", "罚款合计 3.6 元"}};
    for (int i = 0; i < 2; ++i) {
        for (const QString &shown : expected[i] + QStringList{"城东图书馆", "截至 2026-12-06"})
            QVERIFY2(pages.at(i).contains(shown), qPrintable(shown + " not on\n" + pages.at(i)));
    }
}

void CliTest::refused_data()
{
    QTest::addColumn<QString>("setup");  // "" a library; "none" no library; "junk" not one
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");  // part of stderr

    const QStringList overdue{"overdue", "--as-of", "2026-12-06"};
    QTest::newRow("no such day") << "" << QStringList{"overdue", "--as-of", "2026-02-30"} << 2
                                 << "日期无效: 2026-02-30";
    QTest::newRow("not yyyy-MM-dd")
        << "" << QStringList{"overdue", "--as-of", "6/12/2026"} << 2 << "日期无效";
    QTest::newRow("an unknown command")
        << "" << QStringList{"frobnicate"} << 2 << "未知的命令: frobnicate";
    QTest::newRow("an unknown option")
        << "" << overdue + QStringList{"--xls", "a"} << 2 << "未知的选项: --xls";
    QTest::newRow("a file name missing")
        << "" << overdue + QStringList{"--pdf"} << 2 << "选项 --pdf 缺少值";
    QTest::newRow("no library") << "none" << overdue << 3 << "找不到数据库文件";
    QTest::newRow("not a library") << "junk" << overdue << 1 << "";
    QTest::newRow("a PDF in a folder that does not exist")
        << "" << overdue + QStringList{"--pdf", "APPDIR/no/such/notices.pdf"} << 1
        << "无法写入文件";
    QTest::newRow("a PDF where a folder is")
        << "" << overdue + QStringList{"--pdf", "APPDIR/mdb"} << 1 << "无法写入文件";
    QTest::newRow("a CSV beside a PDF it cannot write")
        << "" << overdue + QStringList{"--csv", "APPDIR/list.csv", "--pdf", "APPDIR/no/n.pdf"} << 1
        << "无法写入文件";

    QTest::newRow("export: no table") << "" << QStringList{"export"} << 2 << "缺少表名";
    QTest::newRow("export: no such table")
        << "" << QStringList{"export", "shelves", "APPDIR/s.csv"} << 2 << "没有这张表: shelves";
    QTest::newRow("export: no file") << "" << QStringList{"export", "books"} << 2 << "缺少文件名";
    QTest::newRow("export: two files")
        << "" << QStringList{"export", "books", "APPDIR/a.csv", "APPDIR/b.csv"} << 2
        << "多余的参数";
    QTest::newRow("export: an unknown encoding")
        << "" << QStringList{"export", "books", "-", "--encoding", "big5"} << 2 << "编码无效: big5";
    QTest::newRow("export: an encoding for a workbook")
        << "" << QStringList{"export", "books", "APPDIR/b.xlsx", "--encoding=gb18030"} << 2
        << "--encoding 只用于 CSV 文件";
    QTest::newRow("export: no library")
        << "none" << QStringList{"export", "books", "APPDIR/b.csv"} << 3 << "找不到数据库文件";
    QTest::newRow("export: not a library")
        << "junk" << QStringList{"export", "loans", "-"} << 1 << "";
    QTest::newRow("export: a folder that does not exist")
        << "" << QStringList{"export", "readers", "APPDIR/no/r.csv"} << 1 << "无法写入文件";
    QTest::newRow("export: where a folder is")
        << "" << QStringList{"export", "readers", "APPDIR/mdb", "--encoding", "gb18030"} << 1
        << "无法写入文件";
}

void CliTest::refused()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);

    TestApp t;
    const QString library = t.appDir() + "/mdb/Lendora.mdb";
    if (setup.isEmpty())
        seed(t);
    QByteArray junk(8192, 'x');
    if (setup == "junk") {
        QVERIFY(QDir().mkpath(t.appDir() + "/mdb"));
        QFile file(library);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(junk);
    }
    arguments.replaceInStrings("APPDIR", t.appDir());
    const QStringList before = QDir(t.appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const Result result = cli(t.appDir(), arguments);
    QCOMPARE(result.status, status);
    QVERIFY2(result.err.contains(said) && !result.err.trimmed().isEmpty(), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    if (status == 2)
        QVERIFY2(result.err.contains("用法: lendora-cli"), qPrintable(result.err));
    // Nothing written: no file beside the library, no library made, a strange file untouched.
    QCOMPARE(QDir(t.appDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(QFile::exists(library), setup != "none");
    if (setup == "junk")
        QCOMPARE(readAll(library), junk);
}

void CliTest::exportTables_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("lines");  // after the mark, with the empty one at the end
    QTest::newRow("books by number, lent as 是/否")
        << "books"
        << QStringList{
               "书籍编号,书籍名称,类别代码,出版社,作者姓名,书籍价格,书籍页码,登记日期,是否借出",
               "00123,'=cmd,I,,,,,,否", "B10,\"围城, 新版\",I,,,39,,2026-04-18,否",
               "B2,史记,K,中华书局,司马迁,125,3322,2026-03-05,是", ""};
    QTest::newRow("readers by number")
        << "readers"
        << QStringList{"读者编号,读者姓名,读者性别,联系电话,所在部门", "R10,张三,男,'-,中文系",
                       "R2,李四,女,138,物理系", ""};
    QTest::newRow("categories by code")
        << "categories"
        << QStringList{"类别代码,书籍类别,借出天数", "A,马列主义,", "Z,综合性图书,30", ""};
    QTest::newRow("loans by date, then book")
        << "loans"
        << QStringList{"读者编号,书籍编号,借书日期,还书日期,超出天数,罚款金额",
                       "R10,B10,2026-10-01,2026-10-20,0,0.3",
                       "R2,00123,2026-11-05,2026-11-06,1,0.1", "R2,B2,2026-11-05,,,", ""};
}

void CliTest::exportTables()
{
    QFETCH(QString, table);
    QFETCH(QStringList, lines);
    TestApp t;
    seedTables(t);
    const Result result = cli(t.appDir(), {"export", table, "-"});
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QVERIFY(result.out.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(result.out.mid(3)).split("\r\n"), lines);
}

void CliTest::exportEncodings_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("name");
    QTest::newRow("utf-8, by default") << QStringList{} << "图书.csv";
    QTest::newRow("utf-8, asked") << QStringList{"--encoding", "UTF-8"} << "图书.csv";
    QTest::newRow("gb18030") << QStringList{"--encoding", "gb18030"} << "图书.csv";
    QTest::newRow("a workbook") << QStringList{} << "图书.xlsx";
}

void CliTest::exportEncodings()
{
    QFETCH(QStringList, options);
    QFETCH(QString, name);
    TestApp t;
    seedTables(t);
    const QString file = t.appDir() + "/" + name;
    const Result result = cli(t.appDir(), QStringList{"export", "books", file} + options);
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(!QFile::exists(file + ".part"));
    const QByteArray bytes = readAll(file);
    const QString expected =
        "书籍编号,书籍名称,类别代码,出版社,作者姓名,书籍价格,书籍页码,登记日期,"
        "是否借出\r\n"
        "00123,'=cmd,I,,,,,,否\r\n"
        "B10,\"围城, 新版\",I,,,39,,2026-04-18,否\r\n"
        "B2,史记,K,中华书局,司马迁,125,3322,2026-03-05,是\r\n";
    if (name.endsWith(".xlsx")) {
        QVERIFY(bytes.startsWith("PK"));
        QProcess unzip;
        unzip.start("unzip", {"-p", file, "xl/worksheets/sheet1.xml"});
        QVERIFY(unzip.waitForFinished(60000));
        const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
        QVERIFY2(sheet.contains("<c r=\"A2\" s=\"2\" t=\"inlineStr\"><is><t>00123</t></is></c>"),
                 qPrintable(sheet));
        QVERIFY(sheet.contains("<t>=cmd</t>"));
        QVERIFY(sheet.contains("<c r=\"I4\" s=\"2\" t=\"inlineStr\"><is><t>是</t></is></c>"));
    } else if (options.contains("gb18030")) {
        QStringDecoder gb("GB18030");
        const QString text = gb.decode(bytes);
        QCOMPARE(text, expected);
        QVERIFY(!gb.hasError());
    } else {
        QCOMPARE(bytes, "\xEF\xBB\xBF" + expected.toUtf8());
    }
}

void CliTest::language_data()
{
    QTest::addColumn<QByteArray>("settings");  // setting.ini in the --app-dir folder
    QTest::addColumn<QString>("locale");       // LC_ALL
    QTest::addColumn<bool>("english");

    QTest::newRow("no key, C locale") << QByteArray("LoadStyle=1\r\n") << "C.UTF-8" << false;
    QTest::newRow("no file, English system") << QByteArray() << "en_US.UTF-8" << true;
    QTest::newRow("no key, Chinese system") << QByteArray() << "zh_CN.UTF-8" << false;
    QTest::newRow("Language=en, C locale") << QByteArray("Language=en\r\n") << "C.UTF-8" << true;
    QTest::newRow("Language=zh_CN, English system")
        << QByteArray("LoadStyle=2\r\nLanguage=zh_CN\r\n") << "en_GB.UTF-8" << false;
}

void CliTest::language()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, locale);
    QFETCH(bool, english);

    QTemporaryDir dir;
    if (!settings.isEmpty()) {
        QFile file(dir.filePath("setting.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
    }
    QProcess tool;
    prepareCli(tool, dir.path(), {"--help"});
    QProcessEnvironment environment = tool.processEnvironment();
    environment.remove("LC_MESSAGES");
    environment.remove("LANG");
    environment.insert("LC_ALL", locale);
    tool.setProcessEnvironment(environment);
    tool.start();
    QVERIFY(tool.waitForFinished(120000));
    QCOMPARE(tool.exitCode(), 0);
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    QCOMPARE(out.startsWith(QString::fromUtf8("用法: lendora-cli")), !english);
    // The usage's own line in the language chosen (the summaries name the columns as stored).
    const QString first = out.section('\n', 0, 0);
    const auto chinese = [](QChar c) { return c.unicode() >= 0x3000; };
    QCOMPARE(std::none_of(first.begin(), first.end(), chinese), english);
    QVERIFY2(!first.isEmpty(), qPrintable(out));
}

void CliTest::aServerThatStaysAway_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<bool>("fromSettings");  // the server named in setting.ini, not --database
    const int refuses = int(AbsentServer::Kind::Refuses);
    const int silent = int(AbsentServer::Kind::NeverAnswers);
    const QStringList exportReaders{"export", "readers", "-"};
    const QStringList check{"check"};
    QTest::newRow("export, refused") << refuses << exportReaders << false;
    QTest::newRow("export, never answered") << silent << exportReaders << false;
    QTest::newRow("check, refused") << refuses << check << true;
    QTest::newRow("check, never answered") << silent << check << false;
}

void CliTest::aServerThatStaysAway()
{
    QFETCH(int, kind);
    QFETCH(QStringList, command);
    QFETCH(bool, fromSettings);
    const AbsentServer server{AbsentServer::Kind(kind)};
    QVERIFY(server.isReady());
    QTemporaryDir dir;
    if (fromSettings) {
        QFile settings(dir.filePath("setting.ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("Database=" + server.url().toUtf8() + "\r\n");
    }
    const Result result =
        cli(dir.path(),
            (fromSettings ? QStringList() : QStringList{"--database", server.url()}) + command);
    QCOMPARE(result.status, 3);
    QVERIFY(result.out.isEmpty());
    // One line naming the server, the driver's words in it.
    const QStringList lines = ownLines(result.err);
    QVERIFY2(lines.size() == 1, qPrintable(result.err));
    const QString said = "lendora-cli: 无法打开数据库 " + server.url() + ": ";
    QVERIFY2(lines.first().startsWith(said) && lines.first().size() > said.size(),
             qPrintable(result.err));
}

void CliTest::exportWhileAnotherProgramWrites()
{
    if (TestApp::onServer())
        QSKIP("the file's lock");
    TestApp t;
    seedTables(t);
    t.db().close();
    const QString holder = "another-writer";
    {
        // A program that keeps the whole file to itself while it writes.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", holder);
        db.setDatabaseName(lendora::LibraryLocation::fileIn(t.appDir()));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("PRAGMA locking_mode=EXCLUSIVE"));
        QVERIFY2(q.exec("BEGIN EXCLUSIVE"), qPrintable(q.lastError().text()));
        QVERIFY2(q.exec("insert into readerInfo (读者编号) values ('R99')"),
                 qPrintable(q.lastError().text()));

        const Result busy = cli(t.appDir(), {"export", "readers", "-"});
        QCOMPARE(busy.status, 3);
        QVERIFY(busy.out.isEmpty());
        const QStringList lines = ownLines(busy.err);
        QVERIFY2(lines.size() == 1
                     && lines.first().startsWith("lendora-cli: 数据库正忙,请稍后再试: "),
                 qPrintable(busy.err));
        QVERIFY(q.exec("ROLLBACK"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(holder);
    // Once the other program is done, the same command goes through.
    const Result done = cli(t.appDir(), {"export", "readers", "-"});
    QVERIFY2(done.status == 0, qPrintable(done.err));
    QVERIFY(QString::fromUtf8(done.out).contains("R10,张三"));
}

LENDORA_TEST_CLASS(CliTest)
#include "tst_cli.moc"
