#include "CatalogueSteps.h"
#include "TestMain.h"
#include "gui/widgets/Texts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace lendora;
using namespace catalogue;

namespace {

const QString kWin = QStringLiteral("FrmSetBook");

// The enabled state of cmdAdd, cmdModify, cmdDel, cmdClose, cmdSave, cmdCancel and
// txtTypeID, one digit each.
QString states(TestApp &t)
{
    QString s;
    for (const char *name :
         {"cmdAdd", "cmdModify", "cmdDel", "cmdClose", "cmdSave", "cmdCancel", "txtTypeID"})
        s += t.control<QWidget>(kWin, QString::fromLatin1(name))->isEnabled() ? '1' : '0';
    return s;
}

const QString kIdle = QStringLiteral("1111001");
const QString kAdding = QStringLiteral("0000111");
const QString kModifying = QStringLiteral("0000110");

QStringList fields(TestApp &t)
{
    return {t.text(kWin, "txtTypeID"), t.text(kWin, "txtTypeName"), t.text(kWin, "txtDay")};
}

void openWithThree(TestApp &t)
{
    seedCategories(t, {{"A", "文学", 30}, {"B", "历史", 14}, {"C", "哲学", 7}});
    t.login();
    t.trigger("mnuSetBook");
}

}  // namespace

class CategoryTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnFirstRow();
    void addThenCancelWritesNothing();
    void addThenSaveStoresOneRow();
    void modifyChangesOnlyThatRow();
    void codeEditableAgainAfterModifyCancel();
    void loanDays_data();
    void loanDays();
    void duplicateCodeRefused();
    void emptyCodeRefused_data();
    void emptyCodeRefused();
    void deleteAsksThenReloads_data();
    void deleteAsksThenReloads();
    void emptyTableHasNothingToDelete();
    void closingDuringAddStoresNothing();
};

void CategoryTest::opensOnFirstRow()
{
    TestApp t;
    openWithThree(t);
    QVERIFY(t.window(kWin));
    QCOMPARE(t.text(kWin, kWin), QString::fromUtf8("设置图书类别"));
    QTableView *view = grid(t, kWin);
    QCOMPARE(view->model()->rowCount(), 3);
    QCOMPARE(view->model()->columnCount(), 3);
    const QStringList headers = {QStringLiteral("类别代码"), QStringLiteral("书籍类别"),
                                 QStringLiteral("借出天数")};
    for (int c = 0; c < 3; ++c)
        QCOMPARE(view->model()->headerData(c, Qt::Horizontal).toString(), headers.at(c));
    QCOMPARE(currentRow(view), 0);
    QCOMPARE(fields(t), QStringList({"A", "文学", "30"}));
    QCOMPARE(states(t), kIdle);
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void CategoryTest::addThenCancelWritesNothing()
{
    TestApp t;
    openWithThree(t);
    clickRow(grid(t, kWin), 1);
    QCOMPARE(fields(t), QStringList({"B", "历史", "14"}));
    t.click(kWin, "cmdAdd");
    QCOMPARE(states(t), kAdding);
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 4);
    QCOMPARE(currentRow(grid(t, kWin)), 3);
    QCOMPARE(fields(t), QStringList({"", "", ""}));
    t.type(kWin, "txtTypeID", "D");
    t.type(kWin, "txtTypeName", "小说");
    t.type(kWin, "txtDay", "21");
    t.click(kWin, "cmdCancel");

    QCOMPARE(states(t), kIdle);
    QCOMPARE(count(t, "bookType"), 3);
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 3);
    QCOMPARE(fields(t), QStringList({"B", "历史", "14"}));
    QVERIFY(t.prompter().shown().isEmpty());
}

void CategoryTest::addThenSaveStoresOneRow()
{
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeID", "D");
    t.type(kWin, "txtTypeName", "小说 ");
    t.type(kWin, "txtDay", "21");
    t.click(kWin, "cmdSave");

    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(t.prompter().shown().at(0).prompt.text, QString::fromUtf8("保存完毕!"));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(states(t), kIdle);
    QCOMPARE(count(t, "bookType"), 4);
    QCOMPARE(t.scalar("select 书籍类别 from bookType where 类别代码='D'").toString(),
             QString::fromUtf8("小说 "));
    QCOMPARE(t.scalar("select 借出天数 from bookType where 类别代码='D'").toInt(), 21);
    // The grid shows the stored row once, and the fields show it.
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 4);
    QCOMPARE(fields(t), QStringList({"D", "小说 ", "21"}));

    // Closing and opening again finds exactly the stored rows.
    t.click(kWin, "cmdClose");
    t.trigger("mnuSetBook");
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 4);
}

void CategoryTest::modifyChangesOnlyThatRow()
{
    TestApp t;
    openWithThree(t);
    clickRow(grid(t, kWin), 1);
    t.click(kWin, "cmdModify");
    QCOMPARE(states(t), kModifying);
    t.type(kWin, "txtTypeName", "历史、地理");
    t.type(kWin, "txtDay", "20");
    t.click(kWin, "cmdSave");

    QCOMPARE(t.prompter().texts(), QStringList({"保存完毕!"}));
    QCOMPARE(states(t), kIdle);
    QSqlQuery rows(t.db());
    QVERIFY(rows.exec("select 类别代码, 书籍类别, 借出天数 from bookType order by 类别代码"));
    QStringList all;
    while (rows.next())
        all << rows.value(0).toString() + "|" + rows.value(1).toString() + "|"
                   + rows.value(2).toString();
    QCOMPARE(all, QStringList({"A|文学|30", "B|历史、地理|20", "C|哲学|7"}));
    QCOMPARE(fields(t), QStringList({"B", "历史、地理", "20"}));
}

void CategoryTest::codeEditableAgainAfterModifyCancel()
{
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdModify");
    QVERIFY(!t.control<QLineEdit>(kWin, "txtTypeID")->isEnabled());
    t.click(kWin, "cmdCancel");
    QCOMPARE(states(t), kIdle);
    t.click(kWin, "cmdAdd");
    QCOMPARE(states(t), kAdding);
    t.type(kWin, "txtTypeID", "E");
    QCOMPARE(t.text(kWin, "txtTypeID"), QStringLiteral("E"));
}

void CategoryTest::loanDays_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");
    QTest::newRow("whole") << "30" << true << 30;
    QTest::newRow("half to even down") << "6.5" << true << 6;
    QTest::newRow("half to even up") << "7.5" << true << 8;
    QTest::newRow("below half") << "7.49" << true << 7;
    QTest::newRow("negative half") << "-2.5" << true << -2;
    QTest::newRow("blanks around") << " 12 " << true << 12;
    QTest::newRow("exponent") << "1e2" << true << 100;
    QTest::newRow("top of range") << "32767" << true << 32767;
    QTest::newRow("bottom of range") << "-32768" << true << -32768;
    QTest::newRow("rounds to top") << "32767.4" << true << 32767;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank") << " " << false << 0;
    QTest::newRow("text") << "abc" << false << 0;
    QTest::newRow("number then text") << "7天" << false << 0;
    QTest::newRow("comma") << "6,5" << false << 0;
    QTest::newRow("above range") << "32768" << false << 0;
    QTest::newRow("below range") << "-32769" << false << 0;
    QTest::newRow("rounds above range") << "32767.5" << false << 0;
}

void CategoryTest::loanDays()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(int, stored);
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeID", "X");
    t.type(kWin, "txtTypeName", "测试");
    t.type(kWin, "txtDay", typed);
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    if (accepted) {
        QCOMPARE(t.prompter().texts(), QStringList({"保存完毕!"}));
        QCOMPARE(t.scalar("select 借出天数 from bookType where 类别代码='X'").toInt(), stored);
        QCOMPARE(states(t), kIdle);
    } else {
        QCOMPARE(t.prompter().texts(), QStringList({"借出天数必须是整数!"}));
        QCOMPARE(count(t, "bookType"), 3);
        QCOMPARE(states(t), kAdding);
        QCOMPARE(fields(t), QStringList({"X", "测试", typed}));
    }
}

void CategoryTest::duplicateCodeRefused()
{
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeID", "B");
    t.type(kWin, "txtTypeName", "别的");
    t.type(kWin, "txtDay", "3");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"类别代码已存在,不能重复添加!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(count(t, "bookType"), 3);
    QCOMPARE(t.scalar("select 书籍类别 from bookType where 类别代码='B'").toString(),
             QString::fromUtf8("历史"));
    QCOMPARE(states(t), kAdding);

    // The code is compared exactly: a lower-case b is another category.
    t.prompter().clear();
    t.type(kWin, "txtTypeID", "b");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"保存完毕!"}));
    QCOMPARE(count(t, "bookType"), 4);
}

void CategoryTest::emptyCodeRefused_data()
{
    QTest::addColumn<QString>("days");
    QTest::newRow("loan days fine") << "30";
    QTest::newRow("loan days wrong too") << "x";
}

void CategoryTest::emptyCodeRefused()
{
    QFETCH(QString, days);
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeName", "无代码");
    t.type(kWin, "txtDay", days);
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"请输入类别代码!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(count(t, "bookType"), 3);
    QCOMPARE(states(t), kAdding);
    QCOMPARE(fields(t), QStringList({"", "无代码", days}));

    // With a code typed the same entry goes in.
    t.prompter().clear();
    t.type(kWin, "txtTypeID", "D");
    t.type(kWin, "txtDay", "30");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"保存完毕!"}));
    QCOMPARE(t.scalar("select 书籍类别 from bookType where 类别代码='D'").toString(),
             QString::fromUtf8("无代码"));
}

void CategoryTest::deleteAsksThenReloads_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void CategoryTest::deleteAsksThenReloads()
{
    QFETCH(bool, ok);
    TestApp t;
    // A category that books still use is deleted all the same; the books keep their code.
    seedBook(t, {"B1", "史记", "B", "中华书局", "司马迁", "125", "3322", "2026-03-02", 0});
    openWithThree(t);
    clickRow(grid(t, kWin), 1);
    t.prompter().answerConfirm(ok);
    t.click(kWin, "cmdDel");

    const auto &shown = t.prompter().shown();
    QCOMPARE(shown.size(), ok ? 2 : 1);
    QCOMPARE(shown.at(0).kind, testkit::ScriptedPrompter::Shown::Confirm);
    QCOMPARE(shown.at(0).prompt.text, QString::fromUtf8("是否真的要删除类别代码为B的类别信息?"));
    QCOMPARE(shown.at(0).prompt.title, hintTitle());
    QCOMPARE(shown.at(0).prompt.buttons, Buttons::OkCancel);
    if (ok) {
        QCOMPARE(shown.at(1).prompt.text, QString::fromUtf8("删除完毕!"));
        QCOMPARE(shown.at(1).prompt.title, hintTitle());
    }
    QCOMPARE(count(t, "bookType"), ok ? 2 : 3);
    QCOMPARE(t.scalar("select 类别代码 from bookInfo where 书籍编号='B1'").toString(),
             QStringLiteral("B"));
    QCOMPARE(grid(t, kWin)->model()->rowCount(), ok ? 2 : 3);
    QCOMPARE(currentRow(grid(t, kWin)), 0);
    QCOMPARE(fields(t), QStringList({"A", "文学", "30"}));
    QCOMPARE(states(t), kIdle);
}

void CategoryTest::emptyTableHasNothingToDelete()
{
    TestApp t;
    seedCategories(t, {});
    t.login();
    t.trigger("mnuSetBook");
    QCOMPARE(fields(t), QStringList({"", "", ""}));
    t.click(kWin, "cmdDel");
    QVERIFY(t.prompter().shown().isEmpty());
    QCOMPARE(states(t), kIdle);
    // Modify opens its edit all the same; there is no category for its save to change.
    t.click(kWin, "cmdModify");
    QCOMPARE(states(t), kModifying);
    t.type(kWin, "txtTypeName", "文学");
    t.type(kWin, "txtDay", "30");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"该类别已不存在,无法保存!"}));
    QCOMPARE(states(t), kModifying);
    QCOMPARE(count(t, "bookType"), 0);
    t.click(kWin, "cmdCancel");
    QCOMPARE(states(t), kIdle);
    t.prompter().clear();

    // The first category of an empty table can be added.
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeID", "A");
    t.type(kWin, "txtTypeName", "文学");
    t.type(kWin, "txtDay", "30");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"保存完毕!"}));
    QCOMPARE(count(t, "bookType"), 1);
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 1);
}

void CategoryTest::closingDuringAddStoresNothing()
{
    TestApp t;
    openWithThree(t);
    t.click(kWin, "cmdAdd");
    t.type(kWin, "txtTypeID", "D");
    t.window(kWin)->close();
    QVERIFY(!t.window(kWin));
    QCOMPARE(count(t, "bookType"), 3);
    t.trigger("mnuSetBook");
    QCOMPARE(grid(t, kWin)->model()->rowCount(), 3);
    QCOMPARE(states(t), kIdle);
}

LENDORA_TEST_CLASS(CategoryTest)
#include "tst_categories.moc"
