#include "CatalogueSteps.h"
#include "TestMain.h"
#include "gui/widgets/Texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

using namespace lendora;
using namespace catalogue;

namespace {

const QString kList = QStringLiteral("FrmLendora");
const QString kUpdate = QStringLiteral("FrmUpdateBook");

// Three books in two categories; B1024 is on loan.
void openShelf(TestApp &t)
{
    seedCategories(t, {{"I", "文学", 30}, {"K", "历史、地理", 14}});
    seedBook(t,
             {"B1001", "红楼梦", "I", "人民文学出版社", "曹雪芹", "59.7", "1606", "2026-03-02", 0});
    seedBook(t, {"B1024", "史记", "K", "中华书局", "司马迁", "125", "3322", "2026-03-05", 1});
    seedBook(t, {"B1030", "围城", "I", "人民文学出版社", "钱锺书", "39", "不详", "2026-04-18", 0});
    t.exec("insert into lentInfo values ('R001', 'B1024', '2026-11-30', null, null, null)");
    t.login();
    t.trigger("mnuLendora");
}

QStringList column(QTableView *view, int c)
{
    QStringList texts;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        texts << cell(view, r, c);
    return texts;
}

}  // namespace

class BookListTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheCatalogue();
    void bookWithoutCategoryIsMissing();
    void deleteAsksThenReports_data();
    void deleteAsksThenReports();
    void emptyCatalogueDoesNothing();
    void gridStretchesWithWindow();

    void modifyLoadsCurrentRow();
    void saveKeepsLentFlagAndCloses();
    void firstCategoryOfDuplicatedName();
    void missingDateShowsToday();
    void bookGoneIsNotSaved();
    void unknownCategoryNotSaved_data();
    void unknownCategoryNotSaved();
    void openWindowKeepsItsBook();
    void closeRequeriesList();
};

void BookListTest::listsTheCatalogue()
{
    TestApp t;
    openShelf(t);
    QCOMPARE(t.text(kList, kList), QString::fromUtf8("书库管理"));
    QTableView *view = grid(t, kList);
    const QStringList headers = {"书籍编号", "书籍名称", "书籍类别", "出版社",  "作者姓名",
                                 "书籍价格", "书籍页码", "登记日期", "是否借出"};
    const int widths[] = {67, 127, 57, 131, 57, 60, 56, 68, 62};
    QCOMPARE(view->model()->columnCount(), 9);
    for (int c = 0; c < 9; ++c) {
        QCOMPARE(view->model()->headerData(c, Qt::Horizontal).toString(), headers.at(c));
        // The designed width, wider only where the font needs it for the heading.
        QVERIFY(view->columnWidth(c) >= widths[c]);
        QVERIFY(view->columnWidth(c) >= view->horizontalHeader()->sectionSizeHint(c));
    }
    QCOMPARE(view->columnWidth(1), widths[1]);
    QCOMPARE(view->columnWidth(3), widths[3]);
    // A whole date fits its column.
    QVERIFY(view->columnWidth(7) > view->fontMetrics().horizontalAdvance("2026-03-02"));
    QCOMPARE(column(view, 0), QStringList({"B1001", "B1024", "B1030"}));
    QCOMPARE(column(view, 2), QStringList({"文学", "历史、地理", "文学"}));
    QCOMPARE(column(view, 7), QStringList({"2026-03-02", "2026-03-05", "2026-04-18"}));
    QCOMPARE(column(view, 8), QStringList({"否", "是", "否"}));
    QCOMPARE(currentRow(view), 0);
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void BookListTest::bookWithoutCategoryIsMissing()
{
    TestApp t;
    seedBook(t, {"B9", "自编讲义", "W", "不详", "不详", "1", "不详", "2026-01-01", 0});
    openShelf(t);
    QCOMPARE(column(grid(t, kList), 0), QStringList({"B1001", "B1024", "B1030"}));

    // Deleting a category that books use drops them from the list at its next query.
    t.trigger("mnuSetBook");
    clickRow(grid(t, "FrmSetBook"), 1);
    t.prompter().answerConfirm(true);
    t.click("FrmSetBook", "cmdDel");
    t.click(kList, "cmdAdd");
    t.click("FrmAddnew", "cmdClose");
    QCOMPARE(column(grid(t, kList), 0), QStringList({"B1001", "B1030"}));
    QCOMPARE(count(t, "bookInfo"), 4);
}

void BookListTest::deleteAsksThenReports_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void BookListTest::deleteAsksThenReports()
{
    QFETCH(bool, ok);
    TestApp t;
    openShelf(t);
    clickRow(grid(t, kList), 1);
    t.prompter().answerConfirm(ok);
    t.click(kList, "cmdDel");

    const auto &shown = t.prompter().shown();
    QCOMPARE(shown.size(), ok ? 2 : 1);
    QCOMPARE(shown.at(0).kind, testkit::ScriptedPrompter::Shown::Confirm);
    QCOMPARE(shown.at(0).prompt.text, QString::fromUtf8("是否真的要删除编号为B1024的书籍信息?"));
    QCOMPARE(shown.at(0).prompt.title, hintTitle());
    QCOMPARE(shown.at(0).prompt.buttons, Buttons::OkCancel);
    if (ok) {
        QCOMPARE(shown.at(1).prompt.text, QString::fromUtf8("编号B1024已删除!"));
        QCOMPARE(shown.at(1).prompt.title, hintTitle());
    }
    // A lent book can be deleted; its loan row stays.
    QCOMPARE(count(t, "bookInfo"), ok ? 2 : 3);
    QCOMPARE(count(t, "lentInfo"), 1);
    QCOMPARE(column(grid(t, kList), 0),
             ok ? QStringList({"B1001", "B1030"}) : QStringList({"B1001", "B1024", "B1030"}));
    QCOMPARE(currentRow(grid(t, kList)), 0);
}

void BookListTest::emptyCatalogueDoesNothing()
{
    TestApp t;
    t.login();
    t.trigger("mnuLendora");
    QCOMPARE(grid(t, kList)->model()->rowCount(), 0);
    t.click(kList, "cmdDel");
    t.click(kList, "cmdModify");
    QVERIFY(t.prompter().shown().isEmpty());
    QVERIFY(!t.window(kUpdate));
}

void BookListTest::gridStretchesWithWindow()
{
    TestApp t;
    openShelf(t);
    QWidget *window = t.window(kList);
    QTableView *view = grid(t, kList);
    window->resize(900, 600);
    QCOMPARE(view->geometry(), QRect(8, 64, 900 - 16, 600 - 72));
    const QRect buttonBefore = t.control<QWidget>(kList, "cmdClose")->geometry();
    window->resize(700, 300);
    QCOMPARE(view->geometry(), QRect(8, 64, 700 - 16, 300 - 72));
    QCOMPARE(t.control<QWidget>(kList, "cmdClose")->geometry(), buttonBefore);
    // Too small for a grid: it keeps its last size.
    window->setMinimumSize(1, 1);
    window->resize(12, 40);
    QCOMPARE(view->size(), QSize(700 - 16, 300 - 72));
}

void BookListTest::modifyLoadsCurrentRow()
{
    TestApp t;
    openShelf(t);
    clickRow(grid(t, kList), 1);
    t.click(kList, "cmdModify");
    QVERIFY(t.window(kUpdate));
    QCOMPARE(t.text(kUpdate, kUpdate), QString::fromUtf8("正在修改图书"));
    QCOMPARE(t.text(kUpdate, "txtBookID"), QStringLiteral("B1024"));
    QVERIFY(t.control<QLineEdit>(kUpdate, "txtBookID")->isReadOnly());
    QCOMPARE(t.text(kUpdate, "txtBookName"), QString::fromUtf8("史记"));
    QCOMPARE(t.text(kUpdate, "cboType"), QString::fromUtf8("K-历史、地理"));
    QCOMPARE(t.text(kUpdate, "txtBookConcern"), QString::fromUtf8("中华书局"));
    QCOMPARE(t.text(kUpdate, "txtWriter"), QString::fromUtf8("司马迁"));
    QCOMPARE(t.text(kUpdate, "txtPrice"), QStringLiteral("125"));
    QCOMPARE(t.text(kUpdate, "txtPage"), QStringLiteral("3322"));
    QCOMPARE(t.control<QDateEdit>(kUpdate, "dtpRigDate")->date(), QDate(2026, 3, 5));
    QCOMPARE(t.control<QComboBox>(kUpdate, "cboType")->count(), 2);
    QVERIFY(!t.control<QComboBox>(kUpdate, "Combo1")->isVisible());
}

void BookListTest::saveKeepsLentFlagAndCloses()
{
    TestApp t;
    openShelf(t);
    clickRow(grid(t, kList), 1);
    t.click(kList, "cmdModify");
    t.type(kUpdate, "txtBookName", "");  // an empty title is stored without a word
    t.type(kUpdate, "cboType", "I");
    t.type(kUpdate, "txtPrice", "130 ");
    t.control<QDateEdit>(kUpdate, "dtpRigDate")->setDate(QDate(2026, 3, 6));
    t.click(kUpdate, "cmdSave");

    QCOMPARE(t.prompter().texts(), QStringList({"保存修改完毕!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QVERIFY(!t.window(kUpdate));
    QSqlQuery row(t.db());
    QVERIFY(row.exec("select * from bookInfo where 书籍编号='B1024'"));
    QVERIFY(row.next());
    QCOMPARE(row.value(1).toString(), QString());
    QVERIFY(!row.value(1).isNull());
    QCOMPARE(row.value(2).toString(), QStringLiteral("I"));
    QCOMPARE(row.value(5).toString(), QStringLiteral("130 "));
    QCOMPARE(row.value(7).toString(), QStringLiteral("2026-03-06"));
    QCOMPARE(row.value(8).toInt(), 1);
    QCOMPARE(count(t, "bookInfo"), 3);
    // The list was queried again and stands on its first row.
    QCOMPARE(column(grid(t, kList), 1), QStringList({"红楼梦", "", "围城"}));
    QCOMPARE(currentRow(grid(t, kList)), 0);
}

void BookListTest::firstCategoryOfDuplicatedName()
{
    TestApp t;
    seedCategories(t, {{"X", "小说", 30}, {"Y", "小说", 10}});
    seedBook(t, {"B5", "呐喊", "Y", "人民文学出版社", "鲁迅", "20", "200", "2026-02-01", 0});
    t.login();
    t.trigger("mnuLendora");
    t.click(kList, "cmdModify");
    QCOMPARE(t.text(kUpdate, "cboType"), QString::fromUtf8("X-小说"));
    t.click(kUpdate, "cmdSave");
    QCOMPARE(t.scalar("select 类别代码 from bookInfo where 书籍编号='B5'").toString(),
             QStringLiteral("X"));
}

void BookListTest::missingDateShowsToday()
{
    TestApp t(QDate(2026, 12, 7));
    seedCategories(t, {{"I", "文学", 30}});
    const QVariant noDate(QMetaType(QMetaType::QString));
    seedBook(t, {"B6", "彷徨", "I", "不详", "鲁迅", "18", "不详", noDate, 0});
    t.login();
    t.trigger("mnuLendora");
    t.click(kList, "cmdModify");
    QCOMPARE(t.control<QDateEdit>(kUpdate, "dtpRigDate")->date(), QDate(2026, 12, 7));
    QVERIFY(t.scalar("select 登记日期 from bookInfo where 书籍编号='B6'").isNull());
    t.click(kUpdate, "cmdSave");
    QCOMPARE(t.scalar("select 登记日期 from bookInfo where 书籍编号='B6'").toString(),
             QStringLiteral("2026-12-07"));
}

void BookListTest::bookGoneIsNotSaved()
{
    TestApp t;
    openShelf(t);
    t.click(kList, "cmdModify");
    t.exec("delete from bookInfo where 书籍编号='B1001'");
    t.type(kUpdate, "txtBookName", "石头记");
    t.click(kUpdate, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"该书已不存在,无法保存!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QVERIFY(t.window(kUpdate));
    QCOMPARE(count(t, "bookInfo"), 2);
    QCOMPARE(t.scalar("select count(*) from bookInfo where 书籍名称='石头记'").toInt(), 0);
}

void BookListTest::unknownCategoryNotSaved_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("category name typed") << "历史、地理";
    QTest::newRow("unknown code") << "Z-杂项";
    QTest::newRow("emptied") << "";
}

void BookListTest::unknownCategoryNotSaved()
{
    QFETCH(QString, typed);
    TestApp t;
    openShelf(t);
    clickRow(grid(t, kList), 1);
    t.click(kList, "cmdModify");
    t.type(kUpdate, "txtBookName", "太史公书");
    t.type(kUpdate, "cboType", typed);
    t.click(kUpdate, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"没有该书籍类别,请从列表中选择!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QVERIFY(t.window(kUpdate));
    QCOMPARE(
        t.scalar("select 书籍名称 || 类别代码 from bookInfo where 书籍编号='B1024'").toString(),
        QString::fromUtf8("史记K"));
    // The book stays in the list, where it can still be changed.
    QCOMPARE(column(grid(t, kList), 0), QStringList({"B1001", "B1024", "B1030"}));
}

void BookListTest::openWindowKeepsItsBook()
{
    TestApp t;
    openShelf(t);
    t.click(kList, "cmdModify");
    clickRow(grid(t, kList), 2);
    t.click(kList, "cmdModify");
    QCOMPARE(t.text(kUpdate, "txtBookID"), QStringLiteral("B1001"));
    // Once closed, the next "修改" loads the list's current row.
    t.click(kUpdate, "cmdClose");
    clickRow(grid(t, kList), 2);
    t.click(kList, "cmdModify");
    QCOMPARE(t.text(kUpdate, "txtBookID"), QStringLiteral("B1030"));
}

void BookListTest::closeRequeriesList()
{
    TestApp t;
    openShelf(t);
    t.click(kList, "cmdModify");
    t.type(kUpdate, "txtBookName", "石头记");
    seedBook(t, {"B2000", "呐喊", "I", "不详", "鲁迅", "20", "不详", "2026-01-01", 0});
    t.click(kUpdate, "cmdClose");
    QVERIFY(!t.window(kUpdate));
    QCOMPARE(t.scalar("select 书籍名称 from bookInfo where 书籍编号='B1001'").toString(),
             QString::fromUtf8("红楼梦"));
    QCOMPARE(grid(t, kList)->model()->rowCount(), 4);
}

LENDORA_TEST_CLASS(BookListTest)
#include "tst_booklist.moc"
