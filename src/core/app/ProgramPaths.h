// The program's directories, fixed at start-up, and the default setup file.
#pragma once

#include <filesystem>

namespace kalvintor::app {

struct ProgramPaths {
    std::filesystem::path programDir;   // directory of the executable, case kept, trailing separator
    std::filesystem::path languageDir;  // programDir + "Language/"
    std::filesystem::path mediaDir;     // programDir + "Media/"
    std::filesystem::path dataPath;     // programDir + "Data/" unless the machine settings name another
    std::filesystem::path defaultSetupFile;  // programDir + "Default_level.lvs"
};

ProgramPaths makeProgramPaths(const std::filesystem::path& programDir);

// The directory the setup open and save dialogs offer: the user's private directory when one is
// logged in and it exists, otherwise the program directory.
std::filesystem::path setupDirectory(const ProgramPaths& paths, const std::filesystem::path& privateDirectory);

}  // namespace kalvintor::app
