// The desk together with the windows the menu opens: rules, readers, books.
#include "Desk.h"
#include "TestMain.h"

#include <QTableView>

using namespace desk;

class OtherWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void savedRulesApplyToTheNextLookups();
    void readerWindowRefreshesTheLendingReader();
    void readerWithABookOnLoanCannotBeDeleted();
    void newBookCanBeLentAtOnce();
};

void OtherWindowsTest::savedRulesApplyToTheNextLookups()
{
    TestApp t(QDate(2026, 12, 7));
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-04");  // 33 days: 3 overdue with 30-day loans
    addLoan(t, "001", "B1002", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("3"));
    hints(t);

    t.trigger("mnuSetBasic");
    t.type("FrmBasicSet", "txtBook", "3");
    t.type("FrmBasicSet", "txtFakuan", "0.5");
    t.click("FrmBasicSet", "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("设置完毕!")});
    hints(t);

    // No restart: the very next lookups use the new rules.
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("1"));
    showTab(t, Return);
    scan(t, "txtReadIDReturn", "001");
    scan(t, "txtBookIDReturn", "B1001");
    QCOMPARE(text(t, "txtDayCount"), QStringLiteral("3"));
    QCOMPARE(text(t, "txtFakuan"), QStringLiteral("1.5"));
    t.click(kMain, "cmdReturn");
    QCOMPARE(hints(t), QStringList{QString::fromUtf8("归还完毕!")});
    QCOMPARE(t.scalar("select 罚款金额 from lentInfo where 书籍编号='B1001'").toDouble(), 1.5);
}

void OtherWindowsTest::readerWindowRefreshesTheLendingReader()
{
    TestApp t;
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-12-01");
    addLoan(t, "002", "B1002", "2026-12-01");
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblLendCount"), QString::fromUtf8("已借图书册数:1"));

    // Lent meanwhile on another day's paper: the next refresh shows it.
    addLoan(t, "001", "B1003", "2026-12-02");
    t.trigger("meuReaderSet");
    t.type("FrmReader", "txtReaderNo", "002");
    t.enter("FrmReader", "txtReaderNo");
    QCOMPARE(t.text("FrmReader", "txtReaderName"), QString::fromUtf8("李娜"));
    // The refresh follows the lending tab's reader, not the one found in the reader window.
    QCOMPARE(text(t, "lblLendCount"), QString::fromUtf8("已借图书册数:2"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("3"));
    auto *grid = t.control<QTableView>(kMain, "dtgrdLendBook");
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("001"));
}

void OtherWindowsTest::readerWithABookOnLoanCannotBeDeleted()
{
    TestApp t;
    seedLibrary(t);
    t.login();
    scan(t, "txtReaderID", "003");
    scan(t, "txtBookID", "B1004");
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), QStringList{QString::fromUtf8("借出完毕!")});

    t.trigger("meuReaderSet");
    t.type("FrmReader", "txtReaderNo", "003");
    t.click("FrmReader", "Command6");
    QCOMPARE(hints(t), QStringList{QString::fromUtf8("该读者尚有未还图书,不能删除!")});
    QCOMPARE(t.scalar("select count(*) from readerInfo where 读者编号='003'").toInt(), 1);

    // Once the book is back the reader can go; the returned loan stays on record.
    showTab(t, Return);
    scan(t, "txtReadIDReturn", "003");
    scan(t, "txtBookIDReturn", "B1004");
    t.click(kMain, "cmdReturn");
    hints(t);
    t.click("FrmReader", "Command6");
    QCOMPARE(hints(t), QStringList{QString::fromUtf8("编号003读者已删除!")});
    QCOMPARE(t.scalar("select count(*) from readerInfo where 读者编号='003'").toInt(), 0);
    QCOMPARE(t.scalar("select count(*) from lentInfo where 读者编号='003'").toInt(), 1);
    QVERIFY(!lentFlag(t, "B1004"));
}

void OtherWindowsTest::newBookCanBeLentAtOnce()
{
    TestApp t;
    seedLibrary(t);
    t.login();
    t.trigger("meuAddNewBook");
    t.type("FrmAddnew", "txtBookID", "B2001");
    t.type("FrmAddnew", "txtBookName", "呐喊");
    t.type("FrmAddnew", "cboType", "I-文学");
    t.type("FrmAddnew", "txtBookPrice", "22");
    t.click("FrmAddnew", "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("新书添加完毕")});
    t.prompter().clear();

    scan(t, "txtReaderID", "002");
    scan(t, "txtBookID", "B2001");
    QCOMPARE(text(t, "txtBookName"), QString::fromUtf8("呐喊"));
    QCOMPARE(text(t, "txtBookLeibie"), QString::fromUtf8("文学"));
    QCOMPARE(text(t, "txtBookConcern"), QString::fromUtf8("不详"));
    t.click(kMain, "cmdLendBook");
    QCOMPARE(hints(t), QStringList{QString::fromUtf8("借出完毕!")});
    QVERIFY(lentFlag(t, "B2001"));
    QCOMPARE(openLoans(t, "B2001"), 1);
}

LENDORA_TEST_CLASS(OtherWindowsTest)
#include "tst_otherwindows.moc"
