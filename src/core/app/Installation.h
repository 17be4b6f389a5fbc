// Where the program's own files are: beside the executable (the build tree, a copy carried on a
// stick) or in an installation's share and configuration folders.
#pragma once

#include <filesystem>
#include <functional>

namespace kalvintor::app {

struct Installation {
    std::filesystem::path programDir;       // the read-only program files: Language/, Media/, setups
    std::filesystem::path machineSettings;  // kalvintor.ini, the machine-wide values
};

// The folder of the running executable (from /proc/self/exe, else from argv[0]).
std::filesystem::path executableDirectory(const char* argv0);

// The layout of an installation, relative to the folder that holds the executables.
struct InstallLayout {
    std::filesystem::path shareFromBin;   // e.g. "../share/kalvintor"
    std::filesystem::path configFromBin;  // e.g. "../../etc/kalvintor"
};

// The layout this build installs with (from the build system).
InstallLayout builtInstallLayout();

// The program files of an executable in `executableDir`: the executable's own folder when it holds
// the language files, else the installation's share folder when that does; the machine settings
// lie beside them, or in the installation's configuration folder. When neither holds the language
// files the executable's folder is taken, so that what is missing is reported against it.
Installation locateInstallation(const std::filesystem::path& executableDir, const InstallLayout& layout,
                                const std::function<bool(const std::filesystem::path&)>& isDirectory);

// The same on the real file system, honouring the overrides the tests and portable set-ups use:
// a non-empty `programDirOverride` is the program directory (its kalvintor.ini the machine
// settings), a non-empty `settingsOverride` the machine settings file.
Installation locateInstallation(const std::filesystem::path& executableDir, const char* programDirOverride,
                                const char* settingsOverride);

}  // namespace kalvintor::app
