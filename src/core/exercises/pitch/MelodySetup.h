// The 29-byte melody setup block of exercise 9 inside the exercise setup record.
#pragma once

#include "exercises/pitch/SetupBlock.h"
#include "records/Binary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kalvintor::pitch {

inline constexpr std::size_t kMelodySetupSize = 29;
inline constexpr int kMelodyKeyCount = 12;  // key signatures -6 .. +5
inline constexpr int kFirstMelodyKeySig = -6;

// Offsets of the fields in the stored block.
namespace melody_offsets {
inline constexpr std::size_t kLength = 0;
inline constexpr std::size_t kLargestLeap = 1;
inline constexpr std::size_t kAmbitus = 2;
inline constexpr std::size_t kMelodyType = 3;
inline constexpr std::size_t kKeys = 4;  // 12 flags, index 0 = six flats .. index 11 = five sharps
inline constexpr std::size_t kReserved16 = 16;
inline constexpr std::size_t kShowKeySignature = 17;
inline constexpr std::size_t kTonic = 18;
inline constexpr std::size_t kPlayToneOnClick = 19;
inline constexpr std::size_t kAnswerModes = 20;
inline constexpr std::size_t kAutoAnswer = 21;
inline constexpr std::size_t kShowFirstTone = 22;
inline constexpr std::size_t kReserved23 = 23;
inline constexpr std::size_t kRhythm = 24;
inline constexpr std::size_t kReserved25 = 25;  // 2 bytes
inline constexpr std::size_t kUpperLimit = 27;
inline constexpr std::size_t kLowerLimit = 28;
}  // namespace melody_offsets

// Melody types: 0..10 follow a scale of the catalogue (Scales entry type + 1), 11..16 a chord
// progression.
namespace melody_types {
inline constexpr int kWholeTone = 9;
inline constexpr int kChromatic = 10;
inline constexpr int kFirstProgression = 11;
inline constexpr int kLast = 16;
// Progressions entries the types 11..16 follow.
inline constexpr std::array<int, 6> kProgressionEntries{8, 9, 11, 33, 34, 35};
}  // namespace melody_types

// The block as stored; unused bytes are kept as read.
struct MelodySetup {
    std::uint8_t length = 5;
    std::uint8_t largestLeap = 2;  // scale steps: 1 second .. 7 octave
    std::uint8_t ambitus = 3;      // scale steps: 1 second .. 7 octave
    std::uint8_t melodyType = 0;
    std::array<std::uint8_t, kMelodyKeyCount> keys{0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    std::uint8_t reserved16 = 0;
    std::uint8_t showKeySignature = 1;
    std::uint8_t tonic = tonic_bits::kPlayTonic | tonic_bits::kBaseTones;
    std::uint8_t playToneOnClick = 0;
    std::uint8_t answerModes = answer_bits::kLock | answer_bits::kPiano;
    std::uint8_t autoAnswer = 0;
    std::uint8_t showFirstTone = 0;
    std::uint8_t reserved23 = 0;
    std::uint8_t rhythm = 0;
    std::array<std::uint8_t, 2> reserved25{};
    std::uint8_t upperLimit = 72;
    std::uint8_t lowerLimit = 60;

    bool keyOn(int keySig) const {
        const int index = keySig - kFirstMelodyKeySig;
        return index >= 0 && index < kMelodyKeyCount && keys[static_cast<std::size_t>(index)] != 0;
    }
    bool playTonic() const { return (tonic & 15) != 0; }
    TonicStyle tonicStyle() const {
        return tonic >= 32 && tonic <= 47 ? TonicStyle::Cadence : TonicStyle::BaseTones;
    }
    // Types 1..4 and 6 are modes: no tonic is played for them and no key name shown.
    bool typeIsMode() const { return (melodyType >= 1 && melodyType <= 4) || melodyType == 6; }
    bool typeIsMinor() const {
        return melodyType == 5 || melodyType == 7 || melodyType == 8 || melodyType == 15 || melodyType == 16;
    }

    friend bool operator==(const MelodySetup&, const MelodySetup&) = default;
};

using MelodySetupBytes = std::array<std::uint8_t, kMelodySetupSize>;

// Reads a stored block; a buffer of any other size is refused.
std::optional<MelodySetup> decodeMelodySetup(records::Bytes bytes);
MelodySetupBytes encodeMelodySetup(const MelodySetup& setup);

// The block of the built-in default setup: five tones in C major, piano answers locked.
MelodySetup defaultMelodySetup();

}  // namespace kalvintor::pitch
