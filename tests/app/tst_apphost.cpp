// The whole start-up chain and the hand-overs between the real windows, driven through the program's
// host: agreement -> splash -> login -> trainer, the trainer's switch-user button and the close of
// each window, with message boxes recorded and the end of the program observed.
#include "app/AppHost.h"
#include "app/frmEULA.h"
#include "app/frmSplash.h"

#include "accounts/AccountRules.h"
#include "accounts/frmUser.h"
#include "history/HistorySchema.h"
#include "platform/Dialogs.h"
#include "results/frmResults.h"
#include "settings/Settings.h"
#include "trainer/frmMain.h"
#include "tests/settings/StoreTestSupport.h"
#include "tests/support/Accounts.h"
#include "tests/support/Activation.h"
#include "tests/support/TestSandbox.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <memory>

using namespace platform;

namespace {

const QString kAlice = QStringLiteral("Alice");
const QString kBob = QStringLiteral("Bob");
const QString kAccounts = QStringLiteral("Orvanta");

// Fills the login window as typed (without the focus handlers that empty the boxes) and continues.
void logIn(frmUser *login, const QString &name, const QString &password)
{
    login->txtUserName->setText(name);
    login->txtPassword(0)->setText(password);
    login->lblContinue_Click();
}

QList<Form *> loaded()
{
    return FormRegistry::loadedForms();
}

} // namespace

class tst_AppHost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initWindowSuite();
        history::schema::install();
    }

    void init()
    {
        m_sandbox = std::make_unique<WindowSandbox>();
        QVERIFY(m_sandbox->isValid());
        m_host = std::make_unique<AppHost>();
    }

    void cleanup()
    {
        WindowSandbox::unloadWindows();
        m_host.reset();
        m_sandbox.reset();
    }

    // A first start leads through every window to the trainer: the agreement, its acceptance, the
    // splash, a new account, and the trainer showing the new user's name. Each window is gone once
    // it has handed over, and the program never runs out of windows on the way.
    void firstStartLeadsToTheTrainer()
    {
        m_host->start();
        QPointer<frmEULA> eula = m_host->agreementWindow();
        QVERIFY(eula && eula->isVisible());
        QCOMPARE(loaded(), QList<Form *>{eula.data()});

        eula->cmdAccept_Click();
        QPointer<frmSplash> splash = m_host->splashWindow();
        QVERIFY(splash && splash->isVisible());
        QCOMPARE(loaded(), QList<Form *>{splash.data()});

        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(212, 183));
        QPointer<frmUser> login = m_host->loginWindow();
        QVERIFY(login && login->isVisible());
        QCOMPARE(loaded(), QList<Form *>{login.data()});

        login->rules().setHashLimits(accounts::kMinimumHashLimits);
        login->Label2_Click();
        login->txtUserName->setText(kAlice);
        login->txtPassword(0)->setText(QStringLiteral("s3cret"));
        login->txtPassword(1)->setText(QStringLiteral("s3cret"));
        login->lblContinue_Click();

        QPointer<frmMain> trainer = m_host->trainerWindow();
        QVERIFY(trainer && trainer->isVisible());
        QCOMPARE(trainer->lblUserName->caption(), kAlice);
        QCOMPARE(m_host->session().CurrentUserName, kAlice);
        QCOMPARE(loaded(), QList<Form *>{trainer.data()});
        QCOMPARE(m_sandbox->programEnds, 0);
        QCOMPARE(m_sandbox->messageTexts(),
                 QStringList({QStringLiteral("EULA Terms accepted.  Enjoy!"),
                              QStringLiteral("New User Created!  You are now logged on as: Alice")}));
        QTRY_VERIFY(eula.isNull() && splash.isNull() && login.isNull());
    }

    // A later start passes the agreement unseen: the splash is the first window.
    void acceptedAgreementStartsAtSplash()
    {
        SaveSetting(QStringLiteral("qxOrvanta"), QStringLiteral("EULA"), QStringLiteral("TermsAccepted"),
                    QStringLiteral("True"));
        m_host->start();
        QVERIFY(m_host->agreementWindow() == nullptr || m_host->agreementWindow()->isUnloaded());
        QVERIFY(m_host->splashWindow() && m_host->splashWindow()->isVisible());
        QCOMPARE(loaded(), QList<Form *>{m_host->splashWindow()});
    }

    // Leaving the first login window through its close area ends the program.
    void exitFromFirstLoginEndsProgram()
    {
        m_host->openLoginWindow();
        m_host->loginWindow()->lblExit_Click();
        QCOMPARE(m_sandbox->programEnds, 1);
        QVERIFY(loaded().isEmpty());
    }

    // The trainer's User button opens a login window in front of it; Exit there leaves the trainer
    // open for the same user. A second press while a login window is open opens no second one.
    void switchUserAndLeaveKeepsTrainer()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        QPointer<frmMain> trainer = loggedIn(kAlice, QStringLiteral("a"));
        QVERIFY(trainer);

        trainer->btnUser_Click(0);
        QPointer<frmUser> login = m_host->loginWindow();
        QVERIFY(login && login->isVisible());
        QVERIFY(trainer->isVisible());
        trainer->btnUser_Click(0);
        QCOMPARE(m_host->loginWindow(), login.data());
        QCOMPARE(loaded().size(), 2);

        login->lblExit_Click();
        QVERIFY(trainer->isVisible());
        QCOMPARE(loaded(), QList<Form *>{trainer.data()});
        QCOMPARE(m_host->session().CurrentUserName, kAlice);
        QCOMPARE(m_sandbox->programEnds, 0);
    }

    // A login from the trainer's User button brings back the same trainer window with the new name
    // and the new user's totals, and the meter as the window opened (never the last user's score); a
    // later switch back restores the first user's totals.
    void switchUserReusesTrainerWithNewTotals()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        makeAccount(kBob, QStringLiteral("b"), QStringLiteral("7"), QStringLiteral("20"));
        QPointer<frmMain> trainer = loggedIn(kAlice, QStringLiteral("a"));
        QCOMPARE(m_host->session().UserTries, std::int16_t(10));
        const float openingTop = trainer->shapeMeter->top();
        trainer->btnDrill_Click(0);
        trainer->Card_Click(1); // 0 % or 100 %: the meter leaves the chance row
        QVERIFY(trainer->shapeMeter->top() != openingTop);

        trainer->btnUser_Click(0);
        logIn(m_host->loginWindow(), kBob, QStringLiteral("b"));
        QCOMPARE(trainer->shapeMeter->top(), openingTop);
        QCOMPARE(trainer->shapeMeter->fillColor(), 16777215); // white
        QCOMPARE(m_host->trainerWindow(), trainer.data());
        QCOMPARE(trainer->lblUserName->caption(), kBob);
        QCOMPARE(m_host->session().CurrentUserName, kBob);
        QCOMPARE(m_host->session().UserHits, std::int16_t(7));
        QCOMPARE(m_host->session().UserTries, std::int16_t(20));
        QCOMPARE(loaded(), QList<Form *>{trainer.data()});

        trainer->btnUser_Click(0);
        logIn(m_host->loginWindow(), QStringLiteral("alice"), QStringLiteral("a"));
        QCOMPARE(trainer->lblUserName->caption(), QStringLiteral("alice")); // as typed at this login
        QCOMPARE(m_host->session().UserHits, std::int16_t(3));
        QCOMPARE(m_host->session().UserTries, std::int16_t(10));
    }

    // Guesses whose totals the disk refused are written once more as the program ends; what is still
    // refused then is told in one message: how many tries, where and why.
    void triesTheDiskRefusedAreToldAtTheEnd()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("0"), QStringLiteral("0"));
        frmMain *trainer = loggedIn(kAlice, QStringLiteral("a"));
        const QString store = SettingsStore::defaultFilePath();
        storetest::OrdinaryUser user(m_sandbox->path());
        QVERIFY(QFile::setPermissions(store, QFile::ReadOwner));
        resetSettingsStore();
        trainer->StartButton_Click(0);
        for (int guess = 0; guess < 3; ++guess) {
            trainer->Card_Click(1);
            trainer->timerreset_Timer();
        }
        m_sandbox->messages.clear();
        AppHost::finishStore();
        QCOMPARE(m_sandbox->messageTexts(),
                 QStringList{QStringLiteral(
                                 "The last 3 tries could not be stored in \"%1\": the file is read-only.\n\n"
                                 "They are lost when the program ends.")
                                 .arg(store)});
        QVERIFY(QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner));
        AppHost::finishStore();
        QCOMPARE(m_sandbox->messages.size(), 1);
        resetSettingsStore();
        QCOMPARE(GetSetting(kAccounts, kAlice, QStringLiteral("Tries"), QString()), QStringLiteral("3"));
    }

    // Closing the trainer while a switch of user is under way leaves the login window running the
    // program; a login there opens a fresh trainer.
    void closingTrainerDuringSwitchKeepsProgramRunning()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("0"), QStringLiteral("0"));
        QPointer<frmMain> trainer = loggedIn(kAlice, QStringLiteral("a"));
        trainer->btnUser_Click(0);

        trainer->Image1_Click(0);
        QCOMPARE(m_sandbox->programEnds, 0);
        QCOMPARE(loaded(), QList<Form *>{m_host->loginWindow()});

        logIn(m_host->loginWindow(), kAlice, QStringLiteral("a"));
        QVERIFY(m_host->trainerWindow());
        QVERIFY(m_host->trainerWindow() != trainer.data());
        QVERIFY(m_host->trainerWindow()->isVisible());
        QCOMPARE(m_host->trainerWindow()->lblUserName->caption(), kAlice);

        m_host->trainerWindow()->Image1_Click(0);
        QCOMPARE(m_sandbox->programEnds, 1);
    }

    // The Results window belongs to the trainer: opened from its score bar for the user logged in,
    // it takes in each counted try, follows a login of another user and closes with the trainer.
    void resultsWindowFollowsTheTrainer()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("3"), QStringLiteral("10"));
        makeAccount(kBob, QStringLiteral("b"), QStringLiteral("7"), QStringLiteral("20"));
        QPointer<frmMain> trainer = loggedIn(kAlice, QStringLiteral("a"));
        giveActivationBack(trainer); // the activation that follows the login
        trainer->Picture1_Click();
        QPointer<results::frmResults> window = m_host->resultsWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Results - Alice"));
        QCOMPARE(window->data().whole.tries, 10);

        trainer->StartButton_Click(0);
        trainer->Card_Click(1);
        QCOMPARE(window->data().whole.tries, 11);
        QCOMPARE(m_host->session().UserTries, std::int16_t(11)); // the program follows the run's totals
        QCOMPARE(window->data().recordedTries(), 1);
        QCOMPARE(window->data().runs.size(), 1);
        // Going over to the Results window and back is no activation of the trainer's: the score
        // line stays.
        const QString scoreLine = trainer->lblStats->caption();
        giveActivationBack(trainer, window);
        QCOMPARE(trainer->lblStats->caption(), scoreLine);

        trainer->btnUser_Click(0);
        logIn(m_host->loginWindow(), kBob, QStringLiteral("b"));
        QCOMPARE(m_host->resultsWindow(), window.data());
        QCOMPARE(window->windowTitle(), QStringLiteral("Results - Bob"));
        QCOMPARE(window->data().whole.tries, 20);

        trainer->Image1_Click(0);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(m_sandbox->programEnds, 1);
    }

private:
    // A login in the first login window the host opens: the trainer it hands over to.
    frmMain *loggedIn(const QString &name, const QString &password)
    {
        m_host->openLoginWindow();
        logIn(m_host->loginWindow(), name, password);
        return m_host->trainerWindow();
    }

    std::unique_ptr<WindowSandbox> m_sandbox;
    std::unique_ptr<AppHost> m_host;
};

QTEST_MAIN(tst_AppHost)
#include "tst_apphost.moc"
