// kalvintor-admin under the faults of a school's network: backups beside new users and a data
// folder moved away, links planted in the data directory, a full stick, a huge result file, a
// rewrite in progress on another workstation, and arguments that name nothing.
#include "AdminFixture.h"

#include "../core/data/SmallDisk.h"
#include "data/RecordScan.h"
#include "data/SharedFile.h"

#include <spawn.h>
#include <sys/wait.h>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

extern char** environ;

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;
using kalvintor::testing_support::SmallDisk;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A command run with `pause` called whenever it waits for a file another process holds.
Run runWaiting(const fs::path& data, std::vector<std::string> args, std::function<void(int)> pause) {
    std::ostringstream out;
    std::ostringstream err;
    Context context{{}, data.parent_path() / "Program", out, err, {}, std::move(pause)};
    args.insert(args.begin(), {"--data", data.string()});
    Run r;
    r.code = run(args, context, data.parent_path() / "no-settings.ini");
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> faultKinds(const fs::path& data) {
    std::vector<std::string> kinds;
    for (const auto& f : findFaults(data)) kinds.push_back(f.kind + ": " + f.message);
    return kinds;
}

}  // namespace

TEST(Backup, TakenWhileUsersAreAddedIsAlwaysCheckedClean) {
    const auto root = freshDir();
    School school(root);
    // Enough result files that copying them takes a while, as in a real school.
    for (int i = 0; i < 60; ++i) {
        const auto u = school.addUser("u" + std::to_string(i), "U", std::to_string(i));
        school.add(result(u.userId, 1, at(2024, 3, 1), 5, 10));
    }
    std::vector<std::string> args{KALVINTOR_DATA_WORKSTATION, "users", school.data.string(), "400"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto usersBefore = fs::file_size(school.data / "User.dat");
    pid_t writer = -1;
    ASSERT_EQ(posix_spawn(&writer, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    // The copies are taken once the writer has added its first user, so they meet it at work.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (fs::file_size(school.data / "User.dat") == usersBefore &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (fs::file_size(school.data / "User.dat") == usersBefore) {
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        FAIL() << "the writer added no user in a minute";
    }
    for (int round = 0; round < 3; ++round) {
        const auto copy = root / ("Backup" + std::to_string(round));
        const auto r = runAdmin(school.data, {"backup", copy.string()}, Waits::Real);
        ASSERT_EQ(r.code, kExitOk) << r.err;
        // A restored copy never hands out an id its users already have.
        EXPECT_EQ(faultKinds(copy), std::vector<std::string>{}) << "round " << round;
    }
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(faultKinds(school.data), std::vector<std::string>{});
}

TEST(Backup, FailsWhenTheDataFolderIsMovedAwayAndNamesAFileReallyDeleted) {
    struct Case {
        const char* what;
        bool moveFolder;  // else the held result file is deleted
    };
    for (const Case c : {Case{"folder moved", true}, Case{"file deleted", false}}) {
        SCOPED_TRACE(c.what);
        const auto root = freshDir(c.moveFolder ? "-moved" : "-deleted");
        School school(root);
        school.addUser("anna", "Anna", "Berg");
        school.addUser("bo", "Bo", "Alm");
        school.add(result(2, 1, at(2024, 3, 1), 5, 10));
        school.add(result(3, 1, at(2024, 3, 1), 5, 10));
        // Another workstation holds bo's result file; while the backup waits for it, the folder
        // is renamed away (or the file deleted) and the file let go.
        auto held = data::LockedFile::open(school.data / "Result" / "User003.dat", "", "", {});
        ASSERT_TRUE(held);
        const auto copy = root / "Backup";
        bool acted = false;
        const auto r = runWaiting(school.data, {"backup", copy.string()}, [&](int) {
            if (acted) return;
            acted = true;
            if (c.moveFolder) {
                fs::rename(school.data, root / "Moved");
            } else {
                fs::remove(school.data / "Result" / "User003.dat");
            }
            held.reset();
        });
        ASSERT_TRUE(acted);
        if (c.moveFolder) {
            EXPECT_EQ(r.code, kExitFailed) << r.out;
            EXPECT_TRUE(contains(r.err, "the backup failed")) << r.err;
            EXPECT_FALSE(fs::exists(copy));
        } else {
            ASSERT_EQ(r.code, kExitOk) << r.err;
            EXPECT_TRUE(contains(r.err, "not copied: Result/User003.dat (deleted during the backup)"))
                << r.err;
            EXPECT_TRUE(fs::exists(copy / "User.dat"));
            EXPECT_TRUE(fs::exists(copy / "Result" / "User002.dat"));
        }
    }
}

TEST(Links, PlantedLinksAreNeitherWrittenThroughNorCopiedAndAreReported) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    school.addUser("bo", "Bo", "Alm");
    school.add(result(3, 1, at(2023, 3, 1), 5, 10));
    const auto outside = root / "outside";
    fs::create_directories(outside);
    writeBytes(outside / "secret", std::string(2 * data::kResultRecordSize, 's'));
    // Anna's result file is a link to a file outside; a second link leads nowhere.
    fs::create_symlink(outside / "secret", school.data / "Result" / "User002.dat");
    fs::create_symlink(outside / "nothing", school.data / "Setting.dat");

    const auto purged = runAdmin(school.data, {"purge", "--before", "2024-01-01"});
    EXPECT_EQ(purged.code, kExitFailed);
    EXPECT_TRUE(contains(purged.err, "User002.dat is a symbolic link")) << purged.err;
    const auto stick = root / "stick";
    const auto exported = runAdmin(school.data, {"export", "anna", stick.string(), "--yes"});
    EXPECT_EQ(exported.code, kExitFailed);
    EXPECT_TRUE(contains(exported.err, "symbolic link")) << exported.err;
    EXPECT_FALSE(fs::exists(stick / "exresult.dx4"));
    ASSERT_EQ(runAdmin(school.data, {"export", "bo", stick.string(), "--yes"}).code, kExitOk);
    const auto imported = runAdmin(school.data, {"import", stick.string(), "anna", "--yes"});
    EXPECT_EQ(imported.code, kExitFailed);
    EXPECT_TRUE(contains(imported.err, "symbolic link")) << imported.err;
    EXPECT_EQ(readBytes(outside / "secret"), std::string(2 * data::kResultRecordSize, 's'));
    EXPECT_FALSE(fs::exists(outside / "nothing"));

    const auto copy = root / "Backup";
    const auto backup = runAdmin(school.data, {"backup", copy.string()});
    ASSERT_EQ(backup.code, kExitOk) << backup.err;
    EXPECT_TRUE(contains(backup.err, "not copied: Result/User002.dat (a symbolic link to")) << backup.err;
    EXPECT_TRUE(contains(backup.err, "not copied: Setting.dat")) << backup.err;
    EXPECT_FALSE(fs::exists(fs::symlink_status(copy / "Result" / "User002.dat")));
    EXPECT_TRUE(fs::exists(copy / "Result" / "User003.dat"));

    const auto check = runAdmin(school.data, {"check", "--csv"});
    EXPECT_EQ(check.code, kExitFailed);
    EXPECT_TRUE(contains(check.out, "Result/User002.dat,link,")) << check.out;
    EXPECT_TRUE(contains(check.out, "Setting.dat,link,")) << check.out;
}

TEST(Transfer, AnExportToAFullStickFailsWithTheReasonAndLeavesNoStaleResults) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    school.addUser("bo", "Bo", "Alm");
    for (int day = 1; day <= 70; ++day) school.add(result(2, 1, at(2024, 1, 1) + day, 5, 10));
    school.add(result(3, 1, at(2024, 1, 1), 5, 10));
    SmallDisk stick(root / "stick", 32);
    KALVINTOR_NEED_SMALL_DISK(stick);
    const auto folder = stick.root() / "export";
    // An earlier export of bo is on the stick; then the stick fills up except for a little room.
    ASSERT_EQ(runAdmin(school.data, {"export", "bo", folder.string(), "--yes"}).code, kExitOk);
    ASSERT_TRUE(fs::exists(folder / "exresult.dx4"));
    stick.fill();
    fs::resize_file(stick.root() / "filler", fs::file_size(stick.root() / "filler") - 12 * 1024);

    const auto r = runAdmin(school.data, {"export", "anna", folder.string(), "--yes"});
    EXPECT_EQ(r.code, kExitFailed) << r.out;
    EXPECT_FALSE(contains(r.out, "Exported"));
    EXPECT_TRUE(contains(r.err, "The results could not be exported.")) << r.err;
    EXPECT_TRUE(contains(r.err, "no room left")) << r.err;
    // Bo's results never travel as anna's.
    EXPECT_FALSE(fs::exists(folder / "exresult.dx4"));
}

TEST(Transfer, AnImportThatCannotRewriteTheResultFileSaysWhyAndLeavesNoAsideFile) {
    const auto root = freshDir();
    School home(root / "home");
    home.addUser("anna", "Anna", "Berg");
    for (int day = 1; day <= 40; ++day) home.add(result(2, 1, at(2024, 1, 1) + day, 5, 10));
    const auto stick = root / "stick";
    ASSERT_EQ(runAdmin(home.data, {"export", "anna", stick.string(), "--yes"}).code, kExitOk);

    // A school whose result file is larger than a data file can be.
    {
        School school(root / "big");
        school.addUser("anna", "Anna", "Berg");
        school.add(result(2, 1, at(2023, 1, 1), 5, 10));
        const auto file = school.data / "Result" / "User002.dat";
        const auto size = data::kMaxSharedFileSize + data::kResultRecordSize;
        fs::resize_file(file, size);
        const auto r = runAdmin(school.data, {"import", stick.string(), "anna"});
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_TRUE(contains(r.err, "larger than a data file can be")) << r.err;
        EXPECT_EQ(fs::file_size(file), size);
    }
    // A school on a disk with no room for the new result file.
    SmallDisk disk(root / "disk", 64);
    KALVINTOR_NEED_SMALL_DISK(disk);
    School school(disk.root());
    school.addUser("anna", "Anna", "Berg");
    school.add(result(2, 1, at(2023, 1, 1), 5, 10));
    const auto before = readBytes(school.data / "Result" / "User002.dat");
    disk.fill();
    const auto r = runAdmin(school.data, {"import", stick.string(), "anna"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(contains(r.err, "The results could not be imported")) << r.err;
    EXPECT_TRUE(contains(r.err, "no room left")) << r.err;
    EXPECT_EQ(readBytes(school.data / "Result" / "User002.dat"), before);
    EXPECT_FALSE(fs::exists(school.data / "Result" / "xUser002.dat"));
    disk.makeRoom();
    EXPECT_EQ(faultKinds(school.data), std::vector<std::string>{});
}

TEST(Check, TellsARewriteInProgressFromAnInterruptedOne) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    school.add(result(2, 1, at(2024, 3, 1), 5, 10));
    writeBytes(school.data / "Result" / ".User002.dat.tmp4242-17", "half");
    writeBytes(school.data / "Result" / "xUser002.dat", readBytes(school.data / "Result" / "User002.dat"));
    {
        // Another workstation is in the middle of the rewrite: it holds the file's lock.
        auto writer = data::LockedFile::open(school.data / "Result" / "User002.dat", "", "", {});
        ASSERT_TRUE(writer);
        EXPECT_EQ(faultKinds(school.data), std::vector<std::string>{});
    }
    const auto faults = findFaults(school.data);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].kind, "leftover-file");
    EXPECT_EQ(faults[1].kind, "leftover-file");
}

TEST(CommandLine, ArgumentsThatNameNothingOrNoFolderGetAMessageSayingSo) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string said;
    };
    const std::vector<Case> cases{
        {{"tutor", ""}, kExitUsage, "tutor: FILE is empty"},
        {{"setup", ""}, kExitUsage, "setup: FILE is empty"},
        {{"backup", ""}, kExitUsage, "backup: DEST is empty"},
        {{"export", "anna", ""}, kExitUsage, "export: FOLDER is empty"},
        {{"import", "", "anna"}, kExitUsage, "import: FOLDER is empty"},
        {{"export", "anna", "/dev/null"}, kExitFailed, "/dev/null is not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        const auto r = runAdmin(school.data, c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(contains(r.err, c.said)) << r.err;
    }
    std::ostringstream out;
    std::ostringstream err;
    Context context{{}, root / "Program", out, err, {}, {}};
    EXPECT_EQ(run({"--data", "", "users"}, context, root / "no-settings.ini"), kExitUsage);
    EXPECT_TRUE(contains(err.str(), "--data wants the data folder, not an empty name")) << err.str();
}
