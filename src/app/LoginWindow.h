#pragma once

#include "base/AccountFile.h"

#include <QDialog>
#include <memory>

class QMenu;

namespace Ui {
class LoginWindow;
}

namespace lendora {

class WindowContext;
class clsToolTip;

// FrmLogon, "登录": asks for the one account before the main window is shown, and lets the
// account be changed once the current password is confirmed. It stays loaded, hidden, after
// a successful login; closing or cancelling it ends the program.
class LoginWindow : public QDialog {
    Q_OBJECT
public:
    explicit LoginWindow(WindowContext &context);
    ~LoginWindow() override;

    // The account in force and the logins tried with the right user name so far.
    const Account &account() const { return m_account; }
    int attempts() const { return m_attempts; }
    clsToolTip &balloon() const { return *m_toolTip; }
    QString accountPath() const;

signals:
    void loggedIn();
    void cancelled();        // closed, Esc, the cancel button
    void tooManyAttempts();  // the wrong password once too often

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;  // Esc, the cancel button

private:
    void updateOk();
    void logIn();
    void changeAccount();
    void askAndChangeAccount();
    QString askNewPassword();

    WindowContext &m_context;
    std::unique_ptr<Ui::LoginWindow> m_ui;
    QMenu *m_popMenu = nullptr;
    clsToolTip *m_toolTip = nullptr;
    Account m_account;
    int m_attempts = 0;
};

}  // namespace lendora
