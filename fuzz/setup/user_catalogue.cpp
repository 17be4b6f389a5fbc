// Fuzz target: Chord.dat images judged by the working catalogue, and the editors' note rules on
// the entries read from them: an image called readable holds only whole, sensible records, and
// editing never breaks an entry's limits.
#include "setup/EntryEditing.h"
#include "setup/UserCatalogue.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor;
    const std::span<const std::uint8_t> bytes(data, size);
    const setup::ChordFileState state = setup::CheckChordFile(bytes);
    if (state == setup::ChordFileState::Read && size % theory::kChordFileRecordSize != 0) std::abort();
    theory::ChordCatalogue catalogue = theory::BuiltInCatalogue();
    theory::ReadChordFile(bytes, catalogue);
    for (auto& table : catalogue.tables) {
        for (auto& entry : table.entries) {
            theory::CatalogueEntry edited = entry;
            const int pitch = size > 0 ? data[0] : 60;
            setup::InsertEntryNote(edited, {static_cast<std::uint8_t>(pitch), 0, 0, 0},
                                   size > 1 ? data[1] % 14 : 0, false);
            setup::RemoveEntryNote(edited, pitch, size > 2 ? data[2] % 14 : 0);
            if (edited.count > theory::kMaxEntryNotes) std::abort();
            (void)setup::CheckNoteEntry(edited, edited.name);
        }
    }
    for (int type : setup::EligibleInversionTypes(catalogue))
        for (int inversion = 0; inversion < 6; ++inversion)
            if (setup::InversionEntry(catalogue, type, inversion, "x").count > theory::kMaxEntryNotes)
                std::abort();
    return 0;
}
