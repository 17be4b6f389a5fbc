// The data store under the faults of a school's network: two workstations creating Common.dat at
// once, links planted in the data directory, a full disk and a read-only share.
#include "DataFixture.h"
#include "SmallDisk.h"

#include "data/SessionResult.h"

#include <functional>

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;
using kalvintor::testing_support::SmallDisk;

namespace {

// The store's error messages, collected.
struct Messages {
    std::vector<std::string> shown;
    void attach(DataStore& store) {
        store.callbacks().showError = [this](const std::string& text) { shown.push_back(text); };
    }
    bool any(const std::string& part) const {
        for (const auto& m : shown)
            if (m.find(part) != std::string::npos) return true;
        return false;
    }
};

}  // namespace

TEST(CommonFile, AWorkstationThatFoundItMissingNeverResetsTheCountersAnotherHasBegunToHandOut) {
    const auto dir = freshDir();
    // GIVEN a new data directory, and workstation A finding Common.dat missing; at that moment
    // workstation B starts, creates Common.dat and hands out five user ids.
    DataStore a(dir, {}, quickCallbacks());
    DataStore b(dir, {}, quickCallbacks());
    std::vector<int> idsOfB;
    int created = 0;
    a.callbacks().lockWait.beforeCreate = [&](const fs::path& file) {
        ++created;
        EXPECT_EQ(file.filename(), "Common.dat");
        b.LoadCommon();
        for (int i = 0; i < 5; ++i) idsOfB.push_back(b.NextId(IdKind::User));
    };
    // WHEN A goes on with its start
    a.LoadCommon();
    // THEN A reads B's file instead of making a new one, and its next id is a new one.
    EXPECT_EQ(created, 1);
    EXPECT_EQ(idsOfB, (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(a.Common.nextUserId, 7);
    EXPECT_EQ(a.NextId(IdKind::User), 7);
    EXPECT_EQ(readBytes(dir / "Common.dat").size(), kCommonRecordSize);
}

TEST(Links, NoWriteOfTheStoreGoesThroughALinkPlantedInTheDataDirectory) {
    struct Case {
        const char* planted;  // the name in the data directory that is a link
        bool toFolder;        // the link leads to a folder (else to a file)
        std::function<bool(DataStore&)> write;
    };
    const std::vector<Case> cases{
        {"User.dat", false, [](DataStore& s) { return s.SaveUser(user(2, "anna", "Anna", "Berg")); }},
        {"Class.dat", false,
         [](DataStore& s) {
             return s.SaveClass(ClassRecord{"3a", 1, 0, "\\"});
         }},
        {"Common.dat", false, [](DataStore& s) { return s.NextId(IdKind::User) != 0; }},
        {"Setting.dat", false, [](DataStore& s) { return s.SaveSettings(2); }},
        {"Result/User002.dat", false, [](DataStore& s) { return s.AppendResult(result(2, 1, 45000)); }},
        {"Result/User002.dat", false, [](DataStore& s) { return s.PurgeResults(2, 0); }},
        {"Result/User002.dat", false,
         [](DataStore& s) { return s.MergeResults(2, {result(2, 1, 45000)}).has_value(); }},
        {"Result", true, [](DataStore& s) { return s.AppendResult(result(2, 1, 45000)); }},
    };
    for (const bool dangling : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.planted) +
                         (dangling ? " leading nowhere" : " leading to a file outside"));
            const auto root = freshDir(std::string("-") + (dangling ? "d" : "f"));
            const auto data = root / "Data";
            const auto outside = root / "outside";
            fs::create_directories(data / "Result");
            fs::create_directories(outside);
            writeBytes(outside / "User002.dat", "precious");
            writeBytes(outside / "target", "precious");
            const fs::path link = data / c.planted;
            fs::remove_all(link);
            const fs::path to = c.toFolder ? outside : outside / (dangling ? "nothing" : "target");
            if (c.toFolder && dangling) continue;  // a folder leading nowhere is the same as missing
            fs::create_symlink(to, link);

            DataStore store(data, {}, quickCallbacks());
            Messages messages;
            messages.attach(store);
            EXPECT_FALSE(c.write(store));
            // Nothing outside was written or made, and the failure names the link.
            EXPECT_EQ(readBytes(outside / "User002.dat"), "precious");
            EXPECT_EQ(readBytes(outside / "target"), "precious");
            EXPECT_FALSE(fs::exists(outside / "nothing"));
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(store.LastError().kind, FileFailure::Link);
            EXPECT_EQ(store.LastError().file, link);
            const std::string said = store.describe(store.LastError());
            EXPECT_NE(said.find(link.string()), std::string::npos) << said;
            EXPECT_NE(said.find("symbolic link"), std::string::npos) << said;
        }
    }
}

TEST(FullDisk, AnAppendThatFindsNoRoomFailsLeavesNoPartialRecordAndIsKeptForTheNextSave) {
    const auto root = freshDir();
    SmallDisk disk(root / "disk", 64);
    KALVINTOR_NEED_SMALL_DISK(disk);
    DataStore store(disk.root(), {}, quickCallbacks());
    ASSERT_TRUE(store.SaveUser(user(2, "anna", "Anna", "Berg")));
    const auto file = store.ResultFileName(2);
    ASSERT_TRUE(store.AppendResult(result(2, 1, 45000)));
    // GIVEN a disk with no room left
    disk.fill();
    // WHEN sessions end: the first result still fits the page of the file, later ones do not
    std::vector<ResultRecord> unsaved;
    int kept = 0;
    for (int session = 1; session <= 20 && unsaved.empty(); ++session) {
        unsaved.push_back(result(2, 1, 45000 + session));
        kept = session;
        AppendKeptResults(store, unsaved);
    }
    // THEN the append fails and says so, the file holds whole records only, and the result waits
    ASSERT_EQ(unsaved.size(), 1u);
    EXPECT_EQ(store.LastError().kind, FileFailure::NoSpace);
    EXPECT_NE(store.describe(store.LastError()).find("no room left"), std::string::npos);
    EXPECT_EQ(fs::file_size(file) % kResultRecordSize, 0u);
    EXPECT_EQ(fs::file_size(file) / kResultRecordSize, static_cast<std::uintmax_t>(kept));
    // A second failed save keeps both, in order.
    unsaved.push_back(result(2, 2, 46000));
    EXPECT_FALSE(AppendKeptResults(store, unsaved));
    EXPECT_EQ(unsaved.size(), 2u);

    // WHEN room is made, the next save writes what was kept, then the new result.
    disk.makeRoom();
    unsaved.push_back(result(2, 3, 47000));
    EXPECT_TRUE(AppendKeptResults(store, unsaved));
    store.LoadResults(2);
    ASSERT_EQ(store.ResultList().size(), static_cast<std::size_t>(kept + 3));
    EXPECT_EQ(store.ResultList()[kept]->record.sessionStart, 45000 + kept);
    EXPECT_EQ(store.ResultList()[kept + 2]->record.exercise, 3);
}

TEST(FullDisk, SavingANewUserOrClassOnAFullDiskFailsAndSaysThereIsNoRoom) {
    const auto root = freshDir();
    SmallDisk disk(root / "disk", 64);
    KALVINTOR_NEED_SMALL_DISK(disk);
    DataStore store(disk.root(), {}, quickCallbacks());
    Messages messages;
    messages.attach(store);
    store.LoadCommon();
    ASSERT_TRUE(store.SaveUser(user(2, "u2", "U", "U")));
    disk.fill();
    // Users fill the rest of the last page of User.dat; the next one finds no room.
    std::int16_t id = 3;
    while (store.SaveUser(user(id, "u" + std::to_string(id), "U", "U")) && id < 40) ++id;
    EXPECT_LT(id, 40);
    EXPECT_EQ(store.LastError().kind, FileFailure::NoSpace);
    EXPECT_TRUE(messages.any(std::string(texts::kSaveUserBusy.english)));
    EXPECT_TRUE(messages.any("no room left"));
    EXPECT_EQ(fs::file_size(disk.root() / "User.dat") % kUserRecordSize, 0u);
    EXPECT_FALSE(store.SaveClass(ClassRecord{"3a", 1, 0, "\\"}));
    EXPECT_EQ(store.LastError().kind, FileFailure::NoSpace);
}

TEST(ReadOnly, AReadOnlyShareIsSaidToBeReadOnlyAtOnceNotInUse) {
    const auto root = freshDir();
    SmallDisk disk(root / "disk", 256);
    KALVINTOR_NEED_SMALL_DISK(disk);
    {
        DataStore setup(disk.root());
        setup.LoadCommon();
        ASSERT_TRUE(setup.SaveUser(user(2, "anna", "Anna", "Berg")));
        ASSERT_TRUE(setup.AppendResult(result(2, 1, 44000)));
    }
    ASSERT_TRUE(disk.setReadOnly(true));
    DataStore store(disk.root(), {}, quickCallbacks());
    Messages messages;
    messages.attach(store);
    int waits = 0;
    int asked = 0;
    store.callbacks().lockWait.pause = [&](int) { ++waits; };
    store.callbacks().lockWait.askRetry = [&](const std::string&) { return ++asked < 3; };

    EXPECT_FALSE(store.SaveUser(user(2, "anna", "Anna", "Lind")));
    EXPECT_EQ(store.NextId(IdKind::User), 0);
    EXPECT_FALSE(store.AppendResult(result(2, 1, 45000)));
    EXPECT_EQ(store.LastError().kind, FileFailure::ReadOnly);
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(messages.any("is read-only"));
    EXPECT_FALSE(messages.any("in use on another workstation"));
    // Reading goes on as before.
    store.LoadUsers();
    EXPECT_EQ(store.UserList().size(), 1u);
    EXPECT_TRUE(disk.setReadOnly(false));
}

TEST(LargeFile, AResultFileLargerThanCanBeReadWholeIsRefusedNeverCut) {
    const auto dir = freshDir();
    DataStore store(dir, {}, quickCallbacks());
    const auto file = store.ResultFileName(2);
    // A sparse file: no room on the disk, but beyond what a data file can be.
    const std::uintmax_t size = kMaxSharedFileSize + kResultRecordSize;
    writeBytes(file, "");
    fs::resize_file(file, size);
    EXPECT_FALSE(store.MergeResults(2, {result(2, 1, 45000)}));
    EXPECT_EQ(store.LastError().kind, FileFailure::TooLarge);
    EXPECT_FALSE(store.PurgeResults(2, 0));
    EXPECT_EQ(fs::file_size(file), size);
    EXPECT_FALSE(fs::exists(dir / "Result" / "xUser002.dat"));
}
