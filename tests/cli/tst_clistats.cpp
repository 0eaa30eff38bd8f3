#include "CliRun.h"
#include "TestApp.h"
#include "TestMain.h"
#include "base/DateText.h"
#include "core/query/StatisticsViews.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QtTest>

using lendora::DateText;
using lendora::StatisticsViews;
using lendora::testkit::TestApp;

namespace {

using Files = QMap<QString, QString>;  // file name: its whole text after the mark

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Three categories, loans in October and November 2026 with a deleted book (B9), a deleted
// reader (R3) and a book of a deleted category (B5, never lent); one fine in November.
void seed(TestApp &t)
{
    t.db();
    t.exec("delete from bookType");
    t.exec("insert into bookType values ('I','文学',30), ('K','历史、地理',30), ('T','工业技术',"
           "30)");
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期, 是否借出) values"
           " ('B1','红楼梦','I','2026-01-05',1), ('B2','史记','K','2026-01-05',0),"
           " ('B3','围城, 新版','I','2026-02-01',0), ('B4','算法导论','T','2026-02-01',0),"
           " ('B5','=机械制图','X',null,0)");
    t.exec("insert into readerInfo values ('R1','张伟','男','138','中文系'),"
           " ('R2','李娜','女','139','物理系')");
    t.exec("insert into lentInfo values ('R1','B1','2026-10-03','2026-10-20',0,0),"
           " ('R1','B2','2026-10-15','2026-11-25',10,1.0), ('R2','B1','2026-11-02',null,null,null),"
           " ('R3','B3','2026-11-10','2026-11-12',0,0), ('R2','B9','2026-11-20',null,null,null)");
}

QStringList allFiles()
{
    QStringList names;
    for (const auto kind : StatisticsViews::kinds())
        names << StatisticsViews::fileName(kind) + ".csv";
    names.sort();
    return names;
}

QString rangeLine(const QDate &from, const QDate &to)
{
    return "统计范围: " + StatisticsViews::rangeText(from, to);
}

// Whether `lines` appear in `text` in this order, each a whole line.
bool inOrder(const QStringList &lines, const QString &text, QString *missing)
{
    const QStringList all = text.split('\n');
    qsizetype at = 0;
    for (const QString &line : lines) {
        at = all.indexOf(line, at);
        if (at < 0) {
            *missing = line;
            return false;
        }
        ++at;
    }
    return true;
}

}  // namespace

class CliStatsTest : public QObject {
    Q_OBJECT

private slots:
    void stats_data();
    void stats();
};

void CliStatsTest::stats_data()
{
    QTest::addColumn<QStringList>("arguments");  // DIR: a folder not made yet; APPDIR
    QTest::addColumn<QString>("block");          // a folder made at this path first, or ""
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out");   // lines of stdout, in this order
    QTest::addColumn<QString>("said");      // part of stderr
    QTest::addColumn<QStringList>("left");  // what DIR holds afterwards; {} when DIR is not there
    QTest::addColumn<Files>("files");       // some of them, whole

    const QDate today = QDate::currentDate();
    const auto [yearStart, yearEnd] = StatisticsViews::lastYear(today);
    const QStringList range{"stats", "--from", "2026-09-01", "--to", "2026-11-30"};

    QTest::newRow("summary, the last twelve months by default")
        << QStringList{"stats"} << "" << 0
        << QStringList{rangeLine(yearStart, yearEnd),
                       "",
                       "每月借阅与归还",
                       "月份\t借出册次\t归还册次",
                       "借阅最多的 20 种图书",
                       "从未借出的图书",
                       "书籍编号\t书籍名称\t书籍类别\t登记日期",
                       "B4\t算法导论\t工业技术\t2026-02-01",
                       "B5\t=机械制图\t\t",
                       "共 2 册图书从未借出。",
                       "",
                       "馆藏与在借",
                       "每月罚款"}
        << "" << QStringList{} << Files{};
    QTest::newRow("summary, a range")
        << range << "" << 0
        << QStringList{rangeLine(QDate(2026, 9, 1), QDate(2026, 11, 30)),
                       "",
                       "每月借阅与归还",
                       "月份\t借出册次\t归还册次",
                       "2026-09\t0\t0",
                       "2026-10\t2\t1",
                       "2026-11\t3\t2",
                       "",
                       "借阅最多的 20 种图书",
                       "书籍编号\t书籍名称\t借阅次数",
                       "B1\t红楼梦\t2",
                       "B2\t史记\t1",
                       "B3\t围城, 新版\t1",
                       "B9\t\t1",
                       "",
                       "借阅最多的 20 位读者",
                       "读者编号\t读者姓名\t借阅次数",
                       "R1\t张伟\t2",
                       "R2\t李娜\t2",
                       "R3\t\t1",
                       "",
                       "每月罚款",
                       "2026-11\t1",
                       ""}
        << "" << QStringList{} << Files{};
    QTest::newRow("summary, --from alone runs to today")
        << QStringList{"stats", "--from=2026-10-01"} << "" << 0
        << QStringList{rangeLine(QDate(2026, 10, 1), today)} << "" << QStringList{} << Files{};
    QTest::newRow("summary, --to alone: the twelve months up to it")
        << QStringList{"stats", "--to", "2026-06-30"} << "" << 0
        << QStringList{rangeLine(QDate(2025, 7, 1), QDate(2026, 6, 30)), "2025-07\t0\t0",
                       "2026-06\t0\t0"}
        << "" << QStringList{} << Files{};

    QTest::newRow("files, a folder made")
        << range + QStringList{"--csv", "DIR"} << "" << 0 << QStringList{} << "" << allFiles()
        << Files{
               {"loans-by-month.csv",
                "月份,借出册次,归还册次\r\n2026-09,0,0\r\n2026-10,2,1\r\n2026-11,3,2\r\n"},
               {"top-books.csv", "书籍编号,书籍名称,借阅次数\r\nB1,红楼梦,2\r\nB2,史记,1\r\n"
                                 "B3,\"围城, 新版\",1\r\nB9,,1\r\n"},
               {"never-lent.csv", "书籍编号,书籍名称,书籍类别,登记日期\r\n"
                                  "B4,算法导论,工业技术,2026-02-01\r\nB5,'=机械制图,,\r\n"},
               {"fines-by-month.csv", "月份,罚款金额\r\n2026-09,0\r\n2026-10,0\r\n2026-11,1\r\n"}};
    QTest::newRow("files in gb18030, into a folder already there")
        << range + QStringList{"--csv=DIR", "--encoding", "GB18030"} << "DIR/old" << 0
        << QStringList{} << "" << allFiles() + QStringList{"old"}
        << Files{{"top-readers.csv",
                  "读者编号,读者姓名,借阅次数\r\nR1,张伟,2\r\nR2,李娜,2\r\nR3,,1\r\n"}};

    QTest::newRow("a day that does not exist")
        << QStringList{"stats", "--from", "2026-02-30"} << "" << 2 << QStringList{}
        << "日期无效: 2026-02-30" << QStringList{} << Files{};
    QTest::newRow("a date not yyyy-MM-dd")
        << QStringList{"stats", "--to", "30/11/2026", "--csv", "DIR"} << "" << 2 << QStringList{}
        << "日期无效: 30/11/2026" << QStringList{} << Files{};
    QTest::newRow("from after to")
        << QStringList{"stats", "--from", "2026-12-01", "--to", "2026-11-30"} << "" << 2
        << QStringList{} << "起始日期 2026-12-01 晚于结束日期 2026-11-30" << QStringList{}
        << Files{};
    QTest::newRow("--from after today, alone")
        << QStringList{"stats", "--from", DateText::toText(today.addDays(1))} << "" << 2
        << QStringList{} << "晚于结束日期" << QStringList{} << Files{};
    QTest::newRow("an encoding without files")
        << QStringList{"stats", "--encoding", "gb18030"} << "" << 2 << QStringList{}
        << "--encoding 只用于 --csv" << QStringList{} << Files{};
    QTest::newRow("an unknown encoding")
        << QStringList{"stats", "--csv", "DIR", "--encoding", "big5"} << "" << 2 << QStringList{}
        << "编码无效: big5" << QStringList{} << Files{};
    QTest::newRow("no folder name") << QStringList{"stats", "--csv="} << "" << 2 << QStringList{}
                                    << "选项 --csv 缺少目录名" << QStringList{} << Files{};

    QTest::newRow("a folder under a file")
        << QStringList{"stats", "--csv", "APPDIR/mdb/Lendora.mdb/stats"} << "" << 1 << QStringList{}
        << "/mdb/Lendora.mdb 中写入文件,没有写入任何文件" << QStringList{} << Files{};
    QTest::newRow("a folder where a file should go")
        << range + QStringList{"--csv", "DIR"} << "DIR/top-readers.csv" << 1 << QStringList{}
        << "top-readers.csv,没有写入任何文件" << QStringList{"top-readers.csv"} << Files{};
    QTest::newRow("a work file that cannot be made")
        << range + QStringList{"--csv", "DIR"} << "DIR/never-lent.csv.part" << 1 << QStringList{}
        << "never-lent.csv,没有写入任何文件" << QStringList{"never-lent.csv.part"} << Files{};
}

void CliStatsTest::stats()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, block);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QString, said);
    QFETCH(QStringList, left);
    QFETCH(Files, files);

    TestApp t;
    seed(t);
    const QString dir = t.appDir() + "/统计 2026";
    arguments.replaceInStrings("APPDIR", t.appDir()).replaceInStrings("DIR", dir);
    if (!block.isEmpty())
        QVERIFY(QDir().mkpath(block.replace("DIR", dir)));

    const Result result = cli(t.appDir(), arguments);
    QVERIFY2(result.status == status, qPrintable(result.err));
    QVERIFY2(result.err.contains(said), qPrintable(result.err));
    if (status == 2)
        QVERIFY2(result.err.contains("用法: lendora-cli"), qPrintable(result.err));
    QString missing;
    QVERIFY2(inOrder(out, QString::fromUtf8(result.out), &missing),
             qPrintable(missing + " not in\n" + QString::fromUtf8(result.out)));
    // A summary on success when no folder was asked for; nothing on stdout otherwise.
    QCOMPARE(result.out.isEmpty(), status != 0 || !left.isEmpty());

    // Every file or none, and never a work file.
    left.sort();
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), left);
    QCOMPARE(QFileInfo::exists(dir), !left.isEmpty());
    const bool gb = arguments.contains("GB18030");
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        const QByteArray bytes = readAll(dir + "/" + file.key());
        if (gb) {
            QStringDecoder decoder("GB18030");
            QCOMPARE(QString(decoder.decode(bytes)), file.value());
            QVERIFY(!decoder.hasError());
        } else {
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(QString::fromUtf8(bytes.mid(3)), file.value());
        }
    }
}

LENDORA_TEST_CLASS(CliStatsTest)
#include "tst_clistats.moc"
