#include "app/LoginWindow.h"

#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/clsToolTip.h"
#include "ui_LoginWindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace lendora {

namespace {
const QString kAccountFile = QStringLiteral("dat/userdata.dat");

const char *const kBalloonText =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "点击此按钮更改您的帐号!");
const char *const kPopMenuTitle = QT_TRANSLATE_NOOP("lendora::LoginWindow", "弹出菜单");
const char *const kChangeAccountItem = QT_TRANSLATE_NOOP("lendora::LoginWindow", "更改我的帐号");

const char *const kNoSuchUser = QT_TRANSLATE_NOOP("lendora::LoginWindow", "帐号不存在!");
const char *const kWrongPassword = QT_TRANSLATE_NOOP("lendora::LoginWindow", "密码无效!请重新输入");
const char *const kTooManyAttempts =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "你尝试登入的次数太多!");

const char *const kOldPasswordPrompt =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "请输入旧的帐号密码:");
const char *const kOldPasswordTitle = QT_TRANSLATE_NOOP("lendora::LoginWindow", "旧的密码确认");
const char *const kOldPasswordWrong =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "旧的密码确认错误,您不能更改帐号!");
const char *const kNewUserPrompt =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "请输入您要更改的用户名:");
const char *const kNewUserTitle = QT_TRANSLATE_NOOP("lendora::LoginWindow", "添加用户");
// A user name offered for the new account: data, the same in every language.
const QString kNewUserDefault = QStringLiteral("user");
const char *const kNewPasswordPrompt = QT_TRANSLATE_NOOP("lendora::LoginWindow", "请输入您的密码:");
const char *const kNewPasswordTitle = QT_TRANSLATE_NOOP("lendora::LoginWindow", "输入密码");
const char *const kEmptyPassword =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "密码不可以为空,请再输入!");
const char *const kChanged = QT_TRANSLATE_NOOP("lendora::LoginWindow", "帐号更改成功!");
const char *const kYourUserName = QT_TRANSLATE_NOOP("lendora::LoginWindow", "你的用户名是:");
const char *const kYourPassword = QT_TRANSLATE_NOOP("lendora::LoginWindow", "你的密码是:");
const char *const kUnstorable =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "用户名或密码含有不能保存的字符,帐号未更改!");
const char *const kWriteFailed =
    QT_TRANSLATE_NOOP("lendora::LoginWindow", "无法写入帐号文件 dat/userdata.dat,帐号未更改!");

// Three wrong passwords are forgiven; the next one ends the program.
constexpr int kForgivenAttempts = 3;
// The balloon's look and icon.
constexpr int kBalloonStyle = clsToolTip::BalloonStyle;
constexpr int kBalloonIcon = clsToolTip::InformationIcon;

const QSize kOuterSize(twips(5100), twips(2400));
}  // namespace

LoginWindow::LoginWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::LoginWindow>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    m_context.applyWindowStyle(this);
    FixedOuterSize::hold(this, kOuterSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    markInput(m_ui->txtUserName);
    markInput(m_ui->txtPassword);
    // Every typed character shows as "*".
    m_ui->txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    m_popMenu = new QMenu(tr(kPopMenuTitle), this);
    m_popMenu->setObjectName(QStringLiteral("PopMenu"));
    QAction *change = m_popMenu->addAction(tr(kChangeAccountItem));
    change->setObjectName(QStringLiteral("meuAddUser"));

    if (const auto stored = AccountFile::read(accountPath())) {
        m_account = *stored;
        m_ui->txtUserName->setText(m_account.userName);
    } else {
        m_ui->txtUserName->setText(AccountFile::builtIn().userName);
        m_account = {m_ui->txtUserName->text(), AccountFile::builtIn().password};
    }

    m_toolTip = new clsToolTip(this);
    m_toolTip->CreateBalloon(m_ui->Command1, m_ui->Command1, tr(kBalloonText), kBalloonStyle, false,
                             hintTitle(), kBalloonIcon, QString(), QString());

    connect(m_ui->txtUserName, &QLineEdit::textChanged, this, &LoginWindow::updateOk);
    connect(m_ui->txtPassword, &QLineEdit::textChanged, this, &LoginWindow::updateOk);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &LoginWindow::reject);
    connect(m_ui->Command1, &QPushButton::clicked, this, [this] {
        // At the mouse, or below the button when it was pressed from the keyboard.
        const QPoint mouse = QCursor::pos();
        const QRect button(m_ui->Command1->mapToGlobal(QPoint(0, 0)), m_ui->Command1->size());
        m_popMenu->popup(button.contains(mouse) ? mouse : button.bottomLeft());
    });
    connect(change, &QAction::triggered, this, &LoginWindow::changeAccount);

    updateOk();
    m_ui->txtPassword->setFocus();
}

LoginWindow::~LoginWindow() = default;

QString LoginWindow::accountPath() const
{
    return m_context.filePath(kAccountFile);
}

void LoginWindow::updateOk()
{
    m_ui->cmdOK->setEnabled(!m_ui->txtUserName->text().isEmpty()
                            && !m_ui->txtPassword->text().isEmpty());
}

void LoginWindow::logIn()
{
    if (m_ui->txtUserName->text() != m_account.userName) {
        m_context.prompter().message({tr(kNoSuchUser), appTitle()});
        return;
    }
    ++m_attempts;
    if (m_ui->txtPassword->text() != m_account.password) {
        if (m_attempts <= kForgivenAttempts) {
            m_context.prompter().message({tr(kWrongPassword), appTitle()});
            m_ui->txtPassword->clear();
        } else {
            m_context.prompter().message({tr(kTooManyAttempts), appTitle()});
            emit tooManyAttempts();
        }
        return;
    }
    emit loggedIn();
}

QString LoginWindow::askNewPassword()
{
    // There is no way out but a password: an account without one could never log in.
    for (;;) {
        const QString answer =
            m_context.prompter().input(tr(kNewPasswordPrompt), tr(kNewPasswordTitle), QString());
        if (!answer.isEmpty())
            return answer;
        m_context.prompter().message({tr(kEmptyPassword), appTitle()});
    }
}

void LoginWindow::changeAccount()
{
    askAndChangeAccount();
    // The clerk types the password next, and Enter must log in, not pop ">>" up again.
    m_ui->txtPassword->setFocus();
}

void LoginWindow::askAndChangeAccount()
{
    m_ui->txtUserName->setText(m_account.userName);
    m_ui->txtPassword->clear();

    const QString old =
        m_context.prompter().input(tr(kOldPasswordPrompt), tr(kOldPasswordTitle), QString());
    if (old != m_account.password) {
        m_context.prompter().message({tr(kOldPasswordWrong), appTitle()});
        return;
    }
    const QString userName =
        m_context.prompter().input(tr(kNewUserPrompt), tr(kNewUserTitle), kNewUserDefault);
    if (userName.isEmpty())
        return;
    // Nothing is written until both are known, and then both lines at once: a program
    // stopped while the password is asked for leaves the old account in force.
    const Account changed{userName, askNewPassword()};

    switch (AccountFile::write(accountPath(), changed)) {
    case AccountFile::WriteResult::Unstorable:
        m_context.prompter().message({tr(kUnstorable), appTitle()});
        return;
    case AccountFile::WriteResult::Failed:
        m_context.prompter().message({tr(kWriteFailed), appTitle()});
        return;
    case AccountFile::WriteResult::Written:
        break;
    }
    m_account = changed;
    m_ui->txtUserName->setText(m_account.userName);
    m_ui->txtPassword->clear();
    m_context.prompter().message({tr(kChanged) + QLatin1Char('\n') + tr(kYourUserName)
                                      + m_account.userName + QLatin1Char('\n') + tr(kYourPassword)
                                      + m_account.password,
                                  appTitle()});
}

void LoginWindow::closeEvent(QCloseEvent *event)
{
    // Once logged in the window stays loaded, hidden, until the program ends.
    if (!isVisible()) {
        event->ignore();
        return;
    }
    event->accept();
    emit cancelled();
}

void LoginWindow::reject()
{
    emit cancelled();
}

}  // namespace lendora
