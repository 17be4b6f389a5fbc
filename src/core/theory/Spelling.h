// Written names of pitches: note names, spelling in a key, default spelling and key names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvintor::theory {

struct ChordCatalogue;

// The letter shown for B natural (index 11 of the note letters). Languages that call B natural
// by another letter supply it; a flat on B always shows as "B". Program-wide, set after every
// language load.
void SetNaturalBLetter(std::string_view letter);
const std::string& NaturalBLetter();

// Letters by natural pitch class: "C", " ", "D", " ", "E", "F", " ", "G", " ", "A", "B" (for B
// with a flat) and at index 11 the letter of B natural.
std::array<std::string, 12> NoteLetters();

// "C", "Eb", "F#", "Bbb"... ; "???" for offsets outside -2..+2.
std::string NoteName(int pitch, int spellOffset);

// Re-spells a note for a key: the letter is the letter of the key's degree at the tonic offset
// (an offset between degrees: the letter of its pitch class on the key's side) plus the scale
// step of the note above it (sharp-side steps in sharp keys, flat-side steps in flat keys and
// C), the step measured from the natural pitch of the current spelling.
// tonicOffset: 0 for a major key, -3 for a minor key addressed from its relative major, or a
// scale position; shift: a display transposition in whole octaves. With spellOffset 0 and
// tonicOffset 0 it names a pitch as a degree of the key.
int SpellInKey(int pitch, int spellOffset, int tonicOffset, int keySig, int shift = 0);

// Black keys as flats when keySig <= 0, as sharps otherwise; white keys natural.
int DefaultSpelling(int pitch, int keySig, int shift = 0);

// The tonic's name, "-" and the name of the major or minor chord type in lower case ("D-major").
std::string KeyName(int keySig, bool minor, const ChordCatalogue& catalogue);

}  // namespace kalvintor::theory
