// What screen readers and GUI test tools see of the screen piano and the guitar fretboard: every
// key and every place on the board (string and fret) as a button of its own, with its name, its
// state (in the answer, held, focused) and a press that plays it as a click does.
#pragma once

namespace kalvintor::ui {

// Makes the instruments' accessibility interfaces known to Qt; safe to call more than once. The
// piano and the guitar call it when they are made.
void installInstrumentAccessibility();

}  // namespace kalvintor::ui
