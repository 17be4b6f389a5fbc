// A small file system of its own for a test: a tmpfs mounted on a fresh folder, filled up or made
// read-only on demand, and unmounted when the test ends however it ends. Mounting needs the
// rights of root; without them the test is skipped with a message.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvintor::testing_support {

class SmallDisk {
public:
    // Mounts `kilobytes` of tmpfs on `at` (created when missing).
    SmallDisk(const std::filesystem::path& at, int kilobytes) : root_(at) {
        std::filesystem::create_directories(root_);
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", root_.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!mounted_) why_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(root_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    std::string skipReason() const { return "cannot mount a small tmpfs here (" + why_ + "); run as root"; }
    const std::filesystem::path& root() const { return root_; }

    // Takes every free byte with a filler file.
    void fill() {
        const int fd = ::open((root_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::vector<char> block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }
    void makeRoom() { std::filesystem::remove(root_ / "filler"); }

    // Remounts the file system read-only (or writable again).
    bool setReadOnly(bool readOnly) {
        return ::mount("tmpfs", root_.c_str(), "tmpfs", MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) ==
               0;
    }

private:
    std::filesystem::path root_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace kalvintor::testing_support

// Skips the test when the small disk could not be mounted.
#define KALVINTOR_NEED_SMALL_DISK(disk) \
    if (!(disk).mounted()) GTEST_SKIP() << (disk).skipReason()
