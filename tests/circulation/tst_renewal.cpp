#include "Desk.h"
#include "TestMain.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using namespace desk;

namespace {
const QString kRenewed = QStringLiteral("续借完毕!");
const QString kNoSuchLoan = QStringLiteral("没有找到该借阅记录,请重新查询读者!");

QString lendDate(TestApp &t, const QString &book)
{
    return t.scalar("select 借书日期 from lentInfo where 书籍编号=? and 还书日期 is null", {book})
        .toString();
}

// 002 holds B1002 (lent ten days ago) and B1006.
void seedLoans(TestApp &t)
{
    seedLibrary(t);
    addLoan(t, "002", "B1002", "2026-11-27");
    addLoan(t, "002", "B1006", "2026-11-15");
    addLoan(t, "001", "B1001", "2026-11-20");
}

void renew(TestApp &t, const QDate &to)
{
    t.control<QDateEdit>(kMain, "dtpLendDateChange")->setDate(to);
    t.click(kMain, "cmdOK");
}
}  // namespace

class RenewalTest : public QObject {
    Q_OBJECT

private slots:
    void renewalMovesTheSelectedLoan_data();
    void renewalMovesTheSelectedLoan();
    void readerLookupMessages_data();
    void readerLookupMessages();
    void refusedRenewalChangesNothing_data();
    void refusedRenewalChangesNothing();
    void onlyTheOpenLoanOfOneDayMoves();
};

void RenewalTest::renewalMovesTheSelectedLoan_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("book");
    QTest::addColumn<QStringList>("returnFigures");  // actual days, overdue days, fine

    QTest::newRow("first loan, to today")
        << 0 << QDate(2026, 12, 7) << "B1002" << QStringList{"0", "0", "0"};
    QTest::newRow("second loan selected")
        << 1 << QDate(2026, 12, 7) << "B1006" << QStringList{"0", "0", "0"};
}

void RenewalTest::renewalMovesTheSelectedLoan()
{
    QFETCH(int, row);
    QFETCH(QDate, to);
    QFETCH(QString, book);
    QFETCH(QStringList, returnFigures);

    TestApp t;
    seedLoans(t);
    t.login();
    QCOMPARE(t.control<QDateEdit>(kMain, "dtpLendDateChange")->date(), QDate(2026, 12, 7));
    showTab(t, Renewal);
    QVERIFY(!enabled(t, "cmdOK"));
    scan(t, "txtReaderIDRenew", "002");
    QCOMPARE(text(t, "txtReaderNameRenew"), QStringLiteral("李娜"));
    QVERIFY(enabled(t, "cmdOK"));
    QCOMPARE(text(t, "txtBookIDRenew"), QStringLiteral("B1002"));
    auto *grid = t.control<QTableView>(kMain, "dtgrdLendBookRenew");
    grid->selectRow(row);
    QCOMPARE(text(t, "txtBookIDRenew"), book);
    const QString shownDate = text(t, "txtLendDate");

    const QString books = snapshot(t).section("bookInfo:", 1);
    renew(t, to);
    QCOMPARE(hints(t), QStringList{kRenewed});
    QCOMPARE(lendDate(t, book), to.toString(Qt::ISODate));
    const QString other = book == "B1002" ? "B1006" : "B1002";
    QCOMPARE(lendDate(t, other), other == "B1002" ? "2026-11-27" : "2026-11-15");
    QCOMPARE(t.scalar("select count(*) from lentInfo where 还书日期 is not null or 超出天数 is not"
                      " null or 罚款金额 is not null")
                 .toInt(),
             0);
    QCOMPARE(snapshot(t).section("bookInfo:", 1), books);

    // Nothing on the tab moves until the reader is looked up again.
    QCOMPARE(text(t, "txtLendDate"), shownDate);
    QCOMPARE(grid->model()->index(row, 7).data().toString(), shownDate);
    QVERIFY(enabled(t, "cmdOK"));
    scan(t, "txtReaderIDRenew", "002");
    QStringList dates;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        dates << grid->model()->index(r, 7).data().toString();
    QVERIFY(dates.contains(to.toString(Qt::ISODate)));

    // The return counts from the new date.
    showTab(t, Return);
    scan(t, "txtReadIDReturn", "002");
    scan(t, "txtBookIDReturn", book);
    QCOMPARE(QStringList({text(t, "txtFactDay"), text(t, "txtDayCount"), text(t, "txtFakuan")}),
             returnFigures);
}

void RenewalTest::readerLookupMessages_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("name");

    QTest::newRow("empty") << "" << QStringList{"请先输入读者编号"} << "李娜";
    QTest::newRow("unknown") << "009" << QStringList{"没有该读者信息!"} << "";
}

void RenewalTest::readerLookupMessages()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, prompts);
    QFETCH(QString, name);

    TestApp t;
    seedLoans(t);
    t.login();
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    QVERIFY(enabled(t, "cmdOK"));
    scan(t, "txtReaderIDRenew", typed);
    QCOMPARE(hints(t), prompts);
    QCOMPARE(text(t, "txtReaderNameRenew"), name);
    QVERIFY(!enabled(t, "cmdOK"));
    // The grid and the bound boxes keep what they showed.
    QCOMPARE(t.control<QTableView>(kMain, "dtgrdLendBookRenew")->model()->rowCount(), 2);
    QCOMPARE(text(t, "txtBookIDRenew"), QStringLiteral("B1002"));
}

void RenewalTest::refusedRenewalChangesNothing_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("second confirmation with the old date") << "again";
    QTest::newRow("lending tab refreshed the source") << "lending";
    QTest::newRow("reader without open loans") << "empty";
    QTest::newRow("loan returned meanwhile") << "returned";
    QTest::newRow("other reader typed, not looked up") << "typed";
}

void RenewalTest::refusedRenewalChangesNothing()
{
    QFETCH(QString, situation);

    TestApp t;
    seedLoans(t);
    t.login();
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", situation == "empty" ? "003" : "002");
    if (situation == "again") {
        renew(t, QDate(2026, 12, 7));
        QCOMPARE(hints(t), QStringList{kRenewed});
    } else if (situation == "lending") {
        scan(t, "txtReaderID", "001");
        QCOMPARE(text(t, "txtBookIDRenew"), QStringLiteral("B1001"));
    } else if (situation == "returned") {
        showTab(t, Return);
        scan(t, "txtReadIDReturn", "002");
        scan(t, "txtBookIDReturn", "B1002");
        t.click(kMain, "cmdReturn");
        hints(t);
        showTab(t, Renewal);
    } else if (situation == "typed") {
        t.type(kMain, "txtReaderIDRenew", "001");
    }
    const QString before = snapshot(t);
    renew(t, QDate(2026, 12, 1));
    QCOMPARE(hints(t), QStringList{kNoSuchLoan});
    QCOMPARE(snapshot(t), before);
}

void RenewalTest::onlyTheOpenLoanOfOneDayMoves()
{
    TestApp t;
    seedLibrary(t);
    // Lent, returned and lent again to the same reader on the same day.
    addLoan(t, "002", "B1004", "2026-12-07", "2026-12-07");
    addLoan(t, "002", "B1004", "2026-12-07");
    t.login();
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    QCOMPARE(text(t, "txtLendDate"), QStringLiteral("2026-12-07"));
    // The bound boxes only show: typing into them changes nothing.
    auto *box = t.control<QLineEdit>(kMain, "txtBookIDRenew");
    QVERIFY(box->isReadOnly());
    QTest::keyClicks(box, "X");
    QCOMPARE(box->text(), QStringLiteral("B1004"));

    renew(t, QDate(2026, 12, 20));
    QCOMPARE(hints(t), QStringList{kRenewed});
    QCOMPARE(lendDate(t, "B1004"), QStringLiteral("2026-12-20"));
    QCOMPARE(t.scalar("select 借书日期 from lentInfo where 还书日期 is not null"),
             QVariant("2026-12-07"));
}

LENDORA_TEST_CLASS(RenewalTest)
#include "tst_renewal.moc"
