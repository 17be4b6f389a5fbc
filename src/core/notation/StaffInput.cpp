// The rules of notesheet input, ledger lines and accidentals within a measure.
#include "notation/StaffInput.h"

#include "theory/Tables.h"

#include <algorithm>

namespace kalvintor::notation {

using theory::floorDiv;
using theory::floorMod;

namespace {

// The alteration the key signature gives a letter: +1 sharp, -1 flat, 0 none.
int signatureAlteration(int letter, int keySig) {
    if ((theory::KeySigAlterations(keySig) >> letter & 1U) == 0) return 0;
    return keySig > 0 ? 1 : -1;
}

int letterOf(int naturalPitch, int keySig) {
    const auto& steps = keySig <= 0 ? theory::FlatSteps : theory::SharpSteps;
    return steps[static_cast<std::size_t>(floorMod(naturalPitch, 12))].step;
}

}  // namespace

pitch::QuestionNote PitchAtPoint(int y, bool upperStaff, const StaffGeometry& g, const PitchRange& range,
                                 int keySig, bool keySignatureShown, int alteration) {
    // Letter steps counted from C1 at the bottom of each staff's reach.
    const int d = upperStaff ? std::max(0, ((19 * g.spacing + g.top - y + 3) * 2) / g.spacing)
                             : std::max(0, ((g.top + g.gap + 17 * g.spacing - y + 2) * 2) / g.spacing);
    const int letter = d % 7;
    int pitch = theory::StepSemitones(letter) + (d / 7) * 12 + 12;
    const int low = upperStaff ? std::max(48, range.lowest) : range.lowest;
    const int high = upperStaff ? range.highest : std::min(72, range.highest);
    // Clamping keeps the letter a natural one: both ends of the reach are white keys or are
    // brought down to the next natural letter.
    pitch = std::clamp(pitch, low, high);
    pitch::QuestionNote note;
    note.pitch = pitch;
    note.spellOffset = 0;
    if (theory::SharpSteps[static_cast<std::size_t>(floorMod(pitch, 12))].altered) {
        // A clamped end on a black key is written as the letter below, sharpened.
        note.spellOffset = -1;
    }
    if (keySignatureShown && note.spellOffset == 0) {
        const int a = signatureAlteration(
            theory::SharpSteps[static_cast<std::size_t>(floorMod(pitch, 12))].step, keySig);
        note.pitch += a;
        note.spellOffset -= a;
    }
    note.pitch += alteration;
    note.spellOffset -= alteration;
    return note;
}

std::optional<int> AlterationKey(char key) {
    switch (key) {
        case 'Z':
        case 'z':
            return -2;
        case 'X':
        case 'x':
            return -1;
        case 'C':
        case 'c':
            return 0;
        case 'V':
        case 'v':
            return 1;
        case 'B':
        case 'b':
            return 2;
        default:
            return std::nullopt;
    }
}

DragAlteration DragToAlteration(int anchorX, int x) {
    constexpr int kLimit = 80;
    int dx = x - anchorX;
    if (dx > kLimit) {
        anchorX = x - kLimit;
        dx = kLimit;
    } else if (dx < -kLimit) {
        anchorX = x + kLimit;
        dx = -kLimit;
    }
    const int size = std::abs(dx);
    const int steps = size <= 20 ? 0 : size <= 45 ? 1 : 2;
    return {anchorX, dx < 0 ? -steps : steps};
}

LedgerLineCount LedgerLines(const pitch::QuestionNote& note, bool lowerStaff, int keySig) {
    const int b = note.pitch + note.spellOffset;
    const int c = letterOf(b, keySig);
    if (!lowerStaff) {
        if (b > 79) return {(floorDiv(b - 72, 12) * 7 + c - 3) / 2, true};
        if (b <= 60) return {(16 - c - floorDiv(b - 36, 12) * 7) / 2, false};
        return {};
    }
    if (b > 59) return {(c + floorDiv(b - 60, 12) * 7 + 2) / 2, true};
    if (b <= 41) return {(11 - c - floorDiv(b - 24, 12) * 7) / 2, false};
    return {};
}

MeasureAccidentals::MeasureAccidentals(int keySig) : keySig_(keySig) {}

void MeasureAccidentals::NewMeasure() {
    set_.fill(false);
}

int MeasureAccidentals::implied(int naturalPitch) const {
    const auto i = static_cast<std::size_t>(std::clamp(naturalPitch, 0, 127));
    if (set_[i]) return written_[i];
    return signatureAlteration(theory::SharpSteps[static_cast<std::size_t>(floorMod(naturalPitch, 12))].step,
                               keySig_);
}

std::optional<int> MeasureAccidentals::Sign(const pitch::QuestionNote& note) {
    const int natural = note.pitch + note.spellOffset;
    const int alteration = -note.spellOffset;
    const bool same = implied(natural) == alteration;
    const auto i = static_cast<std::size_t>(std::clamp(natural, 0, 127));
    set_[i] = true;
    written_[i] = alteration;
    if (same) return std::nullopt;
    return alteration;
}

}  // namespace kalvintor::notation
