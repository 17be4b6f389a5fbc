// The command line of a build tool that writes generated files into one directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvintor::generated {

struct GeneratedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// `tool DIRECTORY`: creates the directory and writes each file into it whole (replacing what is
// there at once). Returns the exit code: 0 written, 1 a file or the directory failed, 2 usage.
int WriteGeneratedFiles(int argc, char** argv, const char* usage, const std::vector<GeneratedFile>& files);

}  // namespace kalvintor::generated
