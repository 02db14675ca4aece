#pragma once

#include <functional>

class QAccessibleEvent;
class QKeySequence;
class QWidget;

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
// - a control its window ignores is left out of the tree, and so is a covered one while its cover
//   shows (Control::setAccessibleCover), asked directly it is invisible, nameless and without a
//   place; uncovering and covering it are told as shown and hidden;
// - a window lists its children topmost first when asked what lies under a point.
//
// Registers these descriptions with Qt once; later calls do nothing. Every control's constructor
// calls it; main calls it before the first window is made, so no window is described by Qt's
// generic means before the factory is in place.
void installAccessibility();

// Marks a window that is one click area as a whole (the splash): assistive technology may press it,
// which clicks its body as the mouse would, again once the event loop is back.
void setWindowPressable(Form *form, bool pressable);

// The key that does what pressing a control or a pressable window does. Assistive technology is told
// it as the key binding of the press action (and as the accelerator text); the key itself is the
// window's to handle.
void setAccessibleKey(QWidget *widget, const QKeySequence &key);

// Marks a top-level QWidget of ours as a frame to assistive technology (Qt calls a plain QWidget
// window a client area, which screen readers list as a filler rather than a window).
void setAccessibleFrame(QWidget *window);

// Passes an event the controls raise (a caption announced, a control uncovered) on to Qt, which hands
// it to a listening screen reader, or to the recorder a test put in place: Qt passes events on only
// while a screen reader listens, which the offscreen platform the tests run on cannot arrange. An
// empty recorder restores Qt.
void notifyAccessibility(QAccessibleEvent *event);
void setAccessibilityEventRecorder(std::function<void(QAccessibleEvent *)> recorder);

} // namespace platform
