#include "CatalogueSteps.h"
#include "TestMain.h"
#include "gui/widgets/Texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QSqlQuery>
#include <QtTest>

using namespace lendora;
using namespace catalogue;

namespace {

const QString kWin = QStringLiteral("FrmAddnew");

void open(TestApp &t,
          const QList<SeedCategory> &categories = {{"I", "文学", 30}, {"K", "历史、地理", 14}})
{
    seedCategories(t, categories);
    t.login();
    t.trigger("meuAddNewBook");
}

QStringList storedBook(TestApp &t, const QString &id)
{
    QSqlQuery query(t.db());
    query.prepare("select * from bookInfo where 书籍编号=?");
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return {};
    QStringList row;
    for (int i = 0; i < 9; ++i)
        row << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
    return row;
}

}  // namespace

class AddBookTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTodayAndPickLists();
    void saveChecks_data();
    void saveChecks();
    void savesTheFieldsAsTheyStand();
    void tabThroughTheForm_data();
    void tabThroughTheForm();
    void categoryMustExist_data();
    void categoryMustExist();
    void duplicateNumberRefused();
    void publisherList_data();
    void publisherList();
    void choosingAPublisher();
    void clearResetsDateKeepsList();
    void closingRequeriesBookList();
};

void AddBookTest::opensWithTodayAndPickLists()
{
    TestApp t(QDate(2026, 4, 1));
    open(t);
    QVERIFY(t.window(kWin));
    QCOMPARE(t.text(kWin, kWin), QString::fromUtf8("添加新书"));
    QCOMPARE(t.control<QDateEdit>(kWin, "dtpRigDate")->date(), QDate(2026, 4, 1));
    auto *types = t.control<QComboBox>(kWin, "cboType");
    QCOMPARE(types->count(), 2);
    QCOMPARE(types->itemText(0), QString::fromUtf8("I-文学"));
    QCOMPARE(types->itemText(1), QString::fromUtf8("K-历史、地理"));
    QCOMPARE(types->currentText(), QString());
    QVERIFY(!t.control<QComboBox>(kWin, "Combo1")->isVisible());
}

void AddBookTest::saveChecks_data()
{
    // number, title, category, publisher, author, price, pages
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");  // publisher, author, pages after the save
    QTest::newRow("all empty") << QStringList{"", "", "", "", "", "", ""} << "请输入书籍编号!"
                               << QStringList{"", "", ""};
    QTest::newRow("number only") << QStringList{"B1", "", "", "", "", "", ""} << "请输入书籍名称!"
                                 << QStringList{"", "", ""};
    QTest::newRow("no category") << QStringList{"B1", "围城", "", "", "", "39", ""}
                                 << "请选择书籍类别!" << QStringList{"", "", ""};
    QTest::newRow("no price") << QStringList{"B1", "围城", "I-文学", "", "", "", ""}
                              << "请输入书籍价格!" << QStringList{"不详", "不详", ""};
    QTest::newRow("no price, author typed")
        << QStringList{"B1", "围城", "I-文学", "", "钱锺书", "", ""} << "请输入书籍价格!"
        << QStringList{"不详", "钱锺书", ""};
}

void AddBookTest::saveChecks()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    TestApp t;
    open(t);
    const char *boxes[] = {"txtBookID", "txtBookName",  "cboType", "txtBookConcern",
                           "txtWriter", "txtBookPrice", "txtPage"};
    for (int i = 0; i < 7; ++i) {
        if (!typed.at(i).isEmpty())
            t.type(kWin, boxes[i], typed.at(i));
    }
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(t.prompter().shown().at(0).prompt.text, message);
    QCOMPARE(t.prompter().shown().at(0).prompt.title, appTitle());
    QCOMPARE(t.prompter().shown().at(0).prompt.buttons, Buttons::Ok);
    QCOMPARE(count(t, "bookInfo"), 0);
    QCOMPARE(t.text(kWin, "txtBookConcern"), after.at(0));
    QCOMPARE(t.text(kWin, "txtWriter"), after.at(1));
    QCOMPARE(t.text(kWin, "txtPage"), after.at(2));
}

void AddBookTest::savesTheFieldsAsTheyStand()
{
    TestApp t;
    open(t);
    t.type(kWin, "txtBookID", "B1 ");
    t.type(kWin, "txtBookName", " ");  // blanks are not empty
    t.control<QComboBox>(kWin, "cboType")->setCurrentIndex(1);
    t.type(kWin, "txtWriter", " 钱锺书");
    t.type(kWin, "txtBookPrice", "三十元");
    t.control<QDateEdit>(kWin, "dtpRigDate")->setDate(QDate(2026, 5, 1));
    t.click(kWin, "cmdSave");

    QCOMPARE(t.prompter().texts(), QStringList({"新书添加完毕"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(storedBook(t, "B1 "), QStringList({"B1 ", " ", "K", "不详", " 钱锺书", "三十元",
                                                "不详", "2026-05-01", "0"}));
    // The fields keep the saved book, defaults included.
    QCOMPARE(t.text(kWin, "txtBookID"), QStringLiteral("B1 "));
    QCOMPARE(t.text(kWin, "cboType"), QString::fromUtf8("K-历史、地理"));
    QCOMPARE(t.text(kWin, "txtBookConcern"), QString::fromUtf8("不详"));
    QCOMPARE(t.text(kWin, "txtPage"), QString::fromUtf8("不详"));
}

void AddBookTest::tabThroughTheForm_data()
{
    QTest::addColumn<QTestEventList>("dateKeys");
    QTest::addColumn<QDate>("date");
    QTest::newRow("date passed over") << QTestEventList() << QDate(2026, 4, 1);
    QTest::newRow("year typed") << keyScript("2025") << QDate(2025, 4, 1);
    QTest::newRow("every part typed") << keyScript("2025>03>15") << QDate(2025, 3, 15);
    QTest::newRow("more digits than the year holds") << keyScript("20253") << QDate(2025, 4, 1);
    QTest::newRow("day stepped up") << keyScript(">>^") << QDate(2026, 4, 2);
    // What a clerk who expected the pages box here types: an unfinished year, left as it was.
    QTest::newRow("pages typed into the year") << keyScript("300") << QDate(2026, 4, 1);
}

void AddBookTest::tabThroughTheForm()
{
    QFETCH(QTestEventList, dateKeys);
    QFETCH(QDate, date);
    TestApp t(QDate(2026, 4, 1));
    open(t);
    QWidget *window = t.window(kWin);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    t.control<QWidget>(kWin, "txtBookID")->setFocus(Qt::TabFocusReason);

    // Each field, typed, then one Tab on to the next.
    const QList<std::pair<QString, QString>> fields = {
        {"txtBookID", "B9"},
        {"txtBookName", "Fortress Besieged"},
        {"cboType", "K"},
        {"txtBookConcern", "Joint Publishing"},
        {"txtWriter", "Qian Zhongshu"},
        {"dtpRigDate", ""},
        {"txtPage", "300"},
        {"txtBookPrice", "45.00"},
    };
    for (const auto &[box, text] : fields) {
        QCOMPARE(focusName(window), box);
        if (box == "dtpRigDate")
            dateKeys.simulate(window->focusWidget());
        else
            QTest::keyClicks(window->focusWidget(), text);
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(focusName(window), QStringLiteral("cmdSave"));
    QTest::keyClick(window->focusWidget(), Qt::Key_Space);

    QCOMPARE(t.prompter().texts(), QStringList({"新书添加完毕"}));
    QCOMPARE(storedBook(t, "B9"),
             QStringList({"B9", "Fortress Besieged", "K", "Joint Publishing", "Qian Zhongshu",
                          "45.00", "300", date.toString(Qt::ISODate), "0"}));
}

void AddBookTest::categoryMustExist_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");  // the code stored; empty when the book is refused
    QTest::newRow("entry chosen") << "I-文学"
                                  << "I";
    QTest::newRow("code alone") << "K"
                                << "K";
    QTest::newRow("character outside the basic plane") << "𠀀-古籍"
                                                       << "𠀀";
    QTest::newRow("category name typed") << "文学" << QString();
    QTest::newRow("unknown code") << "Z自定义" << QString();
    QTest::newRow("code in lower case") << "i-文学" << QString();
    QTest::newRow("blank") << " " << QString();
}

void AddBookTest::categoryMustExist()
{
    QFETCH(QString, typed);
    QFETCH(QString, code);
    TestApp t;
    open(t, {{"I", "文学", 30}, {"K", "历史、地理", 14}, {"𠀀", "古籍", 7}});
    t.type(kWin, "txtBookID", "B7");
    t.type(kWin, "txtBookName", "书");
    t.type(kWin, "cboType", typed);
    t.type(kWin, "txtBookPrice", "1");
    t.click(kWin, "cmdSave");
    if (code.isEmpty()) {
        QCOMPARE(t.prompter().texts(), QStringList({"没有该书籍类别,请从列表中选择!"}));
        QCOMPARE(t.prompter().shown().at(0).prompt.title, appTitle());
        QCOMPARE(count(t, "bookInfo"), 0);
        QCOMPARE(t.text(kWin, "cboType"), typed);
    } else {
        QCOMPARE(t.prompter().texts(), QStringList({"新书添加完毕"}));
        QCOMPARE(t.scalar("select 类别代码 from bookInfo where 书籍编号='B7'").toString(), code);
    }
}

void AddBookTest::duplicateNumberRefused()
{
    TestApp t;
    seedBook(t, {"B1", "史记", "K", "中华书局", "司马迁", "125", "3322", "2026-03-02", 1});
    open(t);
    t.type(kWin, "txtBookID", "B1");
    t.type(kWin, "txtBookName", "围城");
    t.type(kWin, "cboType", "I-文学");
    t.type(kWin, "txtBookPrice", "39");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"书籍编号已存在,不能重复添加!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(count(t, "bookInfo"), 1);
    QCOMPARE(storedBook(t, "B1"), QStringList({"B1", "史记", "K", "中华书局", "司马迁", "125",
                                               "3322", "2026-03-02", "1"}));
    QCOMPARE(t.text(kWin, "txtBookName"), QString::fromUtf8("围城"));

    // A new number goes in; saving the same book again is refused in turn.
    t.prompter().clear();
    t.type(kWin, "txtBookID", "B2");
    t.click(kWin, "cmdSave");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"新书添加完毕", "书籍编号已存在,不能重复添加!"}));
    QCOMPARE(count(t, "bookInfo"), 2);
}

void AddBookTest::publisherList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("shown");
    QTest::newRow("one blank") << " " << true;
    QTest::newRow("blanks") << "   " << true;
    QTest::newRow("a letter") << "a" << false;
    QTest::newRow("blank then letter") << " a" << false;
    QTest::newRow("Chinese") << "清华" << false;
}

void AddBookTest::publisherList()
{
    QFETCH(QString, typed);
    QFETCH(bool, shown);
    TestApp t;
    open(t);
    t.type(kWin, "txtBookConcern", typed);
    QCOMPARE(t.control<QComboBox>(kWin, "Combo1")->isVisible(), shown);
    // Emptying the box hides the list again.
    t.type(kWin, "txtBookConcern", "");
    QVERIFY(!t.control<QComboBox>(kWin, "Combo1")->isVisible());
}

void AddBookTest::choosingAPublisher()
{
    TestApp t;
    open(t);
    t.type(kWin, "txtBookConcern", " ");
    auto *list = t.control<QComboBox>(kWin, "Combo1");
    QVERIFY(list->isVisible());
    auto *box = t.control<QWidget>(kWin, "txtBookConcern");
    QCOMPARE(list->geometry().topLeft(), box->geometry().bottomLeft() + QPoint(0, 1));
    QCOMPARE(list->width(), box->width());

    list->showPopup();
    QAbstractItemView *view = list->view();
    const QModelIndex tsinghua = view->model()->index(1, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(tsinghua).center());
    QCOMPARE(t.text(kWin, "txtBookConcern"), QString::fromUtf8("清华大学出版社"));
    QVERIFY(!list->isVisible());
}

void AddBookTest::clearResetsDateKeepsList()
{
    TestApp t(QDate(2026, 4, 1));
    open(t);
    t.control<QDateEdit>(kWin, "dtpRigDate")->setDate(QDate(2025, 1, 2));
    for (const char *box : {"txtBookID", "txtBookName", "cboType", "txtBookConcern", "txtWriter",
                            "txtBookPrice", "txtPage"})
        t.type(kWin, box, "x");
    t.click(kWin, "cmdClear");
    for (const char *box : {"txtBookID", "txtBookName", "cboType", "txtBookConcern", "txtWriter",
                            "txtBookPrice", "txtPage"})
        QCOMPARE(t.text(kWin, box), QString());
    // A date left over from the last book would go unnoticed on the next.
    QCOMPARE(t.control<QDateEdit>(kWin, "dtpRigDate")->date(), QDate(2026, 4, 1));
    QCOMPARE(t.control<QComboBox>(kWin, "cboType")->count(), 2);
}

void AddBookTest::closingRequeriesBookList()
{
    TestApp t;
    seedCategories(t, {{"I", "文学", 30}});
    t.login();
    t.trigger("mnuLendora");
    t.click("FrmLendora", "cmdAdd");
    QVERIFY(t.window(kWin));
    t.type(kWin, "txtBookID", "B1");
    t.type(kWin, "txtBookName", "围城");
    t.type(kWin, "cboType", "I-文学");
    t.type(kWin, "txtBookPrice", "39");
    t.click(kWin, "cmdSave");
    // The list learns of the book when the entry window closes.
    QCOMPARE(grid(t, "FrmLendora")->model()->rowCount(), 0);
    t.click(kWin, "cmdClose");
    QVERIFY(!t.window(kWin));
    QCOMPARE(grid(t, "FrmLendora")->model()->rowCount(), 1);
    QCOMPARE(cell(grid(t, "FrmLendora"), 0, 1), QString::fromUtf8("围城"));
}

LENDORA_TEST_CLASS(AddBookTest)
#include "tst_addbook.moc"
