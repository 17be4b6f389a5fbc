// Guitar string assignment.
#include "theory/Guitar.h"

#include "theory/Tables.h"

namespace kalvintor::theory {

int HighestStringFor(int writtenPitch) {
    for (int i = 1; i <= kGuitarStrings; ++i)
        if (writtenPitch >= GuitarOpenStrings[static_cast<std::size_t>(i)]) return i;
    return 0;
}

void AssignGuitarString(CatalogueNote& note, int lift) {
    const int current = note.guitarString;
    if ((current >= 1 && current <= kGuitarStrings) ||
        (current > kAutoStringBase && current <= kAutoStringBase + kGuitarStrings))
        return;
    note.guitarString = static_cast<std::uint8_t>(kAutoStringBase + HighestStringFor(note.pitch - lift));
}

void AssignBassString(CatalogueNote& note) {
    const int lowestString = GuitarOpenStrings[kGuitarStrings];
    const int folded = floorMod(note.pitch - lowestString, 12) + lowestString;
    int string = HighestStringFor(folded);
    if (string >= 1 && string <= 4) string = 5;
    note.guitarString = static_cast<std::uint8_t>(kAutoStringBase + string);
}

}  // namespace kalvintor::theory
