// Directories of the program.
#include "app/ProgramPaths.h"

#include "app/MachineSettings.h"

namespace kalvintor::app {

ProgramPaths makeProgramPaths(const std::filesystem::path& programDir) {
    ProgramPaths paths;
    paths.programDir = withTrailingSeparator(programDir);
    paths.languageDir = withTrailingSeparator(paths.programDir / "Language");
    paths.mediaDir = withTrailingSeparator(paths.programDir / "Media");
    paths.dataPath = withTrailingSeparator(paths.programDir / "Data");
    paths.defaultSetupFile = paths.programDir / "Default_level.lvs";
    return paths;
}

std::filesystem::path setupDirectory(const ProgramPaths& paths, const std::filesystem::path& privateDirectory) {
    std::error_code ec;
    if (!privateDirectory.empty() && std::filesystem::is_directory(privateDirectory, ec))
        return withTrailingSeparator(privateDirectory);
    return paths.programDir;
}

}  // namespace kalvintor::app
