// Spelling notes by their letter distance from a reference note.
#include "theory/LetterSpelling.h"

#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <array>
#include <cstdlib>
#include <tuple>

namespace kalvintor::theory {
namespace {

inline constexpr int kLetters = 7;
inline constexpr int kMiddleCLetter = 5 * kLetters;  // 35

// Bit of a letter (0 = C .. 6 = B) in KeySigAlterations.
bool signatureCarries(int keySig, int letter) {
    return (KeySigAlterations(keySig) & (1u << static_cast<unsigned>(letter))) != 0;
}

struct Cost {
    int beyond = 0;   // notes that no accidental can write
    int doubles = 0;  // double flats and double sharps
    int weight = 0;   // accidentals in all
};

Cost costOf(std::span<const LetterNote> notes, int referencePitch, int referenceSpelling) {
    Cost cost;
    for (const auto& note : notes) {
        const int offset =
            std::abs(SpellAtLetters(note.pitch, referencePitch, referenceSpelling, note.letters));
        if (offset > kDoubleFlat)
            ++cost.beyond;
        else if (offset == kDoubleFlat)
            ++cost.doubles;
        cost.weight += offset;
    }
    return cost;
}

}  // namespace

int LetterIndex(int pitch, int spellOffset) {
    const int natural = pitch + spellOffset;
    return kLetters * floorDiv(natural, kOctave) +
           SharpSteps[static_cast<std::size_t>(floorMod(natural, kOctave))].step;
}

int LettersAboveC(int storedPitch, int storedSpelling) {
    return LetterIndex(storedPitch, storedSpelling) - kMiddleCLetter;
}

int SpellAtLetters(int pitch, int referencePitch, int referenceSpelling, int letters) {
    const int letter = LetterIndex(referencePitch, referenceSpelling) + letters;
    const int natural = kOctave * floorDiv(letter, kLetters) + StepSemitones(floorMod(letter, kLetters));
    // The nearest octave of the letter: voicings move notes by octaves after they are spelled.
    return floorMod(natural - pitch + 6, kOctave) - 6;
}

int ChooseReferenceSpelling(std::span<const LetterNote> notes, int referencePitch, int preferred, int keySig,
                            bool avoidDoubles) {
    const Cost kept = costOf(notes, referencePitch, preferred);
    auto better = [avoidDoubles](const Cost& a, const Cost& b) {
        if (a.beyond != b.beyond) return a.beyond < b.beyond;
        return avoidDoubles && a.doubles < b.doubles;
    };
    auto rank = [](const Cost& c) { return std::tie(c.beyond, c.doubles, c.weight); };
    // Natural first, then the accidental of the key signature's side, then the other one.
    const int side = keySig > 0 ? kSharp : kFlat;
    const std::array<int, 3> writings{kNatural, side, -side};
    int chosen = preferred;
    Cost best = kept;
    for (int writing : writings) {
        const bool writesLetter =
            !SharpSteps[static_cast<std::size_t>(floorMod(referencePitch + writing, kOctave))].altered;
        if (writing == preferred || !writesLetter) continue;
        const Cost cost = costOf(notes, referencePitch, writing);
        if (!better(cost, kept)) continue;
        if (chosen == preferred || rank(cost) < rank(best)) {
            chosen = writing;
            best = cost;
        }
    }
    return chosen;
}

int PlainerSpelling(int pitch, int spellOffset, int keySig) {
    if (std::abs(spellOffset) >= kDoubleFlat) return DefaultSpelling(pitch, keySig);
    const int letter = SharpSteps[static_cast<std::size_t>(floorMod(pitch + spellOffset, kOctave))].step;
    constexpr int kLetterC = 0, kLetterE = 2, kLetterF = 3, kLetterB = 6;
    const bool sharpOnWhite = spellOffset == kSharp && (letter == kLetterE || letter == kLetterB);
    const bool flatOnWhite = spellOffset == kFlat && (letter == kLetterC || letter == kLetterF);
    if (sharpOnWhite && !(keySig > 0 && signatureCarries(keySig, letter)))
        return DefaultSpelling(pitch, keySig);
    if (flatOnWhite && !(keySig < 0 && signatureCarries(keySig, letter)))
        return DefaultSpelling(pitch, keySig);
    return spellOffset;
}

}  // namespace kalvintor::theory
