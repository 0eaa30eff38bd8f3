#include "TestApp.h"
#include "TestMain.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString B = QStringLiteral("FrmBookQuery");
const QString L = QStringLiteral("FrmLendQuery");

void seedBooks(TestApp &t)
{
    const QList<QVariantList> books = {
        {"B101", "C++程序设计", "T", "清华大学出版社", "谭浩强", "39.5", "420", "2026-03-02", 1},
        {"B102", "数据结构", "T", "清华大学出版社", "严蔚敏", "35", "335", "2026-03-02", 1},
        {"B103", "围城", "I", "人民文学出版社", "钱锺书", "28", "359", "2026-04-18", 0},
        {"B110", "线性代数", "O", "清华大学出版社", "居余马", "26", "276", "2026-05-06", 0},
        {"A1", "Tom's Diary", "I", "机械工业出版社", "Tom", "20", "100", "2026-05-06", 0},
        {"A2", "50%折扣", "F", "不详", "不详", "10", "不详", "2026-05-07", 0},
        {"A3", "500本", "F", "不详", "不详", "10", "不详", "2026-05-07", 0},
        {"A4", "a_b", "F", "不详", "不详", "10", "不详", "2026-05-08", 0},
        {"A5", "axb", "F", "不详", "不详", "10", "不详", "2026-05-08", 0},
        {"TB1", "电路", "TB", "不详", "不详", "10", "不详", "2026-05-08", 0},
    };
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo values (?,?,?,?,?,?,?,?,?)", b);
}

void seedLoans(TestApp &t)
{
    seedBooks(t);
    t.exec("insert into readerInfo values ('001','张伟','男','','')");
    t.exec("insert into readerInfo values ('002','王芳','女','','')");
    t.exec("insert into readerInfo values ('012','张伟','男','','')");
    const QList<QVariantList> loans = {
        {"001", "B101", "2026-11-20", QVariant(), QVariant(), QVariant()},
        {"001", "B103", "2026-09-01", "2026-10-15", 14, 1.4},
        {"002", "B102", "2026-11-28", QVariant(), QVariant(), QVariant()},
        {"012", "B110", "2026-08-15", "2026-09-10", 0, 0.0},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo values (?,?,?,?,?,?)", l);
}

QTableView *grid(TestApp &t, const QString &window)
{
    return t.control<QTableView>(window, window == B ? "DataGrid1" : "dtgrdLendBook");
}

QStringList headers(QTableView *view)
{
    QStringList names;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        names << view->model()->headerData(c, Qt::Horizontal).toString();
    return names;
}

// Column `column` of every row, in the grid's order.
QStringList column(QTableView *view, int column)
{
    QAbstractItemModel *model = view->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    QStringList cells;
    for (int r = 0; r < model->rowCount(); ++r)
        cells << model->index(r, column).data().toString();
    return cells;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

void find(TestApp &t, const QString &window)
{
    t.prompter().clear();
    t.click(window, "cmdFind");
    QCOMPARE(t.prompter().shown().size(), 1);
    const auto &shown = t.prompter().shown().first();
    QCOMPARE(shown.prompt.text, QString("查询结果如下!!"));
    QCOMPARE(shown.prompt.title, hintTitle());
    QCOMPARE(shown.prompt.buttons, Buttons::Ok);
}

}  // namespace

class QueryWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void bookWindowAtLoad();
    void bookSearch_data();
    void bookSearch();
    void clearKeepsTheDateCriterion();
    void untickingDropsTheDate();
    void loanWindowAtLoad();
    void loanSearch_data();
    void loanSearch();
    void loansOfADeletedReaderDropOut();
    void loanWithoutCategoryIsNeverListed();
    void loanClearKeepsPartialMatching();
    void longTextIsCutWithItsTip_data();
    void longTextIsCutWithItsTip();
    void gridsScrollPastTheFirstFetch_data();
    void gridsScrollPastTheFirstFetch();
    void gridFollowsTheWindow_data();
    void gridFollowsTheWindow();
    void enterSearches_data();
    void enterSearches();
};

void QueryWindowsTest::longTextIsCutWithItsTip_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("box");  // typed into, then 查询 with partial matching
    QTest::newRow("book query") << B << "DataGrid1"
                                << "mnuBookQuery"
                                << "txtBookConcern";
    QTest::newRow("loan query") << L << "dtgrdLendBook"
                                << "mnuLendQuery"
                                << "txtBookName";
    QTest::newRow("book list") << "FrmLendora"
                               << "DataGrid1"
                               << "mnuLendora"
                               << "";
}

void QueryWindowsTest::longTextIsCutWithItsTip()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, command);
    QFETCH(QString, box);
    TestApp t;
    const QString title = QString(2000, QChar(u'长')) + QStringLiteral("尾");
    t.exec("insert into readerInfo values ('001','张伟','男','','')");
    t.exec("insert into bookInfo values ('L1',?,'I','人民出版社','佚名','10','100','2026-05-06',0)",
           {title});
    t.exec("insert into bookInfo values "
           "('L2','短','I','人民出版社','佚名','10','100','2026-05-06',0)");
    t.exec("insert into lentInfo values ('001','L1','2026-11-01','2026-11-20',0,0)");
    t.exec("insert into lentInfo values ('001','L2','2026-11-01','2026-11-20',0,0)");
    t.login();
    t.trigger(command);
    if (!box.isEmpty()) {
        t.control<QCheckBox>(window, "chkMoHu")->setChecked(true);
        t.type(window, box, box == "txtBookConcern" ? "人民" : "长");
        t.click(window, "cmdFind");
    }
    QTableView *view = t.control<QTableView>(window, grid);
    QVERIFY(view);
    const QAbstractItemModel *model = view->model();
    // The cells of the long and of the short title.
    QModelIndex longCell;
    QModelIndex shortCell;
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (index.data().toString() == title)
                longCell = index;
            else if (index.data().toString() == QStringLiteral("短"))
                shortCell = index;
        }
    }
    QVERIFY(longCell.isValid());
    for (int column = 0; column < model->columnCount(); ++column)
        QVERIFY2(view->columnWidth(column) <= kMaxColumnWidth, qPrintable(headers(view).join(',')));

    const auto tipOf = [view](const QModelIndex &index) {
        view->scrollTo(index);
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("a tip that never hides");
        const QPoint at = view->visualRect(index).center();
        QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipOf(longCell), title);
    if (shortCell.isValid())
        QCOMPARE(tipOf(shortCell), QString());
}

void QueryWindowsTest::gridsScrollPastTheFirstFetch_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("box");     // typed into, then 查询 with partial matching
    QTest::addColumn<int>("lentColumn");  // -1 when the grid has none
    QTest::newRow("book query") << B << "DataGrid1"
                                << "mnuBookQuery"
                                << "txtBookConcern" << 8;
    QTest::newRow("loan query") << L << "dtgrdLendBook"
                                << "mnuLendQuery"
                                << "txtBookName" << -1;
    QTest::newRow("book list") << "FrmLendora"
                               << "DataGrid1"
                               << "mnuLendora"
                               << "" << 8;
}

void QueryWindowsTest::gridsScrollPastTheFirstFetch()
{
    QFETCH(QString, window);
    QFETCH(QString, grid);
    QFETCH(QString, command);
    QFETCH(QString, box);
    QFETCH(int, lentColumn);
    // More rows than the model reads at once (256), each book once, every third one lent.
    TestApp t;
    constexpr int kRows = 600;
    t.exec("insert into readerInfo values ('001','张伟','男','','')");
    QSqlDatabase db = t.db();
    db.transaction();
    for (int i = 0; i < kRows; ++i) {
        const QString id = QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0'));
        t.exec(
            "insert into bookInfo values (?,?,'I','大众出版社','佚名','10','100','2026-05-06',?)",
            {id, QStringLiteral("长书单%1").arg(i), i % 3 == 0 ? 1 : 0});
        t.exec("insert into lentInfo values ('001',?,'2026-11-01','2026-11-20',0,0)", {id});
    }
    db.commit();
    t.login();
    t.trigger(command);
    if (!box.isEmpty()) {
        t.control<QCheckBox>(window, "chkMoHu")->setChecked(true);
        t.type(window, box, box == "txtBookConcern" ? "大众" : "长书单");
        t.click(window, "cmdFind");
    }
    QTableView *view = t.control<QTableView>(window, grid);
    QVERIFY(view);
    QAbstractItemModel *model = view->model();
    // Every row counted right after the first are shown, so the scroll bar is right before the
    // clerk drags it.
    QTRY_COMPARE(model->rowCount(), kRows);
    view->scrollToBottom();
    QCoreApplication::processEvents();
    QSet<QString> books;
    for (int r = 0; r < kRows; ++r) {
        const QString id = model->index(r, window == L ? 2 : 0).data().toString();
        books.insert(id);
        if (lentColumn >= 0)
            QCOMPARE(model->index(r, lentColumn).data().toString(),
                     QString::fromUtf8(id.mid(1).toInt() % 3 == 0 ? "是" : "否"));
    }
    QCOMPARE(books.size(), kRows);
}

void QueryWindowsTest::bookWindowAtLoad()
{
    TestApp t(QDate(2026, 5, 6));
    t.login();
    t.trigger("mnuBookQuery");
    QWidget *window = t.window(B);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("书库查询"));
    QCOMPARE(t.control<QGroupBox>(B, "Frame1")->title(), QString("请选择要查询的项:"));
    QCOMPARE(t.text(B, "cmdFind"), QString("开始查找"));
    QCOMPARE(t.text(B, "cmdClear"), QString("清空"));
    QCOMPARE(t.text(B, "cmdClose"), QString("关闭"));
    QCOMPARE(t.text(B, "chkMoHu"), QString("执行模糊查询"));
    QCOMPARE(t.text(B, "chkRigDate"), QString("登记日期:"));
    QVERIFY(!t.control<QCheckBox>(B, "chkMoHu")->isChecked());
    QVERIFY(!t.control<QCheckBox>(B, "chkRigDate")->isChecked());
    QCOMPARE(t.control<QDateEdit>(B, "dtpRigDate")->date(), QDate(2026, 5, 6));
    QVERIFY(t.control<QComboBox>(B, "Combo1")->isHidden());
    auto *types = t.control<QComboBox>(B, "cboType");
    QCOMPARE(types->count(), 22);
    QCOMPARE(types->itemText(0), QString("A-马克思主义、列宁主义、毛泽东思想、邓小平理论"));
    QCOMPARE(types->currentText(), QString());
    QCOMPARE(headers(grid(t, B)),
             (QStringList{"书籍编号", "书籍名称", "类别代码", "出版社", "作者姓名", "书籍价格",
                          "书籍页码", "登记日期", "是否借出"}));
    QCOMPARE(grid(t, B)->model()->rowCount(), 0);
    QVERIFY(t.prompter().shown().isEmpty());
}

void QueryWindowsTest::bookSearch_data()
{
    QTest::addColumn<QStringList>("texts");  // book number, title, category, publisher
    QTest::addColumn<QDate>("date");         // invalid: unticked
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("found");
    const QStringList none = {"", "", "", ""};
    const QStringList all = {"A1", "A2", "A3", "A4", "A5", "B101", "B102", "B103", "B110", "TB1"};
    QTest::newRow("nothing") << none << QDate() << false << all;
    QTest::newRow("B1 and publisher, partial")
        << QStringList{"B1", "", "", "清华大学出版社"} << QDate() << true
        << QStringList{"B101", "B102", "B110"};
    QTest::newRow("B1, exact") << QStringList{"B1", "", "", ""} << QDate() << false
                               << QStringList();
    QTest::newRow("date only") << none << QDate(2026, 5, 6) << false << QStringList{"A1", "B110"};
    QTest::newRow("date, partial: the same day")
        << none << QDate(2026, 3, 2) << true << QStringList{"B101", "B102"};
    QTest::newRow("apostrophe") << QStringList{"", "Tom's Diary", "", ""} << QDate() << false
                                << QStringList{"A1"};
    QTest::newRow("percent is literal")
        << QStringList{"", "50%", "", ""} << QDate() << true << QStringList{"A2"};
    QTest::newRow("underscore is literal")
        << QStringList{"", "a_", "", ""} << QDate() << true << QStringList{"A4"};
    QTest::newRow("three blanks") << QStringList{"   ", "", "", ""} << QDate() << false
                                  << QStringList();
    QTest::newRow("three blanks, partial")
        << QStringList{"   ", "", "", ""} << QDate() << true << QStringList();
    QTest::newRow("category entry")
        << QStringList{"", "", "T-工业技术", ""} << QDate() << false << QStringList{"B101", "B102"};
    QTest::newRow("category typed, first letter")
        << QStringList{"", "", "TB", ""} << QDate() << false << QStringList{"B101", "B102"};
    QTest::newRow("category, partial")
        << QStringList{"", "", "TB", ""} << QDate() << true << QStringList{"B101", "B102", "TB1"};
    QTest::newRow("all five") << QStringList{"B102", "数据结构", "T", "清华大学出版社"}
                              << QDate(2026, 3, 2) << false << QStringList{"B102"};
}

void QueryWindowsTest::bookSearch()
{
    QFETCH(QStringList, texts);
    QFETCH(QDate, date);
    QFETCH(bool, partial);
    QFETCH(QStringList, found);
    TestApp t;
    t.login();
    seedBooks(t);
    t.trigger("mnuBookQuery");
    t.type(B, "txtBookID", texts.at(0));
    t.type(B, "txtBookName", texts.at(1));
    t.type(B, "cboType", texts.at(2));
    t.type(B, "txtBookConcern", texts.at(3));
    if (date.isValid()) {
        t.click(B, "chkRigDate");
        t.control<QDateEdit>(B, "dtpRigDate")->setDate(date);
    }
    if (partial)
        t.click(B, "chkMoHu");
    find(t, B);
    QCOMPARE(sorted(column(grid(t, B), 0)), found);
    // The lent flag reads as the book list shows it.
    const QStringList ids = column(grid(t, B), 0);
    const QStringList lent = column(grid(t, B), 8);
    for (int row = 0; row < ids.size(); ++row)
        QCOMPARE(lent.at(row),
                 QString(ids.at(row) == "B101" || ids.at(row) == "B102" ? "是" : "否"));
}

void QueryWindowsTest::clearKeepsTheDateCriterion()
{
    TestApp t;
    t.login();
    seedBooks(t);
    t.trigger("mnuBookQuery");
    t.click(B, "chkRigDate");
    t.click(B, "chkMoHu");
    t.control<QDateEdit>(B, "dtpRigDate")->setDate(QDate(2026, 5, 8));
    t.type(B, "txtBookID", "A");
    t.type(B, "txtBookName", "a");
    t.type(B, "cboType", "F");
    t.type(B, "txtBookConcern", "不详");
    find(t, B);
    QCOMPARE(sorted(column(grid(t, B), 0)), (QStringList{"A4", "A5"}));

    t.click(B, "cmdClear");
    for (const char *box : {"txtBookID", "txtBookName", "cboType", "txtBookConcern"})
        QCOMPARE(t.text(B, box), QString());
    QVERIFY(t.control<QCheckBox>(B, "chkRigDate")->isChecked());
    QVERIFY(t.control<QCheckBox>(B, "chkMoHu")->isChecked());
    QCOMPARE(t.control<QDateEdit>(B, "dtpRigDate")->date(), QDate(2026, 5, 8));
    // The grid stays as it was until the next search, which still filters by date.
    QCOMPARE(column(grid(t, B), 0).size(), 2);
    find(t, B);
    QCOMPARE(sorted(column(grid(t, B), 0)), (QStringList{"A4", "A5", "TB1"}));
}

void QueryWindowsTest::untickingDropsTheDate()
{
    TestApp t;
    t.login();
    seedBooks(t);
    t.trigger("mnuBookQuery");
    auto *picker = t.control<QDateEdit>(B, "dtpRigDate");
    t.click(B, "chkRigDate");
    QVERIFY(picker->isEnabled());
    picker->setDate(QDate(2026, 4, 18));
    find(t, B);
    QCOMPARE(column(grid(t, B), 0), QStringList{"B103"});
    t.click(B, "chkRigDate");
    QVERIFY(!picker->isEnabled());
    QCOMPARE(picker->date(), QDate(2026, 4, 18));
    find(t, B);
    QCOMPARE(column(grid(t, B), 0).size(), 10);
}

void QueryWindowsTest::loanWindowAtLoad()
{
    TestApp t;
    t.login();
    t.trigger("mnuLendQuery");
    QWidget *window = t.window(L);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("借阅查询"));
    QCOMPARE(t.text(L, "cmdFind"), QString("开始查询"));
    QCOMPARE(t.text(L, "cmdClear"), QString("清空"));
    QCOMPARE(t.text(L, "cmdClose"), QString("关闭"));
    QVERIFY(!t.control<QCheckBox>(L, "chkMoHu")->isChecked());
    QCOMPARE(t.control<QGroupBox>(L, "Frame2")->height(), twips(135));
    QCOMPARE(headers(grid(t, L)),
             (QStringList{"读者编号", "读者姓名", "书籍编号", "书籍名称", "书籍类别", "书籍页码",
                          "出版社", "借书日期", "还书日期"}));
    QCOMPARE(grid(t, L)->model()->rowCount(), 0);
}

void QueryWindowsTest::loanSearch_data()
{
    QTest::addColumn<QStringList>("texts");  // reader number, book number, reader name, title
    QTest::addColumn<bool>("partial");
    QTest::addColumn<QStringList>("found");  // reader number/book number
    const QStringList all = {"001/B101", "001/B103", "002/B102", "012/B110"};
    QTest::newRow("nothing: open and returned") << QStringList{"", "", "", ""} << false << all;
    QTest::newRow("reader name, exact") << QStringList{"", "", "张伟", ""} << false
                                        << QStringList{"001/B101", "001/B103", "012/B110"};
    QTest::newRow("reader number, exact")
        << QStringList{"01", "", "", ""} << false << QStringList();
    QTest::newRow("reader number, partial")
        << QStringList{"01", "", "", ""} << true << QStringList{"001/B101", "001/B103", "012/B110"};
    QTest::newRow("book and title, partial")
        << QStringList{"", "B1", "", "数据"} << true << QStringList{"002/B102"};
    QTest::newRow("book, exact") << QStringList{"", "B103", "", ""} << false
                                 << QStringList{"001/B103"};
    QTest::newRow("percent is literal") << QStringList{"", "", "", "%"} << true << QStringList();
}

void QueryWindowsTest::loanSearch()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, partial);
    QFETCH(QStringList, found);
    TestApp t;
    t.login();
    seedLoans(t);
    t.trigger("mnuLendQuery");
    t.type(L, "txtReaderID", texts.at(0));
    t.type(L, "txtBookID", texts.at(1));
    t.type(L, "txtReaderName", texts.at(2));
    t.type(L, "txtBookName", texts.at(3));
    if (partial)
        t.click(L, "chkMoHu");
    find(t, L);
    QStringList rows;
    const QStringList readers = column(grid(t, L), 0);
    const QStringList books = column(grid(t, L), 2);
    for (int i = 0; i < readers.size(); ++i)
        rows << readers.at(i) + "/" + books.at(i);
    QCOMPARE(sorted(rows), found);
}

void QueryWindowsTest::loansOfADeletedReaderDropOut()
{
    TestApp t;
    t.login();
    seedLoans(t);
    // The reader's only loan is back, so the reader window lets the reader go.
    t.trigger("meuReaderSet");
    t.type("FrmReader", "txtReaderNo", "012");
    t.click("FrmReader", "Command6");
    QCOMPARE(t.prompter().texts(), QStringList{"编号012读者已删除!"});

    t.trigger("mnuLendQuery");
    find(t, L);
    QCOMPARE(sorted(column(grid(t, L), 0)), (QStringList{"001", "001", "002"}));
    QCOMPARE(t.scalar("select count(*) from lentInfo where 读者编号='012'").toInt(), 1);
}

void QueryWindowsTest::loanWithoutCategoryIsNeverListed()
{
    TestApp t;
    t.login();
    seedLoans(t);
    t.exec("delete from bookType where 类别代码='I'");
    t.trigger("mnuLendQuery");
    find(t, L);
    QCOMPARE(sorted(column(grid(t, L), 2)), (QStringList{"B101", "B102", "B110"}));
    // Open loans show no return date; the grid shows the category name and the pages.
    const QStringList returned = column(grid(t, L), 8);
    const QStringList books = column(grid(t, L), 2);
    QCOMPARE(returned.at(books.indexOf("B101")), QString());
    QCOMPARE(returned.at(books.indexOf("B110")), QString("2026-09-10"));
    QCOMPARE(column(grid(t, L), 4).at(books.indexOf("B101")), QString("工业技术"));
    QCOMPARE(column(grid(t, L), 5).at(books.indexOf("B101")), QString("420"));
    QCOMPARE(column(grid(t, L), 6).at(books.indexOf("B101")), QString("清华大学出版社"));
}

void QueryWindowsTest::loanClearKeepsPartialMatching()
{
    TestApp t;
    t.login();
    seedLoans(t);
    t.trigger("mnuLendQuery");
    t.click(L, "chkMoHu");
    for (const char *box : {"txtReaderID", "txtBookID", "txtReaderName", "txtBookName"})
        t.type(L, box, "x");
    t.click(L, "cmdClear");
    for (const char *box : {"txtReaderID", "txtBookID", "txtReaderName", "txtBookName"})
        QCOMPARE(t.text(L, box), QString());
    QVERIFY(t.control<QCheckBox>(L, "chkMoHu")->isChecked());
}

void QueryWindowsTest::gridFollowsTheWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("lessHeight");
    QTest::newRow("books") << B << twips(3435);
    QTest::newRow("loans") << L << twips(3645);
}

void QueryWindowsTest::gridFollowsTheWindow()
{
    QFETCH(QString, window);
    QFETCH(int, lessHeight);
    TestApp t;
    t.login();
    t.trigger(window == B ? "mnuBookQuery" : "mnuLendQuery");
    QWidget *w = t.window(window);
    for (const QSize size : {QSize(900, 600), QSize(1100, 700), w->minimumSize()}) {
        w->resize(size);
        QCOMPARE(w->size(), size);
        QCOMPARE(grid(t, window)->size(),
                 QSize(size.width() - twips(360), size.height() - lessHeight));
    }
}

void QueryWindowsTest::enterSearches_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("books");  // the book numbers listed, sorted
    QTest::newRow("book number") << B << "txtBookID"
                                 << "B103" << int(Qt::Key_Return) << QStringList{"B103"};
    QTest::newRow("title, keypad Enter") << B << "txtBookName"
                                         << "围城" << int(Qt::Key_Enter) << QStringList{"B103"};
    QTest::newRow("category") << B << "cboType"
                              << "I" << int(Qt::Key_Return) << QStringList{"A1", "B103"};
    QTest::newRow("publisher") << B << "txtBookConcern"
                               << "人民文学出版社" << int(Qt::Key_Return) << QStringList{"B103"};
    QTest::newRow("reader number") << L << "txtReaderID"
                                   << "002" << int(Qt::Key_Return) << QStringList{"B102"};
    QTest::newRow("loaned book") << L << "txtBookID"
                                 << "B110" << int(Qt::Key_Enter) << QStringList{"B110"};
    QTest::newRow("reader name") << L << "txtReaderName"
                                 << "王芳" << int(Qt::Key_Return) << QStringList{"B102"};
    QTest::newRow("loaned title") << L << "txtBookName"
                                  << "数据结构" << int(Qt::Key_Return) << QStringList{"B102"};
}

void QueryWindowsTest::enterSearches()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QStringList, books);
    TestApp t;
    seedLoans(t);
    t.login();
    t.trigger(window == B ? "mnuBookQuery" : "mnuLendQuery");
    t.type(window, box, typed);
    // The key goes where the keyboard sends it: an editable list passes it on to its box.
    QWidget *focus = t.window(window)->focusWidget();
    QCOMPARE(focus, t.control<QWidget>(window, box));
    QTest::keyClick(focus, Qt::Key(key));
    // One search, as 开始查找 runs it.
    QCOMPARE(t.prompter().texts(), QStringList({"查询结果如下!!"}));
    QCOMPARE(sorted(column(grid(t, window), window == B ? 0 : 2)), books);
}

LENDORA_TEST_CLASS(QueryWindowsTest)
#include "tst_querywindows.moc"
