// Several workstations on one data directory, as separate processes: ids, appends, saves, a
// reader beside the writers, and a writer killed in the middle of a whole-file rewrite.
#include "DataFixture.h"
#include "Workstation.h"

#include "data/RecordScan.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <csignal>
#include <iostream>
#include <random>
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
constexpr auto kCatchTime = std::chrono::seconds(2);
constexpr int kStops = 300;

// Polls `done` every `pause` (no pause: as often as it can) until it holds or `limit` has passed;
// whether it held.
template <typename Done>
bool waitFor(Done done, std::chrono::milliseconds limit,
             std::chrono::milliseconds pause = std::chrono::milliseconds(1)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
        else
            std::this_thread::yield();
    }
    return true;
}

// The rounds a rewriting workstation has reported finished.
int roundsReported(const fs::path& report) {
    std::istringstream lines(readBytes(report));
    int rounds = 0;
    for (std::string line; std::getline(lines, line);) rounds += !line.empty();
    return rounds;
}

// Whether the writer `pid` is writing the new content of `file` beside it (the temporary file
// that will be renamed over it exists).
bool writesNewFile(const fs::path& file, pid_t pid) {
    const std::string prefix = "." + file.filename().string() + ".tmp" + std::to_string(pid) + "-";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), error))
        if (entry.path().filename().string().starts_with(prefix)) return true;
    return false;
}

// Whether the process goes on (an ended one is left to be waited for).
bool running(const Process& p) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(p.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

// The exit code of a process that ends within `limit`; -1 (and the process killed) otherwise.
int finishWithin(const Process& p, std::chrono::milliseconds limit) {
    int status = 0;
    const bool ended = waitFor([&] { return waitpid(p.pid, &status, WNOHANG) == p.pid; }, limit);
    if (!ended) {
        kill(p.pid, SIGKILL);
        waitpid(p.pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
    int caughtWriting = 0;
    for (int round = 0; round < 6; ++round) {
        const fs::path report = dir / ("rewrite" + std::to_string(round) + ".txt");
        const Process writer = start({"rewrite", dir.string(), "100"}, report);
        const bool underWay = waitFor([&] { return roundsReported(report) >= 1; }, std::chrono::seconds(60));
        // Killed while the next rewrite's new file is being written, wherever that can be caught;
        // otherwise wherever the writer then is.
        if (underWay)
            caughtWriting += waitFor([&] { return writesNewFile(file, writer.pid); }, kCatchTime, {});
        kill(writer.pid, SIGKILL);
        finish(writer);
        ASSERT_TRUE(underWay) << "the writer finished no rewrite within a minute";
        const auto records = resultsIn(file);
        EXPECT_GE(records.size(), previous);
        for (const auto& r : records) EXPECT_TRUE(ws::isWhole(r));
        previous = records.size();
    }
    EXPECT_GT(previous, 50u);
    std::cout << "killed while writing the new file in " << caughtWriting << " of 6 rounds\n";
    // The file is still a live result file: appends and merges go on from it.
    ASSERT_TRUE(store.AppendResult(ws::resultOf(2, 0, 100)));
    EXPECT_EQ(resultsIn(file).size(), previous + 1);
}

TEST(Workstations, ResultsAppendedWhileAnotherWorkstationRewritesTheFileAreAllKept) {
    const auto dir = freshDir();
    {
        DataStore store(dir);
        for (int i = 0; i < 50; ++i) ASSERT_TRUE(store.AppendResult(ws::resultOf(1, i, 100)));
    }
    const fs::path report = dir / "rewrite.txt";
    const Process rewriter = start({"rewrite", dir.string(), "100"}, report);
    ASSERT_TRUE(waitFor([&] { return roundsReported(report) >= 1; }, std::chrono::seconds(60)))
        << "the rewriter finished no rewrite within a minute";
    // An appender that opened the file before it was renamed over and locks it after has to let
    // go of the old file and append to the new one. The appender is stopped at random moments
    // while the rewriter finishes a round, so that some stops fall between its open and its lock.
    constexpr int kAppends = 300;
    const Process appender =
        start({"append", dir.string(), "100", std::to_string(kAppends), "5"}, dir / "append.txt");
    const int roundsBefore = roundsReported(report);
    std::mt19937 random(std::random_device{}());
    for (int stop = 0; stop < kStops && running(appender); ++stop) {
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
        kill(appender.pid, SIGSTOP);
        const int rounds = roundsReported(report);
        // A stop while the appender holds the lock holds up the rewriter too: it is let go soon.
        waitFor([&] { return roundsReported(report) > rounds; }, std::chrono::milliseconds(20));
        kill(appender.pid, SIGCONT);
    }
    const auto appended = finishWithin(appender, std::chrono::seconds(120));
    const int roundsDuring = roundsReported(report) - roundsBefore;
    kill(rewriter.pid, SIGKILL);
    finish(rewriter);
    ASSERT_EQ(appended, 0) << "-1: the appender did not finish within two minutes";
    EXPECT_GT(roundsDuring, 0) << "the rewrites went on while the results were appended";

    std::set<int> kept;
    for (const auto& r : resultsIn(dir / "Result" / "User100.dat")) {
        EXPECT_TRUE(ws::isWhole(r));
        if (r.correct == 5) kept.insert(r.tutorStep);
    }
    EXPECT_EQ(kept.size(), static_cast<std::size_t>(kAppends)) << "appended results were lost";
}
