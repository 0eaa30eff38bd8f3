#include "Desk.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "data/GridSource.h"
#include "gui/circulation/CirculationDesk.h"

#include <QHeaderView>
#include <QTableView>
#include <QtTest>

using namespace desk;

namespace {
const QStringList kColumns = {"读者编号", "读者姓名", "书籍编号", "书籍名称",
                              "书籍类别", "书籍页码", "出版社",   "借书日期"};

QTableView *grid(TestApp &t, const QString &name)
{
    return t.control<QTableView>(kMain, name);
}

// One column of every row a grid shows.
QStringList column(TestApp &t, const QString &name, int c)
{
    QStringList values;
    const QAbstractItemModel *model = grid(t, name)->model();
    for (int r = 0; r < model->rowCount(); ++r)
        values << model->index(r, c).data().toString();
    return values;
}

QStringList boundBoxes(TestApp &t)
{
    return {text(t, "txtBookIDRenew"), text(t, "txtBookNameRenew"), text(t, "txtLendDate")};
}

// 001 holds two books, 002 three.
void seedLoans(TestApp &t)
{
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-20");
    addLoan(t, "001", "B1005", "2026-12-01");
    addLoan(t, "002", "B1002", "2026-10-30");
    addLoan(t, "002", "B1006", "2026-11-15");
    addLoan(t, "002", "B1003", "2026-11-28");
}
}  // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void gridsBeforeTheFirstLookup();
    void columnsAreBoundByName();
    void renewalLookupChangesTheLendingGridNotItsCounters();
    void gridsShareTheCurrentRow();
    void onlyOpenLoansWithAllTheirRowsAreListed();
    void aReaderWithManyLoans();
    void returnTabRefreshesTheLendingReader();
    void readerWindowRefreshesThroughTheMainWindow();
};

void GridTest::gridsBeforeTheFirstLookup()
{
    TestApp t;
    seedLoans(t);
    t.login();
    auto *source = t.control<lendora::GridSource>(kMain, "Adodc1");
    QVERIFY(source);
    // The main window's own source, held by its circulation desk.
    QVERIFY(qobject_cast<lendora::CirculationDesk *>(source->parent()));
    QCOMPARE(source->parent()->parent(), t.window(kMain));
    for (const QString name : {"dtgrdLendBook", "dtgrdLendBookRenew"}) {
        QTableView *view = grid(t, name);
        QCOMPARE(view->model()->rowCount(), 0);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QStringList headers;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            headers << view->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, kColumns);
    }
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:"));
    QCOMPARE(text(t, "lblRemain"), QString());
    QCOMPARE(boundBoxes(t), QStringList({"", "", ""}));
}

void GridTest::columnsAreBoundByName()
{
    TestApp t;
    seedLoans(t);
    t.exec("update bookInfo set 出版社='中华书局', 书籍页码='274' where 书籍编号='B1005'");
    t.login();
    scan(t, "txtReaderID", "001");
    // Pages come before the publisher in the grid, the other way round in the query.
    const QAbstractItemModel *model = grid(t, "dtgrdLendBook")->model();
    QCOMPARE(model->columnCount(), 8);
    QStringList second;
    for (int c = 0; c < 8; ++c)
        second << model->index(1, c).data().toString();
    QCOMPARE(second, QStringList({"001", "张伟", "B1005", "万历十五年", "历史、地理", "274",
                                  "中华书局", "2026-12-01"}));
    // Grids are read-only.
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
}

void GridTest::renewalLookupChangesTheLendingGridNotItsCounters()
{
    TestApp t;
    seedLoans(t);
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(column(t, "dtgrdLendBook", 2), QStringList({"B1001", "B1005"}));
    // A lending-tab refresh fills the renewal tab's bound boxes, not its unbound grid.
    QCOMPARE(boundBoxes(t), QStringList({"B1001", "红楼梦", "2026-11-20"}));
    QCOMPARE(grid(t, "dtgrdLendBookRenew")->model()->rowCount(), 0);

    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    QCOMPARE(column(t, "dtgrdLendBookRenew", 0), QStringList({"002", "002", "002"}));
    QCOMPARE(column(t, "dtgrdLendBook", 2), QStringList({"B1002", "B1006", "B1003"}));
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:2"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("3"));
    QCOMPARE(boundBoxes(t), QStringList({"B1002", "围城", "2026-10-30"}));

    // The next lending-tab refresh shows 001 again, on both grids once bound.
    showTab(t, Lending);
    scan(t, "txtReaderID", "001");
    QCOMPARE(column(t, "dtgrdLendBook", 2), QStringList({"B1001", "B1005"}));
    QCOMPARE(column(t, "dtgrdLendBookRenew", 2), QStringList({"B1001", "B1005"}));
    QCOMPARE(text(t, "txtReaderIDRenew"), QStringLiteral("002"));
    QCOMPARE(boundBoxes(t), QStringList({"B1001", "红楼梦", "2026-11-20"}));
    QCOMPARE(hints(t), QStringList{});
}

void GridTest::gridsShareTheCurrentRow()
{
    TestApp t;
    seedLoans(t);
    t.login();
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "002");
    grid(t, "dtgrdLendBookRenew")->selectRow(2);
    QCOMPARE(boundBoxes(t), QStringList({"B1003", "平凡的世界", "2026-11-28"}));
    // A row picked on the lending tab's grid is the current row of the one data source.
    scan(t, "txtReaderID", "002");
    QCOMPARE(boundBoxes(t), QStringList({"B1002", "围城", "2026-10-30"}));
    grid(t, "dtgrdLendBook")->selectRow(1);
    QCOMPARE(boundBoxes(t), QStringList({"B1006", "数学分析(上册)", "2026-11-15"}));
    QCOMPARE(grid(t, "dtgrdLendBookRenew")->currentIndex().row(), 1);
}

void GridTest::onlyOpenLoansWithAllTheirRowsAreListed()
{
    TestApp t;
    seedLoans(t);
    addBook(t, "B2001", "失散的书");
    addBook(t, "B2002", "无类的书");
    addLoan(t, "003", "B1004", "2026-11-01", "2026-11-20");  // returned
    addLoan(t, "003", "B2001", "2026-12-01");                // book gone
    addLoan(t, "003", "B2002", "2026-12-01");                // category gone
    t.exec("delete from bookInfo where 书籍编号='B2001'");
    t.exec("update bookInfo set 类别代码='W' where 书籍编号='B2002'");
    t.login();
    scan(t, "txtReaderID", "003");
    QCOMPARE(grid(t, "dtgrdLendBook")->model()->rowCount(), 0);
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:0"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("5"));
    QCOMPARE(boundBoxes(t), QStringList({"", "", ""}));
}

void GridTest::aReaderWithManyLoans()
{
    // More open loans than the grid's model fetches at once (256): all are counted and listed.
    TestApp t;
    seedLibrary(t);
    setRules(t, 500, 0.1);
    QSqlDatabase db = t.db();
    db.transaction();
    for (int i = 0; i < 300; ++i) {
        const QString id = QStringLiteral("M%1").arg(i, 3, 10, QLatin1Char('0'));
        addBook(t, id, QStringLiteral("丛书第%1册").arg(i));
        addLoan(t, "001", id, "2026-11-01");
    }
    db.commit();
    t.login();
    scan(t, "txtReaderID", "001");
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:300"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("200"));
    QCOMPARE(grid(t, "dtgrdLendBook")->model()->rowCount(), 300);
    QStringList books = column(t, "dtgrdLendBook", 2);
    books.sort();
    QCOMPARE(books.first(), QStringLiteral("M000"));
    QCOMPARE(books.last(), QStringLiteral("M299"));
    QCOMPARE(QSet<QString>(books.begin(), books.end()).size(), 300);

    // The renewal tab's bound boxes follow a row far down the list.
    showTab(t, Renewal);
    scan(t, "txtReaderIDRenew", "001");
    QTableView *renewals = grid(t, "dtgrdLendBookRenew");
    QTRY_COMPARE(renewals->model()->rowCount(), 300);
    renewals->selectRow(299);
    const QString last = renewals->model()->index(299, 2).data().toString();
    QCOMPARE(text(t, "txtBookIDRenew"), last);
    QCOMPARE(text(t, "txtBookNameRenew"), QStringLiteral("丛书第%1册").arg(last.mid(1).toInt()));
}

void GridTest::returnTabRefreshesTheLendingReader()
{
    TestApp t;
    seedLoans(t);
    t.login();
    scan(t, "txtReaderID", "001");
    addLoan(t, "001", "B1004", "2026-12-06");
    showTab(t, Return);
    scan(t, "txtReadIDReturn", "002");
    QCOMPARE(text(t, "txtReaderNameReturn"), QStringLiteral("李娜"));
    // The refresh is for the lending tab's reader, not the one found here.
    QCOMPARE(column(t, "dtgrdLendBook", 2), QStringList({"B1001", "B1005", "B1004"}));
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:3"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("2"));

    t.type(kMain, "txtReaderID", "");
    scan(t, "txtReadIDReturn", "002");
    QCOMPARE(grid(t, "dtgrdLendBook")->model()->rowCount(), 0);
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:0"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("5"));
    QCOMPARE(focused(t), QStringLiteral("txtBookIDReturn"));
}

void GridTest::readerWindowRefreshesThroughTheMainWindow()
{
    TestApp t;
    seedLoans(t);
    t.login();
    t.type(kMain, "txtReaderID", "002");
    t.app().mainWindow()->desk().InitDataGrid(false);
    QCOMPARE(column(t, "dtgrdLendBook", 2), QStringList({"B1002", "B1006", "B1003"}));
    QCOMPARE(text(t, "lblLendCount"), QStringLiteral("已借图书册数:3"));
    QCOMPARE(text(t, "lblRemain"), QStringLiteral("2"));
}

LENDORA_TEST_CLASS(GridTest)
#include "tst_grid.moc"
