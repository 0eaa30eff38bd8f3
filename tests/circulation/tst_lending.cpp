#include "Desk.h"
#include "TestMain.h"

#include <QDateEdit>
#include <QLabel>
#include <QTableView>
#include <QtTest>

using namespace desk;

namespace {
const QStringList kBookBoxes = {"txtBookName", "txtBookPrice", "txtBookLeibie", "txtBookConcern",
                                "txtBookPage"};
const QStringList kLent = {QStringLiteral("借出完毕!")};
const QString kFull = QStringLiteral("您的书已经借满,不能再借!");

QStringList bookBoxes(TestApp &t)
{
    QStringList values;
    for (const QString &box : kBookBoxes)
        values << text(t, box);
    return values;
}

void lend(TestApp &t, const QString &reader, const QString &book)
{
    scan(t, "txtReaderID", reader);
    scan(t, "txtBookID", book);
    t.click(kMain, "cmdLendBook");
}
}  // namespace

class LendingTest : public QObject {
    Q_OBJECT

private slots:
    void readerLookup_data();
    void readerLookup();
    void bookLookup_data();
    void bookLookup();
    void lendRecordsTheLoanAndKeepsTheReader();
    void limit_data();
    void limit();
    void lendChecksAgainAtTheMoment_data();
    void lendChecksAgainAtTheMoment();
    void limitCountsOnlyListedLoans();
    void counterAtZeroRefusesWhoeverIsTyped();
    void countsAreNotReadBackFromTheLabel_data();
    void countsAreNotReadBackFromTheLabel();
    void unreadableRulesAreAnEngineFailure();
    void ruleChangeAppliesAtTheNextLookup();
    void scannerLendsTenBooksWithoutTheMouse();
    void newReaderCommandOpensTheAddView();
};

void LendingTest::readerLookup_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("count");

    // Before each row reader 001 (one loan) was found: a failed lookup keeps the counters.
    QTest::newRow("empty") << "" << QStringList{"请先输入读者编号"} << "张伟"
                           << "已借图书册数:1";
    QTest::newRow("unknown") << "009" << QStringList{"没有该读者信息!"} << ""
                             << "已借图书册数:1";
    QTest::newRow("trailing blank") << "001 " << QStringList{"没有该读者信息!"} << ""
                                    << "已借图书册数:1";
    QTest::newRow("name missing") << "004"
                                  << QStringList{"该读者没有登记姓名,请先在读者管理中补全!"} << ""
                                  << "已借图书册数:1";
    QTest::newRow("found") << "002" << QStringList{} << "李娜"
                           << "已借图书册数:0";
}

void LendingTest::readerLookup()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, prompts);
    QFETCH(QString, name);
    QFETCH(QString, count);

    TestApp t;
    seedLibrary(t);
    addReader(t, "004", QVariant());
    addLoan(t, "001", "B1001", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(hints(t), QStringList{});
    QCOMPARE(focused(t), QStringLiteral("txtBookID"));

    scan(t, "txtReaderID", typed);
    QCOMPARE(hints(t), prompts);
    QCOMPARE(text(t, "txtReaderName"), name);
    QCOMPARE(text(t, "lblLendCount"), count);
    QCOMPARE(t.control<QTableView>(kMain, "dtgrdLendBook")->model()->rowCount(),
             count.endsWith('1') ? 1 : 0);
}

void LendingTest::bookLookup_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("book");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("details");
    QTest::addColumn<bool>("lendEnabled");

    // Before each row B1004 was looked up for reader 001 and the lend button was on.
    const QStringList b1004 = {"三体", "59.70", "文学", "人民文学出版社", "1606"};
    const QStringList none = {"", "", "", "", ""};
    QTest::newRow("both empty") << ""
                                << "" << QStringList{"请先输入读者编号"} << b1004 << true;
    QTest::newRow("reader empty") << ""
                                  << "B1002" << QStringList{"请先输入读者编号"} << b1004 << true;
    QTest::newRow("book empty") << "001"
                                << "" << QStringList{"请先输入书籍编号"} << b1004 << true;
    QTest::newRow("unknown") << "001"
                             << "B9999" << QStringList{"没有该书信息!"} << none << true;
    QTest::newRow("category gone") << "001"
                                   << "B2001" << QStringList{"没有该书信息!"} << none << true;
    QTest::newRow("title missing")
        << "001"
        << "B2002" << QStringList{"该书的书籍名称为空,请先在书库管理中补全!"} << none << true;
    QTest::newRow("lent") << "001"
                          << "B1002" << QStringList{"该书已经借出,请选择其它图书!"}
                          << QStringList{"围城", "59.70", "文学", "人民文学出版社", "1606"}
                          << false;
    QTest::newRow("open loan, flag not set")
        << "001"
        << "B1003" << QStringList{"该书已经借出,请选择其它图书!"}
        << QStringList{"平凡的世界", "59.70", "文学", "人民文学出版社", "1606"} << false;
    QTest::newRow("in") << "001"
                        << "B1005" << QStringList{}
                        << QStringList{"万历十五年", "59.70", "历史、地理", "人民文学出版社",
                                       "1606"}
                        << true;
}

void LendingTest::bookLookup()
{
    QFETCH(QString, reader);
    QFETCH(QString, book);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, details);
    QFETCH(bool, lendEnabled);

    TestApp t;
    seedLibrary(t);
    addBook(t, "B2001", "无类别的书", "W");
    addBook(t, "B2002", QVariant());
    addLoan(t, "002", "B1002", "2026-12-01");
    t.exec("insert into lentInfo (读者编号,书籍编号,借书日期) values ('003','B1003','2026-12-02')");
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1004");
    QCOMPARE(hints(t), QStringList{});
    QCOMPARE(focused(t), QStringLiteral("cmdLendBook"));

    t.type(kMain, "txtReaderID", reader);
    scan(t, "txtBookID", book);
    QCOMPARE(hints(t), prompts);
    QCOMPARE(bookBoxes(t), details);
    QCOMPARE(enabled(t, "cmdLendBook"), lendEnabled);
}

void LendingTest::lendRecordsTheLoanAndKeepsTheReader()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-12-01");
    t.login();
    // A lending date picked in the past is the loan's date.
    t.control<QDateEdit>(kMain, "dtpLendDate")->setDate(QDate(2026, 11, 30));
    lend(t, "001", "B1004");
    QCOMPARE(hints(t), kLent);
    QCOMPARE(t.scalar("select 借书日期 from lentInfo where 书籍编号='B1004' and 读者编号='001'"
                      " and 还书日期 is null and 超出天数 is null and 罚款金额 is null"),
             QVariant("2026-11-30"));
    QVERIFY(lentFlag(t, "B1004"));
    QCOMPARE(text(t, "txtBookID"), QString());
    QCOMPARE(bookBoxes(t), QStringList({"", "", "", "", ""}));
    QCOMPARE(text(t, "txtReaderID"), QStringLiteral("001"));
    QCOMPARE(text(t, "txtReaderName"), QStringLiteral("张伟"));
    QCOMPARE(focused(t), QStringLiteral("txtBookID"));
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:2"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("3"));
    const QAbstractItemModel *grid = t.control<QTableView>(kMain, "dtgrdLendBook")->model();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->index(1, 2).data().toString(), QStringLiteral("B1004"));
    QCOMPARE(grid->index(1, 7).data().toString(), QStringLiteral("2026-11-30"));

    // The next book for the same reader needs only its number.
    scan(t, "txtBookID", "B1003");
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), kLent);
    QCOMPARE(openLoans(t, "B1003"), 1);
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:3"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("2"));
}

void LendingTest::limit_data()
{
    QTest::addColumn<int>("bookLimit");
    QTest::addColumn<int>("openBefore");
    QTest::addColumn<QString>("remainShown");

    QTest::newRow("one below the limit") << 3 << 2 << "1";
    QTest::newRow("exactly at the limit") << 2 << 2 << "0";
    QTest::newRow("limit lowered below the loans") << 1 << 2 << "-1";
    QTest::newRow("limit of nothing") << 0 << 0 << "0";
}

void LendingTest::limit()
{
    QFETCH(int, bookLimit);
    QFETCH(int, openBefore);
    QFETCH(QString, remainShown);

    TestApp t;
    seedLibrary(t);
    setRules(t, bookLimit, 0.1);
    for (int i = 0; i < openBefore; ++i)
        addLoan(t, "001", QStringLiteral("B100%1").arg(i + 1), "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblRemain"), remainShown);

    if (remainShown.toInt() > 0) {
        scan(t, "txtBookID", "B1004");
        t.click(kMain, "cmdLendBook");
        QCOMPARE(hints(t), kLent);
        QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));
    }
    const QString counted = text(t, "lblLendCount");
    const QString before = snapshot(t);
    scan(t, "txtBookID", "B1005");
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), QStringList{kFull});
    QCOMPARE(snapshot(t), before);
    for (const QString &box : QStringList{"txtReaderID", "txtReaderName", "txtBookID"} + kBookBoxes)
        QVERIFY2(text(t, box).isEmpty(), qPrintable(box));
    QCOMPARE(text(t, "lblLendCount"), counted);
    QVERIFY(text(t, "lblRemain").toInt() <= 0);
    QCOMPARE(focused(t), QStringLiteral("txtReaderID"));
}

void LendingTest::lendChecksAgainAtTheMoment_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<bool>("lendEnabled");

    // Each row: reader 001 and book B1004 were looked up; then this happened before the click.
    QTest::newRow("reader number edited") << "reader 009" << QStringList{"没有该读者信息!"} << true;
    QTest::newRow("reader number emptied") << "reader " << QStringList{"请先输入读者编号!"} << true;
    QTest::newRow("book number edited") << "book B9999" << QStringList{"没有该书信息!"} << true;
    QTest::newRow("book number emptied") << "book " << QStringList{"没有该书信息!"} << true;
    QTest::newRow("book lent meanwhile")
        << "flag" << QStringList{"该书已经借出,请选择其它图书!"} << false;
    QTest::newRow("open loan without the flag")
        << "loan" << QStringList{"该书已经借出,请选择其它图书!"} << false;
    QTest::newRow("reader typed now is full") << "reader 002" << QStringList{kFull} << true;
    QTest::newRow("limit lowered meanwhile") << "limit 0" << QStringList{kFull} << true;
    QTest::newRow("limit past a book count")
        << "limit 40000" << QStringList{"借出册数设定不正确,请先在基本设置中改正!"} << true;
    QTest::newRow("limit cleared meanwhile")
        << "limit null" << QStringList{"没有设定借出册数,请先在基本设置中设定!"} << true;
    // A book the lookup would not find, or not show whole, is not lent either: its loan would
    // never be listed, counted or returned.
    QTest::newRow("book's category gone") << "category" << QStringList{"没有该书信息!"} << true;
    QTest::newRow("book's publisher gone")
        << "publisher" << QStringList{"该书的出版社为空,请先在书库管理中补全!"} << true;
}

void LendingTest::lendChecksAgainAtTheMoment()
{
    QFETCH(QString, meanwhile);
    QFETCH(QStringList, prompts);
    QFETCH(bool, lendEnabled);

    TestApp t;
    seedLibrary(t);
    setRules(t, 2, 0.1);
    addLoan(t, "002", "B1001", "2026-12-01");
    addLoan(t, "002", "B1002", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1004");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("2"));

    const QString what = meanwhile.section(' ', 0, 0);
    const QString value = meanwhile.section(' ', 1);
    if (what == "reader")
        t.type(kMain, "txtReaderID", value);
    else if (what == "book")
        t.type(kMain, "txtBookID", value);
    else if (what == "flag")
        t.exec("update bookInfo set 是否借出=1 where 书籍编号='B1004'");
    else if (what == "loan")
        t.exec("insert into lentInfo (读者编号,书籍编号,借书日期) values "
               "('003','B1004','2026-12-06')");
    else if (what == "limit")
        setRules(t, value == "null" ? QVariant() : QVariant(value.toInt()), 0.1);
    else if (what == "category")
        t.exec("delete from bookType where 类别代码='I'");
    else if (what == "publisher")
        t.exec("update bookInfo set 出版社=null where 书籍编号='B1004'");

    const QString before = snapshot(t);
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), prompts);
    QCOMPARE(snapshot(t), before);
    QCOMPARE(enabled(t, "cmdLendBook"), lendEnabled);
}

void LendingTest::counterAtZeroRefusesWhoeverIsTyped()
{
    TestApp t;
    seedLibrary(t);
    setRules(t, 2, 0.1);
    addLoan(t, "002", "B1001", "2026-12-01");
    addLoan(t, "002", "B1002", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "002");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));
    hints(t);
    // Another reader's number typed without a lookup: the counters still say "full".
    t.type(kMain, "txtReaderID", "001");
    t.type(kMain, "txtBookID", "B1004");
    const QString before = snapshot(t);
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), QStringList{kFull});
    QCOMPARE(snapshot(t), before);
    for (const char *box : {"txtReaderID", "txtReaderName", "txtBookID", "txtBookName"})
        QVERIFY2(text(t, box).isEmpty(), box);
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));
}

void LendingTest::unreadableRulesAreAnEngineFailure()
{
    TestApp t;
    seedLibrary(t);
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1004");
    hints(t);
    t.exec("alter table basicSet rename to basicSetGone");
    t.click(kMain, "cmdLendBook");
    const QStringList shown = hints(t);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QString::fromUtf8("数据库操作失败,没有做任何改动。")),
             qPrintable(shown.first()));
    QCOMPARE(openLoans(t, "B1004"), 0);
    QVERIFY(!lentFlag(t, "B1004"));
}

void LendingTest::limitCountsOnlyListedLoans()
{
    TestApp t;
    seedLibrary(t);
    setRules(t, 2, 0.1);
    addBook(t, "B2001", "失散的书", "I");
    addLoan(t, "001", "B1001", "2026-12-01");                // listed and counted
    addLoan(t, "001", "B2001", "2026-12-01");                // its book is gone
    addLoan(t, "001", "B1005", "2026-12-01");                // its category is gone
    addLoan(t, "001", "B1006", "2026-11-01", "2026-11-20");  // returned
    t.exec("delete from bookInfo where 书籍编号='B2001'");
    t.exec("delete from bookType where 类别代码='K'");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:1"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("1"));
    QCOMPARE(t.control<QTableView>(kMain, "dtgrdLendBook")->model()->rowCount(), 1);

    scan(t, "txtBookID", "B1004");
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), kLent);
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));
}

void LendingTest::ruleChangeAppliesAtTheNextLookup()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("4"));
    setRules(t, 8, 0.1);
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("7"));
    setRules(t, QVariant(), 0.1);
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:1"));
    QCOMPARE(text(t, "lblRemain"), QString());
    QCOMPARE(hints(t), QStringList{});
}

void LendingTest::scannerLendsTenBooksWithoutTheMouse()
{
    TestApp t;
    seedLibrary(t);
    setRules(t, 10, 0.1);
    for (int i = 1; i <= 10; ++i)
        addBook(t, QStringLiteral("C%1").arg(i, 3, 10, QChar('0')),
                QStringLiteral("丛书第%1册").arg(i));
    t.login();
    QWidget *main = t.window(kMain);
    QVERIFY(main);
    QCOMPARE(focused(t), QStringLiteral("txtReaderID"));

    // The scanner types into whatever has the focus and ends with Enter; the clerk confirms
    // each book with Enter (keypad or main keyboard).
    const auto scanHere = [&](const QString &code, Qt::Key enter) {
        QTest::keyClicks(main->focusWidget(), code);
        QTest::keyClick(main->focusWidget(), enter);
    };
    scanHere("002", Qt::Key_Enter);
    QCOMPARE(text(t, "txtReaderName"), QStringLiteral("李娜"));
    for (int i = 1; i <= 10; ++i) {
        const QString code = QStringLiteral("C%1").arg(i, 3, 10, QChar('0'));
        QCOMPARE(focused(t), QStringLiteral("txtBookID"));
        scanHere(code, i % 2 ? Qt::Key_Return : Qt::Key_Enter);
        QCOMPARE(focused(t), QStringLiteral("cmdLendBook"));
        QTest::keyClick(main->focusWidget(), i % 2 ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(openLoans(t, code), 1);
    }
    QCOMPARE(hints(t), QStringList(10, kLent.first()));
    QCOMPARE(t.scalar("select count(*) from lentInfo where 读者编号='002'").toInt(), 10);
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:10"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));

    // The eleventh is refused and the next reader's number is awaited.
    scanHere("B1004", Qt::Key_Return);
    QTest::keyClick(main->focusWidget(), Qt::Key_Return);
    QCOMPARE(hints(t), QStringList{kFull});
    QCOMPARE(focused(t), QStringLiteral("txtReaderID"));
    QCOMPARE(openLoans(t, "B1004"), 0);
}

void LendingTest::newReaderCommandOpensTheAddView()
{
    TestApp t;
    t.login();
    t.type(kMain, "txtReaderID", "042");
    t.click(kMain, "cmdReaderInfo");
    QVERIFY(t.window("FrmReader"));
    // The add view, starting with the number typed here.
    QVERIFY(t.control<QWidget>("FrmReader", "Command3")->isVisible());
    QVERIFY(!t.control<QWidget>("FrmReader", "Command1")->isVisible());
    QCOMPARE(t.text("FrmReader", "txtReaderNo"), QString("042"));
    QVERIFY(t.prompter().shown().isEmpty());
    // The add view: the typed number, and only the add and exit buttons.
    QCOMPARE(t.text("FrmReader", "txtReaderNo"), QStringLiteral("042"));
    for (const char *button : {"Command1", "Command2", "Command7", "Command5", "Command6"})
        QVERIFY2(!t.control<QWidget>("FrmReader", button)->isVisibleTo(t.window("FrmReader")),
                 button);
    for (const char *button : {"Command3", "Command4"})
        QVERIFY2(t.control<QWidget>("FrmReader", button)->isVisibleTo(t.window("FrmReader")),
                 button);
}

void LendingTest::countsAreNotReadBackFromTheLabel_data()
{
    QTest::addColumn<int>("bookLimit");
    QTest::addColumn<QString>("labelSays");
    QTest::addColumn<QStringList>("prompts");

    QTest::newRow("room left, label says none") << 5 << "0" << kLent;
    QTest::newRow("none left, label says room") << 1 << "4" << QStringList{kFull};
}

void LendingTest::countsAreNotReadBackFromTheLabel()
{
    QFETCH(int, bookLimit);
    QFETCH(QString, labelSays);
    QFETCH(QStringList, prompts);
    TestApp t;
    seedLibrary(t);
    setRules(t, bookLimit, 0.1);
    addLoan(t, "001", "B1001", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1004");
    t.control<QLabel>(kMain, "lblRemain")->setText(labelSays);
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), prompts);
}

LENDORA_TEST_CLASS(LendingTest)
#include "tst_lending.moc"
