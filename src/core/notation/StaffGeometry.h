// Where the grand staff sits in its paint box: line spacing, the upper staff's top line and the
// gap to the lower staff, and the vertical position of every written note.
#pragma once

namespace kalvintor::notation {

// Lines of the upper staff, top to bottom: F5 D5 B4 G4 E4; of the lower: A3 F3 D3 B2 G2.
inline constexpr int kUpperTopPitch = 77;  // F5
inline constexpr int kLowerTopPitch = 57;  // A3

struct StaffGeometry {
    int top = 45;
    int spacing = 10;
    int gap = 43;

    // The gap follows the spacing.
    void setSpacing(int s) {
        spacing = s;
        gap = 4 * s + 3;
    }
    int upperBottom() const { return top + 4 * spacing; }
    int lowerTop() const { return upperBottom() + gap; }
    int lowerBottom() const { return lowerTop() + 4 * spacing; }
    int gapMiddle() const { return upperBottom() + gap / 2; }
    // y of a written (natural) pitch on either staff.
    int noteY(int naturalPitch, bool lowerStaff) const;
};

// Diatonic number of a natural pitch: seven per octave, C0 (pitch 0) = 0.
int DiatonicNumber(int naturalPitch);

// Chooses spacing and top for a box of `boxHeight` pixels and the question's highest pitch.
StaffGeometry StaffLayout(int boxHeight, int highestPitch, bool progression, int clefPreference);

}  // namespace kalvintor::notation
