#include "TestApp.h"
#include "TestMain.h"
#include "app/LoginWindow.h"
#include "app/MainWindow.h"
#include "base/AccountFile.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/widgets/BalloonWidget.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/clsToolTip.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringEncoder>
#include <QStyle>
#include <QtTest>

using namespace lendora;
using lendora::testkit::ScriptedPrompter;
using lendora::testkit::TestApp;

namespace {
const QString kUnstorable = QStringLiteral("用户名或密码含有不能保存的字符,帐号未更改!");
const QString kWriteFailed = QStringLiteral("无法写入帐号文件 dat/userdata.dat,帐号未更改!");

QString accountPath(const QString &appDir)
{
    return QDir(appDir).filePath("dat/userdata.dat");
}

void writeAccount(const TestApp &t, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QDir(t.appDir()).filePath("dat")));
    QFile file(accountPath(t.appDir()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readAccount(const TestApp &t)
{
    QFile file(accountPath(t.appDir()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// The clerk types both boxes and clicks "确定".
void tryLogin(TestApp &t, const QString &user, const QString &password)
{
    t.type("FrmLogon", "txtUserName", user);
    t.type("FrmLogon", "txtPassword", password);
    t.click("FrmLogon", "cmdOK");
}

// ">>", then "更改我的帐号", answering the input boxes in turn.
void changeAccount(TestApp &t, const QStringList &answers)
{
    for (const QString &answer : answers)
        t.prompter().answerInput(answer);
    t.click("FrmLogon", "Command1");
    auto *menu = t.control<QMenu>("FrmLogon", "PopMenu");
    QVERIFY(menu && menu->isVisible());
    menu->hide();
    t.control<QAction>("FrmLogon", "meuAddUser")->trigger();
}

bool loggedIn(const TestApp &t)
{
    return t.window("Frmmain") && !t.window("FrmLogon");
}

// Records what the account file held whenever a message was shown.
class SnoopingPrompter : public ScriptedPrompter {
public:
    QString path;
    QList<QByteArray> fileAtMessage;

    void message(const Prompt &p) override
    {
        QFile file(path);
        fileAtMessage << (file.open(QIODevice::ReadOnly) ? file.readAll()
                                                         : QByteArray("<no file>"));
        ScriptedPrompter::message(p);
    }
};
}  // namespace

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void loginWindowAtStart();
    void passwordShowsStarsInEverySkin_data();
    void passwordShowsStarsInEverySkin();
    void startUpEndsBeforeTheLogin();
    void okEnabledOnlyWithBothBoxes_data();
    void okEnabledOnlyWithBothBoxes();
    void logins_data();
    void logins();
    void enterLogsIn();
    void threeWrongPasswordsForgiven();
    void fourthWrongPasswordEnds();
    void wrongUserNamesNeverCount();
    void leavingEnds_data();
    void leavingEnds();
    void passwordCodec_data();
    void passwordCodec();
    void changeAccount();
    void changeAccountTwice();
    void focusInPasswordAfterChange_data();
    void focusInPasswordAfterChange();
    void emptyPasswordAskedAgainNothingWrittenMeanwhile();
    void changeStops_data();
    void changeStops();
    void unstorableAccountRefused_data();
    void unstorableAccountRefused();
    void unusualAccountsKept_data();
    void unusualAccountsKept();
    void writeFailureKeepsOldAccount_data();
    void writeFailureKeepsOldAccount();
    void changedAccountInForceAtNextStart();
};

void LoginTest::loginWindowAtStart()
{
    TestApp t;
    QVERIFY(t.start());
    QWidget *logon = t.window("FrmLogon");
    QVERIFY(logon);
    QCOMPARE(logon->windowTitle(), QStringLiteral("登录"));
    QVERIFY(!(logon->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(logon->windowFlags() & Qt::WindowMinimizeButtonHint));
    // The main window is loaded before: database open, title set, not shown yet.
    QVERIFY(!t.window("Frmmain"));
    QVERIFY(t.app().mainWindow());
    QVERIFY(t.app().database().isOpen());
    QVERIFY(t.app().mainWindow()->windowTitle().endsWith(" Ver1.01 Build:0128"));

    QCOMPARE(t.text("FrmLogon", "SkinLabel1"), QStringLiteral("请输入帐号与密码!"));
    QCOMPARE(t.text("FrmLogon", "SkinLblUserName"), QStringLiteral("帐号:"));
    QCOMPARE(t.text("FrmLogon", "SkinLblPassword"), QStringLiteral("密码:"));
    QCOMPARE(t.text("FrmLogon", "cmdOK"), QStringLiteral("确定"));
    QCOMPARE(t.text("FrmLogon", "cmdCancel"), QStringLiteral("取消"));
    QCOMPARE(t.text("FrmLogon", "Command1"), QStringLiteral(">>"));
    QCOMPARE(t.text("FrmLogon", "txtUserName"), QStringLiteral("user"));
    QCOMPARE(t.text("FrmLogon", "txtPassword"), QString());
    auto *password = t.control<QLineEdit>("FrmLogon", "txtPassword");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
             int('*'));
    QVERIFY(!t.control<QPushButton>("FrmLogon", "cmdOK")->isEnabled());
    QVERIFY(t.control<QPushButton>("FrmLogon", "cmdOK")->isDefault());
    QCOMPARE(t.control<QMenu>("FrmLogon", "PopMenu")->title(), QStringLiteral("弹出菜单"));
    QCOMPARE(t.control<QAction>("FrmLogon", "meuAddUser")->text(), QStringLiteral("更改我的帐号"));

    // The focus starts in the password box; Tab goes on through the user name, the two
    // buttons and ">>".
    QVERIFY(QTest::qWaitForWindowActive(logon));
    QCOMPARE(QApplication::focusWidget(), password);
    t.type("FrmLogon", "txtPassword", "7");  // so that cmdOK takes the focus too
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"txtPassword", "txtUserName", "cmdOK", "cmdCancel", "Command1"}));

    // The balloon on ">>".
    clsToolTip &tip = t.app().loginWindow()->balloon();
    QCOMPARE(tip.targetWindow(), t.control<QWidget>("FrmLogon", "Command1"));
    QCOMPARE(tip.toolCount(), 1);
    QCOMPARE(tip.tipWindow()->text(), QStringLiteral("点击此按钮更改您的帐号!"));
    QCOMPARE(tip.tipWindow()->title(), QStringLiteral("提示"));
    QCOMPARE(tip.tipWindow()->shownIcon(), int(BalloonWidget::InformationIcon));
    QVERIFY(tip.tipWindow()->isBalloonShape());
    QCOMPARE(tip.DelayTime(), -1);
    QCOMPARE(tip.VisibleTime(), -1);
    QVERIFY(t.prompter().shown().isEmpty());
}

void LoginTest::passwordShowsStarsInEverySkin_data()
{
    QTest::addColumn<QString>("skin");
    QTest::newRow("type-style") << "style/type-style.skn";
    QTest::newRow("light-hearted") << "style/light-hearted.skn";
}

void LoginTest::passwordShowsStarsInEverySkin()
{
    QFETCH(QString, skin);
    TestApp t;
    QVERIFY(t.start());
    QVERIFY(t.app().styles().loadSkin(QDir(t.appDir()).filePath(skin)));
    t.app().styles().applySkin(t.window("FrmLogon"));
    auto *password = t.control<QLineEdit>("FrmLogon", "txtPassword");
    QCOMPARE(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
             int('*'));
}

void LoginTest::startUpEndsBeforeTheLogin()
{
    TestApp t;
    // Not a database of this program: refused, and the login window never shows.
    QVERIFY(QDir().mkpath(QDir(t.appDir()).filePath("mdb")));
    QFile file(DatabaseFile::pathIn(t.appDir()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    QVERIFY(!t.start());
    QVERIFY(t.ended());
    QVERIFY(!t.window("FrmLogon"));
    QVERIFY(!t.app().loginWindow());
    QCOMPARE(t.prompter().shown().size(), 1);
}

void LoginTest::okEnabledOnlyWithBothBoxes_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("both") << "user"
                          << "7" << true;
    QTest::newRow("no password") << "user"
                                 << "" << false;
    QTest::newRow("no user name") << ""
                                  << "741" << false;
    QTest::newRow("neither") << ""
                             << "" << false;
    QTest::newRow("blanks count") << " "
                                  << " " << true;
}

void LoginTest::okEnabledOnlyWithBothBoxes()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, enabled);
    TestApp t;
    QVERIFY(t.start());
    t.type("FrmLogon", "txtUserName", user);
    t.type("FrmLogon", "txtPassword", password);
    QCOMPARE(t.control<QPushButton>("FrmLogon", "cmdOK")->isEnabled(), enabled);
}

void LoginTest::logins_data()
{
    QTest::addColumn<QByteArray>("file");  // the account file; "" for none
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");  // "" when the login succeeds
    const QString noSuchUser = QStringLiteral("帐号不存在!");
    const QString wrongPassword = QStringLiteral("密码无效!请重新输入");
    const QByteArray admin = "UserName=nimda\r\nPassword=dcb\r\n";
    QTest::newRow("built-in account") << QByteArray() << "user"
                                      << "741"
                                      << "";
    QTest::newRow("built-in, wrong password") << QByteArray() << "user"
                                              << "147" << wrongPassword;
    QTest::newRow("User is not user") << QByteArray() << "User"
                                      << "741" << noSuchUser;
    QTest::newRow("trailing blank counts") << QByteArray() << "user "
                                           << "741" << noSuchUser;
    QTest::newRow("account file") << admin << "admin"
                                  << "abc"
                                  << "";
    QTest::newRow("built-in gone with a file") << admin << "user"
                                               << "741" << noSuchUser;
    QTest::newRow("password case") << admin << "admin"
                                   << "ABC" << wrongPassword;
    QTest::newRow("LF line ends") << QByteArray("UserName=nimda\nPassword=dcb\n") << "admin"
                                  << "abc"
                                  << "";
    QTest::newRow("no Password line locks every login")
        << QByteArray("UserName=nimda\r\n") << "admin"
        << "x" << wrongPassword;
    QStringEncoder gb("GB18030");
    QTest::newRow("carried over in GB18030")
        << QByteArray(gb.encode(QStringLiteral("UserName=员理管\r\nPassword=dcb\r\n"))) << "管理员"
        << "abc"
        << "";
}

void LoginTest::logins()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, message);
    TestApp t;
    if (!file.isEmpty())
        writeAccount(t, file);
    QVERIFY(t.start());
    tryLogin(t, user, password);
    QCOMPARE(loggedIn(t), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(t.prompter().shown().isEmpty());
        QVERIFY(t.app().loginWindow()->isHidden());  // hidden, still loaded
        return;
    }
    QCOMPARE(t.prompter().texts(), QStringList{message});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QCOMPARE(t.prompter().shown().first().prompt.buttons, Buttons::Ok);
    // A wrong password empties the password box; a wrong name leaves both boxes.
    QCOMPARE(t.text("FrmLogon", "txtPassword"), message == "帐号不存在!" ? password : QString());
    QVERIFY(!t.ended());
}

void LoginTest::enterLogsIn()
{
    TestApp t;
    QVERIFY(t.start());
    QVERIFY(QTest::qWaitForWindowActive(t.window("FrmLogon")));
    // Enter with an empty password does nothing.
    t.enter("FrmLogon", "txtPassword");
    QVERIFY(t.window("FrmLogon"));
    QVERIFY(t.prompter().shown().isEmpty());
    t.type("FrmLogon", "txtPassword", "741");
    t.enter("FrmLogon", "txtPassword");
    QVERIFY(loggedIn(t));
}

void LoginTest::threeWrongPasswordsForgiven()
{
    TestApp t;
    QVERIFY(t.start());
    for (int i = 0; i < 3; ++i)
        tryLogin(t, "user", "wrong");
    QCOMPARE(t.prompter().texts(), QStringList(3, QStringLiteral("密码无效!请重新输入")));
    QCOMPARE(t.app().loginWindow()->attempts(), 3);
    tryLogin(t, "user", "741");
    QVERIFY(loggedIn(t));
    QVERIFY(!t.ended());
}

void LoginTest::fourthWrongPasswordEnds()
{
    TestApp t;
    QVERIFY(t.start());
    for (int i = 0; i < 4; ++i)
        tryLogin(t, "user", QString::number(i));
    QCOMPARE(t.prompter().texts(), (QStringList{"密码无效!请重新输入", "密码无效!请重新输入",
                                                "密码无效!请重新输入", "你尝试登入的次数太多!"}));
    QCOMPARE(t.prompter().shown().last().prompt.title, appTitle());
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::TooManyAttempts);
    QVERIFY(!t.window("FrmLogon"));
    QVERIFY(!t.window("Frmmain"));
}

void LoginTest::wrongUserNamesNeverCount()
{
    TestApp t;
    QVERIFY(t.start());
    for (int i = 0; i < 10; ++i)
        tryLogin(t, "nobody", "741");
    QCOMPARE(t.app().loginWindow()->attempts(), 0);
    // Three wrong passwords are still forgiven after them.
    for (int i = 0; i < 3; ++i)
        tryLogin(t, "user", "wrong");
    QVERIFY(!t.ended());
    tryLogin(t, "user", "741");
    QVERIFY(loggedIn(t));
}

void LoginTest::leavingEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "cmdCancel";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box") << "close";
    // Enter presses the button that has the focus, as on any dialog, not the default one.
    QTest::newRow("Enter on the cancel button") << "EnterOnCancel";
}

void LoginTest::leavingEnds()
{
    QFETCH(QString, how);
    TestApp t;
    QVERIFY(t.start());
    QWidget *logon = t.window("FrmLogon");
    if (how == "cmdCancel") {
        t.click("FrmLogon", "cmdCancel");
    } else if (how == "Esc") {
        QTest::keyClick(t.control<QWidget>("FrmLogon", "txtPassword"), Qt::Key_Escape);
    } else if (how == "EnterOnCancel") {
        t.type("FrmLogon", "txtPassword", "wrong");
        auto *cancel = t.control<QWidget>("FrmLogon", "cmdCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
    } else {
        logon->close();
    }
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::LoginCancelled);
    QVERIFY(!t.window("FrmLogon"));
    QVERIFY(!t.window("Frmmain"));
    QVERIFY(t.prompter().shown().isEmpty());
    // Ended cleanly: the database was let go of without a check at the next start.
    QVERIFY(!QFileInfo::exists(DatabaseFile::markerPath(DatabaseFile::pathIn(t.appDir()))));
}

void LoginTest::passwordCodec_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::newRow("letters") << "abc"
                             << "dcb";
    QTest::newRow("built-in") << "741"
                              << "258";
    QTest::newRow("tilde becomes DEL") << "~" << QStringLiteral("\x7f");
    QTest::newRow("Chinese") << QStringLiteral("中文") << QStringLiteral("斈丮");
    QTest::newRow("whole code points") << QStringLiteral("a😀") << QStringLiteral("😁b");
    QTest::newRow("empty") << ""
                           << "";
}

void LoginTest::passwordCodec()
{
    QFETCH(QString, password);
    QFETCH(QString, stored);
    QCOMPARE(AccountFile::encodePassword(password), stored);
    QCOMPARE(AccountFile::decodePassword(stored), password);
    QCOMPARE(AccountFile::reversed(QStringLiteral("a😀b")), QStringLiteral("b😀a"));
}

void LoginTest::changeAccount()
{
    TestApp t;
    QVERIFY(t.start());
    t.type("FrmLogon", "txtUserName", "someone");
    t.type("FrmLogon", "txtPassword", "typed");
    ::changeAccount(t, {"741", "admin", "abc"});

    const auto &shown = t.prompter().shown();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown[0].kind, ScriptedPrompter::Shown::Input);
    QCOMPARE(shown[0].prompt.text, QStringLiteral("请输入旧的帐号密码:"));
    QCOMPARE(shown[0].prompt.title, QStringLiteral("旧的密码确认"));
    QCOMPARE(shown[0].defaultText, QString());
    QCOMPARE(shown[1].prompt.text, QStringLiteral("请输入您要更改的用户名:"));
    QCOMPARE(shown[1].prompt.title, QStringLiteral("添加用户"));
    QCOMPARE(shown[1].defaultText, QStringLiteral("user"));
    QCOMPARE(shown[2].prompt.text, QStringLiteral("请输入您的密码:"));
    QCOMPARE(shown[2].prompt.title, QStringLiteral("输入密码"));
    QCOMPARE(shown[2].defaultText, QString());
    QCOMPARE(shown[3].kind, ScriptedPrompter::Shown::Message);
    QCOMPARE(shown[3].prompt.text,
             QStringLiteral("帐号更改成功!\n你的用户名是:admin\n你的密码是:abc"));
    QCOMPARE(shown[3].prompt.title, appTitle());

    // The missing dat/ folder was made; the file holds both lines, for its owner only.
    QCOMPARE(readAccount(t), QByteArray("UserName=nimda\r\nPassword=dcb\r\n"));
    const auto permissions = QFile::permissions(accountPath(t.appDir()));
    QVERIFY(permissions & QFileDevice::ReadOwner);
    QVERIFY(permissions & QFileDevice::WriteOwner);
    QVERIFY(!(permissions
              & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                 | QFileDevice::WriteOther)));
    QCOMPARE(QDir(t.appDir()).filePath("dat"), QFileInfo(accountPath(t.appDir())).path());
    QCOMPARE(QDir(QDir(t.appDir()).filePath("dat")).entryList(QDir::Files),
             QStringList{"userdata.dat"});

    QCOMPARE(t.text("FrmLogon", "txtUserName"), QStringLiteral("admin"));
    QCOMPARE(t.text("FrmLogon", "txtPassword"), QString());
    // In force at once, the built-in one no longer.
    t.prompter().clear();
    tryLogin(t, "user", "741");
    QCOMPARE(t.prompter().texts(), QStringList{"帐号不存在!"});
    tryLogin(t, "admin", "abc");
    QVERIFY(loggedIn(t));
}

void LoginTest::changeAccountTwice()
{
    TestApp t;
    QVERIFY(t.start());
    ::changeAccount(t, {"741", "admin", "abc"});
    ::changeAccount(t, {"abc", "clerk", "xyz"});
    QCOMPARE(readAccount(t), QByteArray("UserName=krelc\r\nPassword={zy\r\n"));
    QCOMPARE(t.app().loginWindow()->account(), (Account{"clerk", "xyz"}));
    tryLogin(t, "clerk", "xyz");
    QVERIFY(loggedIn(t));
}

void LoginTest::focusInPasswordAfterChange_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("password");  // the one in force afterwards
    QTest::newRow("changed") << QStringList{"741", "admin", "abc"} << "abc";
    QTest::newRow("wrong old password") << QStringList{"742"} << "741";
    QTest::newRow("cancel at the new user name") << QStringList{"741", ""} << "741";
}

void LoginTest::focusInPasswordAfterChange()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, password);
    TestApp t;
    QVERIFY(t.start());
    QVERIFY(QTest::qWaitForWindowActive(t.window("FrmLogon")));
    ::changeAccount(t, answers);

    // The clerk types the password where the focus is and presses Enter: that logs in.
    QCOMPARE(QApplication::focusWidget(), t.control<QWidget>("FrmLogon", "txtPassword"));
    QTest::keyClicks(QApplication::focusWidget(), password);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!t.control<QMenu>("FrmLogon", "PopMenu")->isVisible());
    QVERIFY(loggedIn(t));
}

void LoginTest::emptyPasswordAskedAgainNothingWrittenMeanwhile()
{
    TestApp shell;  // only for its directory with the shipped files
    const QByteArray before = "UserName=nimda\r\nPassword=dcb\r\n";
    writeAccount(shell, before);
    SnoopingPrompter prompter;
    prompter.path = accountPath(shell.appDir());
    testkit::FakeLauncher launcher;
    Application app({shell.appDir(), &prompter, &launcher, [] { return QDate(2026, 12, 7); }});
    QVERIFY(app.start());
    LoginWindow *logon = app.loginWindow();
    for (const char *answer : {"abc", "bob", "", "", "pw"})
        prompter.answerInput(answer);
    logon->findChild<QAction *>("meuAddUser")->trigger();

    QCOMPARE(prompter.texts(),
             (QStringList{"请输入旧的帐号密码:", "请输入您要更改的用户名:", "请输入您的密码:",
                          "密码不可以为空,请再输入!", "请输入您的密码:", "密码不可以为空,请再输入!",
                          "请输入您的密码:", "帐号更改成功!\n你的用户名是:bob\n你的密码是:pw"}));
    QCOMPARE(prompter.shown()[3].prompt.title, appTitle());
    // While the password was asked for, the old file stood untouched.
    QCOMPARE(prompter.fileAtMessage.size(), 3);
    QCOMPARE(prompter.fileAtMessage[0], before);
    QCOMPARE(prompter.fileAtMessage[1], before);
    QCOMPARE(prompter.fileAtMessage[2], QByteArray("UserName=bob\r\nPassword=xq\r\n"));
    app.end(Application::Ending::ExitCommand);
}

void LoginTest::changeStops_data()
{
    QTest::addColumn<QByteArray>("file");  // "" for none
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("messages");
    const QByteArray admin = "UserName=nimda\r\nPassword=dcb\r\n";
    const QString wrongOld = QStringLiteral("旧的密码确认错误,您不能更改帐号!");
    QTest::newRow("cancel at the new user name")
        << QByteArray() << QStringList{"741", ""} << QStringList{};
    QTest::newRow("cancel at the new user name, with a file")
        << admin << QStringList{"abc", ""} << QStringList{};
    QTest::newRow("cancel at the old password")
        << admin << QStringList{""} << QStringList{wrongOld};
    QTest::newRow("wrong old password") << admin << QStringList{"abd"} << QStringList{wrongOld};
    QTest::newRow("built-in password no longer counts")
        << admin << QStringList{"741"} << QStringList{wrongOld};
}

void LoginTest::changeStops()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, messages);
    TestApp t;
    if (!file.isEmpty())
        writeAccount(t, file);
    QVERIFY(t.start());
    const Account before = t.app().loginWindow()->account();
    ::changeAccount(t, answers);
    QStringList shownMessages;
    for (const auto &s : t.prompter().shown()) {
        if (s.kind == ScriptedPrompter::Shown::Message) {
            shownMessages << s.prompt.text;
            QCOMPARE(s.prompt.title, appTitle());
        }
    }
    QCOMPARE(shownMessages, messages);
    QCOMPARE(readAccount(t), file.isEmpty() ? QByteArray("<no file>") : file);
    QCOMPARE(t.app().loginWindow()->account(), before);
    t.prompter().clear();
    t.login();
    QVERIFY(loggedIn(t));
}

void LoginTest::unstorableAccountRefused_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("name holding =") << "a=b"
                                    << "pw";
    QTest::newRow("name that would hide the password line") << "=drowssaP"
                                                            << "pw";
    QTest::newRow("line break in the name") << "a\nb"
                                            << "pw";
    QTest::newRow("tab in the name") << "a\tb"
                                     << "pw";
    QTest::newRow("control character in the password") << "admin" << QStringLiteral("a\x01");
    QTest::newRow("password shifting into a line break") << "admin" << QStringLiteral("\x0c");
    QTest::newRow("password shifting past the last code point")
        << "admin" << QString::fromUcs4(U"\U0010FFFF");
    QTest::newRow("password shifting into a surrogate") << "admin" << QString::fromUcs4(U"\uD7FF");
    QTest::newRow("half a surrogate pair") << "admin" << QString(QChar(0xD83D));
}

void LoginTest::unstorableAccountRefused()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    TestApp t;
    const QByteArray before = "UserName=nimda\r\nPassword=dcb\r\n";
    writeAccount(t, before);
    QVERIFY(t.start());
    ::changeAccount(t, {"abc", user, password});
    QCOMPARE(t.prompter().shown().last().prompt.text, kUnstorable);
    QCOMPARE(t.prompter().shown().last().prompt.title, appTitle());
    QCOMPARE(readAccount(t), before);
    QCOMPARE(t.app().loginWindow()->account(), (Account{"admin", "abc"}));
    tryLogin(t, "admin", "abc");
    QVERIFY(loggedIn(t));
}

void LoginTest::unusualAccountsKept_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("tilde") << "admin"
                           << "~";
    QTest::newRow("less-than shifts to =") << "admin"
                                           << "<<";
    QTest::newRow("Chinese and emoji") << QStringLiteral("管理员") << QStringLiteral("密码😀");
    QTest::newRow("blanks") << " a b "
                            << " p ";
    QTest::newRow("Password= inside the password") << "admin"
                                                   << "Password=";
}

void LoginTest::unusualAccountsKept()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    TestApp t;
    QVERIFY(t.start());
    ::changeAccount(t, {"741", user, password});
    QCOMPARE(t.prompter().shown().last().prompt.text.section('\n', 0, 0),
             QStringLiteral("帐号更改成功!"));
    QCOMPARE(AccountFile::read(accountPath(t.appDir())), (Account{user, password}));
    t.prompter().clear();
    tryLogin(t, user, password);
    QVERIFY(loggedIn(t));
}

void LoginTest::writeFailureKeepsOldAccount_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("dat is a file") << "dat file";
    QTest::newRow("account file is a folder") << "folder";
    QTest::newRow("read-only account file") << "read-only";
}

void LoginTest::writeFailureKeepsOldAccount()
{
    QFETCH(QString, how);
    TestApp t;
    const QDir dir(t.appDir());
    Account old = AccountFile::builtIn();
    if (how == "dat file") {
        QFile file(dir.filePath("dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (how == "folder") {
        // No account file: the built-in account stays usable, or nobody could log in.
        QVERIFY(QDir().mkpath(accountPath(t.appDir())));
    } else {
        writeAccount(t, "UserName=nimda\r\nPassword=dcb\r\n");
        QVERIFY(QFile::setPermissions(accountPath(t.appDir()),
                                      QFileDevice::ReadOwner | QFileDevice::ReadUser));
        old = {"admin", "abc"};
    }
    QVERIFY(t.start());
    ::changeAccount(t, {old.password, "bob", "pw"});
    QCOMPARE(t.prompter().texts().last(), kWriteFailed);
    QCOMPARE(t.prompter().shown().last().prompt.title, appTitle());
    QCOMPARE(t.app().loginWindow()->account(), old);
    QVERIFY(!QFileInfo::exists(accountPath(t.appDir()) + ".new"));
    tryLogin(t, old.userName, old.password);
    QVERIFY(loggedIn(t));
}

void LoginTest::changedAccountInForceAtNextStart()
{
    QByteArray file;
    {
        TestApp first;
        QVERIFY(first.start());
        ::changeAccount(first, {"741", "admin", "abc"});
        file = readAccount(first);
    }
    TestApp next;
    writeAccount(next, file);
    QVERIFY(next.start());
    QCOMPARE(next.text("FrmLogon", "txtUserName"), QStringLiteral("admin"));
    next.login();  // the kit reads the account the way the program does
    QVERIFY(loggedIn(next));
    QVERIFY(next.prompter().shown().isEmpty());
}

LENDORA_TEST_CLASS(LoginTest)
#include "tst_login.moc"
