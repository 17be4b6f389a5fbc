// Data store benchmarks: refreshing the user overview of a generated school against reading the
// same files raw, and finding a login among many users.
#include "data/DataStore.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace kalvintor::data;
using Clock = std::chrono::steady_clock;

constexpr int kSchoolUsers = 2000;
constexpr int kResultsPerUser = 100;
constexpr int kLoginUsers = 5000;

// Texts are built by appending: GCC 12 warns falsely about chains of string additions.
std::string numbered(std::string_view prefix, int i) {
    std::string text(prefix);
    text += std::to_string(i);
    return text;
}

std::string loginOf(int i) {
    return numbered("USER", i);
}

// Generated schools are removed when the benchmark ends.
struct Scratch {
    std::vector<fs::path> dirs;
    ~Scratch() {
        std::error_code ec;
        for (const auto& d : dirs) fs::remove_all(d, ec);
    }
};
Scratch scratch;

// A data directory of `users` users with `results` results each, written once per process.
fs::path generateSchool(const std::string& name, int users, int results) {
    std::string dirName = numbered("kalvintor-bench-", ::getpid());
    dirName += name;
    const auto dir = fs::temp_directory_path() / dirName;
    fs::remove_all(dir);
    fs::create_directories(dir / "Result");
    scratch.dirs.push_back(dir);
    std::ofstream userFile(dir / "User.dat", std::ios::binary);
    DataStore store(dir);
    for (int i = 0; i < users; ++i) {
        UserRecord u;
        u.userId = static_cast<std::int16_t>(i + 2);
        u.loginName = loginOf(i);
        u.fullName = joinFullName(numbered("First", i), numbered("Last", i % 97));
        u.classId = static_cast<std::int16_t>(1 + i % 20);
        u.tutorFile = std::string(kNoTutor);
        const auto bytes = encodeUserRecord(u);
        userFile.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (results == 0) continue;
        std::ofstream resultFile(store.ResultFileName(u.userId), std::ios::binary);
        for (int r = 0; r < results; ++r) {
            ResultRecord x;
            x.userId = u.userId;
            x.exercise = static_cast<std::uint16_t>(1 + r % 10);
            x.sessionStart = 45000.0 + r * 0.37;
            x.duration = 0.01;
            x.answerTime = 0.002;
            x.setupName = "Basic";
            x.correct = 7;
            x.questions = 10;
            const auto rb = encodeResultRecord(x);
            resultFile.write(reinterpret_cast<const char*>(rb.data()), rb.size());
        }
    }
    return dir;
}

std::size_t readRaw(const fs::path& file, std::vector<char>& buffer) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += static_cast<std::size_t>(n);
    ::close(fd);
    return total;
}

// refresh_ratio: LoadUsers + ComputeAllStatistics(force) over reading the bytes of User.dat and
// every result file, both measured in the same iteration.
void BM_RefreshUserOverview(benchmark::State& state) {
    static const fs::path dir = generateSchool("school", kSchoolUsers, kResultsPerUser);
    StoreEnvironment env;
    env.now = [] { return 45040.0; };
    DataStore store(dir, env);
    std::vector<fs::path> files{dir / "User.dat"};
    for (int i = 0; i < kSchoolUsers; ++i)
        files.push_back(store.ResultFileName(static_cast<std::int16_t>(i + 2)));
    std::vector<char> buffer(1 << 16);
    double refreshSeconds = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        store.LoadUsers();
        store.ComputeAllStatistics(true);
        const auto t1 = Clock::now();
        std::size_t bytes = 0;
        for (const auto& f : files) bytes += readRaw(f, buffer);
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(bytes);
        refreshSeconds += std::chrono::duration<double>(t1 - t0).count();
        rawSeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["refresh_ratio"] = refreshSeconds / rawSeconds;
    state.counters["refresh_ms"] = 1000.0 * refreshSeconds / static_cast<double>(state.iterations());
    state.counters["raw_read_ms"] = 1000.0 * rawSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RefreshUserOverview)->Unit(benchmark::kMillisecond)->Iterations(5);

// find_user_us: one login lookup among 5000 users (the names spread over the whole file).
void BM_FindUser(benchmark::State& state) {
    static const fs::path dir = generateSchool("logins", kLoginUsers, 0);
    DataStore store(dir);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.FindUser(0, loginOf((i * 7919) % kLoginUsers), false));
        ++i;
    }
    state.counters["find_user_us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FindUser)->Unit(benchmark::kMicrosecond);

}  // namespace
