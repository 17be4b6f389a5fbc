// A scratch data directory for the file fuzz targets: the input becomes one file in it.
#pragma once

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace kalvintor::fuzzing {

inline std::filesystem::path scratchDir(const std::string& name) {
    static const auto dir = [&] {
        const auto d = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(d);
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

inline void put(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace kalvintor::fuzzing
