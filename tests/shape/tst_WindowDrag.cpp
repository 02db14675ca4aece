#include "shape/WindowDrag.h"

#include "platform/Form.h"
#include "platform/WindowSystem.h"

#include <QMouseEvent>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWidget>

using platform::MouseArgs;

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kMiddle = 4;

MouseArgs mouse(int buttons, float x, float y)
{
    MouseArgs args;
    args.Button = buttons;
    args.X = x;
    args.Y = y;
    return args;
}

// One step of a drag: a press on the body or a move over it.
struct Step
{
    bool press;
    MouseArgs args;
};

// A borderless window dragged by its body, as the shaped windows are.
class DraggedForm : public platform::Form
{
public:
    shape::WindowDrag drag;

protected:
    void Form_MouseDown(const MouseArgs &args) override { drag.press(args); }
    void Form_MouseMove(const MouseArgs &args) override { drag.move(this, args); }
};

// Delivers a mouse event as the window system would: local position as the window system computed
// it, the pointer's true screen position, marked as coming from outside the program.
void sendWindowSystemMouse(QWidget *window, QEvent::Type type, QPointF local, QPointF global,
                           Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(&event);
    // notify() keeps the event marked as spontaneous; sendEvent() would clear the mark.
    QApplication::instance()->notify(window, &event);
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class WindowDragTest : public QObject
{
    Q_OBJECT

private slots:
    // Guards the drag rule: the window moves by the pointer's offset from the press point only while the
    // left button alone is held; any press, whatever its button, replaces the press point.
    void dragFollowsLeftButtonOnly_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QPoint>("finalPosition");
        QTest::addColumn<QPoint>("pressPoint");

        // The window starts at pixel (100, 200), that is twips (1500, 3000).
        QTest::newRow("left alone moves by the offset")
            << QList<Step>{{true, mouse(kLeft, 1500, 750)}, {false, mouse(kLeft, 1650, 600)}}
            << QPoint(110, 190) << QPoint(1500, 750);
        QTest::newRow("successive moves keep the press point under the pointer")
            << QList<Step>{{true, mouse(kLeft, 300, 300)},
                           {false, mouse(kLeft, 330, 315)},
                           {false, mouse(kLeft, 300 + 45, 300 - 15)}}
            << QPoint(105, 200) << QPoint(300, 300);
        QTest::newRow("right-button press replaces the press point but never moves")
            << QList<Step>{{true, mouse(kLeft, 1500, 750)},
                           {true, mouse(kRight, 300, 450)},
                           {false, mouse(kRight, 900, 900)}}
            << QPoint(100, 200) << QPoint(300, 450);
        QTest::newRow("the next left drag starts from its own press point")
            << QList<Step>{{true, mouse(kRight, 300, 450)},
                           {true, mouse(kLeft, 600, 600)},
                           {false, mouse(kLeft, 630, 600)}}
            << QPoint(102, 200) << QPoint(600, 600);
        QTest::newRow("left with right does not move")
            << QList<Step>{{true, mouse(kLeft, 1500, 750)}, {false, mouse(kLeft | kRight, 1800, 900)}}
            << QPoint(100, 200) << QPoint(1500, 750);
        QTest::newRow("left with middle does not move")
            << QList<Step>{{true, mouse(kLeft, 1500, 750)}, {false, mouse(kLeft | kMiddle, 1800, 900)}}
            << QPoint(100, 200) << QPoint(1500, 750);
        QTest::newRow("middle alone does not move")
            << QList<Step>{{true, mouse(kMiddle, 1500, 750)}, {false, mouse(kMiddle, 1800, 900)}}
            << QPoint(100, 200) << QPoint(1500, 750);
        QTest::newRow("moving with no button does not move")
            << QList<Step>{{true, mouse(kLeft, 1500, 750)}, {false, mouse(0, 1800, 900)}} << QPoint(100, 200)
            << QPoint(1500, 750);
        QTest::newRow("a move without any press drags from the window's corner")
            << QList<Step>{{false, mouse(kLeft, 150, 30)}} << QPoint(110, 202) << QPoint(0, 0);
    }
    void dragFollowsLeftButtonOnly()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QPoint, finalPosition);
        QFETCH(QPoint, pressPoint);

        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.move(100, 200);
        shape::WindowDrag drag;
        drag.setSystemMoveStarter({});
        for (const Step &step : steps) {
            if (step.press)
                drag.press(step.args);
            else
                drag.move(&window, step.args);
        }
        QCOMPARE(window.pos(), finalPosition);
        QCOMPARE(QPoint(drag.PressX, drag.PressY), pressPoint);
    }

    void pressPointRoundsHalfToEven_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<QPoint>("pressPoint");

        QTest::newRow("halves to even") << 22.5f << 23.5f << QPoint(22, 24);
        QTest::newRow("fractions to nearest") << 10.4f << 10.6f << QPoint(10, 11);
        QTest::newRow("negative half to even") << -0.5f << -1.5f << QPoint(0, -2);
    }
    void pressPointRoundsHalfToEven()
    {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(QPoint, pressPoint);

        shape::WindowDrag drag;
        drag.press(mouse(kRight, x, y));
        QCOMPARE(QPoint(drag.PressX, drag.PressY), pressPoint);
    }

    // Guards against a fast drag throwing the window past the pointer: moves made before the window
    // system has caught up with the last move carry positions relative to the old place; the body must
    // measure them from where the program put the window.
    void fastDragKeepsPressPointUnderPointer()
    {
        DraggedForm form;
        form.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        form.drag.setSystemMoveStarter({});
        form.resize(300, 200);
        form.show();
        form.move(100, 200);

        sendWindowSystemMouse(&form, QEvent::MouseButtonPress, {50, 50}, {150, 250}, Qt::LeftButton,
                              Qt::LeftButton);
        sendWindowSystemMouse(&form, QEvent::MouseMove, {60, 55}, {160, 255}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(110, 205));
        // The window system still has the window at (100, 200) when it makes the next two moves.
        sendWindowSystemMouse(&form, QEvent::MouseMove, {70, 60}, {170, 260}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(120, 210));
        sendWindowSystemMouse(&form, QEvent::MouseMove, {90, 80}, {190, 280}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form.pos(), QPoint(140, 230));
    }

    // Where the window system moves windows itself, the drag hands the move over once per press and
    // leaves the window's position alone.
    void systemMoveAskedOncePerPress()
    {
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.move(100, 200);
        shape::WindowDrag drag;
        QList<QWidget *> asked;
        drag.setSystemMoveStarter([&asked](QWidget *w) {
            asked.append(w);
            return true;
        });

        drag.press(mouse(kLeft, 150, 150));
        drag.move(&window, mouse(kRight, 300, 300));
        QCOMPARE(asked.size(), 0);
        drag.move(&window, mouse(kLeft, 300, 300));
        drag.move(&window, mouse(kLeft, 450, 300));
        QCOMPARE(asked, QList<QWidget *>{&window});
        QCOMPARE(window.pos(), QPoint(100, 200));

        drag.press(mouse(kLeft, 150, 150));
        drag.move(&window, mouse(kLeft, 300, 300));
        QCOMPARE(asked.size(), 2);
        QCOMPARE(window.pos(), QPoint(100, 200));
    }

    // A compositor without interactive moves refuses; the drag then moves the window by hand for the
    // rest of that press and does not keep asking.
    void refusedSystemMoveMovesTheWindow()
    {
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.move(100, 200);
        shape::WindowDrag drag;
        int asked = 0;
        drag.setSystemMoveStarter([&asked](QWidget *) {
            ++asked;
            return false;
        });

        drag.press(mouse(kLeft, 150, 150));
        drag.move(&window, mouse(kLeft, 300, 150));
        QCOMPARE(window.pos(), QPoint(110, 200));
        drag.move(&window, mouse(kLeft, 150, 300));
        QCOMPARE(window.pos(), QPoint(110, 210));
        QCOMPARE(asked, 1);
    }

    // The default drag asks for a system move only on Wayland; on any other platform (here the
    // offscreen one) it moves the window itself.
    void waylandPlatformsAskForSystemMove_data()
    {
        QTest::addColumn<QString>("platformName");
        QTest::addColumn<bool>("wayland");

        QTest::newRow("wayland") << QStringLiteral("wayland") << true;
        QTest::newRow("wayland-egl") << QStringLiteral("wayland-egl") << true;
        QTest::newRow("xcb") << QStringLiteral("xcb") << false;
        QTest::newRow("offscreen") << QStringLiteral("offscreen") << false;
    }
    void waylandPlatformsAskForSystemMove()
    {
        QFETCH(QString, platformName);
        QFETCH(bool, wayland);

        QCOMPARE(platform::isWaylandPlatform(platformName), wayland);

        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.move(100, 200);
        window.show();
        QCOMPARE(shape::startPlatformSystemMove(&window), false);
        shape::WindowDrag drag;
        drag.press(mouse(kLeft, 0, 0));
        drag.move(&window, mouse(kLeft, 15, 15));
        QCOMPARE(window.pos(), QPoint(101, 201));
    }
};

QTEST_MAIN(WindowDragTest)
#include "tst_WindowDrag.moc"
