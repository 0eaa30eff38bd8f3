#include "CatalogueSteps.h"
#include "TestMain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QStringDecoder>
#include <QtTest>

using namespace catalogue;

namespace {

const QString kList = QStringLiteral("FrmLendora");
const QString kUtf8 = QStringLiteral("CSV 文件 UTF-8 (*.csv)");
const QString kGb18030 = QStringLiteral("CSV 文件 GB18030 (*.csv)");
const QString kExcel = QStringLiteral("Excel 工作簿 (*.xlsx)");

// Two books, one lent, whose numbers sort apart from their insertion order.
void seedShelf(TestApp &t)
{
    seedCategories(t, {{"I", "文学", 30}, {"K", "历史、地理", 14}});
    seedBook(t, {"B2", "史记", "K", "中华书局", "司马迁", "125", "3322", "2026-03-05", 1});
    seedBook(
        t, {"00123", "=红楼梦", "I", "人民文学出版社", "曹雪芹", "59.7", "1606", "2026-03-02", 0});
    t.exec("insert into lentInfo values ('R1', 'B2', '2026-11-30', null, null, null)");
    t.exec("insert into readerInfo values ('R1', '张三', '男', '0551', '中文系')");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a list written in `filter`'s format, read back as text.
QStringList linesOf(const QString &path, const QString &filter)
{
    const QByteArray bytes = readAll(path);
    if (filter == kExcel) {
        QProcess unzip;
        unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
        if (!unzip.waitForFinished(60000))
            return {};
        // Enough of the sheet to compare: the texts of each row, tab-separated.
        QStringList lines;
        const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
        static const QRegularExpression row("<row [^>]*>(.*?)</row>");
        static const QRegularExpression text("<t>(.*?)</t>");
        for (const auto &r : row.globalMatch(sheet)) {
            QStringList cells;
            for (const auto &c : text.globalMatch(r.captured(1)))
                cells << c.captured(1);
            lines << cells.join('\t');
        }
        return lines;
    }
    QString text;
    if (filter == kGb18030) {
        QStringDecoder gb("GB18030");
        text = gb.decode(bytes);
    } else {
        if (!bytes.startsWith("\xEF\xBB\xBF"))
            return {QStringLiteral("no byte order mark")};
        text = QString::fromUtf8(bytes.mid(3));
    }
    QStringList lines = text.split("\r\n");
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString plain(const QString &line, const QString &filter)
{
    // In a workbook the cells are the texts themselves (no guard), here tab-separated.
    if (filter != kExcel)
        return line;
    QStringList cells = line.split(',');
    for (QString &cell : cells) {
        if (cell.startsWith('\''))
            cell.remove(0, 1);
    }
    return cells.join('\t');
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void bookListAsShown_data();
    void bookListAsShown();
    void cancelledWritesNothing();
    void wholeTablesFromTheMenu_data();
    void wholeTablesFromTheMenu();
    void loanQueryByContextMenu();
    void lendingGridByContextMenu();
};

void ExportTest::bookListAsShown_data()
{
    QTest::addColumn<bool>("byMenu");      // the grid's context menu, or the button
    QTest::addColumn<QString>("answer");   // the file named in the dialog
    QTest::addColumn<QString>("filter");   // the file type picked; "" leaves the first
    QTest::addColumn<QString>("written");  // the file that results
    QTest::newRow("button, default type") << false << "list.csv"
                                          << ""
                                          << "list.csv";
    QTest::newRow("menu, GB18030") << true << "list.csv" << kGb18030 << "list.csv";
    QTest::newRow("menu, Excel, name kept .csv") << true << "list.csv" << kExcel << "list.xlsx";
    QTest::newRow("button, Excel, no extension") << false << "list" << kExcel << "list.xlsx";
    QTest::newRow("button, UTF-8, another extension") << false << "list.txt" << kUtf8 << "list.txt";
}

void ExportTest::bookListAsShown()
{
    QFETCH(bool, byMenu);
    QFETCH(QString, answer);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    TestApp t;
    seedShelf(t);
    t.login();
    t.trigger("mnuLendora");
    QTableView *view = grid(t, kList);
    QVERIFY(view);
    // The clerk has moved the title in front: the file follows the grid.
    view->horizontalHeader()->moveSection(1, 0);
    t.files().answerSave(t.appDir() + "/" + answer, filter);
    auto *action = t.control<QAction>(kList, "mnuExportGrid");
    QVERIFY(action && view->actions().contains(action));
    QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
    if (byMenu)
        action->trigger();
    else
        t.click(kList, "cmdExport");

    const QString path = t.appDir() + "/" + written;
    QCOMPARE(t.files().asked, QStringList{"导出"});
    QCOMPARE(t.prompter().texts(),
             QStringList{"已导出 2 行到 " + QDir::toNativeSeparators(path) + "。"});
    QVERIFY(!QFile::exists(path + ".part"));
    const QStringList expected = {
        "书籍名称,书籍编号,书籍类别,出版社,作者姓名,书籍价格,书籍页码,登记日期,是否借出",
        // The rows in the grid's order, which here is not the numbers' order.
        "史记,B2,历史、地理,中华书局,司马迁,125,3322,2026-03-05,是",
        "'=红楼梦,00123,文学,人民文学出版社,曹雪芹,59.7,1606,2026-03-02,否",
    };
    QCOMPARE(cell(view, 0, 0), "B2");
    QStringList lines;
    for (const QString &line : expected)
        lines << plain(line, filter);
    QCOMPARE(linesOf(path, filter), lines);
}

void ExportTest::cancelledWritesNothing()
{
    TestApp t;
    seedShelf(t);
    t.login();
    t.trigger("mnuLendora");
    t.files().answerSave(QString());
    t.click(kList, "cmdExport");
    QCOMPARE(t.files().asked, QStringList{"导出"});
    QVERIFY(t.prompter().texts().isEmpty());
    QCOMPARE(QDir(t.appDir()).entryList({"*.csv", "*.xlsx", "*.part"}, QDir::Files), {});
}

void ExportTest::wholeTablesFromTheMenu_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("lines");
    const QStringList books = {
        "书籍编号,书籍名称,类别代码,出版社,作者姓名,书籍价格,书籍页码,登记日期,是否借出",
        "00123,'=红楼梦,I,人民文学出版社,曹雪芹,59.7,1606,2026-03-02,否",
        "B2,史记,K,中华书局,司马迁,125,3322,2026-03-05,是",
    };
    QTest::newRow("books") << "mnuExportBooks"
                           << ""
                           << "导出图书" << books;
    QStringList sheet;
    for (const QString &line : books)
        sheet << plain(line, kExcel);
    QTest::newRow("books as a workbook") << "mnuExportBooks" << kExcel << "导出图书" << sheet;
    QTest::newRow("readers in GB18030")
        << "mnuExportReaders" << kGb18030 << "导出读者"
        << QStringList{"读者编号,读者姓名,读者性别,联系电话,所在部门", "R1,张三,男,0551,中文系"};
}

void ExportTest::wholeTablesFromTheMenu()
{
    QFETCH(QString, action);
    QFETCH(QString, filter);
    QFETCH(QString, caption);
    QFETCH(QStringList, lines);
    TestApp t;
    seedShelf(t);
    t.login();
    const QString path = t.appDir() + (filter == kExcel ? "/table.xlsx" : "/table.csv");
    t.files().answerSave(t.appDir() + "/table.csv", filter);
    t.trigger(action);
    QCOMPARE(t.files().asked, QStringList{caption});
    QCOMPARE(t.prompter().texts(), QStringList{QString("已导出 %1 行到 %2。")
                                                   .arg(lines.size() - 1)
                                                   .arg(QDir::toNativeSeparators(path))});
    QCOMPARE(linesOf(path, filter), lines);
}

void ExportTest::loanQueryByContextMenu()
{
    TestApp t;
    seedShelf(t);
    t.login();
    t.trigger("mnuLendQuery");
    t.click("FrmLendQuery", "cmdFind");
    t.prompter().clear();
    t.files().answerSave(t.appDir() + "/loans.csv");
    t.control<QAction>("FrmLendQuery", "mnuExportGrid")->trigger();
    QCOMPARE(linesOf(t.appDir() + "/loans.csv", kUtf8),
             QStringList({"读者编号,读者姓名,书籍编号,书籍名称,书籍类别,书籍页码,出版社,借书日期,"
                          "还书日期",
                          "R1,张三,B2,史记,历史、地理,3322,中华书局,2026-11-30,"}));
}

void ExportTest::lendingGridByContextMenu()
{
    TestApp t;
    seedShelf(t);
    t.login();
    t.type("Frmmain", "txtReaderID", "R1");
    t.enter("Frmmain", "txtReaderID");
    auto *view = t.control<QTableView>("Frmmain", "dtgrdLendBook");
    QCOMPARE(view->model()->rowCount(), 1);
    t.prompter().clear();
    t.files().answerSave(t.appDir() + "/lent.csv");
    t.control<QAction>("Frmmain", "mnuExportGrid")->trigger();
    const QStringList lines = linesOf(t.appDir() + "/lent.csv", kUtf8);
    QCOMPARE(lines.size(), 2);
    QStringList headings;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        headings << view->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(lines.at(0), headings.join(','));
    QCOMPARE(lines.at(1), "R1,张三,B2,史记,历史、地理,3322,中华书局,2026-11-30");
}

LENDORA_TEST_CLASS(ExportTest)
#include "tst_export.moc"
