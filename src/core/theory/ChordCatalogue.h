// The pitch-material catalogue: five tables of 60 entries (chord types, inversions, intervals,
// scales, progressions), their stored layout and the built-in content every start begins from.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::theory {

inline constexpr int kCatalogueEntries = 60;
inline constexpr int kMaxEntryNotes = 12;
inline constexpr std::size_t kEntryNameRoom = 50;
inline constexpr int kTableCount = 5;
// Only the first 30 intervals are ever offered.
inline constexpr int kOfferedIntervals = 30;

// Stored layout of one table: 60 x 48 note bytes, 60 counts, 60 names of 51 bytes (none for
// progressions, whose names are computed).
inline constexpr std::size_t kCatalogueNoteSize = 4;
inline constexpr std::size_t kEntryNotesSize = kMaxEntryNotes * kCatalogueNoteSize;  // 48
inline constexpr std::size_t kTableNotesSize = kCatalogueEntries * kEntryNotesSize;  // 2880
inline constexpr std::size_t kTableCountsSize = kCatalogueEntries;                   // 60
inline constexpr std::size_t kTableNamesSize = kCatalogueEntries * (kEntryNameRoom + 1);
inline constexpr std::size_t kNamedTableSize = kTableNotesSize + kTableCountsSize + kTableNamesSize;  // 6000
inline constexpr std::size_t kProgressionTableSize = kTableNotesSize + kTableCountsSize;              // 2940
inline constexpr std::size_t kCatalogueTablesSize = 4 * kNamedTableSize + kProgressionTableSize;      // 26940
inline constexpr std::size_t kLanguageTagRoom = 15;
inline constexpr std::size_t kCatalogueRecordSize = kLanguageTagRoom + 1 + kCatalogueTablesSize;  // 26956

// The tables in their stored order.
enum class TableKind { ChordTypes = 0, ChordInversions = 1, Intervals = 2, Scales = 3, Progressions = 4 };

// One note of an entry. Chord types, intervals and scales use the extra byte for nothing;
// inversions keep the chord type in note 1's extra byte and the inversion (0..3) in note 2's;
// a progression "note" is a chord: root pitch, its spelling and the chord type in the extra byte.
struct CatalogueNote {
    std::uint8_t pitch = 0;  // MIDI pitch, material built on 60
    std::int8_t spellOffset = 0;
    std::uint8_t extra = 0;
    std::uint8_t guitarString = 0;  // 1..6 chosen, 16 + n assigned automatically, 0 none

    friend bool operator==(const CatalogueNote&, const CatalogueNote&) = default;
};

struct CatalogueEntry {
    std::array<CatalogueNote, kMaxEntryNotes> notes{};
    std::uint8_t count = 0;  // 0 = empty or deleted
    std::string name;        // UTF-8, at most 50 characters; unused for progressions

    // The count as a safe index bound: a stored count above 12 reads as 12.
    int noteCount() const { return count > kMaxEntryNotes ? kMaxEntryNotes : count; }

    friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
};

struct CatalogueTable {
    std::array<CatalogueEntry, kCatalogueEntries> entries{};

    // Entries are numbered 1..60; the caller checks the number.
    CatalogueEntry& entry(int number) { return entries[static_cast<std::size_t>(number - 1)]; }
    const CatalogueEntry& entry(int number) const { return entries[static_cast<std::size_t>(number - 1)]; }

    friend bool operator==(const CatalogueTable&, const CatalogueTable&) = default;
};

struct ChordCatalogue {
    std::string languageTag;  // the language whose names are loaded; empty in the built-in copy
    std::array<CatalogueTable, kTableCount> tables{};

    CatalogueTable& table(TableKind kind) { return tables[static_cast<std::size_t>(kind)]; }
    const CatalogueTable& table(TableKind kind) const { return tables[static_cast<std::size_t>(kind)]; }
    CatalogueTable& chordTypes() { return table(TableKind::ChordTypes); }
    const CatalogueTable& chordTypes() const { return table(TableKind::ChordTypes); }
    CatalogueTable& inversions() { return table(TableKind::ChordInversions); }
    const CatalogueTable& inversions() const { return table(TableKind::ChordInversions); }
    CatalogueTable& intervals() { return table(TableKind::Intervals); }
    const CatalogueTable& intervals() const { return table(TableKind::Intervals); }
    CatalogueTable& scales() { return table(TableKind::Scales); }
    const CatalogueTable& scales() const { return table(TableKind::Scales); }
    CatalogueTable& progressions() { return table(TableKind::Progressions); }
    const CatalogueTable& progressions() const { return table(TableKind::Progressions); }

    friend bool operator==(const ChordCatalogue&, const ChordCatalogue&) = default;
};

// The first entry number of each table that users edit and Chord.dat stores.
int FirstUserEntry(TableKind kind);

// The built-in catalogue with its default names and an empty language tag.
const ChordCatalogue& BuiltInCatalogue();

// The five tables in their stored layout (tutor files carry exactly these 26940 bytes).
// Reading clamps counts above 12 to 12 and names to their room.
using CatalogueTablesBytes = std::array<std::uint8_t, kCatalogueTablesSize>;
void encodeCatalogueTables(const ChordCatalogue& catalogue, records::MutableBytes out);
std::optional<ChordCatalogue> decodeCatalogueTables(records::Bytes bytes);

// The whole record: the 16-byte language tag, then the tables.
void encodeCatalogueRecord(const ChordCatalogue& catalogue, records::MutableBytes out);
std::optional<ChordCatalogue> decodeCatalogueRecord(records::Bytes bytes);

// Notes of one entry in the stored layout (48 bytes), shared with the Chord.dat records.
void encodeEntryNotes(const CatalogueEntry& entry, records::MutableBytes out);
void decodeEntryNotes(records::Bytes in, CatalogueEntry& entry);

// Cuts a UTF-8 name to `room` characters, as a ShortString of that room holds it.
std::string cutToRoom(const std::string& utf8, std::size_t room);

}  // namespace kalvintor::theory
