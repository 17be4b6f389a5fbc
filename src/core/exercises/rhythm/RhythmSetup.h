// The 44-byte rhythm setup block of exercises 4, 5 and 6 inside the exercise setup record.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kalvintor::rhythm {

inline constexpr std::size_t kRhythmSetupSize = 44;
inline constexpr std::size_t kOldRhythmSetupSize = 30;
inline constexpr int kMeterCount = 14;
inline constexpr int kNoteValueCount = 6;
inline constexpr int kTripletValueCount = 4;

// Offsets of the fields in the stored block.
namespace setup_offsets {
inline constexpr std::size_t kMeters = 0;                // 14 flags, one per meter table entry
inline constexpr std::size_t kReservedAfterMeters = 14;  // 6 bytes
inline constexpr std::size_t kNoteValues = 20;           // 6 flags: whole .. thirty-second
inline constexpr std::size_t kTempo = 26;
inline constexpr std::size_t kBars = 27;
inline constexpr std::size_t kRests = 28;
inline constexpr std::size_t kErrors = 29;
inline constexpr std::size_t kStrictness = 30;  // i16
inline constexpr std::size_t kTies = 32;
inline constexpr std::size_t kAllTriplets = 33;
inline constexpr std::size_t kDotted = 34;
inline constexpr std::size_t kReserved35 = 35;
inline constexpr std::size_t kShowSecondTime = 36;
inline constexpr std::size_t kReserved37 = 37;
inline constexpr std::size_t kTriplets = 38;      // bit k (k = 1..4): half .. sixteenth triplets
inline constexpr std::size_t kReservedTail = 39;  // 5 bytes
}  // namespace setup_offsets

// How strictly taps are judged (the stored i16 at offset 30).
enum class Strictness : std::int16_t { Kind = 0, Normal = 1, Severe = 2 };

// The three exercises that own a block.
enum class RhythmExercise { Imitation = 4, Reading = 5, Correction = 6 };

// Tempo limits the setup dialog offers; the engine clamps whatever a block holds into them.
inline constexpr int kMinTempo = 40;
inline constexpr int kMaxTempo = 240;
inline constexpr int kDefaultTempo = 90;

// Bit of byte 38 for the triplet of a note value code 2..5 (half .. sixteenth).
constexpr std::uint8_t tripletBit(int valueCode) {
    return static_cast<std::uint8_t>(1u << (valueCode - 1));
}

// The block as stored. Flags keep the byte they were read with, and the reserved bytes are kept,
// so a block read and written back is unchanged byte for byte.
struct RhythmSetup {
    std::array<std::uint8_t, kMeterCount> meters{};  // index 0 = meter table entry 1
    std::array<std::uint8_t, 6> reservedAfterMeters{};
    std::array<std::uint8_t, kNoteValueCount> noteValues{};  // index 0 = whole note (code 1)
    std::uint8_t tempo = kDefaultTempo;
    std::uint8_t bars = 1;
    std::uint8_t rests = 0;
    std::uint8_t errors = 1;
    std::int16_t strictness = static_cast<std::int16_t>(Strictness::Normal);
    std::uint8_t ties = 0;
    std::uint8_t allTriplets = 0;  // older setups only; read by the setup dialog, written as 0
    std::uint8_t dotted = 0;
    std::uint8_t reserved35 = 0;
    std::uint8_t showSecondTime = 0;
    std::uint8_t reserved37 = 0;
    std::uint8_t triplets = 0;  // tripletBit() per triplet value
    std::array<std::uint8_t, 5> reservedTail{};

    bool meterChosen(int meterIndex) const { return meters[static_cast<std::size_t>(meterIndex - 1)] != 0; }
    bool valueChosen(int valueCode) const { return noteValues[static_cast<std::size_t>(valueCode - 1)] != 0; }
    bool tripletChosen(int valueCode) const { return (triplets & tripletBit(valueCode)) != 0; }

    friend bool operator==(const RhythmSetup&, const RhythmSetup&) = default;
};

using RhythmSetupBytes = std::array<std::uint8_t, kRhythmSetupSize>;

// Reads a stored block; a buffer of any other size is refused.
std::optional<RhythmSetup> decodeRhythmSetup(records::Bytes bytes);
RhythmSetupBytes encodeRhythmSetup(const RhythmSetup& setup);

// The block of the built-in default setup: 4/4 only, half and quarter notes, tempo 90, one bar,
// normal strictness; exercise 4 shows the rhythm a second time.
RhythmSetup defaultRhythmSetup(RhythmExercise exercise);

// A 30-byte block of an old setup file turned into the current block: meter flags 1..6 are kept,
// the meters added since then are off, and the remaining fields move up to their new offsets.
// A buffer of any other size is refused.
std::optional<RhythmSetup> convertOldRhythmSetup(records::Bytes oldBlock);

}  // namespace kalvintor::rhythm
