#pragma once

#include <QRect>
#include <QRegion>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace platform {
class PictureBox;
}

// Outlines of the borderless windows: every pixel of a window's background picture that has the key
// colour is cut out of the window, so the desktop shows through there.
namespace shape {

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), whatever
// the floating-point rounding mode is.
long roundHalfEven(double value);

// Calls run for each stretch of non-key pixels of the source, row by row from the top, left to right:
// one rectangle one pixel high per stretch, right and bottom edges excluded. Rows and columns are the
// source's height and width in twips divided by the screen's twips per pixel, rounded half to even.
// Pixels are read one at a time through PictureBox::pixel; colours must equal the key exactly.
void forEachRun(const platform::PictureBox &source, std::int32_t keyColor,
                const std::function<void(const QRect &run)> &run);

// The region of every non-key pixel of the source, in the source's pixel coordinates (window
// coordinates when the picture sits at the window's top left corner). A key colour below 1 means
// "none given": the colour of pixel (0, 0) is used and written back to keyColor, so pure black can
// only be the key by being the top left pixel. Each run is merged into the result as it is found.
QRegion BuildWindowRegion(const platform::PictureBox &source, std::int32_t &keyColor);

// How an outline reaches the screen.
enum class OutlineMethod
{
    // The window system cuts the window to the region (the X shape): the desktop shows through
    // the cut without any compositing manager.
    WindowShape,
    // The window is translucent and its cut pixels are painted fully transparent after the window
    // paints its face (its controls lie inside its outline); the region still decides where clicks
    // land. For window systems where a mask sets only the input region (Wayland). Takes effect
    // when applied before the window is first shown.
    TransparentCut,
};

// The method the platform named needs: TransparentCut on Wayland, WindowShape elsewhere.
OutlineMethod outlineMethodFor(const QString &platformName);

// Gives the window the outline of the region (in window pixels) by the given method. An empty
// region leaves the window unshaped rather than invisible: a window nobody can see or close would
// keep the program running with no way out.
void applyOutline(QWidget *window, const QRegion &region, OutlineMethod method);

// Gives the window the outline of the region by the method of the platform the program runs on,
// and repaints it when redraw is set.
void SetWindowRgn(QWidget *window, const QRegion &region, bool redraw);

} // namespace shape
