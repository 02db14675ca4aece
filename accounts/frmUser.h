#pragma once

#include "AccountHold.h"
#include "AccountRules.h"
#include "LoginHost.h"

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstdint>

// The login window: a borderless 343 x 316 pixel window without a taskbar button, drawn by its
// background picture, with the name box, two password boxes and transparent click areas over the
// picture's buttons. It opens in login mode; a click on the blue bar switches it to create mode,
// which shows the confirmation box. A good login or a new account hands the name and the
// account's totals over to the trainer through the host and unloads the window. It keeps nothing between
// openings: the program creates a new one each time.
class frmUser : public platform::Form
{
    Q_OBJECT
public:
    explicit frmUser(LoginHost &host, QWidget *parent = nullptr);

    // Tests lower the password hashing limits here so that creating accounts stays fast.
    accounts::AccountRules &rules() { return m_rules; }

    platform::TextBox *txtUserName = nullptr;
    platform::ControlArray<platform::TextBox> txtPassword; // 0: password, 1: confirmation
    platform::Label *Label1 = nullptr;                     // the hint under the blue bar
    platform::Label *Label2 = nullptr;                     // click area over the blue bar
    platform::Label *lblContinue = nullptr;                // click area over the green button
    platform::Label *lblExit = nullptr;                    // click area over the red cross

    bool NewUserMode = false;

    void Label2_Click();
    void lblContinue_Click();
    void lblExit_Click();
    void txtUserName_GotFocus();
    void txtPassword_GotFocus(std::int16_t Index);
    void txtPassword_KeyPress(std::int16_t Index, int &KeyAscii);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    platform::TextBox *makeTextBox(float left, float top, const QString &text);
    platform::Label *makeClickArea(float left, float top, float width, float height,
                                   const QString &accessibleName);
    void setKeys();
    void logIn(const QString &name);
    void createAccount(const QString &name);
    // Takes the account for this running copy, or tells the user that another copy has it.
    bool holdAccount(const QString &name, accounts::AccountHold &hold);
    // Hands the name and the account's totals to the program and unloads the window.
    void handOver(const QString &name, accounts::AccountHold hold, std::int16_t hits, std::int16_t tries);

    LoginHost &m_host;
    accounts::AccountRules m_rules;
};
