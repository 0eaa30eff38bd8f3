// A category code is one character: the book windows file a book under the first character of
// its category entry. And an engine that refuses a change of the catalogue is named to the
// clerk, not only that the change failed.
#include "CatalogueSteps.h"
#include "TestMain.h"
#include "gui/widgets/Texts.h"

#include <QComboBox>
#include <QtTest>

using namespace lendora;
using namespace catalogue;

namespace {

const QString kCategories = QStringLiteral("FrmSetBook");
const QString kEngineFailed = QStringLiteral("数据库操作失败,没有做任何改动。\nrefused");

QStringList entries(QComboBox *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

}  // namespace

class CategoryCodeTest : public QObject {
    Q_OBJECT

private slots:
    void categoryWindowTakesOneCharacter_data();
    void categoryWindowTakesOneCharacter();
    void longCodesOfTheLibraryAreNamedOnceAtStart();
    void engineFailureNamesItsCause_data();
    void engineFailureNamesItsCause();
};

void CategoryCodeTest::categoryWindowTakesOneCharacter_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("stored");
    QTest::newRow("two letters") << "TP" << false;
    QTest::newRow("a letter and a blank") << "T " << false;
    QTest::newRow("two Chinese characters") << "文学" << false;
    QTest::newRow("one letter") << "T" << true;
    QTest::newRow("one Chinese character") << "文" << true;
    QTest::newRow("one character outside the BMP") << QString::fromUtf8("𠀀") << true;
}

void CategoryCodeTest::categoryWindowTakesOneCharacter()
{
    QFETCH(QString, code);
    QFETCH(bool, stored);
    TestApp t;
    seedCategories(t, {{"A", "文学", 30}});
    t.login();
    t.trigger("mnuSetBook");
    t.click(kCategories, "cmdAdd");
    t.type(kCategories, "txtTypeID", code);
    t.type(kCategories, "txtTypeName", "自动化技术");
    t.type(kCategories, "txtDay", "30");
    t.click(kCategories, "cmdSave");
    const int rows = t.scalar("select count(*) from bookType where 类别代码=?", {code}).toInt();
    if (stored) {
        QCOMPARE(t.prompter().texts(), QStringList{"保存完毕!"});
        QCOMPARE(rows, 1);
        return;
    }
    QCOMPARE(t.prompter().texts(),
             QStringList{QString("类别代码“%1”不是一个字符!\n"
                                 "图书窗口只取类别的第一个字符作为代码,请改用一个字符的代码。")
                             .arg(code)});
    QCOMPARE(t.prompter().shown().first().prompt.title, hintTitle());
    QCOMPARE(rows, 0);
    QCOMPARE(count(t, "bookType"), 1);
    // The box keeps what was typed, and takes more: the clerk sees what to shorten.
    QCOMPARE(t.text(kCategories, "txtTypeID"), code);
    QVERIFY(t.control<QWidget>(kCategories, "cmdSave")->isEnabled());
    t.type(kCategories, "txtTypeID", code + "XYZ");
    QCOMPARE(t.text(kCategories, "txtTypeID"), code + "XYZ");
}

// A library written before the rule keeps its codes; the clerk learns once, at the start,
// which categories the book windows cannot offer, and they are not offered.
void CategoryCodeTest::longCodesOfTheLibraryAreNamedOnceAtStart()
{
    TestApp t;
    seedCategories(t, {{"T", "工业技术", 30}, {"TP", "自动化技术", 30}, {"TN", "电子技术", 14}});
    seedBook(t, {"B1", "控制论", "TP", "科学出版社", "维纳", "30", "200", "2026-03-02", 0});
    QVERIFY(t.start());
    QCOMPARE(t.prompter().texts(),
             QStringList{"以下类别的代码不是一个字符,在图书窗口中不能选择:\n"
                         "TP-自动化技术\nTN-电子技术\n"
                         "要把图书归入这些类别,请在“图书类别”中添加一个字符代码的类别代替它们。"});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    t.login();
    t.trigger("meuAddNewBook");
    t.trigger("mnuBookQuery");
    QCOMPARE(t.prompter().shown().size(), 1);
    QCOMPARE(entries(t.control<QComboBox>("FrmAddnew", "cboType")), QStringList{"T-工业技术"});
    QCOMPARE(entries(t.control<QComboBox>("FrmBookQuery", "cboType")), QStringList{"T-工业技术"});
    // The book filed under TP keeps its code, and its category is not turned into "TP-".
    t.trigger("mnuLendora");
    t.click("FrmLendora", "cmdModify");
    QCOMPARE(t.text("FrmUpdateBook", "cboType"), QString("自动化技术"));
    QCOMPARE(t.scalar("select 类别代码 from bookInfo").toString(), QString("TP"));
    QCOMPARE(count(t, "bookType"), 3);
}

void CategoryCodeTest::engineFailureNamesItsCause_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("when");  // the statement the engine refuses
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("said");  // the window's own text, before the cause
    QTest::newRow("new book") << "bookInfo"
                              << "insert"
                              << "FrmAddnew"
                              << "数据库拒绝了这次写入,新书未添加!";
    QTest::newRow("book changed") << "bookInfo"
                                  << "update"
                                  << "FrmUpdateBook"
                                  << "数据库拒绝了这次写入,书籍信息未修改!";
    QTest::newRow("book deleted") << "bookInfo"
                                  << "delete"
                                  << "FrmLendora"
                                  << "数据库拒绝了这次删除,编号B1未删除!";
    QTest::newRow("category added") << "bookType"
                                    << "insert"
                                    << "FrmSetBook"
                                    << "数据库拒绝了这次写入,类别未保存!";
    QTest::newRow("category changed") << "bookType"
                                      << "update"
                                      << "FrmSetBook"
                                      << "数据库拒绝了这次写入,类别未保存!";
    QTest::newRow("category deleted") << "bookType"
                                      << "delete"
                                      << "FrmSetBook"
                                      << "数据库拒绝了这次删除,类别未删除!";
}

void CategoryCodeTest::engineFailureNamesItsCause()
{
    QFETCH(QString, table);
    QFETCH(QString, when);
    QFETCH(QString, window);
    QFETCH(QString, said);
    if (TestApp::onServer())
        QSKIP("the refusal is a trigger of the file's engine");
    TestApp t;
    seedCategories(t, {{"A", "文学", 30}});
    seedBook(t, {"B1", "红楼梦", "A", "人民文学出版社", "曹雪芹", "59.7", "1606", "2026-03-02", 0});
    t.exec(QStringLiteral("create trigger refuse before %1 on %2 "
                          "begin select raise(abort, 'refused'); end")
               .arg(when, table));
    t.login();
    if (window == "FrmAddnew") {
        t.trigger("meuAddNewBook");
        t.type(window, "txtBookID", "B2");
        t.type(window, "txtBookName", "三国演义");
        t.type(window, "cboType", "A-文学");
        t.type(window, "txtBookPrice", "30");
        t.click(window, "cmdSave");
    } else if (window == "FrmUpdateBook" || window == "FrmLendora") {
        t.trigger("mnuLendora");
        if (window == "FrmUpdateBook") {
            t.click("FrmLendora", "cmdModify");
            t.click(window, "cmdSave");
        } else {
            t.prompter().answerConfirm(true);
            t.click(window, "cmdDel");
        }
    } else {
        t.trigger("mnuSetBook");
        if (when == "delete") {
            t.prompter().answerConfirm(true);
            t.click(window, "cmdDel");
        } else {
            t.click(window, when == "insert" ? "cmdAdd" : "cmdModify");
            if (when == "insert")
                t.type(window, "txtTypeID", "B");
            t.type(window, "txtTypeName", "历史");
            t.type(window, "txtDay", "14");
            t.click(window, "cmdSave");
        }
    }
    QStringList messages;
    for (const auto &shown : t.prompter().shown()) {
        if (shown.kind == testkit::ScriptedPrompter::Shown::Message)
            messages << shown.prompt.text;
    }
    // The window's text, then the engine's refusal in the clerk's words and its own.
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(said + "\n" + kEngineFailed),
             qPrintable(messages.first()));
    QCOMPARE(t.scalar("select count(*) from bookInfo").toInt(), 1);
    QCOMPARE(t.scalar("select count(*) from bookType").toInt(), 1);
    QCOMPARE(t.scalar("select 书籍名称 || 类别代码 from bookInfo").toString(), QString("红楼梦A"));
}

LENDORA_TEST_CLASS(CategoryCodeTest)
#include "tst_categorycodes.moc"
