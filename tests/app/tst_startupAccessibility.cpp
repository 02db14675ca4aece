// The agreement and splash windows as a screen reader meets them: the splash is named for what it
// waits for and can be pressed to continue; the agreement's text, buttons and labels read well and
// its decoration stays out of the way.
#include "app/StartupHost.h"
#include "app/frmEULA.h"
#include "app/frmSplash.h"

#include "platform/Accessibility.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "settings/Settings.h"
#include "tests/support/Accessible.h"
#include "tests/support/TestSandbox.h"

#include <QAccessible>
#include <QPointer>
#include <QTest>

#include <memory>

using namespace platform;

namespace {

class CountingHost : public StartupHost
{
public:
    void showSplash() override { ++splashRequests; }
    void openLoginWindow() override { ++loginRequests; }
    int splashRequests = 0;
    int loginRequests = 0;
};

template <typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class tst_StartupAccessibility : public QObject
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
        m_host = CountingHost();
    }

    void cleanup() { m_sandbox.reset(); }

    // The splash says what it is and what it waits for, and pressing it continues as a click does.
    void splashIsNamedAndCanBePressed()
    {
        QPointer<frmSplash> splash = showWindow<frmSplash>(m_host);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QAccessibleInterface *window = iface(splash);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("qxOrvanta Trainer - click to continue"));
        // Its outline source is never shown and is not in the tree.
        QCOMPARE(window->childCount(), 0);

        QAccessibleActionInterface *actions = window->actionInterface();
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{QStringLiteral("Return")});
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_host.loginRequests, 0); // the screen reader has its answer first
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QCOMPARE(m_host.loginRequests, 1);
        QVERIFY(splash->isUnloaded());
    }

    // Guards a keyboard user stuck on the splash: Enter, the keypad's Enter and Space continue as a
    // click does; other keys do nothing.
    void splashContinuesByKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("logins");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << 1;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0;
    }
    void splashContinuesByKey()
    {
        QFETCH(int, key);
        QFETCH(int, logins);
        QPointer<frmSplash> splash = showWindow<frmSplash>(m_host);
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QTest::keyClick(splash, Qt::Key(key));
        QCOMPARE(m_host.loginRequests, logins);
        QCOMPARE(splash->isUnloaded(), logins == 1);
        if (splash && !splash->isUnloaded())
            splash->Unload();
    }

    // The agreement window is made of standard controls that read their captions; the text box is
    // named for the agreement it holds and is read-only; the navy band is not in the tree.
    void agreementReadsWell()
    {
        QPointer<frmEULA> eula = showWindow<frmEULA>(m_host);
        QVERIFY(QTest::qWaitForWindowExposed(eula));

        QAccessibleInterface *text = iface(child<MultiLineTextBox>(eula, "Text1"));
        QCOMPARE(text->text(QAccessible::Name), QStringLiteral("End User License Agreement"));
        QVERIFY(text->state().readOnly);
        QVERIFY(text->textInterface()->characterCount() > 0);

        QAccessibleInterface *accept = iface(child<CommandButton>(eula, "cmdAccept"));
        QCOMPARE(accept->role(), QAccessible::Button);
        QCOMPARE(accept->text(QAccessible::Name), QStringLiteral("I ACCEPT The Agreement"));
        QAccessibleInterface *decline = iface(child<CommandButton>(eula, "cmdNotaccepted"));
        QCOMPARE(decline->text(QAccessible::Name), QStringLiteral("I DO NOT ACCEPT The Agreement"));

        QAccessibleInterface *heading = iface(child<Label>(eula, "Label3"));
        QCOMPARE(heading->role(), QAccessible::StaticText);
        QCOMPARE(heading->text(QAccessible::Name), QStringLiteral("IMPORTANT LICENSE AGREEMENT"));

        QAccessibleInterface *window = iface(eula);
        QCOMPARE(window->indexOfChild(iface(child<Shape>(eula, "Shape1"))), -1);
        for (int i = 0; i < window->childCount(); ++i)
            QVERIFY(!window->child(i)->text(QAccessible::Name).isEmpty());
    }

private:
    std::unique_ptr<WindowSandbox> m_sandbox;
    CountingHost m_host;
};

QTEST_MAIN(tst_StartupAccessibility)
#include "tst_startupAccessibility.moc"
