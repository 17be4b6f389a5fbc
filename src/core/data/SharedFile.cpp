// Locked updates and unlocked reads of the shared data files on POSIX descriptors.
#include "data/SharedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace kalvintor::data {
namespace {

// Locks owned by the open file description where the system has them, so that two opens of one
// file in the same process exclude each other as two workstations do.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

constexpr int kPollMs = 5;
constexpr int kReaderWaitMs = 250;
// Nothing in the data directory comes near this; a larger file is treated as unreadable.
constexpr std::uint64_t kMaxSharedFileSize = 512u * 1024u * 1024u;
// A writer that finds the file replaced under its lock opens the new one; a few rounds suffice.
constexpr int kReplacedRetries = 100;

bool tryLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // to the end of the file, however it grows
    while (::fcntl(fd, kSetLock, &lock) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// Whether the name still leads to the open file: a whole-file rewrite renames a new file over it.
bool stillNamed(int fd, const std::filesystem::path& file) {
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::stat(file.c_str(), &named) != 0) return false;
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

enum class Attempt { Locked, Busy, Failed };

Attempt attempt(const std::filesystem::path& file, int& fdOut) {
    for (int round = 0; round < kReplacedRetries; ++round) {
        int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == ENOENT || errno == ENOTDIR) return Attempt::Failed;
            return Attempt::Busy;
        }
        if (!tryLock(fd, F_WRLCK)) {
            ::close(fd);
            return Attempt::Busy;
        }
        if (stillNamed(fd, file)) {
            fdOut = fd;
            return Attempt::Locked;
        }
        ::close(fd);
    }
    return Attempt::Busy;
}

void defaultPause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

LockedFile::~LockedFile() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::optional<LockedFile> LockedFile::open(const std::filesystem::path& file, const std::string& message,
                                           const std::string& retryText, const LockWait& wait) {
    const auto pause = wait.pause ? wait.pause : defaultPause;
    int fd = -1;
    for (;;) {
        Attempt result = attempt(file, fd);
        // Each further attempt is a pause of 200 ms in which the file is tried every few
        // milliseconds, so a lock held for a moment costs a moment.
        for (int series = 0; series < kLockAttempts && result == Attempt::Busy; ++series) {
            for (int poll = 0; poll < kLockPauseMs / kPollMs && result == Attempt::Busy; ++poll) {
                pause(kPollMs);
                result = attempt(file, fd);
            }
        }
        if (result == Attempt::Locked) return LockedFile(fd, file);
        if (result == Attempt::Failed) return std::nullopt;
        if (!wait.askRetry || !wait.askRetry(message + "\n" + retryText)) return std::nullopt;
    }
}

std::uint64_t LockedFile::size() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::size_t LockedFile::readAt(std::uint64_t offset, records::MutableBytes into) const {
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t n =
            ::pread(fd_, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::string LockedFile::readAll() const {
    std::string bytes(static_cast<std::size_t>(std::min(size(), kMaxSharedFileSize)), '\0');
    bytes.resize(
        readAt(0, records::MutableBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size())));
    return bytes;
}

bool LockedFile::writeAt(std::uint64_t offset, records::Bytes bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::uint64_t LockedFile::appendOffset(std::size_t recordSize) const {
    return size() / recordSize * recordSize;
}

bool readSharedFile(const std::filesystem::path& file, std::string& into) {
    into.clear();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // A shared lock keeps out a writer only for the moment of the read; when a writer holds the
    // file longer than that the file is read anyway, and half-written records at its end are
    // dropped by the record readers.
    for (int poll = 0; poll < kReaderWaitMs && !tryLock(fd, F_RDLCK); ++poll) defaultPause(1);
    struct stat st {};
    bool read = false;
    if (::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) <= kMaxSharedFileSize) {
        into.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < into.size()) {
            const ssize_t n = ::read(fd, into.data() + done, into.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        into.resize(done);
        read = true;
    }
    ::close(fd);
    return read;
}

std::optional<std::string> readSharedFile(const std::filesystem::path& file) {
    std::string bytes;
    if (!readSharedFile(file, bytes)) return std::nullopt;
    return bytes;
}

}  // namespace kalvintor::data
