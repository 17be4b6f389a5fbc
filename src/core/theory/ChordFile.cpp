// Reading and writing Chord.dat.
#include "theory/ChordFile.h"

#include "records/Binary.h"

#include <algorithm>
#include <optional>

namespace kalvintor::theory {
namespace {

namespace r = chord_record;

struct FileTable {
    std::uint8_t code;
    TableKind kind;
    int lastEntry;  // entries beyond are never stored in the file
};

// In the order the tables are written.
constexpr std::array<FileTable, kTableCount> kFileTables{{
    {chord_codes::kChordTypes, TableKind::ChordTypes, kCatalogueEntries},
    {chord_codes::kIntervals, TableKind::Intervals, kOfferedIntervals},
    {chord_codes::kChordInversions, TableKind::ChordInversions, kCatalogueEntries},
    {chord_codes::kScales, TableKind::Scales, kCatalogueEntries},
    {chord_codes::kProgressions, TableKind::Progressions, kCatalogueEntries},
}};

std::optional<FileTable> tableForCode(std::uint8_t code) {
    for (const auto& t : kFileTables)
        if (t.code == code) return t;
    return std::nullopt;
}

bool hasName(TableKind kind) {
    return kind == TableKind::ChordTypes || kind == TableKind::Intervals || kind == TableKind::Scales;
}

ChordFileRecord buildRecord(const FileTable& table, int number, const CatalogueEntry& entry) {
    ChordFileRecord record{};
    record[r::kTypeCode] = table.code;
    record[r::kCount] = entry.count;
    records::putU16(record, r::kEntryNumber, static_cast<std::uint16_t>(number));
    encodeEntryNotes(entry, records::MutableBytes(record).subspan(r::kNotes, kEntryNotesSize));
    if (hasName(table.kind)) records::putShortString(record, r::kName, kEntryNameRoom, entry.name);
    return record;
}

// Overwrites the first record for (code, number) at or after `position`, or appends the record;
// `position` moves behind the record stored. Scanning only forward means an older record may
// remain earlier in the file, which the reading rule (later record wins) outranks.
void storeForward(std::vector<std::uint8_t>& file, std::size_t& position, const ChordFileRecord& record,
                  std::uint8_t code, int number) {
    while (position + kChordFileRecordSize <= file.size()) {
        const records::Bytes existing(file.data() + position, kChordFileRecordSize);
        const auto at = static_cast<std::ptrdiff_t>(position);
        position += kChordFileRecordSize;
        if (existing[r::kTypeCode] == code && records::getU16(existing, r::kEntryNumber) == number) {
            std::copy(record.begin(), record.end(), file.begin() + at);
            return;
        }
    }
    file.insert(file.end(), record.begin(), record.end());
    position = file.size();
}

}  // namespace

void ReadChordFile(records::Bytes file, ChordCatalogue& catalogue) {
    for (std::size_t at = 0; at + kChordFileRecordSize <= file.size(); at += kChordFileRecordSize) {
        const auto record = file.subspan(at, kChordFileRecordSize);
        const auto table = tableForCode(record[r::kTypeCode]);
        if (!table) continue;
        const int number = records::getU16(record, r::kEntryNumber);
        if (number < FirstUserEntry(table->kind) || number > table->lastEntry) continue;
        auto& entry = catalogue.table(table->kind).entry(number);
        entry.count = std::min<std::uint8_t>(record[r::kCount], kMaxEntryNotes);
        decodeEntryNotes(record.subspan(r::kNotes, kEntryNotesSize), entry);
        if (hasName(table->kind)) entry.name = records::getShortString(record, r::kName, kEntryNameRoom);
    }
}

CatalogueFileSnapshot LoadCatalogue(ChordCatalogue& catalogue, const std::filesystem::path& file) {
    catalogue = BuiltInCatalogue();
    if (const auto bytes = files::readFile(file)) {
        ReadChordFile(records::Bytes(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()),
                      catalogue);
    }
    CatalogueFileSnapshot snapshot;
    for (const auto& t : kFileTables) {
        auto& counts = snapshot.counts[static_cast<std::size_t>(t.kind)];
        for (int number = FirstUserEntry(t.kind); number <= t.lastEntry; ++number)
            counts[static_cast<std::size_t>(number - 1)] = catalogue.table(t.kind).entry(number).count;
    }
    return snapshot;
}

std::vector<std::uint8_t> StoreChordFile(std::vector<std::uint8_t> file, const ChordCatalogue& catalogue,
                                         const CatalogueFileSnapshot& snapshot) {
    // A short record at the end is never read; records appended after it would be misaligned.
    file.resize(file.size() - file.size() % kChordFileRecordSize);
    std::size_t position = 0;
    for (const auto& t : kFileTables) {
        const auto& table = catalogue.table(t.kind);
        const auto& loaded = snapshot.counts[static_cast<std::size_t>(t.kind)];
        for (int number = FirstUserEntry(t.kind); number <= t.lastEntry; ++number) {
            const auto& entry = table.entry(number);
            if (entry.count == 0 && loaded[static_cast<std::size_t>(number - 1)] == 0) continue;
            const auto record = buildRecord(t, number, entry);
            storeForward(file, position, record, t.code, number);
        }
    }
    return file;
}

files::WriteError SaveCatalogue(const ChordCatalogue& catalogue, const CatalogueFileSnapshot& snapshot,
                                const std::filesystem::path& file) {
    std::vector<std::uint8_t> current;
    if (const auto bytes = files::readFile(file)) {
        current.assign(bytes->begin(), bytes->end());
    } else {
        // A file that exists but cannot be read is left alone rather than replaced by what
        // this run knows of it.
        std::error_code error;
        if (std::filesystem::exists(file, error) || error) return files::WriteError::CannotWrite;
    }
    return files::writeFileAtomically(file, StoreChordFile(std::move(current), catalogue, snapshot));
}

}  // namespace kalvintor::theory
