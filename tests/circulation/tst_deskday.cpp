#include "Desk.h"
#include "TestMain.h"

#include <QDateEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

using namespace desk;

// One day at the desk, as the clerk lives it, and the books' lent flags at closing time.
class DeskDayTest : public QObject {
    Q_OBJECT

private slots:
    void wholeDeskDay();
};

void DeskDayTest::wholeDeskDay()
{
    TestApp t(QDate(2026, 12, 7));
    addReader(t, "001", "张伟");
    addReader(t, "002", "李娜");
    addReader(t, "003", "王芳");
    const QStringList titles = {"红楼梦",   "围城",     "平凡的世界", "三体", "万历十五年",
                                "乡土中国", "算法导论", "活着",       "边城", "呐喊"};
    for (int i = 0; i < titles.size(); ++i)
        addBook(t, QStringLiteral("D%1").arg(i + 1, 2, 10, QChar('0')), titles[i],
                i == 4 ? "K" : "I");
    t.exec("update bookType set 借出天数=14 where 类别代码='K'");
    setRules(t, 3, 0.5);
    t.login();
    auto *lendDate = t.control<QDateEdit>(kMain, "dtpLendDate");
    const auto lend = [&](const QString &book) {
        scan(t, "txtBookID", book);
        t.click(kMain, "cmdLendBook");
    };
    const auto takeBack = [&](const QString &reader, const QString &book) {
        scan(t, "txtReadIDReturn", reader);
        scan(t, "txtBookIDReturn", book);
        const QString fine = text(t, "txtFakuan");
        t.click(kMain, "cmdReturn");
        return fine;
    };

    // First thing: yesterday's slips from the night desk, entered with their own dates.
    lendDate->setDate(QDate(2026, 10, 20));
    scan(t, "txtReaderID", "001");
    lend("D01");
    lend("D05");
    lendDate->setDate(QDate(2026, 11, 20));
    scan(t, "txtReaderID", "002");
    lend("D03");
    lendDate->setDate(QDate(2026, 12, 7));

    // 王芳 takes three books, the most she may hold, and is refused a fourth.
    scan(t, "txtReaderID", "003");
    lend("D04");
    lend("D06");
    lend("D07");
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("0"));
    lend("D08");
    QCOMPARE(text(t, "txtReaderID"), QString());

    // 李娜 wants a book 王芳 holds, then takes two others.
    scan(t, "txtReaderID", "002");
    lend("D04");
    QVERIFY(!enabled(t, "cmdLendBook"));
    lend("D08");
    lend("D09");
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:3"));

    // 张伟 brings back two overdue books: 48 days against 30, and 48 against 14.
    showTab(t, Return);
    QCOMPARE(takeBack("001", "D01"), QStringLiteral("9"));
    QCOMPARE(takeBack("001", "D05"), QStringLiteral("17"));
    // 王芳 changes her mind about one book: back the same day, no fine.
    QCOMPARE(takeBack("003", "D06"), QStringLiteral("0"));
    // A book that never went out.
    scan(t, "txtReadIDReturn", "003");
    scan(t, "txtBookIDReturn", "D10");

    // 李娜 renews the book she has had since November.
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    auto *grid = t.control<QTableView>(kMain, "dtgrdLendBookRenew");
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        if (grid->model()->index(r, 2).data().toString() == "D03")
            grid->selectRow(r);
    }
    QCOMPARE(text(t, "txtBookIDRenew"), QStringLiteral("D03"));
    t.click(kMain, "cmdOK");

    // 张伟, with room again, takes the returned 万历十五年 home.
    showTab(t, Lending);
    scan(t, "txtReaderID", "001");
    lend("D05");

    QCOMPARE(hints(t),
             QStringList({"借出完毕!", "借出完毕!", "借出完毕!", "借出完毕!", "借出完毕!",
                          "借出完毕!", "您的书已经借满,不能再借!", "该书已经借出,请选择其它图书!",
                          "借出完毕!", "借出完毕!", "归还完毕!", "归还完毕!", "归还完毕!",
                          "没有该书信息!", "续借完毕!", "借出完毕!"}));

    // Closing time: every book is marked lent exactly while it has an open loan.
    QSqlQuery books(t.db());
    QVERIFY(books.exec("select 书籍编号, 是否借出 from bookInfo order by 书籍编号"));
    QStringList out;
    while (books.next()) {
        const QString book = books.value(0).toString();
        QCOMPARE(books.value(1).toInt() != 0, openLoans(t, book) == 1);
        QVERIFY2(openLoans(t, book) <= 1, qPrintable(book));
        if (openLoans(t, book))
            out << book;
    }
    QCOMPARE(out, QStringList({"D03", "D04", "D05", "D07", "D08", "D09"}));
    QCOMPARE(t.scalar("select sum(罚款金额) from lentInfo").toDouble(), 26.0);
    QCOMPARE(t.scalar("select 借书日期 from lentInfo where 书籍编号='D03'"),
             QVariant("2026-12-07"));
    QCOMPARE(t.scalar("select count(*) from lentInfo").toInt(), 9);
}

LENDORA_TEST_CLASS(DeskDayTest)
#include "tst_deskday.moc"
