// The short tips of the tip window and the mask of the settings that says which of them are still
// offered: at start, and behind the exercise windows' tip buttons.
#pragma once

#include <cstdint>

namespace kalvintor::app {

// Tips 1 and 2 belong to the pitch exercise windows, tip 6 to rhythm imitation and reading.
inline constexpr int kTipCount = 6;
inline constexpr int kRhythmTip = 6;
// Tip n's text is language text kTipTextBase + n.
inline constexpr int kTipTextBase = 5310;

// The tip shown at start: the first tip still offered from `start` on (1..6, wrapping round);
// 0 when every tip was hidden.
int TipAtStart(std::uint32_t tipMask, int start);
// "Hide this tip": clears the tip's bit; false when it was already clear.
bool HideTip(std::uint32_t& tipMask, int tip);

}  // namespace kalvintor::app
