// The labels the notesheet writes under the chords of a progression: the Roman numeral of each
// chord in the exercise's key and the chord's own name.
#pragma once

#include "exercises/pitch/ExerciseState.h"

#include <string>
#include <vector>

namespace kalvintor::pitch {

struct ChordColumnLabel {
    int noteIndex = 0;    // the chord's first note in the shown list
    std::string numeral;  // "bVII 7": the step from the exercise root and the chord symbol
    std::string name;     // "Bb7": the root's note name and the chord symbol
    bool question = false;
};

// One chord named by its root (pitch and SpellOffset) and 0-based chord type.
std::string ChordName(int root, int spellOffset, int chordType);

// Labels for the progression shown on the notesheet: the answer chords entered so far and, once
// judged (`questionShown`), the question's chords behind them. `shown` is the answer's voiced
// notes, followed by the question's when judged. Chords not chosen yet get no label.
std::vector<ChordColumnLabel> ProgressionChordLabels(const PitchExerciseState& state,
                                                     const std::vector<QuestionNote>& shown,
                                                     bool questionShown);

}  // namespace kalvintor::pitch
