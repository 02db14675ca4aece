#pragma once

#include "platform/Control.h"

#include <functional>

class QWidget;

namespace shape {

// Asks the window system to move the window itself, following the pointer until the button is
// released. Returns true when the window system took the move over.
using SystemMoveStarter = std::function<bool(QWidget *window)>;

// On Wayland, starts a system move of the window; elsewhere returns false (the program moves the
// window itself there).
bool startPlatformSystemMove(QWidget *window);

// Drag of a borderless window by its body. press() records the press point for every button;
// move() follows the pointer only while the left button alone is held, keeping the press point under
// the pointer: Left = Left - (PressX - X), Top = Top - (PressY - Y), all in twips. Where the window
// system can move the window itself (Wayland) the drag asks it to, once per press, and moves the
// window by hand only when that request is refused and the program may place its windows.
class WindowDrag
{
public:
    WindowDrag();

    // Press point in twips relative to the window's top left corner; kept until the next press.
    int PressX = 0;
    int PressY = 0;

    void press(const platform::MouseArgs &args);
    void move(QWidget *window, const platform::MouseArgs &args);

    // Replaces the way a system move is started (tests record requests; an empty starter always
    // moves the window by hand).
    void setSystemMoveStarter(SystemMoveStarter starter) { m_startSystemMove = std::move(starter); }

private:
    SystemMoveStarter m_startSystemMove;
    bool m_systemMoveAsked = false;
    bool m_systemMoving = false;
};

} // namespace shape
