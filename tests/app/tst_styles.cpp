#include "TestApp.h"
#include "TestMain.h"
#include "app/MainWindow.h"
#include "base/KeyValueFile.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Texts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QVBoxLayout>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString kTypeStyleMissing = QString::fromUtf8("文件 .\\style\\type-style.skn 不存在!");
const QString kLightStyleMissing = QString::fromUtf8("文件 \\style\\light-hearted.skn 不存在!");
const QString kBadSetting = QString::fromUtf8("不正确的设定值!");

const QString kTypeSkin = QStringLiteral("style/type-style.skn");
const QString kLightSkin = QStringLiteral("style/light-hearted.skn");

QString settingsPath(const TestApp &t)
{
    return QDir(t.appDir()).filePath("setting.ini");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString skinSheet(const QString &appDir, const QString &skin)
{
    return skin.isEmpty() ? QString() : QString::fromUtf8(readAll(QDir(appDir).filePath(skin)));
}

// The style items that carry the check mark, by name.
QStringList checkedStyles(const TestApp &t)
{
    QStringList checked;
    for (const char *name : {"meuWinStyle", "meuTypeStyle", "meuLight"}) {
        if (t.control<QAction>("Frmmain", name)->isChecked())
            checked << QString::fromLatin1(name);
    }
    return checked;
}

// A secondary window that follows the style convention like every real one.
class ProbeWindow : public QWidget {
public:
    explicit ProbeWindow(Application &app)
    {
        setObjectName("FrmProbe");
        app.applyWindowStyle(this);
        auto *layout = new QVBoxLayout(this);
        m_input = new QLineEdit;
        m_input->setObjectName("txtProbe");
        markInput(m_input);
        m_plain = new QLineEdit;
        m_plain->setObjectName("txtPlain");
        layout->addWidget(m_input);
        layout->addWidget(m_plain);
        layout->addWidget(new QPushButton(QString::fromUtf8("确定")));
        resize(240, 120);
    }
    QLineEdit *m_input;
    QLineEdit *m_plain;
};

void registerProbe(TestApp &t)
{
    t.app().windows().add("FrmProbe", [&t] { return new ProbeWindow(t.app()); });
}

QColor middleOf(QWidget *w)
{
    return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2);
}

}  // namespace

class StylesTest : public QObject {
    Q_OBJECT

private slots:
    void savedStyleAtStart_data();
    void savedStyleAtStart();
    void missingSkinAtStart();

    void chooseStyle_data();
    void chooseStyle();
    void choosingTheCheckedItemAgainKeepsIt();
    void missingSkinChangesNothing_data();
    void missingSkinChangesNothing();
    void readOnlySettingsKeepStyleForThisRun();
    void chosenStyleComesBackAtNextStart_data();
    void chosenStyleComesBackAtNextStart();

    void secondaryWindowTakesStyleInForce();
    void everyMenuWindowTakesTheSkin_data();
    void everyMenuWindowTakesTheSkin();
    void openWindowKeepsItsStyleUntilReopened();
    void inputBoxesStayLightCyan();
};

void StylesTest::savedStyleAtStart_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no settings file
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("after");  // null: no settings file

    const QByteArray none;
    QTest::newRow("no file") << none << "meuWinStyle"
                             << ""
                             << "" << none;
    QTest::newRow("0") << QByteArray("LoadStyle=0\r\n") << "meuWinStyle"
                       << ""
                       << "" << QByteArray("LoadStyle=0\r\n");
    QTest::newRow("1") << QByteArray("LoadStyle=1\r\n") << "meuTypeStyle" << kTypeSkin << ""
                       << QByteArray("LoadStyle=1\r\n");
    QTest::newRow("2 among others")
        << QByteArray("a=1\r\nLoadStyle=2\r\nb=2\r\n") << "meuLight" << kLightSkin << ""
        << QByteArray("a=1\r\nLoadStyle=2\r\nb=2\r\n");
    QTest::newRow("2abc") << QByteArray("LoadStyle=2abc\r\n") << "meuLight" << kLightSkin << ""
                          << QByteArray("LoadStyle=2\r\n");
    QTest::newRow("leading blanks") << QByteArray("LoadStyle=  1\r\n") << "meuTypeStyle"
                                    << kTypeSkin << "" << QByteArray("LoadStyle=1\r\n");
    QTest::newRow("2.0") << QByteArray("LoadStyle=2.0\r\n") << "meuLight" << kLightSkin << ""
                         << QByteArray("LoadStyle=2\r\n");
    QTest::newRow("substring key") << QByteArray("xLoadStyle=1\r\n") << "meuTypeStyle" << kTypeSkin
                                   << "" << QByteArray("LoadStyle=1\r\n");
    QTest::newRow("empty") << QByteArray("LoadStyle=\r\n") << "meuWinStyle"
                           << ""
                           << "" << QByteArray("LoadStyle=\r\n");
    QTest::newRow("abc") << QByteArray("LoadStyle=abc\r\n") << "meuWinStyle"
                         << ""
                         << "" << QByteArray("LoadStyle=abc\r\n");
    QTest::newRow("no key") << QByteArray("other=2\r\n") << "meuWinStyle"
                            << ""
                            << "" << QByteArray("other=2\r\n");
    QTest::newRow("3") << QByteArray("x=1\r\nLoadStyle=3\r\n") << "meuWinStyle"
                       << "" << kBadSetting << QByteArray("x=1\r\nLoadStyle=3\r\n");
    QTest::newRow("-1") << QByteArray("LoadStyle=-1\r\n") << "meuWinStyle"
                        << "" << kBadSetting << QByteArray("LoadStyle=-1\r\n");
    QTest::newRow("1.5") << QByteArray("LoadStyle=1.5\r\n") << "meuWinStyle"
                         << "" << kBadSetting << QByteArray("LoadStyle=1.5\r\n");
    const QByteArray gbk =
        QStringEncoder("GB18030").encode(QString::fromUtf8("; 城东分馆\r\nLoadStyle=2\r\n"));
    QTest::newRow("GBK file") << gbk << "meuLight" << kLightSkin << ""
                              << QString::fromUtf8("; 城东分馆\r\nLoadStyle=2\r\n").toUtf8();
}

void StylesTest::savedStyleAtStart()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, checked);
    QFETCH(QString, skin);
    QFETCH(QString, message);
    QFETCH(QByteArray, after);

    TestApp t;
    if (!content.isNull())
        writeAll(settingsPath(t), content);
    t.login();
    QCOMPARE(checkedStyles(t), QStringList{checked});
    QCOMPARE(t.app().mainWindow()->styleSheet(), skinSheet(t.appDir(), skin));
    if (message.isEmpty()) {
        QVERIFY(t.prompter().shown().isEmpty());
    } else {
        QCOMPARE(t.prompter().shown().size(), 1);
        QCOMPARE(t.prompter().shown().first().prompt.text, message);
        QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
        QCOMPARE(t.prompter().shown().first().prompt.buttons, Buttons::Ok);
    }
    QCOMPARE(QFile::exists(settingsPath(t)), !after.isNull());
    QCOMPARE(readAll(settingsPath(t)), after);
}

void StylesTest::missingSkinAtStart()
{
    TestApp t;
    writeAll(settingsPath(t), "LoadStyle=1\r\n");
    QVERIFY(QFile::remove(QDir(t.appDir()).filePath(kTypeSkin)));
    t.login();
    QCOMPARE(t.prompter().texts(), QStringList{kTypeStyleMissing});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QCOMPARE(checkedStyles(t), QStringList{"meuWinStyle"});
    QCOMPARE(t.app().mainWindow()->styleSheet(), QString());
    QCOMPARE(readAll(settingsPath(t)), QByteArray("LoadStyle=1\r\n"));
}

void StylesTest::chooseStyle_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("value");
    QTest::newRow("经典传奇") << "meuTypeStyle" << kTypeSkin << "1";
    QTest::newRow("轻松一刻") << "meuLight" << kLightSkin << "2";
    QTest::newRow("Windows默认") << "meuWinStyle"
                                 << ""
                                 << "0";
}

void StylesTest::chooseStyle()
{
    QFETCH(QString, command);
    QFETCH(QString, skin);
    QFETCH(QString, value);

    // From each of the other styles, so every mark has to move.
    for (const QString from : {"meuWinStyle", "meuTypeStyle", "meuLight"}) {
        if (from == command)
            continue;
        TestApp t;
        writeAll(settingsPath(t), "first=1\r\nLoadStyle=9x\r\nlast=2\r\n");
        t.login();
        t.prompter().clear();
        t.trigger(from);
        t.trigger(command);
        QCOMPARE(checkedStyles(t), QStringList{command});
        QCOMPARE(t.app().mainWindow()->styleSheet(), skinSheet(t.appDir(), skin));
        QCOMPARE(readAll(settingsPath(t)),
                 "first=1\r\nLoadStyle=" + value.toLatin1() + "\r\nlast=2\r\n");
        QVERIFY(t.prompter().shown().isEmpty());
    }

    // No settings file yet: it is made with the one line.
    TestApp fresh;
    fresh.login();
    fresh.trigger(command);
    QCOMPARE(readAll(settingsPath(fresh)), "LoadStyle=" + value.toLatin1() + "\r\n");
}

void StylesTest::choosingTheCheckedItemAgainKeepsIt()
{
    TestApp t;
    t.login();
    for (const char *command : {"meuLight", "meuTypeStyle", "meuWinStyle"}) {
        t.trigger(command);
        t.trigger(command);
        QCOMPARE(checkedStyles(t), QStringList{command});
    }
    QVERIFY(t.prompter().shown().isEmpty());
}

void StylesTest::missingSkinChangesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("folderInstead");
    QTest::newRow("经典传奇") << "meuTypeStyle" << kTypeSkin << "meuLight" << kTypeStyleMissing
                              << false;
    QTest::newRow("轻松一刻") << "meuLight" << kLightSkin << "meuTypeStyle" << kLightStyleMissing
                              << false;
    QTest::newRow("经典传奇, a folder in its place")
        << "meuTypeStyle" << kTypeSkin << "meuLight" << kTypeStyleMissing << true;
    QTest::newRow("from the system look")
        << "meuLight" << kLightSkin << "meuWinStyle" << kLightStyleMissing << false;
}

void StylesTest::missingSkinChangesNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, skin);
    QFETCH(QString, other);
    QFETCH(QString, message);
    QFETCH(bool, folderInstead);

    TestApp t;
    writeAll(settingsPath(t), "a=1\r\nLoadStyle=0\r\n");
    t.login();
    t.trigger(other);
    const QByteArray settings = readAll(settingsPath(t));
    const QString sheet = t.app().mainWindow()->styleSheet();
    const QString skinPath = QDir(t.appDir()).filePath(skin);
    QVERIFY(QFile::remove(skinPath));
    if (folderInstead)
        QVERIFY(QDir().mkpath(skinPath));

    // Twice: the item must not end up marked by being chosen, nor unmarked on the second go.
    for (int i = 0; i < 2; ++i) {
        t.prompter().clear();
        t.trigger(command);
        QCOMPARE(t.prompter().texts(), QStringList{message});
        QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
        QCOMPARE(checkedStyles(t), QStringList{other});
        QCOMPARE(readAll(settingsPath(t)), settings);
        QCOMPARE(t.app().mainWindow()->styleSheet(), sheet);
    }
}

void StylesTest::readOnlySettingsKeepStyleForThisRun()
{
    TestApp t;
    writeAll(settingsPath(t), "LoadStyle=1\r\n");
    QVERIFY(QFile::setPermissions(settingsPath(t), QFileDevice::ReadOwner));
    t.login();
    t.trigger("meuLight");
    QCOMPARE(checkedStyles(t), QStringList{"meuLight"});
    QCOMPARE(t.app().mainWindow()->styleSheet(), skinSheet(t.appDir(), kLightSkin));
    QCOMPARE(readAll(settingsPath(t)), QByteArray("LoadStyle=1\r\n"));
    QVERIFY(!QFile::exists(QDir(t.appDir()).filePath("temp.ini")));
    QVERIFY(t.prompter().shown().isEmpty());
    QFile::setPermissions(settingsPath(t), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void StylesTest::chosenStyleComesBackAtNextStart_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("skin");
    QTest::newRow("经典传奇") << "meuTypeStyle" << kTypeSkin;
    QTest::newRow("轻松一刻") << "meuLight" << kLightSkin;
    QTest::newRow("Windows默认") << "meuWinStyle"
                                 << "";
}

void StylesTest::chosenStyleComesBackAtNextStart()
{
    QFETCH(QString, command);
    QFETCH(QString, skin);

    TestApp t;
    writeAll(settingsPath(t), command == "meuWinStyle" ? "LoadStyle=2\r\n" : "LoadStyle=0\r\n");
    t.login();
    t.trigger(command);
    t.trigger("meuExit");
    QVERIFY(t.ended());

    // The next run of the program in the same directory.
    testkit::ScriptedPrompter prompter;
    testkit::FakeLauncher launcher;
    Application next(
        Environment{t.appDir(), &prompter, &launcher, [] { return QDate(2026, 12, 8); }});
    QVERIFY(next.start());
    MainWindow *main = next.mainWindow();
    QVERIFY(main);
    const QString checked = command;
    for (const char *name : {"meuWinStyle", "meuTypeStyle", "meuLight"})
        QCOMPARE(main->findChild<QAction *>(name)->isChecked(), checked == QLatin1String(name));
    QCOMPARE(main->styleSheet(), skinSheet(t.appDir(), skin));
    QVERIFY(prompter.shown().isEmpty());
    next.end(Application::Ending::ExitCommand);
}

void StylesTest::secondaryWindowTakesStyleInForce()
{
    TestApp t;
    t.login();
    registerProbe(t);
    QList<QImage> looks;
    const struct {
        const char *command;
        QString skin;
    } styles[] = {{"meuWinStyle", ""}, {"meuTypeStyle", kTypeSkin}, {"meuLight", kLightSkin}};
    for (const auto &style : styles) {
        t.trigger(style.command);
        QWidget *probe = t.app().windows().show("FrmProbe");
        QVERIFY(probe);
        QCOMPARE(probe->styleSheet(), skinSheet(t.appDir(), style.skin));
        looks << probe->grab().toImage();
        probe->close();
        QTRY_VERIFY(!t.app().windows().find("FrmProbe"));
    }
    // The three looks differ from each other, not just in their sheets.
    QVERIFY(looks[0] != looks[1]);
    QVERIFY(looks[0] != looks[2]);
    QVERIFY(looks[1] != looks[2]);
}

void StylesTest::everyMenuWindowTakesTheSkin_data()
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
    QTest::newRow("读者管理") << "meuReaderSet"
                              << "FrmReader";
    QTest::newRow("基本设置") << "mnuSetBasic"
                              << "FrmBasicSet";
    QTest::newRow("图书类别") << "mnuSetBook"
                              << "FrmSetBook";
    QTest::newRow("每日小技巧") << "meuHowToUse"
                                << "FrmHelp";
    QTest::newRow("关于...") << "meuAbout"
                             << "FrmAbout";
}

void StylesTest::everyMenuWindowTakesTheSkin()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    TestApp t;
    t.login();
    if (QWidget *tips = t.window("FrmHelp"))
        tips->close();
    t.trigger("meuLight");
    t.trigger(command);
    QWidget *opened = t.window(window);
    QVERIFY(opened);
    QVERIFY(t.app().styles().isStyled(opened));
    QCOMPARE(opened->styleSheet(), skinSheet(t.appDir(), kLightSkin));
    opened->close();
    QTRY_VERIFY(!t.app().windows().find(window));
    // Back to the system look: the next opening shows no skin.
    t.trigger("meuWinStyle");
    t.trigger(command);
    QVERIFY(t.window(window));
    QVERIFY(t.window(window)->styleSheet().isEmpty());
    QVERIFY(t.prompter().shown().isEmpty());
}

void StylesTest::openWindowKeepsItsStyleUntilReopened()
{
    TestApp t;
    t.login();
    registerProbe(t);
    t.trigger("meuLight");
    QWidget *probe = t.app().windows().show("FrmProbe");
    t.trigger("meuTypeStyle");
    // The command addresses the main window only.
    QCOMPARE(t.app().windows().show("FrmProbe"), probe);
    QCOMPARE(probe->styleSheet(), skinSheet(t.appDir(), kLightSkin));
    QCOMPARE(t.app().mainWindow()->styleSheet(), skinSheet(t.appDir(), kTypeSkin));
    probe->close();
    QTRY_VERIFY(!t.app().windows().find("FrmProbe"));
    QCOMPARE(t.app().windows().show("FrmProbe")->styleSheet(), skinSheet(t.appDir(), kTypeSkin));
}

void StylesTest::inputBoxesStayLightCyan()
{
    TestApp t;
    t.login();
    registerProbe(t);
    for (const char *command : {"meuWinStyle", "meuTypeStyle", "meuLight"}) {
        t.trigger(command);
        auto *probe = static_cast<ProbeWindow *>(t.app().windows().show("FrmProbe"));
        const QColor input = middleOf(probe->m_input);
        const QColor plain = middleOf(probe->m_plain);
        QVERIFY2(input.red() < input.green() - 10 && input.red() < input.blue() - 10
                     && input.green() > 200 && input.blue() > 200,
                 qPrintable(QStringLiteral("%1: input box %2").arg(command, input.name())));
        QVERIFY2(input != plain, command);
        probe->close();
        QTRY_VERIFY(!t.app().windows().find("FrmProbe"));
    }
}

LENDORA_TEST_CLASS(StylesTest)
#include "tst_styles.moc"
