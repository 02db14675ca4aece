// The login window as a screen reader meets it: the boxes by name, the click areas over the picture's
// buttons as buttons that can be pressed, the hint read by its text, and a typed password never read
// out.
#include "accounts/AccountRules.h"
#include "accounts/LoginTexts.h"
#include "accounts/frmUser.h"
#include "platform/Accessibility.h"
#include "platform/Dialogs.h"
#include "settings/Settings.h"
#include "tests/support/Accessible.h"
#include "tests/support/LoginRecorder.h"
#include "tests/support/TestSandbox.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <memory>

using namespace platform;
using namespace logintext;

class tst_frmUserAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initWindowSuite();
        installAccessibility();
    }

    void init()
    {
        m_sandbox = std::make_unique<WindowSandbox>();
        QVERIFY(m_sandbox->isValid());
        m_host = RecordingLoginHost();
        m_form = new frmUser(m_host);
        m_form->rules().setHashLimits(accounts::kMinimumHashLimits);
        m_form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }

    void cleanup() { m_sandbox.reset(); }

    // Every control reads what it is for, with the role a screen reader user expects.
    void controlsReadTheirNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        const int edit = QAccessible::EditableText, button = QAccessible::Button;
        QTest::newRow("name box") << "txtUserName" << kAccessibleUserName << edit;
        QTest::newRow("password box") << "txtPassword0" << kAccessiblePassword << edit;
        QTest::newRow("confirmation box") << "txtPassword1" << kAccessibleConfirm << edit;
        QTest::newRow("blue bar") << "Label2" << kAccessibleCreate << button;
        QTest::newRow("green button") << "lblContinue" << kAccessibleContinue << button;
        QTest::newRow("red cross") << "lblExit" << kAccessibleExit << button;
        QTest::newRow("hint") << "Label1" << kHintLogin << int(QAccessible::StaticText);
    }
    void controlsReadTheirNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        const QHash<QString, QWidget *> controls{
            {QStringLiteral("txtUserName"), m_form->txtUserName},
            {QStringLiteral("txtPassword0"), m_form->txtPassword(0)},
            {QStringLiteral("txtPassword1"), m_form->txtPassword(1)},
            {QStringLiteral("Label2"), m_form->Label2},
            {QStringLiteral("lblContinue"), m_form->lblContinue},
            {QStringLiteral("lblExit"), m_form->lblExit},
            {QStringLiteral("Label1"), m_form->Label1},
        };
        QAccessibleInterface *accessible = iface(controls.value(control));
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(int(accessible->role()), role);
    }

    // Pressing the click areas does what clicking them does: create mode, then a new account that
    // hands over to the trainer.
    void pressingTheClickAreasWorksTheWindow()
    {
        press(m_form->Label2);
        QVERIFY(m_form->NewUserMode);
        QVERIFY(!iface(m_form->txtPassword(1))->state().invisible);
        QCOMPARE(m_form->Label1->caption(), kHintCreate);
        QCOMPARE(iface(m_form->Label1)->text(QAccessible::Name), kHintCreate);

        QTest::keyClicks(m_form->txtUserName, QStringLiteral("Erin"));
        QTest::mouseClick(m_form->txtPassword(0), Qt::LeftButton);
        QTest::keyClicks(m_form->txtPassword(0), QStringLiteral("sesame"));
        QTest::mouseClick(m_form->txtPassword(1), Qt::LeftButton);
        QTest::keyClicks(m_form->txtPassword(1), QStringLiteral("sesame"));
        press(m_form->lblContinue);
        QCOMPARE(m_host.shownFor, QStringList{QStringLiteral("Erin")});
        QVERIFY(m_form->isUnloaded());
    }

    // Guards a keyboard user without a way to create an account or to leave: Ctrl+N is the blue bar,
    // Escape is Exit, from the name box too; each key is in its area's tooltip and key binding.
    void keysStandForTheClickAreas()
    {
        const auto binding = [](QWidget *area) {
            return iface(area)->actionInterface()->keyBindingsForAction(
                QAccessibleActionInterface::pressAction());
        };
        QCOMPARE(binding(m_form->Label2), QStringList{QStringLiteral("Ctrl+N")});
        QCOMPARE(binding(m_form->lblExit), QStringList{QStringLiteral("Esc")});
        QVERIFY(m_form->Label2->toolTip().endsWith(QStringLiteral("(Ctrl+N)")));
        QVERIFY(m_form->lblExit->toolTip().endsWith(QStringLiteral("(Esc)")));

        QApplication::setActiveWindow(m_form);
        QTest::keyClick(m_form->txtUserName, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(m_form->NewUserMode);
        QTest::keyClick(m_form->txtUserName, Qt::Key_Escape);
        QVERIFY(m_form->isUnloaded());
        QVERIFY(m_host.shownFor.isEmpty());
    }

    // A password is never shown or read out, however it got into the box: typed after a click, or
    // set by an assistive technology without the box taking the focus (it showed in clear).
    void passwordIsNeverShownOrReadOut_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed") << true;
        QTest::newRow("set without the focus") << false;
    }
    void passwordIsNeverShownOrReadOut()
    {
        QFETCH(bool, typed);
        QCOMPARE(m_form->txtPassword(0)->echoMode(), QLineEdit::Normal); // its design text in plain letters
        if (typed) {
            QTest::mouseClick(m_form->txtPassword(0), Qt::LeftButton);
            QTest::keyClicks(m_form->txtPassword(0), QStringLiteral("sesame"));
        } else {
            m_form->txtPassword(0)->setText(QStringLiteral("sesame"));
            QVERIFY(!m_form->txtPassword(0)->hasFocus());
        }
        QCOMPARE(m_form->txtPassword(0)->echoMode(), QLineEdit::Password);
        QAccessibleInterface *box = iface(m_form->txtPassword(0));
        QVERIFY(box->state().passwordEdit);
        QVERIFY(!box->text(QAccessible::Value).contains(QStringLiteral("sesame")));
        QAccessibleTextInterface *text = box->textInterface();
        QVERIFY(!text || !text->text(0, text->characterCount()).contains(QStringLiteral("sesame")));
    }

private:
    std::unique_ptr<WindowSandbox> m_sandbox;
    RecordingLoginHost m_host;
    QPointer<frmUser> m_form;
};

QTEST_MAIN(tst_frmUserAccessibility)
#include "tst_frmUserAccessibility.moc"
