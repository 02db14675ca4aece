#include "WindowDrag.h"

#include "WindowRegion.h"

#include "platform/Twips.h"
#include "platform/WindowSystem.h"

#include <QWidget>
#include <QWindow>

namespace shape {

bool startPlatformSystemMove(QWidget *window)
{
    // Where a program cannot place its own window, it asks the compositor to move it.
    if (!window || !platform::isWaylandPlatform())
        return false;
    QWindow *handle = window->windowHandle();
    return handle && handle->startSystemMove();
}

WindowDrag::WindowDrag() : m_startSystemMove(&startPlatformSystemMove) {}

void WindowDrag::press(const platform::MouseArgs &args)
{
    PressX = static_cast<int>(roundHalfEven(args.X));
    PressY = static_cast<int>(roundHalfEven(args.Y));
    m_systemMoveAsked = false;
    m_systemMoving = false;
}

void WindowDrag::move(QWidget *window, const platform::MouseArgs &args)
{
    if (!window || args.Button != 1)
        return;
    if (!m_systemMoveAsked) {
        m_systemMoveAsked = true;
        m_systemMoving = m_startSystemMove && m_startSystemMove(window);
    }
    // A compositor that refused to move the window would ignore a move by hand as well.
    if (m_systemMoving || !platform::programPlacesWindows())
        return;
    // The window's place in twips is its pixel position times the screen's twips per pixel.
    const double left = platform::pixelsToTwips(window->x());
    const double top = platform::pixelsToTwips(window->y());
    const double newLeft = left - (PressX - static_cast<double>(args.X));
    const double newTop = top - (PressY - static_cast<double>(args.Y));
    window->move(platform::twipsToPixels(newLeft), platform::twipsToPixels(newTop));
}

} // namespace shape
