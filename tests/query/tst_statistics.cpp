#include "TestApp.h"
#include "TestMain.h"
#include "core/query/LoanStatistics.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

// A quarter of 2028 (a leap year) at a small library, counted by hand. Category X and book
// B08 were deleted after their loans, reader 009 too.
void seed(TestApp &t)
{
    const QList<QVariantList> books = {
        {"B01", "红楼梦", "I"},   {"B02", "围城", "I"},   {"B03", "万历十五年", "K"},
        {"B04", "数学分析", "O"}, {"B05", "环境学", "X"}, {"B06", "家", "I"},
        {"B07", "算法导论", "T"},
    };
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values (?,?,?)", b);
    t.exec("update bookInfo set 登记日期='2027-06-01' where 书籍编号='B06'");
    t.exec("delete from bookType where 类别代码='X'");
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001','张伟'), ('002','李娜'),"
           " ('003','王芳')");
    const QList<QVariantList> loans = {
        {"001", "B01", "2028-01-01", "2028-01-20", 0.0},  // first day of a month
        {"002", "B01", "2028-01-31", "2028-02-29", 0.1},  // last day, back on the leap day
        {"001", "B03", "2028-02-29", "2028-03-01", 0.2},  // the leap day
        {"003", "B04", "2028-03-31", QVariant(), QVariant()},
        {"009", "B02", "2028-02-10", "2028-02-15", 0.3},  // a deleted reader
        {"002", "B05", "2028-02-11", "2028-03-31", 1.5},  // a deleted category
        {"001", "B08", "2028-03-01", "2028-04-01", 0.7},  // a deleted book, back after
        {"003", "B02", "2027-12-31", "2028-01-02", 0.1},  // lent before, back within
        {"001", "B01", "2028-04-01", QVariant(), QVariant()},
        {"002", "B03", "2028-03-15", "2028-03-20", 0.1},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期, 罚款金额)"
               " values (?,?,?,?,?)",
               l);
}

const QDate kFrom(2028, 1, 1);
const QDate kTo(2028, 3, 31);

QString share(double value)
{
    return QString::number(value, 'f', 3);
}

}  // namespace

class StatisticsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void months_data();
    void months();
    void byCategory_data();
    void byCategory();
    void top_data();
    void top();
    void neverLent_data();
    void neverLent();
    void collection_data();
    void collection();
    void upgradeBuildsIndexes_data();
    void upgradeBuildsIndexes();

private:
    std::unique_ptr<TestApp> m_app;
    std::unique_ptr<SharedDatabase> m_database;
};

void StatisticsTest::init()
{
    m_app = std::make_unique<TestApp>();
    seed(*m_app);
    m_database = std::make_unique<SharedDatabase>(QStringLiteral("statistics"));
    QString problem;
    QVERIFY2(m_database->open(DatabaseFile::pathIn(m_app->appDir()), &problem),
             qPrintable(problem));
}

void StatisticsTest::cleanup()
{
    m_database.reset();
    m_app.reset();
}

void StatisticsTest::months_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");  // month|loans|returns|fines
    QTest::newRow("the quarter") << kFrom << kTo
                                 << QStringList{"2028-01|2|2|0.1", "2028-02|3|2|0.4",
                                                "2028-03|3|3|1.8"};
    QTest::newRow("the leap day alone")
        << QDate(2028, 2, 29) << QDate(2028, 2, 29) << QStringList{"2028-02|1|1|0.1"};
    QTest::newRow("across a month's end, nothing back")
        << QDate(2028, 1, 31) << QDate(2028, 2, 10)
        << QStringList{"2028-01|1|0|0", "2028-02|1|0|0"};
    QTest::newRow("months without loans")
        << QDate(2027, 11, 15) << QDate(2028, 1, 1)
        << QStringList{"2027-11|0|0|0", "2027-12|1|0|0", "2028-01|1|0|0"};
    QTest::newRow("back to front") << kTo << kFrom << QStringList();
}

void StatisticsTest::months()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    LoanStatistics statistics(*m_database);
    const auto counts = statistics.byMonth(from, to);
    const auto fines = statistics.finesByMonth(from, to);
    QVERIFY(counts && fines);
    QCOMPARE(counts->size(), fines->size());
    QCOMPARE(counts->size(), rows.size());
    QStringList found;
    for (qsizetype i = 0; i < counts->size(); ++i) {
        const LoanStatistics::Month &m = counts->at(i);
        QCOMPARE(fines->at(i).month, m.month);
        // Exact: 0.2 + 1.5 + 0.1 summed as doubles is not 1.8.
        QCOMPARE(fines->at(i).total, *Decimal::parse(rows.at(i).section('|', 3)));
        found << QStringLiteral("%1|%2|%3|%4")
                     .arg(m.month)
                     .arg(m.loans)
                     .arg(m.returns)
                     .arg(fines->at(i).text());
    }
    QCOMPARE(found, rows);
    QCOMPARE(LoanStatistics::months(from, to).size(), rows.size());
}

void StatisticsTest::byCategory_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");  // code|name|count|share
    const QString unknown = LoanStatistics::unknownCategoryText();
    QTest::newRow("the quarter") << kFrom << kTo
                                 << QStringList{"I|文学|3|0.375", "|" + unknown + "|2|0.250",
                                                "K|历史、地理|2|0.250", "O|数理科学和化学|1|0.125"};
    QTest::newRow("February") << QDate(2028, 2, 1) << QDate(2028, 2, 29)
                              << QStringList{"|" + unknown + "|1|0.333", "I|文学|1|0.333",
                                             "K|历史、地理|1|0.333"};
    QTest::newRow("no loans") << QDate(2029, 1, 1) << QDate(2029, 12, 31) << QStringList();
}

void StatisticsTest::byCategory()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    LoanStatistics statistics(*m_database);
    const auto categories = statistics.byCategory(from, to);
    QVERIFY(categories);
    QStringList found;
    for (const LoanStatistics::Category &c : *categories) {
        QCOMPARE(c.unknown, c.code.isEmpty());
        found << QStringLiteral("%1|%2|%3|%4").arg(c.code, c.name).arg(c.count).arg(share(c.share));
    }
    QCOMPARE(found, rows);
}

void StatisticsTest::top_data()
{
    QTest::addColumn<bool>("readers");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("rows");  // id|name|count
    QTest::newRow("books, ties by number")
        << false << 20 << QStringList{"B01|红楼梦|2",   "B03|万历十五年|2", "B02|围城|1",
                                      "B04|数学分析|1", "B05|环境学|1",     "B08||1"};
    QTest::newRow("books, the first three")
        << false << 3 << QStringList{"B01|红楼梦|2", "B03|万历十五年|2", "B02|围城|1"};
    QTest::newRow("readers, a deleted one kept")
        << true << 20 << QStringList{"001|张伟|3", "002|李娜|3", "003|王芳|1", "009||1"};
    QTest::newRow("readers, the first one") << true << 1 << QStringList{"001|张伟|3"};
}

void StatisticsTest::top()
{
    QFETCH(bool, readers);
    QFETCH(int, count);
    QFETCH(QStringList, rows);
    LoanStatistics statistics(*m_database);
    const auto ranked =
        readers ? statistics.topReaders(kFrom, kTo, count) : statistics.topBooks(kFrom, kTo, count);
    QVERIFY(ranked);
    QStringList found;
    for (const LoanStatistics::Ranked &r : *ranked)
        found << QStringLiteral("%1|%2|%3").arg(r.id, r.name).arg(r.count);
    QCOMPARE(found, rows);
}

void StatisticsTest::neverLent_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("books");
    QTest::newRow("all") << 100 << 0
                         << QStringList{"B06|家|文学|2027-06-01", "B07|算法导论|工业技术|"};
    QTest::newRow("the second page") << 1 << 1 << QStringList{"B07|算法导论|工业技术|"};
    QTest::newRow("past the end") << 10 << 2 << QStringList();
}

void StatisticsTest::neverLent()
{
    QFETCH(int, limit);
    QFETCH(int, offset);
    QFETCH(QStringList, books);
    LoanStatistics statistics(*m_database);
    const auto page = statistics.neverLent(limit, offset);
    QVERIFY(page);
    QStringList found;
    for (const LoanStatistics::Book &b : *page)
        found << QStringList{b.id, b.name, b.category, b.registered}.join('|');
    QCOMPARE(found, books);
}

void StatisticsTest::collection_data()
{
    QTest::addColumn<bool>("neverLent");    // counted besides the books, else those on loan
    QTest::addColumn<QStringList>("rows");  // code|name|books|counted|share
    const QString unknown = "|" + LoanStatistics::unknownCategoryText() + "|1|0|0.000";
    QTest::newRow("on loan") << false
                             << QStringList{"I|文学|3|1|0.333", "K|历史、地理|1|0|0.000",
                                            "O|数理科学和化学|1|1|1.000", "T|工业技术|1|0|0.000",
                                            unknown};
    QTest::newRow("never lent") << true
                                << QStringList{"I|文学|3|1|0.333", "K|历史、地理|1|0|0.000",
                                               "O|数理科学和化学|1|0|0.000", "T|工业技术|1|1|1.000",
                                               unknown};
}

void StatisticsTest::collection()
{
    QFETCH(bool, neverLent);
    QFETCH(QStringList, rows);
    LoanStatistics statistics(*m_database);
    const auto holdings = statistics.collection(neverLent ? LoanStatistics::Also::NeverLent
                                                          : LoanStatistics::Also::OnLoan);
    QVERIFY(holdings);
    QStringList found;
    for (const LoanStatistics::Holding &h : *holdings) {
        QCOMPARE(neverLent ? h.onLoan : h.neverLent, 0);
        const qint64 counted = neverLent ? h.neverLent : h.onLoan;
        if (h.books > 0)
            found << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(h.code, h.name)
                         .arg(h.books)
                         .arg(counted)
                         .arg(share(neverLent ? h.shareNeverLent : h.shareOnLoan));
        else
            QCOMPARE(counted, 0);
    }
    QCOMPARE(found, rows);
    // The 21 categories left, the empty ones too, and the unknown one last.
    QCOMPARE(holdings->size(), 22);
    QVERIFY(holdings->last().unknown);
}

void StatisticsTest::upgradeBuildsIndexes_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QStringList>("dropped");
    const QStringList statistics = {"lentInfo_lend_book_reader", "lentInfo_return_fine",
                                    "bookInfo_category"};
    QTest::newRow("from 5") << 5 << statistics;
    QTest::newRow("from 4") << 4 << (QStringList(statistics) << "lentInfo_open_by_date");
}

void StatisticsTest::upgradeBuildsIndexes()
{
    if (TestApp::onServer())
        QSKIP("a file's upgrade");
    QFETCH(int, version);
    QFETCH(QStringList, dropped);
    TestApp t;
    // The desk says it is upgrading rather than seem to hang, and only then.
    const QString path = DatabaseFile::pathIn(t.appDir());
    t.exec("PRAGMA wal_checkpoint(TRUNCATE)");  // as a desk leaves the file at its end
    QVERIFY(!SqliteBackend(path).upgradesOnOpening());
    const QString names = "'" + dropped.join("','") + "'";
    for (const QString &index : dropped)
        t.exec("DROP INDEX " + index);
    t.exec("DELETE FROM sqlite_stat1 WHERE idx IN (" + names + ")");
    t.exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
    t.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    QVERIFY(SqliteBackend(path).upgradesOnOpening());
    SharedDatabase database(QStringLiteral("upgrade"));
    QString problem;
    QVERIFY2(database.open(path, &problem), qPrintable(problem));
    QCOMPARE(t.scalar("PRAGMA user_version").toInt(), Schema::kVersion);
    QCOMPARE(t.scalar("select count(*) from sqlite_master where name in (" + names + ")").toInt(),
             dropped.size());
    QCOMPARE(t.scalar("select count(*) from sqlite_stat1 where idx in (" + names + ")").toInt(),
             dropped.size());
}

LENDORA_TEST_CLASS(StatisticsTest)
#include "tst_statistics.moc"
