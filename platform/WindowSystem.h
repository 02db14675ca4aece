#pragma once

#include <QString>

namespace platform {

// What the window system the program runs on lets it do with its own top-level windows, decided
// from Qt's platform plugin name so that no window tests the name itself. On Wayland no program may
// place its top-level windows (the compositor does), and a window mask only sets where clicks land.

// True for the Wayland platform plugins ("wayland", "wayland-egl", ...).
bool isWaylandPlatform(const QString &platformName);
// The same for the platform the program runs on.
bool isWaylandPlatform();

} // namespace platform
