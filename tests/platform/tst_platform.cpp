// The window-system layer: window lifetime, picture identity, mouse routing, key dropping, control
// arrays, timers and the recorded message boxes.
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Timer.h"
#include "platform/Twips.h"
#include "tests/support/Activation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

namespace {

// A window whose load step can be told to unload it, and which records what reaches its body.
class ProbeForm : public Form
{
public:
    bool unloadInLoad = false;
    int loads = 0;
    int activations = 0;
    int bodyMoves = 0;
    int bodyClicks = 0;
    QString designText = QStringLiteral("design");
    Label *label = nullptr;
    TextBox *box = nullptr;

    ProbeForm()
    {
        resize(200, 150);
        label = new Label(this);
        label->setGeometryTwips(150, 150, 900, 300); // 10,10 60x20 px
        label->setCaption(QStringLiteral("label"));
        box = new TextBox(this);
        box->setGeometryTwips(150, 1200, 1500, 300); // 10,80 100x20 px
    }

protected:
    void Form_Load() override
    {
        ++loads;
        if (unloadInLoad)
            Unload();
    }
    void Form_Activate() override { ++activations; }
    void Form_MouseMove(const MouseArgs &) override { ++bodyMoves; }
    void Form_Click() override { ++bodyClicks; }
};

} // namespace

class tst_Platform : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_lastWindowCalls = 0;
        FormRegistry::setLastWindowHandler([this] { ++m_lastWindowCalls; });
    }
    void cleanup()
    {
        FormRegistry::setLastWindowHandler({});
        setMessageBoxHandler({});
    }

    // A window that unloads itself while loading must never flash on screen.
    void windowUnloadedInLoadIsNeverShown()
    {
        QPointer<ProbeForm> form = new ProbeForm;
        form->unloadInLoad = true;
        form->Show();
        QVERIFY(form->isUnloaded());
        QVERIFY(!form->isVisible());
        QCOMPARE(form->loads, 1);
        QTRY_VERIFY(form.isNull()); // discarded with its controls
    }

    // The program ends when its last window goes, not before: the trainer closing while a login
    // window is open must leave the program running.
    void onlyTheLastUnloadEndsTheProgram()
    {
        auto *first = new ProbeForm;
        auto *second = new ProbeForm;
        second->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint); // not counted by Qt's own rule
        first->Show();
        second->Show();
        QCOMPARE(FormRegistry::loadedCount(), 2);
        first->Unload();
        QCOMPARE(m_lastWindowCalls, 0);
        second->Unload();
        QCOMPARE(m_lastWindowCalls, 1);
        QCOMPARE(FormRegistry::loadedCount(), 0);
    }

    // The load step runs once, before the first show, however often the window is shown.
    void loadRunsOnceBeforeFirstShow()
    {
        auto *form = new ProbeForm;
        QCOMPARE(form->loads, 0);
        form->Show();
        form->Show();
        QCOMPARE(form->loads, 1);
        QVERIFY(form->isVisible());
        form->Unload();
    }

    // Form_Activate runs when a shown window is activated and when the activation comes from another
    // Form (one unloading while active too), never when it only comes back from another
    // application, a message box or any other window of the program.
    void activationHandlerRunsAfterShowOrAnotherForm()
    {
        ProbeForm trainer, login;
        QMessageBox box;
        trainer.Show();
        QVERIFY(QTest::qWaitForWindowActive(&trainer));
        giveActivationBack(&trainer);
        giveActivationBack(&trainer, &box);
        QCOMPARE(trainer.activations, 1);
        giveActivationBack(&trainer, &login);
        QCOMPARE(trainer.activations, 2);
        login.Show();
        QVERIFY(QTest::qWaitForWindowActive(&login));
        login.Unload();
        QApplication::setActiveWindow(&trainer);
        QCOMPARE(trainer.activations, 3);
    }

    // Unloading discards the window: a later opening is a new window in its design state, and a
    // window already unloaded cannot be shown again by a stale pointer.
    void reopeningAfterUnloadStartsFromTheDesign()
    {
        QPointer<ProbeForm> form = new ProbeForm;
        form->Show();
        form->designText = QStringLiteral("changed by the user");
        form->Unload();
        form->Show();
        QVERIFY(!form->isVisible());
        QTRY_VERIFY(form.isNull());
        auto *again = new ProbeForm;
        again->Show();
        QCOMPARE(again->designText, QStringLiteral("design"));
        again->Unload();
    }

    // A timer armed when its window unloads must never fire into the discarded window.
    void unloadDisarmsTimers()
    {
        auto *form = new ProbeForm;
        auto *timer = new Timer(10, form);
        int fired = 0;
        QObject::connect(timer, &Timer::Elapsed, form, [&fired] { ++fired; });
        form->Show();
        timer->setEnabled(true);
        form->Unload();
        QVERIFY(!timer->isEnabled());
        QTest::qWait(50);
        QCOMPARE(fired, 0);
    }

    void timerFiresWhileEnabled()
    {
        Timer timer(5, nullptr);
        int fired = 0;
        QObject::connect(&timer, &Timer::Elapsed, &timer, [&] {
            ++fired;
            timer.setEnabled(false); // one-shot by the handler's own hand
        });
        timer.setEnabled(true);
        QTRY_COMPARE(fired, 1);
        QTest::qWait(30);
        QCOMPARE(fired, 1);
    }

    // The find-hidden game decides a hit by picture identity: a picture handed on through a second
    // control is still the same picture; another picture with the very same pixels is not.
    void pictureIdentitySurvivesAssignmentAndBreaksOnAnotherPicture()
    {
        QImage pixels(8, 8, QImage::Format_RGB32);
        pixels.fill(Qt::red);
        const Picture original(pixels);
        const Picture lookalike(pixels);
        QWidget parent;
        Image a(&parent), b(&parent), c(&parent);
        a.setPicture(original);
        b.setPicture(a.picture());
        c.setPicture(b.picture());
        QVERIFY(c.picture() == original);
        QCOMPARE(c.picture().handle(), original.handle());
        QVERIFY(!(lookalike == original));
        QVERIFY(lookalike.handle() != original.handle());
        QVERIFY(Picture().handle() == 0);
        QCOMPARE(a.size(), QSize(8, 8)); // an image takes its picture's size
    }

    // Moves and clicks go to the topmost control under the pointer, transparent labels included;
    // the window's body sees them only where no control lies.
    void transparentLabelTakesItsOwnMouseEvents()
    {
        ProbeForm form;
        form.setMouseTracking(true);
        form.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy labelMoves(form.label, &Control::MouseMove);
        QSignalSpy labelClicks(form.label, &Control::Click);

        QTest::mouseMove(form.label, QPoint(5, 5));
        QTRY_COMPARE(labelMoves.count(), 1);
        QCOMPARE(form.bodyMoves, 0);

        QTest::mouseMove(&form, QPoint(150, 40));
        QTRY_COMPARE(form.bodyMoves, 1);

        QTest::mouseClick(form.label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(labelClicks.count(), 1);
        QCOMPARE(form.bodyClicks, 0);
        QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(150, 40));
        QCOMPARE(form.bodyClicks, 1);
        form.Unload();
    }

    // Mouse positions reach handlers in twips of the receiving control, buttons as 1/2/4 bits.
    void mouseArgsAreTwipsAndButtonBits()
    {
        QWidget parent;
        Label label(&parent);
        label.setGeometryTwips(0, 0, 1500, 1500);
        QSignalSpy downs(&label, &Control::MouseDown);
        QTest::mousePress(&label, Qt::RightButton, {}, QPoint(4, 6));
        QCOMPARE(downs.count(), 1);
        const auto args = downs.at(0).at(0).value<MouseArgs>();
        QCOMPARE(args.Button, 2);
        QCOMPARE(args.X, 60.0f);
        QCOMPARE(args.Y, 90.0f);
        QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(4, 6));
    }

    // A key press whose code a handler sets to 0 never reaches the box; other keys still type, and
    // keys without a character are never offered. A box holds text of any length.
    void droppedKeyNeverReachesTheBox()
    {
        ProbeForm form;
        form.Show();
        QList<int> offered;
        QObject::connect(form.box, &TextBox::KeyPress, &form, [&offered](int &keyAscii) {
            offered.append(keyAscii);
            if (keyAscii == 'x' || keyAscii == 13)
                keyAscii = 0;
            else if (keyAscii == 'a')
                keyAscii = 'b';
        });
        form.box->setFocus();
        QTest::keyClicks(form.box, QStringLiteral("xyxa"));
        QTest::keyClick(form.box, Qt::Key_Return);
        QTest::keyClick(form.box, Qt::Key_Left);
        QCOMPARE(form.box->text(), QStringLiteral("yb"));
        QCOMPARE(offered, (QList<int>{'x', 'y', 'x', 'a', 13}));
        QCOMPARE(form.box->cursorPosition(), 1);
        const QString longPaste(40000, u'p'); // no length limit
        form.box->setText(longPaste);
        QCOMPARE(form.box->text(), longPaste);
        form.Unload();
    }

    void recordedMessageBoxesCarryTextIconAndTitle()
    {
        QList<MessageBoxRequest> shown;
        setMessageBoxHandler([&shown](const MessageBoxRequest &request) { shown.append(request); });
        MsgBox(QStringLiteral("Careful"), MsgIcon::Exclamation, QStringLiteral("Orvanta Trainer"));
        MsgBox(QStringLiteral("Plain"));
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, QStringLiteral("Careful"));
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(shown[0].title, QStringLiteral("Orvanta Trainer"));
        QCOMPARE(shown[1].icon, MsgIcon::None);
        QCOMPARE(shown[1].title, QStringLiteral("qxOrvantaTrainer")); // no title: the application's
    }

    // Guards placement where the window system has not named an active window yet (Wayland): a box
    // without an owner is transient for nothing and lands anywhere, so it belongs to the window on
    // show that opened last.
    void messageBoxBelongsToTheLatestWindowOnShow()
    {
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(messageBoxOwner(), nullptr);
        Form first;
        Form second;
        first.Show();
        second.Show();
        QApplication::setActiveWindow(&first);
        QCOMPARE(messageBoxOwner(), &first); // the active window first, whatever the record says
        QApplication::setActiveWindow(nullptr);
        QCOMPARE(messageBoxOwner(), &second);
        second.Unload();
        QCOMPARE(messageBoxOwner(), &first);
        first.Unload();
    }

    void controlArrayEventsCarryTheIndex()
    {
        QWidget parent;
        ControlArray<Label> labels;
        for (std::int16_t i = 0; i <= 6; ++i) {
            auto *label = new Label(&parent);
            label->setGeometryTwips(0, i * 300.0f, 600, 300);
            labels.add(i, label);
        }
        QList<std::int16_t> clicked;
        labels.on(&Control::Click, &parent, [&clicked](std::int16_t index) { clicked.append(index); });
        QTest::mouseClick(labels(6), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseClick(labels(0), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicked, (QList<std::int16_t>{6, 0}));
        QVERIFY(labels(7) == nullptr);
    }

    // Positions are kept in twips and placed at the nearest pixel, so a one-twip step moves the
    // widget one pixel every 15 steps and odd positions (1852 twips) round sensibly.
    void twipsPlacementRoundsToTheNearestPixel()
    {
        QWidget parent;
        PictureBox box(&parent);
        box.setGeometryTwips(1852, 2775, 8820, 4590);
        QCOMPARE(box.geometry(), QRect(123, 185, 588, 306));
        box.setTop(-1575);
        QCOMPARE(box.y(), -105);
        box.setTop(-1575 + 7);
        QCOMPARE(box.y(), -105);
        box.setTop(-1575 + 8);
        QCOMPARE(box.y(), -104);
        QCOMPARE(box.top(), -1567.0f);
        QCOMPARE(colorFromBgr(0x00330000), QColor(0, 0, 51));
        QCOMPARE(bgrFromColor(QColor(255, 0, 0)), 255);
    }

    // An auto-sizing picture box takes its picture's size and keeps its pixels readable while hidden;
    // outside the picture it reads its back colour.
    void pictureBoxPixelsReadableWhileHidden()
    {
        QWidget parent;
        PictureBox box(&parent);
        box.setGeometryTwips(135, 270, 405, 300);
        box.setVisible(false);
        QImage pixels(4, 3, QImage::Format_RGB32);
        pixels.fill(QColor(0, 0, 17));
        pixels.setPixelColor(1, 1, QColor(10, 20, 30));
        box.setAutoSize(true);
        box.setPicture(Picture(pixels));
        QCOMPARE(box.QWidget::size(), QSize(4, 3));
        QCOMPARE(box.pixel(0, 0), 0x00110000);
        QCOMPARE(box.pixel(1, 1), 30 << 16 | 20 << 8 | 10);
        QCOMPARE(box.pixel(4, 0), -1);
    }

    // A frame's inside is its back colour, flat: a style that shades it shows the option buttons
    // in it, which fill their rectangles with the same colour, as boxes.
    void frameInsideIsItsBackColour()
    {
        Frame frame(QStringLiteral("Card Type"), nullptr);
        frame.resize(178, 99);
        QPalette palette = frame.palette();
        palette.setColor(QPalette::Window, QColor(204, 204, 204));
        frame.setPalette(palette);
        frame.setAutoFillBackground(true);
        const QImage image = frame.grab().toImage();
        for (int y = 30; y < 90; y += 3)
            for (int x = 8; x < 170; x += 3)
                QCOMPARE(image.pixelColor(x, y), QColor(204, 204, 204));
    }

private:
    int m_lastWindowCalls = 0;
};

QTEST_MAIN(tst_Platform)
#include "tst_platform.moc"
