#include "FakePrinter.h"
#include "PdfText.h"
#include "TestApp.h"
#include "TestMain.h"
#include "reports/Document.h"

#include <QPushButton>
#include <QTableView>
#include <QtTest>

using lendora::testkit::TestApp;

namespace {

const QString kReaders = QStringLiteral("FrmReader");
const QString kHistory = QStringLiteral("FrmReaderHistory");

// Reader 001 has borrowed five times: B1 twice (late both times), B3 on time, B9 (deleted
// since) on time, and holds B2. Reader 002 holds B4; 003 never borrowed. Books of category I
// and K go out for 30 days.
void seedLoans(TestApp &t)
{
    t.exec("insert into readerInfo values ('001','张伟','男','13800138001','计算机系')");
    t.exec("insert into readerInfo values ('002','王芳','女','13800138002','外语系')");
    t.exec("insert into readerInfo values ('003','赵六','男','13900000007','图书馆')");
    const QList<QVariantList> books = {{"B1", "围城", "I", 0},
                                       {"B2", "三体", "I", 1},
                                       {"B3", "万历十五年", "K", 0},
                                       {"B4", "红楼梦", "I", 1}};
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo (书籍编号,书籍名称,类别代码,是否借出) values (?,?,?,?)", b);
    const QList<QVariantList> loans = {
        {"001", "B1", "2026-09-01", "2026-10-20", 19, 1.9},
        {"001", "B1", "2026-11-01", "2026-12-05", 4, 0.4},
        {"001", "B2", "2026-11-20", QVariant(), QVariant(), QVariant()},
        {"001", "B3", "2026-10-01", "2026-10-15", 0, 0.0},
        {"001", "B9", "2026-08-01", "2026-08-10", 0, 0.0},
        {"002", "B4", "2026-12-01", QVariant(), QVariant(), QVariant()},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo values (?,?,?,?,?,?)", l);
}

void openReaders(TestApp &t, const char *menuItem = "meuReaderSet")
{
    t.login();
    if (QWidget *tips = t.window("FrmHelp"))
        tips->close();
    t.trigger(menuItem);
    QVERIFY(t.window(kReaders));
}

void findReader(TestApp &t, const QString &number)
{
    t.type(kReaders, "txtReaderNo", number);
    t.enter(kReaders, "txtReaderNo");
}

bool historyEnabled(TestApp &t)
{
    auto *button = t.control<QPushButton>(kReaders, "cmdHistory");
    return button && button->isVisible() && button->isEnabled();
}

QStringList listed(TestApp &t)
{
    QStringList rows;
    auto *grid = t.control<QTableView>(kHistory, "DataGrid1");
    const QAbstractItemModel *m = grid ? grid->model() : nullptr;
    for (int row = 0; m && row < m->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m->columnCount(); ++column)
            cells << m->data(m->index(row, column)).toString();
        rows << cells.join('|');
    }
    return rows;
}

const QStringList kZhang = {
    "B9||2026-08-01||2026-08-10|0|0",
    "B1|围城|2026-09-01|2026-10-01|2026-10-20|19|1.9",
    "B3|万历十五年|2026-10-01|2026-10-31|2026-10-15|0|0",
    "B1|围城|2026-11-01|2026-12-01|2026-12-05|4|0.4",
    "B2|三体|2026-11-20|2026-12-20|||",
};

}  // namespace

class ReaderHistoryTest : public QObject {
    Q_OBJECT

private slots:
    void history_data();
    void history();
    void buttonFollowsTheReaderShown_data();
    void buttonFollowsTheReaderShown();
    void anotherReaderGetsAFreshWindow();
    void printsTheHistory();
};

void ReaderHistoryTest::history_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("totals");
    QTest::newRow("open and returned, a deleted book")
        << "001"
        << "读者编号:001  读者姓名:张伟" << kZhang << "借阅 5 次,未还 1 册,罚款合计 2.3 元";
    QTest::newRow("one open loan")
        << "002"
        << "读者编号:002  读者姓名:王芳" << QStringList{"B4|红楼梦|2026-12-01|2026-12-31|||"}
        << "借阅 1 次,未还 1 册,罚款合计 0 元";
    QTest::newRow("never borrowed")
        << "003"
        << "读者编号:003  读者姓名:赵六" << QStringList() << "借阅 0 次,未还 0 册,罚款合计 0 元";
}

void ReaderHistoryTest::history()
{
    QFETCH(QString, reader);
    QFETCH(QString, heading);
    QFETCH(QStringList, rows);
    QFETCH(QString, totals);
    TestApp t;
    seedLoans(t);
    openReaders(t, "meuReaderSort");
    findReader(t, reader);
    t.click(kReaders, "cmdHistory");
    QVERIFY(t.window(kHistory));
    QCOMPARE(t.window(kHistory)->windowTitle(), "读者借阅历史");
    QCOMPARE(t.text(kHistory, "lblReader"), heading);
    QCOMPARE(listed(t), rows);
    QCOMPARE(t.text(kHistory, "lblTotals"), totals);
    QVERIFY(t.prompter().shown().isEmpty());

    t.click(kHistory, "cmdClose");
    QTRY_VERIFY(!t.window(kHistory));
}

void ReaderHistoryTest::buttonFollowsTheReaderShown_data()
{
    QTest::addColumn<QString>("menuItem");
    // Steps: "find N", "type N" (typed over the number, no lookup), "add N", "delete".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nobody shown yet") << "meuReaderSet" << QStringList() << false;
    QTest::newRow("found") << "meuReaderSort" << QStringList{"find 001"} << true;
    QTest::newRow("unknown number")
        << "meuReaderSort" << QStringList{"find 001", "find 999"} << false;
    QTest::newRow("number typed over")
        << "meuReaderSort" << QStringList{"find 001", "type 002"} << false;
    QTest::newRow("deleted") << "meuReaderSet" << QStringList{"find 003", "delete"} << false;
    QTest::newRow("just added") << "meuReaderSet" << QStringList{"add 004"} << true;
    QTest::newRow("add refused") << "meuReaderSet" << QStringList{"add 001"} << false;
}

void ReaderHistoryTest::buttonFollowsTheReaderShown()
{
    QFETCH(QString, menuItem);
    QFETCH(QStringList, steps);
    QFETCH(bool, enabled);
    TestApp t;
    seedLoans(t);
    openReaders(t, qPrintable(menuItem));
    for (const QString &step : std::as_const(steps)) {
        const QString what = step.section(' ', 0, 0);
        const QString number = step.section(' ', 1);
        if (what == "find") {
            findReader(t, number);
        } else if (what == "type") {
            t.type(kReaders, "txtReaderNo", number);
        } else if (what == "add") {
            t.type(kReaders, "txtReaderNo", number);
            t.type(kReaders, "txtReaderName", "新读者");
            t.click(kReaders, "Command3");
        } else {
            t.click(kReaders, "Command6");
        }
    }
    QCOMPARE(historyEnabled(t), enabled);
    t.click(kReaders, "cmdHistory");
    QCOMPARE(t.window(kHistory) != nullptr, enabled);
}

void ReaderHistoryTest::anotherReaderGetsAFreshWindow()
{
    TestApp t;
    seedLoans(t);
    openReaders(t);
    findReader(t, "001");
    t.click(kReaders, "cmdHistory");
    QCOMPARE(listed(t), kZhang);

    // A loan returned meanwhile, then the next reader: the window shows only the one asked for.
    t.exec("update lentInfo set 还书日期='2026-12-07',超出天数=0,罚款金额=0 where 书籍编号='B4'");
    findReader(t, "002");
    t.click(kReaders, "cmdHistory");
    QCOMPARE(t.text(kHistory, "lblReader"), "读者编号:002  读者姓名:王芳");
    QCOMPARE(listed(t), QStringList{"B4|红楼梦|2026-12-01|2026-12-31|2026-12-07|0|0"});
    int histories = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        histories += w->objectName() == kHistory && w->isVisible();
    QCOMPARE(histories, 1);
}

void ReaderHistoryTest::printsTheHistory()
{
    TestApp t;
    seedLoans(t);
    openReaders(t);
    findReader(t, "001");
    t.click(kReaders, "cmdHistory");
    t.click(kHistory, "cmdPrint");
    QCOMPARE(t.printer().documents.size(), 1);
    const lendora::Document &document = t.printer().documents.first();
    QCOMPARE(document.pageSize.id(), QPageSize::A4);
    const auto &table = std::get<lendora::Table>(document.blocks.at(3));
    QStringList headings;
    for (const lendora::TableColumn &column : table.columns)
        headings << column.heading;
    QCOMPARE(headings, (QStringList{"书籍编号", "书籍名称", "借书日期", "应还日期", "还书日期",
                                    "超出天数", "罚款"}));
    QStringList printedRows;
    for (const QStringList &cells : table.rows)
        printedRows << cells.join('|');
    QCOMPARE(printedRows, kZhang);

    const QString pdf = lendora::testkit::pdfText(t.printer().printed.value(0));
    const QStringList phrases = {"读者借阅历史", "读者编号:001 读者姓名:张伟",
                                 "B1 围城 2026-09-01 2026-10-01 2026-10-20 19 1.9",
                                 "借阅 5 次,未还 1 册,罚款合计 2.3 元"};
    for (const QString &phrase : phrases)
        QVERIFY2(pdf.contains(phrase), qPrintable(phrase + " not in: " + pdf));
    QVERIFY(t.prompter().shown().isEmpty());
}

LENDORA_TEST_CLASS(ReaderHistoryTest)
#include "tst_readerhistory.moc"
