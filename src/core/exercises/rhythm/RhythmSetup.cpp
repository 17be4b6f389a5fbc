// Reading, writing and converting the rhythm setup block.
#include "exercises/rhythm/RhythmSetup.h"

#include "exercises/rhythm/MeterTable.h"

#include <algorithm>

namespace kalvintor::rhythm {

using namespace records;
namespace o = setup_offsets;

namespace {

template <std::size_t N>
void readArray(Bytes bytes, std::size_t offset, std::array<std::uint8_t, N>& out) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), N, out.begin());
}

template <std::size_t N>
void writeArray(MutableBytes bytes, std::size_t offset, const std::array<std::uint8_t, N>& in) {
    std::copy(in.begin(), in.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Where the pieces of an old 30-byte block land in the current block.
struct OldPiece {
    std::size_t from;
    std::size_t to;
    std::size_t size;
};
constexpr std::array<OldPiece, 6> kOldPieces{{
    {0, o::kMeters, 6},
    {6, o::kNoteValues, 6},
    {12, o::kTempo, 4},  // tempo, bars, rests, errors
    {16, o::kStrictness, 2},
    {18, o::kTies, 3},  // ties, all triplets, dotted
    {21, o::kReserved35, 9},
}};

}  // namespace

std::optional<RhythmSetup> decodeRhythmSetup(Bytes bytes) {
    if (bytes.size() != kRhythmSetupSize) return std::nullopt;
    RhythmSetup s;
    readArray(bytes, o::kMeters, s.meters);
    readArray(bytes, o::kReservedAfterMeters, s.reservedAfterMeters);
    readArray(bytes, o::kNoteValues, s.noteValues);
    s.tempo = getU8(bytes, o::kTempo);
    s.bars = getU8(bytes, o::kBars);
    s.rests = getU8(bytes, o::kRests);
    s.errors = getU8(bytes, o::kErrors);
    s.strictness = getI16(bytes, o::kStrictness);
    s.ties = getU8(bytes, o::kTies);
    s.allTriplets = getU8(bytes, o::kAllTriplets);
    s.dotted = getU8(bytes, o::kDotted);
    s.reserved35 = getU8(bytes, o::kReserved35);
    s.showSecondTime = getU8(bytes, o::kShowSecondTime);
    s.reserved37 = getU8(bytes, o::kReserved37);
    s.triplets = getU8(bytes, o::kTriplets);
    readArray(bytes, o::kReservedTail, s.reservedTail);
    return s;
}

RhythmSetupBytes encodeRhythmSetup(const RhythmSetup& s) {
    RhythmSetupBytes out{};
    MutableBytes bytes(out);
    writeArray(bytes, o::kMeters, s.meters);
    writeArray(bytes, o::kReservedAfterMeters, s.reservedAfterMeters);
    writeArray(bytes, o::kNoteValues, s.noteValues);
    putU8(bytes, o::kTempo, s.tempo);
    putU8(bytes, o::kBars, s.bars);
    putU8(bytes, o::kRests, s.rests);
    putU8(bytes, o::kErrors, s.errors);
    putI16(bytes, o::kStrictness, s.strictness);
    putU8(bytes, o::kTies, s.ties);
    putU8(bytes, o::kAllTriplets, s.allTriplets);
    putU8(bytes, o::kDotted, s.dotted);
    putU8(bytes, o::kReserved35, s.reserved35);
    putU8(bytes, o::kShowSecondTime, s.showSecondTime);
    putU8(bytes, o::kReserved37, s.reserved37);
    putU8(bytes, o::kTriplets, s.triplets);
    writeArray(bytes, o::kReservedTail, s.reservedTail);
    return out;
}

RhythmSetup defaultRhythmSetup(RhythmExercise exercise) {
    // Byte 35 of the built-in imitation and reading blocks holds 208; no field names it.
    constexpr std::uint8_t kBuiltInReserved35 = 208;

    RhythmSetup s;
    s.meters[kMeterFourFour - 1] = 1;
    s.noteValues[kHalf - 1] = 1;
    s.noteValues[kQuarter - 1] = 1;
    s.tempo = kDefaultTempo;
    s.bars = 1;
    s.errors = exercise == RhythmExercise::Imitation ? 1 : 2;
    s.strictness = static_cast<std::int16_t>(Strictness::Normal);
    s.reserved35 = exercise == RhythmExercise::Correction ? 0 : kBuiltInReserved35;
    s.showSecondTime = exercise == RhythmExercise::Imitation ? 1 : 0;
    return s;
}

std::optional<RhythmSetup> convertOldRhythmSetup(Bytes oldBlock) {
    if (oldBlock.size() != kOldRhythmSetupSize) return std::nullopt;
    RhythmSetupBytes bytes{};
    for (const auto& piece : kOldPieces)
        std::copy_n(oldBlock.begin() + static_cast<std::ptrdiff_t>(piece.from), piece.size,
                    bytes.begin() + static_cast<std::ptrdiff_t>(piece.to));
    return decodeRhythmSetup(bytes);
}

}  // namespace kalvintor::rhythm
