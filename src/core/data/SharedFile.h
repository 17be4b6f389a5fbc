// Files of the shared data directory: opening for update under an exclusive lock with the retry
// rule, and reading without ever seeing half of another workstation's write.
#pragma once

#include "records/Binary.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kalvintor::data {

// What a writer does while another workstation holds the file.
struct LockWait {
    // A pause in which the user interface keeps processing its messages; the default sleeps.
    std::function<void(int milliseconds)> pause;
    // Asked after a series of attempts with the caller's message, a line break and the "try
    // again" text; true = Retry (another series), false = OK (give up). The default gives up.
    std::function<bool(const std::string& message)> askRetry;
};

// Attempts after the first, and the pause before each: about two seconds in all.
inline constexpr int kLockAttempts = 10;
inline constexpr int kLockPauseMs = 200;

// A file open for reading and writing; others may read it but no other writer gets it until it
// is closed. The lock is an fcntl byte-range lock over the whole file, which network file systems
// carry between machines.
class LockedFile {
public:
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

    // Opens `file` (created empty when missing) and takes the lock, retrying as LockWait says.
    // `retryText` is the line shown under `message` when asking. Nothing when the file cannot be
    // created or the user gives up.
    static std::optional<LockedFile> open(const std::filesystem::path& file, const std::string& message,
                                          const std::string& retryText, const LockWait& wait);

    std::uint64_t size() const;
    // The whole content as it is now.
    std::string readAll() const;
    // Bytes read at `offset` (fewer at the end of the file).
    std::size_t readAt(std::uint64_t offset, records::MutableBytes into) const;
    // True when every byte was written.
    bool writeAt(std::uint64_t offset, records::Bytes bytes);
    // Where a new record of `recordSize` bytes goes: after the last whole record, so that a
    // partial record left by a crash is overwritten instead of shifting every later record.
    std::uint64_t appendOffset(std::size_t recordSize) const;

    const std::filesystem::path& path() const { return path_; }

private:
    LockedFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::filesystem::path path_;
};

// The whole file read without a writer's lock; nothing when it does not exist or cannot be read.
// A writer busy on the file is waited for briefly (at most a quarter of a second) so that a record
// being rewritten is not read half old and half new.
std::optional<std::string> readSharedFile(const std::filesystem::path& file);
// The same into `into`, whose storage is reused from one read to the next; false when the file
// does not exist or cannot be read (`into` is then empty).
bool readSharedFile(const std::filesystem::path& file, std::string& into);

}  // namespace kalvintor::data
