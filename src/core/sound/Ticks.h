// Musical time of the sequencer: ticks, note values and their length at a tempo.
#pragma once

#include <array>
#include <cstdint>

namespace kalvintor::sound {

// One tick is 1/2688 of a whole note.
inline constexpr std::int32_t kTicksPerWhole = 2688;
inline constexpr std::int32_t kTicksPerQuarter = kTicksPerWhole / 4;

// Note values by index 1..6 (whole .. thirty-second); index 0 is not a note value.
inline constexpr std::array<std::int32_t, 7> NoteDurations = {0, 2688, 1344, 672, 336, 168, 84};

inline constexpr std::int32_t kMinTempo = 20;
inline constexpr std::int32_t kMaxTempo = 250;
inline constexpr std::int32_t kDefaultTempo = 90;
inline constexpr std::int32_t kMaxSyncDelayMs = 600;

// n ticks last n × 90 / tempo milliseconds.
constexpr double TicksToMs(std::int64_t ticks, std::int32_t tempo) {
    return static_cast<double>(ticks) * 90.0 / static_cast<double>(tempo);
}

constexpr std::int32_t ClampTempo(std::int32_t tempo) {
    return tempo < kMinTempo ? kMinTempo : tempo > kMaxTempo ? kMaxTempo : tempo;
}

}  // namespace kalvintor::sound
