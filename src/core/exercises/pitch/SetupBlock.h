// The 82-byte setup block of the pitch exercises 1, 2, 3, 7, 8 and 10 inside the exercise setup record.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kalvintor::pitch {

inline constexpr std::size_t kSetupBlockSize = 82;
inline constexpr int kEntryFlagCount = 60;

// Offsets of the fields in the stored block.
namespace block_offsets {
inline constexpr std::size_t kEntryEnabled = 0;  // 60 flags, index 0 = catalogue entry 1
inline constexpr std::size_t kPlayTogether = 60;
inline constexpr std::size_t kArpeggioUp = 61;
inline constexpr std::size_t kArpeggioDown = 62;
inline constexpr std::size_t kShowKeySignature = 63;  // exercise 3: common tone
inline constexpr std::size_t kAnswerInC = 64;
inline constexpr std::size_t kReserved65 = 65;
inline constexpr std::size_t kAnswerModes = 66;
inline constexpr std::size_t kPlayToneOnClick = 67;
inline constexpr std::size_t kShowFirstTone = 68;
inline constexpr std::size_t kAutoAnswer = 69;
inline constexpr std::size_t kTonic = 70;
inline constexpr std::size_t kRootMovement = 71;
inline constexpr std::size_t kOption = 72;
inline constexpr std::size_t kReserved73 = 73;  // 7 bytes
inline constexpr std::size_t kUpperLimit = 80;
inline constexpr std::size_t kLowerLimit = 81;
}  // namespace block_offsets

// The pitch exercises that own a setup block, by their program-wide number.
enum class PitchExercise {
    Chords = 1,
    Intervals = 2,
    IntervalComparison = 3,
    Inversions = 7,
    Scales = 8,
    Progressions = 10
};

// Bits of the answer-instrument byte (66 here, 20 in the melody block).
namespace answer_bits {
inline constexpr std::uint8_t kByName = 1;
inline constexpr std::uint8_t kPiano = 2;
inline constexpr std::uint8_t kGuitar = 4;
inline constexpr std::uint8_t kNotesheet = 8;
inline constexpr std::uint8_t kInstruments = 15;
inline constexpr std::uint8_t kLock = 128;
}  // namespace answer_bits

// Bits of the tonic byte (70 here, 18 in the melody block).
namespace tonic_bits {
inline constexpr std::uint8_t kPlayTonic = 1;
inline constexpr std::uint8_t kBaseTones = 16;
inline constexpr std::uint8_t kCadence = 32;
}  // namespace tonic_bits

// How the tonic reference is played before a question.
enum class TonicStyle { BaseTones = 1, Cadence = 2 };

// Inversions of the progression exercise (low nibble of the option byte).
enum class InversionMode { AllRootPosition = 0, LastRootPosition = 1, Random = 2 };

// The block as stored. Every byte, the reserved ones included, is kept as read, so a block read
// and written back is unchanged.
struct SetupBlock {
    std::array<std::uint8_t, kEntryFlagCount> entryEnabled{};
    std::uint8_t playTogether = 0;
    std::uint8_t arpeggioUp = 1;
    std::uint8_t arpeggioDown = 1;
    std::uint8_t showKeySignature = 1;  // exercise 3: both intervals start on the same pitch
    std::uint8_t answerInC = 0;
    std::uint8_t reserved65 = 0;
    std::uint8_t answerModes = answer_bits::kPiano;
    std::uint8_t playToneOnClick = 1;
    std::uint8_t showFirstTone = 0;
    std::uint8_t autoAnswer = 0;
    std::uint8_t tonic = tonic_bits::kBaseTones;
    std::uint8_t rootMovement = 0;
    std::uint8_t option = 0;
    std::array<std::uint8_t, 7> reserved73{};
    std::uint8_t upperLimit = 72;
    std::uint8_t lowerLimit = 53;

    bool entryOn(int entry) const {
        return entry >= 1 && entry <= kEntryFlagCount &&
               entryEnabled[static_cast<std::size_t>(entry - 1)] != 0;
    }
    bool commonTone() const { return showKeySignature != 0; }
    bool playTonic() const { return (tonic & tonic_bits::kPlayTonic) != 0; }
    TonicStyle tonicStyle() const { return (tonic >> 4) == 2 ? TonicStyle::Cadence : TonicStyle::BaseTones; }
    bool answerModesLocked() const { return (answerModes & answer_bits::kLock) != 0; }
    bool diatonicRoots() const { return (option & 0x0F) != 0; }
    // A low nibble above 2 reads as all chords in root position.
    InversionMode inversionMode() const {
        const int mode = option & 0x0F;
        return mode <= 2 ? static_cast<InversionMode>(mode) : InversionMode::AllRootPosition;
    }
    bool addRootBass() const { return (option >> 4) != 0; }
    // The option byte of the progression exercise as the setup dialog stores it: the inversion
    // mode minus 16 for the root bass, as a byte (random inversions with the bass: 242).
    static std::uint8_t progressionOption(InversionMode mode, bool rootBass) {
        return static_cast<std::uint8_t>(static_cast<int>(mode) - (rootBass ? 16 : 0));
    }

    friend bool operator==(const SetupBlock&, const SetupBlock&) = default;
};

using SetupBlockBytes = std::array<std::uint8_t, kSetupBlockSize>;

// Reads a stored block; a buffer of any other size is refused.
std::optional<SetupBlock> decodeSetupBlock(records::Bytes bytes);
SetupBlockBytes encodeSetupBlock(const SetupBlock& block);

// The block of the built-in default setup for one exercise.
SetupBlock defaultSetupBlock(PitchExercise exercise);

}  // namespace kalvintor::pitch
