// File helpers on POSIX file descriptors.
#include "files/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kalvintor::files {

std::optional<std::string> readFile(const std::filesystem::path& file, std::uintmax_t limit) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > limit) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& dir,
                                                         std::string_view name) {
    // Only a plain name of an entry of `dir` is looked up: names from files and settings must not
    // reach outside it.
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::error_code ec;
    const auto exact = dir / std::filesystem::path(std::string(name));
    if (std::filesystem::exists(exact, ec)) return exact;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    for (const auto& entry : it) {
        if (equalsIgnoringCase(entry.path().filename().string(), name)) return entry.path();
    }
    return std::nullopt;
}

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string temporaryName(const std::filesystem::path& file) {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    return "." + file.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
           std::to_string(generator() % 1'000'000'000u);
}

}  // namespace

WriteError writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const auto dir = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const auto temporary = dir / temporaryName(file);
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (fd.get() < 0) return WriteError::CannotCreate;
    if (!writeAll(fd.get(), bytes.data(), bytes.size()) || ::fsync(fd.get()) != 0 ||
        ::close(fd.release()) != 0) {
        ::unlink(temporary.c_str());
        return WriteError::CannotWrite;
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return WriteError::CannotReplace;
    }
    // Make the rename itself durable.
    Descriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) ::fsync(dirFd.get());
    return WriteError::None;
}

WriteError writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    return writeFileAtomically(
        file, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace kalvintor::files
