// Finding the program files beside the executable or in an installation's folders.
#include "app/Installation.h"

#include <gtest/gtest.h>

#include <set>

using namespace kalvintor::app;
namespace fs = std::filesystem;

namespace {

const InstallLayout kUsrLayout{"../share/kalvintor", "../../etc/kalvintor"};

Installation locate(const fs::path& exe, std::set<fs::path> dirs) {
    return locateInstallation(exe, kUsrLayout, [&](const fs::path& d) { return dirs.count(d) != 0; });
}

}  // namespace

TEST(Installation, BuildTreeAndPortableCopiesKeepTheirFilesBesideTheExecutable) {
    // GIVEN language files beside the executable, even with an installation present as well
    const Installation found =
        locate("/work/build/bin", {"/work/build/bin/Language", "/work/build/share/kalvintor/Language"});
    EXPECT_EQ(found.programDir, fs::path("/work/build/bin"));
    EXPECT_EQ(found.machineSettings, fs::path("/work/build/bin/kalvintor.ini"));
}

TEST(Installation, AnInstallationTakesTheShareAndConfigurationFolders) {
    const Installation found = locate("/usr/bin", {"/usr/share/kalvintor/Language"});
    EXPECT_EQ(found.programDir, fs::path("/usr/share/kalvintor"));
    EXPECT_EQ(found.machineSettings, fs::path("/etc/kalvintor/kalvintor.ini"));
}

TEST(Installation, WithoutLanguageFilesAnywhereTheExecutablesFolderIsReported) {
    const Installation found = locate("/opt/kalvintor/bin", {});
    EXPECT_EQ(found.programDir, fs::path("/opt/kalvintor/bin"));
    EXPECT_EQ(found.machineSettings, fs::path("/opt/kalvintor/bin/kalvintor.ini"));
}

TEST(Installation, OverridesNameTheProgramDirectoryAndTheSettingsFile) {
    const Installation dir = locateInstallation("/usr/bin", "/srv/program", nullptr);
    EXPECT_EQ(dir.programDir, fs::path("/srv/program"));
    EXPECT_EQ(dir.machineSettings, fs::path("/srv/program/kalvintor.ini"));
    const Installation both = locateInstallation("/usr/bin", "/srv/program", "/tmp/test.ini");
    EXPECT_EQ(both.machineSettings, fs::path("/tmp/test.ini"));
    const Installation empty = locateInstallation("/nowhere/bin", "", "");
    EXPECT_EQ(empty.programDir, fs::path("/nowhere/bin")) << "an empty override counts as none";
}
