#include "TestMain.h"
#include "query/BookCriteria.h"
#include "query/LoanCriteria.h"

#include <QtTest>

using namespace lendora;

namespace {
const QString kLike = QStringLiteral(" like '%' || ? || '%' escape '\\'");
const QString kLoanJoin = QStringLiteral(
    "select lentInfo.读者编号,readerInfo.读者姓名,lentInfo.书籍编号, "
    "bookInfo.书籍名称,bookType.书籍类别,bookInfo.出版社,bookInfo.书籍页码,lentInfo.借书日期, "
    "lentInfo.还书日期,lentInfo.超出天数,lentInfo.罚款金额 from readerInfo,bookInfo,lentInfo,"
    "bookType  where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号 "
    " and bookType.类别代码=bookInfo.类别代码 ");
}  // namespace

// The search texts: which conditions, in which order, with which bound values.
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
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    const QStringList none = {"", "", "", ""};
    QTest::newRow("nothing") << none << QDate() << false << "select * from bookInfo"
                             << QVariantList();
    QTest::newRow("only partial") << none << QDate() << true << "select * from bookInfo"
                                  << QVariantList();
    QTest::newRow("B1 and publisher, partial")
        << QStringList{"B1", "", "", "清华大学出版社"} << QDate() << true
        << "select * from bookInfo where 书籍编号" + kLike + " and 出版社" + kLike
        << QVariantList{"B1", "清华大学出版社"};
    QTest::newRow("date only") << none << QDate(2026, 12, 7) << false
                               << "select * from bookInfo where 登记日期=?"
                               << QVariantList{"2026-12-07"};
    QTest::newRow("date only, partial: the same day")
        << none << QDate(2026, 12, 7) << true << "select * from bookInfo where 登记日期=?"
        << QVariantList{"2026-12-07"};
    QTest::newRow("three blanks") << QStringList{"   ", "", "", ""} << QDate() << false
                                  << "select * from bookInfo where 书籍编号=?"
                                  << QVariantList{"   "};
    QTest::newRow("category typed by hand") << QStringList{"", "", "TB", ""} << QDate() << false
                                            << "select * from bookInfo where 类别代码=?"
                                            << QVariantList{"T"};
    QTest::newRow("category entry") << QStringList{"", "", "I-文学", ""} << QDate() << true
                                    << "select * from bookInfo where 类别代码" + kLike
                                    << QVariantList{"I"};
    QTest::newRow("all five, exact")
        << QStringList{"B1", "围城", "I-文学", "人民文学出版社"} << QDate(2026, 1, 31) << false
        << "select * from bookInfo where 书籍编号=? and 书籍名称=? and 类别代码=? and 出版社=? "
           "and 登记日期=?"
        << QVariantList{"B1", "围城", "I", "人民文学出版社", "2026-01-31"};
}

void CriteriaTest::bookQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(QDate, date);
    QFETCH(bool, partial);
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    BookCriteria criteria;
    criteria.bookId = texts.at(0);
    criteria.title = texts.at(1);
    criteria.category = texts.at(2);
    criteria.publisher = texts.at(3);
    if (date.isValid())
        criteria.entered = date;
    criteria.partial = partial;
    const BoundQuery query = criteria.query();
    QCOMPARE(query.sql, sql);
    QCOMPARE(query.values, values);
}

void CriteriaTest::loanQuery_data()
{
    QTest::addColumn<QStringList>("texts");  // book number, title, reader number, reader name
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("nothing") << QStringList{"", "", "", ""} << false << "" << QVariantList();
    QTest::newRow("reader name, exact") << QStringList{"", "", "", "张伟"} << false
                                        << " and readerInfo.读者姓名=?" << QVariantList{"张伟"};
    QTest::newRow("all four, partial")
        << QStringList{"B1", "数据", "00", "王"} << true
        << " and lentInfo.书籍编号" + kLike + " and bookInfo.书籍名称" + kLike
               + " and lentInfo.读者编号" + kLike + " and readerInfo.读者姓名" + kLike
        << QVariantList{"B1", "数据", "00", "王"};
    QTest::newRow("number and reader, exact")
        << QStringList{"B1", "", "001", ""} << false
        << " and lentInfo.书籍编号=? and lentInfo.读者编号=?" << QVariantList{"B1", "001"};
}

void CriteriaTest::loanQuery()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, partial);
    QFETCH(QString, conditions);
    QFETCH(QVariantList, values);
    LoanCriteria criteria;
    criteria.bookId = texts.at(0);
    criteria.title = texts.at(1);
    criteria.readerId = texts.at(2);
    criteria.readerName = texts.at(3);
    criteria.partial = partial;
    const BoundQuery query = criteria.query();
    QCOMPARE(query.sql, kLoanJoin + conditions);
    QCOMPARE(query.values, values);
}

LENDORA_TEST_CLASS(CriteriaTest)
#include "tst_criteria.moc"
