// The rules of the pitch and melody setup views: the root-movement list, the pitch limits and
// how the range picker's pictures turn a mouse position into a pitch.
#pragma once

#include "exercises/pitch/SetupBlock.h"
#include "theory/ChordCatalogue.h"

#include <cstdint>

namespace kalvintor::setup {

// Root-movement list: 0 random, 2/10/24 headings, 1/9/23 blanks, 3..8, 11..22, 25..36 choices.
inline constexpr int kRootMovementCount = 37;
bool isRootMovementChoice(int index);
// Where the selection goes when `index` is chosen: a blank moves two down, a heading two up, an
// index outside the list is random.
int settleRootMovement(int index);
// The value stored for a list index: 0 for blanks, headings and anything outside the list.
std::uint8_t storedRootMovement(int index);
// 1 for random root movement (index below 3), 11 when the roots move.
int minLimitDistance(int rootMovement);

// The lowest and highest pitch asked.
struct PitchLimits {
    int lower = 53;
    int upper = 72;
    friend bool operator==(const PitchLimits&, const PitchLimits&) = default;
};

enum class LimitMarker { None, Lower, Upper };
enum class PickerPicture { Piano, Guitar, Staff };
PickerPicture pickerPicture(int answerPicture);  // 2 piano, 4 guitar, anything else the staff

// Moves one limit to `pitch` as far as the other limit and the picture allow: the limits never
// cross nor come closer than `distance`, and the picture's own bounds hold.
PitchLimits moveLimit(PitchLimits limits, LimitMarker marker, int pitch, int distance, PickerPicture picture);
// Raises the upper limit to lower + distance when they lie closer.
PitchLimits keepDistance(PitchLimits limits, int distance);
// The marker a press at `pitch` takes on the piano or guitar picture: the marker on that pitch,
// and when both are, the lower one below middle C, else the upper one.
LimitMarker markerAtPitch(PitchLimits limits, int pitch);

// Pitch under the mouse on the piano picture: 11 pixels a white key from F (41).
int pianoPitchAt(int x, int y);
// The x of a key's centre on the piano picture, and whether it is black.
int pianoKeyCentre(int pitch);
bool isBlackKey(int pitch);
inline constexpr int kPianoLowest = 41;
inline constexpr int kPianoWhiteKey = 11;
inline constexpr int kPianoBlackHeight = 20;

// Guitar picture: fret positions in pixels, strings 6 pixels apart.
inline constexpr int kGuitarFrets = 21;
int guitarFretX(int fret);  // fret 1..21
int guitarPitchAt(int x, int y);
inline constexpr int kGuitarLowest = 40;
inline constexpr int kGuitarHighest = 84;

// Staff picture: the treble part above y 70, the bass part below; a horizontal drag of more
// than 20 pixels alters the pitch by a semitone.
int staffPitchAt(int y, int dragX);
int staffY(int pitch);  // the y of a pitch's natural note on the grand staff

// StoreSetup's rules for the offered entries: an entry without notes is not offered, and when
// nothing is offered, entry 1 is.
void settleOfferedEntries(std::array<std::uint8_t, pitch::kEntryFlagCount>& offered,
                          const theory::CatalogueTable& table, int shown);

}  // namespace kalvintor::setup
