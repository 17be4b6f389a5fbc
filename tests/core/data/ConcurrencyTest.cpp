// Several workstations on one data directory, as separate processes: ids, appends, saves, a
// reader beside the writers, and a writer killed in the middle of a whole-file rewrite.
#include "DataFixture.h"
#include "Workstation.h"

#include "data/RecordScan.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <csignal>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;
namespace ws = kalvintor::data::workstation;

namespace {

struct Process {
    pid_t pid = -1;
    fs::path output;
};

Process start(const std::vector<std::string>& args, const fs::path& output) {
    std::vector<std::string> all{KALVINTOR_DATA_WORKSTATION};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Process p{-1, output};
    EXPECT_EQ(posix_spawn(&p.pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return p;
}

int finish(const Process& p) {
    int status = 0;
    waitpid(p.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<ResultRecord> resultsIn(const fs::path& file) {
    const std::string bytes = readBytes(file);
    EXPECT_EQ(bytes.size() % kResultRecordSize, 0u);
    std::vector<ResultRecord> records;
    for (std::size_t i = 0; i < wholeRecords(bytes, kResultRecordSize); ++i)
        records.push_back(*decodeResultRecord(recordAt(bytes, kResultRecordSize, i)));
    return records;
}

void createUsers(DataStore& store, int first, int count) {
    for (int id = first; id < first + count; ++id) {
        UserRecord u = user(static_cast<std::int16_t>(id), "u" + std::to_string(id), "", "");
        ws::stamp(u, 0);
        ASSERT_TRUE(store.SaveUser(u));
    }
}

constexpr int kWorkstations = 8;

}  // namespace

TEST(Workstations, EightTakingAHundredIdsEachGetEightHundredDifferentIds) {
    const auto dir = freshDir();
    std::vector<Process> processes;
    for (int w = 0; w < kWorkstations; ++w)
        processes.push_back(start({"ids", dir.string(), "100"}, dir / ("ids" + std::to_string(w) + ".txt")));
    std::multiset<int> ids;
    for (const auto& p : processes) {
        ASSERT_EQ(finish(p), 0);
        std::istringstream in(readBytes(p.output));
        for (int id; in >> id;) ids.insert(id);
    }
    std::set<int> distinct(ids.begin(), ids.end());
    EXPECT_EQ(ids.size(), 800u);
    EXPECT_EQ(distinct.size(), 800u);
    EXPECT_EQ(*distinct.begin(), 2);
    EXPECT_EQ(*distinct.rbegin(), 801);
}

TEST(Workstations, EightAppendingAHundredResultsEachLeaveEightHundredIntactRecords) {
    const auto dir = freshDir();
    std::vector<Process> processes;
    for (int w = 0; w < kWorkstations; ++w)
        processes.push_back(
            start({"append", dir.string(), "100", "100", std::to_string(w + 1)}, dir / "out.txt"));
    for (const auto& p : processes) EXPECT_EQ(finish(p), 0);

    std::set<std::pair<int, int>> seen;
    for (const auto& r : resultsIn(dir / "Result" / "User100.dat")) {
        EXPECT_TRUE(ws::isWhole(r));
        seen.emplace(r.correct, r.tutorStep);
    }
    EXPECT_EQ(seen.size(), 800u);
}

TEST(Workstations, ConcurrentSavesOfDifferentUsersLoseNoUpdateAndAReaderSeesOnlyWholeRecords) {
    const auto dir = freshDir();
    {
        DataStore setup(dir);
        createUsers(setup, 100, kWorkstations);
    }
    std::vector<Process> writers;
    for (int w = 0; w < kWorkstations; ++w)
        writers.push_back(start({"save", dir.string(), std::to_string(100 + w), "60"}, dir / "save.txt"));
    writers.push_back(start({"append", dir.string(), "100", "300", "9"}, dir / "append.txt"));
    const Process reader = start({"read", dir.string(), "1500", "100"}, dir / "read.txt");
    for (const auto& p : writers) EXPECT_EQ(finish(p), 0);
    EXPECT_EQ(finish(reader), 0) << "exit 3: the reader used a torn record";
    EXPECT_GT(std::stol(readBytes(dir / "read.txt")), 0);

    DataStore store(dir);
    store.LoadUsers();
    ASSERT_EQ(store.UserList().size(), static_cast<std::size_t>(kWorkstations));
    for (const auto& u : store.UserList()) {
        EXPECT_TRUE(ws::isWhole(u->record));
        EXPECT_EQ(u->record.classId, 60) << u->record.userId;  // every user's last save is there
    }
    EXPECT_EQ(readBytes(dir / "User.dat").size(), kWorkstations * kUserRecordSize);
}

TEST(Workstations, AWriterKilledInAWholeFileRewriteLeavesTheOldOrTheNewFile) {
    const auto dir = freshDir();
    DataStore store(dir);
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(store.AppendResult(ws::resultOf(1, i, 100)));
    const auto file = dir / "Result" / "User100.dat";
    std::size_t previous = 50;
    for (int round = 0; round < 6; ++round) {
        const Process writer = start({"rewrite", dir.string(), "100"}, dir / "rewrite.txt");
        // The writer is killed a little after its first rewrite of the round, wherever it then is;
        // how long a rewrite takes depends on the disk and on what else runs beside the test.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (resultsIn(file).size() <= previous && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(3 + 7 * round));
        kill(writer.pid, SIGKILL);
        finish(writer);
        const auto records = resultsIn(file);
        EXPECT_GE(records.size(), previous);
        for (const auto& r : records) EXPECT_TRUE(ws::isWhole(r));
        previous = records.size();
    }
    EXPECT_GT(previous, 50u);
    // The file is still a live result file: appends and merges go on from it.
    ASSERT_TRUE(store.AppendResult(ws::resultOf(2, 0, 100)));
    EXPECT_EQ(resultsIn(file).size(), previous + 1);
}
