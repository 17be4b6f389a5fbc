// Note value codes and their lengths in ticks (a whole note is 2688 ticks).
#pragma once

#include "sound/Ticks.h"

#include <cstdint>

namespace kalvintor::rhythm {

inline constexpr int kTicksPerWhole = sound::kTicksPerWhole;
// n ticks last n × 90 / tempo milliseconds: at tempo 90 a tick is a millisecond.
inline constexpr int kTickTempo = 90;

// Note value codes: the index into NoteDurations.
inline constexpr int kWhole = 1;
inline constexpr int kHalf = 2;
inline constexpr int kQuarter = 3;
inline constexpr int kEighth = 4;
inline constexpr int kSixteenth = 5;
inline constexpr int kThirtySecond = 6;
inline constexpr int kShortestValue = kThirtySecond;

// Ticks of each value code; index 0 is unused so that the codes index it directly.
using sound::NoteDurations;

constexpr bool isValueCode(int code) {
    return code >= kWhole && code <= kShortestValue;
}

// The denominator a value stands for: 1 for a whole note .. 32 for a thirty-second.
constexpr int valueDenominator(int code) {
    return 1 << (code - 1);
}

// Beams (or flags) a value carries: one for an eighth, two for a sixteenth, three for a thirty-second.
constexpr int beamCount(int code) {
    return code >= kEighth ? code - kQuarter : 0;
}

}  // namespace kalvintor::rhythm
