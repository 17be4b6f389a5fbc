// The rhythm setup view's rules: every chosen meter stays fillable by the chosen values.
#include "exercises/rhythm/ChoiceRules.h"

#include <gtest/gtest.h>

using namespace kalvintor::rhythm;

namespace {

constexpr std::size_t kThreeEight = 4;  // index of 3/8 among the meter buttons
constexpr std::size_t kFourFour = 3;

ChoiceButtons only(std::size_t meter, std::initializer_list<std::size_t> values) {
    ChoiceButtons b;
    b.meters[meter] = true;
    for (auto v : values) b.values[v] = true;
    return b;
}

}  // namespace

TEST(ChoiceRules, ReleasingTheOnlyMeterPutsFourFourDown) {
    ChoiceButtons b = only(kThreeEight, {2});
    b.meters[kThreeEight] = false;
    ApplyMeterRule(b);
    EXPECT_TRUE(b.meters[kFourFour]);
}

TEST(ChoiceRules, ThreeEightReleasesAndDisablesTheValuesLongerThanItsBar) {
    ChoiceButtons b = only(kFourFour, {0, 1, 2});
    b.triplets = {true, true, true, true};
    b.meters[kThreeEight] = true;
    ApplyMeterRule(b);
    // Whole and half notes and the half- and quarter-note triplets (lengths 32, 16) cannot fill 12.
    // The sixteenth-note triplet (4) divides 12: no eighth note is added.
    EXPECT_EQ(b.values, (std::array<bool, 6>{false, false, true, false, false, false}));
    EXPECT_EQ(b.valueEnabled, (std::array<bool, 6>{false, false, true, true, true, true}));
    EXPECT_EQ(b.triplets, (std::array<bool, 4>{false, false, true, true}));
    EXPECT_EQ(b.tripletEnabled, (std::array<bool, 4>{false, false, true, true}));
}

TEST(ChoiceRules, AMeterTheShortestValueCannotFillGetsTheEighthUnlessADottedValueFillsIt) {
    // Quarters only, 3/8 added: the eighth note is put down ...
    ChoiceButtons b = only(kFourFour, {2});
    b.meters[kThreeEight] = true;
    ApplyMeterRule(b);
    EXPECT_TRUE(b.values[kEighthButton]);
    // ... but with dotted notes the dotted quarter (12) fills the bar.
    ChoiceButtons dotted = only(kFourFour, {2});
    dotted.dotted = true;
    dotted.meters[kThreeEight] = true;
    ApplyMeterRule(dotted);
    EXPECT_FALSE(dotted.values[kEighthButton]);
}

TEST(ChoiceRules, ReleasingTheLastValuePutsTheEighthDownOrTheQuarterWhenTheEighthWasReleased) {
    ChoiceButtons b = only(kFourFour, {});
    ApplyValueRule(b, false);
    EXPECT_TRUE(b.values[kEighthButton]);
    ChoiceButtons e = only(kFourFour, {});
    ApplyValueRule(e, true);
    EXPECT_TRUE(e.values[kQuarterButton]);
    EXPECT_FALSE(e.values[kEighthButton]);
}

TEST(ChoiceRules, AnOldAllTripletsBlockShowsEveryTripletAndStoresTheirBits) {
    RhythmSetup block = defaultRhythmSetup(RhythmExercise::Imitation);
    block.allTriplets = 1;
    ChoiceButtons b = ButtonsFromSetup(block);
    EXPECT_EQ(b.triplets, (std::array<bool, 4>{true, true, true, true}));
    StoreButtons(b, block);
    EXPECT_EQ(block.allTriplets, 0);
    EXPECT_EQ(block.triplets, 0b11110);
    EXPECT_EQ(ButtonsFromSetup(block).values, b.values);
}
