#include "TestApp.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "readers/ReaderWindow.h"
#include "widgets/Texts.h"
#include "widgets/WindowRegistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

// One line per menu entry: "name text", "-" for a separator, "[name text" / "]" around a
// submenu.
QStringList describe(const QList<QAction *> &actions)
{
    QStringList lines;
    for (QAction *action : actions) {
        if (action->isSeparator()) {
            lines << "-";
        } else if (QMenu *sub = action->menu()) {
            lines << "[" + sub->objectName() + " " + sub->title();
            lines << describe(sub->actions());
            lines << "]";
        } else {
            lines << action->objectName() + " " + action->text();
        }
    }
    return lines;
}

// A stand-in for a secondary window that counts its loads and keeps the reader view it was
// loaded with.
struct StandIns {
    QHash<QString, int> loads;
    void add(TestApp &t, const QString &name)
    {
        t.app().windows().add(name, [this, &t, name](const QVariant &opening) {
            ++loads[name];
            auto *w = new QWidget;
            w->setObjectName(name);
            t.app().applyWindowStyle(w);
            w->setProperty("readerMode", int(opening.value<ReaderWindow::Opening>().mode));
            return w;
        });
    }
};

}  // namespace

class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void menuInOrder();
    void commandOpensOneInstance_data();
    void commandOpensOneInstance();
    void readerQueryKeepsOpenManagementView();
    void unregisteredWindowShowsNothing();
    void helpOpensReadme();
    void helpFileMissing();
    void helpThatCannotBeOpened();
};

void MenuTest::menuInOrder()
{
    TestApp t;
    t.login();
    auto *bar = t.control<QMenuBar>("Frmmain", "menubar");
    QVERIFY(bar);
    const QStringList expected = {
        "[meuBookM 书库管理",
        "meuAddNewBook 添加新书",
        "mnuLendora 书库管理",
        "-",
        "meuExit 退出系统",
        "]",
        "[mnuSysQuery 系统查询",
        "mnuBookQuery 书库查询",
        "-",
        "mnuLendQuery 借阅查询",
        "-",
        "meuReaderSort 读者查询",
        "]",
        "[mnuSetSys 系统设置",
        "mnuSetBasic 基本设置",
        "-",
        "mnuSetBook 图书类别",
        "meuReaderSet 读者管理",
        "-",
        "[meuFormStyle 界面风格",
        "meuWinStyle Windows默认",
        "-",
        "meuTypeStyle 经典传奇",
        "meuLight 轻松一刻",
        "]",
        "]",
        "[meuHelp 帮助(&H)",
        "meuUseHelper 使用帮助",
        "-",
        "meuHowToUse 每日小技巧",
        "-",
        "meuAbout 关于...",
        "]",
    };
    QCOMPARE(describe(bar->actions()), expected);

    // Only the three style items carry a mark, "Windows默认" at first.
    const QStringList checkable = {"meuWinStyle", "meuTypeStyle", "meuLight"};
    for (QAction *action : t.app().mainWindow()->findChildren<QAction *>()) {
        if (action->objectName().isEmpty())
            continue;
        QCOMPARE(action->isCheckable(), checkable.contains(action->objectName()));
        QCOMPARE(action->isChecked(), action->objectName() == "meuWinStyle");
    }
    QVERIFY(t.app().mainWindow()->systemLookChecked());
}

void MenuTest::commandOpensOneInstance_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("添加新书") << "meuAddNewBook"
                              << "FrmAddnew";
    QTest::newRow("书库管理") << "mnuLendora"
                              << "FrmLendora";
    QTest::newRow("书库查询") << "mnuBookQuery"
                              << "FrmBookQuery";
    QTest::newRow("借阅查询") << "mnuLendQuery"
                              << "FrmLendQuery";
    QTest::newRow("读者查询") << "meuReaderSort"
                              << "FrmReader";
    QTest::newRow("基本设置") << "mnuSetBasic"
                              << "FrmBasicSet";
    QTest::newRow("图书类别") << "mnuSetBook"
                              << "FrmSetBook";
    QTest::newRow("读者管理") << "meuReaderSet"
                              << "FrmReader";
    QTest::newRow("每日小技巧") << "meuHowToUse"
                                << "FrmHelp";
    QTest::newRow("关于...") << "meuAbout"
                             << "FrmAbout";
}

void MenuTest::commandOpensOneInstance()
{
    QFETCH(QString, command);
    QFETCH(QString, window);

    TestApp t;
    t.login();
    // The tips window opens after login by itself; this test wants it closed first.
    if (QWidget *open = t.window(window))
        QVERIFY(open->close());
    StandIns standIns;
    standIns.add(t, window);

    t.trigger(command);
    QWidget *first = t.window(window);
    QVERIFY(first);
    QCOMPARE(standIns.loads[window], 1);
    QVERIFY(!first->parentWidget());  // beside the main window, not inside it
    QVERIFY(!first->isModal());

    // Asked again while open (even minimised): the same window, raised, not loaded again.
    first->showMinimized();
    t.trigger(command);
    QCOMPARE(t.window(window), first);
    QVERIFY(!first->isMinimized());
    QCOMPARE(standIns.loads[window], 1);

    // Once closed, the next command loads it afresh.
    QVERIFY(first->close());
    QTRY_VERIFY(!t.app().windows().find(window));
    t.trigger(command);
    QVERIFY(t.window(window));
    QCOMPARE(standIns.loads[window], 2);
    QVERIFY(t.prompter().shown().isEmpty());
}

void MenuTest::readerQueryKeepsOpenManagementView()
{
    TestApp t;
    t.login();
    StandIns standIns;
    standIns.add(t, "FrmReader");

    t.trigger("meuReaderSet");
    QWidget *reader = t.window("FrmReader");
    QVERIFY(reader);
    QCOMPARE(reader->property("readerMode").toInt(), 2);

    t.trigger("meuReaderSort");
    QCOMPARE(t.window("FrmReader"), reader);
    QCOMPARE(reader->property("readerMode").toInt(), 2);
    QCOMPARE(standIns.loads["FrmReader"], 1);

    // The query view takes effect at the next load.
    reader->close();
    QTRY_VERIFY(!t.app().windows().find("FrmReader"));
    t.trigger("meuReaderSort");
    QCOMPARE(t.window("FrmReader")->property("readerMode").toInt(), 0);
}

void MenuTest::unregisteredWindowShowsNothing()
{
    WindowRegistry registry;
    QCOMPARE(registry.show("FrmNobody"), nullptr);
    QVERIFY(registry.openWindows().isEmpty());
    QVERIFY(!registry.has("FrmNobody"));
}

void MenuTest::helpOpensReadme()
{
    TestApp t;
    t.login();
    t.trigger("meuUseHelper");
    QCOMPARE(t.launcher().openedDocuments, QStringList{QDir(t.appDir()).filePath("readme.txt")});
    QVERIFY(t.prompter().shown().isEmpty());
}

void MenuTest::helpFileMissing()
{
    TestApp t;
    QVERIFY(QFile::remove(QDir(t.appDir()).filePath("readme.txt")));
    t.login();
    t.trigger("meuUseHelper");
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("帮助文件 readme.txt 未找到!")});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QVERIFY(t.launcher().openedDocuments.isEmpty());
}

void MenuTest::helpThatCannotBeOpened()
{
    TestApp t;
    t.login();
    t.launcher().succeed = false;
    t.trigger("meuUseHelper");
    QCOMPARE(t.launcher().openedDocuments.size(), 1);
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("无法打开帮助文件 readme.txt!")});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
}

LENDORA_TEST_CLASS(MenuTest)
#include "tst_menu.moc"
