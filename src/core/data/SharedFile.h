// Files of the shared data directory: opening for update under an exclusive lock with the retry
// rule, and reading without ever seeing half of another workstation's write. Files are reached
// within their directory without following links: a link planted in the data directory must not
// lead a writer with more rights than the students to a file outside it.
#pragma once

#include "records/Binary.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::data {

// What a writer does while another workstation holds the file.
struct LockWait {
    // A pause in which the user interface keeps processing its messages; the default sleeps.
    std::function<void(int milliseconds)> pause;
    // Asked after a series of attempts with the caller's message, a line break and the "try
    // again" text; true = Retry (another series), false = OK (give up). The default gives up.
    std::function<bool(const std::string& message)> askRetry;
    // Called when a file was found missing, just before it is created. Two workstations may find
    // it missing at once; the tests widen that moment here.
    std::function<void(const std::filesystem::path& file)> beforeCreate;
};

// Attempts after the first, and the pause before each: about two seconds in all.
inline constexpr int kLockAttempts = 10;
inline constexpr int kLockPauseMs = 200;
// Nothing in the data directory comes near this size; a larger file is refused, never cut.
inline constexpr std::uint64_t kMaxSharedFileSize = 512u * 1024u * 1024u;

// Why a file could not be opened, read or written.
enum class FileFailure {
    None,
    Busy,      // held by another workstation until the user gave up
    ReadOnly,  // the file or its folder may not be written
    Link,      // a symbolic link stands where a file or folder of the data directory belongs
    Missing,   // the file or a folder on its way does not exist
    NoSpace,   // the disk or the user's quota is full
    TooLarge,  // larger than kMaxSharedFileSize
    Other,     // any other error of the system, in `error`
};

struct FileError {
    FileFailure kind = FileFailure::None;
    int error = 0;               // the system's error number, when there is one
    std::filesystem::path file;  // the part that failed: the file, or the folder or link on its way
    explicit operator bool() const { return kind != FileFailure::None; }
};

// The failure of a system call on `file` with error number `error`.
FileError failureOf(int error, const std::filesystem::path& file);

// Whether opening for update creates a missing file.
enum class Create { IfMissing, Never };

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
    // created or the user gives up; `error` then says why. The folder of `file` is taken as it
    // is named; the file itself is never reached through a link.
    static std::optional<LockedFile> open(const std::filesystem::path& file, const std::string& message,
                                          const std::string& retryText, const LockWait& wait,
                                          FileError* error = nullptr);
    // The same for `relative` within `root`: every folder between them is entered without
    // following links (the data directory itself may be reached through one).
    static std::optional<LockedFile> open(const std::filesystem::path& root,
                                          const std::filesystem::path& relative, const std::string& message,
                                          const std::string& retryText, const LockWait& wait,
                                          FileError* error = nullptr, Create create = Create::IfMissing);

    std::uint64_t size() const;
    // The whole content as it is now; nothing when it cannot be read whole (see error()).
    std::optional<std::string> readAll();
    // Bytes read at `offset` (fewer at the end of the file).
    std::size_t readAt(std::uint64_t offset, records::MutableBytes into) const;
    // True when every byte was written. A write that fails beyond the old end of the file (a full
    // disk) takes the file back to its old length, so no partial record is left.
    bool writeAt(std::uint64_t offset, records::Bytes bytes);
    // Makes the writes durable. A network share or a full disk may report a failed write only
    // here, so a write counts as done only once this succeeded.
    bool flush();
    // Where a new record of `recordSize` bytes goes: after the last whole record, so that a
    // partial record left by a crash is overwritten instead of shifting every later record.
    std::uint64_t appendOffset(std::size_t recordSize) const;
    // Replaces the whole content in one step: a new file written beside it in the same folder,
    // made durable and renamed over the name. Writers waiting for the lock find the name replaced
    // and open the new file. A crash or a full disk leaves the old content.
    bool replaceContent(std::string_view bytes);
    // Keeps the current file under another name in its folder (a hard link, or a copy of
    // `content` where the share has no hard links), replacing an older file of that name.
    bool keepAside(const std::string& name, std::string_view content);
    // Removes another entry of the file's folder; a missing one is no failure.
    void removeBeside(const std::string& name);

    const std::filesystem::path& path() const { return path_; }
    // Why the last operation failed.
    const FileError& error() const { return error_; }

private:
    LockedFile(int fd, int dirFd, std::filesystem::path path)
        : fd_(fd), dirFd_(dirFd), path_(std::move(path)) {}
    bool fail(int error);
    int fd_ = -1;
    int dirFd_ = -1;  // the folder holding the file, for the whole-file replacement
    std::filesystem::path path_;
    FileError error_;
};

// The whole file read without a writer's lock; nothing when it does not exist or cannot be read.
// A writer busy on the file is waited for briefly (at most a quarter of a second) so that a record
// being rewritten is not read half old and half new. A link is not read.
std::optional<std::string> readSharedFile(const std::filesystem::path& file, FileError* error = nullptr);
// The same into `into`, whose storage is reused from one read to the next; false when the file
// does not exist or cannot be read (`into` is then empty).
bool readSharedFile(const std::filesystem::path& file, std::string& into, FileError* error = nullptr);
// `relative` within `root`, every folder between them entered without following links.
bool readSharedFile(const std::filesystem::path& root, const std::filesystem::path& relative,
                    std::string& into, FileError* error = nullptr);

// Whether a writer holds `file` now (a whole-file rewrite in progress, an append). Nothing is
// locked or written to find out.
bool heldByWriter(const std::filesystem::path& file);

}  // namespace kalvintor::data
