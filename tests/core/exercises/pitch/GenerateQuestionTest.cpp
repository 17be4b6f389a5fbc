// Drawing roots and entries, key context, spelling and guitar strings of generated questions.
#include "PitchFixture.h"

#include "theory/Tables.h"

#include <set>

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

std::vector<int> pitchesOf(const std::vector<QuestionNote>& notes) {
    std::vector<int> result;
    for (const auto& n : notes) result.push_back(n.pitch);
    return result;
}

std::vector<int> spellingsOf(const std::vector<QuestionNote>& notes) {
    std::vector<int> result;
    for (const auto& n : notes) result.push_back(n.spellOffset);
    return result;
}

using Generation = SeededClock;

}  // namespace

TEST_F(Generation, RandomRootsStayBelowTheUpperLimitNeverRepeatAndUseOnlyOfferedEntries) {
    // Major-type entries starting on C keep the drawn root as it is.
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1, 7, 9}, 55, 67));
    std::set<int> roots;
    std::set<int> entries;
    int previousRoot = 0;
    int previousEntry = 0;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        ASSERT_GE(state.root, 55);
        ASSERT_LT(state.root, 67);
        ASSERT_FALSE(state.root == previousRoot && state.entry == previousEntry) << "question " << i;
        ASSERT_EQ(state.notes.size(), static_cast<std::size_t>(state.row(state.entry).count));
        ASSERT_EQ(state.notes.front().pitch, state.root);
        roots.insert(state.root);
        entries.insert(state.entry);
        previousRoot = state.root;
        previousEntry = state.entry;
    }
    EXPECT_EQ(roots.size(), 12u);
    EXPECT_EQ(entries, (std::set<int>{1, 7, 9}));
}

TEST_F(Generation, EveryCyclicMovementVisitsAllTwelveRootsInsideItsRange) {
    for (int movement = root_movement::kFifthUp; movement <= root_movement::kSecondDown; ++movement) {
        auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 53, 72, movement));
        std::set<int> pitchClasses;
        for (int i = 0; i < 12; ++i) {
            ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
            ASSERT_GE(state.root, state.rootRange.lowest) << "movement " << movement;
            ASSERT_LE(state.root, state.rootRange.lowest + state.rootRange.size) << "movement " << movement;
            pitchClasses.insert(state.root % 12);
        }
        EXPECT_EQ(pitchClasses.size(), 12u) << "movement " << movement;
    }
}

TEST(NextCyclicRoot, FoldsIntoTheRangeAndStartsAtItsEdge) {
    const RootRange range{60, 12};
    int root = 60;
    std::vector<int> fifths;
    for (int i = 0; i < 6; ++i) fifths.push_back(root = NextCyclicRoot(root, root_movement::kFifthUp, range));
    EXPECT_EQ(fifths, (std::vector<int>{67, 62, 69, 64, 71, 66}));
    EXPECT_EQ(NextCyclicRoot(0, root_movement::kFifthUp, range), 60);
    EXPECT_EQ(NextCyclicRoot(0, root_movement::kSecondDown, range), 72);
    EXPECT_EQ(NextCyclicRoot(61, root_movement::kFifthDown, range), 66);
    EXPECT_EQ(NextCyclicRoot(69, root_movement::kMinorThirdUp, range), 61);  // +4 after A, folded
    EXPECT_EQ(NextCyclicRoot(61, root_movement::kSecondDown, range), 60);    // -1 after C sharp
    EXPECT_EQ(NextCyclicRoot(60, root_movement::kSecondDown, range), 70);    // folded into the top octave
}

TEST_F(Generation, AMinorChordOnCSoundsOnAWithTheCMajorSignature) {
    auto state = stateFor(ExerciseMode::Chord,
                          blockWith(PitchExercise::Chords, {2}, 60, 72, root_movement::kSameKeyZero));
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        EXPECT_EQ(pitchesOf(state.notes), (std::vector<int>{69, 72, 76}));
        EXPECT_EQ(spellingsOf(state.notes), (std::vector<int>{0, 0, 0}));
        EXPECT_EQ(state.key, (KeyContext{0, true, -3}));
    }
}

TEST_F(Generation, ChordsAreSpelledInTheKeyOfTheirRoot) {
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1, 8}, 60, 72, 13));  // D
    std::set<int> seen;
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        seen.insert(state.entry);
        if (state.entry == 1) {
            EXPECT_EQ(pitchesOf(state.notes), (std::vector<int>{62, 66, 69}));
            EXPECT_EQ(spellingsOf(state.notes), (std::vector<int>{0, -1, 0}));
            EXPECT_EQ(state.key.keySig, 2);
        } else {
            // D minor seventh: same tone keeps the root, the key is F major.
            EXPECT_EQ(pitchesOf(state.notes), (std::vector<int>{62, 65, 69, 72}));
            EXPECT_EQ(spellingsOf(state.notes), (std::vector<int>{0, 0, 0, 0}));
            EXPECT_EQ(state.key, (KeyContext{-1, true, -3}));
        }
    }
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Generation, AFallingIntervalSoundsFromTheDrawnRootDownwards) {
    auto block = blockWith(PitchExercise::Intervals, {5}, 60, 72, root_movement::kFirstSameTone);
    block.arpeggioUp = 0;
    block.showFirstTone = 1;
    block.tonic = 0;
    auto state = stateFor(ExerciseMode::Interval, block);
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    EXPECT_EQ(state.style, PlayStyle::DownHeld);
    EXPECT_EQ(pitchesOf(state.notes), (std::vector<int>{68, 72}));
    EXPECT_EQ(spellingsOf(state.notes), (std::vector<int>{1, 0}));  // A flat below C
    EXPECT_EQ(state.firstTonePitch, 72);
    ASSERT_EQ(state.answer.notes.size(), 1u);
    EXPECT_EQ(state.answer.notes.front().pitch, 72);
}

TEST_F(Generation, DiatonicRootsPlaceTheIntervalOnADegreeOfTheKey) {
    auto block = blockWith(PitchExercise::Intervals, {2}, 60, 72, root_movement::kFirstSameTone);
    block.option = 1;
    auto state = stateFor(ExerciseMode::Interval, block);
    EXPECT_TRUE(state.solfege);
    std::set<int> lower;
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        lower.insert(state.notes.front().pitch % 12);
    }
    EXPECT_EQ(lower, (std::set<int>{4, 11}));  // the minor seconds of C major: E-F and B-C
}

TEST_F(Generation, NewQuestionOpensTheQuestionAndClearsTheAnswer) {
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 60, 72));
    state.answer.notes.push_back(QuestionNote{50});
    ASSERT_TRUE(state.answered);
    ASSERT_EQ(NewQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    EXPECT_FALSE(state.answered);
    EXPECT_TRUE(state.answer.notes.empty());
    auto none = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {}, 60, 72));
    EXPECT_EQ(NewQuestion(none, theory::BuiltInCatalogue()), GenerateResult::NothingToAsk);
    EXPECT_TRUE(none.answered);
}

TEST_F(Generation, ARangeOfOneRootAllowsRepeats) {
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 60, 61));
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        EXPECT_EQ(state.root, 60);
    }
}

TEST_F(Generation, BrokenSetupsNeverHangOrReadOutsideATable) {
    // Unknown root movement: random.
    auto wild = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 60, 72, 99));
    EXPECT_EQ(wild.options.rootMovement, root_movement::kRandom);
    EXPECT_EQ(GenerateQuestion(wild, theory::BuiltInCatalogue()), GenerateResult::Generated);

    // Limits upside down: every root is the lower limit.
    for (int movement : {0, 3, 14, 30}) {
        auto upside =
            stateFor(ExerciseMode::Interval, blockWith(PitchExercise::Intervals, {8}, 80, 40, movement));
        for (int i = 0; i < 30; ++i)
            ASSERT_EQ(GenerateQuestion(upside, theory::BuiltInCatalogue()), GenerateResult::Generated);
        EXPECT_GE(upside.rootRange.size, 0);
    }

    // Nothing offered, or only an empty entry: nothing to ask.
    auto none = stateFor(ExerciseMode::Scale, blockWith(PitchExercise::Scales, {}, 60, 72));
    EXPECT_EQ(GenerateQuestion(none, theory::BuiltInCatalogue()), GenerateResult::NothingToAsk);
    auto empty = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {40}, 60, 72));
    EXPECT_EQ(GenerateQuestion(empty, theory::BuiltInCatalogue()), GenerateResult::NothingToAsk);

    // A catalogue entry with a stored count beyond 12 is asked with 12 notes.
    auto catalogue = theory::BuiltInCatalogue();
    catalogue.chordTypes().entry(40).count = 200;
    auto big = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {40}, 60, 72), catalogue);
    ASSERT_EQ(GenerateQuestion(big, catalogue), GenerateResult::Generated);
    EXPECT_EQ(big.notes.size(), 12u);
}

TEST_F(Generation, FallingScalesAreStoredTopDownAndPlayedUpwards) {
    auto block = blockWith(PitchExercise::Scales, {1}, 60, 61);
    block.arpeggioUp = 0;
    auto state = stateFor(ExerciseMode::Scale, block);
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    EXPECT_TRUE(state.reversed);
    EXPECT_EQ(state.style, PlayStyle::Up);
    EXPECT_EQ(pitchesOf(state.notes), (std::vector<int>{72, 71, 69, 67, 65, 64, 62, 60}));
}

TEST(DisplayShift, WholeOctavesIntoTheInputRange) {
    EXPECT_EQ(DisplayShiftFor(96, 80, 36, 95), 12);
    EXPECT_EQ(DisplayShiftFor(108, 80, 36, 95), 24);
    EXPECT_EQ(DisplayShiftFor(50, 35, 36, 95), -12);
    EXPECT_EQ(DisplayShiftFor(50, 23, 36, 95), -24);
    EXPECT_EQ(DisplayShiftFor(72, 48, 36, 95), 0);
}

TEST(GuitarStrings, NotesSharingAStringMoveDownWhereTheFretsAllow) {
    std::vector<QuestionNote> notes(2);
    notes[0].pitch = 62;
    notes[1].pitch = 64;
    AssignQuestionStrings(notes, 0);
    EXPECT_EQ(notes[0].guitarString, 4);
    EXPECT_EQ(notes[1].guitarString, 4);
    SpreadGuitarStrings(notes, 0, 1);
    EXPECT_EQ(notes[0].guitarString, 5);
    EXPECT_EQ(notes[1].guitarString, 4);

    // Beyond the frets shown on the next string the note stays; a wider guitar shows more frets.
    std::vector<QuestionNote> high(2);
    high[0].pitch = 84;
    high[1].pitch = 85;
    AssignQuestionStrings(high, 0);
    EXPECT_EQ(high[0].guitarString, 1);
    SpreadGuitarStrings(high, 0, 1);
    EXPECT_EQ(high[0].guitarString, 1);
    SpreadGuitarStrings(high, 0, 2);
    EXPECT_EQ(high[0].guitarString, 2);
}
