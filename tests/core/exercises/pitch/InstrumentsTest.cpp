// The screen piano and guitar, MIDI keys and the microphone turning input into answer notes.
#include "PitchFixture.h"

#include "exercises/pitch/Instruments.h"

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

TEST(Piano, KeysUnderTheMouse) {
    struct Case {
        int x;
        bool black;
        int pitch;
    };
    const Case cases[] = {
        {0, false, 41},  {20, false, 41},  {21, false, 43}, {15, true, 42}, {15, false, 41}, {80, true, 47},
        {100, true, 49}, {154, false, 53}, {160, true, 53}, {5, true, 41},  {147, true, 52},
    };
    for (const auto& c : cases) EXPECT_EQ(PianoPitchAt(c.x, c.black, 4), c.pitch) << c.x << " " << c.black;
    EXPECT_EQ(PianoHighestKey(4), 88);
    EXPECT_EQ(PianoPitchAt(4 * 154 + 2, false, 4), std::nullopt);  // F 89: beyond four octaves
    EXPECT_EQ(PianoPitchAt(4 * 154 + 2, false, 5), 89);
    EXPECT_EQ(PianoPitchAt(-30, false, 4), std::nullopt);
    EXPECT_EQ(PianoOctaves(500), 4);
    EXPECT_EQ(PianoOctaves(10 + 5 * 154), 5);
    EXPECT_EQ(PianoOctaves(5000), 6);
}

TEST(Guitar, StringAndFretUnderTheMouse) {
    std::vector<int> lines;
    for (int i = 0; i < kGuitarFretLines; ++i) lines.push_back(95 + 30 * i);
    EXPECT_EQ(GuitarPitchAt(10, 0, 500, 120, lines), 76);
    EXPECT_EQ(GuitarPitchAt(10, 119, 500, 120, lines), 52);
    EXPECT_EQ(GuitarPitchAt(100, 45, 500, 120, lines), 69);                        // string 3, fret 2
    EXPECT_EQ(GuitarPitchAt(95 + 30 * 11 + 1, 0, 500, 120, lines), std::nullopt);  // fret 13 of 12
    EXPECT_EQ(GuitarPitchAt(95 + 30 * 10 + 1, 0, 500, 120, lines), 76 + 12);
    EXPECT_EQ(GuitarPitchAt(95 + 30 * 11 + 1, 0, 700, 120, lines), 76 + 13);
    EXPECT_EQ(GuitarPitchAt(2000, 0, 900, 120, lines), std::nullopt);
    EXPECT_EQ(GuitarWidthClass(609), 1);
    EXPECT_EQ(GuitarWidthClass(819), 2);
    EXPECT_EQ(GuitarWidthClass(820), 3);
}

TEST(InputRange, NarrowedByTheInstrumentsShown) {
    PitchExerciseState state;
    UpdateInputRange(state);
    EXPECT_EQ(state.inputRangeLow, 36);
    EXPECT_EQ(state.inputRangeHigh, 95);
    state.instruments.guitar = true;
    state.instruments.guitarWidthClass = 2;
    UpdateInputRange(state);
    EXPECT_EQ(state.inputRangeLow, 52);
    EXPECT_EQ(state.inputRangeHigh, 92);
    state.instruments.piano = true;
    state.instruments.pianoOctaves = 4;
    UpdateInputRange(state);
    EXPECT_EQ(state.inputRangeHigh, 88);
}

TEST(InstrumentNote, SpelledInTheKeyAndRaisedByTheDisplayShift) {
    PitchExerciseState state;
    state.key.keySig = 2;
    state.displayShift = 12;
    const auto n = InstrumentNote(state, 66);
    EXPECT_EQ(n.pitch, 78);
    EXPECT_EQ(n.spellOffset, -1);
    EXPECT_EQ(n.guitarString, 4);  // shown at 66: the D string
    state.key.keySig = -1;
    EXPECT_EQ(InstrumentNote(state, 66).spellOffset, 1);
}

TEST(MidiKeyboard, KeysInRangeEnterTheAnswerAndANewChordReplacesIt) {
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 53, 72));
    state.notes = {QuestionNote{60}, QuestionNote{64}, QuestionNote{67}};
    state.noteCount = 3;
    state.answered = false;
    state.questionCount = 1;
    MidiKeyboardState keys;
    EXPECT_EQ(MidiNote(state, keys, 30, true, false).action, MidiKeyAction::Ignored);
    EXPECT_EQ(keys.heldKeys, 0);
    MidiNote(state, keys, 60, true, false);
    MidiNote(state, keys, 64, true, false);
    EXPECT_EQ(state.answer.notes.size(), 2u);
    MidiNote(state, keys, 60, false, false);
    MidiNote(state, keys, 64, false, false);
    EXPECT_EQ(keys.heldKeys, 0);
    MidiNote(state, keys, 62, true, false);  // a new chord
    ASSERT_EQ(state.answer.notes.size(), 1u);
    EXPECT_EQ(state.answer.notes[0].pitch, 62);

    // The guitar sound takes keys an octave lower and enters them at the written pitch.
    EXPECT_EQ(MidiNote(state, keys, 20, true, true).action, MidiKeyAction::Ignored);
    EXPECT_EQ(MidiNote(state, keys, 26, true, true).action, MidiKeyAction::Entered);
    EXPECT_EQ(state.answer.notes[0].pitch, 38);

    state.answered = true;
    EXPECT_EQ(MidiNote(state, keys, 65, true, false).action, MidiKeyAction::Ignored);
    EXPECT_EQ(SustainPedal(state), PedalAction::NewQuestion);
}

TEST(MidiKeyboard, BeforeTheFirstQuestionKeysPlayFreelyAndMoveTheClef) {
    auto state = stateFor(ExerciseMode::Chord, blockWith(PitchExercise::Chords, {1}, 53, 72));
    ASSERT_TRUE(state.answered);
    MidiKeyboardState keys;
    EXPECT_EQ(MidiNote(state, keys, 40, true, false).action, MidiKeyAction::Entered);
    EXPECT_EQ(state.clefPreference, -2);
}

TEST(Microphone, APitchMustHoldBeforeItIsTakenAndSilenceReleasesIt) {
    PitchExerciseState state;
    MicrophoneRing ring;
    EXPECT_EQ(MicrophonePitch(state, ring, 60), MicrophoneAction::Held);  // an empty ring agrees
    EXPECT_EQ(state.answer.held.note.pitch, 60);
    EXPECT_EQ(state.answer.held.source, NoteSource::Microphone);
    EXPECT_EQ(MicrophonePitch(state, ring, 61), MicrophoneAction::Held);
    EXPECT_EQ(MicrophonePitch(state, ring, 80), MicrophoneAction::None);  // two of four disagree
    EXPECT_EQ(ring.Stable(), 61);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(MicrophonePitch(state, ring, 0), MicrophoneAction::None) << "silence not yet stable";
    EXPECT_EQ(MicrophonePitch(state, ring, 0), MicrophoneAction::Released);
    EXPECT_EQ(state.answer.held.note.pitch, 0);
}
