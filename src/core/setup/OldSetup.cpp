// Conversion of old setup records, block by block.
#include "setup/OldSetup.h"

#include "theory/ChordCatalogue.h"

#include <algorithm>

namespace kalvintor::setup {

namespace {

namespace bo = pitch::block_offsets;

constexpr std::size_t kOldFlags = 28;    // old entries 1..28 in bytes 0..27
constexpr std::size_t kOldOptions = 28;  // old bytes 28..47 become bytes 60..79
constexpr std::size_t kOldOptionCount = 20;
constexpr std::size_t kOldAnswerModes = 34;  // becomes byte 66
constexpr std::size_t kOldUpperLimit = 48;
constexpr std::size_t kOldLowerLimit = 49;
constexpr std::size_t kOldRhythmSize = rhythm::kOldRhythmSetupSize;
constexpr std::size_t kMelodyTonic = 18;
constexpr std::size_t kMelodyAnswerModes = 20;
constexpr std::uint8_t kOldTonicOffset = 16;

// New entry numbers of old entries 1..14 of the chord tables.
constexpr std::array<int, 14> kChordTypeEntries = {1, 2, 3, 4, 6, 7, 16, 9, 15, 8, 13, 11, 17, 10};
constexpr std::array<int, 14> kInversionEntries = {1, 2, 3, 4, 5, 6, 14, 15, 16, 17, 18, 19, 20, 21};

// Old answer input 1, 2, 3 became the bits for names, piano and guitar.
std::uint8_t answerModes(std::uint8_t old) {
    std::uint8_t bits = 0;
    switch (old & 0x7F) {
        case 1:
            bits = pitch::answer_bits::kByName;
            break;
        case 2:
            bits = pitch::answer_bits::kPiano;
            break;
        case 3:
            bits = pitch::answer_bits::kGuitar;
            break;
        default:
            break;
    }
    return static_cast<std::uint8_t>((old & pitch::answer_bits::kLock) | bits);
}

void setFlag(pitch::SetupBlockBytes& block, int entry, std::uint8_t value) {
    block[static_cast<std::size_t>(entry - 1)] = value;
}

// Old user entries from `firstUser` on move up by `shift` when they are selected.
void moveUserEntries(pitch::SetupBlockBytes& block, records::Bytes old, int firstUser, int shift) {
    for (int entry = firstUser; entry <= static_cast<int>(kOldFlags); ++entry) {
        const std::uint8_t flag = old[static_cast<std::size_t>(entry - 1)];
        if (flag != 0) setFlag(block, entry + shift, flag);
    }
}

}  // namespace

OldSetupBytes unpadOldSetup(records::Bytes padded) {
    OldSetupBytes old{};
    const std::size_t pitchEnd = old_offsets::kRhythmBlocks;
    std::copy_n(padded.begin(), pitchEnd, old.begin());
    for (std::size_t i = 0; i < 3; ++i)
        std::copy_n(padded.begin() + static_cast<std::ptrdiff_t>(pitchEnd + i * (kOldRhythmSize + 1)),
                    kOldRhythmSize, old.begin() + static_cast<std::ptrdiff_t>(pitchEnd + i * kOldRhythmSize));
    // The padded form ends with the melody block; the unused last byte of the short form stays 0.
    std::copy_n(padded.begin() + static_cast<std::ptrdiff_t>(pitchEnd + 3 * (kOldRhythmSize + 1)),
                kOldMelodyBlockSize, old.begin() + old_offsets::kMelodyBlock);
    return old;
}

pitch::SetupBlockBytes convertOldPitchBlock(int exercise, records::Bytes old) {
    pitch::SetupBlockBytes block{};
    switch (exercise) {
        case 1:
            for (std::size_t i = 0; i < kChordTypeEntries.size(); ++i)
                setFlag(block, kChordTypeEntries[i], old[i]);
            moveUserEntries(block, old, 15, 13);
            break;
        case 7:
            for (std::size_t i = 0; i < kInversionEntries.size(); ++i)
                setFlag(block, kInversionEntries[i], old[i]);
            moveUserEntries(block, old, 15, 12);
            break;
        case 8:
            std::copy_n(old.begin(), 11, block.begin());
            moveUserEntries(block, old, 12, 20);
            break;
        default:  // the interval exercises kept their entries
            std::copy_n(old.begin(), kOldFlags, block.begin());
            break;
    }
    std::copy_n(old.begin() + kOldOptions, kOldOptionCount, block.begin() + bo::kPlayTogether);
    block[bo::kAnswerModes] = answerModes(old[kOldAnswerModes]);
    block[bo::kTonic] = pitch::tonic_bits::kBaseTones;
    block[bo::kUpperLimit] = old[kOldUpperLimit];
    block[bo::kLowerLimit] = old[kOldLowerLimit];
    return block;
}

pitch::MelodySetupBytes convertOldMelodyBlock(records::Bytes old) {
    pitch::MelodySetupBytes block{};
    std::copy_n(old.begin(), block.size(), block.begin());
    block[kMelodyTonic] = static_cast<std::uint8_t>(old[kMelodyTonic] + kOldTonicOffset);
    block[kMelodyAnswerModes] = answerModes(old[kMelodyAnswerModes]);
    return block;
}

SetupRecord convertOldSetup(const OldSetupBytes& old) {
    SetupRecord record = DefaultSetup();
    const records::Bytes bytes(old);
    for (std::size_t i = 0; i < kOldPitchOrder.size(); ++i) {
        const int exercise = kOldPitchOrder[i];
        const auto converted = convertOldPitchBlock(
            exercise, bytes.subspan(old_offsets::kPitchBlocks + i * kOldPitchBlockSize, kOldPitchBlockSize));
        std::ranges::copy(converted, record.block(exercise).begin());
    }
    for (int exercise = 4; exercise <= 6; ++exercise) {
        const auto oldBlock = bytes.subspan(
            old_offsets::kRhythmBlocks + static_cast<std::size_t>(exercise - 4) * kOldRhythmSize,
            kOldRhythmSize);
        record.setRhythmBlock(exercise, *rhythm::convertOldRhythmSetup(oldBlock));
    }
    std::ranges::copy(convertOldMelodyBlock(bytes.subspan(old_offsets::kMelodyBlock, kOldMelodyBlockSize)),
                      record.block(9).begin());
    return record;
}

bool selectsUserEntries(int exercise, records::Bytes block) {
    using theory::TableKind;
    TableKind table = TableKind::ChordTypes;
    switch (exercise) {
        case 1:
            table = TableKind::ChordTypes;
            break;
        case 2:
        case 3:
            table = TableKind::Intervals;
            break;
        case 7:
            table = TableKind::ChordInversions;
            break;
        case 8:
            table = TableKind::Scales;
            break;
        case 10:
            table = TableKind::Progressions;
            break;
        default:
            return false;
    }
    const int firstUser = theory::FirstUserEntry(table);
    for (int entry = firstUser; entry <= pitch::kEntryFlagCount; ++entry)
        if (block[static_cast<std::size_t>(entry - 1)] != 0) return true;
    return false;
}

}  // namespace kalvintor::setup
