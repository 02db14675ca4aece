#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace results {

// Where a window opens beside another without a display: pure arithmetic on rectangles in screen
// pixels, so every screen size can be tried in a test.
struct PlacementRequest
{
    QRect available;     // the screen's area free of panels and docks
    QRect owner;         // the window to open beside, frame included
    QRect protect;       // the part of the owner to keep clear above all (the cards)
    QSize wanted;        // the client size the window would like
    QSize minimum;       // the smallest client size that is still usable
    QMargins decoration; // the window manager's frame around the client area
};

// The client rectangle: wholly inside the available area, frame included. Beside the owner at the
// wanted size when there is room on its right, left, below or above (in that order), else beside it
// at the minimum size; where neither fits, the minimum size (shrunk to the screen if need be) at the
// place that covers least of the protected part, then least of the owner.
QRect placeBeside(const PlacementRequest &request);

} // namespace results
