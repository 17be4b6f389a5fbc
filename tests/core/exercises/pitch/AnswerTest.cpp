// Entering answer notes, checking them in the three identification modes, and judging.
#include "PitchFixture.h"

#include "exercises/pitch/Answer.h"
#include "language/Language.h"
#include "theory/Spelling.h"

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

QuestionNote note(int pitch, int spell = 0, std::uint8_t value = 0) {
    QuestionNote n;
    n.pitch = pitch;
    n.spellOffset = spell;
    n.noteValue = value;
    return n;
}

// A C major chord (entry 1) asked on middle C, unanswered.
PitchExerciseState askedChord(ExerciseMode mode = ExerciseMode::Chord, int entry = 1,
                              std::vector<QuestionNote> notes = {note(60), note(64), note(67)}) {
    auto exercise = mode == ExerciseMode::Interval ? PitchExercise::Intervals
                    : mode == ExerciseMode::Scale  ? PitchExercise::Scales
                                                   : PitchExercise::Chords;
    auto state = stateFor(mode, blockWith(exercise, {1, 2, 5, 8}, 53, 72));
    state.entry = entry;
    state.notes = std::move(notes);
    state.noteCount = static_cast<int>(state.notes.size());
    state.answered = false;
    return state;
}

void enter(PitchExerciseState& state, std::initializer_list<int> pitches) {
    for (int p : pitches) AddAnswerNote(state, note(p, theory::DefaultSpelling(p, 0)), false, 0);
}

class Answers : public ::testing::Test {
protected:
    language::Language language;
};

}  // namespace

TEST_F(Answers, IdentificationModesCompareOctavesOrShapes) {
    struct Case {
        IdentificationMode mode;
        std::vector<int> answer;
        bool right;
        int matched;
    };
    const Case cases[] = {
        {IdentificationMode::ExactOctave, {60, 64, 67}, true, 3},
        {IdentificationMode::ExactOctave, {72, 76, 79}, false, 0},
        {IdentificationMode::AnyOctave, {72, 76, 79}, true, 3},
        {IdentificationMode::AnyOctave, {48, 64, 79}, true, 3},
        {IdentificationMode::Relative, {62, 66, 69}, true, 3},
        {IdentificationMode::Relative, {62, 66, 70}, false, 2},
        {IdentificationMode::Relative, {62, 65, 70}, false, 0},
    };
    for (const auto& c : cases) {
        auto state = askedChord();
        for (int p : c.answer) AddAnswerNote(state, note(p), false, 0);
        const auto judged = CheckAnswer(state, {c.mode, false}, language);
        ASSERT_TRUE(judged);
        EXPECT_EQ(judged->right, c.right) << static_cast<int>(c.mode) << " " << c.answer[0];
        EXPECT_EQ(state.correctCount, c.right ? 1 : 0);
        EXPECT_EQ(state.questionCount, 1);
        EXPECT_EQ(judged->greenEntry, 1);
    }
}

TEST_F(Answers, AOneNoteQuestionAlwaysNeedsTheExactPitch) {
    auto state = askedChord(ExerciseMode::Chord, 1, {note(60)});
    enter(state, {72});
    const auto judged = CheckAnswer(state, {IdentificationMode::Relative, false}, language);
    ASSERT_TRUE(judged);
    EXPECT_FALSE(judged->right);
}

TEST_F(Answers, NamingTheRightEntryWithNoNotesCountsAsRightOncePerQuestion) {
    auto state = askedChord();
    const auto outcome = PreviewAnswer(state, 1, true, {}, theory::BuiltInCatalogue(), language);
    ASSERT_TRUE(outcome.judgement);
    EXPECT_TRUE(outcome.judgement->right);
    EXPECT_EQ(outcome.judgement->label, "Correct: C Major");
    EXPECT_EQ(state.row(1).asked, 1);
    EXPECT_EQ(state.row(1).right, 1);
    EXPECT_EQ(state.answer.notes.size(), 3u);  // the named chord is shown
    EXPECT_FALSE(JudgeAnswer(state, 1, -1, {}, language));
    EXPECT_FALSE(CheckAnswer(state, {}, language));
    EXPECT_EQ(state.questionCount, 1);
}

TEST_F(Answers, NamingAnotherEntryIsWrongAndNamesIt) {
    auto state = askedChord();
    const auto preview = PreviewAnswer(state, 2, false, {}, theory::BuiltInCatalogue(), language);
    EXPECT_FALSE(preview.judgement);
    ASSERT_EQ(state.answer.notes.size(), 3u);
    EXPECT_EQ(state.answer.notes[1].pitch, 63);
    EXPECT_EQ(state.answer.notes[1].spellOffset, 1);  // E flat
    const auto judged = JudgeAnswer(state, 2, -1, {}, language);
    ASSERT_TRUE(judged);
    EXPECT_EQ(judged->label, "Wrong, you answered C Minor");
    EXPECT_EQ(judged->redEntry, 2);
    EXPECT_EQ(state.row(1).asked, 1);
    EXPECT_EQ(state.row(1).right, 0);
}

TEST_F(Answers, AutoAnswerJudgesARightChoiceAtOnce) {
    auto state = askedChord();
    state.options.autoAnswer = true;
    EXPECT_FALSE(PreviewAnswer(state, 2, false, {}, theory::BuiltInCatalogue(), language).judgement);
    EXPECT_TRUE(PreviewAnswer(state, 1, false, {}, theory::BuiltInCatalogue(), language).judgement);
}

TEST_F(Answers, DuplicateLimitsPerMode) {
    auto chord = askedChord();
    enter(chord, {60, 60, 64});
    EXPECT_EQ(chord.answer.notes.size(), 2u);

    auto interval = askedChord(ExerciseMode::Interval, 1, {note(60), note(60)});
    enter(interval, {60, 60, 60});
    ASSERT_EQ(interval.answer.notes.size(), 2u);
    EXPECT_EQ(interval.answer.notes[1].equalBefore, 1);

    PitchExerciseState melody;
    melody.mode = ExerciseMode::Melody;
    melody.answered = false;
    for (int i = 0; i < 7; ++i) AddAnswerNote(melody, note(64), false, 0);
    EXPECT_EQ(melody.answer.notes.size(), 5u);

    auto full = askedChord(ExerciseMode::Scale, 1, {});
    for (int p = 60; p < 80; ++p) AddAnswerNote(full, note(p), false, 0);
    EXPECT_EQ(full.answer.notes.size(), 12u);
}

TEST_F(Answers, ChordsAreKeptInPitchOrderAndScalesInEntryOrder) {
    auto chord = askedChord();
    enter(chord, {67, 60, 64});
    EXPECT_EQ(chord.answer.notes[0].pitch, 60);
    EXPECT_EQ(chord.answer.notes[2].pitch, 67);
    auto scale = askedChord(ExerciseMode::Scale, 1, {note(72), note(71)});
    enter(scale, {72, 71});
    EXPECT_EQ(scale.answer.notes[0].pitch, 72);
    AddAnswerNote(scale, note(69), false, 1);
    EXPECT_EQ(scale.answer.notes[0].pitch, 69);
}

TEST_F(Answers, TheShownFirstToneCannotBeRemovedWhileItOccursOnce) {
    auto state = askedChord(ExerciseMode::Interval, 1, {note(60), note(60)});
    state.firstTonePitch = 60;
    enter(state, {60});
    EXPECT_FALSE(AddAnswerNote(state, note(60), true, 0).changed);
    enter(state, {60});
    EXPECT_TRUE(AddAnswerNote(state, note(60), true, 0).changed);
    EXPECT_EQ(state.answer.notes.size(), 1u);
    EXPECT_FALSE(AddAnswerNote(state, note(0), true, 1).changed);
}

TEST_F(Answers, AutoAnswerChecksWhenEveryNoteIsInPlace) {
    auto state = askedChord();
    state.options.autoAnswer = true;
    EXPECT_FALSE(AddAnswerNote(state, note(60), false, 0).checkNow);
    EXPECT_FALSE(AddAnswerNote(state, note(67), false, 0).checkNow);
    EXPECT_TRUE(AddAnswerNote(state, note(64), false, 0).checkNow);
}

TEST_F(Answers, AWrongAnswerIsJudgedAsTheEntryItForms) {
    auto state = askedChord();
    enter(state, {60, 63, 67});
    EXPECT_EQ(FindFormedEntry(state), 2);
    EXPECT_EQ(AnswerLabel(state, language), "C   Eb   G   =  Minor (right-click a name to answer)");
    const auto judged = CheckAnswer(state, {}, language);
    ASSERT_TRUE(judged);
    EXPECT_EQ(judged->redEntry, 2);
    EXPECT_EQ(judged->display.size(), 6u);
    EXPECT_EQ(judged->display[2].endMark, kEndOfQuestion);

    auto nothing = askedChord();
    enter(nothing, {60, 61});
    EXPECT_EQ(FindFormedEntry(nothing), 0);
    const auto wrong = CheckAnswer(nothing, {}, language);
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->label, "Wrong");
}

TEST_F(Answers, TheSpellingRemarkNeedsTheNotesheetAndFixedPitches) {
    struct Case {
        bool notesheet;
        IdentificationMode mode;
        bool remark;
    };
    const Case cases[] = {{true, IdentificationMode::ExactOctave, true},
                          {false, IdentificationMode::ExactOctave, false},
                          {true, IdentificationMode::Relative, false}};
    for (const auto& c : cases) {
        auto state = askedChord(ExerciseMode::Chord, 2, {note(60), note(63, 1), note(67)});
        AddAnswerNote(state, note(60), false, 0);
        AddAnswerNote(state, note(63, -1), false, 0);  // D sharp for E flat
        AddAnswerNote(state, note(67), false, 0);
        const auto judged = CheckAnswer(state, {c.mode, c.notesheet}, language);
        ASSERT_TRUE(judged);
        EXPECT_TRUE(judged->right);
        EXPECT_EQ(judged->label.find("mind the spelling") != std::string::npos, c.remark);
    }
}

TEST_F(Answers, MelodiesCountNotesButNotTheShownFirstToneOrWrongRhythm) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Melody;
    state.options.rhythm = true;
    state.notes = {note(60, 0, kHalfNote), note(62, 0, kQuarterNote), note(64, 0, kQuarterNote),
                   note(65, 0, kWholeNote)};
    state.noteCount = 4;
    state.answered = false;
    state.firstTonePitch = 60;
    AddAnswerNote(state, note(60, 0, kHalfNote), false, 0);
    AddAnswerNote(state, note(62, 0, kQuarterNote), false, 0);
    AddAnswerNote(state, note(64, 0, kHalfNote), false, 0);  // right pitch, wrong value
    AddAnswerNote(state, note(65, 0, kWholeNote), false, 0);
    const auto judged = CheckAnswer(state, {IdentificationMode::AnyOctave, true}, language);
    ASSERT_TRUE(judged);
    EXPECT_FALSE(judged->right);
    EXPECT_EQ(judged->label, "2 of 3 notes right");
    EXPECT_EQ(state.questionCount, 3);
    EXPECT_EQ(state.correctCount, 2);
}

TEST_F(Answers, NoteValueToolsFollowThePlaceInTheBar) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Melody;
    state.options.rhythm = true;
    EXPECT_TRUE(AllowedNoteValues(state).whole);
    AddAnswerNote(state, note(60, 0, kQuarterNote), false, 0);
    EXPECT_FALSE(AllowedNoteValues(state).whole);
    EXPECT_TRUE(AllowedNoteValues(state).half);
    AddAnswerNote(state, note(62, 0, kHalfNote), false, 0);
    EXPECT_FALSE(AllowedNoteValues(state).half);
    AddAnswerNote(state, note(64, 0, kQuarterNote), false, 0);
    EXPECT_EQ(state.answer.notes[1].endMark, 0);
    EXPECT_EQ(state.answer.notes[2].endMark, kEndOfChord);
    EXPECT_TRUE(AllowedNoteValues(state).whole);
}

TEST(FormatNumbers, FillsPlaceholdersInOrder) {
    EXPECT_EQ(FormatNumbers("%d of %d", {3, 5}), "3 of 5");
    EXPECT_EQ(FormatNumbers("%d%% and %d and %d", {1, 2}), "1%% and 2 and %d");
}

TEST_F(Answers, InversionsAreNamedByTheirChordRootAndSpelledInItsKey) {
    // The first inversion of C major on E; the second inversion named instead lies on A.
    auto state = stateFor(ExerciseMode::Inversion, blockWith(PitchExercise::Inversions, {1, 2, 3}, 53, 72));
    state.entry = 2;
    state.notes = {note(64), note(67), note(72)};
    state.noteCount = 3;
    state.answered = false;
    PreviewAnswer(state, 3, false, {}, theory::BuiltInCatalogue(), language);
    ASSERT_EQ(state.answer.notes.size(), 3u);
    EXPECT_EQ(state.answer.notes[0].pitch, 64);
    EXPECT_EQ(state.answer.notes[2].pitch, 73);
    EXPECT_EQ(state.answer.notes[2].spellOffset, -1);  // C sharp in A major
    const auto judged = JudgeAnswer(state, 3, -1, {}, language);
    ASSERT_TRUE(judged);
    EXPECT_EQ(judged->label, "Wrong, you answered A Major 2.inv");
}

TEST_F(Answers, AFallingScaleIsAnsweredFromItsTopNote) {
    auto block = blockWith(PitchExercise::Scales, {1, 6}, 60, 61);
    block.arpeggioUp = 0;
    auto state = stateFor(ExerciseMode::Scale, block);
    app::SetRandomizeClock([] { return std::uint64_t{3}; });
    ASSERT_EQ(NewQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    app::SetRandomizeClock(nullptr);
    ASSERT_TRUE(state.reversed);
    const auto outcome = PreviewAnswer(state, state.entry, false, {}, theory::BuiltInCatalogue(), language);
    EXPECT_FALSE(outcome.judgement);
    EXPECT_EQ(state.answer.notes.front().pitch, state.notes.front().pitch);
    const auto judged = CheckAnswer(state, {IdentificationMode::ExactOctave, true}, language);
    ASSERT_TRUE(judged);
    EXPECT_TRUE(judged->right);
    EXPECT_EQ(judged->label.find("mind the spelling"), std::string::npos);
}
