// The working pitch-material catalogue and its Chord.dat.
#include "setup/UserCatalogue.h"

#include <algorithm>
#include <array>

namespace kalvintor::setup {

namespace {

constexpr std::array<std::uint8_t, 5> kKnownCodes{
    theory::chord_codes::kChordTypes, theory::chord_codes::kIntervals, theory::chord_codes::kChordInversions,
    theory::chord_codes::kScales, theory::chord_codes::kProgressions};

}  // namespace

ChordFileState CheckChordFile(records::Bytes file) {
    namespace r = theory::chord_record;
    if (file.size() % theory::kChordFileRecordSize != 0) return ChordFileState::Damaged;
    bool newer = false;
    for (std::size_t at = 0; at < file.size(); at += theory::kChordFileRecordSize) {
        const auto record = file.subspan(at, theory::kChordFileRecordSize);
        const int number = records::getU16(record, r::kEntryNumber);
        if (record[r::kCount] > theory::kMaxEntryNotes || number == 0 ||
            record[r::kName] > theory::kEntryNameRoom)
            return ChordFileState::Damaged;
        if (std::find(kKnownCodes.begin(), kKnownCodes.end(), record[r::kTypeCode]) == kKnownCodes.end())
            newer = true;
    }
    return newer ? ChordFileState::Newer : ChordFileState::Read;
}

ChordFileState UserCatalogue::Load(const std::filesystem::path& chordFile) {
    file = chordFile;
    changed = false;
    snapshot = theory::LoadCatalogue(catalogue, file);
    if (const auto bytes = files::readFile(file)) {
        state = CheckChordFile(
            records::Bytes(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    } else {
        std::error_code error;
        state = std::filesystem::exists(file, error) || error ? ChordFileState::Unreadable
                                                              : ChordFileState::Missing;
    }
    return state;
}

CatalogueSave UserCatalogue::Save() {
    if (!changed) return CatalogueSave::Unchanged;
    if (state != ChordFileState::Read && state != ChordFileState::Missing) return CatalogueSave::Refused;
    if (theory::SaveCatalogue(catalogue, snapshot, file) != files::WriteError::None)
        return CatalogueSave::Failed;
    // What is in the file now is what a later deletion has to reach.
    for (std::size_t t = 0; t < snapshot.counts.size(); ++t)
        for (int n = 1; n <= theory::kCatalogueEntries; ++n)
            snapshot.counts[t][static_cast<std::size_t>(n - 1)] = std::max(
                snapshot.counts[t][static_cast<std::size_t>(n - 1)], catalogue.tables[t].entry(n).count);
    state = ChordFileState::Read;
    changed = false;
    return CatalogueSave::Saved;
}

}  // namespace kalvintor::setup
