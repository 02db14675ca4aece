// What a screen reader learns of the windowless-style controls and the windows: roles and names,
// pressing a picture button, covered and ignored controls. (Caption announcements and pressing a
// window are exercised through the trainer and splash windows.)
#include "platform/Accessibility.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "tests/support/Accessible.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace platform;

namespace {

// A window with a button picture, its lit picture beneath it, a caption label and a picture box
// holding a decoration shape.
class ProbeForm : public Form
{
public:
    Image *button = nullptr;
    Image *lit = nullptr;
    Label *caption = nullptr;
    PictureBox *box = nullptr;
    Shape *decoration = nullptr;

    ProbeForm()
    {
        resize(200, 150);
        lit = new Image(this);
        lit->setGeometryTwips(150, 150, 600, 450); // 10,10 40x30 px
        button = new Image(this);
        button->setGeometryTwips(150, 150, 600, 450);
        button->setAccessibleName(QStringLiteral("Go"));
        button->setAccessibleRole(QAccessible::Button);
        lit->setAccessibleName(QStringLiteral("Go"));
        lit->setAccessibleRole(QAccessible::Button);
        lit->setAccessibleCover(button);
        caption = new Label(this);
        caption->setGeometryTwips(150, 900, 1500, 300);
        caption->setCaption(QStringLiteral("Ready"));
        box = new PictureBox(this);
        box->setGeometryTwips(1500, 150, 900, 900);
        decoration = new Shape(box);
        decoration->setGeometryTwips(0, 0, 300, 300);
        decoration->setAccessibleIgnored(true);
    }
};

// Every accessibility event told since the test began: the object and the kind.
QList<QPair<QObject *, QAccessible::Event>> &recordedEvents()
{
    static QList<QPair<QObject *, QAccessible::Event>> events;
    return events;
}

void recordEvent(QAccessibleEvent *event)
{
    recordedEvents().append({event->object(), event->type()});
}

qsizetype eventsFor(QObject *object, QAccessible::Event type)
{
    return recordedEvents().count({object, type});
}

void runQueuedPresses()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installAccessibility();
        FormRegistry::setLastWindowHandler([] {});
        setAccessibilityEventRecorder(&recordEvent);
    }

    void init()
    {
        m_form = std::make_unique<ProbeForm>();
        m_form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        recordedEvents().clear();
    }

    void cleanup() { m_form.reset(); }

    // Each kind reports its own role unless its window chose one; a label is named by its caption.
    void rolesAndNames()
    {
        QCOMPARE(iface(m_form.get())->role(), QAccessible::Window);
        QCOMPARE(iface(m_form->button)->role(), QAccessible::Button);
        QCOMPARE(nameOf(m_form->button), QStringLiteral("Go"));
        QCOMPARE(iface(m_form->caption)->role(), QAccessible::StaticText);
        QCOMPARE(nameOf(m_form->caption), QStringLiteral("Ready"));
        QCOMPARE(iface(m_form->box)->role(), QAccessible::Pane);
        auto *plain = new Image(m_form.get());
        QCOMPARE(iface(plain)->role(), QAccessible::Graphic);
        QVERIFY(iface(plain)->actionInterface()->actionNames().isEmpty());
    }

    // Press clicks a button the user could click, and nothing the user could not. The click waits
    // for the event loop, and is dropped when its window is gone by then.
    void pressClicksOnlyWhatTheUserCouldClick()
    {
        QSignalSpy clicks(m_form->button, &Control::Click);
        QAccessibleActionInterface *actions = iface(m_form->button)->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.size(), 0);
        runQueuedPresses();
        QCOMPARE(clicks.size(), 1);

        m_form->button->setEnabled(false);
        press(m_form->button);
        m_form->button->setEnabled(true);
        m_form->button->hide();
        press(m_form->button);
        QCOMPARE(clicks.size(), 1);

        // Graphics are not pressed.
        QSignalSpy boxClicks(m_form->box, &Control::Click);
        press(m_form->box);
        QCOMPARE(boxClicks.size(), 0);

        m_form->button->show();
        actions->doAction(QAccessibleActionInterface::pressAction());
        m_form.reset();
        runQueuedPresses();
        QCOMPARE(clicks.size(), 1);
    }

    // The lit picture under its plain one must not be a second button, nor tell its name; once the
    // plain one hides (the pointer lies on it) the lit one takes its place.
    void coveredControlStandsInOnlyWhileUncovered()
    {
        QCOMPARE(shownChildNames(m_form.get()).count(QStringLiteral("Go")), 1);
        QAccessibleInterface *lit = iface(m_form->lit);
        QVERIFY(lit->state().invisible);
        QVERIFY(lit->text(QAccessible::Name).isEmpty());
        QVERIFY(lit->rect().isEmpty());
        QCOMPARE(iface(m_form.get())->indexOfChild(lit), -1);
        QSignalSpy litClicks(m_form->lit, &Control::Click);
        press(m_form->lit);
        QCOMPARE(litClicks.size(), 0);

        const QPoint middle = m_form->mapToGlobal(QPoint(30, 25));
        QCOMPARE(iface(m_form.get())->childAt(middle.x(), middle.y())->object(), m_form->button);

        m_form->button->hide();
        QCOMPARE(eventsFor(m_form->lit, QAccessible::ObjectShow), 1);
        QVERIFY(!lit->state().invisible);
        QCOMPARE(lit->text(QAccessible::Name), QStringLiteral("Go"));
        QVERIFY(iface(m_form.get())->indexOfChild(lit) >= 0);
        QCOMPARE(shownChildNames(m_form.get()).count(QStringLiteral("Go")), 1);
        QCOMPARE(iface(m_form.get())->childAt(middle.x(), middle.y())->object(), m_form->lit);

        m_form->button->show();
        QCOMPARE(eventsFor(m_form->lit, QAccessible::ObjectHide), 1);
        QVERIFY(lit->state().invisible);
    }

    // An ignored control is not among its container's children at all.
    void ignoredControlIsLeftOut()
    {
        QAccessibleInterface *box = iface(m_form->box);
        QCOMPARE(box->childCount(), 0);
        QCOMPARE(box->indexOfChild(iface(m_form->decoration)), -1);
        QVERIFY(iface(m_form->decoration)->state().invisible);

        m_form->decoration->setAccessibleIgnored(false);
        QCOMPARE(box->childCount(), 1);
        QCOMPARE(box->child(0)->object(), m_form->decoration);
        QCOMPARE(box->indexOfChild(iface(m_form->decoration)), 0);
    }

private:
    std::unique_ptr<ProbeForm> m_form;
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
