#include "Desk.h"
#include "PdfText.h"
#include "TestMain.h"
#include "core/circulation/OverdueList.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QTableView>
#include <QtTest>

using namespace desk;
using lendora::OverdueList;

namespace {
const QString kOverdue = QStringLiteral("FrmOverdue");
const QString kNoPeriod = QStringLiteral("该书类别没有设定有效的借出天数");

// Four readers in two departments; loans of 30-day books (I, K), 14-day books (O) and books of
// a category without a loan period (Z). On 2026-12-06:
//   B1001 lent 11-06: due today          B1002 lent 11-07: due tomorrow
//   B1003 lent 11-05: one day past       B1009 lent 11-05: one day past, reader 001
//   B1004 lent 10-01: 36 days past       B1005 lent 09-01, renewed to 10-26: 11 days past
//   B1006 lent 11-20, 14 days: 2 past    B1007 lent 12-01, no loan period
//   B1008 lent 09-01, returned 10-15
void seedOverdue(TestApp &t)
{
    const struct {
        const char *id, *name, *phone, *dept;
    } readers[] = {{"001", "张伟", "13800000001", "中文系"},
                   {"002", "李娜", "13800000002", "物理系"},
                   {"003", "王芳", "13800000003", "中文系"},
                   {"004", "赵强", "13800000004", "物理系"}};
    for (const auto &r : readers)
        t.exec("insert into readerInfo values (?,?,?,?,?)", {r.id, r.name, "女", r.phone, r.dept});
    t.exec("update bookType set 借出天数=14 where 类别代码='O'");
    t.exec("update bookType set 借出天数=null where 类别代码='Z'");
    const struct {
        const char *book, *category, *reader, *lent, *returned;
    } loans[] = {
        {"B1001", "I", "001", "2026-11-06", nullptr},
        {"B1002", "I", "001", "2026-11-07", nullptr},
        {"B1003", "I", "002", "2026-11-05", nullptr},
        {"B1004", "I", "003", "2026-10-01", nullptr},
        {"B1005", "K", "002", "2026-09-01", nullptr},
        {"B1006", "O", "004", "2026-11-20", nullptr},
        {"B1007", "Z", "004", "2026-12-01", nullptr},
        {"B1008", "I", "003", "2026-09-01", "2026-10-15"},
        {"B1009", "I", "001", "2026-11-05", nullptr},
    };
    for (const auto &l : loans) {
        addBook(t, l.book, QStringLiteral("书") + l.book, l.category);
        addLoan(t, l.reader, l.book, l.lent, l.returned ? QVariant(l.returned) : QVariant());
    }
    // The renewal's own write: the lending date moves.
    t.exec("update lentInfo set 借书日期='2026-10-26' where 书籍编号='B1005' and 还书日期 is null");
}

QTableView *grid(TestApp &t)
{
    return t.control<QTableView>(kOverdue, "DataGrid1");
}

QString cell(TestApp &t, int row, int column)
{
    const QAbstractItemModel *m = grid(t)->model();
    return m->data(m->index(row, column)).toString();
}

// Reader, book, lent, due, days, fine and note of every row, in order.
QStringList listed(TestApp &t)
{
    QStringList rows;
    for (int row = 0; row < grid(t)->model()->rowCount(); ++row) {
        QStringList cells;
        for (int column : {0, 4, 6, 7, 8, 9, 10})
            cells << cell(t, row, column);
        rows << cells.join('|');
    }
    return rows;
}

void openList(TestApp &t)
{
    t.login();
    if (QWidget *tips = t.window("FrmHelp"))
        tips->close();
    t.trigger("mnuOverdue");
    QVERIFY(t.window(kOverdue));
}
}  // namespace

class OverdueTest : public QObject {
    Q_OBJECT

private slots:
    void list_data();
    void list();
    void rowsGoneSince_data();
    void rowsGoneSince();
    void columnsAndDefaults();
    void enterAndDateRunTheList();
    void returnTabChargesWhatTheListShows();
    void exportWritesTheGrid_data();
    void exportWritesTheGrid();
    void printNotices_data();
    void printNotices();
    void firstRowsBeginTheList_data();
    void firstRowsBeginTheList();
};

void OverdueTest::list_data()
{
    QTest::addColumn<QDate>("asOf");
    QTest::addColumn<QString>("dept");
    QTest::addColumn<QString>("minDays");
    QTest::addColumn<QVariant>("finePerDay");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("totals");

    const QDate dec6(2026, 12, 6);
    const QString problem = "004|B1007|2026-12-01||||" + kNoPeriod;
    QTest::newRow("every department, 0.1 a day")
        << dec6 << ""
        << "1" << QVariant(0.1) << QStringList{"003|B1004|2026-10-01|2026-10-31|36|3.6|",
                                               "002|B1005|2026-10-26|2026-11-25|11|1.1|",
                                               "004|B1006|2026-11-20|2026-12-04|2|0.2|",
                                               "001|B1009|2026-11-05|2026-12-05|1|0.1|",
                                               "002|B1003|2026-11-05|2026-12-05|1|0.1|",
                                               problem}
        << "读者 4 人,图书 6 册,罚款合计 5.1 元";
    QTest::newRow("the rule changed to half a yuan")
        << dec6 << ""
        << "1" << QVariant(0.5) << QStringList{"003|B1004|2026-10-01|2026-10-31|36|18|",
                                               "002|B1005|2026-10-26|2026-11-25|11|5.5|",
                                               "004|B1006|2026-11-20|2026-12-04|2|1|",
                                               "001|B1009|2026-11-05|2026-12-05|1|0.5|",
                                               "002|B1003|2026-11-05|2026-12-05|1|0.5|",
                                               problem}
        << "读者 4 人,图书 6 册,罚款合计 25.5 元";
    QTest::newRow("a day later the loan due today is overdue")
        << dec6.addDays(1) << ""
        << "1" << QVariant(0.1)
        << QStringList{"003|B1004|2026-10-01|2026-10-31|37|3.7|",
                       "002|B1005|2026-10-26|2026-11-25|12|1.2|",
                       "004|B1006|2026-11-20|2026-12-04|3|0.3|",
                       "001|B1009|2026-11-05|2026-12-05|2|0.2|",
                       "002|B1003|2026-11-05|2026-12-05|2|0.2|",
                       "001|B1001|2026-11-06|2026-12-06|1|0.1|",
                       problem}
        << "读者 4 人,图书 7 册,罚款合计 5.7 元";
    QTest::newRow("one department")
        << dec6 << "物理系"
        << "1" << QVariant(0.1)
        << QStringList{"002|B1005|2026-10-26|2026-11-25|11|1.1|",
                       "004|B1006|2026-11-20|2026-12-04|2|0.2|",
                       "002|B1003|2026-11-05|2026-12-05|1|0.1|", problem}
        << "读者 2 人,图书 4 册,罚款合计 1.4 元";
    // Lent on the earliest date any category can be a day overdue at.
    QTest::newRow("a 14-day book one day past")
        << dec6.addDays(-1) << "物理系"
        << "1" << QVariant(0.1)
        << QStringList{"002|B1005|2026-10-26|2026-11-25|10|1|",
                       "004|B1006|2026-11-20|2026-12-04|1|0.1|", problem}
        << "读者 2 人,图书 3 册,罚款合计 1.1 元";
    QTest::newRow("a department matches whole")
        << dec6 << "物理"
        << "1" << QVariant(0.1) << QStringList{} << "读者 0 人,图书 0 册,罚款合计 0 元";
    QTest::newRow("at least two days")
        << dec6 << ""
        << "2" << QVariant(0.1)
        << QStringList{"003|B1004|2026-10-01|2026-10-31|36|3.6|",
                       "002|B1005|2026-10-26|2026-11-25|11|1.1|",
                       "004|B1006|2026-11-20|2026-12-04|2|0.2|", problem}
        << "读者 3 人,图书 4 册,罚款合计 4.9 元";
    QTest::newRow("at least 12 days, one department")
        << dec6 << "中文系"
        << "12" << QVariant(0.1) << QStringList{"003|B1004|2026-10-01|2026-10-31|36|3.6|"}
        << "读者 1 人,图书 1 册,罚款合计 3.6 元";
    QTest::newRow("an empty minimum is one day")
        << dec6 << "中文系"
        << "" << QVariant(0.1)
        << QStringList{"003|B1004|2026-10-01|2026-10-31|36|3.6|",
                       "001|B1009|2026-11-05|2026-12-05|1|0.1|"}
        << "读者 2 人,图书 2 册,罚款合计 3.7 元";
    // Nothing can be charged: every open loan is listed, the one without a loan period says so.
    const QString noFine = QStringLiteral("||没有设定有效的罚款金额");
    QTest::newRow("no fine rule") << dec6 << ""
                                  << "1" << QVariant()
                                  << QStringList{"001|B1001|2026-11-06|2026-12-06|" + noFine,
                                                 "001|B1002|2026-11-07|2026-12-07|" + noFine,
                                                 "001|B1009|2026-11-05|2026-12-05|" + noFine,
                                                 "002|B1003|2026-11-05|2026-12-05|" + noFine,
                                                 "002|B1005|2026-10-26|2026-11-25|" + noFine,
                                                 "003|B1004|2026-10-01|2026-10-31|" + noFine,
                                                 "004|B1006|2026-11-20|2026-12-04|" + noFine,
                                                 problem}
                                  << "读者 4 人,图书 8 册,罚款合计 0 元";
    // B1007 was not lent yet, so its missing loan period does not list it.
    QTest::newRow("before any loan was due")
        << QDate(2026, 10, 30) << ""
        << "1" << QVariant(0.1) << QStringList{} << "读者 0 人,图书 0 册,罚款合计 0 元";
}

void OverdueTest::list()
{
    QFETCH(QDate, asOf);
    QFETCH(QString, dept);
    QFETCH(QString, minDays);
    QFETCH(QVariant, finePerDay);
    QFETCH(QStringList, rows);
    QFETCH(QString, totals);

    TestApp t;
    seedOverdue(t);
    openList(t);
    // Changed while the window is open: the next query charges the new rule.
    setRules(t, 5, finePerDay);
    t.control<QDateEdit>(kOverdue, "dtpAsOf")->setDate(asOf);
    t.type(kOverdue, "cboDept", dept);
    t.type(kOverdue, "txtMinDays", minDays);
    t.click(kOverdue, "cmdFind");

    QCOMPARE(listed(t), rows);
    QCOMPARE(t.text(kOverdue, "lblTotals"), totals);
    QVERIFY(t.prompter().shown().isEmpty());
}

void OverdueTest::rowsGoneSince_data()
{
    QTest::addColumn<QStringList>("deletions");  // run on the seeded library
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("name");  // 读者姓名 and 书籍名称 of the changed loan's row
    QTest::addColumn<QString>("totals");
    QTest::addColumn<QStringList>("pages");  // reader number, then their books, per notice

    const QString b1004 = "003|B1004|2026-10-01|2026-10-31|36|3.6|";
    const QStringList middle{
        "002|B1005|2026-10-26|2026-11-25|11|1.1|", "004|B1006|2026-11-20|2026-12-04|2|0.2|",
        "001|B1009|2026-11-05|2026-12-05|1|0.1|", "002|B1003|2026-11-05|2026-12-05|1|0.1|"};
    const QString b1007 = "004|B1007|2026-12-01||||" + kNoPeriod;
    const QStringList pages{"001 B1009", "002 B1005 B1003", "003 B1004", "004 B1006"};
    QTest::newRow("all present") << QStringList{}
                                 << QStringList{b1004} + middle + QStringList{b1007}
                                 << "王芳 书B1004"
                                 << "读者 4 人,图书 6 册,罚款合计 5.1 元" << pages;
    // The loan period went with the book: no figures, on no notice, but listed.
    QTest::newRow("book deleted")
        << QStringList{"delete from bookInfo where 书籍编号='B1004'"}
        << middle + QStringList{"003|B1004|2026-10-01||||该书已从书库删除", b1007} << "王芳 "
        << "读者 4 人,图书 6 册,罚款合计 1.5 元,其中 1 册的读者、图书或类别已删除"
        << QStringList{"001 B1009", "002 B1005 B1003", "004 B1006"};
    QTest::newRow("category deleted")
        << QStringList{"delete from bookType where 类别代码='K'"}
        << QStringList{b1004,
                       "004|B1006|2026-11-20|2026-12-04|2|0.2|",
                       "001|B1009|2026-11-05|2026-12-05|1|0.1|",
                       "002|B1003|2026-11-05|2026-12-05|1|0.1|",
                       "002|B1005|2026-10-26||||该书的类别已删除",
                       b1007}
        << "王芳 书B1004"
        << "读者 4 人,图书 6 册,罚款合计 4 元,其中 1 册的读者、图书或类别已删除"
        << QStringList{"001 B1009", "002 B1003", "003 B1004", "004 B1006"};
    // The figures need no reader: the loan is charged, and its number still gets a notice.
    QTest::newRow("reader deleted")
        << QStringList{"delete from readerInfo where 读者编号='003'"}
        << QStringList{b1004 + "该读者已删除"} + middle + QStringList{b1007} << " 书B1004"
        << "读者 4 人,图书 6 册,罚款合计 5.1 元,其中 1 册的读者、图书或类别已删除" << pages;
    QTest::newRow("reader and book deleted")
        << QStringList{"delete from readerInfo where 读者编号='003'",
                       "delete from bookInfo where 书籍编号='B1004'"}
        << middle + QStringList{"003|B1004|2026-10-01||||该读者已删除；该书已从书库删除", b1007}
        << " "
        << "读者 4 人,图书 6 册,罚款合计 1.5 元,其中 1 册的读者、图书或类别已删除"
        << QStringList{"001 B1009", "002 B1005 B1003", "004 B1006"};
}

// A loan whose reader, book or category was deleted since is still out: listed with what is
// known of it, its 说明 saying what is gone, counted in the totals.
void OverdueTest::rowsGoneSince()
{
    QFETCH(QStringList, deletions);
    QFETCH(QStringList, rows);
    QFETCH(QString, name);
    QFETCH(QString, totals);
    QFETCH(QStringList, pages);

    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    for (const QString &deletion : deletions)
        t.exec(deletion);
    openList(t);
    QCOMPARE(listed(t), rows);
    QCOMPARE(t.text(kOverdue, "lblTotals"), totals);
    for (int row = 0; row < grid(t)->model()->rowCount(); ++row) {
        if (cell(t, row, 4) == "B1004")
            QCOMPARE(cell(t, row, 1) + " " + cell(t, row, 5), name);
    }

    t.click(kOverdue, "cmdPrint");
    QCOMPARE(t.printer().printed.size(), 1);
    const QStringList printed = lendora::testkit::pdfPages(t.printer().printed.first());
    QStringList shown;
    for (const QString &page : printed) {
        QStringList books{page.section("读者编号:", 1).section('\n', 0, 0).trimmed()};
        for (int b = 1001; b <= 1009; ++b) {
            if (page.contains(QString("B%1").arg(b)))
                books << QString("B%1").arg(b);
        }
        shown << books.join(' ');
    }
    QStringList expected;
    for (const QString &page : pages) {
        QStringList parts = page.split(' ');
        std::sort(parts.begin() + 1, parts.end());
        expected << parts.join(' ');
    }
    QCOMPARE(shown, expected);
    QVERIFY(t.prompter().shown().isEmpty());
}

void OverdueTest::columnsAndDefaults()
{
    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    openList(t);
    QCOMPARE(t.control<QDateEdit>(kOverdue, "dtpAsOf")->date(), QDate(2026, 12, 6));
    QCOMPARE(t.text(kOverdue, "txtMinDays"), "1");
    auto *depts = t.control<QComboBox>(kOverdue, "cboDept");
    QStringList entries;
    for (int i = 0; i < depts->count(); ++i)
        entries << depts->itemText(i);
    QCOMPARE(entries, (QStringList{"", "中文系", "物理系"}));

    // Today's list is shown at once, every column filled from its reader and book.
    QStringList headings, first;
    const QAbstractItemModel *m = grid(t)->model();
    for (int column = 0; column < m->columnCount(); ++column) {
        headings << m->headerData(column, Qt::Horizontal).toString();
        first << cell(t, 0, column);
    }
    QCOMPARE(headings,
             (QStringList{"读者编号", "读者姓名", "联系电话", "所在部门", "书籍编号", "书籍名称",
                          "借书日期", "应还日期", "超出天数", "应交罚款", "说明"}));
    QCOMPARE(first, (QStringList{"003", "王芳", "13800000003", "中文系", "B1004", "书B1004",
                                 "2026-10-01", "2026-10-31", "36", "3.6", ""}));
    QCOMPARE(t.text(kOverdue, "lblTotals"), "读者 4 人,图书 6 册,罚款合计 5.1 元");

    // Only digits go into the minimum.
    t.type(kOverdue, "txtMinDays", "1a-2");
    QCOMPARE(t.text(kOverdue, "txtMinDays"), "12");
}

void OverdueTest::enterAndDateRunTheList()
{
    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    openList(t);
    QCOMPARE(grid(t)->model()->rowCount(), 6);

    t.type(kOverdue, "cboDept", "中文系");
    QCOMPARE(grid(t)->model()->rowCount(), 6);  // typing alone does not query
    t.enter(kOverdue, "cboDept");
    QCOMPARE(grid(t)->model()->rowCount(), 2);
    QCOMPARE(t.control<QComboBox>(kOverdue, "cboDept")->count(), 3);  // nothing added

    t.type(kOverdue, "txtMinDays", "2");
    t.enter(kOverdue, "txtMinDays");
    QCOMPARE(listed(t), QStringList{"003|B1004|2026-10-01|2026-10-31|36|3.6|"});

    t.control<QDateEdit>(kOverdue, "dtpAsOf")->setDate(QDate(2026, 12, 7));
    QCOMPARE(listed(t), (QStringList{"003|B1004|2026-10-01|2026-10-31|37|3.7|",
                                     "001|B1009|2026-11-05|2026-12-05|2|0.2|"}));
    QCOMPARE(t.text(kOverdue, "lblTotals"), "读者 2 人,图书 2 册,罚款合计 3.9 元");

    t.click(kOverdue, "cmdClose");
    QTRY_VERIFY(!t.window(kOverdue));
    QVERIFY(t.prompter().shown().isEmpty());
}

void OverdueTest::returnTabChargesWhatTheListShows()
{
    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    setRules(t, 5, 0.3);
    openList(t);
    const int rows = grid(t)->model()->rowCount();
    QCOMPARE(rows, 6);
    showTab(t, Return);
    for (int row = 0; row < rows; ++row) {
        if (!cell(t, row, 10).isEmpty())
            continue;
        scan(t, "txtReadIDReturn", cell(t, row, 0));
        scan(t, "txtBookIDReturn", cell(t, row, 4));
        QCOMPARE(text(t, "txtDayCount"), cell(t, row, 8));
        QCOMPARE(text(t, "txtFakuan"), cell(t, row, 9));
    }
    QCOMPARE(hints(t), QStringList{});
}

void OverdueTest::exportWritesTheGrid_data()
{
    QTest::addColumn<QString>("answer");  // the file the clerk names; "" cancels
    QTest::addColumn<bool>("written");
    QTest::newRow("a file") << "out.csv" << true;
    QTest::newRow("cancelled") << "" << false;
    QTest::newRow("a folder that does not exist") << "no/such/folder/out.csv" << false;
}

void OverdueTest::exportWritesTheGrid()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    openList(t);
    t.prompter().clear();
    const QString path = answer.isEmpty() ? QString() : t.appDir() + "/" + answer;
    t.files().answerSave(path);
    t.click(kOverdue, "cmdExport");

    QFile file(path);
    QCOMPARE(!path.isEmpty() && file.exists(), written);
    QVERIFY(!QFile::exists(path + ".part"));
    if (!written) {
        QCOMPARE(t.prompter().texts(),
                 path.isEmpty() ? QStringList()
                                : QStringList{"无法写入文件 " + QDir::toNativeSeparators(path)
                                              + ",没有导出。"});
        return;
    }
    QCOMPARE(t.prompter().texts(),
             QStringList{"已导出 6 行到 " + QDir::toNativeSeparators(path) + "。"});
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    QCOMPARE(lines.size(), 8);  // the headings, six rows, and nothing after the last line end
    QCOMPARE(lines.at(0), "读者编号,读者姓名,联系电话,所在部门,书籍编号,书籍名称,借书日期,应还日期,"
                          "超出天数,应交罚款,说明");
    QCOMPARE(lines.at(1),
             "003,王芳,13800000003,中文系,B1004,书B1004,2026-10-01,2026-10-31,36,3.6,");
    QVERIFY(lines.at(7).isEmpty());
}

void OverdueTest::printNotices_data()
{
    QTest::addColumn<QDate>("asOf");
    QTest::addColumn<QString>("pickDept");       // rows of this department picked; "" none
    QTest::addColumn<QStringList>("pickBooks");  // and the rows of these books
    QTest::addColumn<bool>("succeed");
    QTest::addColumn<QStringList>("pages");  // reader number, then their books, per page
    QTest::addColumn<QString>("message");

    const QDate dec6(2026, 12, 6);
    const QStringList everyone{"001 B1009", "002 B1005 B1003", "003 B1004", "004 B1006"};
    QTest::newRow("nothing picked: every reader listed")
        << dec6 << "" << QStringList{} << true << everyone << "";
    // B1007 of reader 004 has no figures: 004's notice lists only B1006.
    QTest::newRow("the rows of one department")
        << dec6 << "物理系" << QStringList{} << true << QStringList{"002 B1005 B1003", "004 B1006"}
        << "";
    QTest::newRow("one row brings all of its reader's books")
        << dec6 << "" << QStringList{"B1003"} << true << QStringList{"002 B1005 B1003"} << "";
    QTest::newRow("two rows of one reader give one page")
        << dec6 << "" << QStringList{"B1003", "B1005"} << true << QStringList{"002 B1005 B1003"}
        << "";
    // The row without figures is on no notice, but it names its reader.
    QTest::newRow("a row without figures picked")
        << dec6 << "" << QStringList{"B1007"} << true << QStringList{"004 B1006"} << "";
    QTest::newRow("nothing overdue")
        << QDate(2026, 10, 30) << "" << QStringList{} << true << QStringList{}
        << "没有逾期未还图书的读者,不需要打印催还单。";
    QTest::newRow("not printed") << dec6 << "" << QStringList{} << false << QStringList{}
                                 << "催还单没有打印(已取消或打印失败)。";
}

void OverdueTest::printNotices()
{
    QFETCH(QDate, asOf);
    QFETCH(QString, pickDept);
    QFETCH(QStringList, pickBooks);
    QFETCH(bool, succeed);
    QFETCH(QStringList, pages);
    QFETCH(QString, message);

    TestApp t(QDate(2026, 12, 6));
    seedOverdue(t);
    QFile settings(t.appDir() + "/setting.ini");
    QVERIFY(settings.open(QIODevice::Append));
    settings.write("\r\nLibraryName=城东<图书馆>&\r\n");
    settings.close();
    openList(t);
    t.control<QDateEdit>(kOverdue, "dtpAsOf")->setDate(asOf);
    QItemSelectionModel *selection = grid(t)->selectionModel();
    for (int row = 0; row < grid(t)->model()->rowCount(); ++row) {
        if (cell(t, row, 3) == pickDept || pickBooks.contains(cell(t, row, 4)))
            selection->select(grid(t)->model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    t.prompter().clear();
    t.printer().succeed = succeed;
    t.click(kOverdue, "cmdPrint");

    QCOMPARE(t.prompter().texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (pages.isEmpty()) {
        QCOMPARE(t.printer().printed, QStringList());
        return;
    }
    QCOMPARE(t.printer().printed.size(), 1);
    const QStringList printed = lendora::testkit::pdfPages(t.printer().printed.first());
    QCOMPARE(printed.size(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        const QStringList expected = pages.at(i).split(' ');
        const QString &text = printed.at(i);
        QVERIFY2(text.contains("城东<图书馆>&")
                     && text.contains("截至 " + asOf.toString(Qt::ISODate))
                     && text.contains("读者编号:" + expected.first()),
                 qPrintable(text));
        QStringList books;
        for (int b = 1001; b <= 1009; ++b) {
            if (text.contains(QString("B%1").arg(b)))
                books << QString("B%1").arg(b);
        }
        QStringList want = expected.mid(1);
        want.sort();
        QCOMPARE(books, want);
    }
}

void OverdueTest::firstRowsBeginTheList_data()
{
    QTest::addColumn<int>("atLeast");
    QTest::addColumn<int>("minDays");
    QTest::addColumn<QString>("department");
    QTest::newRow("one row") << 1 << 1 << "";
    QTest::newRow("a screenful") << 40 << 1 << "";
    QTest::newRow("a screenful, 20 days past") << 40 << 20 << "";
    QTest::newRow("one department") << 25 << 1 << "物理系";
    QTest::newRow("more than there are") << 5000 << 1 << "";
}

void OverdueTest::firstRowsBeginTheList()
{
    QFETCH(int, atLeast);
    QFETCH(int, minDays);
    QFETCH(QString, department);
    // Categories of 7 to 60 days, and 700 open loans over the last 120 days, so the oldest
    // loans are not always the most overdue; some loans have no usable figures.
    TestApp t;
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    QSqlQuery q(db);
    const struct {
        const char *code;
        QVariant days;
    } categories[] = {{"W", 7}, {"X", 14}, {"Y", 60}, {"V", QVariant()}};
    for (const auto &c : categories) {
        QVERIFY(q.exec(QStringLiteral("delete from bookType where 类别代码='%1'").arg(c.code)));
        QVERIFY(q.exec(QStringLiteral("insert into bookType values ('%1', '类别%1', %2)")
                           .arg(c.code, c.days.isNull() ? "null" : c.days.toString())));
    }
    const QStringList codes = {"I", "W", "X", "Y", "V"};
    QRandomGenerator random(20261207);
    for (int r = 0; r < 40; ++r)
        QVERIFY(q.exec(
            QStringLiteral("insert into readerInfo values ('R%1', '读者%1', '男', '1', '%2')")
                .arg(r, 3, 10, QLatin1Char('0'))
                .arg(r % 3 ? "中文系" : "物理系")));
    for (int b = 0; b < 700; ++b) {
        const QString book = QStringLiteral("B%1").arg(b, 4, 10, QLatin1Char('0'));
        QVERIFY(
            q.exec(QStringLiteral("insert into bookInfo values ('%1', '书%1', '%2', '社', '作者',"
                                  " '1', '1', '2026-01-01', 1)")
                       .arg(book, codes.at(random.bounded(int(codes.size()))))));
        QVERIFY(q.exec(
            QStringLiteral("insert into lentInfo values ('R%1', '%2', '%3', null, null,"
                           " null)")
                .arg(random.bounded(40), 3, 10, QLatin1Char('0'))
                .arg(book,
                     QDate(2026, 12, 7).addDays(-random.bounded(120)).toString(Qt::ISODate))));
    }
    QVERIFY(db.commit());
    QVERIFY(t.start());

    OverdueList list(t.app().database());
    const OverdueList::Criteria criteria{QDate(2026, 12, 7), department, minDays};
    const std::optional<QList<OverdueList::Entry>> all = list.find(criteria);
    QVERIFY(all);
    bool complete = false;
    const std::optional<QList<OverdueList::Entry>> first =
        list.findFirst(criteria, atLeast, &complete);
    QVERIFY(first);
    QCOMPARE(complete, first->size() == all->size());
    QVERIFY2(first->size() >= std::min<qsizetype>(atLeast, all->size()),
             qPrintable(QString::number(first->size())));
    const auto key = [](const OverdueList::Entry &e) {
        return QStringList{e.readerId, e.bookId, QString::number(e.overdueDays), e.fine,
                           QString::number(int(e.problem))}
            .join('|');
    };
    for (qsizetype i = 0; i < first->size(); ++i)
        QCOMPARE(key(first->at(i)), key(all->at(i)));
}

LENDORA_TEST_CLASS(OverdueTest)
#include "tst_overdue.moc"
