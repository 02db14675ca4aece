#pragma once

class QWidget;

// Makes `window` carry no icon of its own, nor the program's: it names an icon that is fully
// transparent. A window without an icon takes the program's, and window managers that keep a place
// for an icon in the title bar fill a window without one with a generic picture.
void showNoIcon(QWidget &window);
