#include "TestApp.h"
#include "TestMain.h"
#include "core/query/BookCriteria.h"
#include "core/query/LoanCriteria.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

void seed(TestApp &t)
{
    const QList<QVariantList> books = {
        {"B101", "C++程序设计", "T", "清华大学出版社", "2026-03-02"},
        {"B102", "数据结构", "T", "清华大学出版社", "2026-03-02"},
        {"B103", "围城", "I", "人民文学出版社", "2026-04-18"},
        {"B110", "数据库系统原理", "O", "清华大学出版社", "2026-05-06"},
        {"B120", "数据库系统原理", "TB", "高等教育出版社", "2026-05-06"},
        {"A1", "Tom's Diary", "I", "机械工业出版社", "2026-05-06"},
        {"A2", "50%折扣", "F", "不详", "2026-05-07"},
        {"   ", "三个空格", "F", "不详", "2026-05-07"},
    };
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 登记日期) values "
               "(?,?,?,?,?)",
               b);
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001','张伟'), ('002','王芳'),"
           " ('012','欧阳张伟')");
    const QList<QVariantList> loans = {
        {"001", "B101"}, {"001", "B110"}, {"002", "B110"}, {"012", "B120"},
        {"012", "A2"},   {"002", "B103"}, {"009", "B101"},
    };
    for (const QVariantList &l : loans)
        // Returned, so a book may appear in several of them.
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期)"
               " values (?, ?, '2026-11-01', '2026-11-20')",
               l);
}

// How the desk's engine matches text in the test's library.
std::unique_ptr<Backend> engine(TestApp &t)
{
    return t.libraryBackend();
}

// The first column of every row, sorted.
QStringList found(TestApp &t, const BoundQuery &query)
{
    QSqlQuery q(t.db());
    if (!q.prepare(query.sql)) {
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
        return {};
    }
    for (int i = 0; i < query.values.size(); ++i)
        q.bindValue(i, query.values.at(i));
    if (!q.exec()) {
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
        return {};
    }
    QStringList keys;
    while (q.next())
        keys << q.value(0).toString();
    keys.sort();
    return keys;
}

}  // namespace

// The criteria on their own, without a window: several conditions together, each matched
// through a text index or over the table, find the rows that meet all of them, once each.
class CriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void bookQuery_data();
    void bookQuery();
    void loanQuery_data();
    void loanQuery();
};

void CriteriaTest::bookQuery_data()
{
    QTest::addColumn<QStringList>("texts");  // book number, title, category, publisher
    QTest::addColumn<QDate>("date");         // invalid: the date criterion is unticked
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("books");
    const QStringList none = {"", "", "", ""};
    const QStringList all = {"   ", "A1", "A2", "B101", "B102", "B103", "B110", "B120"};
    QTest::newRow("nothing") << none << QDate() << false << all;
    QTest::newRow("only partial") << none << QDate() << true << all;
    QTest::newRow("three indexed texts at once, partial")
        << QStringList{"B1", "数据库系", "", "清华大学"} << QDate() << true << QStringList{"B110"};
    QTest::newRow("indexed and scanned texts, partial")
        << QStringList{"B12", "库系", "T", "出版社"} << QDate() << true << QStringList{"B120"};
    QTest::newRow("the same title, exact, with the date")
        << QStringList{"", "数据库系统原理", "", ""} << QDate(2026, 5, 6) << false
        << QStringList{"B110", "B120"};
    QTest::newRow("exact title and category typed by hand: its first letter")
        << QStringList{"", "数据库系统原理", "TB", ""} << QDate() << false << QStringList();
    QTest::newRow("category entry, partial") << QStringList{"", "", "T-工业技术", ""} << QDate()
                                             << true << QStringList{"B101", "B102", "B120"};
    QTest::newRow("three blanks are a criterion")
        << QStringList{"   ", "", "", ""} << QDate() << false << QStringList{"   "};
    QTest::newRow("quote in an exact title")
        << QStringList{"", "Tom's Diary", "", ""} << QDate() << false << QStringList{"A1"};
    QTest::newRow("percent is literal")
        << QStringList{"", "0%折", "", ""} << QDate() << true << QStringList{"A2"};
    QTest::newRow("a date alone, partial: that day")
        << none << QDate(2026, 3, 2) << true << QStringList{"B101", "B102"};
}

void CriteriaTest::bookQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(QDate, date);
    QFETCH(bool, partial);
    QFETCH(QStringList, books);
    TestApp t;
    seed(t);
    BookCriteria criteria;
    criteria.bookId = texts.at(0);
    criteria.title = texts.at(1);
    criteria.category = texts.at(2);
    criteria.publisher = texts.at(3);
    if (date.isValid())
        criteria.entered = date;
    criteria.partial = partial;
    QCOMPARE(found(t, criteria.query(*engine(t))), books);
}

void CriteriaTest::loanQuery_data()
{
    QTest::addColumn<QStringList>("texts");  // book number, title, reader number, reader name
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("loans");  // reader/book
    // Reader 009 is not registered and category TB does not exist: their loans are never
    // listed.
    QTest::newRow("nothing") << QStringList{"", "", "", ""} << false
                             << QStringList{"001/B101", "001/B110", "002/B103", "002/B110",
                                            "012/A2"};
    QTest::newRow("reader name, exact")
        << QStringList{"", "", "", "张伟"} << false << QStringList{"001/B101", "001/B110"};
    QTest::newRow("reader name, partial")
        << QStringList{"", "", "", "张伟"} << true << QStringList{"001/B101", "001/B110", "012/A2"};
    QTest::newRow("indexed title and reader number, partial")
        << QStringList{"", "据库系统", "01", ""} << true << QStringList{"001/B110"};
    QTest::newRow("book number through its index and title, partial")
        << QStringList{"B11", "数据库", "", ""} << true << QStringList{"001/B110", "002/B110"};
    QTest::newRow("exact book and reader")
        << QStringList{"B110", "", "002", ""} << false << QStringList{"002/B110"};
    QTest::newRow("exact book number is whole")
        << QStringList{"B11", "", "", ""} << false << QStringList();
    QTest::newRow("percent is literal")
        << QStringList{"", "%", "", ""} << true << QStringList{"012/A2"};
}

void CriteriaTest::loanQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, partial);
    QFETCH(QStringList, loans);
    TestApp t;
    seed(t);
    LoanCriteria criteria;
    criteria.bookId = texts.at(0);
    criteria.title = texts.at(1);
    criteria.readerId = texts.at(2);
    criteria.readerName = texts.at(3);
    criteria.partial = partial;
    const BoundQuery query = criteria.query(*engine(t));
    QSqlQuery q(t.db());
    QVERIFY(q.prepare(query.sql));
    for (int i = 0; i < query.values.size(); ++i)
        q.bindValue(i, query.values.at(i));
    QVERIFY(q.exec());
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + "/" + q.value(2).toString();
    rows.sort();
    QCOMPARE(rows, loans);
}

LENDORA_TEST_CLASS(CriteriaTest)
#include "tst_criteria.moc"
