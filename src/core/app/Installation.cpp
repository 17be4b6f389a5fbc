// Finding the program's files in the build tree, a portable copy or an installation.
#include "app/Installation.h"

#ifndef KALVINTOR_SHARE_FROM_BIN
#error "the build system defines KALVINTOR_SHARE_FROM_BIN"
#endif
#ifndef KALVINTOR_CONFIG_FROM_BIN
#error "the build system defines KALVINTOR_CONFIG_FROM_BIN"
#endif

namespace kalvintor::app {

namespace fs = std::filesystem;

namespace {
constexpr const char* kSettingsName = "kalvintor.ini";
}

fs::path executableDirectory(const char* argv0) {
    std::error_code ec;
    fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    if (dir.empty() && argv0 != nullptr) dir = fs::absolute(fs::path(argv0), ec).parent_path();
    return dir;
}

InstallLayout builtInstallLayout() {
    return {KALVINTOR_SHARE_FROM_BIN, KALVINTOR_CONFIG_FROM_BIN};
}

Installation locateInstallation(const fs::path& executableDir, const InstallLayout& layout,
                                const std::function<bool(const fs::path&)>& isDirectory) {
    if (!isDirectory(executableDir / "Language")) {
        const fs::path share = (executableDir / layout.shareFromBin).lexically_normal();
        if (isDirectory(share / "Language"))
            return {share, (executableDir / layout.configFromBin / kSettingsName).lexically_normal()};
    }
    return {executableDir, executableDir / kSettingsName};
}

Installation locateInstallation(const fs::path& executableDir, const char* programDirOverride,
                                const char* settingsOverride) {
    Installation found;
    if (programDirOverride != nullptr && *programDirOverride != '\0') {
        found = {programDirOverride, fs::path(programDirOverride) / kSettingsName};
    } else {
        found = locateInstallation(executableDir, builtInstallLayout(), [](const fs::path& dir) {
            std::error_code ec;
            return fs::is_directory(dir, ec);
        });
    }
    if (settingsOverride != nullptr && *settingsOverride != '\0') found.machineSettings = settingsOverride;
    return found;
}

}  // namespace kalvintor::app
