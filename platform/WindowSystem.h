#pragma once

#include <QString>

class QWidget;

namespace platform {

// What the window system the program runs on lets it do with its own top-level windows, decided
// from Qt's platform plugin name so that no window tests the name itself. On Wayland no program may
// place its top-level windows (the compositor does), and a window mask only sets where clicks land.

// True for the Wayland platform plugins ("wayland", "wayland-egl", ...).
bool isWaylandPlatform(const QString &platformName);
// The same for the platform the program runs on.
bool isWaylandPlatform();

// Whether the program may place its own top-level windows; on Wayland the compositor does, and a
// move of a top-level window is ignored.
bool programPlacesWindows();

// Gives the compositor what it needs to place a window opened from another one over it: where the
// program cannot place its windows, window becomes transient for owner (compositors put a transient
// window over its owner and keep it above). Where the program places its windows itself nothing
// changes. Call before the window is first shown.
void setPlacementOwner(QWidget *window, QWidget *owner);

} // namespace platform
