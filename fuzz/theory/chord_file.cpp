// Fuzz target: Chord.dat images; reading must keep every entry within its table (a name of 50
// code page 1252 characters takes at most 150 bytes of UTF-8), and storing the result back must
// find every record it wrote.
#include "theory/ChordFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::theory;
    ChordCatalogue catalogue = BuiltInCatalogue();
    const std::span<const std::uint8_t> bytes(data, size);
    ReadChordFile(bytes, catalogue);
    for (const auto& table : catalogue.tables)
        for (const auto& entry : table.entries)
            if (entry.count > kMaxEntryNotes || entry.name.size() > 3 * kEntryNameRoom) std::abort();
    CatalogueFileSnapshot snapshot;
    const auto stored =
        StoreChordFile(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), catalogue, snapshot);
    if (stored.size() % kChordFileRecordSize != 0) std::abort();
    ChordCatalogue reread = BuiltInCatalogue();
    ReadChordFile(stored, reread);
    if (StoreChordFile(stored, reread, snapshot) != stored) std::abort();
    return 0;
}
