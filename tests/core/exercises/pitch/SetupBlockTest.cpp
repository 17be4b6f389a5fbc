// The pitch setup block and the melody block: every field at its offset, and the built-in defaults.
#include "exercises/pitch/MelodySetup.h"
#include "exercises/pitch/SetupBlock.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace kalvintor::pitch;

TEST(SetupBlock, EveryByteIsReadFromItsOffsetAndWrittenBack) {
    std::array<std::uint8_t, kSetupBlockSize> bytes{};
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{100});
    const auto block = decodeSetupBlock(bytes);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->entryEnabled[59], 159);
    EXPECT_EQ(block->playTogether, 160);
    EXPECT_EQ(block->showKeySignature, 163);
    EXPECT_EQ(block->answerModes, 166);
    EXPECT_EQ(block->tonic, 170);
    EXPECT_EQ(block->rootMovement, 171);
    EXPECT_EQ(block->option, 172);
    EXPECT_EQ(block->reserved73[6], 179);
    EXPECT_EQ(block->upperLimit, 180);
    EXPECT_EQ(block->lowerLimit, 181);
    EXPECT_EQ(encodeSetupBlock(*block), bytes);
    EXPECT_FALSE(decodeSetupBlock(std::span(bytes).first(81)));
}

TEST(SetupBlock, OptionByteAndTonicByteReadAsTheDialogWritesThem) {
    SetupBlock block;
    block.option = 242;  // random inversions with the root bass
    EXPECT_EQ(block.inversionMode(), InversionMode::Random);
    EXPECT_TRUE(block.addRootBass());
    EXPECT_EQ(SetupBlock::progressionOption(InversionMode::Random, true), 242);
    EXPECT_EQ(SetupBlock::progressionOption(InversionMode::LastRootPosition, false), 1);
    block.option = 7;  // a low nibble above 2
    EXPECT_EQ(block.inversionMode(), InversionMode::AllRootPosition);
    block.tonic = 33;
    EXPECT_TRUE(block.playTonic());
    EXPECT_EQ(block.tonicStyle(), TonicStyle::Cadence);
    block.tonic = 16;
    EXPECT_FALSE(block.playTonic());
    EXPECT_EQ(block.tonicStyle(), TonicStyle::BaseTones);
}

TEST(SetupBlock, BuiltInDefaultsPerExercise) {
    struct Case {
        PitchExercise exercise;
        std::vector<int> entries;
        int keySignature, toneOnClick, tonic;
    };
    const Case cases[] = {
        {PitchExercise::Chords, {1, 2}, 1, 1, 16},
        {PitchExercise::Inversions, {1, 2, 3, 4, 5, 6}, 1, 1, 16},
        {PitchExercise::Intervals, {1, 5, 8, 13}, 1, 1, 16},
        {PitchExercise::IntervalComparison, {1, 5, 8, 13}, 1, 1, 16},
        {PitchExercise::Scales, {1, 6}, 0, 1, 16},
        {PitchExercise::Progressions, {1, 2}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const auto bytes = encodeSetupBlock(defaultSetupBlock(c.exercise));
        std::vector<int> on;
        for (int e = 1; e <= 60; ++e)
            if (bytes[static_cast<std::size_t>(e - 1)] != 0) on.push_back(e);
        EXPECT_EQ(on, c.entries) << static_cast<int>(c.exercise);
        EXPECT_EQ(bytes[60], 0);
        EXPECT_EQ(bytes[61], 1);
        EXPECT_EQ(bytes[62], 1);
        EXPECT_EQ(bytes[63], c.keySignature);
        EXPECT_EQ(bytes[66], 2);
        EXPECT_EQ(bytes[67], c.toneOnClick);
        EXPECT_EQ(bytes[70], c.tonic);
        EXPECT_EQ(bytes[71], 0);
        EXPECT_EQ(bytes[80], 72);
        EXPECT_EQ(bytes[81], 53);
    }
}

TEST(MelodySetup, FieldsAtTheirOffsetsAndTheDefault) {
    const auto bytes = encodeMelodySetup(defaultMelodySetup());
    const std::array<std::uint8_t, kMelodySetupSize> expected{5, 2, 3, 0,  0, 0,   0, 0, 0, 0, 1, 0, 0,  0, 0,
                                                              0, 0, 1, 17, 0, 130, 0, 0, 0, 0, 0, 0, 72, 60};
    EXPECT_EQ(bytes, expected);

    std::array<std::uint8_t, kMelodySetupSize> mixed{};
    std::iota(mixed.begin(), mixed.end(), std::uint8_t{1});
    const auto melody = decodeMelodySetup(mixed);
    ASSERT_TRUE(melody);
    EXPECT_EQ(melody->keys[0], 5);
    EXPECT_EQ(melody->keys[11], 16);
    EXPECT_EQ(melody->rhythm, 25);
    EXPECT_EQ(melody->reserved25[1], 27);
    EXPECT_EQ(melody->lowerLimit, 29);
    EXPECT_EQ(encodeMelodySetup(*melody), mixed);
    EXPECT_FALSE(decodeMelodySetup(std::span(mixed).first(28)));
}

TEST(MelodySetup, KeysTonicAndTypeRules) {
    MelodySetup m;
    EXPECT_TRUE(m.keyOn(0));
    EXPECT_FALSE(m.keyOn(-6));
    EXPECT_FALSE(m.keyOn(6));
    m.tonic = 33;
    EXPECT_EQ(m.tonicStyle(), TonicStyle::Cadence);
    EXPECT_TRUE(m.playTonic());
    m.tonic = 0;
    EXPECT_FALSE(m.playTonic());
    for (int type : {1, 2, 3, 4, 6}) {
        m.melodyType = static_cast<std::uint8_t>(type);
        EXPECT_TRUE(m.typeIsMode()) << type;
    }
    for (int type : {5, 7, 8, 15, 16}) {
        m.melodyType = static_cast<std::uint8_t>(type);
        EXPECT_TRUE(m.typeIsMinor()) << type;
    }
}
