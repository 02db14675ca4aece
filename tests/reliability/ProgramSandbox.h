#pragma once

// What the window reliability suites share: the real program host with its real windows over a private
// store, recorded message boxes and program end, clicks delivered the way the window system delivers
// them, and a full read of the store to prove that nothing changed.

#include "app/AppHost.h"
#include "tests/settings/StoreTestSupport.h"
#include "tests/support/Accounts.h"
#include "tests/support/TestSandbox.h"

#include "accounts/AccountRules.h"
#include "history/HistorySchema.h"
#include "accounts/frmUser.h"
#include "platform/Timer.h"
#include "trainer/frmMain.h"

#include <QStringList>
#include <QTest>

#include <memory>

namespace sandbox {

inline const QString kAccounts = QStringLiteral("Orvanta");

// The window sandbox with a fresh AppHost. One per test function; ending it discards every window.
class ProgramSandbox : public WindowSandbox
{
public:
    static void initSuite()
    {
        initWindowSuite();
        history::schema::install();
    }

    ProgramSandbox() { host = std::make_unique<AppHost>(); }
    ~ProgramSandbox()
    {
        unloadWindows();
        host.reset();
    }

    QString storePath() const { return path() + QStringLiteral("/qxOrvanta/settings.sqlite3"); }

    std::unique_ptr<AppHost> host;
};

// The login window the host has open, once it is active (its name box has had the focus that empties
// it), with fast hashing for accounts it creates. Null when there is none.
inline frmUser *activeLogin(AppHost &host)
{
    frmUser *login = host.loginWindow();
    if (!login || login->isUnloaded() || !QTest::qWaitForWindowActive(login))
        return nullptr;
    login->rules().setHashLimits(accounts::kMinimumHashLimits);
    return login;
}

// Fills the login window as pasted text lands in its boxes and clicks Continue; in create mode the
// confirmation box gets the same password.
inline void submitLogin(frmUser *login, const QString &name, const QString &password, bool create = false)
{
    if (create && !login->NewUserMode)
        QTest::mouseClick(login->Label2, Qt::LeftButton);
    login->txtUserName->setText(name);
    login->txtPassword(0)->setText(password);
    if (create)
        login->txtPassword(1)->setText(password);
    QTest::mouseClick(login->lblContinue, Qt::LeftButton);
}

// Starts the program past the agreement and splash: the first login window, a login, the trainer.
inline frmMain *logInFromStart(AppHost &host, const QString &name, const QString &password)
{
    host.openLoginWindow();
    frmUser *login = activeLogin(host);
    if (!login)
        return nullptr;
    submitLogin(login, name, password);
    frmMain *trainer = host.trainerWindow();
    if (!trainer || !QTest::qWaitForWindowExposed(trainer))
        return nullptr;
    return trainer;
}

// A left click at the centre of a control, delivered to its window the way the window system delivers
// one: the window decides which control lies under the pointer (a hidden control takes nothing).
inline void clickOn(QWidget *control)
{
    QWidget *window = control->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(window, control->rect().center()));
}

// Every stored row (application, section, key, value), read through a connection of its own, so that a
// test can show that nothing in the store changed.
inline QList<QStringList> storeRows(const QString &path)
{
    return storetest::queryRows(path, "SELECT application, section, key, value FROM setting"
                                      " ORDER BY application_fold, section_fold, key_fold");
}

} // namespace sandbox
