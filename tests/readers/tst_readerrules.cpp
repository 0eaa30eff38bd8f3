#include "TestApp.h"
#include "TestMain.h"
#include "core/circulation/LoanStore.h"
#include "core/readers/ReaderNumber.h"
#include "core/readers/ReaderStore.h"

#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

// The rules below the reader window: stepping numbers and the store's open-loan count that
// guards the delete.
class ReaderRulesTest : public QObject {
    Q_OBJECT

private slots:
    void stepping_data();
    void stepping();
    void openLoansCountAsTheLendingTabLists_data();
    void openLoansCountAsTheLendingTabLists();
};

void ReaderRulesTest::stepping_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("previous");  // "-" when previous does nothing
    QTest::addColumn<QString>("next");
    QTest::newRow("empty") << ""
                           << "-"
                           << "001";
    QTest::newRow("001") << "001"
                         << "-"
                         << "002";
    QTest::newRow("002") << "002"
                         << "001"
                         << "003";
    QTest::newRow("010") << "010"
                         << "009"
                         << "011";
    QTest::newRow("no leading zeros") << "9"
                                      << "008"
                                      << "010";
    QTest::newRow("past three digits") << "999"
                                       << "998"
                                       << "1000";
    QTest::newRow("letters count as 0") << "abc"
                                        << "-"
                                        << "001";
    QTest::newRow("leading digits") << "12a"
                                    << "011"
                                    << "013";
    QTest::newRow("leading blank") << " 5"
                                   << "004"
                                   << "006";
    // Only the leading digits count: no sign, no fraction, no exponent.
    QTest::newRow("sign") << "-5"
                          << "-"
                          << "001";
    QTest::newRow("fraction") << "1.5"
                              << "-"
                              << "002";
    QTest::newRow("exponent") << "1e2"
                              << "-"
                              << "002";
}

void ReaderRulesTest::stepping()
{
    QFETCH(QString, box);
    QFETCH(QString, previous);
    QFETCH(QString, next);
    const std::optional<QString> before = ReaderNumber::previous(box);
    QCOMPARE(before.value_or(QStringLiteral("-")), previous);
    QCOMPARE(ReaderNumber::next(box), next);
}

void ReaderRulesTest::openLoansCountAsTheLendingTabLists_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("count");
    QTest::newRow("open") << "" << 1;
    QTest::newRow("returned") << "update lentInfo set 还书日期='2026-11-01'" << 0;
    QTest::newRow("book gone") << "delete from bookInfo" << 0;
    QTest::newRow("category gone") << "update bookInfo set 类别代码='?'" << 0;
    QTest::newRow("two open")
        << "insert into lentInfo values ('007','B3','2026-11-02',null,null,null)" << 2;
}

void ReaderRulesTest::openLoansCountAsTheLendingTabLists()
{
    QFETCH(QString, setup);
    QFETCH(int, count);
    TestApp t;
    t.login();
    t.exec("insert into readerInfo values ('007','赵六','男','','')");
    t.exec("insert into readerInfo values ('008','钱七','女','','')");
    t.exec("insert into bookInfo (书籍编号,书籍名称,类别代码) values ('B1','围城','I'),"
           " ('B2','边城','I'), ('B3','家','I')");
    t.exec("insert into lentInfo values ('007','B1','2026-11-01',null,null,null)");
    t.exec("insert into lentInfo values ('008','B2','2026-10-01',null,null,null)");
    if (!setup.isEmpty())
        t.exec(setup);
    // The one count the limit and the reader's deletion both rest on.
    LoanStore store(t.app().database());
    QCOMPARE(store.openLoanCount("007"), std::optional<qint64>(count));
}

LENDORA_TEST_CLASS(ReaderRulesTest)
#include "tst_readerrules.moc"
