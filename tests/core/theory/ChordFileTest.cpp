// Chord.dat: which records are read, what is written back, and how the file is updated.
#include "records/Binary.h"
#include "theory/ChordFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace kalvintor;
using namespace kalvintor::theory;

namespace {

using Record = std::array<std::uint8_t, kChordFileRecordSize>;

Record record(std::uint8_t code, int entry, int count, int firstPitch, const std::string& name = "") {
    Record r{};
    r[0] = code;
    r[1] = static_cast<std::uint8_t>(count);
    records::putU16(r, 2, static_cast<std::uint16_t>(entry));
    for (int k = 0; k < 12; ++k)
        r[static_cast<std::size_t>(4 + 4 * k)] = static_cast<std::uint8_t>(firstPitch + k);
    r[52] = static_cast<std::uint8_t>(std::min<std::size_t>(name.size(), 255));
    for (std::size_t i = 0; i < name.size() && i < 51; ++i) r[53 + i] = static_cast<std::uint8_t>(name[i]);
    return r;
}

std::vector<std::uint8_t> join(std::initializer_list<Record> records) {
    std::vector<std::uint8_t> bytes;
    for (const auto& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
    return bytes;
}

// The (code, entry, count) of every record of a file image.
std::vector<std::array<int, 3>> recordsOf(const std::vector<std::uint8_t>& file) {
    std::vector<std::array<int, 3>> result;
    for (std::size_t at = 0; at + kChordFileRecordSize <= file.size(); at += kChordFileRecordSize)
        result.push_back({file[at], records::getU16(file, at + 2), file[at + 1]});
    return result;
}

class ChordFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kalvintor-chord-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path file() const { return dir_ / kChordFileName; }
    void write(const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(file(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> read() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir_;
};

}  // namespace

TEST(ReadChordFile, OnlyUserRangesAreReadAndTheLaterRecordWins) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    auto file = join({
        record(chord_codes::kChordTypes, 5, 2, 40, "Hack"),  // built-in: ignored
        record(chord_codes::kChordTypes, 28, 3, 50, "First"),
        record(chord_codes::kChordTypes, 28, 4, 52, "Second"),
        record(chord_codes::kIntervals, 31, 2, 60, "Beyond"),  // intervals stop at 30
        record(chord_codes::kIntervals, 26, 2, 60, "Tritone twice"),
        record(3, 40, 3, 60, "Unknown code"),
        record(chord_codes::kScales, 61, 3, 60, "Beyond 60"),
        record(chord_codes::kProgressions, 36, 40, 60, "No names"),  // count clamped to 12
        record(chord_codes::kChordInversions, 27, 3, 64, "Inv"),
    });
    file.resize(file.size() + 50, 0x01);  // a short last record
    ReadChordFile(file, catalogue);

    const auto& builtIn = BuiltInCatalogue();
    EXPECT_EQ(catalogue.chordTypes().entry(5), builtIn.chordTypes().entry(5));
    EXPECT_EQ(catalogue.chordTypes().entry(28).count, 4);
    EXPECT_EQ(catalogue.chordTypes().entry(28).notes[0].pitch, 52);
    EXPECT_EQ(catalogue.chordTypes().entry(28).name, "Second");
    EXPECT_EQ(catalogue.intervals().entry(26).name, "Tritone twice");
    EXPECT_EQ(catalogue.intervals().entry(31).count, 0);
    EXPECT_EQ(catalogue.progressions().entry(36).count, 12);
    EXPECT_EQ(catalogue.progressions().entry(36).name, "");
    EXPECT_EQ(catalogue.inversions().entry(27).name, "");
    EXPECT_EQ(catalogue.inversions().entry(27).notes[2].pitch, 66);
    EXPECT_EQ(catalogue.scales(), builtIn.scales());
}

TEST(ReadChordFile, ANameLongerThanItsRoomIsCut) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    auto r = record(chord_codes::kScales, 33, 3, 60, std::string(51, 'n'));
    r[52] = 200;
    ReadChordFile(r, catalogue);
    EXPECT_EQ(catalogue.scales().entry(33).name, std::string(50, 'n'));
}

TEST(StoreChordFile, DeletionsReachTheFileAndEmptyEntriesStayOut) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    const auto original =
        join({record(chord_codes::kScales, 40, 3, 60, "Gone"), record(chord_codes::kScales, 41, 3, 60)});
    ReadChordFile(original, catalogue);
    CatalogueFileSnapshot snapshot;
    snapshot.counts[static_cast<std::size_t>(TableKind::Scales)][39] = 3;
    snapshot.counts[static_cast<std::size_t>(TableKind::Scales)][40] = 3;
    catalogue.scales().entry(40).count = 0;  // deleted by the user

    const auto file = StoreChordFile(original, catalogue, snapshot);
    const auto stored = recordsOf(file);

    // The chord types of the user range are appended behind the scales, so the scales, stored
    // after them, are appended again; the deletion is the later record and wins on reading.
    ASSERT_EQ(stored.size(), 8u);
    EXPECT_EQ(stored[2], (std::array<int, 3>{1, 28, 3}));
    EXPECT_EQ(stored[5], (std::array<int, 3>{1, 31, 4}));
    EXPECT_EQ(stored[6], (std::array<int, 3>{8, 40, 0}));
    EXPECT_EQ(stored[7], (std::array<int, 3>{8, 41, 3}));
    ChordCatalogue reread = BuiltInCatalogue();
    ReadChordFile(file, reread);
    EXPECT_EQ(reread.scales().entry(40).count, 0);

    // Stored again from the result: every record is found in place and nothing grows.
    EXPECT_EQ(StoreChordFile(file, reread, snapshot), file);
}

TEST(StoreChordFile, AnEntryEmptyNowAndInTheFileIsNotWritten) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    for (int n = 28; n <= 31; ++n) catalogue.chordTypes().entry(n).count = 0;
    EXPECT_TRUE(StoreChordFile({}, catalogue, CatalogueFileSnapshot{}).empty());
}

TEST(StoreChordFile, ScansOnlyForwardSoAnOlderRecordMayStayBehind) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    // Scales 40 lies before chord type 28 in the file; writing chord types first moves past it.
    const auto original =
        join({record(chord_codes::kScales, 40, 3, 60, "Old"), record(chord_codes::kChordTypes, 28, 3, 65)});
    ReadChordFile(original, catalogue);
    catalogue.scales().entry(40).name = "New";
    CatalogueFileSnapshot snapshot;
    const auto file = StoreChordFile(original, catalogue, snapshot);
    const auto stored = recordsOf(file);
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[1], (std::array<int, 3>{1, 28, 3}));
    EXPECT_EQ(stored.back(), (std::array<int, 3>{8, 40, 3}));
    ChordCatalogue reread = BuiltInCatalogue();
    ReadChordFile(file, reread);
    EXPECT_EQ(reread.scales().entry(40).name, "New");
}

TEST(StoreChordFile, IntervalsBeyondThirtyAreNeverWritten) {
    ChordCatalogue catalogue = BuiltInCatalogue();
    catalogue.intervals().entry(30).count = 2;
    catalogue.intervals().entry(31).count = 2;
    const auto stored = recordsOf(StoreChordFile({}, catalogue, CatalogueFileSnapshot{}));
    EXPECT_NE(std::find(stored.begin(), stored.end(), std::array<int, 3>{2, 30, 2}), stored.end());
    for (const auto& r : stored) EXPECT_FALSE(r[0] == 2 && r[1] > 30);
}

TEST_F(ChordFileOnDisk, MissingFileLeavesTheBuiltInCatalogue) {
    ChordCatalogue catalogue;
    const auto snapshot = LoadCatalogue(catalogue, file());
    EXPECT_EQ(catalogue, BuiltInCatalogue());
    EXPECT_EQ(snapshot.counts[0][27], 3);  // the built-in chord type 28 counts as provided
}

TEST_F(ChordFileOnDisk, SavedUserEntriesLoadBackAndDeletionsAreWritten) {
    ChordCatalogue catalogue;
    auto snapshot = LoadCatalogue(catalogue, file());
    catalogue.scales().entry(32) = catalogue.scales().entry(1);
    catalogue.scales().entry(32).name = "My major";
    catalogue.chordTypes().entry(28).count = 0;  // the Neapolitan sixth deleted
    ASSERT_EQ(SaveCatalogue(catalogue, snapshot, file()), files::WriteError::None);

    ChordCatalogue reloaded;
    snapshot = LoadCatalogue(reloaded, file());
    EXPECT_EQ(reloaded.scales().entry(32), catalogue.scales().entry(32));
    EXPECT_EQ(reloaded.chordTypes().entry(28).count, 0);
    EXPECT_EQ(read().size(), 5 * kChordFileRecordSize);  // chord types 28..31 and scale 32

    // A short tail is dropped before appending, so the new record stays readable.
    auto bytes = read();
    bytes.resize(bytes.size() + 17, 0xAA);
    write(bytes);
    reloaded.progressions().entry(36) = reloaded.progressions().entry(1);
    ASSERT_EQ(SaveCatalogue(reloaded, snapshot, file()), files::WriteError::None);
    ChordCatalogue third;
    LoadCatalogue(third, file());
    EXPECT_EQ(third.progressions().entry(36).count, 2);
    EXPECT_EQ(read().size() % kChordFileRecordSize, 0u);
}

TEST_F(ChordFileOnDisk, AFileThatCannotBeReadIsNotReplaced) {
    std::filesystem::create_directory(file());  // exists, but reads fail
    ChordCatalogue catalogue;
    const auto snapshot = LoadCatalogue(catalogue, file());
    EXPECT_EQ(catalogue, BuiltInCatalogue());
    EXPECT_NE(SaveCatalogue(catalogue, snapshot, file()), files::WriteError::None);
    EXPECT_TRUE(std::filesystem::is_directory(file()));
}
