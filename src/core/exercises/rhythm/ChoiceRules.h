// The rules of the rhythm setup view's value, triplet and meter buttons: every chosen meter must
// be one the chosen note values can fill.
#pragma once

#include "exercises/rhythm/RhythmSetup.h"

#include <array>

namespace kalvintor::rhythm {

// Lengths in thirty-second notes: of the note values whole .. thirty-second, of the whole triplet
// groups half .. sixteenth, and of a bar of each meter in table order.
inline constexpr std::array<int, kNoteValueCount> kValueTags{32, 16, 8, 4, 2, 1};
inline constexpr std::array<int, kTripletValueCount> kTripletTags{32, 16, 8, 4};
inline constexpr std::array<int, kMeterCount> kMeterTags{32, 16, 24, 32, 12, 24, 48,
                                                         64, 28, 36, 48, 40, 16, 20};
inline constexpr int kEighthButton = 3;   // index of the eighth note among the value buttons
inline constexpr int kQuarterButton = 2;  // and of the quarter note
inline constexpr int kFourFourButton = 3;

// The state of the buttons and of "Dotted notes".
struct ChoiceButtons {
    std::array<bool, kMeterCount> meters{};
    std::array<bool, kNoteValueCount> values{};
    std::array<bool, kTripletValueCount> triplets{};
    std::array<bool, kNoteValueCount> valueEnabled{true, true, true, true, true, true};
    std::array<bool, kTripletValueCount> tripletEnabled{true, true, true, true};
    bool dotted = false;

    friend bool operator==(const ChoiceButtons&, const ChoiceButtons&) = default;
};

// The buttons a block shows: a block of an older setup whose "all triplets" byte is set shows
// every triplet chosen.
ChoiceButtons ButtonsFromSetup(const RhythmSetup& setup);
// Writes the buttons into a block: meters, values, the triplet bits and "Dotted notes"; the older
// "all triplets" byte is cleared.
void StoreButtons(const ChoiceButtons& buttons, RhythmSetup& setup);

// After a meter button was clicked and at the end of loading: with no meter 4/4 is chosen; values
// longer than the shortest chosen bar are released and disabled; then the value rule.
void ApplyMeterRule(ChoiceButtons& buttons);

// After a value or triplet button was clicked (`eighthClicked`: it was the eighth note): with no
// value the eighth note (or the quarter, when the eighth was just released) is chosen; a chosen
// meter that the shortest value cannot fill gets the eighth note.
void ApplyValueRule(ChoiceButtons& buttons, bool eighthClicked = false);

}  // namespace kalvintor::rhythm
