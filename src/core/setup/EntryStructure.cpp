// Structure pictures: staff steps and fret positions of an entry's notes.
#include "setup/EntryStructure.h"

#include "theory/Guitar.h"
#include "theory/Tables.h"

namespace kalvintor::setup {

namespace {

constexpr int kBottomLineStep = 5 * 7 + 2;  // E4 (pitch 64) counted from pitch 0

int diatonic(int naturalPitch) {
    constexpr int kSteps[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    const int octave = naturalPitch / 12;
    return octave * 7 + kSteps[naturalPitch % 12];
}

}  // namespace

std::vector<StaffHead> StaffHeads(const theory::CatalogueEntry& entry, bool inSequence) {
    std::vector<StaffHead> heads;
    for (int i = 0; i < entry.noteCount(); ++i) {
        const theory::CatalogueNote& n = entry.notes[static_cast<std::size_t>(i)];
        const int natural = n.pitch + n.spellOffset;
        if (natural < 0 || natural > 127) continue;
        StaffHead h;
        h.step = diatonic(natural) - kBottomLineStep;
        h.alteration = -n.spellOffset;
        h.column = inSequence ? static_cast<int>(heads.size()) : 0;
        // In a chord a second above an undisplaced head goes right of the stem.
        if (!inSequence && !heads.empty() && !heads.back().displaced && h.step - heads.back().step == 1)
            h.displaced = true;
        heads.push_back(h);
    }
    return heads;
}

std::vector<FretDot> FretDots(const theory::CatalogueEntry& entry) {
    std::vector<FretDot> dots;
    for (int i = 0; i < entry.noteCount(); ++i) {
        theory::CatalogueNote n = entry.notes[static_cast<std::size_t>(i)];
        theory::AssignGuitarString(n, 0);
        const int string = n.guitarString & 0x0F;
        if (string < 1 || string > 6) continue;
        const int fret = n.pitch - theory::GuitarOpenStrings[static_cast<std::size_t>(string)];
        if (fret < 0) continue;
        dots.push_back({string, fret});
    }
    return dots;
}

}  // namespace kalvintor::setup
