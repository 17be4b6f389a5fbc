// Backup while another workstation appends results, and a user moved between installations by
// export and import.
#include "AdminFixture.h"

#include "../core/data/Workstation.h"
#include "data/RecordScan.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <chrono>
#include <csignal>
#include <thread>

extern char** environ;

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;
namespace ws = kalvintor::data::workstation;

namespace {

pid_t spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<data::ResultRecord> recordsIn(const std::string& bytes) {
    std::vector<data::ResultRecord> records;
    for (std::size_t i = 0; i < data::wholeRecords(bytes, data::kResultRecordSize); ++i)
        records.push_back(*data::decodeResultRecord(data::recordAt(bytes, data::kResultRecordSize, i)));
    return records;
}

}  // namespace

TEST(Backup, CopiesEveryRecordCompleteWhenTakenWhileAnotherProcessAppends) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    const fs::path file = school.data / "Result" / "User002.dat";
    school.add(ws::resultOf(1, 0, 2));
    constexpr int kAppends = 3000;
    const pid_t writer = spawn(
        {KALVINTOR_DATA_WORKSTATION, "append", school.data.string(), "2", std::to_string(kAppends), "7"});
    // Wait until the writer is well under way, then take copies while it goes on. A writer that
    // stops early or never gets going fails the test instead of hanging it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool stopped = false;
    while (fs::file_size(file) < 50 * data::kResultRecordSize && !stopped &&
           std::chrono::steady_clock::now() < deadline) {
        stopped = waitpid(writer, nullptr, WNOHANG) == writer;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fs::file_size(file) < 50 * data::kResultRecordSize) {
        if (!stopped) {
            kill(writer, SIGKILL);
            waitpid(writer, nullptr, 0);
        }
        FAIL() << (stopped ? "the writer stopped before appending 50 results"
                           : "the writer appended fewer than 50 results in a minute");
    }
    std::vector<std::size_t> seenBefore;
    for (int round = 0; round < 3; ++round) {
        seenBefore.push_back(recordsIn(readBytes(file)).size());
        const auto copy = root / ("Backup" + std::to_string(round));
        const auto r = runAdmin(school.data, {"backup", copy.string()}, Waits::Real);
        ASSERT_EQ(r.code, kExitOk) << r.err;
        const auto bytes = readBytes(copy / "Result" / "User002.dat");
        // Whole records only, every one intact, and at least those complete before the backup.
        EXPECT_EQ(bytes.size() % data::kResultRecordSize, 0u);
        const auto copied = recordsIn(bytes);
        EXPECT_GE(copied.size(), seenBefore.back());
        for (const auto& record : copied) EXPECT_TRUE(ws::isWhole(record));
        EXPECT_EQ(readBytes(copy / "User.dat"), readBytes(school.data / "User.dat"));
        EXPECT_EQ(readBytes(copy / "Common.dat"), readBytes(school.data / "Common.dat"));
    }
    EXPECT_EQ(finish(writer), 0);
    // The writer lost nothing to the backups' locks, and each copy is a prefix of the final file.
    const std::string final = readBytes(file);
    EXPECT_EQ(recordsIn(final).size(), static_cast<std::size_t>(kAppends + 1));
    for (int round = 0; round < 3; ++round) {
        const auto bytes = readBytes(root / ("Backup" + std::to_string(round)) / "Result" / "User002.dat");
        EXPECT_EQ(final.substr(0, bytes.size()), bytes);
    }
}

TEST(Backup, NeverOverwritesAndLeavesNothingHalfDone) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    fs::create_directories(root / "Full");
    writeBytes(root / "Full" / "keep.txt", "mine");
    const auto into = runAdmin(school.data, {"backup", (root / "Full").string()});
    EXPECT_EQ(into.code, kExitFailed);
    EXPECT_EQ(readBytes(root / "Full" / "keep.txt"), "mine");
    EXPECT_EQ(runAdmin(school.data, {"backup", (school.data / "copy").string()}).code, kExitFailed);
    // An empty folder may receive the copy; no staging folder is left beside it.
    fs::create_directories(root / "Empty");
    ASSERT_EQ(runAdmin(school.data, {"backup", (root / "Empty").string()}).code, kExitOk);
    EXPECT_EQ(snapshot(root / "Empty"), snapshot(school.data));
    for (const auto& entry : fs::directory_iterator(root))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos);
}

TEST(Transfer, ExportAndImportMoveAStudentBetweenInstallations) {
    const auto root = freshDir();
    School home(root / "home");
    School school(root / "school");
    home.addUser("anna", "Anna", "Berg");
    home.add(result(2, 1, at(2024, 3, 1), 5, 10));
    home.add(result(2, 2, at(2024, 3, 2), 6, 10));
    school.addUser("bo", "Bo", "Alm");
    school.addUser("anna.b", "Anna", "Berg");         // id 3 here
    school.add(result(3, 1, at(2024, 3, 1), 5, 10));  // already carried over once

    const auto stick = root / "stick";
    const auto exported = runAdmin(home.data, {"export", "anna", stick.string(), "--yes"});
    ASSERT_EQ(exported.code, kExitOk) << exported.err;
    EXPECT_TRUE(fs::exists(stick / "exuser.dx4"));

    const auto imported = runAdmin(school.data, {"import", stick.string(), "anna.b"});
    ASSERT_EQ(imported.code, kExitOk) << imported.err;
    auto merged = recordsIn(readBytes(school.data / "Result" / "User003.dat"));
    ASSERT_EQ(merged.size(), 2u);
    for (const auto& r : merged) EXPECT_EQ(r.userId, 3);
    // Importing the same folder again adds nothing twice.
    ASSERT_EQ(runAdmin(school.data, {"import", stick.string(), "3"}).code, kExitOk);
    EXPECT_EQ(recordsIn(readBytes(school.data / "Result" / "User003.dat")).size(), 2u);

    // Into a user of another name the question is answered No unless --yes is given.
    const auto before = snapshot(school.data);
    const auto refused = runAdmin(school.data, {"import", stick.string(), "bo"});
    EXPECT_EQ(refused.code, kExitFailed);
    EXPECT_NE(refused.err.find("No (give --yes to answer Yes)"), std::string::npos);
    EXPECT_EQ(snapshot(school.data), before);
    const auto agreed = runAdmin(school.data, {"import", stick.string(), "bo", "--yes"});
    EXPECT_EQ(agreed.code, kExitOk) << agreed.err;
    EXPECT_EQ(recordsIn(readBytes(school.data / "Result" / "User002.dat")).size(), 2u);

    // An export into a folder that does not exist asks before creating it.
    const auto nowhere = root / "new" / "folder";
    EXPECT_EQ(runAdmin(home.data, {"export", "anna", nowhere.string()}).code, kExitFailed);
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(runAdmin(home.data, {"import", (root / "empty").string(), "anna"}).code, kExitFailed);
}
