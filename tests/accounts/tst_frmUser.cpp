// The login window driven as a user drives it: clicks on its click areas, typing, Tab and Enter,
// with message boxes recorded and a stand-in for the trainer.
#include "accounts/AccountHold.h"
#include "accounts/AccountRules.h"
#include "accounts/LoginTexts.h"
#include "accounts/frmUser.h"
#include "platform/Dialogs.h"
#include "settings/Settings.h"
#include "tests/support/Accounts.h"
#include "tests/support/LoginRecorder.h"
#include "tests/support/TestSandbox.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

#include <memory>
#include <optional>

using namespace platform;
using namespace logintext;

namespace {

const QString kAlice = QStringLiteral("Alice");
const QString kBob = QStringLiteral("Bob");
const QString kApp = QStringLiteral("Orvanta");

// Gives the box the focus as a click would (which runs its focus handler), then types.
void typeInto(TextBox *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, text);
}

// Types the name into the focused name box and the password(s) as a user does, then clicks Continue;
// in create mode the confirmation box gets `confirmation`.
void submit(frmUser *form, const QString &name, const QString &password,
            const std::optional<QString> &confirmation = std::nullopt)
{
    QTest::keyClicks(form->txtUserName, name);
    typeInto(form->txtPassword(0), password);
    if (confirmation)
        typeInto(form->txtPassword(1), *confirmation);
    QTest::mouseClick(form->lblContinue, Qt::LeftButton);
}

} // namespace

class tst_frmUser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initWindowSuite(); }
    void init()
    {
        m_sandbox = std::make_unique<WindowSandbox>();
        QVERIFY(m_sandbox->isValid());
        m_host = RecordingLoginHost();
    }
    void cleanup()
    {
        WindowSandbox::unloadWindows();
        QTest::qWait(0);
        m_sandbox.reset();
    }

    // The window opens as designed: no taskbar button, no border, focus in the emptied name box.
    void opensInLoginMode()
    {
        frmUser *form = openLogin();
        QVERIFY(form);
        QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(form->windowType(), Qt::Tool);
        QCOMPARE(form->windowTitle(), QStringLiteral("Login Screen"));
        QCOMPARE(form->size(), QSize(343, 316));
        QVERIFY((form->frameGeometry().center() - form->screen()->availableGeometry().center())
                    .manhattanLength() <= 2);
        QCOMPARE(QApplication::focusWidget(), form->txtUserName);
        QVERIFY(form->txtUserName->text().isEmpty());
        QCOMPARE(form->txtPassword(0)->text(), QStringLiteral("Password"));
        QCOMPARE(form->txtPassword(0)->echoMode(), QLineEdit::Normal);
        QVERIFY(form->txtPassword(1)->isHidden());
        QCOMPARE(form->Label1->caption(), kHintLogin);
        QVERIFY(!form->NewUserMode);
    }

    // Create mode shows the confirmation box above the password box's bottom edge and a shorter hint
    // that starts where the long one started; the name and password texts and the focus stay.
    void createModeShowsConfirmationBox()
    {
        frmUser *form = openLogin();
        QVERIFY(form);
        QTest::keyClicks(form->txtUserName, QStringLiteral("Erin"));
        const int hintLeft = form->Label1->x();
        const int hintWidth = form->Label1->QWidget::width();
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(form->Label2, Qt::LeftButton);
            QVERIFY(form->NewUserMode);
            QVERIFY(form->txtPassword(1)->isVisible());
            QCOMPARE(form->txtPassword(1)->text(), kConfirmPlaceholder);
            QCOMPARE(form->Label1->caption(), kHintCreate);
            QCOMPARE(form->Label1->x(), hintLeft);
            QVERIFY(form->Label1->QWidget::width() < hintWidth);
            QCOMPARE(form->txtUserName->text(), QStringLiteral("Erin"));
            QCOMPARE(QApplication::focusWidget(), form->txtUserName);
        }
        const QRect box0 = form->txtPassword(0)->geometry();
        QCOMPARE(form->childAt(box0.left() + 5, box0.bottom()), form->txtPassword(1));
    }

    // An empty name is refused silently in both modes.
    void emptyNameDoesNothing_data()
    {
        QTest::addColumn<bool>("createMode");
        QTest::newRow("login mode") << false;
        QTest::newRow("create mode") << true;
    }
    void emptyNameDoesNothing()
    {
        QFETCH(bool, createMode);
        frmUser *form = openLogin();
        QVERIFY(form);
        if (createMode)
            QTest::mouseClick(form->Label2, Qt::LeftButton);
        QTest::mouseClick(form->lblContinue, Qt::LeftButton);
        QVERIFY(m_sandbox->messages.isEmpty());
        QVERIFY(m_host.shownFor.isEmpty());
        QVERIFY(form->isVisible());
        QCOMPARE(form->NewUserMode, createMode);
    }

    // A refused login tells why and leaves the window (every box as it was, though the message box
    // took the activation), the user and the store as they were; an unknown name is reported before
    // any password is looked at.
    void refusedLogin_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("heldElsewhere"); // the account as another running copy holds it
        QTest::newRow("unknown name")
            << QStringLiteral("Nobody") << QStringLiteral("s3cret") << kInvalidUserName << QString();
        QTest::newRow("wrong password")
            << kAlice << QStringLiteral("secret") << kInvalidPassword << QString();
        QTest::newRow("password in another letter case")
            << QStringLiteral("alice") << QStringLiteral("S3CRET") << kInvalidPassword << QString();
        QTest::newRow("wrong password to an account in use")
            << QStringLiteral("alice") << QStringLiteral("secret") << kInvalidPassword << kAlice;
        QTest::newRow("account in use by another copy")
            << QStringLiteral("alice") << QStringLiteral("s3cret")
            << kAccountInUse.arg(QStringLiteral("alice")) << QStringLiteral("ALICE");
    }
    void refusedLogin()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(QString, heldElsewhere);
        makeAccount(kAlice, QStringLiteral("s3cret"));
        const QString hash = stored(kAlice, "Password");
        accounts::AccountHold otherCopy;
        if (!heldElsewhere.isEmpty())
            QCOMPARE(otherCopy.take(heldElsewhere), accounts::AccountHold::Result::Held);
        frmUser *form = openLogin();
        QVERIFY(form);
        m_sandbox->onMessage = [form] { giveActivationBack(form); };
        submit(form, name, password);
        QCOMPARE(m_sandbox->messages.size(), 1);
        QCOMPARE(m_sandbox->messages[0].text, message);
        QCOMPARE(m_sandbox->messages[0].icon, MsgIcon::Exclamation);
        QCOMPARE(m_sandbox->messages[0].title, kWarningTitle);
        QVERIFY(form->isVisible());
        QCOMPARE(form->txtUserName->text(), name);
        QCOMPARE(form->txtPassword(0)->text(), password);
        QVERIFY(m_host.shownFor.isEmpty());
        QCOMPARE(stored(kAlice, "Password"), hash);
    }

    // A good login loads the totals, names the user as typed this time and hands over to the trainer.
    void goodLoginHandsOver_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("focusPassword");
        QTest::newRow("name in another letter case")
            << QStringLiteral("aLiCe") << QStringLiteral("s3cret") << true;
        QTest::newRow("password box never focused compares its placeholder")
            << kAlice << QStringLiteral("Password") << false;
    }
    void goodLoginHandsOver()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, focusPassword);
        makeAccount(kAlice, password, QStringLiteral("12"), QStringLiteral("40"));
        QPointer<frmUser> form = openLogin();
        QVERIFY(form);
        QTest::keyClicks(form->txtUserName, name);
        if (focusPassword)
            typeInto(form->txtPassword(0), password);
        QTest::mouseClick(form->lblContinue, Qt::LeftButton);
        QVERIFY(m_sandbox->messages.isEmpty());
        QCOMPARE(m_host.shownFor, QStringList{name});
        QVERIFY(m_host.hits == 12 && m_host.tries == 40);
        QVERIFY(form->isUnloaded());
        QTRY_VERIFY(form.isNull());
    }

    // The copy that logged in holds the account until its user switches to another one; logging in
    // again to the account it holds is no conflict with itself.
    void holdFollowsTheLoggedInUser()
    {
        makeAccount(kAlice, QStringLiteral("a"));
        makeAccount(kBob, QStringLiteral("b"));
        const auto logIn = [&](const QString &name, const QString &password) {
            frmUser *form = openLogin();
            QVERIFY(form);
            submit(form, name, password);
        };
        accounts::AccountHold otherCopy;
        logIn(kAlice, QStringLiteral("a"));
        logIn(QStringLiteral("ALICE"), QStringLiteral("a"));
        QCOMPARE(otherCopy.take(QStringLiteral("alice")), accounts::AccountHold::Result::InUse);
        logIn(kBob, QStringLiteral("b"));
        QVERIFY(m_sandbox->messages.isEmpty());
        QCOMPARE(m_host.shownFor, (QStringList{kAlice, QStringLiteral("ALICE"), kBob}));
        QCOMPARE(otherCopy.take(QStringLiteral("alice")), accounts::AccountHold::Result::Held);
        QCOMPARE(otherCopy.take(QStringLiteral("bob")), accounts::AccountHold::Result::InUse);
    }

    // Stored values that cannot be true: counts that are no counts are told once at the login, before
    // a guess stores over them; a hash that would take minutes or gigabytes to check refuses the login
    // at once.
    void storedValuesThatCannotBeTrueAreTold()
    {
        makeAccount(kAlice, QStringLiteral("a"), QStringLiteral("abc"), QStringLiteral("1e3"));
        SaveSettings(
            kApp, kBob,
            {{QStringLiteral("UserName"), kBob},
             {QStringLiteral("Password"), QStringLiteral("$argon2id$v=19$m=19456,t=100000000,p=1$"
                                                         "c2FsdHNhbHRzYWx0$aGFzaGhhc2hoYXNoaGFzaA")}});
        for (const QString &name : {QStringLiteral("alice"), kBob}) {
            frmUser *form = openLogin();
            QVERIFY(form);
            submit(form, name, name == QLatin1String("Bob") ? QStringLiteral("b") : QStringLiteral("a"));
        }
        QCOMPARE(m_sandbox->messageTexts(),
                 (QStringList{
                     QStringLiteral("The stored totals of alice are not counts this program writes: Hits "
                                    "\"abc\", Tries \"1e3\".\n\nThey are read as 0 hits and 0 tries; the "
                                    "next guess of a test run stores new totals in their place."),
                     QStringLiteral("The password stored for Bob asks for far more memory or time to "
                                    "check than this program ever uses, so it is not checked and the "
                                    "login is refused. The settings file may have been edited by hand.")}));
        QCOMPARE(m_host.shownFor, QStringList{QStringLiteral("alice")});
        QCOMPARE(stored(kAlice, "Hits"), QStringLiteral("abc"));
    }

    // The account is complete in the store before the user is told it exists; the typed password
    // never reaches the store.
    void creatingAnAccount()
    {
        QPointer<frmUser> form = openLogin();
        QVERIFY(form);
        QTest::mouseClick(form->Label2, Qt::LeftButton);
        QStringList storedAtMessage;
        m_sandbox->onMessage = [&] {
            for (const char *key : {"UserName", "Hits", "Tries"})
                storedAtMessage << stored(QStringLiteral("Erin"), QString::fromLatin1(key));
        };
        submit(form, QStringLiteral("Erin"), QStringLiteral("pw1"), QStringLiteral("pw1"));
        QCOMPARE(m_sandbox->messages.size(), 1);
        QCOMPARE(m_sandbox->messages[0].text,
                 QStringLiteral("New User Created!  You are now logged on as: Erin"));
        QCOMPARE(m_sandbox->messages[0].icon, MsgIcon::None);
        QCOMPARE(m_sandbox->messages[0].title, kApplicationTitle);
        QCOMPARE(storedAtMessage,
                 (QStringList{QStringLiteral("Erin"), QStringLiteral("0"), QStringLiteral("0")}));
        QVERIFY(stored(QStringLiteral("Erin"), "Password").startsWith(QStringLiteral("$argon2id$")));
        QCOMPARE(m_host.shownFor, QStringList{QStringLiteral("Erin")});
        QVERIFY(m_host.hits == 0 && m_host.tries == 0);
        QTRY_VERIFY(form.isNull());
    }

    // Refusals in create mode store nothing and keep the window in create mode with its texts (also
    // once the message box gave the activation back); a taken name is reported even when the
    // passwords also disagree.
    void refusedCreation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message"); // empty: refused silently
        QTest::addColumn<bool>("frankHeldElsewhere");
        QTest::newRow("name taken in another letter case")
            << QStringLiteral("ALICE") << QStringLiteral("x") << QStringLiteral("x") << kNameTaken << false;
        QTest::newRow("name taken and passwords differ")
            << kAlice << QStringLiteral("x") << QStringLiteral("y") << kNameTaken << false;
        QTest::newRow("passwords differ")
            << QStringLiteral("Frank") << QStringLiteral("a") << QStringLiteral("b") << QString() << false;
        QTest::newRow("both passwords empty")
            << QStringLiteral("Frank") << QString() << QString() << QString() << false;
        QTest::newRow("name being created by another copy")
            << QStringLiteral("frank") << QStringLiteral("x") << QStringLiteral("x")
            << kAccountInUse.arg(QStringLiteral("frank")) << true;
    }
    void refusedCreation()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        QFETCH(bool, frankHeldElsewhere);
        makeAccount(kAlice, QStringLiteral("s3cret"));
        const QString hash = stored(kAlice, "Password");
        accounts::AccountHold otherCopy;
        if (frankHeldElsewhere)
            QCOMPARE(otherCopy.take(QStringLiteral("Frank")), accounts::AccountHold::Result::Held);
        frmUser *form = openLogin();
        QVERIFY(form);
        m_sandbox->onMessage = [form] { giveActivationBack(form); };
        QTest::mouseClick(form->Label2, Qt::LeftButton);
        submit(form, name, password, confirmation);
        if (message.isEmpty()) {
            QVERIFY(m_sandbox->messages.isEmpty());
        } else {
            QCOMPARE(m_sandbox->messages.size(), 1);
            QCOMPARE(m_sandbox->messages[0].text, message);
            QCOMPARE(m_sandbox->messages[0].icon, MsgIcon::Exclamation);
            QCOMPARE(m_sandbox->messages[0].title, kWarningTitle);
        }
        QVERIFY(form->isVisible());
        QVERIFY(form->NewUserMode);
        QCOMPARE(form->txtPassword(0)->text(), password);
        QCOMPARE(form->txtPassword(1)->text(), confirmation);
        QVERIFY(m_host.shownFor.isEmpty());
        QCOMPARE(stored(QStringLiteral("Frank"), "UserName"), QStringLiteral("<missing>"));
        QCOMPARE(stored(kAlice, "Password"), hash);
    }

    // Enter is never typed into a password box: in login mode it runs Continue, in create mode it
    // moves on to the confirmation box, where it runs Continue.
    void enterInPasswordBox()
    {
        QPointer<frmUser> form = openLogin();
        QVERIFY(form);
        QTest::keyClicks(form->txtUserName, QStringLiteral("Nobody"));
        typeInto(form->txtPassword(0), QStringLiteral("pw"));
        QTest::keyClick(form->txtPassword(0), Qt::Key_Return);
        QCOMPARE(m_sandbox->messages.size(), 1);
        QCOMPARE(m_sandbox->messages[0].text, kInvalidUserName);
        QCOMPARE(form->txtPassword(0)->text(), QStringLiteral("pw"));

        QTest::mouseClick(form->Label2, Qt::LeftButton);
        QTest::keyClick(form->txtPassword(0), Qt::Key_Return);
        QCOMPARE(m_sandbox->messages.size(), 1);
        QCOMPARE(QApplication::focusWidget(), form->txtPassword(1));
        QVERIFY(form->txtPassword(1)->text().isEmpty());
        QCOMPARE(form->txtPassword(1)->echoMode(), QLineEdit::Password);
        QTest::keyClicks(form->txtPassword(1), QStringLiteral("pw"));
        QTest::keyClick(form->txtPassword(1), Qt::Key_Enter);
        QCOMPARE(m_host.shownFor, QStringList{QStringLiteral("Nobody")});
        QTRY_VERIFY(form.isNull());
    }

    // A focus move inside the window (Tab, Shift+Tab, a click) empties the box it reaches; a password
    // box masks its text from its first focus on. The window only becoming active again (after a
    // message box, another program or the trainer) empties nothing.
    void focusMovesEmptyBoxes()
    {
        frmUser *form = openLogin();
        QVERIFY(form);
        Form trainer;
        QTest::keyClicks(form->txtUserName, kAlice);
        QTest::keyClick(form->txtUserName, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->txtPassword(0));
        QVERIFY(form->txtPassword(0)->text().isEmpty());
        QCOMPARE(form->txtPassword(0)->passwordChar(), QChar(u'*'));
        QTest::keyClicks(form->txtPassword(0), QStringLiteral("secret"));
        QCOMPARE(form->txtPassword(0)->displayText(), QStringLiteral("******"));
        giveActivationBack(form);
        giveActivationBack(form, &trainer);
        QCOMPARE(form->txtPassword(0)->text(), QStringLiteral("secret"));
        QTest::keyClick(form->txtPassword(0), Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(form->txtUserName->text().isEmpty());
        QTest::mouseClick(form->txtPassword(0), Qt::LeftButton);
        QVERIFY(form->txtPassword(0)->text().isEmpty());
    }

    // Exit stores nothing and keeps the user; it ends the program only when no other window is open.
    // The next login window starts again in login mode.
    void exitClosesTheWindow_data()
    {
        QTest::addColumn<bool>("trainerOpen");
        QTest::newRow("opened by the trainer") << true;
        QTest::newRow("first login window") << false;
    }
    void exitClosesTheWindow()
    {
        QFETCH(bool, trainerOpen);
        QPointer<Form> trainer;
        if (trainerOpen) {
            trainer = new Form;
            trainer->resize(200, 100);
            trainer->Show();
        }
        QPointer<frmUser> form = openLogin();
        QVERIFY(form);
        QTest::mouseClick(form->Label2, Qt::LeftButton);
        QTest::keyClicks(form->txtUserName, QStringLiteral("Gina"));
        QTest::mouseClick(form->lblExit, Qt::LeftButton);
        QVERIFY(form->isUnloaded());
        QTRY_VERIFY(form.isNull());
        QCOMPARE(m_sandbox->programEnds, trainerOpen ? 0 : 1);
        QCOMPARE(!trainer.isNull() && trainer->isVisible(), trainerOpen);
        QVERIFY(m_host.shownFor.isEmpty());
        QCOMPARE(stored(QStringLiteral("Gina"), "UserName"), QStringLiteral("<missing>"));

        form = openLogin();
        QVERIFY(form);
        QVERIFY(!form->NewUserMode);
        QVERIFY(form->txtPassword(1)->isHidden());
        QCOMPARE(form->Label1->caption(), kHintLogin);
    }

private:
    frmUser *openLogin()
    {
        auto *form = new frmUser(m_host);
        form->rules().setHashLimits(accounts::kMinimumHashLimits);
        form->Show();
        if (!QTest::qWaitForWindowActive(form))
            return nullptr;
        return form;
    }

    std::unique_ptr<WindowSandbox> m_sandbox;
    RecordingLoginHost m_host;
};

QTEST_MAIN(tst_frmUser)
#include "tst_frmUser.moc"
