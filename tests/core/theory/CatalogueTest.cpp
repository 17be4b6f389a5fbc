// The built-in catalogue content and the stored layout of its tables.
#include "theory/ChordCatalogue.h"
#include "theory/Naming.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kalvintor::theory;

namespace {

std::vector<int> pitches(const CatalogueEntry& entry) {
    std::vector<int> result;
    for (int k = 0; k < entry.noteCount(); ++k)
        result.push_back(entry.notes[static_cast<std::size_t>(k)].pitch);
    return result;
}

std::vector<int> spellings(const CatalogueEntry& entry) {
    std::vector<int> result;
    for (int k = 0; k < entry.noteCount(); ++k)
        result.push_back(entry.notes[static_cast<std::size_t>(k)].spellOffset);
    return result;
}

}  // namespace

TEST(BuiltInCatalogue, ChordTypesCarryNotesSpellingsStringsAndNames) {
    const auto& types = BuiltInCatalogue().chordTypes();
    EXPECT_EQ(pitches(types.entry(11)), (std::vector<int>{60, 63, 66, 69}));
    EXPECT_EQ(spellings(types.entry(11)), (std::vector<int>{0, 1, 1, 2}));
    EXPECT_EQ(types.entry(11).notes[0].guitarString, 6);
    EXPECT_EQ(types.entry(15).name, "7(sus4)");
    EXPECT_EQ(spellings(types.entry(26)), (std::vector<int>{0, 0, 0, 1, -1}));
    EXPECT_EQ(pitches(types.entry(29)), (std::vector<int>{56, 60, 66}));
    EXPECT_EQ(types.entry(20).notes[4].guitarString, 2);
    EXPECT_EQ(types.entry(18).name, "");
    EXPECT_EQ(types.entry(31).count, 4);
    EXPECT_EQ(types.entry(32).count, 0);
}

TEST(BuiltInCatalogue, InversionsKeepChordTypeAndInversionInTheExtraBytes) {
    const auto& inversions = BuiltInCatalogue().inversions();
    const auto& third = inversions.entry(17);  // seventh chord, third inversion
    EXPECT_EQ(pitches(third), (std::vector<int>{58, 60, 64, 67}));
    EXPECT_EQ(third.notes[0].extra, 6);
    EXPECT_EQ(third.notes[1].extra, 3);
    EXPECT_EQ(inversions.entry(26).notes[0].extra, 3);
    EXPECT_EQ(inversions.entry(26).notes[1].extra, 0);
    EXPECT_EQ(inversions.entry(27).count, 0);
    EXPECT_EQ(inversions.entry(1).name, "Major (root)");
    EXPECT_EQ(inversions.entry(6).name, "Minor 2.inv");
    EXPECT_EQ(inversions.entry(13).name, "maj7 3.inv");
    EXPECT_EQ(inversions.entry(26).name, "+ (root)");
}

TEST(BuiltInCatalogue, IntervalsScalesAndProgressions) {
    const auto& c = BuiltInCatalogue();
    EXPECT_EQ(pitches(c.intervals().entry(7)), (std::vector<int>{60, 66}));
    EXPECT_EQ(spellings(c.intervals().entry(7)), (std::vector<int>{0, 1}));
    EXPECT_EQ(c.intervals().entry(20).name, "12");
    EXPECT_EQ(c.intervals().entry(25).notes[1].pitch, 84);
    EXPECT_EQ(c.intervals().entry(26).count, 0);
    EXPECT_EQ(c.scales().entry(11).count, 12);
    EXPECT_EQ(c.scales().entry(2).notes[0].pitch, 62);
    EXPECT_EQ(spellings(c.scales().entry(31)), (std::vector<int>{0, 1, 1, 0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(c.scales().entry(32).count, 0);
    const auto& last = c.progressions().entry(35);
    EXPECT_EQ(pitches(last), (std::vector<int>{60, 56, 53, 55, 60}));
    EXPECT_EQ(last.notes[1].spellOffset, 1);
    EXPECT_EQ(last.notes[2].extra, 1);
    EXPECT_EQ(c.languageTag, "");
}

TEST(BuiltInCatalogue, EveryLanguageIdNamesOneEntry) {
    std::vector<int> ids;
    for (auto kind : {TableKind::ChordTypes, TableKind::Intervals, TableKind::Scales})
        for (int n = 1; n <= kCatalogueEntries; ++n)
            if (const int id = CatalogueNameId(kind, n)) ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(ids.size(), 31u + 25u + 31u);
    EXPECT_EQ(CatalogueNameId(TableKind::Scales, 14), 3322);
    EXPECT_EQ(CatalogueNameId(TableKind::Scales, 17), 3330);
    EXPECT_EQ(CatalogueNameId(TableKind::Scales, 31), 3358);
    EXPECT_EQ(CatalogueNameId(TableKind::ChordTypes, 15), 3016);
}

TEST(CatalogueLayout, TablesRoundTripAtTheirOffsets) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    catalogue.languageTag = "English";
    catalogue.scales().entry(40).count = 3;
    catalogue.scales().entry(40).name = "Mine";
    std::vector<std::uint8_t> bytes(kCatalogueRecordSize);
    encodeCatalogueRecord(catalogue, bytes);
    EXPECT_EQ(kCatalogueRecordSize, 26956u);
    EXPECT_EQ(bytes[0], 7);
    // ChordTypes entry 2 note 2: E flat with its flat and string 4.
    EXPECT_EQ(bytes[16 + 48 + 4], 63);
    EXPECT_EQ(bytes[16 + 48 + 5], 1);
    EXPECT_EQ(bytes[16 + 48 + 7], 4);
    // ChordTypes counts, then names.
    EXPECT_EQ(bytes[16 + 2880], 3);
    EXPECT_EQ(bytes[16 + 2940], 5);  // "Major"
    // Scales entry 40: after three tables, its count and name.
    const std::size_t scales = 16 + 3 * 6000;
    EXPECT_EQ(bytes[scales + 2880 + 39], 3);
    EXPECT_EQ(bytes[scales + 2940 + 39 * 51], 4);
    // Progressions: no names; entry 1 chord 1 is G major.
    const std::size_t progressions = 16 + 4 * 6000;
    EXPECT_EQ(bytes[progressions], 67);
    EXPECT_EQ(bytes[progressions + 2880], 2);

    const auto decoded = decodeCatalogueRecord(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, catalogue);
    EXPECT_FALSE(decodeCatalogueRecord(std::vector<std::uint8_t>(100)));
    const auto tables = decodeCatalogueTables(std::span(bytes).subspan(16));
    ASSERT_TRUE(tables);
    EXPECT_EQ(tables->tables, catalogue.tables);
}

TEST(CatalogueLayout, GarbageCountsAndNamesAreClampedToTheirRoom) {
    std::vector<std::uint8_t> bytes(kCatalogueTablesSize, 0xFF);
    const auto catalogue = decodeCatalogueTables(bytes);
    ASSERT_TRUE(catalogue);
    for (const auto& table : catalogue->tables) {
        for (const auto& entry : table.entries) {
            EXPECT_EQ(entry.count, 12);
            EXPECT_LE(entry.name.size(), 3 * kEntryNameRoom);  // 50 characters of code page 1252
        }
    }
}
