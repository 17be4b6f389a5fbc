// The test's JACK dummy server.
#include "JackServer.h"

#include <jack/jack.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace kalvintor::sound::testing {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr auto kStopTimeout = std::chrono::seconds(5);
constexpr auto kPoll = std::chrono::milliseconds(50);

std::string FindJackd() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(dir) / "jackd";
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

bool TakesClients() {
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("kalvintor-probe", JackNoStartServer, &status);
    if (probe == nullptr) return false;
    jack_client_close(probe);
    return true;
}

void QuietJack(const char*) {}

}  // namespace

bool JackServer::Installed() {
    return !FindJackd().empty();
}

JackServer::JackServer() {
    static int counter = 0;
    name_ = "kalvintor-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    jack_set_error_function(&QuietJack);
    jack_set_info_function(&QuietJack);
    const std::string jackd = FindJackd();
    pid_ = fork();
    if (pid_ == 0) {
        // The child: quiet, and gone with its parent's test.
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execl(jackd.c_str(), "jackd", "--no-realtime", "-n", name_.c_str(), "-d", "dummy", "-r", "44100",
              "-p", "256", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) {
        error_ = "fork failed";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            error_ = "jackd exited at start";
            pid_ = -1;
            return;
        }
        if (TakesClients()) {
            ready_ = true;
            return;
        }
        std::this_thread::sleep_for(kPoll);
    }
    error_ = "jackd did not take clients within 20 s";
}

JackServer::~JackServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

}  // namespace kalvintor::sound::testing
