// The state of one pitch exercise instance: what the setup offers, the current question, its
// key, the answer being entered and the counters.
#pragma once

#include "exercises/pitch/MelodySetup.h"
#include "exercises/pitch/Question.h"
#include "exercises/pitch/SetupBlock.h"
#include "theory/ChordCatalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvintor::pitch {

// One catalogue entry as the exercise asks and answers it.
struct AnswerRow {
    std::array<int, kMaxQuestionNotes> relativePitch{};  // catalogue pitch - 60
    std::array<int, kMaxQuestionNotes> spellOffset{};
    std::array<std::uint8_t, kMaxQuestionNotes> extra{};
    int count = 0;  // 0 = not available
    std::uint16_t asked = 0;
    std::uint16_t right = 0;
    std::string name;
};

// The answer instruments shown and their size, which limit the pitches they can show.
struct InstrumentView {
    bool piano = false;
    bool guitar = false;
    int guitarWidthClass = 1;  // 1, 2, 3 by the guitar's width
    int pianoOctaves = 4;      // 4..6
};

// Options copied from the setup when it is applied.
struct ExerciseOptions {
    bool playToneOnClick = false;
    bool showFirstTone = false;
    bool autoAnswer = false;
    bool playTonic = false;
    TonicStyle tonicStyle = TonicStyle::BaseTones;
    bool showKeySignature = false;
    int rootMovement = root_movement::kRandom;
    std::uint8_t option = 0;
    bool diatonicRoots = false;
    InversionMode inversionMode = InversionMode::AllRootPosition;
    bool addRootBass = false;
    bool rhythm = false;
    std::uint8_t answerModes = answer_bits::kPiano;
};

// The note pressed on an instrument but not yet entered.
enum class NoteSource : std::uint8_t {
    TonicDisplay = 0,
    Notesheet = 1,
    Piano = 2,
    Microphone = 3,
    Guitar = 4
};
struct HeldNote {
    QuestionNote note;  // pitch 0 = none
    NoteSource source = NoteSource::Piano;
};

inline constexpr std::uint8_t kNoChordType = 15;  // an answer chord whose type is not chosen yet

// The answer being entered.
struct AnswerState {
    std::vector<QuestionNote> notes;   // at most 12
    std::vector<QuestionNote> chords;  // progressions: one per question chord
    int currentChord = 0;
    std::vector<QuestionNote> voiced;  // progressions: the answer chords voiced
    HeldNote held;
};

struct PitchExerciseState {
    ExerciseMode mode = ExerciseMode::Chord;

    // From the setup.
    std::array<AnswerRow, theory::kCatalogueEntries> answerTable{};
    std::vector<int> enabledList;           // entry numbers with an answer button, in button order
    std::vector<bool> answerButtonEnabled;  // per enabledList position
    RootRange rootRange;
    std::vector<PlayStyle> styleList{PlayStyle::Together};
    ExerciseOptions options;
    MelodySetup melody;
    bool chordLike = false;  // the staff draws the question as a chord
    bool showKeyName = false;
    bool solfege = false;
    std::array<bool, 19> chordTypeButtonShown{};  // progressions, per symbol index

    // The current question.
    PlayStyle style = PlayStyle::Together;
    int root = 60;
    int previousRoot = 60;
    int entry = 0;
    int previousEntry = 0;
    int noteCount = 0;
    std::vector<QuestionNote> notes;   // at most 12
    std::vector<QuestionNote> chords;  // progressions: the question chords (root, spelling, type)
    std::vector<QuestionNote> voiced;  // progressions: at most 36 voiced notes
    std::vector<int> chordStarts;      // progressions: index of each chord's first voiced note
    int anchor = 0;                    // progressions: the top voice the chords are voiced to
    KeyContext key;
    int highest = 0;
    int lowest = 0;
    int displayShift = 0;
    int clefPreference = 2;  // +2 upper staff, -2 lower staff
    bool reversed = false;
    int tonicPitch = 0;
    int firstTonePitch = 0;  // 0 = no first tone shown

    // What the visible instruments can show (kept by UpdateInputRange).
    InstrumentView instruments;
    int inputRangeLow = 36;
    int inputRangeHigh = 95;

    // Counters and the answer.
    int questionCount = 0;
    int correctCount = 0;
    bool answered = true;
    AnswerState answer;

    const AnswerRow& row(int entryNumber) const {
        return answerTable[static_cast<std::size_t>(entryNumber - 1)];
    }
    AnswerRow& row(int entryNumber) { return answerTable[static_cast<std::size_t>(entryNumber - 1)]; }
};

// The language text that prompts for a question of the mode.
int PromptTextId(ExerciseMode mode);

// The catalogue table a mode asks from.
theory::TableKind TableOf(ExerciseMode mode);

// Takes the setup block of the mode's exercise. `showKeyNames` is the program's key-name
// setting. Reset also clears the counters.
void ApplySetup(PitchExerciseState& state, const SetupBlock& block, const theory::ChordCatalogue& catalogue,
                bool reset, bool showKeyNames);
// The melody mode takes the melody block instead.
void ApplyMelodySetup(PitchExerciseState& state, const MelodySetup& melody, bool reset, bool showKeyNames);

// Narrows the input range to what the shown instruments can show.
void UpdateInputRange(PitchExerciseState& state);

// Clears both counts, the per-entry counters and the answer.
void ResetExercise(PitchExerciseState& state);

}  // namespace kalvintor::pitch
