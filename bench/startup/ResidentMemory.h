// The resident memory of the calling process, shared by the start-up benchmark and the bare window
// program it compares with (header-only, so that the bare program links nothing of the program's).
#pragma once

#include <fstream>
#include <string>

namespace kalvintor::bench {

// VmRSS of /proc/self/status in MB; 0 where it cannot be read.
inline double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

}  // namespace kalvintor::bench
