// Data store benchmarks: refreshing the user overview of a generated school against reading the
// same files raw, from the page cache and from the disk, and checking a login among many users.
#include "data/DataStore.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
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

std::string passwordOf(int i) {
    return numbered("pw", i);
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
        u.password = ScramblePassword(passwordOf(i));
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

// Writes the file's pages to the disk and drops them from the page cache, so that the next read
// comes from the disk as on a workstation that has not read the school's files lately.
void dropFromCache(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// The share of the files' pages held in the page cache now.
double residentShare(const std::vector<fs::path>& files) {
    const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::size_t pages = 0;
    std::size_t resident = 0;
    std::vector<unsigned char> map;
    for (const auto& f : files) {
        std::error_code ec;
        const auto size = static_cast<std::size_t>(fs::file_size(f, ec));
        if (ec || size == 0) continue;
        const int fd = ::open(f.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        void* at = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        if (at == MAP_FAILED) continue;
        map.assign((size + pageSize - 1) / pageSize, 0);
        if (::mincore(at, size, map.data()) == 0) {
            pages += map.size();
            for (unsigned char m : map) resident += m & 1u;
        }
        ::munmap(at, size);
    }
    return pages == 0 ? 0.0 : static_cast<double>(resident) / static_cast<double>(pages);
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
// every result file, both measured in the same iteration. Argument 0: the files are in the page
// cache (a workstation that refreshes again); 1: every file's pages are dropped before each side
// is measured, so both read from the disk (the first refresh of the day).
void BM_RefreshUserOverview(benchmark::State& state) {
    static const fs::path dir = generateSchool("school", kSchoolUsers, kResultsPerUser);
    const bool cold = state.range(0) == 1;
    StoreEnvironment env;
    env.now = [] { return 45040.0; };
    DataStore store(dir, env);
    std::vector<fs::path> files{dir / "User.dat"};
    for (int i = 0; i < kSchoolUsers; ++i)
        files.push_back(store.ResultFileName(static_cast<std::int16_t>(i + 2)));
    const auto dropAll = [&] {
        for (const auto& f : files) dropFromCache(f);
    };
    std::vector<char> buffer(1 << 16);
    double refreshSeconds = 0;
    double rawSeconds = 0;
    double cachedBefore = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            dropAll();
            cachedBefore = std::max(cachedBefore, residentShare(files));
            state.ResumeTiming();
        }
        const auto t0 = Clock::now();
        store.LoadUsers();
        store.ComputeAllStatistics(true);
        const auto t1 = Clock::now();
        if (cold) {
            state.PauseTiming();
            dropAll();
            cachedBefore = std::max(cachedBefore, residentShare(files));
            state.ResumeTiming();
        }
        const auto t2 = Clock::now();
        std::size_t bytes = 0;
        for (const auto& f : files) bytes += readRaw(f, buffer);
        const auto t3 = Clock::now();
        benchmark::DoNotOptimize(bytes);
        refreshSeconds += std::chrono::duration<double>(t1 - t0).count();
        rawSeconds += std::chrono::duration<double>(t3 - t2).count();
    }
    if (store.UserList().size() != static_cast<std::size_t>(kSchoolUsers))
        state.SkipWithError("the overview did not list every user");
    state.counters["refresh_ratio"] = refreshSeconds / rawSeconds;
    state.counters["refresh_ms"] = 1000.0 * refreshSeconds / static_cast<double>(state.iterations());
    state.counters["raw_read_ms"] = 1000.0 * rawSeconds / static_cast<double>(state.iterations());
    // How much of the files was still cached when a cold side began (0 when dropping worked).
    if (cold) state.counters["cached_share_at_start"] = cachedBefore;
}
BENCHMARK(BM_RefreshUserOverview)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// login_check_us: the check a login makes (CheckLogin: the user file read, the name found in any
// letter case, the record taken as the current user, the password compared) among 5000 users.
// Argument 1: logins on file with their passwords; 0: logins nobody has, so the whole file is
// searched.
void BM_CheckLogin(benchmark::State& state) {
    static const fs::path dir = generateSchool("logins", kLoginUsers, 0);
    const bool known = state.range(0) == 1;
    DataStore store(dir);
    int i = 0;
    std::int64_t accepted = 0;
    for (auto _ : state) {
        const int n = (i * 7919) % kLoginUsers;
        if (known) {
            accepted += store.CheckLogin(loginOf(n), passwordOf(n));
        } else {
            accepted += store.CheckLogin(numbered("NOBODY", n), passwordOf(n));
        }
        ++i;
    }
    if (accepted != (known ? state.iterations() : 0)) state.SkipWithError("a login was judged wrongly");
    state.counters["login_check_us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CheckLogin)->ArgName("known")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
