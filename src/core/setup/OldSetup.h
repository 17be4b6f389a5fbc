// Setup records of the earlier version ("Kalvintor 2.0", 386 or 388 bytes) and their conversion.
#pragma once

#include "setup/SetupRecord.h"

#include <array>
#include <optional>

namespace kalvintor::setup {

inline constexpr std::size_t kOldSetupSize = 386;
inline constexpr std::size_t kPaddedOldSetupSize = 388;  // one filler byte after each rhythm block
inline constexpr std::string_view kOldHeaderText = "Kalvintor 2.0";
inline constexpr std::size_t kOldPitchBlockSize = 50;
inline constexpr std::size_t kOldMelodyBlockSize = 29;

namespace old_offsets {
inline constexpr std::size_t kPitchBlocks = 16;    // exercises 1, 7, 2, 3, 8, 50 bytes each
inline constexpr std::size_t kRhythmBlocks = 266;  // exercises 4, 5, 6, 30 bytes each
inline constexpr std::size_t kMelodyBlock = 356;
}  // namespace old_offsets

// The exercises of the old pitch blocks, in their order in the record.
inline constexpr std::array<int, 5> kOldPitchOrder = {1, 7, 2, 3, 8};

// The 386-byte form; the 388-byte form is read into it with the filler bytes skipped.
using OldSetupBytes = std::array<std::uint8_t, kOldSetupSize>;
OldSetupBytes unpadOldSetup(records::Bytes padded388);

// An old pitch block of exercise 1, 2, 3, 7 or 8 as an 82-byte block: the entry flags moved to
// the entries' new numbers, the options and pitch limits to their new offsets.
pitch::SetupBlockBytes convertOldPitchBlock(int exercise, records::Bytes oldBlock);
// The old melody block with the tonic and answer-input bytes of the current layout.
pitch::MelodySetupBytes convertOldMelodyBlock(records::Bytes oldBlock);

// The whole record: the built-in defaults with the converted blocks; exercise 10 and the header
// keep their defaults.
SetupRecord convertOldSetup(const OldSetupBytes& old);

// Whether a pitch block selects an entry the teacher defined (at or above the first user entry
// of the exercise's material table). Exercises without such a table have none.
bool selectsUserEntries(int exercise, records::Bytes block);

}  // namespace kalvintor::setup
