// Progression questions: major or minor, root spelling, voicing, and answers chord by chord.
#include "PitchFixture.h"

#include "exercises/pitch/Answer.h"
#include "language/Language.h"
#include "theory/Tables.h"

#include <set>

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

using Progressions = SeededClock;

PitchExerciseState progressionState(std::initializer_list<int> entries, int option = 0, int movement = 11) {
    auto block = blockWith(PitchExercise::Progressions, entries, 60, 72, movement);
    block.option = static_cast<std::uint8_t>(option);
    return stateFor(ExerciseMode::Progression, block);
}

std::vector<QuestionNote> chords(std::initializer_list<std::pair<int, int>> list) {
    std::vector<QuestionNote> result;
    for (const auto& [root, type] : list) {
        QuestionNote chord;
        chord.pitch = root;
        chord.extra = static_cast<std::uint8_t>(type);
        result.push_back(chord);
    }
    return result;
}

std::vector<int> pitchesOf(const std::vector<QuestionNote>& notes) {
    std::vector<int> result;
    for (const auto& n : notes) result.push_back(n.pitch);
    return result;
}

}  // namespace

TEST_F(Progressions, ATwoChordQuestionLeavesOnlyTwoChordAnswers) {
    auto state = progressionState({1, 8, 17, 33});
    for (int i = 0; i < 30; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        for (std::size_t b = 0; b < state.enabledList.size(); ++b)
            EXPECT_EQ(state.answerButtonEnabled[b], state.row(state.enabledList[b]).count == state.noteCount);
        EXPECT_EQ(state.answer.chords.size(), state.chords.size());
        EXPECT_EQ(state.answer.chords.back().endMark, kEndOfQuestion);
        for (const auto& chord : state.chords)
            EXPECT_TRUE(chord.guitarString == 21 || chord.guitarString == 22);
    }
    EXPECT_TRUE(state.chordTypeButtonShown[0]);
    EXPECT_TRUE(state.chordTypeButtonShown[1]);
    EXPECT_FALSE(state.chordTypeButtonShown[6]);
}

TEST_F(Progressions, TheChordsDecideBetweenMajorAndMinor) {
    struct Case {
        int entry;
        bool minor;
        int keySig;
    };
    const Case cases[] = {{1, false, 0},  {2, true, -3},  {29, false, 0}, {30, true, -3},
                          {26, false, 0}, {35, true, -3}, {10, false, 0}, {20, true, -3}};
    for (const auto& c : cases) {
        auto state = progressionState({c.entry});
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        EXPECT_EQ(state.key.minor, c.minor) << "entry " << c.entry;
        EXPECT_EQ(state.key.keySig, c.keySig) << "entry " << c.entry;
    }
}

TEST_F(Progressions, ChromaticRootsAreSpelledAsFlats) {
    auto state = progressionState({27}, 0, 13);  // bII 7(b5) - I maj7 on D
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    ASSERT_EQ(state.chords.size(), 2u);
    EXPECT_EQ(state.chords[0].pitch, 63);
    EXPECT_EQ(state.chords[0].spellOffset, 1);  // E flat
    EXPECT_EQ(state.chords[1].pitch, 62);
    EXPECT_EQ(state.chords[1].spellOffset, 0);
}

TEST(VoiceProgression, RootPositionLastChordInRootPositionAndAddedBass) {
    const auto& types = theory::BuiltInCatalogue().chordTypes();
    const KeyContext c{0, false, 0};
    const auto fifthToOne = chords({{67, 0}, {60, 0}});

    const auto plain = VoiceProgression(fifthToOne, InversionMode::AllRootPosition, false, 0, 60, c, types);
    EXPECT_EQ(pitchesOf(plain.notes), (std::vector<int>{67, 71, 74, 60, 64, 67}));
    EXPECT_EQ(plain.chordStarts, (std::vector<int>{0, 3}));
    EXPECT_EQ(plain.notes[2].endMark, kEndOfChord);
    EXPECT_EQ(plain.notes[5].endMark, kEndOfQuestion);

    const auto last = VoiceProgression(fifthToOne, InversionMode::LastRootPosition, false, 0, 60, c, types);
    EXPECT_EQ(last.anchor, 67);
    EXPECT_EQ(pitchesOf(last.notes), (std::vector<int>{59, 62, 67, 60, 64, 67}));

    const auto bass = VoiceProgression(fifthToOne, InversionMode::LastRootPosition, true, 0, 60, c, types);
    EXPECT_EQ(pitchesOf(bass.notes), (std::vector<int>{43, 59, 62, 67, 48, 60, 64, 67}));
    EXPECT_EQ(bass.notes[0].addedBass, 1);
    EXPECT_EQ(bass.notes[4].addedBass, 1);
    EXPECT_EQ(bass.chordStarts, (std::vector<int>{0, 4}));

    // A placeholder for a chord not chosen yet.
    const auto open =
        VoiceProgression(chords({{0, 15}, {60, 0}}), InversionMode::AllRootPosition, false, 0, 60, c, types);
    EXPECT_EQ(pitchesOf(open.notes), (std::vector<int>{0, 60, 64, 67}));
}

TEST(VoiceProgression, RandomInversionsKeepOneTopVoice) {
    const auto& types = theory::BuiltInCatalogue().chordTypes();
    const KeyContext c{0, false, 0};
    const auto progression = chords({{60, 0}, {69, 1}, {65, 0}, {67, 6}, {60, 0}});
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        app::SeedRandom(seed);
        const auto voiced = VoiceProgression(progression, InversionMode::Random, false, 0, 60, c, types);
        ASSERT_EQ(voiced.chordStarts.size(), 5u);
        for (std::size_t s = 0; s < 5; ++s) {
            const auto end =
                s + 1 < 5 ? static_cast<std::size_t>(voiced.chordStarts[s + 1]) : voiced.notes.size();
            const int top = voiced.notes[end - 1].pitch;
            EXPECT_LE(std::abs(top - voiced.anchor), 2) << "seed " << seed << " chord " << s;
            for (auto k = static_cast<std::size_t>(voiced.chordStarts[s]); k + 1 < end; ++k)
                EXPECT_LT(voiced.notes[k].pitch, voiced.notes[k + 1].pitch);
        }
    }
}

TEST(VoiceProgression, NinthChordsStillEndOnTheAnchorAndTheClusterIsThinned) {
    const auto& types = theory::BuiltInCatalogue().chordTypes();
    const KeyContext c{0, false, 0};
    // A seventh with a flat ninth (wider than an octave) turned to have its root on top.
    const auto ninth = VoiceProgression(chords({{60, 23}}), InversionMode::Random, false, 72, 60, c, types);
    EXPECT_EQ(pitchesOf(ninth.notes), (std::vector<int>{61, 64, 67, 70, 72}));
    // Minor with major seventh and ninth: the ninth a semitone under the minor third goes.
    const auto thinned = VoiceProgression(chords({{60, 21}}), InversionMode::Random, false, 72, 60, c, types);
    EXPECT_EQ(pitchesOf(thinned.notes), (std::vector<int>{62, 67, 71, 72}));
}

TEST(VoiceProgression, BassesMostlyAboveMiddleCAreDrawnWithTheChords) {
    const auto& types = theory::BuiltInCatalogue().chordTypes();
    const auto high =
        VoiceProgression(chords({{84, 0}, {91, 0}}), InversionMode::AllRootPosition, true, 0, 84, {}, types);
    for (const auto& n : high.notes) EXPECT_EQ(n.addedBass, 0);
    EXPECT_EQ(high.notes.front().pitch, 72);
}

TEST(VoiceProgression, NeverMoreThanThirtySixNotes) {
    const auto& types = theory::BuiltInCatalogue().chordTypes();
    std::vector<QuestionNote> twelve = chords({{60, 19}});  // six-note chords, with the bass seven
    twelve.resize(12, twelve.front());
    const auto voiced = VoiceProgression(twelve, InversionMode::AllRootPosition, true, 0, 60, {}, types);
    EXPECT_LE(voiced.notes.size(), 36u);
    EXPECT_EQ(voiced.notes.back().endMark, kEndOfQuestion);
    EXPECT_EQ(voiced.chordStarts.size(), 5u);
}

TEST_F(Progressions, AnswersChordByChordWithTheTriadTheKeySuggests) {
    auto state = progressionState({10}, 0, 11);  // II mi - V - I on C
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    state.answered = false;
    state.options.autoAnswer = true;
    const auto& catalogue = theory::BuiltInCatalogue();
    EXPECT_EQ(DefaultTriad(state, 62), 1);
    EXPECT_EQ(DefaultTriad(state, 71), 2);
    EXPECT_EQ(DefaultTriad(state, 67), 0);

    EXPECT_FALSE(SetAnswerChordRoot(state, 50, false, catalogue));  // D in any octave
    EXPECT_EQ(state.answer.chords[0].pitch, 62);
    EXPECT_EQ(state.answer.chords[0].extra, 1);
    EXPECT_EQ(state.answer.currentChord, 1);
    EXPECT_FALSE(SetAnswerChordRoot(state, 79, false, catalogue));
    EXPECT_EQ(state.answer.chords[1].pitch, 67);
    EXPECT_EQ(state.answer.currentChord, 2);
    EXPECT_FALSE(SetAnswerChordType(state, 6, catalogue));  // a seventh chosen first for the last chord
    EXPECT_EQ(state.answer.chords[2].extra, 6);
    EXPECT_FALSE(SetAnswerChordRoot(state, 72, false, catalogue));  // keeps the chosen type: wrong
    EXPECT_EQ(state.answer.chords[2].pitch, 60);
    EXPECT_TRUE(SetAnswerChordType(state, 0, catalogue));  // all three match: auto answer

    language::Language language;
    const auto judged = CheckAnswer(state, {}, language);
    ASSERT_TRUE(judged);
    EXPECT_TRUE(judged->right);
    EXPECT_EQ(state.correctCount, 1);
}

TEST_F(Progressions, RemovingAChordAndAMinorKeysTriads) {
    auto state = progressionState({2}, 0, 11);  // V - I mi
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    state.answered = false;
    const auto& catalogue = theory::BuiltInCatalogue();
    EXPECT_EQ(DefaultTriad(state, 60), 1);
    EXPECT_EQ(DefaultTriad(state, 62), 2);
    EXPECT_EQ(DefaultTriad(state, 67), 0);
    SetAnswerChordRoot(state, 67, false, catalogue);
    SetAnswerChordRoot(state, 67, true, catalogue);
    EXPECT_EQ(state.answer.chords[0].pitch, 0);
    EXPECT_EQ(state.answer.chords[0].extra, kNoChordType);

    language::Language language;
    const auto judged = CheckAnswer(state, {}, language);
    ASSERT_TRUE(judged);
    EXPECT_FALSE(judged->right);
    EXPECT_EQ(judged->label, "Wrong");
    EXPECT_EQ(state.questionCount, 1);
}
