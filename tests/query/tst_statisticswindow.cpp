#include "PdfText.h"
#include "TestApp.h"
#include "TestMain.h"
#include "reports/Document.h"

#include <QAction>
#include <QDateEdit>
#include <QImage>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using lendora::testkit::TestApp;

namespace {

const QString kWindow = QStringLiteral("FrmStatistics");

// Loans on both sides of the default range's start (2026-01-01) and of a month's end.
void seed(TestApp &t)
{
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values ('B1','红楼梦','I'),"
           " ('B2','万历十五年','K'), ('B3','算法导论','T')");
    t.exec("insert into readerInfo (读者编号, 读者姓名) values ('001','张伟'), ('002','李娜')");
    const QList<QVariantList> loans = {
        {"001", "B1", "2025-12-31", "2026-01-05", 0.0},
        {"002", "B1", "2026-11-30", "2026-12-01", 0.0},
        {"001", "B2", "2026-11-02", "2026-12-07", 0.5},
        {"002", "B1", "2026-12-03", QVariant(), QVariant()},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期, 罚款金额)"
               " values (?,?,?,?,?)",
               l);
}

QTableView *grid(TestApp &t, const QString &name)
{
    return t.control<QTableView>(kWindow, name);
}

QStringList rows(QTableView *view)
{
    QStringList all;
    const QAbstractItemModel *m = view->model();
    for (int row = 0; row < m->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m->columnCount(); ++column)
            cells << m->index(row, column).data().toString();
        all << cells.join('|');
    }
    return all;
}

// A date as a clerk types it into its picker, then Enter.
void typeDate(TestApp &t, const QString &picker, const QDate &date)
{
    auto *edit = t.control<QDateEdit>(kWindow, picker);
    edit->setFocus();
    edit->setDate(date);
    QTest::keyClick(edit, Qt::Key_Return);
}

void typeRange(TestApp &t, const QDate &from, const QDate &to)
{
    typeDate(t, "dtpFrom", from);
    typeDate(t, "dtpTo", to);
}

}  // namespace

class StatisticsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void views_data();
    void views();
    void backToFrontIsRefused();
    void exportsAndSavesTheViewShown();
    void printsEveryViewOfTheRange();
    void neverLentExportListsEveryBook();
};

void StatisticsWindowTest::views_data()
{
    QTest::addColumn<QDate>("from");  // invalid: the range the window opens with
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("note");
    const QStringList quietMonths = {"2026-01|0|1", "2026-02|0|0", "2026-03|0|0", "2026-04|0|0",
                                     "2026-05|0|0", "2026-06|0|0", "2026-07|0|0", "2026-08|0|0",
                                     "2026-09|0|0", "2026-10|0|0", "2026-11|2|0", "2026-12|1|2"};
    QTest::newRow("the last twelve months")
        << QDate() << QDate() << "dtgrdMonths" << quietMonths << QString();
    QTest::newRow("a typed range across the year's end")
        << QDate(2025, 12, 1) << QDate(2026, 1, 31) << "dtgrdMonths"
        << QStringList{"2025-12|1|0", "2026-01|0|1"} << QString();
    QTest::newRow("categories") << QDate(2026, 11, 1) << QDate(2026, 12, 31) << "dtgrdCategories"
                                << QStringList{"I|文学|2|66.7%", "K|历史、地理|1|33.3%"}
                                << QString();
    QTest::newRow("top readers") << QDate(2025, 1, 1) << QDate(2026, 12, 31) << "dtgrdTopReaders"
                                 << QStringList{"001|张伟|2", "002|李娜|2"} << QString();
    QTest::newRow("never lent, whatever the range")
        << QDate(2026, 1, 1) << QDate(2026, 1, 1) << "dtgrdNeverLent"
        << QStringList{"B3|算法导论|工业技术|"} << "共 1 册图书从未借出。";
    QTest::newRow("fines") << QDate(2026, 11, 1) << QDate(2026, 12, 31) << "dtgrdFines"
                           << QStringList{"2026-11|0", "2026-12|0.5"} << QString();
}

void StatisticsWindowTest::views()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, grid);
    QFETCH(QStringList, rows);
    QFETCH(QString, note);
    TestApp t;
    seed(t);
    t.login();
    t.trigger("mnuStatistics");
    QVERIFY(t.window(kWindow));
    QCOMPARE(t.control<QDateEdit>(kWindow, "dtpFrom")->date(), QDate(2026, 1, 1));
    QCOMPARE(t.control<QDateEdit>(kWindow, "dtpTo")->date(), QDate(2026, 12, 7));
    if (from.isValid())
        typeRange(t, from, to);
    // A view is counted when its tab is shown.
    auto *tabs = t.control<QTabWidget>(kWindow, "tabViews");
    QTableView *view = ::grid(t, grid);
    tabs->setCurrentWidget(view->parentWidget()->parentWidget());
    QCOMPARE(::rows(view), rows);
    const QString noteName = "lblNote" + grid.mid(5);
    QCOMPARE(t.text(kWindow, noteName), note);
    QCOMPARE(t.prompter().texts(), QStringList());
}

void StatisticsWindowTest::backToFrontIsRefused()
{
    TestApp t;
    seed(t);
    t.login();
    t.trigger("mnuStatistics");
    const QStringList before = rows(grid(t, "dtgrdMonths"));
    typeDate(t, "dtpTo", QDate(2025, 11, 1));
    t.control<QWidget>(kWindow, "cmdPrint")->setFocus();  // and leaves the picker
    QCOMPARE(t.prompter().texts(), QStringList{"起始日期不能晚于结束日期!"});
    QCOMPARE(rows(grid(t, "dtgrdMonths")), before);
    QCOMPARE(t.text(kWindow, "lblStatus"), "统计范围: 2026-01-01 至 2026-12-07");
}

void StatisticsWindowTest::exportsAndSavesTheViewShown()
{
    TestApp t;
    seed(t);
    t.login();
    t.trigger("mnuStatistics");
    typeRange(t, QDate(2026, 11, 1), QDate(2026, 12, 31));
    t.control<QTabWidget>(kWindow, "tabViews")->setCurrentIndex(2);  // the top books

    const QString csv = t.appDir() + "/top.csv";
    t.files().answerSave(csv);
    t.click(kWindow, "cmdExport");
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll().mid(3)),
             "书籍编号,书籍名称,借阅次数\r\nB1,红楼梦,2\r\nB2,万历十五年,1\r\n");

    const QString png = t.appDir() + "/top";  // the extension is added
    t.files().answerSave(png);
    t.click(kWindow, "cmdSaveImage");
    const QImage image(png + ".png");
    QCOMPARE(image.size(), QSize(1200, 720));
    // Smoke: the bars are there, in the chart's first colour.
    bool bar = false;
    for (int y = 0; y < image.height() && !bar; y += 4) {
        for (int x = 0; x < image.width() && !bar; x += 4)
            bar = image.pixelColor(x, y) == QColor(0x1f, 0x4e, 0x96);
    }
    QVERIFY(bar);

    const QString nowhere = t.appDir() + "/missing/top.png";
    t.files().answerSave(nowhere);
    t.click(kWindow, "cmdSaveImage");
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(
        t.prompter().texts(),
        (QStringList{"已导出 2 行到 " + QDir::toNativeSeparators(csv) + "。",
                     "图片已保存到 " + QDir::toNativeSeparators(png + ".png") + "。",
                     "无法写入文件 " + QDir::toNativeSeparators(nowhere) + ",图片没有保存。"}));
}

void StatisticsWindowTest::printsEveryViewOfTheRange()
{
    TestApp t;
    seed(t);
    t.login();
    t.trigger("mnuStatistics");
    typeRange(t, QDate(2026, 11, 1), QDate(2026, 12, 31));
    t.click(kWindow, "cmdPrint");
    QCOMPARE(t.printer().documents.size(), 1);
    QCOMPARE(t.printer().documents.first().orientation, QPageLayout::Landscape);
    // Every view, the ones never shown too, each on its page, counted over the range typed.
    const QStringList pages = lendora::testkit::pdfPages(t.printer().printed.first());
    const QStringList titles = {"每月借阅与归还",
                                "各类别借阅",
                                "借阅最多的 20 种图书",
                                "借阅最多的 20 位读者",
                                "从未借出的图书",
                                "馆藏与在借",
                                "每月罚款"};
    QCOMPARE(pages.size(), titles.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QVERIFY2(pages.at(i).contains(titles.at(i)), qPrintable(pages.at(i)));
        QVERIFY(pages.at(i).contains("2026-11-01 至 2026-12-31"));
    }
    QVERIFY(pages.at(2).contains("万历十五年"));
    QCOMPARE(t.prompter().texts(), QStringList());
}

void StatisticsWindowTest::neverLentExportListsEveryBook()
{
    TestApp t;
    seed(t);
    QStringList rows;
    for (int i = 0; i < 1001; ++i)
        rows << QStringLiteral("('N%1','新书','I')").arg(i, 4, 10, QLatin1Char('0'));
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values " + rows.join(','));
    t.login();
    t.trigger("mnuStatistics");
    t.control<QTabWidget>(kWindow, "tabViews")->setCurrentIndex(4);
    // The window lists the first thousand, and says so.
    QCOMPARE(grid(t, "dtgrdNeverLent")->model()->rowCount(), 1000);
    QCOMPARE(t.text(kWindow, "lblNoteNeverLent"),
             "共 1002 册图书从未借出,这里列出编号最小的 1000 册。");

    const QString csv = t.appDir() + "/weeding.csv";
    t.files().answerSave(csv);
    grid(t, "dtgrdNeverLent")->findChild<QAction *>("mnuExportGrid")->trigger();
    QCOMPARE(t.prompter().texts(),
             QStringList{"已导出 1002 行到 " + QDir::toNativeSeparators(csv) + "。"});
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split("\r\n");
    QCOMPARE(lines.size(), 1 + 1002 + 1);  // the headings, every book, the last line's end
    QCOMPARE(lines.value(1002), "N1000,新书,文学,");
    QCOMPARE(lines.value(1), "B3,算法导论,工业技术,");
}

LENDORA_TEST_CLASS(StatisticsWindowTest)
#include "tst_statisticswindow.moc"
