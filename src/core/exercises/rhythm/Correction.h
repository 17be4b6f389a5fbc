// The correction exercise's rules: which note a press on the written rhythm marks, and how the
// marked notes are scored against the changes.
#pragma once

#include "exercises/rhythm/InjectErrors.h"
#include "exercises/rhythm/RhythmNote.h"

#include <optional>
#include <set>
#include <vector>

namespace kalvintor::rhythm {

// The note (index into `notes`) a press at x, y of the notation marks, as last laid out: the last
// note on the press's row starting at or left of it; a press on a row with none marks the first
// note. Nothing left of the first note.
std::optional<int> NoteAtPress(const Voice& notes, int x, int y);

// The notes a change involves: the note itself, and for a tie or a swap the next one too.
std::set<int> InvolvedNotes(const std::vector<InjectedError>& errors);

struct CorrectionCheck {
    int expected = 0;
    int hits = 0;        // marked notes among the involved ones
    int falseMarks = 0;  // marked notes no change involves
    bool correct = false;
    int points = 0;  // 0..100
};

CorrectionCheck CheckMarks(const std::vector<InjectedError>& errors, const std::set<int>& marks);

}  // namespace kalvintor::rhythm
