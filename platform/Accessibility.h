#pragma once

#include <functional>

class QAccessibleEvent;

namespace platform {

class Form;

// What a screen reader learns of the program's own controls and windows. Qt knows its standard
// widgets; the windowless-style controls (Control: image, label, picture box, shape) and the windows
// (Form) are described here:
// - a control reports the role its window gave it (Control::setAccessibleRole) or that of its kind,
//   and the name its window gave it (QWidget::setAccessibleName); a label without one is named by its
//   caption, and a new caption is announced as a name change;
// - a Button offers the Press action, which clicks it as the mouse would once the event loop is back
//   (the screen reader has its answer before a click's message box opens);
// - a control its window ignores is left out of the tree, and a covered one is reported invisible,
//   nameless and without a place while its cover shows (Control::setAccessibleCover);
// - a window lists its children topmost first when asked what lies under a point.
//
// Registers these descriptions with Qt once; later calls do nothing. Every control's constructor
// calls it; main calls it before the first window is made, so no window is described by Qt's
// generic means before the factory is in place.
void installAccessibility();

// Marks a window that is one click area as a whole (the splash): assistive technology may press it,
// which clicks its body as the mouse would, again once the event loop is back.
void setWindowPressable(Form *form, bool pressable);

// Passes an event the controls raise (a caption announced, a control uncovered) on to Qt, which hands
// it to a listening screen reader, or to the recorder a test put in place: Qt passes events on only
// while a screen reader listens, which the offscreen platform the tests run on cannot arrange. An
// empty recorder restores Qt.
void notifyAccessibility(QAccessibleEvent *event);
void setAccessibilityEventRecorder(std::function<void(QAccessibleEvent *)> recorder);

} // namespace platform
