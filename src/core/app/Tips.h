// The short tips behind the exercise windows' tip buttons and the mask of the settings that says
// which of them are still offered.
#pragma once

#include <cstdint>

namespace kalvintor::app {

// Tips 1 and 2 belong to the pitch exercise windows, tip 6 to rhythm imitation and reading.
inline constexpr int kTipCount = 6;
inline constexpr int kRhythmTip = 6;
// Tip n's text is language text kTipTextBase + n.
inline constexpr int kTipTextBase = 5310;

struct TipClosed {
    std::uint32_t mask = 0;    // the settings' tip mask afterwards
    bool stillOffered = true;  // the pressed button stays visible
};

// The tip window of tip n closed with "Hide this tip" checked or not: a hidden tip's bit of the
// mask is cleared, and its button goes away even when the bit was already clear.
TipClosed CloseTip(std::uint32_t mask, int n, bool hide);

}  // namespace kalvintor::app
