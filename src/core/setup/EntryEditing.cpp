// Editing user entries of the pitch-material catalogue.
#include "setup/EntryEditing.h"

#include "exercises/pitch/Generation.h"
#include "theory/Guitar.h"
#include "theory/Tables.h"

#include <algorithm>
#include <set>

namespace kalvintor::setup {

namespace {

using theory::CatalogueEntry;
using theory::CatalogueNote;

void spreadStrings(CatalogueEntry& entry) {
    const int n = entry.noteCount();
    if (n > kGuitarSpreadLimit) return;
    std::vector<pitch::QuestionNote> notes;
    for (int i = 0; i < n; ++i) {
        const CatalogueNote& c = entry.notes[static_cast<std::size_t>(i)];
        notes.push_back({c.pitch, c.spellOffset, c.extra, c.guitarString});
    }
    pitch::SpreadGuitarStrings(notes, 0, 3);
    for (int i = 0; i < n; ++i)
        entry.notes[static_cast<std::size_t>(i)].guitarString =
            notes[static_cast<std::size_t>(i)].guitarString;
}

int stringNumber(std::uint8_t stored) {
    return stored > 16 ? stored - 16 : stored;
}

}  // namespace

bool InsertEntryNote(CatalogueEntry& entry, CatalogueNote note, int position, bool keepStrings) {
    const int n = entry.noteCount();
    if (n >= theory::kMaxEntryNotes || note.pitch < kEditLowest || note.pitch > kEditHighest) return false;
    for (int i = 0; i < n; ++i)
        if (entry.notes[static_cast<std::size_t>(i)].pitch == note.pitch) return false;
    int place = n;
    if (position > 0) {
        place = std::min(position - 1, n);
    } else {
        while (place > 0 && entry.notes[static_cast<std::size_t>(place - 1)].pitch > note.pitch) --place;
    }
    for (int i = n; i > place; --i)
        entry.notes[static_cast<std::size_t>(i)] = entry.notes[static_cast<std::size_t>(i - 1)];
    entry.notes[static_cast<std::size_t>(place)] = note;
    entry.count = static_cast<std::uint8_t>(n + 1);
    if (!keepStrings) spreadStrings(entry);
    return true;
}

bool RemoveEntryNote(CatalogueEntry& entry, int pitch, int position) {
    const int n = entry.noteCount();
    int place = -1;
    if (position > 0) {
        if (position <= n) place = position - 1;
    } else {
        for (int i = n - 1; i >= 0 && place < 0; --i)
            if (entry.notes[static_cast<std::size_t>(i)].pitch == pitch) place = i;
    }
    if (place < 0) return false;
    for (int i = place; i < n - 1; ++i)
        entry.notes[static_cast<std::size_t>(i)] = entry.notes[static_cast<std::size_t>(i + 1)];
    entry.notes[static_cast<std::size_t>(n - 1)] = {};
    entry.count = static_cast<std::uint8_t>(n - 1);
    const int left = n - 1;
    if (left <= kGuitarSpreadLimit) {
        // From the top down, a note moves one string up where that string can still play it and
        // the note above lies higher still.
        for (int i = left - 1; i >= 0; --i) {
            CatalogueNote& note = entry.notes[static_cast<std::size_t>(i)];
            const int s = stringNumber(note.guitarString);
            if (s <= 1 || s > theory::kGuitarStrings ||
                note.pitch < theory::GuitarOpenStrings[static_cast<std::size_t>(s - 1)])
                continue;
            const bool room = i == left - 1 ||
                              stringNumber(entry.notes[static_cast<std::size_t>(i + 1)].guitarString) < s - 1;
            if (room) note.guitarString = static_cast<std::uint8_t>(note.guitarString - 1);
        }
    }
    return true;
}

std::vector<int> EligibleInversionTypes(const theory::ChordCatalogue& catalogue) {
    std::vector<int> types;
    for (int n = 1; n <= theory::kCatalogueEntries; ++n)
        if (n != 4 && n != 11 && catalogue.chordTypes().entry(n).noteCount() >= 3) types.push_back(n);
    return types;
}

int InversionChoices(const CatalogueEntry& chordType) {
    return std::min(5, std::max(chordType.noteCount() - 1, 0)) + 1;
}

CatalogueEntry InversionEntry(const theory::ChordCatalogue& catalogue, int chordTypeEntry, int inversion,
                              std::string_view inversionName) {
    CatalogueEntry result;
    if (chordTypeEntry < 1 || chordTypeEntry > theory::kCatalogueEntries) return result;
    const CatalogueEntry& type = catalogue.chordTypes().entry(chordTypeEntry);
    const int n = type.noteCount();
    if (inversion < 0 || inversion >= InversionChoices(type)) inversion = 0;
    for (int k = 0; k < n; ++k) {
        const int from = (inversion + k) % n;
        CatalogueNote note = type.notes[static_cast<std::size_t>(from)];
        if (from < inversion) note.pitch = static_cast<std::uint8_t>(note.pitch + 12);
        note.extra = 0;
        note.guitarString = 0;
        result.notes[static_cast<std::size_t>(k)] = note;
    }
    result.count = static_cast<std::uint8_t>(n);
    std::sort(result.notes.begin(), result.notes.begin() + n,
              [](const CatalogueNote& a, const CatalogueNote& b) { return a.pitch < b.pitch; });
    if (n >= 1) result.notes[0].extra = static_cast<std::uint8_t>(chordTypeEntry - 1);
    if (n >= 2) result.notes[1].extra = static_cast<std::uint8_t>(inversion);
    result.name = type.name + " (" + std::string(inversionName) + ")";
    return result;
}

CatalogueNote ProgressionChord(int step, int chordTypeItem) {
    step = std::clamp(step, 0, 11);
    chordTypeItem = std::clamp(chordTypeItem, 0, theory::kChordSymbolCount - 1);
    const bool flatStep = step == 1 || step == 3 || step == 6 || step == 8 || step == 10;
    return {static_cast<std::uint8_t>(60 + step), static_cast<std::int8_t>(flatStep ? 1 : 0),
            static_cast<std::uint8_t>(theory::ProgressionChordTypes[static_cast<std::size_t>(chordTypeItem)]),
            0};
}

int ProgressionStep(const CatalogueNote& chord) {
    return std::clamp(chord.pitch - 60, 0, 11);
}

int ProgressionChordTypeItem(const CatalogueNote& chord) {
    const auto& types = theory::ProgressionChordTypes;
    const auto it = std::find(types.begin(), types.end(), chord.extra);
    return it == types.end() ? 0 : static_cast<int>(it - types.begin());
}

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

EntryProblem CheckNoteEntry(const CatalogueEntry& entry, std::string_view name) {
    const int n = entry.noteCount();
    if (n == 0) return EntryProblem::NoNotes;
    std::set<int> pitches;
    for (int i = 0; i < n; ++i) {
        const int p = entry.notes[static_cast<std::size_t>(i)].pitch;
        if (p < kEditLowest || p > kEditHighest) return EntryProblem::NotesOutOfRange;
        if (!pitches.insert(p).second) return EntryProblem::DuplicateNotes;
    }
    if (characterCount(name) > theory::kEntryNameRoom) return EntryProblem::NameTooLong;
    return EntryProblem::None;
}

EntryProblem CheckProgression(const CatalogueEntry& entry) {
    return entry.count < kMinProgressionChords || entry.count > kMaxProgressionChords
               ? EntryProblem::TooFewChords
               : EntryProblem::None;
}

int FirstFreeUserEntry(const theory::CatalogueTable& table, theory::TableKind kind, int shown) {
    for (int n = theory::FirstUserEntry(kind); n <= shown; ++n)
        if (table.entry(n).count == 0) return n;
    return 0;
}

}  // namespace kalvintor::setup
