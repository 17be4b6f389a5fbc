// What screen readers and GUI test tools see of the program's own controls: the control-button
// strip as five buttons, tool buttons whose press does what a click does, and the score gauge.
#pragma once

namespace kalvintor::ui {

// Makes the program's accessibility interfaces known to Qt; safe to call more than once. The
// control buttons, the tool buttons and the gauge call it when they are made.
void installAccessibility();

}  // namespace kalvintor::ui
