// The built-in catalogue content and the stored layout of the catalogue tables.
#include "theory/ChordCatalogue.h"

#include "theory/Naming.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace kalvintor::theory {
namespace {

// Reads material written as in a score sketch: "60 63b 66# 69bb" (b flat, bb double flat, # sharp).
std::vector<CatalogueNote> parseNotes(std::string_view text) {
    std::vector<CatalogueNote> notes;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size()) break;
        int pitch = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') pitch = pitch * 10 + (text[i++] - '0');
        int spell = 0;
        while (i < text.size() && text[i] != ' ') spell += text[i++] == 'b' ? 1 : -1;
        notes.push_back({static_cast<std::uint8_t>(pitch), static_cast<std::int8_t>(spell), 0, 0});
    }
    return notes;
}

void setEntry(CatalogueTable& table, int number, std::string_view notes, std::string_view name,
              std::initializer_list<int> strings = {}) {
    auto& entry = table.entry(number);
    const auto parsed = parseNotes(notes);
    std::copy(parsed.begin(), parsed.end(), entry.notes.begin());
    entry.count = static_cast<std::uint8_t>(parsed.size());
    entry.name = std::string(name);
    int k = 0;
    for (int s : strings)
        entry.notes[static_cast<std::size_t>(k++)].guitarString = static_cast<std::uint8_t>(s);
}

void fillChordTypes(CatalogueTable& t) {
    setEntry(t, 1, "60 64 67", "Major", {5, 4, 3});
    setEntry(t, 2, "60 63b 67", "Minor", {5, 4, 3});
    setEntry(t, 3, "60 63b 66b", "mb5", {5, 4, 3});
    setEntry(t, 4, "60 64 68#", "+", {5, 4, 3});
    setEntry(t, 5, "60 62 67", "sus2", {5, 4, 3});
    setEntry(t, 6, "60 65 67", "sus4", {5, 4, 3});
    setEntry(t, 7, "60 64 67 70b", "7", {5, 4, 3, 2});
    setEntry(t, 8, "60 63b 67 70b", "mi7", {5, 4, 3, 2});
    setEntry(t, 9, "60 64 67 71", "maj7", {5, 4, 3, 2});
    setEntry(t, 10, "60 63b 67 71", "mi,maj7", {5, 4, 3, 2});
    setEntry(t, 11, "60 63b 66b 69bb", "dim7", {6, 5, 4, 3});
    setEntry(t, 12, "60 64 66b 70b", "7(b5)", {5, 4, 3, 2});
    setEntry(t, 13, "60 63b 66b 70b", "mi7(b5)", {5, 4, 3, 2});
    setEntry(t, 14, "60 64 68# 70b", "7(#5)", {5, 4, 3, 2});
    setEntry(t, 15, "60 65 67 70b", "7(sus4)", {5, 4, 3, 2});
    setEntry(t, 16, "60 64 67 69", "6", {5, 4, 3, 2});
    setEntry(t, 17, "60 63b 67 69", "mi6", {5, 4, 3, 2});
    setEntry(t, 18, "60 64 67 69 71", "", {5, 4, 3, 2, 1});
    setEntry(t, 19, "60 64 67 71 74", "", {5, 4, 3, 2, 1});
    setEntry(t, 20, "60 64 67 69 71 74", "", {5, 4, 3, 2, 2, 1});
    setEntry(t, 21, "60 63b 67 69 74", "", {5, 4, 3, 2, 1});
    setEntry(t, 22, "60 63b 67 71 74", "", {5, 4, 3, 2, 1});
    setEntry(t, 23, "60 63b 67 69 71 74", "", {5, 4, 3, 2, 2, 1});
    setEntry(t, 24, "60 64 67 70b 73b", "", {5, 4, 3, 2, 1});
    setEntry(t, 25, "60 64 67 70b 74", "", {5, 4, 3, 2, 1});
    setEntry(t, 26, "60 64 67 70b 75#", "", {5, 4, 3, 2, 1});
    setEntry(t, 27, "60 63b 67 70b 74", "", {5, 4, 3, 2, 1});
    setEntry(t, 28, "65 68b 73b", "", {5, 4, 3});
    setEntry(t, 29, "56b 60 66#", "", {6, 5, 4});
    setEntry(t, 30, "56b 60 63b 66#", "", {6, 5, 4, 2});
    setEntry(t, 31, "56b 60 62 66#", "", {6, 5, 4, 2});
}

// Inversion entries: the chord type and, per inversion, the notes from root position on.
void fillInversions(CatalogueTable& t) {
    struct Group {
        int firstEntry;
        int chordType;
        std::vector<std::string_view> positions;
    };
    const std::vector<Group> groups{
        {1, 0, {"60 64 67", "64 67 72", "67 72 76"}},
        {4, 1, {"60 63b 67", "63b 67 72", "67 72 75b"}},
        {7, 2, {"60 63b 66b", "63b 66b 72", "66b 72 75b"}},
        {10, 8, {"60 64 67 71", "64 67 71 72", "67 71 72 76", "59 60 64 67"}},
        {14, 6, {"60 64 67 70b", "64 67 70b 72", "67 70b 72 76", "58b 60 64 67"}},
        {18, 7, {"60 63b 67 70b", "63b 67 70b 72", "67 70b 72 75b", "70b 72 75b 79"}},
        {22, 12, {"60 63b 66b 70b", "63b 66b 70b 72", "66b 70b 72 75b", "70b 72 75b 78b"}},
        {26, 3, {"60 64 68#"}},
    };
    for (const auto& g : groups) {
        for (std::size_t inversion = 0; inversion < g.positions.size(); ++inversion) {
            const int number = g.firstEntry + static_cast<int>(inversion);
            setEntry(t, number, g.positions[inversion], "");
            auto& entry = t.entry(number);
            entry.notes[0].extra = static_cast<std::uint8_t>(g.chordType);
            entry.notes[1].extra = static_cast<std::uint8_t>(inversion);
        }
    }
}

void fillIntervals(CatalogueTable& t) {
    const std::array<std::string_view, 25> upper{"60",  "61b", "62",  "63b", "64",  "65", "66b", "67", "68b",
                                                 "69",  "70b", "71",  "72",  "73b", "74", "75b", "76", "77",
                                                 "78b", "79",  "80b", "81",  "82b", "83", "84"};
    const std::array<std::string_view, 25> names{"1",   "2-", "2", "3-", "3",  "4", "5-",  "5",  "6-",
                                                 "6",   "7-", "7", "8",  "9-", "9", "10-", "10", "11",
                                                 "12-", "12", "",  "",   "",   "",  ""};
    for (std::size_t i = 0; i < upper.size(); ++i)
        setEntry(t, static_cast<int>(i) + 1, "60 " + std::string(upper[i]), names[i]);
}

void fillScales(CatalogueTable& t) {
    setEntry(t, 1, "60 62 64 65 67 69 71 72", "Ionian (major)");
    setEntry(t, 2, "62 64 65 67 69 71 72 74", "Dorian");
    setEntry(t, 3, "64 65 67 69 71 72 74 76", "Phrygian");
    setEntry(t, 4, "65 67 69 71 72 74 76 77", "Lydian");
    setEntry(t, 5, "67 69 71 72 74 76 77 79", "Mixolydian");
    setEntry(t, 6, "57 59 60 62 64 65 67 69", "Aeolian (minor)");
    setEntry(t, 7, "59 60 62 64 65 67 69 71", "Locrian");
    setEntry(t, 8, "57 59 60 62 64 65 68# 69", "Harmonic minor");
    setEntry(t, 9, "57 59 60 62 64 66# 68# 69", "Melodic minor");
    setEntry(t, 10, "60 62 64 66# 68# 70# 72", "Wholetone");
    setEntry(t, 11, "60 61# 62 63# 64 65 66# 67 68# 69 70# 71", "Chromatic");
    setEntry(t, 12, "60 62 64 67 69 72", "Major pentatonic");
    setEntry(t, 13, "60 63b 65 67 70b 72", "Minor pentatonic");
    setEntry(t, 14, "60 63b 65 66# 67 70b 72", "Blues");
    setEntry(t, 15, "60 62 64 65 67 68b 69 71 72", "Major beebop");
    // Entries 16..31 take their names from the language file.
    setEntry(t, 16, "67 69 71 72 74 76 77 78# 79", "");
    setEntry(t, 17, "62 64 65 67 69 71 72 73# 74", "");
    setEntry(t, 18, "59 60 62 64 65 68# 69 71", "");
    setEntry(t, 19, "60 62 64 65 68# 69 71 72", "");
    setEntry(t, 20, "62 64 65 68# 69 71 72 74", "");
    setEntry(t, 21, "67 68b 71 72 74 75b 77 79", "");
    setEntry(t, 22, "65 68# 69 71 72 74 76 77", "");
    setEntry(t, 23, "56# 57 59 60 62 64 65 68#", "");
    setEntry(t, 24, "62 63b 65 67 69 71 72 74", "");
    setEntry(t, 25, "65 67 69 71 73# 74 76 77", "");
    setEntry(t, 26, "65 67 69 71 72 74 75b 77", "");
    setEntry(t, 27, "67 69 71 72 74 75b 77 79", "");
    setEntry(t, 28, "59 61# 62 64 65 67 69 71", "");
    setEntry(t, 29, "56# 57 59 60 62 64 66# 68#", "");
    setEntry(t, 30, "60 62 63# 65 66# 68# 69 71 72", "");
    setEntry(t, 31, "60 61b 63b 64 66b 67 69 70b 72", "");
}

// Progressions: chord roots around 60 with their spelling, and 0-based chord types.
void fillProgressions(CatalogueTable& t) {
    struct Chord {
        std::string_view root;
        int type;
    };
    constexpr int maj = 0, mi = 1, dom7 = 6, mi7 = 7, maj7 = 8, dim7 = 10, dom7b5 = 11, mi7b5 = 12,
                  dom7b9 = 23;
    const std::vector<std::vector<Chord>> progressions{
        {{"67", maj}, {"60", maj}},
        {{"67", maj}, {"60", mi}},
        {{"67", dom7}, {"60", maj}},
        {{"67", dom7}, {"60", mi}},
        {{"71", dim7}, {"60", maj}},
        {{"71", dim7}, {"60", mi}},
        {{"67", mi}, {"60", mi}},
        {{"65", maj}, {"67", maj}, {"60", maj}},
        {{"65", mi}, {"67", maj}, {"60", maj}},
        {{"62", mi}, {"67", maj}, {"60", maj}},
        {{"62", mi7}, {"67", dom7}, {"60", maj7}},
        {{"62", mi7}, {"67", dom7}, {"60", mi7}},
        {{"62", mi7b5}, {"67", dom7b9}, {"60", maj7}},
        {{"62", mi7b5}, {"67", dom7b9}, {"60", mi7}},
        {{"62", mi7b5}, {"61b", dom7b5}, {"60", maj7}},
        {{"62", mi7b5}, {"61b", dom7b5}, {"60", mi7}},
        {{"65", maj}, {"60", maj}},
        {{"65", mi}, {"60", maj}},
        {{"65", maj}, {"60", mi}},
        {{"65", mi}, {"60", mi}},
        {{"60", maj}, {"65", maj}, {"60", maj}},
        {{"67", maj}, {"65", maj}, {"60", maj}},
        {{"64", mi}, {"65", maj}, {"60", maj}},
        {{"62", mi}, {"60", maj}},
        {{"64", mi}, {"60", maj}},
        {{"69", mi}, {"60", maj}},
        {{"61b", dom7b5}, {"60", maj7}},
        {{"61b", dom7b5}, {"60", mi}},
        {{"63b", maj}, {"60", maj}},
        {{"63b", maj}, {"60", mi}},
        {{"68b", maj}, {"60", maj}},
        {{"68b", maj}, {"60", mi}},
        {{"60", maj}, {"69", mi}, {"65", maj}, {"67", maj}, {"60", maj}},
        {{"60", mi}, {"56b", maj}, {"58b", maj}, {"60", mi}},
        {{"60", mi}, {"56b", maj}, {"53", mi}, {"55", maj}, {"60", mi}},
    };
    for (std::size_t i = 0; i < progressions.size(); ++i) {
        auto& entry = t.entries[i];
        const auto& chords = progressions[i];
        for (std::size_t k = 0; k < chords.size(); ++k) {
            entry.notes[k] = parseNotes(chords[k].root).front();
            entry.notes[k].extra = static_cast<std::uint8_t>(chords[k].type);
        }
        entry.count = static_cast<std::uint8_t>(chords.size());
    }
}

ChordCatalogue makeBuiltIn() {
    ChordCatalogue c;
    fillChordTypes(c.chordTypes());
    fillInversions(c.inversions());
    fillIntervals(c.intervals());
    fillScales(c.scales());
    fillProgressions(c.progressions());
    RebuildInversionNames(c, InversionWords{});
    return c;
}

}  // namespace

int FirstUserEntry(TableKind kind) {
    switch (kind) {
        case TableKind::ChordTypes:
            return 28;
        case TableKind::ChordInversions:
            return 27;
        case TableKind::Intervals:
            return 26;
        case TableKind::Scales:
            return 32;
        case TableKind::Progressions:
            return 36;
    }
    return kCatalogueEntries + 1;
}

const ChordCatalogue& BuiltInCatalogue() {
    static const ChordCatalogue builtIn = makeBuiltIn();
    return builtIn;
}

std::string cutToRoom(const std::string& utf8, std::size_t room) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0u) == 0x80u) continue;
        if (characters == room) return utf8.substr(0, i);
        ++characters;
    }
    return utf8;
}

void encodeEntryNotes(const CatalogueEntry& entry, records::MutableBytes out) {
    for (std::size_t k = 0; k < kMaxEntryNotes; ++k) {
        const auto& n = entry.notes[k];
        out[k * kCatalogueNoteSize + 0] = n.pitch;
        out[k * kCatalogueNoteSize + 1] = static_cast<std::uint8_t>(n.spellOffset);
        out[k * kCatalogueNoteSize + 2] = n.extra;
        out[k * kCatalogueNoteSize + 3] = n.guitarString;
    }
}

void decodeEntryNotes(records::Bytes in, CatalogueEntry& entry) {
    for (std::size_t k = 0; k < kMaxEntryNotes; ++k) {
        auto& n = entry.notes[k];
        n.pitch = in[k * kCatalogueNoteSize + 0];
        n.spellOffset = static_cast<std::int8_t>(in[k * kCatalogueNoteSize + 1]);
        n.extra = in[k * kCatalogueNoteSize + 2];
        n.guitarString = in[k * kCatalogueNoteSize + 3];
    }
}

namespace {

std::size_t tableSize(std::size_t index) {
    return index == static_cast<std::size_t>(TableKind::Progressions) ? kProgressionTableSize
                                                                      : kNamedTableSize;
}

void encodeTable(const CatalogueTable& table, bool named, records::MutableBytes out) {
    for (std::size_t e = 0; e < kCatalogueEntries; ++e) {
        encodeEntryNotes(table.entries[e], out.subspan(e * kEntryNotesSize, kEntryNotesSize));
        out[kTableNotesSize + e] = table.entries[e].count;
        if (named)
            records::putShortString(out, kTableNotesSize + kTableCountsSize + e * (kEntryNameRoom + 1),
                                    kEntryNameRoom, table.entries[e].name);
    }
}

void decodeTable(records::Bytes in, bool named, CatalogueTable& table) {
    for (std::size_t e = 0; e < kCatalogueEntries; ++e) {
        auto& entry = table.entries[e];
        decodeEntryNotes(in.subspan(e * kEntryNotesSize, kEntryNotesSize), entry);
        entry.count = std::min<std::uint8_t>(in[kTableNotesSize + e], kMaxEntryNotes);
        entry.name =
            named ? records::getShortString(in, kTableNotesSize + kTableCountsSize + e * (kEntryNameRoom + 1),
                                            kEntryNameRoom)
                  : std::string();
    }
}

}  // namespace

void encodeCatalogueTables(const ChordCatalogue& catalogue, records::MutableBytes out) {
    std::fill(out.begin(), out.begin() + kCatalogueTablesSize, std::uint8_t{0});
    std::size_t offset = 0;
    for (std::size_t t = 0; t < kTableCount; ++t) {
        encodeTable(catalogue.tables[t], t != static_cast<std::size_t>(TableKind::Progressions),
                    out.subspan(offset, tableSize(t)));
        offset += tableSize(t);
    }
}

std::optional<ChordCatalogue> decodeCatalogueTables(records::Bytes bytes) {
    if (bytes.size() != kCatalogueTablesSize) return std::nullopt;
    ChordCatalogue catalogue;
    std::size_t offset = 0;
    for (std::size_t t = 0; t < kTableCount; ++t) {
        decodeTable(bytes.subspan(offset, tableSize(t)),
                    t != static_cast<std::size_t>(TableKind::Progressions), catalogue.tables[t]);
        offset += tableSize(t);
    }
    return catalogue;
}

void encodeCatalogueRecord(const ChordCatalogue& catalogue, records::MutableBytes out) {
    std::fill(out.begin(), out.begin() + kLanguageTagRoom + 1, std::uint8_t{0});
    records::putShortString(out, 0, kLanguageTagRoom, catalogue.languageTag);
    encodeCatalogueTables(catalogue, out.subspan(kLanguageTagRoom + 1, kCatalogueTablesSize));
}

std::optional<ChordCatalogue> decodeCatalogueRecord(records::Bytes bytes) {
    if (bytes.size() != kCatalogueRecordSize) return std::nullopt;
    auto catalogue = decodeCatalogueTables(bytes.subspan(kLanguageTagRoom + 1));
    if (catalogue) catalogue->languageTag = records::getShortString(bytes, 0, kLanguageTagRoom);
    return catalogue;
}

}  // namespace kalvintor::theory
