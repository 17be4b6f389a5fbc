// A scratch data directory for the file fuzz targets: the input becomes one file in it.
#pragma once

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace kalvintor::fuzzing {

// Created on first use and removed when the process ends.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : dir_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path dir_;
};

inline std::filesystem::path scratchDir(const std::string& name) {
    static const ScratchDir dir(name);
    return dir.path();
}

inline void put(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace kalvintor::fuzzing
