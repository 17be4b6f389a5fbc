// Chord.dat: the user entries of the catalogue as a sequence of 106-byte records.
#pragma once

#include "files/Files.h"
#include "theory/ChordCatalogue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvintor::theory {

inline constexpr const char* kChordFileName = "Chord.dat";
inline constexpr std::size_t kChordFileRecordSize = 106;

// Offsets of a ChordFileRecord.
namespace chord_record {
inline constexpr std::size_t kTypeCode = 0;
inline constexpr std::size_t kCount = 1;
inline constexpr std::size_t kEntryNumber = 2;  // u16, 1-based
inline constexpr std::size_t kNotes = 4;        // 48 bytes
inline constexpr std::size_t kName = 52;        // ShortString[50]
inline constexpr std::size_t kReserved = 103;   // 3 bytes, written as 0
}  // namespace chord_record

using ChordFileRecord = std::array<std::uint8_t, kChordFileRecordSize>;

// Type codes of the tables in the file.
namespace chord_codes {
inline constexpr std::uint8_t kChordTypes = 1;
inline constexpr std::uint8_t kIntervals = 2;
inline constexpr std::uint8_t kChordInversions = 7;
inline constexpr std::uint8_t kScales = 8;
inline constexpr std::uint8_t kProgressions = 10;
}  // namespace chord_codes

// Per table, the counts the file provided when it was loaded, so that deleting an entry that
// came from the file writes its deletion back.
struct CatalogueFileSnapshot {
    std::array<std::array<std::uint8_t, kCatalogueEntries>, kTableCount> counts{};
};

// Applies the records of a Chord.dat image to the catalogue, in file order; a short last
// record, unknown codes and entry numbers outside the user range are skipped.
void ReadChordFile(records::Bytes file, ChordCatalogue& catalogue);

// The built-in catalogue overlaid with Chord.dat from `file` (missing or unreadable: built-in
// only), and the snapshot of what the file provided.
CatalogueFileSnapshot LoadCatalogue(ChordCatalogue& catalogue, const std::filesystem::path& file);

// The new Chord.dat image: every user entry that has notes now or had them in the file is
// stored by scanning forward for its record and overwriting it, or appended.
std::vector<std::uint8_t> StoreChordFile(std::vector<std::uint8_t> file, const ChordCatalogue& catalogue,
                                         const CatalogueFileSnapshot& snapshot);

// Writes the user ranges back to `file`, replacing it atomically. A file that exists but cannot
// be read is not touched.
files::WriteError SaveCatalogue(const ChordCatalogue& catalogue, const CatalogueFileSnapshot& snapshot,
                                const std::filesystem::path& file);

}  // namespace kalvintor::theory
