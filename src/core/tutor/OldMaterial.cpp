// Conversion of an older tutor's pitch material.
#include "tutor/OldMaterial.h"

namespace kalvintor::tutor {

namespace {

using theory::TableKind;

constexpr std::size_t kOldNotesSize = kOldEntries * kOldNotesPerEntry * kOldNoteSize;  // 672
constexpr std::size_t kOldCountsSize = kOldEntries;
// Old pitches at or below this (as signed bytes) are placeholders; they become 59, 58, ...
constexpr int kPlaceholderPitch = 52;
constexpr int kPlaceholderBase = 60;
constexpr std::uint8_t kNoExtra = 255;

struct OldTable {
    TableKind kind;
    int firstOld;  // the first user entry of the old table
    int shift;     // new entry = old entry + shift
};

// In the order of the old block: chord types, chord inversions, intervals, scales.
constexpr OldTable kOldTables[] = {
    {TableKind::ChordTypes, 15, 13},
    {TableKind::ChordInversions, 15, 12},
    {TableKind::Intervals, 21, 5},
    {TableKind::Scales, 12, 20},
};

}  // namespace

void convertOldMaterial(records::Bytes bytes, theory::ChordCatalogue& catalogue) {
    for (std::size_t t = 0; t < std::size(kOldTables); ++t) {
        const OldTable& old = kOldTables[t];
        const auto table = bytes.subspan(t * kOldTableSize, kOldTableSize);
        for (int entry = old.firstOld; entry <= kOldEntries; ++entry) {
            const auto index = static_cast<std::size_t>(entry - 1);
            theory::CatalogueEntry& target = catalogue.table(old.kind).entry(entry + old.shift);
            target.count = table[kOldNotesSize + index];
            target.name = records::getShortString(
                table, kOldNotesSize + kOldCountsSize + index * (kOldNameRoom + 1), kOldNameRoom);
            int placeholders = 0;
            const int notes = target.count > kOldNotesPerEntry ? kOldNotesPerEntry : target.count;
            for (int n = 0; n < notes; ++n) {
                const std::size_t at =
                    (index * kOldNotesPerEntry + static_cast<std::size_t>(n)) * kOldNoteSize;
                theory::CatalogueNote& note = target.notes[static_cast<std::size_t>(n)];
                const auto pitch = static_cast<std::int8_t>(table[at]);
                note.pitch = pitch <= kPlaceholderPitch
                                 ? static_cast<std::uint8_t>(kPlaceholderBase - ++placeholders)
                                 : table[at];
                note.spellOffset = static_cast<std::int8_t>(table[at + 1]);
                note.extra = kNoExtra;
                note.guitarString = 0;
            }
            if (old.kind == TableKind::ChordInversions) target.notes[0].extra = kNoExtra;
        }
    }
}

}  // namespace kalvintor::tutor
