// Interval comparison: drawing two different intervals, the larger one, and judging once.
#include "PitchFixture.h"

#include "exercises/pitch/IntervalComparison.h"
#include "language/Language.h"

#include <set>

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

using Comparison = SeededClock;

IntervalComparisonState comparisonFor(std::initializer_list<int> entries, int lower, int upper,
                                      bool commonTone) {
    auto block = blockWith(PitchExercise::IntervalComparison, entries, lower, upper);
    block.showKeySignature = commonTone ? 1 : 0;
    IntervalComparisonState state;
    ApplyComparisonSetup(state, block, theory::BuiltInCatalogue(), true);
    return state;
}

}  // namespace

TEST_F(Comparison, TwoDifferentIntervalsFromTheRangeAndTheLargerOneIsRight) {
    auto state = comparisonFor({1, 5, 8, 13}, 55, 67, false);
    ASSERT_EQ(state.items.size(), 4u);
    EXPECT_EQ(state.items[3].name, "8");
    bool differentRoots = false;
    for (int i = 0; i < 500; ++i) {
        ASSERT_TRUE(GenerateComparison(state));
        ASSERT_NE(state.itemA, state.itemB);
        ASSERT_GE(state.notesA[0], 55);
        ASSERT_LT(state.notesA[0], 67);
        ASSERT_LT(state.notesB[0], 67);
        differentRoots = differentRoots || state.notesA[0] != state.notesB[0];
        const int a = state.notesA[1] - state.notesA[0];
        const int b = state.notesB[1] - state.notesB[0];
        ASSERT_EQ(state.rightAnswer, b < a ? ComparisonChoice::A : ComparisonChoice::B);
    }
    EXPECT_TRUE(differentRoots);
}

TEST_F(Comparison, CommonToneAndAnEmptyRange) {
    auto common = comparisonFor({1, 5, 8}, 55, 67, true);
    auto fixed = comparisonFor({1, 5, 8}, 60, 60, false);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(GenerateComparison(common));
        EXPECT_EQ(common.notesA[0], common.notesB[0]);
        ASSERT_TRUE(GenerateComparison(fixed));
        EXPECT_EQ(fixed.notesA[0], 60);
        EXPECT_EQ(fixed.notesB[0], 60);
    }
}

TEST(LargerInterval, EqualSizesCountForB) {
    EXPECT_EQ(LargerInterval({60, 67}, {62, 69}), ComparisonChoice::B);
    EXPECT_EQ(LargerInterval({60, 68}, {62, 69}), ComparisonChoice::A);
    EXPECT_EQ(LargerInterval({60, 64}, {60, 67}), ComparisonChoice::B);
}

TEST_F(Comparison, FewerThanTwoIntervalsAskNothing) {
    auto state = comparisonFor({5}, 55, 67, false);
    EXPECT_FALSE(CanCompare(state));
    EXPECT_FALSE(GenerateComparison(state));
    auto none = comparisonFor({40, 50}, 55, 67, false);  // offered but beyond the 30 or empty
    EXPECT_FALSE(GenerateComparison(none));
}

TEST_F(Comparison, JudgedOnceAndCounted) {
    language::Language language;
    auto state = comparisonFor({1, 13}, 55, 67, false);
    ASSERT_TRUE(GenerateComparison(state));
    const auto right = state.rightAnswer;
    const auto wrong = right == ComparisonChoice::A ? ComparisonChoice::B : ComparisonChoice::A;
    const auto judged = JudgeComparison(state, wrong, language);
    ASSERT_TRUE(judged);
    EXPECT_FALSE(judged->right);
    EXPECT_EQ(judged->label, "Wrong, the other interval is the larger one");
    EXPECT_FALSE(JudgeComparison(state, right, language));
    EXPECT_EQ(state.questionCount, 1);
    EXPECT_EQ(state.correctCount, 0);
    ASSERT_TRUE(GenerateComparison(state));
    EXPECT_TRUE(JudgeComparison(state, state.rightAnswer, language)->right);
    EXPECT_EQ(ScoreGauge(state.correctCount, state.questionCount), 50);
    EXPECT_EQ(ScoreGauge(0, 0), 100);
    EXPECT_EQ(ScoreGauge(2, 3), 67);
}
