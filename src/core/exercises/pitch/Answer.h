// Entering, checking and judging answers of the pitch exercises.
#pragma once

#include "exercises/pitch/ExerciseState.h"
#include "theory/ChordCatalogue.h"

#include <optional>
#include <string>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::pitch {

// How answer notes are compared with the question (a program setting).
enum class IdentificationMode : std::uint8_t { ExactOctave = 0, AnyOctave = 1, Relative = 2 };

// Language texts of the judging feedback.
namespace judge_texts {
inline constexpr int kCorrect = 230;
inline constexpr int kWrongNamed = 235;
inline constexpr int kWrong = 236;
inline constexpr int kSpelling = 237;
inline constexpr int kSungNote = 267;
inline constexpr int kRightClickHint = 268;
inline constexpr int kMelodyScore = 1810;
inline constexpr int kMelodyAnswer = 1815;
inline constexpr int kMelodyQuestion = 1816;
inline constexpr int kMelodyFailed = 1945;
}  // namespace judge_texts

// How often one pitch may occur in an answer: unisons in intervals, repeated notes in melodies.
int DuplicateLimit(ExerciseMode mode);

// What AddAnswerNote did, and whether auto answer should now check the answer.
struct AddOutcome {
    bool changed = false;
    bool checkNow = false;
};

// Adds a note (position 0: in pitch order for chords, inversions, intervals and progressions, at
// the end for scales and melodies; otherwise before the 1-based position), or removes one (the
// note at the position, or with position 0 the last note of that pitch). The shown first tone
// cannot be removed while it occurs once.
AddOutcome AddAnswerNote(PitchExerciseState& state, QuestionNote note, bool remove, int position);

// Melodies with rhythm: whether the whole and half note values fit where the next note starts.
struct NoteValueTools {
    bool whole = true;
    bool half = true;
};
NoteValueTools AllowedNoteValues(const PitchExerciseState& state);

// The first table entry formed by the answer's intervals (at least two notes), 0 for none.
int FindFormedEntry(const PitchExerciseState& state);

// The label under the instruments while an answer is entered: note names (with solfege
// syllables when on) and, for two notes or more, the entry they form.
std::string AnswerLabel(const PitchExerciseState& state, const language::Language& language);

// The feedback of one judged question.
struct Judgement {
    bool right = false;
    std::string label;
    bool tick = false;
    int greenEntry = 0;                 // the question's entry, blinking
    int redEntry = 0;                   // a wrongly chosen entry
    std::vector<QuestionNote> display;  // the answer, then the question behind it
};

struct JudgeContext {
    IdentificationMode identification = IdentificationMode::ExactOctave;
    bool notesheetShown = false;
};

// Compares the answer with the question and judges it.
std::optional<Judgement> CheckAnswer(PitchExerciseState& state, const JudgeContext& context,
                                     const language::Language& language);

// Judges the question once: counters, per-entry counters and the feedback. matched = -1 when the
// entry was named by its button. Nothing when the question is already answered.
std::optional<Judgement> JudgeAnswer(PitchExerciseState& state, int entry, int matched,
                                     const JudgeContext& context, const language::Language& language);

// Answer by name: the chosen entry's notes placed on the question's first note (falling
// intervals: on its upper note) and spelled; judged at once with commit or a right auto answer.
struct PreviewOutcome {
    std::optional<Judgement> judgement;
};
PreviewOutcome PreviewAnswer(PitchExerciseState& state, int entry, bool commit, const JudgeContext& context,
                             const theory::ChordCatalogue& catalogue, const language::Language& language);

// Progressions: an instrument click gives the root of the current answer chord (right click:
// removes the chord of that root); a chord-type button its type. Returns whether auto answer
// should now check the answer.
bool SetAnswerChordRoot(PitchExerciseState& state, int clickedPitch, bool remove,
                        const theory::ChordCatalogue& catalogue);
bool SetAnswerChordType(PitchExerciseState& state, int chordType, const theory::ChordCatalogue& catalogue);
// The triad the key suggests for a root.
int DefaultTriad(const PitchExerciseState& state, int root);

// Formats a text holding %d placeholders with the numbers in order.
std::string FormatNumbers(const std::string& format, std::initializer_list<int> numbers);

}  // namespace kalvintor::pitch
