#include "TestApp.h"
#include "TestMain.h"
#include "Unprivileged.h"
#include "app/MainWindow.h"
#include "base/Language.h"
#include "gui/readers/ReaderWindow.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowRegistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QtTest>
#include <unistd.h>

using namespace lendora;
using lendora::testkit::runsUnprivileged;
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
        t.app().windows().add<ReaderWindow::Opening>(
            name, [this, &t, name](const ReaderWindow::Opening &opening) {
                ++loads[name];
                auto *w = new QWidget;
                w->setObjectName(name);
                t.app().applyWindowStyle(w);
                w->setProperty("readerMode", int(opening.mode));
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
    void windowsOpenCentred_data();
    void windowsOpenCentred();
    void languageChoice_data();
    void languageChoice();
    void helpOpensReadme_data();
    void helpOpensReadme();
    void helpFileMissing_data();
    void helpFileMissing();
    void helpShownByTheProgram_data();
    void helpShownByTheProgram();
    void helpThatCannotBeRead();
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
        "mnuImportBooks 导入图书…",
        "mnuImportReaders 导入读者…",
        "mnuExportBooks 导出图书…",
        "mnuExportReaders 导出读者…",
        "-",
        "mnuBookLabels 打印图书条码…",
        "mnuReaderCards 打印读者证…",
        "-",
        "mnuReceipt 重印借书凭条",
        "-",
        "meuExit 退出系统",
        "]",
        "[mnuSysQuery 系统查询",
        "mnuBookQuery 书库查询",
        "-",
        "mnuLendQuery 借阅查询",
        "-",
        "mnuOverdue 逾期清单",
        "mnuDaySheet 今日汇总",
        "mnuStatistics 借阅统计",
        "-",
        "meuReaderSort 读者查询",
        "]",
        "[mnuSetSys 系统设置",
        "mnuSetBasic 基本设置",
        "-",
        "mnuSetBook 图书类别",
        "meuReaderSet 读者管理",
        "-",
        "mnuBackup 备份与恢复",
        "-",
        "[meuFormStyle 界面风格",
        "meuWinStyle Windows默认",
        "-",
        "meuTypeStyle 经典传奇",
        "meuLight 轻松一刻",
        "]",
        "[meuLanguage 语言",
        "mnuLanguageChinese 中文",
        "mnuLanguageEnglish English",
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

    // Only the style and language items carry a mark, "Windows默认" and "中文" at first.
    const QStringList checkable = {"meuWinStyle", "meuTypeStyle", "meuLight", "mnuLanguageChinese",
                                   "mnuLanguageEnglish"};
    const QStringList checked = {"meuWinStyle", "mnuLanguageChinese"};
    for (QAction *action : t.app().mainWindow()->findChildren<QAction *>()) {
        if (action->objectName().isEmpty())
            continue;
        QCOMPARE(action->isCheckable(), checkable.contains(action->objectName()));
        QCOMPARE(action->isChecked(), checked.contains(action->objectName()));
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
    QTest::newRow("逾期清单") << "mnuOverdue"
                              << "FrmOverdue";
    QTest::newRow("今日汇总") << "mnuDaySheet"
                              << "FrmDaySheet";
    QTest::newRow("借阅统计") << "mnuStatistics"
                              << "FrmStatistics";
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

void MenuTest::windowsOpenCentred_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("mainAt");  // where the main window stands, or "hidden"
    const struct {
        const char *command, *window;
    } windows[] = {
        {"meuAddNewBook", "FrmAddnew"},     {"mnuLendora", "FrmLendora"},
        {"mnuBookQuery", "FrmBookQuery"},   {"mnuLendQuery", "FrmLendQuery"},
        {"mnuOverdue", "FrmOverdue"},       {"mnuDaySheet", "FrmDaySheet"},
        {"mnuStatistics", "FrmStatistics"}, {"meuReaderSet", "FrmReader"},
        {"mnuSetBasic", "FrmBasicSet"},     {"mnuSetBook", "FrmSetBook"},
        {"meuHowToUse", "FrmHelp"},         {"meuAbout", "FrmAbout"},
    };
    for (const auto &w : windows) {
        for (const char *at : {"top-left", "bottom-right", "hidden"})
            QTest::addRow("%s, main %s", w.window, at) << w.command << w.window << at;
    }
}

void MenuTest::windowsOpenCentred()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(QString, mainAt);

    TestApp t;
    if (mainAt == "hidden") {
        QVERIFY(t.start());
    } else {
        t.login();
        if (QWidget *tips = t.window("FrmHelp"))
            QVERIFY(tips->close());
        QTRY_VERIFY(!t.app().windows().find("FrmHelp"));
    }
    QWidget *main = t.app().mainWindow();
    const QRect area = main->screen()->availableGeometry();
    // Away from the screen's centre, so that the two centres differ.
    const QPoint corner = mainAt == "top-left" ? area.topLeft() + QPoint(10, 20)
                                               : area.bottomRight() - QPoint(200, 150);
    main->move(corner);
    QTRY_COMPARE(main->pos(), corner);

    t.trigger(command);
    QWidget *opened = t.window(window);
    QVERIFY(opened);
    QRect expected(QPoint(), opened->frameGeometry().size());
    expected.moveCenter(mainAt == "hidden" ? area.center() : main->frameGeometry().center());
    // Kept on the screen.
    expected.moveLeft(
        qMax(area.left(), qMin(expected.left(), area.right() + 1 - expected.width())));
    expected.moveTop(qMax(area.top(), qMin(expected.top(), area.bottom() + 1 - expected.height())));
    const QPoint off = opened->frameGeometry().center() - expected.center();
    QVERIFY2(off.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1 off by %2, %3").arg(window).arg(off.x()).arg(off.y())));
    if (expected.width() <= area.width() && expected.height() <= area.height())
        QVERIFY(area.contains(opened->frameGeometry()));
}

void MenuTest::languageChoice_data()
{
    QTest::addColumn<QByteArray>("before");  // setting.ini; empty: none
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QStringList>("chosen");  // the language items triggered, in order
    QTest::addColumn<QByteArray>("after");    // empty: none
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QString>("marked");

    const QString nextStart = QString::fromUtf8("界面语言将在下次启动程序时生效。");
    const QByteArray styles = "LoadStyle=0\r\nLibraryName=东城图书馆\r\n";
    QTest::newRow("English, no settings file")
        << QByteArray() << false << QStringList{"mnuLanguageEnglish"}
        << QByteArray("Language=en\r\n") << QStringList{nextStart} << "mnuLanguageEnglish";
    QTest::newRow("English, the other keys kept")
        << styles << false << QStringList{"mnuLanguageEnglish"} << styles + "Language=en\r\n"
        << QStringList{nextStart} << "mnuLanguageEnglish";
    QTest::newRow("English, an old value replaced in its place")
        << QByteArray("Language=zh_CN\r\nLoadStyle=0\r\n") << false
        << QStringList{"mnuLanguageEnglish"} << QByteArray("Language=en\r\nLoadStyle=0\r\n")
        << QStringList{nextStart} << "mnuLanguageEnglish";
    QTest::newRow("Chinese, the one in force: nothing written")
        << styles << false << QStringList{"mnuLanguageChinese"} << styles << QStringList{}
        << "mnuLanguageChinese";
    QTest::newRow("Chinese, no file: none made")
        << QByteArray() << false << QStringList{"mnuLanguageChinese"} << QByteArray()
        << QStringList{} << "mnuLanguageChinese";
    QTest::newRow("English, English again, then Chinese")
        << styles << false
        << QStringList{"mnuLanguageEnglish", "mnuLanguageEnglish", "mnuLanguageChinese"}
        << styles + "Language=zh_CN\r\n"
        << QStringList{nextStart, nextStart} << "mnuLanguageChinese";
    QTest::newRow("read-only settings file")
        << styles << true << QStringList{"mnuLanguageEnglish"} << styles
        << QStringList{QString::fromUtf8("设置文件 %1 无法写入,界面语言没有改变。")}
        << "mnuLanguageChinese";
}

void MenuTest::languageChoice()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, readOnly);
    QFETCH(QStringList, chosen);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, prompts);
    QFETCH(QString, marked);

    TestApp t;
    const QString path = QDir(t.appDir()).filePath("setting.ini");
    if (!before.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    t.login();
    if (readOnly)
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    t.prompter().clear();
    for (const QString &item : chosen)
        t.trigger(item);

    for (QString &prompt : prompts)
        prompt.replace("%1", QDir::toNativeSeparators(path));
    QCOMPARE(t.prompter().texts(), prompts);
    for (const auto &shown : t.prompter().shown())
        QCOMPARE(shown.prompt.title, appTitle());
    if (after.isEmpty()) {
        QVERIFY(!QFileInfo::exists(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), after);
    }
    for (const char *item : {"mnuLanguageChinese", "mnuLanguageEnglish"}) {
        auto *action = t.control<QAction>("Frmmain", item);
        QVERIFY(action);
        QCOMPARE(action->isChecked(), marked == item);
    }
    // The interface itself keeps its language until the next start.
    QCOMPARE(t.window("Frmmain")->windowTitle().left(8), QString::fromUtf8("岚枢图书管理系统"));
}

void MenuTest::helpOpensReadme_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("file");
    QTest::newRow("Chinese") << Language::Chinese << "readme.txt";
    QTest::newRow("English") << Language::English << "readme_en.txt";
}

void MenuTest::helpOpensReadme()
{
    QFETCH(Language, language);
    QFETCH(QString, file);
    const Translations translations(language, LENDORA_TRANSLATIONS_DIR);
    QCOMPARE(Translations::inForce(), language);
    TestApp t;
    t.login();
    t.trigger("meuUseHelper");
    QCOMPARE(t.launcher().openedDocuments, QStringList{QDir(t.appDir()).filePath(file)});
    QVERIFY(t.prompter().shown().isEmpty());
    QVERIFY(!t.window("FrmReadme"));
}

void MenuTest::helpFileMissing_data()
{
    QTest::addColumn<bool>("desktopOpens");
    QTest::newRow("desktop opens text files") << true;
    QTest::newRow("nothing opens text files") << false;
}

void MenuTest::helpFileMissing()
{
    QFETCH(bool, desktopOpens);
    TestApp t;
    QVERIFY(QFile::remove(QDir(t.appDir()).filePath("readme.txt")));
    t.login();
    t.launcher().succeed = desktopOpens;
    t.trigger("meuUseHelper");
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("帮助文件 readme.txt 未找到!")});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QVERIFY(t.launcher().openedDocuments.isEmpty());
    QVERIFY(!t.window("FrmReadme"));
}

void MenuTest::helpShownByTheProgram_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: the shipped one
    QTest::addColumn<QString>("shown");
    QTest::newRow("shipped") << QByteArray() << QString();
    QTest::newRow("UTF-8, CR LF") << QByteArray("一、启动\r\n  登录\r\n")
                                  << QString::fromUtf8("一、启动\n  登录");
    QTest::newRow("GB18030, from an older installation")
        << QByteArray("\xd2\xbb\xa1\xa2\xc6\xf4\xb6\xaf\r\n") << QString::fromUtf8("一、启动");
}

void MenuTest::helpShownByTheProgram()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shown);
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("readme.txt");
    if (file.isEmpty()) {
        QFile shipped(path);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        shown = QString::fromUtf8(shipped.readAll()).chopped(1);  // its last line end
        QVERIFY(shown.startsWith(QString::fromUtf8("岚枢图书管理系统 使用说明\n")));
    } else {
        QFile own(path);
        QVERIFY(own.open(QIODevice::WriteOnly | QIODevice::Truncate));
        own.write(file);
    }
    t.login();
    t.launcher().succeed = false;  // nothing on this desktop opens a text file
    t.trigger("meuUseHelper");
    QCOMPARE(t.launcher().openedDocuments, QStringList{path});
    QVERIFY(t.prompter().shown().isEmpty());
    QWidget *readme = t.window("FrmReadme");
    QVERIFY(readme);
    QCOMPARE(readme->windowTitle(), QString::fromUtf8("使用帮助"));
    QVERIFY(!readme->parentWidget());
    QVERIFY(readme->width() >= 600 && readme->height() >= 400);
    auto *text = t.control<QPlainTextEdit>("FrmReadme", "txtReadme");
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), shown);

    // Asked again: the same window, raised.
    t.trigger("meuUseHelper");
    QCOMPARE(t.window("FrmReadme"), readme);
    QVERIFY(t.prompter().shown().isEmpty());

    // Read and put away with Esc.
    QVERIFY(QTest::qWaitForWindowActive(readme));
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!t.window("FrmReadme"));
}

void MenuTest::helpThatCannotBeRead()
{
    // Root reads any file: the case runs as nobody.
    if (!runsUnprivileged(this))
        return;
    TestApp t;
    QVERIFY(QFile::setPermissions(QDir(t.appDir()).filePath("readme.txt"), {}));
    t.login();
    t.launcher().succeed = false;
    t.trigger("meuUseHelper");
    QCOMPARE(t.launcher().openedDocuments.size(), 1);
    QCOMPARE(t.prompter().texts(), QStringList{QString::fromUtf8("无法打开帮助文件 readme.txt!")});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QVERIFY(!t.window("FrmReadme"));
}

LENDORA_TEST_CLASS(MenuTest)
#include "tst_menu.moc"
