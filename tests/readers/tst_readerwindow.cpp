#include "TestApp.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/Texts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString W = QStringLiteral("FrmReader");
const QStringList kBoxes = {"txtReaderNo", "txtReaderName", "txtReaderMan", "txtReaderTel",
                            "txtReaderAddress"};
const QStringList kButtons = {"Command1", "Command2", "Command7", "Command3",
                              "Command5", "Command6", "Command4"};

void seedReaders(TestApp &t)
{
    const QList<QVariantList> readers = {
        {"001", "张伟", "男", "13800138001", "计算机系"},
        {"002", "王芳", "女", "13800138002", "外语系"},
        {"007", "赵六", "男", "13900000007", "图书馆"},
        {"009", "孙九", "女", "13900000009", "数学系"},
        {"010", "周十", "男", "13900000010", "物理系"},
        {"1000", "吴千", "男", "", ""},
    };
    for (const QVariantList &r : readers)
        t.exec("insert into readerInfo values (?,?,?,?,?)", r);
}

// Opens the reader window in management view (or the given view through its menu item).
void openReaders(TestApp &t, const char *menuItem = "meuReaderSet")
{
    t.login();
    t.trigger(menuItem);
    QVERIFY(t.window(W));
}

QStringList boxTexts(TestApp &t)
{
    QStringList texts;
    for (const QString &box : kBoxes)
        texts << t.text(W, box);
    return texts;
}

QStringList visibleButtons(TestApp &t)
{
    QStringList shown;
    for (const QString &button : kButtons) {
        if (!t.control<QPushButton>(W, button)->isHidden())
            shown << button;
    }
    return shown;
}

QString hint(const QString &text)
{
    return text + QStringLiteral(" | ") + hintTitle();
}

QStringList prompts(TestApp &t)
{
    QStringList all;
    // Every message of this window is a plain message with an OK button.
    for (const auto &shown : t.prompter().shown()) {
        const bool plain = shown.kind == lendora::testkit::ScriptedPrompter::Shown::Message
                           && shown.prompt.buttons == Buttons::Ok;
        all << shown.prompt.text + QStringLiteral(" | ") + shown.prompt.title
                   + (plain ? QString() : QStringLiteral(" | not a plain message"));
    }
    return all;
}

QStringList readerRows(TestApp &t)
{
    QStringList rows;
    QSqlQuery q(t.db());
    q.exec("select 读者编号,读者姓名,读者性别,联系电话,所在部门 from readerInfo order by 读者编号");
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 5; ++i)
            cells << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << cells.join('/');
    }
    return rows;
}

void fill(TestApp &t, const QStringList &texts)
{
    for (int i = 0; i < kBoxes.size(); ++i)
        t.type(W, kBoxes.at(i), texts.value(i));
}

}  // namespace

class ReaderWindowTest : public QObject {
    Q_OBJECT

private slots:
    void views_data();
    void views();
    void addViewTakesTheLendingNumber();
    void reopeningKeepsTheFirstView();
    void captions();
    void findByButtonAndEnter_data();
    void findByButtonAndEnter();
    void findLeavesTheOptionButtons();
    void findShowsNullColumnsEmpty();
    void stepping_data();
    void stepping();
    void nextPastTheLastStartsAgain();
    void addReader();
    void addDuplicateNumberFails();
    void changeReader();
    void changeUnknownNumberFails();
    void deleteReader();
    void deleteUnknownNumberFails();
    void deleteRefusedWhileBooksAreOut();
    void deleteKeepsReturnedLoans();
    void engineFailures_data();
    void engineFailures();
    void byteLimits_data();
    void byteLimits();
    void pasteIsCutAtACharacter_data();
    void pasteIsCutAtACharacter();
    void optionButtonsFillTheSexBox();
    void fixedSize();
};

void ReaderWindowTest::views_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("query") << 0 << QStringList{"Command1", "Command2", "Command7", "Command4"};
    QTest::newRow("add") << 1 << QStringList{"Command3", "Command4"};
    QTest::newRow("management") << 2 << kButtons;
}

void ReaderWindowTest::views()
{
    QFETCH(int, mode);
    QFETCH(QStringList, shown);
    TestApp t;
    t.login();
    if (mode == 0) {
        t.trigger("meuReaderSort");
    } else if (mode == 2) {
        t.trigger("meuReaderSet");
    } else {
        t.click("Frmmain", "cmdReaderInfo");
    }
    QVERIFY(t.window(W));
    QCOMPARE(visibleButtons(t), shown);
}

void ReaderWindowTest::addViewTakesTheLendingNumber()
{
    TestApp t;
    t.login();
    seedReaders(t);
    // The number typed on the lending tab goes with its 添加新读者.
    t.type("Frmmain", "txtReaderID", "009");
    t.click("Frmmain", "cmdReaderInfo");
    QCOMPARE(t.text(W, "txtReaderNo"), QString("009"));
    QCOMPARE(visibleButtons(t), (QStringList{"Command3", "Command4"}));

    // Enter still finds, although the find button is hidden.
    t.enter(W, "txtReaderNo");
    QCOMPARE(t.text(W, "txtReaderName"), QString("孙九"));
    QVERIFY(t.prompter().shown().isEmpty());
}

void ReaderWindowTest::reopeningKeepsTheFirstView()
{
    TestApp t;
    openReaders(t, "meuReaderSet");
    t.type(W, "txtReaderNo", "001");
    t.trigger("meuReaderSort");
    QCOMPARE(visibleButtons(t), kButtons);
    QCOMPARE(t.text(W, "txtReaderNo"), QString("001"));
    t.click(W, "Command4");
    QVERIFY(!t.window(W));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    t.trigger("meuReaderSort");
    QCOMPARE(visibleButtons(t).size(), 4);
    QCOMPARE(t.text(W, "txtReaderNo"), QString());
}

void ReaderWindowTest::captions()
{
    TestApp t;
    openReaders(t);
    QWidget *window = t.window(W);
    QCOMPARE(window->windowTitle(), QString("读者资料管理"));
    QCOMPARE(t.control<QGroupBox>(W, "Frame1")->title(), QString("读者信息"));
    const QStringList captions = {"查找读者信息", "<",          ">",   "添加新读者",
                                  "修改读者信息", "删除该读者", "退出"};
    for (int i = 0; i < kButtons.size(); ++i)
        QCOMPARE(t.text(W, kButtons.at(i)), captions.at(i));
    QCOMPARE(t.control<QPushButton>(W, "Command2")->toolTip(), QString("上一个读者"));
    QCOMPARE(t.control<QPushButton>(W, "Command7")->toolTip(), QString("下一个读者"));
    QVERIFY(t.control<QRadioButton>(W, "Option1")->isChecked());
    QCOMPARE(t.text(W, "Option1"), QString("男"));
    QCOMPARE(t.text(W, "Option2"), QString("女"));
}

void ReaderWindowTest::findByButtonAndEnter_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("shown");
    const QStringList wang = {"002", "王芳", "女", "13800138002", "外语系"};
    const QStringList none = {"", "", "", "", ""};
    const QString enterNumber = QStringLiteral("请输入读者编号! | ") + appTitle();
    for (const bool enter : {false, true}) {
        const QByteArray how = enter ? "enter " : "button ";
        QTest::newRow(how + "found") << enter << "002" << wang << QStringList();
        QTest::newRow(how + "unknown")
            << enter << "003" << none << QStringList{hint("没有该读者信息!")};
        QTest::newRow(how + "trailing blank")
            << enter << "02 " << none << QStringList{hint("没有该读者信息!")};
        QTest::newRow(how + "empty")
            << enter << "" << QStringList{"", "旧名", "男", "", ""} << QStringList{enterNumber};
    }
}

void ReaderWindowTest::findByButtonAndEnter()
{
    QFETCH(bool, byEnter);
    QFETCH(QString, number);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, shown);
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.type(W, "txtReaderName", "旧名");
    t.type(W, "txtReaderNo", number);
    if (byEnter)
        t.enter(W, "txtReaderNo");
    else
        t.click(W, "Command1");
    QCOMPARE(prompts(t), shown);
    QCOMPARE(boxTexts(t), boxes);
}

void ReaderWindowTest::findLeavesTheOptionButtons()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.type(W, "txtReaderNo", "002");
    t.enter(W, "txtReaderNo");
    QCOMPARE(t.text(W, "txtReaderMan"), QString("女"));
    QVERIFY(t.control<QRadioButton>(W, "Option1")->isChecked());
}

void ReaderWindowTest::findShowsNullColumnsEmpty()
{
    TestApp t;
    openReaders(t);
    t.exec("insert into readerInfo values ('005',null,null,null,null)");
    t.type(W, "txtReaderName", "旧名");
    t.type(W, "txtReaderNo", "005");
    t.click(W, "Command1");
    QVERIFY(t.prompter().shown().isEmpty());
    QCOMPARE(boxTexts(t), (QStringList{"005", "", "", "", ""}));
}

void ReaderWindowTest::stepping_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("shown");
    const QStringList nothing;
    QTest::newRow("previous from 001") << "001"
                                       << "Command2"
                                       << "001"
                                       << "" << nothing;
    QTest::newRow("previous from empty") << ""
                                         << "Command2"
                                         << ""
                                         << "" << nothing;
    QTest::newRow("previous from 010") << "010"
                                       << "Command2"
                                       << "009"
                                       << "孙九" << nothing;
    QTest::newRow("next from empty") << ""
                                     << "Command7"
                                     << "001"
                                     << "张伟" << nothing;
    // The program's own number is never cut to the three typed bytes.
    QTest::newRow("next from 999") << "999"
                                   << "Command7"
                                   << "1000"
                                   << "吴千" << nothing;
    QTest::newRow("next to a gap") << "002"
                                   << "Command7"
                                   << ""
                                   << "" << QStringList{hint("没有该读者信息!")};
}

void ReaderWindowTest::stepping()
{
    QFETCH(QString, start);
    QFETCH(QString, button);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QStringList, shown);
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.type(W, "txtReaderNo", start);
    t.click(W, button);
    QCOMPARE(prompts(t), shown);
    QCOMPARE(t.text(W, "txtReaderNo"), number);
    QCOMPARE(t.text(W, "txtReaderName"), name);
}

void ReaderWindowTest::nextPastTheLastStartsAgain()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.exec("delete from readerInfo where 读者编号 <> '001' and 读者编号 <> '002'");
    t.type(W, "txtReaderNo", "002");
    t.click(W, "Command7");
    QCOMPARE(prompts(t), QStringList{hint("没有该读者信息!")});
    QCOMPARE(boxTexts(t), (QStringList{"", "", "", "", ""}));
    t.prompter().clear();
    t.click(W, "Command7");
    QVERIFY(t.prompter().shown().isEmpty());
    QCOMPARE(boxTexts(t), (QStringList{"001", "张伟", "男", "13800138001", "计算机系"}));
}

void ReaderWindowTest::addReader()
{
    TestApp t;
    openReaders(t);
    fill(t, {"011", "欧阳明月", "女", "010-12345678", "化学系"});
    t.click(W, "Command3");
    QCOMPARE(prompts(t), QStringList{hint("读者资料添加完毕")});
    QCOMPARE(readerRows(t), QStringList{"011/欧阳明月/女/010-12345678/化学系"});
    QCOMPARE(t.text(W, "txtReaderName"), QString("欧阳明月"));

    // Empty boxes are written as empty text.
    t.prompter().clear();
    fill(t, {"012"});
    t.click(W, "Command3");
    QCOMPARE(prompts(t), QStringList{hint("读者资料添加完毕")});
    QCOMPARE(readerRows(t).last(), QString("012////"));
}

void ReaderWindowTest::addDuplicateNumberFails()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    const QStringList before = readerRows(t);
    fill(t, {"002", "重名", "男", "1", "别处"});
    t.click(W, "Command3");
    // The cause after the window's own text, in the clerk's words.
    QCOMPARE(prompts(t),
             QStringList{hint("读者资料添加失败!\n已有相同编号或代码的记录,没有做任何改动。")});
    QCOMPARE(readerRows(t), before);
    QCOMPARE(boxTexts(t), (QStringList{"002", "重名", "男", "1", "别处"}));
}

void ReaderWindowTest::changeReader()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.type(W, "txtReaderNo", "007");
    t.enter(W, "txtReaderNo");
    t.type(W, "txtReaderName", "赵小六");
    t.type(W, "txtReaderTel", "");
    t.click(W, "Command5");
    QCOMPARE(prompts(t), QStringList{hint("读者资料修改完毕!")});
    QVERIFY(readerRows(t).contains("007/赵小六/男//图书馆"));
    QCOMPARE(readerRows(t).size(), 6);
}

void ReaderWindowTest::changeUnknownNumberFails()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    const QStringList before = readerRows(t);
    fill(t, {"003", "无此人", "男", "", ""});
    t.click(W, "Command5");
    QCOMPARE(prompts(t), QStringList{hint("读者资料修改失败!")});
    QCOMPARE(readerRows(t), before);
}

void ReaderWindowTest::deleteReader()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.type(W, "txtReaderNo", "007");
    t.enter(W, "txtReaderNo");
    t.click(W, "Command6");
    // No confirmation is asked.
    QCOMPARE(prompts(t), QStringList{hint("编号007读者已删除!")});
    QCOMPARE(boxTexts(t), (QStringList{"", "", "", "", ""}));
    QCOMPARE(t.scalar("select count(*) from readerInfo where 读者编号='007'").toInt(), 0);
    QCOMPARE(readerRows(t).size(), 5);
}

void ReaderWindowTest::deleteUnknownNumberFails()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    const QStringList before = readerRows(t);
    fill(t, {"003", "无此人"});
    t.click(W, "Command6");
    QCOMPARE(prompts(t), QStringList{hint("读者资料删除失败!")});
    QCOMPARE(readerRows(t), before);
    QCOMPARE(t.text(W, "txtReaderName"), QString("无此人"));
}

void ReaderWindowTest::deleteRefusedWhileBooksAreOut()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.exec("insert into bookInfo (书籍编号,书籍名称,类别代码,是否借出) values ('B1','围城','I',1)");
    t.exec("insert into lentInfo values ('007','B1','2026-11-01',null,null,null)");
    const QStringList before = readerRows(t);
    t.type(W, "txtReaderNo", "007");
    t.enter(W, "txtReaderNo");
    t.click(W, "Command6");
    QCOMPARE(prompts(t), QStringList{hint("该读者尚有未还图书,不能删除!")});
    QCOMPARE(readerRows(t), before);
    QCOMPARE(t.text(W, "txtReaderName"), QString("赵六"));

    // Once the book is back the reader can go.
    t.prompter().clear();
    t.exec("update lentInfo set 还书日期='2026-11-20', 超出天数=0, 罚款金额=0");
    t.click(W, "Command6");
    QCOMPARE(prompts(t), QStringList{hint("编号007读者已删除!")});
}

void ReaderWindowTest::deleteKeepsReturnedLoans()
{
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.exec("insert into bookInfo (书籍编号,书籍名称,类别代码) values ('B1','围城','I')");
    t.exec("insert into lentInfo values ('007','B1','2026-10-01','2026-10-20',0,0)");
    t.exec("insert into lentInfo values ('007','B1','2026-11-01','2026-11-09',0,0)");
    t.type(W, "txtReaderNo", "007");
    t.click(W, "Command6");
    QCOMPARE(prompts(t), QStringList{hint("编号007读者已删除!")});
    QCOMPARE(t.scalar("select count(*) from lentInfo where 读者编号='007'").toInt(), 2);
}

void ReaderWindowTest::engineFailures_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("add") << "before insert"
                         << "Command3"
                         << "读者资料添加失败!";
    QTest::newRow("change") << "before update"
                            << "Command5"
                            << "读者资料修改失败!";
    QTest::newRow("delete") << "before delete"
                            << "Command6"
                            << "读者资料删除失败!";
}

void ReaderWindowTest::engineFailures()
{
    if (TestApp::onServer())
        QSKIP("the refusal is a trigger of the file's engine");
    QFETCH(QString, trigger);
    QFETCH(QString, button);
    QFETCH(QString, message);
    TestApp t;
    openReaders(t);
    seedReaders(t);
    t.exec(QStringLiteral("create trigger refuse %1 on readerInfo "
                          "begin select raise(abort, 'refused'); end")
               .arg(trigger));
    const QStringList before = readerRows(t);
    fill(t, {button == "Command3" ? "020" : "002", "王小芳", "女", "", ""});
    t.click(W, button);
    // The window's own text, then the engine's refusal in the clerk's words and its own.
    const QStringList shown = prompts(t);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(message + "\n数据库操作失败,没有做任何改动。\nrefused")
                 && shown.first().endsWith(hint(QString())),
             qPrintable(shown.first()));
    QCOMPARE(readerRows(t), before);
    QCOMPARE(t.text(W, "txtReaderName"), QString("王小芳"));
}

void ReaderWindowTest::byteLimits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("number: three digits") << "txtReaderNo"
                                          << "1234"
                                          << "123";
    QTest::newRow("number: one chinese") << "txtReaderNo"
                                         << "1张三"
                                         << "1张";
    QTest::newRow("number: no half character") << "txtReaderNo"
                                               << "12张"
                                               << "12";
    QTest::newRow("name: four chinese") << "txtReaderName"
                                        << "欧阳明月清风"
                                        << "欧阳明月";
    QTest::newRow("name: mixed") << "txtReaderName"
                                 << "Tom汤姆abcd"
                                 << "Tom汤姆a";
    QTest::newRow("sex: one chinese") << "txtReaderMan"
                                      << "男女"
                                      << "男";
    QTest::newRow("sex: two letters") << "txtReaderMan"
                                      << "Mxy"
                                      << "Mx";
    QTest::newRow("sex: letter then chinese") << "txtReaderMan"
                                              << "M男"
                                              << "M";
    QTest::newRow("phone: twelve") << "txtReaderTel"
                                   << "0101234567890"
                                   << "010123456789";
    QTest::newRow("address: no limit") << "txtReaderAddress"
                                       << "计算机科学与技术学院软件工程系"
                                       << "计算机科学与技术学院软件工程系";
}

void ReaderWindowTest::byteLimits()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestApp t;
    openReaders(t);
    t.type(W, box, typed);
    QCOMPARE(t.text(W, box), kept);
}

void ReaderWindowTest::pasteIsCutAtACharacter_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::newRow("name at the end") << "txtReaderName"
                                     << "张三" << 2 << "李a四五"
                                     << "张三李a";
    QTest::newRow("name in the middle") << "txtReaderName"
                                        << "张三" << 1 << "李四王"
                                        << "张李四三";
    QTest::newRow("number in the middle") << "txtReaderNo"
                                          << "12" << 1 << "ab"
                                          << "1a2";
    QTest::newRow("number full") << "txtReaderNo"
                                 << "123" << 3 << "4"
                                 << "123";
    QTest::newRow("phone over a selection") << "txtReaderTel"
                                            << "123456789012" << -1 << "98765432101234"
                                            << "987654321012";
}

void ReaderWindowTest::pasteIsCutAtACharacter()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    TestApp t;
    openReaders(t);
    t.type(W, box, before);
    auto *edit = t.control<QLineEdit>(W, box);
    if (cursor < 0)
        edit->selectAll();
    else
        edit->setCursorPosition(cursor);
    edit->insert(pasted);  // what a paste does
    QCOMPARE(edit->text(), after);
}

void ReaderWindowTest::optionButtonsFillTheSexBox()
{
    TestApp t;
    openReaders(t);
    QCOMPARE(t.text(W, "txtReaderMan"), QString("男"));
    t.click(W, "Option2");
    QCOMPARE(t.text(W, "txtReaderMan"), QString("女"));
    t.click(W, "Option1");
    QCOMPARE(t.text(W, "txtReaderMan"), QString("男"));
    // The box can still be typed into; a click on the selected button sets it again.
    t.type(W, "txtReaderMan", "x");
    t.click(W, "Option1");
    QCOMPARE(t.text(W, "txtReaderMan"), QString("男"));
}

void ReaderWindowTest::fixedSize()
{
    TestApp t;
    openReaders(t);
    QWidget *window = t.window(W);
    const QSize fixed(twips(6450), twips(4125));
    QCOMPARE(window->frameGeometry().size(), fixed);
    window->resize(800, 600);
    QCOMPARE(window->frameGeometry().size(), fixed);
}

LENDORA_TEST_CLASS(ReaderWindowTest)
#include "tst_readerwindow.moc"
