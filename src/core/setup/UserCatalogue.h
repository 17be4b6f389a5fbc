// The working pitch-material catalogue of a run: the built-in tables with the user entries of
// Chord.dat, whether that file could be trusted, and writing the user entries back.
#pragma once

#include "files/Files.h"
#include "records/Binary.h"
#include "theory/ChordFile.h"

#include <filesystem>

namespace kalvintor::setup {

enum class ChordFileState {
    Missing,     // no file: the built-in catalogue; saving creates it
    Read,        // read whole
    Damaged,     // its size is not a whole number of records, or a record holds impossible values
    Newer,       // records of tables this program does not know: written by a newer program
    Unreadable,  // exists but cannot be read
};

// How a Chord.dat image looks to this program.
ChordFileState CheckChordFile(records::Bytes file);

enum class CatalogueSave { Saved, Unchanged, Refused, Failed };

struct UserCatalogue {
    theory::ChordCatalogue catalogue = theory::BuiltInCatalogue();
    theory::CatalogueFileSnapshot snapshot;
    std::filesystem::path file;
    ChordFileState state = ChordFileState::Missing;
    bool changed = false;

    // Reads `chordFile` over the built-in catalogue (what can be read of it, even when damaged).
    ChordFileState Load(const std::filesystem::path& chordFile);
    // Writes the user entries back when they changed. A file that was damaged, newer or
    // unreadable at load is never written over (Refused); the edits stay in this run.
    CatalogueSave Save();
};

}  // namespace kalvintor::setup
