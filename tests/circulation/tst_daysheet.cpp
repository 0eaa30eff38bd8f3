#include "Desk.h"
#include "FakeFiles.h"
#include "FakePrinter.h"
#include "PdfText.h"
#include "TestMain.h"
#include "reports/Document.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QtTest>

using namespace desk;
using lendora::Document;

namespace {
const QString kSheet = QStringLiteral("FrmDaySheet");
const QString kLibrary = QStringLiteral("青石镇图书馆");

// A day at the desk, 2026-12-07, on top of the days before. Through the desk today: 001
// borrows B1003, returns B1001 ten days late (0.1 a day), and 002 renews B1002. Written
// directly: yesterday's loan and return, a return today by reader 009 who has been deleted
// since, and book B0404, deleted since, lent and returned today.
void seedDay(TestApp &t)
{
    QFile settings(t.appDir() + "/setting.ini");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("LibraryName=%1\r\n").arg(kLibrary).toUtf8());
    settings.close();

    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-10-28");
    addLoan(t, "002", "B1002", "2026-11-27");
    addLoan(t, "003", "B1004", "2026-12-06");
    t.exec("insert into lentInfo values ('003','B1005','2026-11-01','2026-12-06',5,0.5)");
    t.exec("insert into lentInfo values ('009','B1006','2026-11-01','2026-12-07',6,0.6)");
    t.exec("insert into lentInfo values ('002','B0404','2026-12-07','2026-12-07',0,0.0)");

    t.login();
    if (QWidget *tips = t.window("FrmHelp"))
        tips->close();
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1003");
    t.click(kMain, "cmdLendBook");
    showTab(t, Return);
    scan(t, "txtReadIDReturn", "001");
    scan(t, "txtBookIDReturn", "B1001");
    QCOMPARE(text(t, "txtFakuan"), "1");
    t.click(kMain, "cmdReturn");
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    t.control<QDateEdit>(kMain, "dtpLendDateChange")->setDate(QDate(2026, 12, 7));
    t.click(kMain, "cmdOK");
    QCOMPARE(hints(t), (QStringList{"借出完毕!", "归还完毕!", "续借完毕!"}));
}

QTableView *grid(TestApp &t)
{
    return t.control<QTableView>(kSheet, "DataGrid1");
}

QStringList listed(TestApp &t)
{
    QStringList rows;
    const QAbstractItemModel *m = grid(t)->model();
    for (int row = 0; row < m->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m->columnCount(); ++column)
            cells << m->data(m->index(row, column)).toString();
        rows << cells.join('|');
    }
    return rows;
}

void openSheet(TestApp &t, const QDate &day)
{
    t.trigger("mnuDaySheet");
    QVERIFY(t.window(kSheet));
    t.control<QDateEdit>(kSheet, "dtpDay")->setDate(day);
}

const QStringList kDec7 = {
    "借出|001|张伟|B1003|平凡的世界|2026-12-07||",
    "借出|002|李娜|B0404||2026-12-07||",
    "借出|002|李娜|B1002|围城|2026-12-07||",
    "还书|001|张伟|B1001|红楼梦|2026-10-28|10|1",
    "还书|002|李娜|B0404||2026-12-07|0|0",
    "还书|009||B1006|数学分析(上册)|2026-11-01|6|0.6",
};
const QString kDec7Totals = QStringLiteral("借出(含续借) 3 册,还书 3 册,罚款合计 1.6 元");
// The sheet's own account of renewals, under its totals on screen and on paper.
const QString kRenewalNote =
    QStringLiteral("续借的图书计入续借当天的借出,不再计入最初借出的那一天。");
}  // namespace

class DaySheetTest : public QObject {
    Q_OBJECT

private slots:
    void sheet_data();
    void sheet();
    void opensOnToday();
    void printsTheDayListed_data();
    void printsTheDayListed();
    void exportWritesTheDayListed();
};

void DaySheetTest::sheet_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("totals");
    QTest::newRow("today: lent, returned, renewed, deleted reader and book")
        << QDate(2026, 12, 7) << kDec7 << kDec7Totals;
    QTest::newRow("yesterday") << QDate(2026, 12, 6)
                               << QStringList{"借出|003|王芳|B1004|三体|2026-12-06||",
                                              "还书|003|王芳|B1005|万历十五年|2026-11-01|5|0.5"}
                               << "借出(含续借) 1 册,还书 1 册,罚款合计 0.5 元";
    // The renewed loan left 11-27 with its lending date: nothing is listed there any more.
    QTest::newRow("the day a renewed loan was lent")
        << QDate(2026, 11, 27) << QStringList() << "借出(含续借) 0 册,还书 0 册,罚款合计 0 元";
    QTest::newRow("tomorrow") << QDate(2026, 12, 8) << QStringList()
                              << "借出(含续借) 0 册,还书 0 册,罚款合计 0 元";
}

void DaySheetTest::sheet()
{
    QFETCH(QDate, day);
    QFETCH(QStringList, rows);
    QFETCH(QString, totals);
    TestApp t;
    seedDay(t);
    openSheet(t, day);
    QCOMPARE(listed(t), rows);
    QCOMPARE(t.text(kSheet, "lblTotals"), totals);
    QCOMPARE(t.text(kSheet, "lblRenewalNote"), kRenewalNote);
    QVERIFY(t.control<QWidget>(kSheet, "lblRenewalNote")->isVisible());
    QVERIFY(t.prompter().shown().isEmpty());
}

void DaySheetTest::opensOnToday()
{
    TestApp t;
    seedDay(t);
    t.trigger("mnuDaySheet");
    QCOMPARE(t.control<QDateEdit>(kSheet, "dtpDay")->date(), QDate(2026, 12, 7));
    QStringList headings;
    const QAbstractItemModel *m = grid(t)->model();
    for (int column = 0; column < m->columnCount(); ++column)
        headings << m->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headings, (QStringList{"类型", "读者编号", "读者姓名", "书籍编号", "书籍名称",
                                    "借书日期", "超出天数", "罚款"}));
    QCOMPARE(listed(t), kDec7);
    QCOMPARE(t.text(kSheet, "lblTotals"), kDec7Totals);

    t.click(kSheet, "cmdClose");
    QTRY_VERIFY(!t.window(kSheet));
}

void DaySheetTest::printsTheDayListed_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("phrases");  // read back from the PDF
    QTest::newRow("today") << QDate(2026, 12, 7) << 6
                           << QStringList{"日期:2026-12-07", "张伟 B1001 红楼梦 2026-10-28 10 1",
                                          "009 B1006", kDec7Totals};
    QTest::newRow("yesterday") << QDate(2026, 12, 6) << 2
                               << QStringList{"日期:2026-12-06", "王芳 B1005 万历十五年",
                                              "借出(含续借) 1 册,还书 1 册,罚款合计 0.5 元"};
    QTest::newRow("a day without movements")
        << QDate(2026, 12, 8) << 0
        << QStringList{"日期:2026-12-08", "借出(含续借) 0 册,还书 0 册,罚款合计 0 元"};
}

void DaySheetTest::printsTheDayListed()
{
    QFETCH(QDate, day);
    QFETCH(int, rows);
    QFETCH(QStringList, phrases);
    TestApp t;
    seedDay(t);
    openSheet(t, day);
    t.click(kSheet, "cmdPrint");
    QCOMPARE(t.printer().documents.size(), 1);
    QCOMPARE(t.printer().printed.size(), 1);

    const Document &document = t.printer().documents.first();
    QCOMPARE(document.pageSize.id(), QPageSize::A4);
    QCOMPARE(document.blocks.size(), 6);
    QCOMPARE(std::get<lendora::Heading>(document.blocks.at(0)).text, kLibrary);
    const auto &table = std::get<lendora::Table>(document.blocks.at(3));
    QCOMPARE(table.columns.size(), 8);
    QCOMPARE(table.rows.size(), rows);
    // What is printed is what the grid lists, cell for cell.
    QStringList printedRows;
    for (const QStringList &cells : table.rows)
        printedRows << cells.join('|');
    QCOMPARE(printedRows, listed(t));

    const QString pdf = lendora::testkit::pdfText(t.printer().printed.first());
    // The note stands under the totals.
    QCOMPARE(std::get<lendora::Paragraph>(document.blocks.at(5)).text, kRenewalNote);
    for (const QString &phrase :
         std::as_const(phrases) + QStringList{kLibrary, "今日汇总", kRenewalNote})
        QVERIFY2(pdf.contains(phrase), qPrintable(phrase + " not in: " + pdf));
    QVERIFY(t.prompter().shown().isEmpty());
}

void DaySheetTest::exportWritesTheDayListed()
{
    TestApp t;
    seedDay(t);
    openSheet(t, QDate(2026, 12, 6));
    const QString path = t.appDir() + "/sheet.csv";
    t.files().answerSave(path);
    t.click(kSheet, "cmdExport");
    QCOMPARE(t.prompter().texts(),
             QStringList{"已导出 2 行到 " + QDir::toNativeSeparators(path) + "。"});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split("\r\n");
    QCOMPARE(lines.value(0), "类型,读者编号,读者姓名,书籍编号,书籍名称,借书日期,超出天数,罚款");
    QCOMPARE(lines.value(2), "还书,003,王芳,B1005,万历十五年,2026-11-01,5,0.5");
}

LENDORA_TEST_CLASS(DaySheetTest)
#include "tst_daysheet.moc"
