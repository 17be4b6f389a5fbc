// Names derived from the catalogue: progression chords and progressions, the chord-inversion
// names, and the names every language load writes into the built-in entries.
#pragma once

#include "theory/ChordCatalogue.h"

#include <string>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::theory {

// Language texts of the catalogue beyond the entry names.
inline constexpr int kTextNaturalBLetter = 5300;
inline constexpr int kTextRootPosition = 3060;
inline constexpr int kTextInversionSuffix = 3061;

// "bII 7(b5)": accidental and Roman numeral of the root relative to C, then the chord symbol.
// Empty when the spelling is outside -2..+2.
std::string ProgressionChordName(int root, int spellOffset, int chordType);
// The chord names of a progression joined by " - "; empty for an empty entry or a chord that
// cannot be named.
std::string ProgressionName(const CatalogueEntry& entry);

// Caption of the progression exercise's chord-type button for a symbol index: the names of the
// major and minor chord types for the first two, the chord symbol for the rest.
std::string ChordTypeButtonCaption(int symbolIndex, const ChordCatalogue& catalogue);

// The words of the derived inversion names: "Major (root)", "Major 1.inv".
struct InversionWords {
    std::string rootPosition = "(root)";
    std::string inversionSuffix = ".inv";
};

// Names the built-in inversion entries after their chord type's current name.
void RebuildInversionNames(ChordCatalogue& catalogue, const InversionWords& words);

// The language id whose text names a built-in entry, or 0 for none.
int CatalogueNameId(TableKind kind, int entry);

// Writes the loaded language's names into the built-in entries (default names where the
// language has none), records the language in the tag, sets the B-natural letter and rebuilds
// the inversion names.
void ApplyCatalogueNames(ChordCatalogue& catalogue, const language::Language& language,
                         const std::string& languageName);

}  // namespace kalvintor::theory
