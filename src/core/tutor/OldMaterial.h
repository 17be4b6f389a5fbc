// The pitch material of older tutor files (four tables of 28 entries) and how its user entries
// enter the current catalogue.
#pragma once

#include "records/Binary.h"
#include "theory/ChordCatalogue.h"

namespace kalvintor::tutor {

inline constexpr std::size_t kOldMaterialSize = 5600;
inline constexpr std::size_t kOldTableSize = 1400;
inline constexpr int kOldEntries = 28;
inline constexpr std::size_t kOldNoteSize = 2;  // pitch, spelling offset
inline constexpr int kOldNotesPerEntry = 12;
inline constexpr std::size_t kOldNameRoom = 24;

// Takes the user entries of the old tables into `catalogue` at their fixed new numbers; the other
// entries keep what `catalogue` held. `bytes` holds the 5600-byte block.
void convertOldMaterial(records::Bytes bytes, theory::ChordCatalogue& catalogue);

}  // namespace kalvintor::tutor
