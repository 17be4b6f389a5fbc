// Guitar strings for written notes: the string a note is shown on, and the bass string of a chord root.
#pragma once

#include "theory/ChordCatalogue.h"

namespace kalvintor::theory {

// Keeps a string chosen by the user (1..6) or assigned before (17..22); otherwise the highest
// string whose open pitch is at or below pitch - lift, stored as 16 + n (16 when none fits).
void AssignGuitarString(CatalogueNote& note, int lift);

// The bass string of a chord root: 5 or 6 (stored as 16 + n), from the pitch folded into the
// octave above the lowest string.
void AssignBassString(CatalogueNote& note);

// The string rule alone: 1..6, or 0 when the pitch lies below every open string.
int HighestStringFor(int writtenPitch);

}  // namespace kalvintor::theory
