#include "Desk.h"
#include "TestMain.h"

#include <QTableView>
#include <QtTest>

using namespace desk;

namespace {
const QStringList kAllBoxes = {"txtReadIDReturn",   "txtReaderNameReturn", "txtBookIDReturn",
                               "txtBookNameReturn", "txtBookPriceReturn",  "txtBookLeibieReturn",
                               "txtBookPageReturn", "txtLendDateReturn",   "txtDay",
                               "txtReturnDate",     "txtFactDay",          "txtDayCount",
                               "txtFakuan"};
const QStringList kFigures = {"txtDay", "txtReturnDate", "txtFactDay", "txtDayCount", "txtFakuan"};
const QString kNoBook = QStringLiteral("没有该书信息!");
const QString kReturned = QStringLiteral("归还完毕!");

QStringList boxes(TestApp &t, const QStringList &names)
{
    QStringList values;
    for (const QString &name : names)
        values << text(t, name);
    return values;
}

// Everything but the book number is empty, and the return button is off.
bool loanNotShown(TestApp &t)
{
    for (const QString &name : kAllBoxes) {
        if (name != "txtBookIDReturn" && !text(t, name).isEmpty())
            return false;
    }
    return !enabled(t, "cmdReturn");
}

void lookUpLoan(TestApp &t, const QString &reader, const QString &book)
{
    scan(t, "txtReadIDReturn", reader);
    scan(t, "txtBookIDReturn", book);
}
}  // namespace

class ReturnTest : public QObject {
    Q_OBJECT

private slots:
    void fines_data();
    void fines();
    void lookupMessages_data();
    void lookupMessages();
    void editingTheBookNumberTurnsReturnOff();
    void returnedMeanwhileChangesNothing();
    void bookOfAnotherReaderComesBack();
    void lentReturnedAndLentAgainOnOneDay();
    void quoteOfALoanGoneByIsRefused();
    void storesWhatWasWorkedOutNotWhatIsShown();
};

void ReturnTest::fines_data()
{
    QTest::addColumn<QDate>("lent");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QVariant>("loanPeriod");
    QTest::addColumn<QVariant>("finePerDay");
    QTest::addColumn<QString>("meanwhile");  // SQL run just before the lookup
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<QStringList>("prompts");

    const QDate dec6(2026, 12, 6);
    QTest::newRow("35 days held, 30-day period")
        << QDate(2026, 11, 1) << dec6 << QVariant(30) << QVariant(0.1) << ""
        << QStringList{"30", "2026-12-06", "35", "5", "0.5"} << QStringList{};
    QTest::newRow("last day of the period")
        << QDate(2026, 11, 6) << dec6 << QVariant(30) << QVariant(0.1) << ""
        << QStringList{"30", "2026-12-06", "30", "0", "0"} << QStringList{};
    QTest::newRow("lent today") << dec6 << dec6 << QVariant(30) << QVariant(0.1) << ""
                                << QStringList{"30", "2026-12-06", "0", "0", "0"} << QStringList{};
    QTest::newRow("half a yuan for three days")
        << QDate(2026, 11, 3) << dec6 << QVariant(30) << QVariant(0.5) << ""
        << QStringList{"30", "2026-12-06", "33", "3", "1.5"} << QStringList{};
    QTest::newRow("a tenth for three days")
        << QDate(2026, 11, 3) << dec6 << QVariant(30) << QVariant(0.1) << ""
        << QStringList{"30", "2026-12-06", "33", "3", "0.3"} << QStringList{};
    QTest::newRow("over a leap day")
        << QDate(2028, 2, 1) << QDate(2028, 3, 5) << QVariant(14) << QVariant(1) << ""
        << QStringList{"14", "2028-03-05", "33", "19", "19"} << QStringList{};
    QTest::newRow("no fine per day charged")
        << QDate(2026, 10, 1) << dec6 << QVariant(30) << QVariant(0) << ""
        << QStringList{"30", "2026-12-06", "66", "36", "0"} << QStringList{};

    const QStringList none = {"", "", "", "", ""};
    QTest::newRow("loan period not set")
        << QDate(2026, 11, 1) << dec6 << QVariant() << QVariant(0.1) << "" << none
        << QStringList{"该书类别没有设定有效的借出天数,请先在图书类别中设定!"};
    QTest::newRow("fine per day not set")
        << QDate(2026, 11, 1) << dec6 << QVariant(30) << QVariant() << "" << none
        << QStringList{"没有设定有效的罚款金额,请先在基本设置中设定!"};
    QTest::newRow("held longer than a day count holds")
        << QDate(1900, 1, 1) << dec6 << QVariant(30) << QVariant(0.1) << "" << none
        << QStringList{"天数超出范围(-32768 至 32767),无法计算罚款!"};
    QTest::newRow("loan period past a day count")
        << QDate(2026, 11, 1) << dec6 << QVariant(40000) << QVariant(0.1) << "" << none
        << QStringList{"天数超出范围(-32768 至 32767),无法计算罚款!"};
    QTest::newRow("title missing")
        << QDate(2026, 11, 1) << dec6 << QVariant(30) << QVariant(0.1)
        << "update bookInfo set 书籍名称=null where 书籍编号='B1001'" << none
        << QStringList{"该书的书籍名称为空,请先在书库管理中补全!"};
    QTest::newRow("lending date missing")
        << QDate(2026, 11, 1) << dec6 << QVariant(30) << QVariant(0.1)
        << "update lentInfo set 借书日期=null where 书籍编号='B1001'" << none
        << QStringList{"该借阅记录没有有效的借书日期,无法计算罚款!"};
}

void ReturnTest::fines()
{
    QFETCH(QDate, lent);
    QFETCH(QDate, today);
    QFETCH(QVariant, loanPeriod);
    QFETCH(QVariant, finePerDay);
    QFETCH(QString, meanwhile);
    QFETCH(QStringList, figures);
    QFETCH(QStringList, prompts);

    TestApp t(today);
    seedLibrary(t);
    addLoan(t, "001", "B1001", lent.toString(Qt::ISODate));
    addLoan(t, "002", "B1005", today.addDays(-1).toString(Qt::ISODate));
    t.login();
    showTab(t, Return);
    // Another loan shown first: a failed lookup must not leave its figures behind.
    lookUpLoan(t, "002", "B1005");
    QVERIFY(enabled(t, "cmdReturn"));

    t.exec("update bookType set 借出天数=? where 类别代码='I'", {loanPeriod});
    setRules(t, 5, finePerDay);
    if (!meanwhile.isEmpty())
        t.exec(meanwhile);
    const QString before = snapshot(t);
    lookUpLoan(t, "001", "B1001");
    QCOMPARE(hints(t), prompts);
    QCOMPARE(boxes(t, kFigures), figures);
    if (!prompts.isEmpty()) {
        QVERIFY(loanNotShown(t));
        QCOMPARE(snapshot(t), before);
        return;
    }
    QCOMPARE(boxes(t, {"txtReaderNameReturn", "txtBookNameReturn", "txtBookPriceReturn",
                       "txtBookLeibieReturn", "txtBookPageReturn", "txtLendDateReturn"}),
             QStringList({"张伟", "红楼梦", "59.70", "文学", "1606", lent.toString(Qt::ISODate)}));
    QCOMPARE(focused(t), QStringLiteral("cmdReturn"));

    // What is stored is what was shown.
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{kReturned});
    QCOMPARE(t.scalar("select 还书日期 from lentInfo where 书籍编号='B1001'"),
             QVariant(figures[1]));
    QCOMPARE(t.scalar("select 超出天数 from lentInfo where 书籍编号='B1001'").toInt(),
             figures[3].toInt());
    QCOMPARE(t.scalar("select 罚款金额 from lentInfo where 书籍编号='B1001'").toDouble(),
             figures[4].toDouble());
    QVERIFY(!lentFlag(t, "B1001"));
    QCOMPARE(boxes(t, kAllBoxes), QStringList(kAllBoxes.size(), QString()));
    QVERIFY(!enabled(t, "cmdReturn"));
    QCOMPARE(focused(t), QStringLiteral("txtReadIDReturn"));
}

void ReturnTest::lookupMessages_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("enterIn");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<bool>("loanStillShown");

    // Before each row the open loan of B1001 was looked up.
    QTest::newRow("reader empty") << ""
                                  << "B1001"
                                  << "txtReadIDReturn" << QStringList{"请先输入读者编号"} << true;
    QTest::newRow("reader unknown") << "009"
                                    << "B1001"
                                    << "txtReadIDReturn" << QStringList{"没有该读者信息!"} << true;
    QTest::newRow("book empty") << "001"
                                << ""
                                << "txtBookIDReturn" << QStringList{"请先输入书籍编号"} << true;
    QTest::newRow("both empty") << ""
                                << ""
                                << "txtBookIDReturn" << QStringList{"请先输入书籍编号"} << true;
    QTest::newRow("book without a reader") << ""
                                           << "B1004"
                                           << "txtBookIDReturn" << QStringList{} << true;
    QTest::newRow("book not on loan") << "001"
                                      << "B1004"
                                      << "txtBookIDReturn" << QStringList{kNoBook} << false;
    QTest::newRow("book returned before") << "001"
                                          << "B1006"
                                          << "txtBookIDReturn" << QStringList{kNoBook} << false;
    QTest::newRow("book unknown") << "001"
                                  << "B9999"
                                  << "txtBookIDReturn" << QStringList{kNoBook} << false;
}

void ReturnTest::lookupMessages()
{
    QFETCH(QString, reader);
    QFETCH(QString, book);
    QFETCH(QString, enterIn);
    QFETCH(QStringList, prompts);
    QFETCH(bool, loanStillShown);

    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-01");
    addLoan(t, "001", "B1006", "2026-11-01", "2026-11-20");
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    const QStringList shown = boxes(t, kFigures);

    const QString before = snapshot(t);
    t.type(kMain, "txtReadIDReturn", reader);
    t.type(kMain, "txtBookIDReturn", book);
    t.enter(kMain, enterIn);
    QCOMPARE(hints(t), prompts);
    QCOMPARE(snapshot(t), before);
    if (loanStillShown) {
        QCOMPARE(boxes(t, kFigures), shown);
    } else {
        QVERIFY(loanNotShown(t));
        QCOMPARE(text(t, "txtBookIDReturn"), book);
    }
}

void ReturnTest::editingTheBookNumberTurnsReturnOff()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-01");
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    QVERIFY(enabled(t, "cmdReturn"));
    QTest::keyClick(t.control<QWidget>(kMain, "txtBookIDReturn"), Qt::Key_Backspace);
    QVERIFY(!enabled(t, "cmdReturn"));
    QTest::keyClick(t.control<QWidget>(kMain, "txtBookIDReturn"), Qt::Key_1);
    QVERIFY(!enabled(t, "cmdReturn"));
    t.enter(kMain, "txtBookIDReturn");
    QVERIFY(enabled(t, "cmdReturn"));
    QCOMPARE(hints(t), QStringList{});
}

void ReturnTest::returnedMeanwhileChangesNothing()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-01");
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    // Taken back at another desk session before the button was pressed.
    t.exec("update lentInfo set 还书日期='2026-12-06', 超出天数=5, 罚款金额=0.5");
    t.exec("update bookInfo set 是否借出=0 where 书籍编号='B1001'");
    const QString before = snapshot(t);
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{kNoBook});
    QCOMPARE(snapshot(t), before);
    QVERIFY(loanNotShown(t));
}

void ReturnTest::bookOfAnotherReaderComesBack()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "002", "B1001", "2026-12-01");
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "003", "B1001");
    QCOMPARE(text(t, "txtReaderNameReturn"), QStringLiteral("王芳"));
    QCOMPARE(text(t, "txtLendDateReturn"), QStringLiteral("2026-12-01"));
    // Enter on the focused return button takes the book back: no mouse needed.
    QCOMPARE(focused(t), QStringLiteral("cmdReturn"));
    QTest::keyClick(t.window(kMain)->focusWidget(), Qt::Key_Enter);
    QCOMPARE(hints(t), QStringList{kReturned});
    QCOMPARE(openLoans(t, "B1001"), 0);

    // The returned loan is no longer listed for its reader, and the book can go out again.
    showTab(t, Lending);
    scan(t, "txtReaderID", "002");
    QCOMPARE(t.control<QTableView>(kMain, "dtgrdLendBook")->model()->rowCount(), 0);
    scan(t, "txtBookID", "B1001");
    QVERIFY(enabled(t, "cmdLendBook"));
    QCOMPARE(hints(t), QStringList{});
}

void ReturnTest::lentReturnedAndLentAgainOnOneDay()
{
    TestApp t;
    seedLibrary(t);
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1001");
    t.click(kMain, "cmdLendBook");
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    t.click(kMain, "cmdReturn");
    showTab(t, Lending);
    scan(t, "txtReaderID", "002");
    scan(t, "txtBookID", "B1001");
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), QStringList({"借出完毕!", kReturned, "借出完毕!"}));
    QCOMPARE(t.scalar("select count(*) from lentInfo where 书籍编号='B1001'").toInt(), 2);

    // The lookup finds the open loan; the return closes it and leaves the first one alone.
    t.exec("update lentInfo set 罚款金额=0.25 where 读者编号='001'");
    showTab(t, Return);
    lookUpLoan(t, "002", "B1001");
    QCOMPARE(text(t, "txtLendDateReturn"), QStringLiteral("2026-12-07"));
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{kReturned});
    QCOMPARE(openLoans(t, "B1001"), 0);
    QVERIFY(!lentFlag(t, "B1001"));
    QCOMPARE(t.scalar("select 罚款金额 from lentInfo where 读者编号='001'").toDouble(), 0.25);
    QCOMPARE(t.scalar("select 还书日期 from lentInfo where 读者编号='002'"),
             QVariant("2026-12-07"));
}

void ReturnTest::quoteOfALoanGoneByIsRefused()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-12-07");
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    // Meanwhile another desk takes it back and lends it to another reader on the same day: the
    // loan shown is gone, and the new one is not the clerk's to close with its figures.
    t.exec("update lentInfo set 还书日期='2026-12-07', 超出天数=0, 罚款金额=0");
    addLoan(t, "002", "B1001", "2026-12-07");
    const QString before = snapshot(t);
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{kNoBook});
    QCOMPARE(snapshot(t), before);
    QCOMPARE(openLoans(t, "B1001"), 1);
}

void ReturnTest::storesWhatWasWorkedOutNotWhatIsShown()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-10-28");  // 40 days out, 10 overdue at 0.1 a day
    t.login();
    showTab(t, Return);
    lookUpLoan(t, "001", "B1001");
    QCOMPARE(boxes(t, kFigures), QStringList({"30", "2026-12-07", "40", "10", "1"}));
    // The boxes are only what the clerk is shown: nothing is read back from them.
    for (const char *box : {"txtLendDateReturn", "txtReturnDate", "txtDayCount", "txtFakuan"})
        t.control<QLineEdit>(kMain, box)->setText("9");
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{kReturned});
    QCOMPARE(t.scalar("select 还书日期 from lentInfo").toString(), QStringLiteral("2026-12-07"));
    QCOMPARE(t.scalar("select 超出天数 from lentInfo").toInt(), 10);
    QCOMPARE(t.scalar("select 罚款金额 from lentInfo").toDouble(), 1.0);
}

LENDORA_TEST_CLASS(ReturnTest)
#include "tst_return.moc"
