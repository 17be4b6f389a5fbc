// Locked updates and unlocked reads of the shared data files on POSIX descriptors, every file
// reached from its folder's descriptor without following links.
#include "data/SharedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <thread>
#include <utility>

namespace kalvintor::data {

namespace fs = std::filesystem;

namespace {

// Locks owned by the open file description where the system has them, so that two opens of one
// file in the same process exclude each other as two workstations do.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
constexpr int kGetLock = F_OFD_GETLK;
#else
constexpr int kSetLock = F_SETLK;
constexpr int kGetLock = F_GETLK;
#endif

constexpr int kPollMs = 5;
constexpr int kReaderWaitMs = 250;
// A writer that finds the file replaced under its lock opens the new one; a few rounds suffice.
constexpr int kReplacedRetries = 100;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

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

bool isLink(int dirFd, const fs::path& name) {
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// The failure of an openat of `name` in `dirFd`: a link there is named as one whatever the system
// answered for it.
FileError failureAt(int dirFd, const fs::path& name, int error, const fs::path& shown) {
    if ((error == ELOOP || error == ENOTDIR || error == EMLINK) && isLink(dirFd, name))
        return {FileFailure::Link, error, shown};
    return failureOf(error, shown);
}

// The folder of `relative` within `root`; every folder below `root` entered without following
// links. -1 with `error` set when it cannot be reached.
int openFolder(const fs::path& root, const fs::path& relative, FileError& error) {
    const fs::path start = root.empty() ? fs::path(".") : root;
    Descriptor dir(::open(start.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) {
        error = failureOf(errno, start);
        return -1;
    }
    fs::path reached = root;
    for (const auto& part : relative.parent_path()) {
        reached /= part;
        if (part.empty() || part == ".") continue;
        const int next = ::openat(dir.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            error = failureAt(dir.get(), part, errno, reached);
            return -1;
        }
        dir.reset(next);
    }
    return dir.release();
}

// Whether the name still leads to the open file: a whole-file rewrite renames a new file over it.
bool stillNamed(int fd, int dirFd, const fs::path& name) {
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

enum class Attempt { Locked, Busy, Failed };

Attempt attempt(const fs::path& root, const fs::path& relative, const LockWait& wait, Create create,
                int& fdOut, int& dirOut, FileError& error) {
    const fs::path shown = root / relative;
    const fs::path name = relative.filename();
    for (int round = 0; round < kReplacedRetries; ++round) {
        Descriptor dir(openFolder(root, relative, error));
        if (dir.get() < 0) return Attempt::Failed;
        Descriptor fd(::openat(dir.get(), name.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() < 0 && errno == ENOENT && create == Create::IfMissing) {
            if (wait.beforeCreate) wait.beforeCreate(shown);
            // Created only when nobody else has: a file another workstation created a moment ago
            // (and may have written its first record to) is opened and locked instead.
            fd.reset(
                ::openat(dir.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
            if (fd.get() < 0 && errno == EEXIST) continue;
        }
        if (fd.get() < 0) {
            if (errno == EINTR || errno == ESTALE) continue;
            error = failureAt(dir.get(), name, errno, shown);
            return Attempt::Failed;
        }
        if (!tryLock(fd.get(), F_WRLCK)) {
            if (errno == EACCES || errno == EAGAIN) return Attempt::Busy;
            error = failureOf(errno, shown);
            return Attempt::Failed;
        }
        if (stillNamed(fd.get(), dir.get(), name)) {
            fdOut = fd.release();
            dirOut = dir.release();
            return Attempt::Locked;
        }
    }
    return Attempt::Busy;
}

void defaultPause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// fsync where the file system has it; one that cannot sync (EINVAL) has nothing to make durable.
bool syncDescriptor(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL;
}

std::string temporaryName(const fs::path& name) {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    return "." + name.string() + ".tmp" + std::to_string(::getpid()) + "-" +
           std::to_string(generator() % 1'000'000'000u);
}

}  // namespace

FileError failureOf(int error, const fs::path& file) {
    switch (error) {
        case ELOOP:
            return {FileFailure::Link, error, file};
        case EACCES:
        case EPERM:
        case EROFS:
            return {FileFailure::ReadOnly, error, file};
        case ENOENT:
        case ENOTDIR:
            return {FileFailure::Missing, error, file};
        case ENOSPC:
        case EDQUOT:
            return {FileFailure::NoSpace, error, file};
        case EFBIG:
            return {FileFailure::TooLarge, error, file};
        default:
            return {FileFailure::Other, error, file};
    }
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      dirFd_(std::exchange(other.dirFd_, -1)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        if (dirFd_ >= 0) ::close(dirFd_);
        fd_ = std::exchange(other.fd_, -1);
        dirFd_ = std::exchange(other.dirFd_, -1);
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
    }
    return *this;
}

LockedFile::~LockedFile() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    if (dirFd_ >= 0) ::close(dirFd_);
}

std::optional<LockedFile> LockedFile::open(const fs::path& file, const std::string& message,
                                           const std::string& retryText, const LockWait& wait,
                                           FileError* error) {
    return open(file.parent_path(), file.filename(), message, retryText, wait, error);
}

std::optional<LockedFile> LockedFile::open(const fs::path& root, const fs::path& relative,
                                           const std::string& message, const std::string& retryText,
                                           const LockWait& wait, FileError* error, Create create) {
    const auto pause = wait.pause ? wait.pause : defaultPause;
    FileError failure;
    int fd = -1;
    int dir = -1;
    for (;;) {
        Attempt result = attempt(root, relative, wait, create, fd, dir, failure);
        // Each further attempt is a pause of 200 ms in which the file is tried every few
        // milliseconds, so a lock held for a moment costs a moment.
        for (int series = 0; series < kLockAttempts && result == Attempt::Busy; ++series) {
            for (int poll = 0; poll < kLockPauseMs / kPollMs && result == Attempt::Busy; ++poll) {
                pause(kPollMs);
                result = attempt(root, relative, wait, create, fd, dir, failure);
            }
        }
        if (result == Attempt::Locked) return LockedFile(fd, dir, root / relative);
        if (result == Attempt::Busy && wait.askRetry && wait.askRetry(message + "\n" + retryText)) continue;
        if (result == Attempt::Busy) failure = {FileFailure::Busy, 0, root / relative};
        if (error) *error = failure;
        return std::nullopt;
    }
}

bool LockedFile::fail(int error) {
    error_ = failureOf(error, path_);
    return false;
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

std::optional<std::string> LockedFile::readAll() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        fail(errno);
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSharedFileSize) {
        error_ = {FileFailure::TooLarge, EFBIG, path_};
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            fail(errno);
            return std::nullopt;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

bool LockedFile::writeAt(std::uint64_t offset, records::Bytes bytes) {
    const std::uint64_t before = size();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n == 0 ? EIO : errno;
            if (size() > before) static_cast<void>(::ftruncate(fd_, static_cast<off_t>(before)));
            return fail(error);
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool LockedFile::flush() {
    return syncDescriptor(fd_) || fail(errno);
}

std::uint64_t LockedFile::appendOffset(std::size_t recordSize) const {
    return size() / recordSize * recordSize;
}

bool LockedFile::replaceContent(std::string_view bytes) {
    const fs::path name = path_.filename();
    const std::string temporary = temporaryName(name);
    Descriptor fd(
        ::openat(dirFd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) return fail(errno);
    if (!writeAll(fd.get(), bytes.data(), bytes.size()) || !syncDescriptor(fd.get()) ||
        ::close(fd.release()) != 0 || ::renameat(dirFd_, temporary.c_str(), dirFd_, name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(dirFd_, temporary.c_str(), 0);
        return fail(error);
    }
    // Makes the rename itself durable.
    syncDescriptor(dirFd_);
    return true;
}

bool LockedFile::keepAside(const std::string& name, std::string_view content) {
    removeBeside(name);
    if (::linkat(dirFd_, path_.filename().c_str(), dirFd_, name.c_str(), 0) == 0) return true;
    Descriptor fd(::openat(dirFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) return fail(errno);
    if (!writeAll(fd.get(), content.data(), content.size()) || !syncDescriptor(fd.get())) {
        const int error = errno;
        fd.reset();
        removeBeside(name);
        return fail(error);
    }
    return true;
}

void LockedFile::removeBeside(const std::string& name) {
    ::unlinkat(dirFd_, name.c_str(), 0);
}

bool readSharedFile(const fs::path& root, const fs::path& relative, std::string& into, FileError* error) {
    into.clear();
    FileError failure;
    const fs::path shown = root / relative;
    auto failed = [&](FileError why) {
        into.clear();
        if (error) *error = std::move(why);
        return false;
    };
    Descriptor dir(openFolder(root, relative, failure));
    if (dir.get() < 0) return failed(failure);
    // Not blocked by a pipe planted in the place of a file: it is refused below as no plain file.
    Descriptor fd(
        ::openat(dir.get(), relative.filename().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return failed(failureAt(dir.get(), relative.filename(), errno, shown));
    // A shared lock keeps out a writer only for the moment of the read; when a writer holds the
    // file longer than that the file is read anyway, and half-written records at its end are
    // dropped by the record readers.
    for (int poll = 0; poll < kReaderWaitMs && !tryLock(fd.get(), F_RDLCK); ++poll) defaultPause(1);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return failed(failureOf(errno, shown));
    if (!S_ISREG(st.st_mode)) return failed({FileFailure::Other, EINVAL, shown});
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSharedFileSize)
        return failed({FileFailure::TooLarge, EFBIG, shown});
    into.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t n = ::read(fd.get(), into.data() + done, into.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed(failureOf(errno, shown));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    into.resize(done);
    return true;
}

bool readSharedFile(const fs::path& file, std::string& into, FileError* error) {
    return readSharedFile(file.parent_path(), file.filename(), into, error);
}

std::optional<std::string> readSharedFile(const fs::path& file, FileError* error) {
    std::string bytes;
    if (!readSharedFile(file, bytes, error)) return std::nullopt;
    return bytes;
}

bool heldByWriter(const fs::path& file) {
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd.get(), kGetLock, &lock) == 0 && lock.l_type != F_UNLCK;
}

}  // namespace kalvintor::data
