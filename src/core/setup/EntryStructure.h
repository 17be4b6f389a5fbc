// Where the notes of a catalogue entry stand in the small structure pictures of the setup grid:
// heads on a treble staff, or dots on the guitar's strings and frets.
#pragma once

#include "theory/ChordCatalogue.h"

#include <vector>

namespace kalvintor::setup {

struct StaffHead {
    int step = 0;            // diatonic steps above E4, the bottom line of the treble staff
    int alteration = 0;      // the sign the note is written with: -2..+2, 0 none (key of C)
    bool displaced = false;  // right of the stem: a second above the head below it in a chord
    int column = 0;          // 0 for every note of a chord; scales stand one column per note
};

// The entry's notes as written (pitch and SpellOffset), stacked as one chord or in sequence.
std::vector<StaffHead> StaffHeads(const theory::CatalogueEntry& entry, bool inSequence);

struct FretDot {
    int string = 0;  // 1 (high E) .. 6
    int fret = 0;    // 0 = open
};

// The entry's notes on the guitar: on their stored string, else on the highest string that
// reaches them; notes below every open string are left out.
std::vector<FretDot> FretDots(const theory::CatalogueEntry& entry);

}  // namespace kalvintor::setup
