// Rules of the setup views and of editing user catalogue entries, and the working catalogue's Chord.dat.
#include "setup/EntryEditing.h"
#include "setup/EntryStructure.h"
#include "setup/PitchSetupRules.h"
#include "setup/UserCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kalvintor::setup {
namespace {

using theory::CatalogueEntry;
using theory::CatalogueNote;

TEST(RootMovementList, BlanksMoveDownHeadingsUpAndStrangersBecomeRandom) {
    const struct {
        int chosen, settled;
        std::uint8_t stored;
    } cases[] = {{0, 0, 0},   {1, 3, 0},    {2, 0, 0},  {9, 11, 0}, {10, 8, 0}, {23, 25, 0},
                 {24, 22, 0}, {36, 36, 36}, {37, 0, 0}, {-1, 0, 0}, {200, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(settleRootMovement(c.chosen), c.settled) << c.chosen;
        EXPECT_EQ(storedRootMovement(c.chosen), c.stored) << c.chosen;
    }
    EXPECT_EQ(minLimitDistance(0), 1);
    EXPECT_EQ(minLimitDistance(3), 11);
}

TEST(PitchLimitsRules, LimitsNeverCrossNorLeaveThePicture) {
    const PitchLimits start{60, 72};
    // Dragging the lower limit past the upper one stops at the distance below it.
    EXPECT_EQ(moveLimit(start, LimitMarker::Lower, 80, 1, PickerPicture::Piano), (PitchLimits{71, 72}));
    EXPECT_EQ(moveLimit(start, LimitMarker::Lower, 80, 11, PickerPicture::Piano), (PitchLimits{61, 72}));
    // Dragging the upper limit below the lower one stops above it.
    EXPECT_EQ(moveLimit(start, LimitMarker::Upper, 40, 5, PickerPicture::Staff), (PitchLimits{60, 65}));
    // Past the ends of each picture.
    EXPECT_EQ(moveLimit(start, LimitMarker::Lower, 10, 1, PickerPicture::Piano).lower, 41);
    EXPECT_EQ(moveLimit(start, LimitMarker::Lower, 10, 1, PickerPicture::Guitar).lower, 40);
    EXPECT_EQ(moveLimit(start, LimitMarker::Upper, 120, 1, PickerPicture::Guitar).upper, 84);
    EXPECT_EQ(moveLimit(start, LimitMarker::Upper, 120, 1, PickerPicture::Staff).upper, 108);
    EXPECT_EQ(moveLimit(start, LimitMarker::None, 50, 1, PickerPicture::Staff), start);
    // Choosing "Ascending 5th" with limits 60..65 moves the upper limit to 71.
    EXPECT_EQ(keepDistance({60, 65}, minLimitDistance(3)), (PitchLimits{60, 71}));
    EXPECT_EQ(markerAtPitch({60, 60}, 60), LimitMarker::Upper);
    EXPECT_EQ(markerAtPitch({55, 55}, 55), LimitMarker::Lower);
    EXPECT_EQ(markerAtPitch({55, 70}, 61), LimitMarker::None);
}

TEST(RangePickerPictures, MousePositionsGiveThePitchUnderThem) {
    EXPECT_EQ(pianoPitchAt(0, 30), 41);   // F
    EXPECT_EQ(pianoPitchAt(12, 30), 43);  // G
    EXPECT_EQ(pianoPitchAt(10, 5), 42);   // F sharp above the white key boundary
    EXPECT_EQ(pianoPitchAt(40, 5), 47);   // B: no black key between B and C
    EXPECT_EQ(pianoPitchAt(77 + 46, 30), 60);
    for (int p = 41; p < 90; ++p) EXPECT_EQ(pianoPitchAt(pianoKeyCentre(p), isBlackKey(p) ? 5 : 30), p) << p;
    EXPECT_EQ(guitarPitchAt(5, 40), 52);   // open low E
    EXPECT_EQ(guitarPitchAt(20, 0), 77);   // first fret, high E
    EXPECT_EQ(guitarPitchAt(301, 0), 84);  // clamped
    for (int p : {60, 62, 71, 79, 84, 41, 48, 55, 59}) EXPECT_EQ(staffPitchAt(staffY(p), 0), p) << p;
    EXPECT_EQ(staffPitchAt(staffY(60), 30), 61);
    EXPECT_EQ(staffPitchAt(staffY(62), -30), 61);
}

TEST(OfferedEntries, EmptyEntriesAreNotOfferedAndEntryOneStandsInForNone) {
    theory::CatalogueTable table = theory::BuiltInCatalogue().chordTypes();
    std::array<std::uint8_t, pitch::kEntryFlagCount> offered{};
    offered[2] = 1;
    offered[50] = 1;  // entry 51 is empty
    settleOfferedEntries(offered, table, 60);
    EXPECT_EQ(offered[2], 1);
    EXPECT_EQ(offered[50], 0);
    offered = {};
    settleOfferedEntries(offered, table, 60);
    EXPECT_EQ(offered[0], 1);
}

CatalogueNote note(int pitch) {
    return {static_cast<std::uint8_t>(pitch), 0, 0, 0};
}

TEST(EntryNotes, InsertKeepsOrderAndRefusesWhatTheEntryCannotHold) {
    CatalogueEntry entry;
    EXPECT_TRUE(InsertEntryNote(entry, note(67), 0, true));
    EXPECT_TRUE(InsertEntryNote(entry, note(60), 0, true));
    EXPECT_TRUE(InsertEntryNote(entry, note(64), 0, true));
    EXPECT_EQ(entry.count, 3);
    EXPECT_EQ(entry.notes[0].pitch, 60);
    EXPECT_EQ(entry.notes[1].pitch, 64);
    EXPECT_EQ(entry.notes[2].pitch, 67);
    EXPECT_FALSE(InsertEntryNote(entry, note(64), 0, true));  // same pitch
    EXPECT_FALSE(InsertEntryNote(entry, note(52), 0, true));  // below the range
    EXPECT_FALSE(InsertEntryNote(entry, note(85), 0, true));  // above it
    EXPECT_TRUE(InsertEntryNote(entry, note(62), 1, true));   // at a place: scales keep their order
    EXPECT_EQ(entry.notes[0].pitch, 62);
    for (int p = 70; p < 80; ++p) InsertEntryNote(entry, note(p), 0, true);
    EXPECT_EQ(entry.count, 12);
    EXPECT_FALSE(InsertEntryNote(entry, note(55), 0, true));  // a thirteenth note
    EXPECT_TRUE(RemoveEntryNote(entry, 64, 0));
    EXPECT_FALSE(RemoveEntryNote(entry, 64, 0));
    EXPECT_TRUE(RemoveEntryNote(entry, 0, 1));
    EXPECT_EQ(entry.count, 10);
    EXPECT_EQ(entry.notes[0].pitch, 60);
}

TEST(EntryNotes, RemovingANoteLetsTheNotesAboveMoveToHigherStrings) {
    CatalogueEntry entry;
    // Five notes on strings 6..2; the note on string 5 goes.
    const int pitches[] = {55, 59, 64, 72, 77};
    const std::uint8_t strings[] = {6, 5, 4, 3, 2};
    for (int i = 0; i < 5; ++i)
        entry.notes[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(pitches[i]), 0, 0, strings[i]};
    entry.count = 5;
    ASSERT_TRUE(RemoveEntryNote(entry, 59, 0));
    EXPECT_EQ(entry.notes[3].guitarString, 1);  // 77 may be played on the top string
    EXPECT_EQ(entry.notes[2].guitarString, 2);  // 72 follows
    EXPECT_EQ(entry.notes[1].guitarString, 4);  // 64 lies below string 3's open pitch
    EXPECT_EQ(entry.notes[0].guitarString, 6);
}

TEST(Inversions, ATriadOffersThreeChoicesAndItsFirstInversionIsRaised) {
    const auto& catalogue = theory::BuiltInCatalogue();
    EXPECT_EQ(InversionChoices(catalogue.chordTypes().entry(1)), 3);
    CatalogueEntry six;
    six.count = 6;
    EXPECT_EQ(InversionChoices(six), 6);
    const auto types = EligibleInversionTypes(catalogue);
    EXPECT_EQ(std::count(types.begin(), types.end(), 4), 0);
    EXPECT_EQ(std::count(types.begin(), types.end(), 11), 0);
    EXPECT_EQ(types.front(), 1);
    const CatalogueEntry first = InversionEntry(catalogue, 1, 1, "1. inversion");
    ASSERT_EQ(first.count, 3);
    EXPECT_EQ(first.notes[0].pitch, 64);
    EXPECT_EQ(first.notes[1].pitch, 67);
    EXPECT_EQ(first.notes[2].pitch, 72);
    EXPECT_EQ(first.notes[0].extra, 0);
    EXPECT_EQ(first.notes[1].extra, 1);
    EXPECT_EQ(first.name, catalogue.chordTypes().entry(1).name + " (1. inversion)");
}

TEST(ProgressionChords, FlatStepsAreSpelledFlat) {
    EXPECT_EQ(ProgressionChord(8, 0), (CatalogueNote{68, 1, 0, 0}));
    EXPECT_EQ(ProgressionChord(9, 1), (CatalogueNote{69, 0, 1, 0}));
    EXPECT_EQ(ProgressionChordTypeItem(ProgressionChord(3, 17)), 17);
    EXPECT_EQ(ProgressionStep(CatalogueNote{50, 0, 0, 0}), 0);
    CatalogueEntry progression;
    progression.count = 1;
    EXPECT_EQ(CheckProgression(progression), EntryProblem::TooFewChords);
    progression.count = 2;
    EXPECT_EQ(CheckProgression(progression), EntryProblem::None);
}

TEST(StructurePictures, HeadsStandOnTheirWrittenStepsAndDotsOnTheirStrings) {
    // C E-flat G B-double-flat (a diminished seventh spelled from C), and a cluster of seconds.
    CatalogueEntry chord;
    chord.count = 4;
    chord.notes[0] = {60, 0, 0, 0};
    chord.notes[1] = {63, 1, 0, 0};
    chord.notes[2] = {66, 1, 0, 0};
    chord.notes[3] = {69, 2, 0, 0};
    const auto heads = StaffHeads(chord, false);
    ASSERT_EQ(heads.size(), 4u);
    EXPECT_EQ(heads[0].step, -2) << "C4 on the ledger line below the staff";
    EXPECT_EQ(heads[1].step, 0);
    EXPECT_EQ(heads[1].alteration, -1);
    EXPECT_EQ(heads[2].step, 2);
    EXPECT_EQ(heads[3].step, 4);
    EXPECT_EQ(heads[3].alteration, -2);
    CatalogueEntry cluster;
    cluster.count = 3;
    cluster.notes[0] = {60, 0, 0, 0};
    cluster.notes[1] = {62, 0, 0, 0};
    cluster.notes[2] = {64, 0, 0, 0};
    const auto stacked = StaffHeads(cluster, false);
    EXPECT_FALSE(stacked[0].displaced);
    EXPECT_TRUE(stacked[1].displaced);
    EXPECT_FALSE(stacked[2].displaced) << "the third head goes back left of the stem";
    const auto scale = StaffHeads(cluster, true);
    EXPECT_EQ(scale[2].column, 2);
    EXPECT_FALSE(scale[1].displaced);

    // Written guitar pitches: a stored string is kept, the others take the highest string that
    // reaches them; the open low E (52) is string 6, anything below is left out.
    CatalogueEntry guitar;
    guitar.count = 4;
    guitar.notes[0] = {52, 0, 0, 0};
    guitar.notes[1] = {60, 0, 0, 5};
    guitar.notes[2] = {64, 0, 0, 0};
    guitar.notes[3] = {40, 0, 0, 0};
    const auto dots = FretDots(guitar);
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0].string, 6);
    EXPECT_EQ(dots[0].fret, 0);
    EXPECT_EQ(dots[1].string, 5);
    EXPECT_EQ(dots[1].fret, 3);
    EXPECT_EQ(dots[2].string, 4);
    EXPECT_EQ(dots[2].fret, 2);
}

TEST(EntryChecks, EmptyDuplicateOutOfRangeAndLongNamesAreRefused) {
    CatalogueEntry entry;
    EXPECT_EQ(CheckNoteEntry(entry, "x"), EntryProblem::NoNotes);
    entry.count = 2;
    entry.notes[0] = note(60);
    entry.notes[1] = note(60);
    EXPECT_EQ(CheckNoteEntry(entry, "x"), EntryProblem::DuplicateNotes);
    entry.notes[1] = note(90);
    EXPECT_EQ(CheckNoteEntry(entry, "x"), EntryProblem::NotesOutOfRange);
    entry.notes[1] = note(64);
    EXPECT_EQ(CheckNoteEntry(entry, std::string(51, 'a')), EntryProblem::NameTooLong);
    EXPECT_EQ(CheckNoteEntry(entry, std::string(50, 'a')), EntryProblem::None);
    EXPECT_EQ(CheckNoteEntry(entry, "\xC3\xA6" + std::string(49, 'a')), EntryProblem::None);  // 50 characters
}

class ChordDatFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kalvintor-chorddat-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path file() const { return dir_ / "Chord.dat"; }
    void write(const std::string& bytes) const { std::ofstream(file(), std::ios::binary) << bytes; }
    std::string read() const { return files::readFile(file()).value_or(""); }

    std::filesystem::path dir_;
};

TEST_F(ChordDatFile, AChordTypeAddedHereIsReadAtTheNextStart) {
    UserCatalogue here;
    EXPECT_EQ(here.Load(file()), ChordFileState::Missing);
    CatalogueEntry& added = here.catalogue.chordTypes().entry(32);
    added.name = "Quartal";
    for (int p : {60, 65, 70}) InsertEntryNote(added, note(p), 0, false);
    here.changed = true;
    EXPECT_EQ(here.Save(), CatalogueSave::Saved);
    EXPECT_EQ(here.Save(), CatalogueSave::Unchanged);

    UserCatalogue other;
    EXPECT_EQ(other.Load(file()), ChordFileState::Read);
    EXPECT_EQ(other.catalogue.chordTypes().entry(32).name, "Quartal");
    EXPECT_EQ(other.catalogue.chordTypes().entry(32).count, 3);

    // Deleting it there reaches the file.
    other.catalogue.chordTypes().entry(32) = {};
    other.changed = true;
    EXPECT_EQ(other.Save(), CatalogueSave::Saved);
    UserCatalogue third;
    third.Load(file());
    EXPECT_EQ(third.catalogue.chordTypes().entry(32).count, 0);
}

TEST_F(ChordDatFile, ADamagedOrNewerFileIsNeverWrittenOver) {
    std::string record(theory::kChordFileRecordSize, '\0');
    record[0] = 1;
    record[1] = 3;
    record[2] = 40;
    const struct {
        std::string bytes;
        ChordFileState state;
    } cases[] = {
        {record + "abc", ChordFileState::Damaged},
        {std::string(1, '\x01') + std::string(1, '\x20') + record.substr(2), ChordFileState::Damaged},
        {std::string(1, '\x0B') + record.substr(1), ChordFileState::Newer},
        {record, ChordFileState::Read},
    };
    for (const auto& c : cases) {
        write(c.bytes);
        UserCatalogue catalogue;
        EXPECT_EQ(catalogue.Load(file()), c.state);
        catalogue.catalogue.chordTypes().entry(33).count = 1;
        catalogue.catalogue.chordTypes().entry(33).notes[0] = note(60);
        catalogue.changed = true;
        const CatalogueSave saved = catalogue.Save();
        if (c.state == ChordFileState::Read) {
            EXPECT_EQ(saved, CatalogueSave::Saved);
        } else {
            EXPECT_EQ(saved, CatalogueSave::Refused);
            EXPECT_EQ(read(), c.bytes);
            EXPECT_TRUE(catalogue.changed);
        }
    }
}

}  // namespace
}  // namespace kalvintor::setup
