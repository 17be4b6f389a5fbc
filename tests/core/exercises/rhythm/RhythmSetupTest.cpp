// The 44-byte rhythm setup block: offsets, built-in defaults, round trips and old blocks.
#include "exercises/rhythm/RhythmSetup.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace kalvintor::rhythm;

namespace {

// The built-in blocks byte by byte: offset → value; every other byte is 0.
using ByteList = std::vector<std::pair<std::size_t, std::uint8_t>>;
const ByteList kCommonDefaults = {
    {3, 1},             // 4/4
    {21, 1},  {22, 1},  // half and quarter notes
    {26, 90},           // tempo
    {27, 1},            // bars
    {30, 1},            // normal strictness
};

RhythmSetupBytes bytesOf(const ByteList& common, const ByteList& extra) {
    RhythmSetupBytes b{};
    for (auto [o, v] : common) b[o] = v;
    for (auto [o, v] : extra) b[o] = v;
    return b;
}

}  // namespace

TEST(RhythmSetup, BuiltInBlocksOfTheThreeExercises) {
    EXPECT_EQ(encodeRhythmSetup(defaultRhythmSetup(RhythmExercise::Imitation)),
              bytesOf(kCommonDefaults, {{29, 1}, {35, 208}, {36, 1}}));
    EXPECT_EQ(encodeRhythmSetup(defaultRhythmSetup(RhythmExercise::Reading)),
              bytesOf(kCommonDefaults, {{29, 2}, {35, 208}}));
    EXPECT_EQ(encodeRhythmSetup(defaultRhythmSetup(RhythmExercise::Correction)),
              bytesOf(kCommonDefaults, {{29, 2}}));
}

TEST(RhythmSetup, EveryFieldIsReadFromItsOffset) {
    RhythmSetupBytes b{};
    std::iota(b.begin(), b.end(), std::uint8_t{1});  // byte i holds i + 1
    b[30] = 0xFE;
    b[31] = 0xFF;  // strictness -2, little-endian
    const auto s = decodeRhythmSetup(b);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->meters[0], 1);
    EXPECT_EQ(s->meters[13], 14);
    EXPECT_EQ(s->reservedAfterMeters[0], 15);
    EXPECT_EQ(s->noteValues[0], 21);
    EXPECT_EQ(s->noteValues[5], 26);
    EXPECT_EQ(s->tempo, 27);
    EXPECT_EQ(s->bars, 28);
    EXPECT_EQ(s->rests, 29);
    EXPECT_EQ(s->errors, 30);
    EXPECT_EQ(s->strictness, -2);
    EXPECT_EQ(s->ties, 33);
    EXPECT_EQ(s->allTriplets, 34);
    EXPECT_EQ(s->dotted, 35);
    EXPECT_EQ(s->reserved35, 36);
    EXPECT_EQ(s->showSecondTime, 37);
    EXPECT_EQ(s->reserved37, 38);
    EXPECT_EQ(s->triplets, 39);
    EXPECT_EQ(s->reservedTail[4], 44);
    EXPECT_EQ(encodeRhythmSetup(*s), b) << "a block read and written back keeps every byte";
}

TEST(RhythmSetup, WrongSizesAreRefused) {
    const std::vector<std::uint8_t> shortBlock(43), longBlock(45);
    EXPECT_FALSE(decodeRhythmSetup(shortBlock));
    EXPECT_FALSE(decodeRhythmSetup(longBlock));
    EXPECT_FALSE(convertOldRhythmSetup(longBlock));
}

TEST(RhythmSetup, TripletBitsFollowTheValueCodes) {
    RhythmSetup s;
    s.triplets = 2 | 16;  // half-note and sixteenth-note triplets
    EXPECT_TRUE(s.tripletChosen(2));
    EXPECT_FALSE(s.tripletChosen(3));
    EXPECT_FALSE(s.tripletChosen(4));
    EXPECT_TRUE(s.tripletChosen(5));
}

TEST(RhythmSetup, OldBlocksMoveUpToTheirNewOffsets) {
    std::vector<std::uint8_t> old(kOldRhythmSetupSize);
    std::iota(old.begin(), old.end(), std::uint8_t{101});  // old byte i holds 101 + i
    const auto s = convertOldRhythmSetup(old);
    ASSERT_TRUE(s);
    const auto b = encodeRhythmSetup(*s);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(b[i], 101 + i) << "meter " << i;
    for (std::size_t i = 6; i < 20; ++i) EXPECT_EQ(b[i], 0) << "new byte " << i;
    for (std::size_t i = 20; i < 44; ++i) EXPECT_EQ(b[i], 101 + i - 14) << "new byte " << i;
}
