// How the notes of a question, and of an answer given by name, are written: letters from the
// catalogue's own spelling, standing on a reference named in the question's key.
#pragma once

#include "exercises/pitch/ExerciseState.h"
#include "theory/ChordCatalogue.h"

#include <vector>

namespace kalvintor::pitch {

// Spells the notes of a chord, inversion, interval or scale entry placed with the catalogue's
// middle C on `reference` (notes in question order: a reversed scale runs from its top note).
// The reference is named as a degree of the key (a falling interval without diatonic roots:
// its upper note is, and the lower one lies its number below); each note then stands as many
// letters from it as in the catalogue. Chords and intervals take the other writing of the
// reference when it spares them double accidentals; scales of seven notes keep their letters,
// other scales write a note that no letter binds plainly.
void SpellEntryNotes(std::vector<QuestionNote>& notes, const AnswerRow& row, const PitchExerciseState& state,
                     int reference);

// The writing of a progression chord's root `letters` letters above the tonic (the exercise
// root): a degree of the key. A root off the scale's degrees (bII, bIII, bV, bVI, bVII) that
// would force double accidentals its plain name avoids takes the plain name (bII of D flat is D).
int SpellProgressionRoot(int rootPitch, int letters, int chordType, const PitchExerciseState& state,
                         const theory::CatalogueTable& chordTypes);

// Letters above the tonic of a root given only by its pitch (an answer chord): the degree, off
// the scale's degrees the lowered one.
int DegreeLetters(int rootPitch, const PitchExerciseState& state);

}  // namespace kalvintor::pitch
