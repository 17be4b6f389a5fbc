// The setup record's layout and defaults, loading by size, old-record conversion, saving and the
// changed-setup question.
#include "setup/OldSetup.h"
#include "setup/SetupFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace kalvintor::setup;
namespace fs = std::filesystem;
namespace pitch = kalvintor::pitch;
namespace rhythm = kalvintor::rhythm;

namespace {

fs::path freshDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = fs::path(::testing::TempDir()) / (std::string("setup-") + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

template <typename Bytes>
void writeFile(const fs::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> header(std::string_view text) {
    std::vector<std::uint8_t> h(16, 0);
    h[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), h.begin() + 1);
    return h;
}

// A recording host: what the main window was told.
struct Host {
    std::vector<std::string> errors, infos, names;
    int applied = 0;
    Choice answer = Choice::No;
    int asked = 0;
    SetupHost host() {
        SetupHost h;
        h.showError = [this](const std::string& t) { errors.push_back(t); };
        h.showInformation = [this](const std::string& t) { infos.push_back(t); };
        h.showSetupName = [this](const std::string& n) { names.push_back(n); };
        h.applySetupAll = [this](bool) { ++applied; };
        h.askYesNoCancel = [this](const std::string&) {
            ++asked;
            return answer;
        };
        return h;
    }
};

}  // namespace

TEST(SetupRecord, DefaultsHoldTheHeaderAndEveryExercisesDefaultBlockAtItsOffset) {
    const SetupRecord& d = DefaultSetup();
    EXPECT_EQ(std::vector<std::uint8_t>(d.bytes.begin(), d.bytes.begin() + 16), header("Kalvintor 4.0"));
    EXPECT_EQ(d.bytes[669], 0);
    struct Case {
        int exercise;
        std::size_t offset, length;
    };
    for (const Case& c :
         {Case{1, 16, 82}, Case{7, 98, 82}, Case{2, 180, 82}, Case{3, 262, 82}, Case{8, 344, 82},
          Case{4, 426, 44}, Case{5, 470, 44}, Case{6, 514, 44}, Case{9, 558, 29}, Case{10, 587, 82}}) {
        const auto block = d.block(c.exercise);
        EXPECT_EQ(block.data(), d.bytes.data() + c.offset) << c.exercise;
        EXPECT_EQ(block.size(), c.length) << c.exercise;
    }
    EXPECT_EQ(d.pitchBlock(1), pitch::defaultSetupBlock(pitch::PitchExercise::Chords));
    EXPECT_EQ(d.pitchBlock(10), pitch::defaultSetupBlock(pitch::PitchExercise::Progressions));
    EXPECT_EQ(d.rhythmBlock(4), rhythm::defaultRhythmSetup(rhythm::RhythmExercise::Imitation));
    EXPECT_EQ(d.melodyBlock(), pitch::defaultMelodySetup());
    EXPECT_EQ(d.bytes[426 + 26], 90);  // the rhythm tempo
}

TEST(SetupRecord, SetupDiffersIgnoresTheHeaderTheLastByteAndRhythmBytes14To19) {
    const SetupRecord& d = DefaultSetup();
    struct Case {
        std::size_t offset;
        bool differs;
    };
    for (const Case& c : {Case{0, false}, Case{15, false}, Case{669, false}, Case{16, true}, Case{97, true},
                          Case{426 + 13, true}, Case{426 + 14, false}, Case{470 + 19, false},
                          Case{514 + 20, true}, Case{558, true}, Case{586, true}, Case{668, true}}) {
        SetupRecord changed = d;
        changed.bytes[c.offset] ^= 0x40;
        EXPECT_EQ(SetupDiffers(d, changed), c.differs) << c.offset;
        EXPECT_EQ(SetupDiffers(changed, d), c.differs) << c.offset;
    }
}

TEST(SetupRecord, OldPitchBlocksMoveTheirEntriesAndAnswerModes) {
    std::array<std::uint8_t, 50> old{};
    old[4] = 1;         // chord identification entry 5
    old[19] = 1;        // entry 20, a user entry
    old[28] = 1;        // becomes byte 60
    old[34] = 128 + 2;  // locked piano answers
    old[47] = 7;
    old[48] = 84;
    old[49] = 48;
    const auto chords = convertOldPitchBlock(1, old);
    std::array<std::uint8_t, 82> expected{};
    expected[5] = 1;   // new entry 6
    expected[32] = 1;  // new entry 33
    expected[60] = 1;
    expected[66] = 130;
    expected[70] = 16;
    expected[79] = 7;
    expected[80] = 84;
    expected[81] = 48;
    EXPECT_EQ(chords, expected);
    EXPECT_TRUE(selectsUserEntries(1, chords));

    struct Case {
        int exercise;
        int oldEntry, newEntry;
    };
    for (const Case& c : {Case{1, 7, 16}, Case{1, 28, 41}, Case{7, 7, 14}, Case{7, 15, 27}, Case{2, 20, 20},
                          Case{3, 28, 28}, Case{8, 11, 11}, Case{8, 12, 32}, Case{8, 28, 48}}) {
        std::array<std::uint8_t, 50> one{};
        one[static_cast<std::size_t>(c.oldEntry - 1)] = 1;
        const auto block = convertOldPitchBlock(c.exercise, one);
        for (int entry = 1; entry <= 60; ++entry)
            EXPECT_EQ(block[static_cast<std::size_t>(entry - 1)], entry == c.newEntry ? 1 : 0)
                << c.exercise << ": old " << c.oldEntry << ", new " << entry;
    }
    for (const auto& [oldMode, newMode] :
         std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 4}, {4, 0}, {129, 129}}) {
        std::array<std::uint8_t, 50> o{};
        o[34] = static_cast<std::uint8_t>(oldMode);
        EXPECT_EQ(convertOldPitchBlock(2, o)[66], newMode) << oldMode;
    }
}

TEST(SetupFile, OldFilesOf386And388BytesConvertAlike) {
    const auto dir = freshDir();
    std::array<std::uint8_t, 386> old{};
    const auto h = header("Kalvintor 2.0");
    std::copy(h.begin(), h.end(), old.begin());
    old[16 + 4] = 1;      // exercise 1, old entry 5
    old[266 + 12] = 120;  // exercise 4's old tempo byte
    old[356 + 18] = 1;    // melody tonic
    old[356 + 20] = 3;    // melody answers on the guitar
    old[356 + 5] = 9;
    writeFile(dir / "old.lvs", old);
    std::vector<std::uint8_t> padded(old.begin(), old.begin() + 266);
    for (int block = 0; block < 3; ++block) {
        padded.insert(padded.end(), old.begin() + 266 + 30 * block, old.begin() + 266 + 30 * (block + 1));
        padded.push_back(0xEE);  // filler
    }
    padded.insert(padded.end(), old.begin() + 356, old.begin() + 385);
    ASSERT_EQ(padded.size(), 388u);
    writeFile(dir / "padded.lvs", padded);

    const SetupRead a = readSetupFile(dir / "old.lvs");
    const SetupRead b = readSetupFile(dir / "padded.lvs");
    ASSERT_EQ(a.status, SetupReadStatus::Converted);
    ASSERT_EQ(b.status, SetupReadStatus::Converted);
    EXPECT_EQ(a.record, b.record);
    EXPECT_TRUE(a.record.pitchBlock(1).entryOn(6));
    EXPECT_FALSE(a.record.pitchBlock(1).entryOn(5));
    EXPECT_EQ(a.record.bytes[426 + 26], 120);
    EXPECT_EQ(a.record.bytes[558 + 18], 17);
    EXPECT_EQ(a.record.bytes[558 + 20], 4);
    EXPECT_EQ(a.record.bytes[558 + 5], 9);
    const SetupRecord& d = DefaultSetup();
    EXPECT_TRUE(std::equal(d.bytes.begin(), d.bytes.begin() + 16, a.record.bytes.begin()));
    EXPECT_TRUE(std::ranges::equal(d.block(10), a.record.block(10)));
}

TEST(SetupFile, LoadingChoosesByHeaderAndSizeAndReportsAsTheUserSeesIt) {
    const auto dir = freshDir();
    SetupRecord custom = DefaultSetup();
    custom.bytes[16] = 1;
    custom.bytes[14] = 0x55;  // bytes after the header text are kept as they are
    writeFile(dir / "Good.Level.lvs", custom.bytes);
    SetupRecord future = custom;
    future.bytes[13] = '1';  // "Kalvintor 4.1"
    writeFile(dir / "future.lvs", future.bytes);
    writeFile(dir / "short.lvs", std::vector<std::uint8_t>(100, 0x33));

    Host h;
    SetupSession session(h.host());
    ASSERT_TRUE(session.LoadSetupFile((dir / "Good.Level.lvs").string(), false));
    EXPECT_EQ(session.current, custom);
    EXPECT_EQ(session.savedCopy, custom);
    EXPECT_EQ(h.names.back(), "Good");

    EXPECT_FALSE(session.LoadSetupFile((dir / "future.lvs").string(), false));
    EXPECT_EQ(h.infos.size(), 1u);
    EXPECT_EQ(session.current, custom);  // refused: the setup stays

    // A file shorter than a record is not taken for a good one: it is reported, and the built-in
    // setup takes over without the file's name.
    EXPECT_FALSE(session.LoadSetupFile((dir / "short.lvs").string(), false));
    ASSERT_EQ(h.errors.size(), 1u);
    EXPECT_NE(h.errors[0].find("could not be read"), std::string::npos);
    EXPECT_NE(h.errors[0].find("short.lvs"), std::string::npos);
    EXPECT_EQ(session.current, DefaultSetup());
    EXPECT_EQ(session.setupName, "");
    EXPECT_EQ(h.names.back(), " ");

    session.LoadSetupFile((dir / "Good.Level.lvs").string(), false);
    EXPECT_FALSE(session.LoadSetupFile((dir / "missing.lvs").string(), false));
    ASSERT_EQ(h.errors.size(), 2u);
    EXPECT_NE(h.errors[1].find("File does not exist:"), std::string::npos);
    EXPECT_EQ(session.setupName, "");
    EXPECT_EQ(session.current, DefaultSetup());
    EXPECT_TRUE(session.setupLoaded);
    EXPECT_FALSE(session.LoadSetupFile("", false));
}

TEST(SetupFile, SavedSetupLoadsBackByteForByteAndUnchanged) {
    const auto dir = freshDir();
    Host h;
    SetupSession session(h.host());
    session.current.bytes[300] = 0x7A;
    session.current.bytes[0] = 0;  // the header is written on saving
    ASSERT_TRUE(session.SaveSetupFile((dir / "Mine.lvs").string()));
    const SetupRecord saved = session.current;
    session.savedCopy = session.current;
    ASSERT_TRUE(session.LoadSetupFile((dir / "Mine.lvs").string(), false));
    EXPECT_EQ(session.current, saved);
    EXPECT_TRUE(session.current.hasHeader("Kalvintor 4.0"));
    EXPECT_FALSE(session.setupChanged);
    EXPECT_FALSE(session.SaveSetupFile((dir / "no-such-dir" / "x.lvs").string()));
    EXPECT_EQ(session.setupName, (dir / "Mine.lvs").string());
}

TEST(SetupFile, AChangedSetupIsOfferedForSavingUnlessATutorRuns) {
    const auto dir = freshDir();
    writeFile(dir / "Other.lvs", DefaultSetup().bytes);
    Host h;
    bool tutor = false;
    SetupRecord dialog = DefaultSetup();
    dialog.bytes[20] = 1;
    SetupHost host = h.host();
    host.tutorActive = [&] { return tutor; };
    host.setupViewShown = [] { return true; };
    SetupSession session(host);
    session.host().takeSetupDialog = [&] { session.current = dialog; };

    h.answer = Choice::Cancel;
    EXPECT_FALSE(session.LoadSetupFile((dir / "Other.lvs").string(), false));
    EXPECT_EQ(h.asked, 1);
    EXPECT_EQ(session.current, dialog);  // cancelled: nothing loaded

    h.answer = Choice::No;
    EXPECT_TRUE(session.ConfirmSetupChange());
    tutor = true;
    EXPECT_TRUE(session.ConfirmSetupChange());
    EXPECT_EQ(h.asked, 2);

    session.LeaveSetupView();  // the visit changed the setup...
    EXPECT_TRUE(session.setupChanged);
    EXPECT_EQ(session.savedCopy, dialog);
    session.LeaveSetupView();  // ...the next one did not
    EXPECT_FALSE(session.setupChanged);
}
