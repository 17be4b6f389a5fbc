// Building pitch questions: roots, key context, spelling, guitar strings, progressions and melodies.
#pragma once

#include "exercises/pitch/ExerciseState.h"
#include "theory/ChordCatalogue.h"

#include <string>
#include <vector>

namespace kalvintor::pitch {

enum class GenerateResult { Generated, NothingToAsk, MelodyFailed };

// Reseeds the program's generator from the clock and builds the next question of the mode.
GenerateResult GenerateQuestion(PitchExerciseState& state, const theory::ChordCatalogue& catalogue);

// The core of "New question": nothing without answer buttons (except melodies); otherwise the
// answer is cleared, the question is open again and the next one is generated.
GenerateResult NewQuestion(PitchExerciseState& state, const theory::ChordCatalogue& catalogue);

// The next root of a cyclic movement after `previousRoot` (0 = none yet), folded into the range.
int NextCyclicRoot(int previousRoot, int movement, const RootRange& range);

// Progression chords voiced: chords[k] holds a root pitch (0 = no chord yet), its spelling and
// the chord type in the extra byte; each chord is written from its root's name. The result holds
// every chord's notes in order with end marks, the index of each chord's first note and the
// top-voice anchor used.
struct VoicedProgression {
    std::vector<QuestionNote> notes;
    std::vector<int> chordStarts;
    int anchor = 0;
};
VoicedProgression VoiceProgression(const std::vector<QuestionNote>& chords, InversionMode mode, bool addBass,
                                   int anchor, int root, const KeyContext& key,
                                   const theory::CatalogueTable& chordTypes);

// The display transposition (whole octaves) that brings the question into the input range.
int DisplayShiftFor(int highest, int lowest, int inputRangeLow, int inputRangeHigh);

// Guitar strings for written notes: each note on the highest string that can play it, then
// (for up to 6 notes) spread downwards so no two notes share a string where the frets allow.
void AssignQuestionStrings(std::vector<QuestionNote>& notes, int displayShift);
void SpreadGuitarStrings(std::vector<QuestionNote>& notes, int displayShift, int guitarWidthClass);

// Builds a melody question from the melody settings; MelodyFailed leaves the previous question's
// note count.
GenerateResult GenerateMelody(PitchExerciseState& state, const theory::ChordCatalogue& catalogue);

}  // namespace kalvintor::pitch
