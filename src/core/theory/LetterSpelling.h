// Spelling by letters: notes written a number of letters from a reference note, as a chord's
// tones stand on its root, an interval's upper note on its lower one and a scale on its tonic.
#pragma once

#include <span>

namespace kalvintor::theory {

// Letters counted upwards from the letter C of MIDI octave 0, so C4 (60) is 35 and B flat 3
// (58 with a flat) is 34. The spelling must write a letter (natural pitch on a white key).
int LetterIndex(int pitch, int spellOffset);

// How many letters a catalogue note lies above the middle C its material is built on.
int LettersAboveC(int storedPitch, int storedSpelling);

// The spelling that writes `pitch` on the letter `letters` above (below, when negative) the
// letter of the reference written with `referenceSpelling`. A pitch too far from that letter
// gives a value outside double flat .. double sharp.
int SpellAtLetters(int pitch, int referencePitch, int referenceSpelling, int letters);

// A note written a number of letters from a reference.
struct LetterNote {
    int pitch = 0;
    int letters = 0;
};

// How to write a reference pitch so that notes standing on it read well. `preferred` (the
// writing the key gives) stays unless a note would need more than a double accidental; with
// `avoidDoubles` also when another writing of the pitch with at most one accidental gives fewer
// double accidentals (G flat minor's double flat third is written as F sharp minor). Writings on
// the key signature's side are tried first.
int ChooseReferenceSpelling(std::span<const LetterNote> notes, int referencePitch, int preferred, int keySig,
                            bool avoidDoubles);

// A note that no letter relation binds: a double accidental, or a sharp on E or B or a flat on
// C or F that the key signature does not carry, becomes the plain writing of the key
// (E sharp in E major is F); every other writing stays.
int PlainerSpelling(int pitch, int spellOffset, int keySig);

}  // namespace kalvintor::theory
