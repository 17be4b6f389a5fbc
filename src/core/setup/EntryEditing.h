// Editing user entries of the pitch-material catalogue: notes of a chord type, interval or scale,
// chord inversions, the chords of a progression, and the checks an entry passes before it is kept.
#pragma once

#include "theory/ChordCatalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::setup {

// Notes entered in the chord-type editor lie within these pitches.
inline constexpr int kEditLowest = 53;
inline constexpr int kEditHighest = 84;
inline constexpr int kGuitarSpreadLimit = 6;

// Inserts a note: refused (false) for a pitch already there, a full entry or a pitch outside
// 53..84. With position > 0 the note takes that place, else it goes in ascending pitch order.
// Guitar strings are spread again for up to six notes unless `keepStrings`.
bool InsertEntryNote(theory::CatalogueEntry& entry, theory::CatalogueNote note, int position,
                     bool keepStrings);
// Removes the note at place `position` (> 0), else the highest-placed note of `pitch`; notes above
// it may move to a higher string. False when there was nothing to remove.
bool RemoveEntryNote(theory::CatalogueEntry& entry, int pitch, int position);

// Chord types an inversion is made from: entries with three or more notes except 4 and 11.
std::vector<int> EligibleInversionTypes(const theory::ChordCatalogue& catalogue);
// Inversions a chord type offers: root position and min(5, notes - 1) inversions.
int InversionChoices(const theory::CatalogueEntry& chordType);
// The entry of one inversion: the chord type's notes from inversion + 1 on, then the lower ones an
// octave up; note 1 carries the chord type (0-based), note 2 the inversion.
theory::CatalogueEntry InversionEntry(const theory::ChordCatalogue& catalogue, int chordTypeEntry,
                                      int inversion, std::string_view inversionName);

// Progression chords: a step 0..11 ("I" .. "VII") and a chord-type list item 0..18.
inline constexpr int kMinProgressionChords = 2;
inline constexpr int kMaxProgressionChords = 5;
theory::CatalogueNote ProgressionChord(int step, int chordTypeItem);
int ProgressionStep(const theory::CatalogueNote& chord);           // root - 60, at least 0
int ProgressionChordTypeItem(const theory::CatalogueNote& chord);  // 0 when not in the list

// Why an edited entry cannot be kept.
enum class EntryProblem { None, NoNotes, DuplicateNotes, NotesOutOfRange, NameTooLong, TooFewChords };
EntryProblem CheckNoteEntry(const theory::CatalogueEntry& entry, std::string_view name);
EntryProblem CheckProgression(const theory::CatalogueEntry& entry);

// The first empty entry at or after the table's first user entry, or 0 when the table is full.
int FirstFreeUserEntry(const theory::CatalogueTable& table, theory::TableKind kind, int shown);

// Length of a UTF-8 text in characters.
std::size_t characterCount(std::string_view utf8);

}  // namespace kalvintor::setup
