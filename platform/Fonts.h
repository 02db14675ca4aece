#pragma once

namespace platform {

// Maps the fonts the windows were designed with onto what a Debian desktop has: Arial and Courier New
// resolve to their Liberation equivalents, and the small dialog font "MS Sans Serif" to Liberation
// Sans, so the dialogs look the same whatever else is installed.
void installFontSubstitutions();

} // namespace platform
