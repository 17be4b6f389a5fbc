// The 670-byte exercise setup record: a header and one block per exercise at fixed offsets.
#pragma once

#include "exercises/pitch/MelodySetup.h"
#include "exercises/pitch/SetupBlock.h"
#include "exercises/rhythm/RhythmSetup.h"
#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kalvintor::setup {

inline constexpr std::size_t kSetupRecordSize = 670;
inline constexpr std::size_t kHeaderSize = 16;  // ShortString[15]
inline constexpr std::string_view kHeaderText = "Kalvintor 4.0";
inline constexpr std::size_t kUnusedByte = 669;
inline constexpr int kExerciseCount = 10;

// Where each exercise's block lies in the record; exercises 1..10.
struct BlockPlace {
    std::size_t offset;
    std::size_t length;
};
inline constexpr std::array<BlockPlace, kExerciseCount + 1> kBlockPlaces = {{
    {0, 0},     // no exercise 0
    {16, 82},   // 1 chord identification
    {180, 82},  // 2 interval identification
    {262, 82},  // 3 interval comparison
    {426, 44},  // 4 rhythm imitation
    {470, 44},  // 5 rhythm reading
    {514, 44},  // 6 rhythm correction
    {98, 82},   // 7 chord inversions
    {344, 82},  // 8 scales
    {558, 29},  // 9 melody
    {587, 82},  // 10 chord progressions
}};

enum class BlockKind { Pitch, Rhythm, Melody };
BlockKind blockKind(int exercise);
inline bool isExercise(int exercise) {
    return exercise >= 1 && exercise <= kExerciseCount;
}

// Rhythm block bytes that are not compared when telling whether a setup changed.
inline constexpr std::size_t kRhythmUncomparedFirst = 14;
inline constexpr std::size_t kRhythmUncomparedLast = 19;

// The record as stored, byte for byte.
struct SetupRecord {
    std::array<std::uint8_t, kSetupRecordSize> bytes{};

    // The block of an exercise 1..10 (empty for any other number).
    std::span<std::uint8_t> block(int exercise);
    std::span<const std::uint8_t> block(int exercise) const;

    pitch::SetupBlock pitchBlock(int exercise) const;
    void setPitchBlock(int exercise, const pitch::SetupBlock& block);
    rhythm::RhythmSetup rhythmBlock(int exercise) const;
    void setRhythmBlock(int exercise, const rhythm::RhythmSetup& block);
    pitch::MelodySetup melodyBlock() const;
    void setMelodyBlock(const pitch::MelodySetup& block);

    // Length byte 13 and "Kalvintor 4.0"; the two bytes after the text are left as they are.
    void stampHeader();
    bool hasHeader(std::string_view text) const;

    friend bool operator==(const SetupRecord&, const SetupRecord&) = default;
};

// The built-in default setup, assembled from the default block of every exercise.
const SetupRecord& DefaultSetup();

// Whether two setups ask different things: every pitch and melody block byte, and every rhythm
// block byte except 14..19; the header and the last byte do not count.
bool SetupDiffers(const SetupRecord& a, const SetupRecord& b);

// A stored setup name as shown: without directory and without everything from the first dot on.
std::string displayName(std::string_view fileName);

}  // namespace kalvintor::setup
