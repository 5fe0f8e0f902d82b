#pragma once

#include <QAccessible>

namespace procesor {

class TForm1;

// The window as a screen reader sees it (through Qt's accessibility, AT-SPI on Linux).
// The diagram is one picture, so its controls are children of the window's
// accessible object without widgets of their own: the speed field, the four data
// switches, the instruction box, the two arrows and the seven panels, in the order
// Tab visits them, each with the name the screen gives it (as the page's labels),
// its role, its state (pressed, unavailable, selected, set, focused) and the action
// "Press", which works the control as a click does. A last child, a notification,
// carries the sentence on what the last clock pulse changed: it is shown anew after
// every pulse, which a screen reader reads out as it reads a desktop notification.

// Makes the window's accessible object the one above (once, for every TForm1).
void installAccessibility();

// After every update of the window: tells the screen reader what moved and changed —
// the focus on a drawn control, each control whose name or state changed, and the
// pulse's sentence when there is a new one.
void accessibleUpdate(TForm1& form, bool newSentence);

} // namespace procesor
